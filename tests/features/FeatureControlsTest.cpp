#include "features/FeatureControls.h"

#include <gtest/gtest.h>

#include "comm/Command.h"
#include "comm/TrafficLog.h"
#include "support/FakeChannel.h"
#include "support/RecordingDesktop.h"
#include "ui/Control.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

constexpr const char* kTemplates = R"(
dialog 9001 caption "Page" size 400 300 child
  edit 1338 at 10 10 60 20
  updown 1339 buddy 1338 range 1 8000 at 70 10 16 20
  combo 1354 at 10 40 80 100 items "RGB8"=3 "RGB10"=4 "RGB12"=5
  combo 1349 at 10 70 80 100 items "Low" "High" "Software"=2 "PulseGenerator0"=10
  combo 2797 at 10 100 80 100 items "Off" "x2"
  check 2540 "Select all" at 10 130 80 20
  radio 3001 "A" at 10 160 40 20 group
  radio 3002 "B" at 50 160 40 20
  radio 3003 "C" at 90 160 40 20
  button 1432 "Get" at 10 190 40 20
  text 1134 "" at 60 190 60 20
end
dialog 9002 caption "Main" size 400 300
  edit 1338 at 10 10 60 20
  edit 1873 at 10 40 60 20
end
)";

class FeatureControlsTest : public ::testing::Test {
 protected:
  FeatureControlsTest() : windows_(resources_), page_(windows_), main_(windows_) {
    resources_.AddFile("test.qxr", kTemplates);
    EXPECT_TRUE(resources_.Errors().empty());
    EXPECT_TRUE(main_.Create(9002));
    EXPECT_TRUE(page_.Create(9001, &main_));
    controls_.SetSearchOrder({&page_, &main_});
  }

  ui::ResourceRegistry resources_;
  ui::WindowSystem windows_;
  ui::Window page_;
  ui::Window main_;
  FeatureControls controls_;
};

TEST_F(FeatureControlsTest, PagesAreAskedBeforeTheMainWindow) {
  EXPECT_EQ(controls_.FindControl(1338), page_.GetControl(1338));
  EXPECT_EQ(controls_.FindControl(1873), main_.GetControl(1873));
  EXPECT_EQ(controls_.FindControl(4242), nullptr);
  page_.Destroy();  // a page whose window is gone is skipped
  EXPECT_EQ(controls_.FindControl(1338), main_.GetControl(1338));
}

TEST_F(FeatureControlsTest, EditReadsLeadingDigitsAndWritesDecimal) {
  page_.GetControl(1338)->SetText("250us");
  EXPECT_EQ(controls_.GetControlValue(1338), 250);
  page_.GetControl(1338)->SetText("abc");
  EXPECT_EQ(controls_.GetControlValue(1338), 0);
  EXPECT_EQ(controls_.SetControlValue(1338, -17), 1);
  EXPECT_EQ(page_.GetControl(1338)->Text(), "-17");
}

TEST_F(FeatureControlsTest, SpinValueFollowsTheBuddyIntegerRule) {
  EXPECT_EQ(controls_.SetControlValue(1339, 500), 1);
  EXPECT_EQ(page_.GetControl(1338)->Text(), "500");
  EXPECT_EQ(controls_.GetControlValue(1339), 500);
  page_.GetControl(1338)->SetText("9999");  // outside the range: the last position holds
  EXPECT_EQ(controls_.GetControlValue(1339), 500);
  page_.GetControl(1338)->SetText("700");
  EXPECT_EQ(controls_.GetControlValue(1339), 700);
}

TEST_F(FeatureControlsTest, ListValueIsItemDataOrIndexWhereDataIsZero) {
  controls_.SetControlValue(1349, 10);
  EXPECT_EQ(page_.GetControl(1349)->Selection(), 3);
  EXPECT_EQ(controls_.GetControlValue(1349), 10);
  controls_.SetControlValue(1349, 1);  // no item carries 1: the item at index 1
  EXPECT_EQ(page_.GetControl(1349)->Selection(), 1);
  EXPECT_EQ(controls_.GetControlValue(1349), 1);
  controls_.SetControlValue(1349, 0);
  EXPECT_EQ(controls_.GetControlValue(1349), 0);
  controls_.SetControlValue(1349, 40);  // neither data nor index: nothing selected
  EXPECT_EQ(page_.GetControl(1349)->Selection(), -1);
  EXPECT_EQ(controls_.GetControlValue(1349), -1);
}

TEST_F(FeatureControlsTest, PixelFormatListAlwaysUsesItsData) {
  page_.GetControl(1354)->SetItemData(0, 0);
  page_.GetControl(1354)->SetSelection(0);
  EXPECT_EQ(controls_.GetControlValue(1354), 0);  // data 0, not the index rule
  page_.GetControl(1354)->SetSelection(2);
  EXPECT_EQ(controls_.GetControlValue(1354), 5);
  controls_.SetControlValue(1354, 4);
  EXPECT_EQ(page_.GetControl(1354)->Selection(), 1);
}

TEST_F(FeatureControlsTest, CheckBoxesAndRadioGroups) {
  controls_.SetControlValue(2540, 1);
  EXPECT_EQ(controls_.GetControlValue(2540), 1);
  controls_.SetControlValue(2540, 2);  // only 1 checks
  EXPECT_EQ(controls_.GetControlValue(2540), 0);
  controls_.SetControlValue(3001, 2);
  EXPECT_EQ(page_.GetControl(3003)->CheckState(), 1);
  EXPECT_EQ(page_.GetControl(3001)->CheckState(), 0);
  EXPECT_EQ(controls_.GetControlValue(3001), 2);
}

TEST_F(FeatureControlsTest, KindsWithoutAValueAnswerTheNoneResult) {
  EXPECT_EQ(controls_.GetControlValue(1432), -1);
  EXPECT_EQ(controls_.SetControlValue(1432, 1), 0);
  EXPECT_EQ(controls_.GetControlValue(4242), -1);
  EXPECT_EQ(controls_.SetControlValue(4242, 1), 0);
}

TEST_F(FeatureControlsTest, ReadBackShowsTheCamerasValueOnlyWhenItAnswers) {
  CommandTable commands;
  test::FakeChannel channel;
  test::RecordingDesktop desktop;
  test::CountingStatus status;
  TrafficLog log;
  Command command(commands, channel, desktop, status, log);
  ParameterTable table(desktop);
  channel.camera = [](const std::string& line) {
    return line == "PE?\r\n" ? std::string("PE=1234\r\n") : std::string();
  };
  EXPECT_EQ(controls_.ReadBackControl(1338, command, table), 1);
  EXPECT_EQ(table.GetDataValue(1338), 1234);
  EXPECT_EQ(page_.GetControl(1338)->Text(), "1234");
  channel.camera = [](const std::string&) { return std::string(); };
  EXPECT_EQ(controls_.ReadBackControl(1338, command, table), 0);
  EXPECT_EQ(table.GetDataValue(1338), 1234);
}

}  // namespace
}  // namespace qx
