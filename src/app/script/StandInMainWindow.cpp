#include "app/script/StandInMainWindow.h"

#include "app/ToolWindowList.h"
#include "ui/Desktop.h"

namespace qx::script {

StandInMainWindow::StandInMainWindow(ui::WindowSystem& windows, ui::Desktop& desktop,
                                     OnlineStatusNotifier& notifier, ToolWindowList& toolWindows)
    : desktop_(desktop), notifier_(notifier), toolWindows_(toolWindows), window_(windows) {
  window_.SetInitHandler([this] { OnInit(); });
  window_.SetEventHandler([this](ui::Event& event) { return OnEvent(event); });
}

StandInMainWindow::~StandInMainWindow() {
  notifier_.Unregister(*this);
  toolWindows_.Remove(window_);
}

int StandInMainWindow::Run() {
  return window_.DoModal(desktop_, "Control Tool Body", nullptr);
}

void StandInMainWindow::OnInit() {
  BindStatusStrip(window_, kStatusStripId);
  notifier_.Register(*this);
  toolWindows_.Add(window_);
  window_.SetTitle(std::string("QX-4400x8800M-RLNK Control Tool") + "  Ver " + "0.18");
}

bool StandInMainWindow::OnEvent(ui::Event& event) {
  if (event.type != ui::EventType::Command || event.code != ui::notify::kClicked) return false;
  if (event.id == ui::kIdOk) return true;  // Enter never closes the main window
  if (event.id == ui::kIdCancel) {
    const ui::DialogAnswer answer =
        desktop_.ShowMessageBox(&window_, "Are you sure to terminate the Camera Control Tool ?",
                                "Confirm", ui::MessageIcon::Question, ui::MessageButtons::YesNo);
    if (answer == ui::DialogAnswer::Yes) window_.EndDialog(ui::kIdCancel);
    return true;
  }
  return false;
}

}  // namespace qx::script
