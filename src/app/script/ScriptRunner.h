#pragma once

// Runs a script of operator actions against the tool's windows: one command a line, executed
// as they are read, so that a command that opens a modal dialog is followed by the commands
// that operate it (the desktop's modal loops pull the next commands). The grammar is in
// src/app/script/README.md.

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qx::ui {
class Control;
class HeadlessDesktop;
class Window;
class WindowSystem;
}  // namespace qx::ui

namespace qx::script {

class ScriptHost;

// Saves a window as drawn to a PNG file; false with the reason when it cannot. Only a run
// with a window front-end draws anything.
using ScreenshotFunction =
    std::function<bool(const ui::Window& window, const std::string& pngPath, std::string& error)>;

class ScriptRunner {
 public:
  static constexpr int kExitOk = 0;
  static constexpr int kExitScriptError = 2;

  ScriptRunner(std::istream& script, ui::WindowSystem& windows, ui::HeadlessDesktop& desktop,
               ScriptHost& host, std::ostream& out, std::ostream& err,
               ScreenshotFunction screenshot = nullptr);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Runs the main window with the script driving it; at the end of the script the main
  // window is closed as the operator would, answering Yes. Returns the exit code.
  int Run();

  // Executes the next command; false at the end of the script or once it has failed.
  bool Step();
  bool Failed() const { return failed_; }
  int LineNumber() const { return lineNumber_; }

 private:
  void DriveModal(ui::Window& window);
  void Finish(ui::Window& window);
  void Fail(const std::string& reason);
  bool Execute(const std::string& line);
  bool HasMoreCommands();

  // Command helpers; each reports its own errors and returns false on failure.
  ui::Control* ResolveControl(const std::string& idText);
  ui::Window* ActiveWindow();
  bool Print(const std::vector<std::string>& args);
  bool Screenshot(const std::string& line, const std::vector<std::string>& words);
  // The window with that template number: the one shown, else any that exists.
  ui::Window* FindWindowByTemplate(int templateId) const;
  bool PressKey(const std::vector<std::string>& args);

  std::istream& script_;
  ui::WindowSystem& windows_;
  ui::HeadlessDesktop& desktop_;
  ScreenshotFunction screenshot_;
  ScriptHost& host_;
  std::ostream& out_;
  std::ostream& err_;
  int lineNumber_ = 0;
  bool finished_ = false;
  bool failed_ = false;
};

// Parses a key name: Enter, Escape, F1-F12, a letter, or a decimal virtual-key code.
std::optional<int> ParseKeyName(const std::string& name);
// Quotes text for script output: backslash, double quote and line breaks escaped.
std::string QuoteForOutput(const std::string& text);

}  // namespace qx::script
