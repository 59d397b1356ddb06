// Test program of the Qt front-end: one QApplication for all tests, on the offscreen platform
// so that the tests need no display and never pop up windows on a desktop.

#include <gtest/gtest.h>

#include <QApplication>

#include "qt/QtFrontEnd.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  qx::qt::ApplyToolStyle(application);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
