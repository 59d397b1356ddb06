// Changes the program makes to windows and controls show in the widgets at once and never come
// back to the window as operator notifications.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include "QtFixture.h"
#include "qt/ControlWidgets.h"

namespace qx::test {
namespace {

TEST_F(QtUiTest, ProgrammaticChanges_UpdateTheWidgetsWithoutAnyNotification) {
  Open(950);
  events.clear();

  window.GetControl(1400)->SetText("from the camera");
  window.GetControl(1337)->SetSelection(1);
  window.GetControl(2540)->SetCheck(1);
  window.GetControl(1339)->SetPos(123);
  window.GetControl(3020)->AddItem("four");
  window.GetControl(3020)->SetSelection(3);
  window.GetControl(1432)->SetText("Read");
  window.GetControl(1432)->Enable(false);
  window.GetControl(2541)->Show(false);

  EXPECT_EQ(As<QLineEdit>(1400)->text(), "from the camera");
  EXPECT_EQ(As<QComboBox>(1337)->currentIndex(), 1);
  EXPECT_TRUE(As<QCheckBox>(2540)->isChecked());
  EXPECT_EQ(qobject_cast<qt::SpinEdit*>(WidgetOf(1338))->Editor()->text(), "123");
  EXPECT_EQ(As<QListWidget>(3020)->count(), 4);
  EXPECT_EQ(As<QListWidget>(3020)->currentRow(), 3);
  EXPECT_EQ(As<QPushButton>(1432)->text(), "Read");
  EXPECT_FALSE(As<QPushButton>(1432)->isEnabled());
  EXPECT_TRUE(As<QCheckBox>(2541)->isHidden());
  EXPECT_TRUE(events.empty());
}

TEST_F(QtUiTest, ReplacedListItems_ShowTheNewItemsAndClearedSelection) {
  Open(950);
  ui::Control* combo = window.GetControl(1337);
  combo->ClearItems();
  combo->AddItem("37.1MHz", 0);
  combo->AddItem("74.3MHz", 1);

  auto* widget = As<QComboBox>(1337);
  ASSERT_EQ(widget->count(), 2);
  EXPECT_EQ(widget->itemText(1), "74.3MHz");
  EXPECT_EQ(widget->currentIndex(), -1);
  EXPECT_TRUE(events.empty());
}

TEST_F(QtUiTest, DisablingTheUpDownOfAPair_GreysTheArrowsButKeepsTheEdit) {
  Open(950);
  window.GetControl(1339)->Enable(false);

  auto* spin = qobject_cast<qt::SpinEdit*>(WidgetOf(1338));
  EXPECT_TRUE(spin->isEnabled());
  spin->setFocus();
  events.clear();
  PressKey(spin, Qt::Key_Up);
  EXPECT_TRUE(EventsOfType(ui::EventType::Notify).empty());
  EXPECT_EQ(window.GetControl(1339)->StoredPosition(), 10);
}

TEST_F(QtUiTest, FocusSetByTheWindow_MovesTheKeyboardFocus) {
  Open(950);
  window.SetFocus(1400);
  EXPECT_TRUE(WaitUntil([this] { return WidgetOf(1400)->hasFocus(); }));
  EXPECT_TRUE(EventsOfType(ui::EventType::Command).empty());
}

TEST_F(QtUiTest, WindowState_FollowsTitleEnableAndVisibility) {
  Open(951);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  window.SetTitle("Plot of red");
  EXPECT_EQ(frame->windowTitle(), "Plot of red");
  window.Enable(false);
  EXPECT_TRUE(WidgetOf(5001)->isEnabled()) << "a disabled window keeps its look";
  window.Enable(true);
  window.Show(false);
  EXPECT_FALSE(frame->isVisible());
  window.Destroy();
  EXPECT_EQ(frontEnd.GetRenderer().WidgetOf(window), nullptr);
  EXPECT_TRUE(events.empty());
}

TEST_F(QtUiTest, RowTemplates_GetCaptionedGroupsWithTheirLabelsInOneColumn) {
  Open(950);
  auto* group = qobject_cast<QGroupBox*>(WidgetOf(1338)->parentWidget());
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), "Settings");
  // Every input of the group starts at the same x, right of the longest caption.
  const int x = WidgetOf(1338)->x();
  EXPECT_EQ(WidgetOf(1337)->x(), x);
  EXPECT_EQ(WidgetOf(1400)->x(), x);
  for (QLabel* label : group->findChildren<QLabel*>()) {
    EXPECT_LT(label->geometry().right(), x) << label->text().toStdString();
    EXPECT_GE(label->width(), label->sizeHint().width())
        << "clipped: " << label->text().toStdString();
  }
}

