#pragma once

// Services the windows of the tool need from the desktop they run on: message boxes,
// file dialogs, the busy cursor, the message pump, timers and modal loops. The headless
// desktop answers from queues; the Qt front-end answers with real dialogs.

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace qx::ui {

enum class MessageIcon { None, Information, Exclamation, Stop, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
// Numbers match the answer codes the tool's callers compare against.
enum class DialogAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct FileDialogOptions {
  bool save = false;             // save dialog, else open dialog
  std::string initialPath;       // folder + file-name pattern, e.g. "/home/u/*.cam"
  std::string defaultExtension;  // "cam"
  std::string filter;  // the tool's filter text, e.g. "Camera setting data (*.cam) | *.cam||"
  bool mustExist = false;
  bool hideReadOnly = true;
};

// code: 1 confirmed, 2 cancelled, any other value is a dialog failure code.
struct FileDialogResult {
  int code = 2;
  std::string path;
};

class Window;

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual DialogAnswer ShowMessageBox(Window* owner, const std::string& text,
                                      const std::string& caption, MessageIcon icon,
                                      MessageButtons buttons) = 0;
  virtual FileDialogResult ShowFileDialog(Window* owner, const FileDialogOptions& options) = 0;
  virtual void SetWaitCursor(bool busy) = 0;
  // Runs due timers and queued input.
  virtual void ProcessPendingMessages() = 0;
  virtual int StartTimer(std::chrono::milliseconds interval, std::function<void()> onTick) = 0;
  virtual void StopTimer(int timerId) = 0;
  // Returns when that window has ended.
  virtual void RunModalLoop(Window& window) = 0;
  // Blocks the window thread for the duration (no input, no timers meanwhile), e.g. to let
  // the operator see a finished progress bar.
  virtual void Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }
};

}  // namespace qx::ui
