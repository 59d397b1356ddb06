#include <functional>
#include <iostream>

#include "app/script/HeadlessSession.h"
#ifdef QXTOOL_HAVE_QT
#include "qt/QtFrontEnd.h"
#endif

// Headless runs need nothing more; a build with Qt draws the windows with it.
int main(int argc, char** argv) {
  qx::script::FrontEnd frontEnd;
#ifdef QXTOOL_HAVE_QT
  frontEnd = [&argc, argv](qx::ui::WindowSystem& windows,
                           const std::function<int(qx::ui::Desktop&)>& run) {
    return qx::qt::RunWithQt(argc, argv, windows, run);
  };
#endif
  return qx::script::RunCommandLine(argc, argv, std::cin, std::cout, std::cerr, frontEnd);
}
