#include "app/Application.h"

#include "app/CtrlToolDlg.h"
#include "model/ParameterTable.h"

namespace qx {

Application::Application(ui::WindowSystem& windows, ui::Desktop& desktop, AppOptions options)
    : context_(windows, desktop, std::move(options)),
      main_(std::make_unique<CCtrlToolDlg>(context_)) {}

Application::~Application() = default;

int Application::Run() {
  return main_->Run();
}

ui::Window* Application::MainWindow() {
  return &main_->GetWindow();
}

bool Application::PrintParameterTable(std::ostream& out, std::string& /*error*/) {
  for (const ParameterRow& row : context_.Parameters().Rows()) {
    out << row.controlId << ' ' << row.commandId << ' ' << row.current << ' ' << row.previous << ' '
        << row.min << ' ' << row.max << '\n';
  }
  return true;
}

}  // namespace qx
