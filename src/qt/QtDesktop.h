#pragma once

// The desktop services with Qt: real message boxes and file dialogs, the override cursor,
// QTimer timers, the Qt event loop for pending messages and modal loops.

#include <QObject>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/Desktop.h"
#include "ui/WindowObserver.h"

class QEventLoop;
class QFileDialog;
class QMessageBox;
class QTimer;
class QWidget;

namespace qx::ui {
class WindowSystem;
}

namespace qx::qt {

class Renderer;

class QtDesktop : public ui::Desktop, private ui::WindowObserver {
 public:
  explicit QtDesktop(Renderer& renderer);
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  ui::DialogAnswer ShowMessageBox(ui::Window* owner, const std::string& text,
                                  const std::string& caption, ui::MessageIcon icon,
                                  ui::MessageButtons buttons) override;
  ui::FileDialogResult ShowFileDialog(ui::Window* owner,
                                      const ui::FileDialogOptions& options) override;
  void SetWaitCursor(bool busy) override;
  void ProcessPendingMessages() override;
  int StartTimer(std::chrono::milliseconds interval, std::function<void()> onTick) override;
  void StopTimer(int timerId) override;
  void RunModalLoop(ui::Window& window) override;
  void Sleep(std::chrono::milliseconds duration) override;

  bool IsWaitCursor() const { return waitCursor_; }
  std::size_t TimerCount() const { return timers_.size(); }

 private:
  void OnChange(const ui::ChangeNotice& notice) override;
  QWidget* OwnerWidget(ui::Window* owner) const;

  struct ModalLoop {
    ui::Window* window;
    QEventLoop* loop;
  };

  Renderer& renderer_;
  bool waitCursor_ = false;
  int nextTimerId_ = 1;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  std::vector<ModalLoop> loops_;
};

// Fills a file dialog from the tool's options (filters, default extension, initial folder
// and file, must-exist); the tool asks its own overwrite question, so Qt's is off.
void ConfigureFileDialog(QFileDialog& dialog, const ui::FileDialogOptions& options);

// Makes a message box with the tool's icon, caption, text and buttons; AnswerOf reads the
// operator's choice back (the box's Escape choice when it was closed otherwise).
void ConfigureMessageBox(QMessageBox& box, const std::string& text, const std::string& caption,
                         ui::MessageIcon icon, ui::MessageButtons buttons);
ui::DialogAnswer AnswerOf(const QMessageBox& box, ui::MessageButtons buttons);

}  // namespace qx::qt
