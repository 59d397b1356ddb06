#pragma once

// One headless run of the tool driven by a script: the resources, window system, headless
// desktop, shared window services and the main window, wired together and torn down in
// reverse order.

#include <istream>
#include <ostream>
#include <string>

#include "app/OnlineStatusNotifier.h"
#include "app/ProgressBarDialog.h"
#include "app/ToolWindowList.h"
#include "app/script/ScriptHost.h"
#include "app/script/StandInMainWindow.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx::script {

class HeadlessSession : public ScriptHost {
 public:
  explicit HeadlessSession(ui::HeadlessDesktop::ClockMode clock);

  // Runs the script; returns the exit code (0, or 2 for a script error).
  int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

  ui::Window* MainWindow() override { return &mainWindow_.GetWindow(); }
  void RunMainWindow() override { mainWindow_.Run(); }
  bool PrintParameterTable(std::ostream& out, std::string& error) override;

  const ui::ResourceRegistry& Resources() const { return resources_; }
  ui::WindowSystem& Windows() { return windows_; }
  ui::HeadlessDesktop& Desktop() { return desktop_; }
  OnlineStatusNotifier& Notifier() { return notifier_; }
  ToolWindowList& ToolWindows() { return toolWindows_; }
  CProgressBarDialog& Progress() { return progress_; }

 private:
  ui::ResourceRegistry resources_;
  ui::WindowSystem windows_;
  ui::HeadlessDesktop desktop_;
  OnlineStatusNotifier notifier_;
  ToolWindowList toolWindows_;
  CProgressBarDialog progress_;
  StandInMainWindow mainWindow_;
};

// The tool's command line: "--headless --script FILE" (FILE "-" reads standard input). Without
// --headless there is no front-end in this build: a notice, exit code 0.
int RunCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace qx::script