TEST_F(QtUiTest, CoordinateTemplates_KeepTheirRectanglesAndClientSize) {
  Open(951);
  EXPECT_EQ(WidgetOf(3030)->geometry(), QRect(10, 10, 200, 150));
  EXPECT_EQ(WidgetOf(1)->geometry(), QRect(220, 140, 70, 24));
  QWidget* client = frontEnd.GetRenderer().ViewOf(window)->Content();
  EXPECT_EQ(client->size(), QSize(300, 200));
  // A drop-down list shows its closed box in its rectangle, whatever its items.
  EXPECT_EQ(WidgetOf(5002)->width(), 70);
  EXPECT_LT(WidgetOf(5002)->height(), 120);
  window.GetControl(5002)->AddItem("an item much longer than the list is wide");
  EXPECT_EQ(WidgetOf(5002)->geometry().topLeft(), QPoint(220, 40));
  EXPECT_EQ(WidgetOf(5002)->width(), 70);
}

TEST_F(QtUiTest, TabKey_MovesThroughTheControlsInTemplateOrder) {
  Open(950);
  WidgetOf(1338)->setFocus();
  ASSERT_TRUE(WaitUntil([this] { return WidgetOf(1338)->hasFocus(); }));
  PressKey(WidgetOf(1338), Qt::Key_Tab);
  EXPECT_TRUE(WidgetOf(1337)->hasFocus());
  PressKey(WidgetOf(1337), Qt::Key_Tab);
  EXPECT_TRUE(WidgetOf(1400)->hasFocus());
  PressKey(WidgetOf(1400), Qt::Key_Tab);
  EXPECT_TRUE(WidgetOf(2540)->hasFocus());
}

}  // namespace
}  // namespace qx::test

