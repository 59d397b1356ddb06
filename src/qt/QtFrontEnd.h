#pragma once

// The entry points of the Qt front-end: what the program's main calls to run the tool in
// real windows, and the screenshot used by scripts and tests.

#include <functional>
#include <memory>
#include <string>

#include "qt/QtDesktop.h"
#include "qt/Renderer.h"

class QApplication;

namespace qx::ui {
class Desktop;
class Window;
class WindowSystem;
}  // namespace qx::ui

namespace qx::qt {

// The look every window of the tool shares (style, palette), applied to the application.
void ApplyToolStyle(QApplication& application);

// The QApplication of one run, with the tool's look. A scripted run may ask to be drawn
// offscreen when the machine has no display (and no Qt platform was chosen), so that scripts
// and their screenshots work on a server; the interactive tool needs a display.
class QtApplication {
 public:
  QtApplication(int& argc, char** argv, bool offscreenWithoutDisplay);
  ~QtApplication();
  QtApplication(const QtApplication&) = delete;
  QtApplication& operator=(const QtApplication&) = delete;

 private:
  std::unique_ptr<QApplication> application_;
};

// The renderer and the Qt desktop for one window system, built in that order and torn down
// in reverse. Needs a QApplication for its whole life.
class QtFrontEnd {
 public:
  explicit QtFrontEnd(ui::WindowSystem& windows) : renderer_(windows), desktop_(renderer_) {}

  Renderer& GetRenderer() { return renderer_; }
  QtDesktop& Desktop() { return desktop_; }
  // See SaveScreenshot below.
  bool SaveScreenshot(const ui::Window& window, const std::string& pngPath,
                      std::string* error = nullptr) const;

 private:
  Renderer renderer_;
  QtDesktop desktop_;
};

// Runs the tool with the Qt front-end: creates the QApplication (with the tool's look), the
// renderer and the Qt desktop, calls run (which builds the windows and runs the main window
// modally) and returns its result. Windows that exist already are mirrored too.
int RunWithQt(int& argc, char** argv, ui::WindowSystem& windows,
              const std::function<int(ui::Desktop&)>& run);
// The same, handing run the whole front-end (for screenshots).
int RunWithQtFrontEnd(int& argc, char** argv, ui::WindowSystem& windows,
                      const std::function<int(QtFrontEnd&)>& run);

// Renders the window as drawn (a top-level window with its menu bar, a page with all of its
// client area) to a PNG file, creating missing folders. False with the reason when the window
// has no view or the file cannot be written.
bool SaveScreenshot(const Renderer& renderer, const ui::Window& window, const std::string& pngPath,
                    std::string* error = nullptr);

}  // namespace qx::qt
