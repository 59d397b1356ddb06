#include "qt/QtFrontEnd.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "qt/Conversions.h"
#include "qt/WindowView.h"
#include "ui/Window.h"

namespace qx::qt {

void ApplyToolStyle(QApplication& application) {
  // One style on every desktop, so that the windows look as reviewed in the screenshots.
  if (QStyle* fusion = QStyleFactory::create("Fusion")) application.setStyle(fusion);
  QPalette palette = application.style()->standardPalette();
  palette.setColor(QPalette::Window, QColor(239, 240, 242));
  palette.setColor(QPalette::Base, QColor(255, 255, 255));
  palette.setColor(QPalette::AlternateBase, QColor(246, 247, 249));
  palette.setColor(QPalette::Highlight, QColor(38, 110, 190));
  palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
  palette.setColor(QPalette::Button, QColor(232, 234, 237));
  application.setPalette(palette);
}

QtApplication::QtApplication(int& argc, char** argv, bool offscreenWithoutDisplay) {
  const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                       qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                       qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
  if (offscreenWithoutDisplay && !display) qputenv("QT_QPA_PLATFORM", "offscreen");
  application_ = std::make_unique<QApplication>(argc, argv);
  QApplication::setApplicationName("qxtool");
  // The tool ends when its main window's modal run returns, not when a window closes.
  QApplication::setQuitOnLastWindowClosed(false);
  ApplyToolStyle(*application_);
}

QtApplication::~QtApplication() = default;

int RunWithQtFrontEnd(int& argc, char** argv, ui::WindowSystem& windows,
                      const std::function<int(QtFrontEnd&)>& run) {
  QtApplication application(argc, argv, false);
  QtFrontEnd frontEnd(windows);
  return run(frontEnd);
}

int RunWithQt(int& argc, char** argv, ui::WindowSystem& windows,
              const std::function<int(ui::Desktop&)>& run) {
  return RunWithQtFrontEnd(argc, argv, windows,
                           [&run](QtFrontEnd& frontEnd) { return run(frontEnd.Desktop()); });
}

bool SaveScreenshot(const Renderer& renderer, const ui::Window& window, const std::string& pngPath,
                    std::string* error) {
  auto fail = [error](const std::string& reason) {
    if (error != nullptr) *error = reason;
    return false;
  };
  WindowView* view = renderer.ViewOf(window);
  if (view == nullptr) return fail("the window does not exist");
  QWidget* widget = view->IsTopLevel() ? view->Frame() : view->Content();
  widget->ensurePolished();
  if (widget->layout() != nullptr) widget->layout()->activate();
  if (!widget->isVisible()) {
    // A window that was never shown has not been given its size yet.
    const QSize wanted = widget->sizeHint().expandedTo(widget->minimumSize());
    if (widget->width() < wanted.width() || widget->height() < wanted.height()) {
      widget->resize(widget->size().expandedTo(wanted));
    }
  }
  const QPixmap picture = widget->grab();
  if (picture.isNull()) return fail("the window could not be drawn");
  const QString path = ToQString(pngPath);
  const QFileInfo info(path);
  if (!QDir().mkpath(info.absolutePath())) {
    return fail("cannot create the folder " + FromQString(info.absolutePath()));
  }
  if (!picture.save(path, "PNG")) return fail("cannot write " + pngPath);
  return true;
}

bool QtFrontEnd::SaveScreenshot(const ui::Window& window, const std::string& pngPath,
                                std::string* error) const {
  return qt::SaveScreenshot(renderer_, window, pngPath, error);
}

}  // namespace qx::qt
