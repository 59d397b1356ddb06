#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "app/AppContext.h"
#include "app/script/ScriptHost.h"

namespace qx {

class CCtrlToolDlg;

// The tool on a given window system and desktop (headless or Qt): the application context
// with its program-wide objects and the main window. Destroying it is the program's normal
// end: the main window goes first, then the context writes the preferences back.
class Application : public script::ScriptHost {
 public:
  Application(ui::WindowSystem& windows, ui::Desktop& desktop, AppOptions options = {});
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  AppContext& Context() { return context_; }
  CCtrlToolDlg& MainDialog() { return *main_; }

  // Runs the main window modally; returns when it has closed.
  int Run();

  ui::Window* MainWindow() override;
  void RunMainWindow() override { Run(); }
  // One line per parameter row: "CTRL CMD current previous min max".
  bool PrintParameterTable(std::ostream& out, std::string& error) override;

 private:
  AppContext context_;
  std::unique_ptr<CCtrlToolDlg> main_;
};

}  // namespace qx
