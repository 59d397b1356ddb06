#include "app/script/HeadlessSession.h"

#include <algorithm>
#include <fstream>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/script/ScriptRunner.h"

namespace qx::script {

HeadlessSession::HeadlessSession(ui::HeadlessDesktop::ClockMode clock, AppOptions options)
    : resources_(ui::ResourceRegistry::FromEmbedded()),
      windows_(resources_),
      desktop_(clock),
      options_(std::move(options)) {}

HeadlessSession::~HeadlessSession() = default;

int HeadlessSession::RunScript(std::istream& script, std::ostream& out, std::ostream& err,
                               ScreenshotFunction screenshot) {
  ScriptRunner runner(script, windows_, desktop_, *this, out, err, std::move(screenshot));
  application_ = std::make_unique<Application>(windows_, desktop_, options_);
  const int code = runner.Run();
  // The normal end, while the runner still prints what it shows.
  application_.reset();
  return code;
}

ui::Window* HeadlessSession::MainWindow() {
  return application_ ? application_->MainWindow() : nullptr;
}

void HeadlessSession::RunMainWindow() {
  if (application_) application_->Run();
}

bool HeadlessSession::PrintParameterTable(std::ostream& out, std::string& error) {
  if (!application_) {
    error = "no parameter table";
    return false;
  }
  return application_->PrintParameterTable(out, error);
}

int RunCommandLine(int argc, const char* const* argv, std::istream& in, std::ostream& out,
                   std::ostream& err, const FrontEnd& frontEnd,
                   const ScriptFrontEnd& scriptFrontEnd) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  bool headless = false;
  const char* scriptPath = nullptr;
  std::vector<std::string_view> unknown;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--headless") {
      headless = true;
    } else if (args[i] == "--script" && i + 1 < args.size()) {
      scriptPath = argv[i + 2];
      ++i;
    } else {
      unknown.push_back(args[i]);
    }
  }
  // Unknown arguments may be the front-end's own (Qt's take one dash); only a run without one
  // rejects them, and "--" arguments are never the front-end's.
  const bool unknownLongOption = std::any_of(
      unknown.begin(), unknown.end(), [](std::string_view a) { return a.rfind("--", 0) == 0; });
  if (!unknown.empty() && (headless || !frontEnd || unknownLongOption)) {
    err << "qxtool: unknown argument \"" << unknown.front() << "\"\n"
        << "usage: qxtool [--headless --script FILE]\n";
    return ScriptRunner::kExitScriptError;
  }
  if (!headless && scriptPath != nullptr) {
    if (!scriptFrontEnd) {
      err << "qxtool: this build has no window front-end; run the script with --headless\n";
      return ScriptRunner::kExitScriptError;
    }
    HeadlessSession session(ui::HeadlessDesktop::ClockMode::Real);
    for (const ui::ResourceError& error : session.Resources().Errors()) {
      err << error.ToString() << '\n';
    }
    std::ifstream file;
    if (std::string_view(scriptPath) != "-") {
      file.open(scriptPath);
      if (!file) {
        err << "qxtool: cannot read script \"" << scriptPath << "\"\n";
        return ScriptRunner::kExitScriptError;
      }
    }
    std::istream& script = std::string_view(scriptPath) == "-" ? in : file;
    return scriptFrontEnd(session.Windows(), [&](const ScreenshotFunction& screenshot) {
      return session.RunScript(script, out, err, screenshot);
    });
  }
  if (!headless) {
    if (!frontEnd) {
      out << "qxtool: this build has no window front-end; run it with --headless --script FILE\n";
      return 0;
    }
    const ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
    for (const ui::ResourceError& error : resources.Errors()) err << error.ToString() << '\n';
    ui::WindowSystem windows(resources);
    frontEnd(windows, [&windows](ui::Desktop& desktop) {
      Application application(windows, desktop);
      return application.Run();
    });
    return 0;
  }
  if (scriptPath == nullptr) {
    err << "usage: qxtool --headless --script FILE\n";
    return ScriptRunner::kExitScriptError;
  }
  HeadlessSession session(ui::HeadlessDesktop::ClockMode::Real);
  for (const ui::ResourceError& error : session.Resources().Errors()) {
    err << error.ToString() << '\n';
  }
  if (std::string_view(scriptPath) == "-") return session.RunScript(in, out, err);
  std::ifstream file(scriptPath);
  if (!file) {
    err << "qxtool: cannot read script \"" << scriptPath << "\"\n";
    return ScriptRunner::kExitScriptError;
  }
  return session.RunScript(file, out, err);
}

}  // namespace qx::script
