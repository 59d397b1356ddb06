// Operator input on the Qt widgets reaches the window's handler as the notifications the
// window system defines, exactly once, with the values the operator gave.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include "QtFixture.h"
#include "qt/ControlWidgets.h"

namespace qx::test {
namespace {

using ui::EventType;

TEST_F(QtUiTest, TypingThenEnter_DeliversOneEnterKeyDownWithTheTypedTextInTheEdit) {
  Open(950);
  QLineEdit* edit = As<QLineEdit>(1400);
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  TypeKeys(edit, "xy7");
  EXPECT_EQ(window.GetControl(1400)->Text(), "xy7");
  events.clear();

  PressKey(edit, Qt::Key_Return);

  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, EventType::KeyDown);
  EXPECT_EQ(events[0].key, ui::vk::kEnter);
  EXPECT_EQ(events[0].id, 1400);
  EXPECT_EQ(events[0].control, window.GetControl(1400));
  EXPECT_FALSE(events[0].shift);
  EXPECT_FALSE(events[0].ctrl);
}

TEST_F(QtUiTest, LeavingAnEditForAButton_CommitsTheEditOnceThenClicks) {
  Open(950);
  QLineEdit* edit = As<QLineEdit>(1400);
  edit->setFocus();
  edit->selectAll();
  TypeKeys(edit, "42");
  events.clear();

  Click(As<QPushButton>(1432));

  const std::vector<ui::Event> commands = EventsOfType(EventType::Command);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].id, 1400);
  EXPECT_EQ(commands[0].code, ui::notify::kEditLostFocus);
  EXPECT_EQ(commands[1].id, 1432);
  EXPECT_EQ(commands[1].code, ui::notify::kClicked);
  EXPECT_EQ(window.GetControl(1400)->Text(), "42");
}

TEST_F(QtUiTest, TabKeyLeavingAnEdit_CommitsItOnce) {
  Open(950);
  QLineEdit* edit = As<QLineEdit>(1400);
  edit->setFocus();
  events.clear();

  PressKey(edit, Qt::Key_Tab);

  const std::vector<ui::Event> commands = EventsOfType(EventType::Command);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].id, 1400);
  EXPECT_EQ(commands[0].code, ui::notify::kEditLostFocus);
  EXPECT_FALSE(edit->hasFocus());
}

TEST_F(QtUiTest, PickingAComboItem_DeliversOneSelectionChangeWithTheNewSelection) {
  Open(950);
  auto* combo = As<QComboBox>(1337);
  ASSERT_NE(combo, nullptr);
  Click(combo);
  ASSERT_TRUE(WaitUntil([combo] { return combo->view()->isVisible(); }));
  EXPECT_TRUE(window.GetControl(1337)->IsDroppedDown());
  events.clear();

  // In the open list: two rows down, then Enter takes the highlighted item.
  QAbstractItemView* list = combo->view();
  PressKey(list, Qt::Key_Down);
  PressKey(list, Qt::Key_Down);
  const std::vector<ui::Event> keys = EventsOfType(EventType::KeyDown);
  ASSERT_EQ(keys.size(), 2u) << "keys in the open list are key-downs on the list";
  EXPECT_EQ(keys[0].id, 1337);
  EXPECT_EQ(keys[0].key, 40);
  PressKey(list, Qt::Key_Return);
  ASSERT_TRUE(WaitUntil([combo] { return !combo->view()->isVisible(); }));

  const std::vector<ui::Event> commands = EventsOfType(EventType::Command);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].id, 1337);
  EXPECT_EQ(commands[0].code, ui::notify::kSelectionChanged);
  EXPECT_EQ(window.GetControl(1337)->Selection(), 2);
  EXPECT_FALSE(window.GetControl(1337)->IsDroppedDown());
  EXPECT_EQ(combo->currentIndex(), 2);
}

TEST_F(QtUiTest, ClickingAnAutomaticCheckBox_TogglesItAndDeliversOneClick) {
  Open(950);
  auto* box = As<QCheckBox>(2540);
  events.clear();

  Click(box);

  const std::vector<ui::Event> commands = EventsFor(2540);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].type, EventType::Command);
  EXPECT_EQ(commands[0].code, ui::notify::kClicked);
  EXPECT_EQ(window.GetControl(2540)->CheckState(), 1);
  EXPECT_TRUE(box->isChecked());
}

