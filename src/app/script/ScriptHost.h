#pragma once

// What the script runner needs from the application it drives.

#include <ostream>
#include <string>

namespace qx::ui {
class Window;
}

namespace qx::script {

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;
  // The main window (the one `main` names and the end of the script closes); nullptr before
  // it exists.
  virtual ui::Window* MainWindow() = 0;
  // Constructs, initialises and runs the main window modally; returns when it has closed.
  virtual void RunMainWindow() = 0;
  // One line per parameter row: "CTRL CMD current previous min max". False with the reason
  // when the application has no parameter table to show.
  virtual bool PrintParameterTable(std::ostream& out, std::string& error) = 0;
};

}  // namespace qx::script
