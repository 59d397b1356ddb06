#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/ControlMode.h"
#include "app/RegistryStore.h"
#include "comm/Command.h"
#include "comm/TrafficLog.h"
#include "features/CameraModel.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "features/SpinLinks.h"
#include "model/ParameterTable.h"
#include "platform/RegistryHive.h"
#include "support/FakeChannel.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"
#include "ui/Control.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::test {

// A page holding the controls the feature rules touch, and a camera that answers queries from
// a map of mnemonic values and acknowledges every set.
class FeatureRulesTest : public ::testing::Test {
 protected:
  static constexpr const char* kPage = R"(
dialog 9101 caption "Rules" size 600 400 child
  edit 1359 at 0 0 10 10
  updown 1579 buddy 1359 range 0 100 at 0 0 10 10
  edit 1357 at 0 0 10 10
  updown 1358 buddy 1357 range 0 100 at 0 0 10 10
  edit 2515 at 0 0 10 10
  updown 2516 buddy 2515 range 0 100 at 0 0 10 10
  edit 2785 at 0 0 10 10
  updown 2786 buddy 2785 range 0 100 at 0 0 10 10
  edit 2787 at 0 0 10 10
  updown 2788 buddy 2787 range 0 100 at 0 0 10 10
  edit 2795 at 0 0 10 10
  updown 2796 buddy 2795 range 0 100 at 0 0 10 10
  edit 2802 at 0 0 10 10
  updown 2803 buddy 2802 range 0 100 at 0 0 10 10
  edit 1338 at 0 0 10 10
  updown 1339 buddy 1338 range 0 100 at 0 0 10 10
  edit 2631 at 0 0 10 10
  updown 2632 buddy 2631 range -20 20 at 0 0 10 10
  edit 2779 "1" at 0 0 10 10
  updown 2780 buddy 2779 range 1 128 at 0 0 10 10
  edit 2518 at 0 0 10 10
  updown 2519 buddy 2518 range 0 10 at 0 0 10 10
  combo 1406 at 0 0 10 10 items "Off" "x2"
  combo 1408 at 0 0 10 10 items "Off" "x2"
  combo 2797 at 0 0 10 10 items "Off" "x2"
  combo 2798 at 0 0 10 10 items "Off" "x2"
  combo 2542 at 0 0 10 10 items "Off" "On"
  combo 1349 at 0 0 10 10 items "Low" "High" "Software" "PulseGenerator0"
  combo 2575 at 0 0 10 10 items "0.45" "0.5" "0.55" "0.6" "0.65" "0.75" "0.8" "0.9" "1.0"
  combo 1422 at 0 0 10 10 items "Baud9600" "Baud19200" "Baud38400" "Baud57600" "Baud115200"
  combo 1407 at 0 0 10 10 items "Base"
  combo 2573 at 0 0 10 10 items "37.1MHz"
  combo 1354 at 0 0 10 10 items "RGB8"
  combo 1386 at 0 0 10 10 items "Off" "Grey Horizontal Ramp" "Grey Vertical Ramp" "Grey Horizontal Ramp Moving" "Horizontal Colorbar" "Vertical Colorbar" "Moving Colorbar"
  combo 1868 at 0 0 10 10 items "Flat Shading" "Color Shading"
  combo 1855 at 0 0 10 10
  edit 2712 at 0 0 10 10
  updown 2713 buddy 2712 range 0 100 at 0 0 10 10
  button 2872 "Sensor Multi ROI Enable" at 0 0 10 10
  text 2886 "ROI" at 0 0 10 10
end
)";

  FeatureRulesTest()
      : hive_(dir_.File("machine.reg")),
        store_(hive_),
        mode_(store_),
        windows_(resources_),
        page_(windows_) {
    resources_.AddFile("rules.qxr", kPage);
    EXPECT_TRUE(resources_.Errors().empty());
    EXPECT_TRUE(page_.Create(9101));
    LinkSpinsToBuddies(page_);
    controls_.SetSearchOrder({&page_});
    channel_.camera = [this](const std::string& line) { return Answer(line); };
  }

  std::string Answer(const std::string& line) {
    const auto mark = line.find_first_of("?=");
    const std::string name = line.substr(0, mark);
    if (mark != std::string::npos && line[mark] == '=') return "COMPLETE\r\n";
    queried_.push_back(name);
    auto it = camera_.find(name);
    if (it == camera_.end()) return "";  // silent: the query times out
    return name + "=" + it->second + "\r\n";
  }

  ui::Control& C(int id) { return *page_.GetControl(id); }

  TempDir dir_;
  platform::RegistryHive hive_;
  CRegistryStore store_;
  ControlMode mode_;
  ui::ResourceRegistry resources_;
  ui::WindowSystem windows_;
  ui::Window page_;
  FeatureControls controls_;
  RecordingDesktop desktop_;
  CommandTable commands_;
  FakeChannel channel_;
  CountingStatus status_;
  TrafficLog log_;
  Command command_{commands_, channel_, desktop_, status_, log_};
  ParameterTable table_{desktop_};
  CameraModel model_;
  MainWindowFields fields_;
  FeatureContext context_{table_, controls_, command_, model_, mode_, fields_, desktop_};
  std::map<std::string, std::string> camera_;
  std::vector<std::string> queried_;
};

}  // namespace qx::test