namespace qx::test {
namespace {

TEST_F(QtUiTest, ListEditedItemByItem_ShowsTheSameItemsAsTheModel) {
  Open(950);
  ui::Control* list = window.GetControl(3020);
  auto* widget = As<QListWidget>(3020);
  // A log: newest entry on top, the oldest dropped once the list is full.
  for (int i = 0; i < 20; ++i) {
    list->InsertItem(0, "entry " + std::to_string(i));
    if (list->ItemCount() > 8) list->DeleteItem(list->ItemCount() - 1);
  }
  list->SetItemData(2, 7);
  list->SetSelection(1);

  ASSERT_EQ(widget->count(), list->ItemCount());
  for (int i = 0; i < list->ItemCount(); ++i) {
    EXPECT_EQ(widget->item(i)->text().toStdString(), *list->ItemText(i)) << "item " << i;
  }
  EXPECT_EQ(widget->item(0)->text(), "entry 19");
  EXPECT_EQ(widget->currentRow(), 1);
  EXPECT_TRUE(events.empty());
}

TEST_F(QtUiTest, ComboItemInsertedBeforeTheSelection_KeepsTheSameItemSelected) {
  Open(950);
  ui::Control* combo = window.GetControl(1337);
  combo->SetSelection(1);  // "Timed"
  combo->InsertItem(0, "Auto", 9);

  auto* widget = As<QComboBox>(1337);
  EXPECT_EQ(widget->count(), 4);
  EXPECT_EQ(widget->currentText(), "Timed");
  EXPECT_EQ(widget->currentIndex(), combo->Selection());
  combo->DeleteItem(2);
  EXPECT_EQ(widget->count(), 3);
  EXPECT_EQ(widget->currentIndex(), -1);
  EXPECT_TRUE(events.empty());
}

class QtResizableTest : public QtUiTest {
 protected:
  QtResizableTest() {
    frontEnd.GetRenderer().SetResizePolicy(
        [](const ui::Window& w) { return w.TemplateId() == 951; });
  }
};

TEST_F(QtResizableTest, OperatorResize_TellsTheWindowItsNewClientSize) {
  Open(951);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  events.clear();

  frame->resize(frame->width() + 100, frame->height() + 40);

  const std::vector<ui::Event> resized = EventsOfType(ui::EventType::Resized);
  ASSERT_EQ(resized.size(), 1u);
  EXPECT_EQ(resized[0].width, 400);
  EXPECT_EQ(resized[0].height, 240);
  EXPECT_EQ(window.Geometry().width, 400);
  EXPECT_EQ(window.Geometry().height, 240);
}

TEST_F(QtResizableTest, ControlsMovedByTheHandler_FollowAtOnce) {
  Open(951);
  window.SetEventHandler([this](ui::Event& event) {
    if (event.type == ui::EventType::Resized) {
      window.GetControl(3030)->Move(ui::Rect{10, 10, event.width - 100, event.height - 50});
    }
    return true;
  });
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  frame->resize(frame->width() + 60, frame->height());
  EXPECT_EQ(WidgetOf(3030)->geometry(), QRect(10, 10, 260, 150));
}

TEST_F(QtResizableTest, SizeSetByTheProgram_ResizesWithoutNotification) {
  Open(951);
  events.clear();
  ui::Rect rect = window.Geometry();
  rect.width = 500;
  window.Move(rect);
  EXPECT_EQ(frontEnd.GetRenderer().ViewOf(window)->Content()->width(), 500);
  EXPECT_TRUE(events.empty());
}

TEST_F(QtUiTest, WindowWithoutResizePolicy_KeepsItsTemplateSize) {
  Open(951);
  QWidget* frame = frontEnd.GetRenderer().WidgetOf(window);
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
  ui::Rect rect = window.Geometry();
  rect.height = 260;
  window.Move(rect);
  EXPECT_EQ(frontEnd.GetRenderer().ViewOf(window)->Content()->height(), 260);
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace qx::test

namespace qx::test {
namespace {

TEST(QtRendererStart, WindowsThatExistAlready_AreMirroredWithTheirPages) {
  ui::ResourceRegistry resources;
  resources.AddFile("qt-test.qxr", kQtTestResources);
  ui::WindowSystem windows{resources};
  ui::Window main{windows};
  ui::Window page{windows};
  ASSERT_TRUE(main.Create(952));
  ASSERT_TRUE(page.Create(953, &main));
  page.Show(true);

  qt::Renderer renderer{windows};

  ASSERT_NE(renderer.WidgetOf(main), nullptr);
  ASSERT_NE(renderer.WidgetOf(page), nullptr);
  EXPECT_TRUE(renderer.WidgetOf(*main.GetControl(1244))->isAncestorOf(renderer.WidgetOf(page)));
}

TEST_F(QtUiTest, ProgressBar_FollowsRangeAndPosition) {
  resources.AddFile("progress.qxr", R"(dialog 960 caption "" size 300 70
  progress 1013 at 12 12 276 16 range 0 100
  text 1015 "" at 12 38 276 20
end
)");
  Open(960);
  window.GetControl(1013)->SetRange(0, 40);
  window.GetControl(1013)->SetPos(10);
  window.GetControl(1015)->SetText("Reading all settings");
  auto* bar = As<QProgressBar>(1013);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->maximum(), 40);
  EXPECT_EQ(bar->value(), 10);
  EXPECT_EQ(As<QLabel>(1015)->text(), "Reading all settings");
}

}  // namespace
}  // namespace qx::test
