#pragma once

// One headless run of the tool driven by a script: the resources, the window system, the
// headless desktop and the application (its context and main window), built in that order
// and torn down in reverse, so the application's end is the program's normal end.

#include <functional>
#include <istream>
#include <memory>
#include <ostream>

#include "app/AppContext.h"
#include "app/script/ScriptHost.h"
#include "app/script/ScriptRunner.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
class Application;
}

namespace qx::script {

class HeadlessSession : public ScriptHost {
 public:
  HeadlessSession(ui::HeadlessDesktop::ClockMode clock, AppOptions options = {});
  ~HeadlessSession() override;
  HeadlessSession(const HeadlessSession&) = delete;
  HeadlessSession& operator=(const HeadlessSession&) = delete;

  // Builds the application, runs its main window with the script driving it and ends the
  // application; every message box from construction to the end is printed. Returns the
  // exit code (0, or 2 for a script error).
  // With a screenshot function (a run drawn by a window front-end) the script's screenshot
  // command saves windows as drawn.
  int RunScript(std::istream& script, std::ostream& out, std::ostream& err,
                ScreenshotFunction screenshot = nullptr);

  const ui::ResourceRegistry& Resources() const { return resources_; }
  ui::WindowSystem& Windows() { return windows_; }
  ui::HeadlessDesktop& Desktop() { return desktop_; }

  ui::Window* MainWindow() override;
  void RunMainWindow() override;
  bool PrintParameterTable(std::ostream& out, std::string& error) override;

 private:
  ui::ResourceRegistry resources_;
  ui::WindowSystem windows_;
  ui::HeadlessDesktop desktop_;
  AppOptions options_;
  std::unique_ptr<Application> application_;
};

// A window front-end: given the window system, it sets up its desktop, calls run with it
// (which builds the application and runs the main window) and returns run's result.
using FrontEnd =
    std::function<int(ui::WindowSystem& windows, const std::function<int(ui::Desktop&)>& run)>;

// A window front-end for scripted runs: it draws the window system while run executes the
// script (whose message boxes and file dialogs are still answered by the script), and hands
// run the way to save a window as drawn.
using ScriptFrontEnd = std::function<int(ui::WindowSystem& windows,
                                         const std::function<int(const ScreenshotFunction&)>& run)>;

// The tool's command line. "--headless --script FILE" runs the script (FILE "-" reads
// standard input); "--script FILE" runs it with the windows drawn by the script front-end.
// Otherwise the tool runs with the front-end, which also takes any arguments of its own;
// without one (a build without Qt) it prints a notice and exits 0. An argument beginning
// with "--" that the tool does not know is an error in every case.
int RunCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err, const FrontEnd& frontEnd = nullptr,
                   const ScriptFrontEnd& scriptFrontEnd = nullptr);

}  // namespace qx::script
