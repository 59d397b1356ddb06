#pragma once

// Windows for the ui tests: a main window with a menu and tab control, a page that is its
// child, and a modal dialog, described in the resource format.

#include <gtest/gtest.h>

#include <vector>

#include "ui/Event.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::test {

inline constexpr const char* kUiTestResources = R"(
menu 700
  popup "File"
    item 40001 "Open"
    item 2 "Exit"
  end
  popup "Tools" grayed
    item 40002 "Hidden tool"
  end
end
bitmap 302 4 4 solid 255 0 0
dialog 900 caption "Main" size 400 300 menu 700
  tab 1244 at 0 0 400 280
  picture 1161 at 0 290 400 10 image 302
end
dialog 901 child
  group "Exposure"
    row "Time" : edit 1338 | updown 1339 buddy 1338 range 1 8000 pos 10
    row "Mode" : combo 1337 items "Off"=0 "Timed"=5 "Width"=7 sel 0
    row : autocheck 2540 "Select all" | check 2541 "Manual"
    row : button 1432 "Get" | defbutton 1 "OK"
  end
  autoradio 3001 "A" group
  autoradio 3002 "B"
  autoradio 3003 "C"
  text 3010 "after" group
  listbox 3020
  plot 3030 at 160 20 260 260
  groupbox 3040 "Box"
end
dialog 902 caption "Ask"
  edit 5001
  button 1 "OK"
  button 2 "Cancel"
end
)";

class UiTest : public ::testing::Test {
 protected:
  UiTest() {
    resources.AddFile("test.qxr", kUiTestResources);
    EXPECT_TRUE(resources.Errors().empty()) << resources.Errors().front().ToString();
  }

  // Records every event a window's handler sees; the handler answers `handles`.
  struct Recorder {
    std::vector<ui::Event> events;
    bool handles = false;
    ui::Window::EventHandler Handler() {
      return [this](ui::Event& event) {
        events.push_back(event);
        return handles;
      };
    }
  };

  ui::ResourceRegistry resources;
  ui::WindowSystem windows{resources};
  ui::HeadlessDesktop desktop;
};

}  // namespace qx::test
