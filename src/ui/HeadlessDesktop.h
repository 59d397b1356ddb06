#pragma once

// The desktop without a display: message boxes and file dialogs are recorded and answered
// from queues, timers run on a clock that tests advance by hand (or on the real monotonic
// clock for scripts), and modal loops are driven by whoever installed a modal driver (the
// script runner pulls its next commands there).

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/Desktop.h"

namespace qx::ui {

class HeadlessDesktop : public Desktop {
 public:
  enum class ClockMode {
    Manual,  // time moves only through LetTimePass and Sleep
    Real,    // the monotonic clock, plus whatever Sleep skipped
  };

  struct MessageBoxRecord {
    Window* owner = nullptr;
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    DialogAnswer answer = DialogAnswer::Ok;
    // A queued answer that is none of the box's buttons; the box got its default instead.
    bool rejectedAnswer = false;
  };

  struct FileDialogRecord {
    Window* owner = nullptr;
    FileDialogOptions options;
    FileDialogResult result;
  };

  explicit HeadlessDesktop(ClockMode mode = ClockMode::Manual);

  // Answers for the next boxes and dialogs, first in first out.
  void QueueAnswer(DialogAnswer answer) { answers_.push_back(answer); }
  void QueueFileResult(FileDialogResult result) { fileResults_.push_back(std::move(result)); }
  void ClearQueues();
  std::size_t QueuedAnswers() const { return answers_.size(); }
  std::size_t QueuedFileResults() const { return fileResults_.size(); }

  const std::vector<MessageBoxRecord>& MessageBoxes() const { return boxes_; }
  const std::vector<FileDialogRecord>& FileDialogs() const { return fileDialogs_; }
  void SetMessageBoxListener(std::function<void(const MessageBoxRecord&)> listener) {
    boxListener_ = std::move(listener);
  }
  void SetFileDialogListener(std::function<void(const FileDialogRecord&)> listener) {
    fileListener_ = std::move(listener);
  }

  // Runs a modal loop: called with the window, returns once it has ended. Without a driver a
  // modal window ends at once with Cancel.
  using ModalDriver = std::function<void(Window&)>;
  void SetModalDriver(ModalDriver driver) { modalDriver_ = std::move(driver); }

  // Lets the time pass, running every timer when it falls due (in the real mode this waits).
  void LetTimePass(std::chrono::milliseconds duration);
  std::chrono::milliseconds Now() const;
  bool IsWaitCursor() const { return waitCursor_; }
  std::size_t TimerCount() const { return timers_.size(); }

  DialogAnswer ShowMessageBox(Window* owner, const std::string& text, const std::string& caption,
                              MessageIcon icon, MessageButtons buttons) override;
  FileDialogResult ShowFileDialog(Window* owner, const FileDialogOptions& options) override;
  void SetWaitCursor(bool busy) override { waitCursor_ = busy; }
  void ProcessPendingMessages() override;
  int StartTimer(std::chrono::milliseconds interval, std::function<void()> onTick) override;
  void StopTimer(int timerId) override;
  void RunModalLoop(Window& window) override;
  void Sleep(std::chrono::milliseconds duration) override;

 private:
  struct Timer {
    std::chrono::milliseconds interval;
    std::chrono::milliseconds due;
    std::function<void()> onTick;
  };
  // Runs the timer with the earliest due time not after the limit; false when none is due.
  bool RunNextDueTimer(std::chrono::milliseconds limit);

  ClockMode mode_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::milliseconds skipped_{0};  // manual time, or time Sleep skipped
  std::deque<DialogAnswer> answers_;
  std::deque<FileDialogResult> fileResults_;
  std::vector<MessageBoxRecord> boxes_;
  std::vector<FileDialogRecord> fileDialogs_;
  std::function<void(const MessageBoxRecord&)> boxListener_;
  std::function<void(const FileDialogRecord&)> fileListener_;
  ModalDriver modalDriver_;
  bool waitCursor_ = false;
  int nextTimerId_ = 1;
  std::map<int, Timer> timers_;
};

}  // namespace qx::ui
