#pragma once

// A main window with the frame of the real one (template "Control Tool Body": title, menu,
// status strip, exit confirmation) and no feature pages, so that headless runs have a main
// window to drive until the full main window takes its place.

#include "app/OnlineStatusNotifier.h"
#include "ui/Window.h"

namespace qx::ui {
class Desktop;
class WindowSystem;
}  // namespace qx::ui

namespace qx {
class ToolWindowList;
}

namespace qx::script {

class StandInMainWindow : public COnlineStatusUpdater {
 public:
  static constexpr int kStatusStripId = 1161;

  StandInMainWindow(ui::WindowSystem& windows, ui::Desktop& desktop, OnlineStatusNotifier& notifier,
                    ToolWindowList& toolWindows);
  ~StandInMainWindow() override;

  // Creates, initialises and runs the window modally; returns once it has closed.
  int Run();
  ui::Window& GetWindow() { return window_; }

 private:
  void OnInit();
  bool OnEvent(ui::Event& event);

  ui::Desktop& desktop_;
  OnlineStatusNotifier& notifier_;
  ToolWindowList& toolWindows_;
  ui::Window window_;
};

}  // namespace qx::script
