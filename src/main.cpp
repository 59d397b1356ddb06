#include <functional>
#include <iostream>

#include "app/script/HeadlessSession.h"
#include "ui/Window.h"
#ifdef QXTOOL_HAVE_QT
#include "qt/QtFrontEnd.h"
#endif

// Headless runs need nothing more; a build with Qt draws the windows with it.
int main(int argc, char** argv) {
  qx::script::FrontEnd frontEnd;
  qx::script::ScriptFrontEnd scriptFrontEnd;
#ifdef QXTOOL_HAVE_QT
  frontEnd = [&argc, argv](qx::ui::WindowSystem& windows,
                           const std::function<int(qx::ui::Desktop&)>& run) {
    return qx::qt::RunWithQtFrontEnd(argc, argv, windows, [&run](qx::qt::QtFrontEnd& qt) {
      // The terminal is the one window whose controls follow its size.
      qt.GetRenderer().SetResizePolicy(
          [](const qx::ui::Window& window) { return window.TemplateId() == 117; });
      return run(qt.Desktop());
    });
  };
  // A script drives the windows; Qt only draws them, offscreen when there is no display.
  scriptFrontEnd = [&argc, argv](
                       qx::ui::WindowSystem& windows,
                       const std::function<int(const qx::script::ScreenshotFunction&)>& run) {
    qx::qt::QtApplication application(argc, argv, /*offscreenWithoutDisplay=*/true);
    qx::qt::Renderer renderer(windows);
    return run(
        [&renderer](const qx::ui::Window& window, const std::string& path, std::string& error) {
          return qx::qt::SaveScreenshot(renderer, window, path, &error);
        });
  };
#endif
  return qx::script::RunCommandLine(argc, argv, std::cin, std::cout, std::cerr, frontEnd,
                                    scriptFrontEnd);
}