TEST_F(QtUiTest, ClickingAPlainCheckBox_LeavesTheCheckToTheWindow) {
  Open(950);
  auto* box = As<QCheckBox>(2541);
  events.clear();

  Click(box);

  ASSERT_EQ(EventsFor(2541).size(), 1u);
  EXPECT_EQ(window.GetControl(2541)->CheckState(), 0);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(QtUiTest, ClickingAnAutomaticRadioButton_ChecksItAndClearsTheRestOfItsGroup) {
  Open(950);
  window.GetControl(3001)->SetCheck(1);
  events.clear();

  Click(As<QRadioButton>(3002));

  ASSERT_EQ(EventsFor(3002).size(), 1u);
  EXPECT_TRUE(EventsFor(3001).empty());
  EXPECT_EQ(window.GetControl(3001)->CheckState(), 0);
  EXPECT_EQ(window.GetControl(3002)->CheckState(), 1);
  EXPECT_FALSE(As<QRadioButton>(3001)->isChecked());
  EXPECT_TRUE(As<QRadioButton>(3002)->isChecked());
}

TEST_F(QtUiTest, PressingTheUpArrow_DeliversOneDeltaWithThePositionThenStepsTheEdit) {
  Open(950);
  auto* spin = qobject_cast<qt::SpinEdit*>(WidgetOf(1338));
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(WidgetOf(1339), spin) << "the edit and its up-down share one spin widget";
  EXPECT_EQ(spin->Editor()->text(), "10");
  events.clear();

  QStyleOptionSpinBox option;
  option.initFrom(spin);
  option.subControls = QStyle::SC_All;
  option.buttonSymbols = spin->buttonSymbols();
  option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
  option.frame = true;
  const QRect up =
      spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spin);
  ASSERT_TRUE(up.isValid());
  ClickAt(spin, up.center());

  const std::vector<ui::Event> notifies = EventsOfType(EventType::Notify);
  ASSERT_EQ(notifies.size(), 1u);
  EXPECT_EQ(notifies[0].id, 1339);
  EXPECT_EQ(notifies[0].code, ui::notify::kUpDownDelta);
  EXPECT_EQ(notifies[0].position, 10);
  EXPECT_EQ(notifies[0].delta, 1);
  EXPECT_EQ(window.GetControl(1339)->StoredPosition(), 11);
  EXPECT_EQ(spin->Editor()->text(), "11");
  EXPECT_TRUE(EventsOfType(EventType::Command).empty());
}

TEST_F(QtUiTest, ArrowKeyInASpinEdit_StepsDownThroughTheUpDown) {
  Open(950);
  QWidget* spin = WidgetOf(1338);
  spin->setFocus();
  events.clear();

  PressKey(spin, Qt::Key_Down);

  const std::vector<ui::Event> notifies = EventsOfType(EventType::Notify);
  ASSERT_EQ(notifies.size(), 1u);
  EXPECT_EQ(notifies[0].delta, -1);
  EXPECT_EQ(window.GetControl(1339)->StoredPosition(), 9);
}

TEST_F(QtUiTest, TypedTextOutsideTheRange_IsKeptInTheEditAndTheUpDownKeepsItsPosition) {
  Open(950);
  auto* spin = qobject_cast<qt::SpinEdit*>(WidgetOf(1338));
  spin->setFocus();
  spin->Editor()->selectAll();
  TypeKeys(spin, "99999");

  EXPECT_EQ(window.GetControl(1338)->Text(), "99999");
  EXPECT_EQ(spin->Editor()->text(), "99999");
  EXPECT_EQ(window.GetControl(1339)->GetPos(), 10);

  // Leaving the field neither corrects nor restores the text: that is the window's decision.
  events.clear();
  PressKey(spin, Qt::Key_Tab);
  const std::vector<ui::Event> commands = EventsOfType(EventType::Command);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].id, 1338);
  EXPECT_EQ(commands[0].code, ui::notify::kEditLostFocus);
  EXPECT_EQ(spin->Editor()->text(), "99999");
  EXPECT_EQ(window.GetControl(1338)->Text(), "99999");
}

TEST_F(QtUiTest, ChoosingAListBoxRow_DeliversOneSelectionChange) {
  Open(950);
  auto* list = As<QListWidget>(3020);
  events.clear();

  ClickAt(list->viewport(), list->visualItemRect(list->item(1)).center());

  const std::vector<ui::Event> commands = EventsFor(3020);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].type, EventType::Command);
  EXPECT_EQ(commands[0].code, ui::notify::kSelectionChanged);
  EXPECT_EQ(window.GetControl(3020)->Selection(), 1);
}

TEST_F(QtUiTest, EscapeWithNobodyTakingIt_CancelsAndHidesTheWindow) {
  handle = false;
  Open(951);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  WidgetOf(5001)->setFocus();

  PressKey(WidgetOf(5001), Qt::Key_Escape);

  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].type, EventType::KeyDown);
  EXPECT_EQ(events[0].key, ui::vk::kEscape);
  EXPECT_EQ(events[1].type, EventType::Command);
  EXPECT_EQ(events[1].id, ui::kIdCancel);
  EXPECT_FALSE(window.IsVisible());
  EXPECT_FALSE(frame->isVisible());
}

