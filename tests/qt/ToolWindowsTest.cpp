// The tool itself on the Qt desktop, without a camera: the main window with its feature pages
// and the companion windows open, render, and close through the exit question.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

#include "QtFixture.h"
#include "app/Application.h"
#include "qt/ControlWidgets.h"
#include "ui/OperatorInput.h"

namespace qx::test {
namespace {

std::string ShotName(const ui::Window& window) {
  if (window.TemplateId() != 0) return "tool-" + std::to_string(window.TemplateId());
  std::string name = "tool-" + window.TemplateName();
  for (char& c : name) {
    if (c == ' ') c = '-';
  }
  return name;
}

TEST(ToolOnQt, MainWindowAndCompanionsOpenRenderAndCloseThroughTheExitQuestion) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::string root = folder.path().toStdString();
  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  qt::QtFrontEnd frontEnd{windows};
  AppOptions options;
  options.registryPath = root + "/machine.reg";
  // No camera: every port names a device that is not there.
  options.environment = [root](const std::string& name) -> std::optional<std::string> {
    if (name.rfind("QXTOOL_COM", 0) == 0) return root + "/no-such-port";
    if (name == "CLSERIALPATH") return root;
    return std::nullopt;
  };
  options.cameraLink2001Library = root + "/none.so";
  options.cameraLinkV11Library = root + "/none.so";
  Application app(windows, frontEnd.Desktop(), options);

  std::vector<std::string> questions;
  std::vector<std::string> shots;
  bool closing = false;
  QTimer operatorHands;
  operatorHands.setInterval(5);
  QObject::connect(&operatorHands, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) return;
      questions.push_back(box->text().toStdString());
      const bool exit = box->text().contains("terminate");
      Click(exit ? box->button(QMessageBox::Yes) : box->escapeButton());
      return;
    }
    ui::Window* main = app.MainWindow();
    if (closing || main == nullptr || !main->IsVisible()) return;
    closing = true;
    for (ui::Window* window : windows.Windows()) {
      if (!window->Exists()) continue;
      std::string error;
      const std::string path =
          std::string(QX_BUILD_DIR) + "/screenshots/" + ShotName(*window) + ".png";
      EXPECT_TRUE(qt::SaveScreenshot(frontEnd.GetRenderer(), *window, path, &error)) << error;
      shots.push_back(ShotName(*window));
    }
    const std::string mainPath = std::string(QX_BUILD_DIR) + "/screenshots/tool-main-window.png";
    EXPECT_TRUE(frontEnd.SaveScreenshot(*main, mainPath));
    // Out of this tick: the exit question needs this timer to answer it.
    QTimer::singleShot(0, [main] { ui::input::RequestClose(*main); });
  });
  // A run that does not end on its own is a failure, not a hang.
  QTimer::singleShot(30000, [&] {
    ADD_FAILURE() << "the main window did not close";
    if (app.MainWindow() != nullptr) app.MainWindow()->EndDialog(ui::kIdCancel);
  });
  operatorHands.start();

  app.Run();
  operatorHands.stop();

  EXPECT_TRUE(closing) << "the main window was never shown";
  ASSERT_FALSE(questions.empty());
  EXPECT_EQ(questions.back(), "Are you sure to terminate the Camera Control Tool ?");
  EXPECT_GE(shots.size(), 2u);
}

}  // namespace
}  // namespace qx::test
