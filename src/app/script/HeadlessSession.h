#pragma once

// One headless run of the tool driven by a script: the resources, the window system, the
// headless desktop and the application (its context and main window), built in that order
// and torn down in reverse, so the application's end is the program's normal end.

#include <istream>
#include <memory>
#include <ostream>

#include "app/AppContext.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
class Application;
}

namespace qx::script {

class HeadlessSession {
 public:
  HeadlessSession(ui::HeadlessDesktop::ClockMode clock, AppOptions options = {});
  ~HeadlessSession();
  HeadlessSession(const HeadlessSession&) = delete;
  HeadlessSession& operator=(const HeadlessSession&) = delete;

  // Runs the main window with the script driving it; returns the exit code (0, or 2 for a
  // script error).
  int RunScript(std::istream& script, std::ostream& out, std::ostream& err);

  const ui::ResourceRegistry& Resources() const { return resources_; }
  ui::WindowSystem& Windows() { return windows_; }
  ui::HeadlessDesktop& Desktop() { return desktop_; }
  Application& App() { return *application_; }

 private:
  ui::ResourceRegistry resources_;
  ui::WindowSystem windows_;
  ui::HeadlessDesktop desktop_;
  std::unique_ptr<Application> application_;
};

// The tool's command line: "--headless --script FILE" (FILE "-" reads standard input). Without
// --headless there is no front-end in this build: a notice, exit code 0.
int RunCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace qx::script