TEST_F(QtUiTest, ModifiersAndPlainKeys_ReachTheKeyHandlingWithVirtualKeyCodes) {
  Open(951);
  WidgetOf(5001)->setFocus();
  events.clear();

  PressKey(WidgetOf(5001), Qt::Key_F12, Qt::ShiftModifier | Qt::ControlModifier);
  PressKey(WidgetOf(5001), Qt::Key_Shift, Qt::ShiftModifier);
  PressKey(WidgetOf(5001), Qt::Key_Q, {}, "q");
  PressKey(WidgetOf(5001), Qt::Key_F, Qt::AltModifier);  // the menu bar's, not a key-down

  ASSERT_EQ(events.size(), 3u) << "the first extra event has type "
                               << static_cast<int>(events.back().type) << " id " << events.back().id
                               << " code " << events.back().code;
  EXPECT_EQ(events[0].key, ui::vk::kF12);
  EXPECT_TRUE(events[0].shift);
  EXPECT_TRUE(events[0].ctrl);
  EXPECT_EQ(events[1].key, ui::vk::kShift);
  EXPECT_TRUE(events[1].shift);
  EXPECT_EQ(events[2].key, 'Q');
  EXPECT_FALSE(events[2].shift);
  EXPECT_EQ(window.GetControl(5001)->Text(), "q") << "other keys still type";
}

TEST_F(QtUiTest, CloseBox_AsksTheWindowInsteadOfClosing) {
  Open(951);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  events.clear();

  frame->close();

  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, ui::kIdCancel);
  EXPECT_TRUE(frame->isVisible()) << "the handler took the Cancel and kept the window";
}

TEST_F(QtUiTest, DisabledWindow_TakesNoInputUntilEnabledAgain) {
  Open(950);
  QLineEdit* edit = As<QLineEdit>(1400);
  edit->setFocus();
  window.Enable(false);
  events.clear();

  Click(As<QPushButton>(1432));
  TypeKeys(edit, "zz");
  Click(As<QCheckBox>(2540));

  EXPECT_TRUE(events.empty());
  EXPECT_EQ(edit->text(), "abc");
  EXPECT_FALSE(As<QCheckBox>(2540)->isChecked());

  window.Enable(true);
  Click(As<QPushButton>(1432));
  EXPECT_EQ(EventsFor(1432).size(), 1u);
}

TEST_F(QtUiTest, PlotSurface_PaintsThroughTheHandlerAndReportsThePointer) {
  Open(951);
  ui::Control* plot = window.GetControl(3030);
  int paints = 0;
  plot->SetPaintHandler([&](ui::Painter& painter) {
    ++paints;
    painter.FillRect(ui::Rect{0, 0, 50, 50}, ui::Color{200, 0, 0, 255});
    painter.SetPen(ui::Color{0, 0, 255, 255}, 1);
    painter.MoveTo(ui::Point{0, 100});
    painter.LineTo(ui::Point{199, 100});
  });
  std::vector<ui::MouseEvent> mouse;
  plot->SetMouseHandler([&](const ui::MouseEvent& event) { mouse.push_back(event); });

  const QImage image = WidgetOf(3030)->grab().toImage();
  EXPECT_GE(paints, 1);
  EXPECT_EQ(QColor(image.pixel(10, 10)), QColor(200, 0, 0));
  EXPECT_EQ(QColor(image.pixel(120, 100)), QColor(0, 0, 255));

  ClickAt(WidgetOf(3030), QPoint(30, 40), Qt::RightButton);
  ASSERT_GE(mouse.size(), 2u);
  EXPECT_EQ(mouse[0].type, ui::MouseEvent::Type::Press);
  EXPECT_EQ(mouse[0].position, (ui::Point{30, 40}));
  EXPECT_TRUE(mouse[0].right);
  EXPECT_FALSE(mouse[0].left);
  EXPECT_EQ(mouse.back().type, ui::MouseEvent::Type::Release);
}

}  // namespace
}  // namespace qx::test

namespace qx::test {
namespace {

TEST_F(QtUiTest, KeyWithNoControlFocused_ReachesTheWindowOnce) {
  resources.AddFile("plain.qxr", R"(dialog 961 caption "Plain" size 200 60
  text "Nothing here takes the focus" at 10 10 180 20
end
)");
  handle = false;
  Open(961);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  frame->setFocus();
  events.clear();

  PressKey(frame, Qt::Key_B);
  PressKey(frame, Qt::Key_Return);

  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].type, EventType::KeyDown);
  EXPECT_EQ(events[0].key, 'B');
  EXPECT_EQ(events[0].control, nullptr);
  EXPECT_EQ(events[0].id, 0);
  EXPECT_EQ(events[1].key, ui::vk::kEnter);
  // Unhandled Enter is the window's OK.
  EXPECT_EQ(events[2].type, EventType::Command);
  EXPECT_EQ(events[2].id, ui::kIdOk);
}

TEST_F(QtUiTest, KeyInAPage_ReachesThePageOnceNotItsHost) {
  ui::Window page(windows);
  std::vector<ui::Event> pageEvents;
  page.SetEventHandler([&](ui::Event& event) {
    pageEvents.push_back(event);
    return true;
  });
  window.SetInitHandler([&] { ASSERT_TRUE(page.Create(953, &window)); });
  Open(952);
  page.Show(true);
  QWidget* edit = frontEnd.GetRenderer().WidgetOf(*page.GetControl(6001));
  edit->setFocus();
  events.clear();

  PressKey(edit, Qt::Key_F5);

  ASSERT_EQ(pageEvents.size(), 1u);
  EXPECT_EQ(pageEvents[0].key, ui::vk::kF1 + 4);
  EXPECT_EQ(pageEvents[0].id, 6001);
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace qx::test
