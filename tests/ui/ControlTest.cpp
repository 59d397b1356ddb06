#include "ui/Control.h"

#include <gtest/gtest.h>

#include "UiFixture.h"
#include "ui/OperatorInput.h"

namespace qx::test {
namespace {

class ControlTest : public UiTest {
 protected:
  ControlTest() {
    EXPECT_TRUE(page.Create(901));
    page.Show(true);
    edit = page.GetControl(1338);
    spin = page.GetControl(1339);
    combo = page.GetControl(1337);
  }
  ui::Window page{windows};
  ui::Control* edit = nullptr;
  ui::Control* spin = nullptr;
  ui::Control* combo = nullptr;
};

TEST_F(ControlTest, UpDownShowsItsStartPositionInTheBuddy) {
  EXPECT_EQ(spin->StoredPosition(), 10);
  EXPECT_EQ(edit->Text(), "10");
  EXPECT_EQ(spin->Buddy(), edit);
}

struct BuddyCase {
  const char* typed;
  int expected;  // position after GetPos, the last accepted one being 10
};

class BuddyInteger : public ControlTest, public ::testing::WithParamInterface<BuddyCase> {};

TEST_P(BuddyInteger, AcceptsOnlyNumbersInsideTheRange) {
  edit->SetText(GetParam().typed);
  EXPECT_EQ(spin->GetPos(), GetParam().expected) << "typed \"" << GetParam().typed << "\"";
  // The buddy keeps what was typed; the caller writes the accepted value back.
  EXPECT_EQ(edit->Text(), GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(Table, BuddyInteger,
                         ::testing::Values(BuddyCase{"500", 500}, BuddyCase{"1", 1},
                                           BuddyCase{"8000", 8000}, BuddyCase{" 42 ", 42},
                                           BuddyCase{"+7", 7}, BuddyCase{"0", 10},
                                           BuddyCase{"8001", 10}, BuddyCase{"-5", 10},
                                           BuddyCase{"", 10}, BuddyCase{"abc", 10},
                                           BuddyCase{"12abc", 10}, BuddyCase{"1.5", 10},
                                           BuddyCase{"99999999999", 10}));

TEST_F(ControlTest, RejectedTextFallsBackToTheLastAcceptedNotTheFirstPosition) {
  edit->SetText("300");
  EXPECT_EQ(spin->GetPos(), 300);
  edit->SetText("9000");
  EXPECT_EQ(spin->GetPos(), 300);
}

TEST_F(ControlTest, SetPosClampsToTheRangeAndWritesTheBuddy) {
  spin->SetPos(20000);
  EXPECT_EQ(spin->StoredPosition(), 8000);
  EXPECT_EQ(edit->Text(), "8000");
  spin->SetPos(-3);
  EXPECT_EQ(edit->Text(), "1");
}

TEST_F(ControlTest, NarrowedRangeKeepsThePositionUntilTheNextSet) {
  spin->SetRange(100, 200);
  EXPECT_EQ(spin->StoredPosition(), 10);
  edit->SetText("10");
  EXPECT_EQ(spin->GetPos(), 10);  // 10 is outside the new range: the old position stays
  edit->SetText("150");
  EXPECT_EQ(spin->GetPos(), 150);
}

TEST_F(ControlTest, ItemDataAndIndexAreDistinct) {
  ASSERT_EQ(combo->ItemCount(), 3);
  EXPECT_EQ(combo->Selection(), 0);
  EXPECT_EQ(combo->ItemData(1), 5);
  EXPECT_EQ(combo->FindItemData(7), 2);
  EXPECT_EQ(combo->FindItemData(2), -1);  // index 2 exists, data 2 does not
  EXPECT_EQ(combo->FindItemData(0), 0);
  EXPECT_FALSE(combo->ItemData(3).has_value());
  EXPECT_FALSE(combo->ItemText(-1).has_value());
}

TEST_F(ControlTest, SelectionOutsideTheItemsIsRefusedAndKeepsTheOldOne) {
  EXPECT_TRUE(combo->SetSelection(2));
  EXPECT_FALSE(combo->SetSelection(3));
  EXPECT_FALSE(combo->SetSelection(-2));
  EXPECT_EQ(combo->Selection(), 2);
  EXPECT_TRUE(combo->SetSelection(-1));
  EXPECT_EQ(combo->Selection(), -1);
}

TEST_F(ControlTest, SelectionFollowsItsItemWhenItemsMove) {
  combo->SetSelection(1);
  combo->InsertItem(0, "First", 9);
  EXPECT_EQ(combo->Selection(), 2);
  EXPECT_EQ(*combo->ItemText(2), "Timed");
  combo->DeleteItem(0);
  EXPECT_EQ(combo->Selection(), 1);
  combo->DeleteItem(1);
  EXPECT_EQ(combo->Selection(), -1);
  combo->ClearItems();
  EXPECT_EQ(combo->ItemCount(), 0);
}

TEST_F(ControlTest, UserDataWordStartsAtZero) {
  EXPECT_EQ(edit->UserData(), 0);
  edit->SetUserData(1339);
  EXPECT_EQ(edit->UserData(), 1339);
}

TEST_F(ControlTest, ClassNamesAndKindsMatchTheirTemplates) {
  EXPECT_STREQ(edit->ClassName(), "Edit");
  EXPECT_EQ(edit->Kind(), ui::WidgetKind::EditBox);
  EXPECT_EQ(spin->Kind(), ui::WidgetKind::SpinBox);
  EXPECT_EQ(combo->Kind(), ui::WidgetKind::DropList);
  EXPECT_EQ(page.GetControl(2540)->Kind(), ui::WidgetKind::CheckBox);
  EXPECT_EQ(page.GetControl(2540)->Style() & 0xF, 3u);
  EXPECT_EQ(page.GetControl(2541)->Style() & 0xF, 2u);
  EXPECT_EQ(page.GetControl(1432)->Kind(), ui::WidgetKind::PushButton);
  EXPECT_EQ(page.GetControl(3001)->Kind(), ui::WidgetKind::RadioButton);
  EXPECT_EQ(page.GetControl(3040)->Kind(), ui::WidgetKind::OtherButton);
  EXPECT_EQ(page.GetControl(3020)->Kind(), ui::WidgetKind::NoWidget);
  EXPECT_EQ(page.GetControl(-1), nullptr);
}

TEST_F(ControlTest, RadioGroupRunsToTheNextGroupStart) {
  const std::vector<ui::Control*> group = page.GroupMembers(*page.GetControl(3002));
  ASSERT_EQ(group.size(), 3u);
  EXPECT_EQ(group[0]->Id(), 3001);
  EXPECT_EQ(group[2]->Id(), 3003);
}

TEST_F(ControlTest, ProgrammaticChangesReachObserversButNeverTheHandler) {
  Recorder recorder;
  page.SetEventHandler(recorder.Handler());
  struct Counter : ui::WindowObserver {
    int changes = 0;
    void OnChange(const ui::ChangeNotice&) override { ++changes; }
  } counter;
  windows.AddObserver(counter);

  edit->SetText("77");
  spin->SetPos(5);
  spin->SetRange(2, 9);
  combo->SetSelection(2);
  combo->AddItem("More", 3);
  page.GetControl(2540)->SetCheck(1);
  page.GetControl(3001)->SetCheck(1);
  edit->Enable(false);
  edit->Show(false);
  edit->SetUserData(4);
  page.GetControl(1432)->SetText("Got");

  EXPECT_TRUE(recorder.events.empty());
  EXPECT_GE(counter.changes, 11);
  windows.RemoveObserver(counter);
}

TEST_F(ControlTest, UnchangedValuesAreNotReportedAgain) {
  struct Counter : ui::WindowObserver {
    int changes = 0;
    void OnChange(const ui::ChangeNotice&) override { ++changes; }
  } counter;
  windows.AddObserver(counter);
  edit->SetText(edit->Text());
  combo->SetSelection(combo->Selection());
  edit->Enable(true);
  EXPECT_EQ(counter.changes, 0);
  windows.RemoveObserver(counter);
}

}  // namespace
}  // namespace qx::test
