// A main window with a menu, a tab control hosting child pages and a status strip.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

#include "QtFixture.h"
#include "qt/ControlWidgets.h"

namespace qx::test {
namespace {

class QtMainWindowTest : public QtUiTest {
 protected:
  void OpenWithPages() {
    window.SetInitHandler([this] {
      ASSERT_TRUE(pageA.Create(953, &window));
      ASSERT_TRUE(pageB.Create(954, &window));
      ui::Control* tab = window.GetControl(1244);
      tab->AddItem("User A", 0);
      tab->AddItem("User B", 1);
      tab->SetSelection(0);
      pageA.Show(true);
    });
    window.SetEventHandler([this](ui::Event& event) {
      events.push_back(event);
      if (event.type == ui::EventType::Notify && event.code == ui::notify::kTabSelectionChanged) {
        const int page = event.control->Selection();
        pageA.Show(page == 0);
        pageB.Show(page == 1);
      }
      return true;
    });
    Open(952);
  }

  QTabBar* Bar() { return static_cast<qt::TabHost*>(WidgetOf(1244))->Bar(); }
  QWidget* PageWidget(ui::Window& page) { return frontEnd.GetRenderer().WidgetOf(page); }

  ui::Window pageA{windows};
  ui::Window pageB{windows};
};

TEST_F(QtMainWindowTest, Pages_LiveInsideTheTabControlAndFollowTheirShownState) {
  OpenWithPages();
  ASSERT_EQ(Bar()->count(), 2);
  EXPECT_EQ(Bar()->tabText(1), "User B");
  EXPECT_TRUE(WidgetOf(1244)->isAncestorOf(PageWidget(pageA)));
  EXPECT_TRUE(PageWidget(pageA)->isVisible());
  EXPECT_FALSE(PageWidget(pageB)->isVisible());
}

TEST_F(QtMainWindowTest, ClickingATab_DeliversOneTabChangeAndShowsThatPage) {
  OpenWithPages();
  events.clear();

  ClickAt(Bar(), Bar()->tabRect(1).center());

  const std::vector<ui::Event> notifies = EventsOfType(ui::EventType::Notify);
  ASSERT_EQ(notifies.size(), 1u);
  EXPECT_EQ(notifies[0].id, 1244);
  EXPECT_EQ(notifies[0].code, ui::notify::kTabSelectionChanged);
  EXPECT_EQ(window.GetControl(1244)->Selection(), 1);
  EXPECT_TRUE(PageWidget(pageB)->isVisible());
  EXPECT_FALSE(PageWidget(pageA)->isVisible());
}

TEST_F(QtMainWindowTest, ClickingATabWhileEditingAPage_CommitsTheEditBeforeTheTabChanges) {
  OpenWithPages();
  pageA.SetEventHandler([this](ui::Event& event) {
    events.push_back(event);
    return true;
  });
  QWidget* edit = frontEnd.GetRenderer().WidgetOf(*pageA.GetControl(6001));
  edit->setFocus();
  TypeKeys(edit, "5");
  events.clear();

  ClickAt(Bar(), Bar()->tabRect(1).center());

  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].id, 6001);
  EXPECT_EQ(events[0].code, ui::notify::kEditLostFocus);
  EXPECT_EQ(events[1].code, ui::notify::kTabSelectionChanged);
  EXPECT_EQ(pageA.GetControl(6001)->Text(), "15");
}

TEST_F(QtMainWindowTest, TabSelectedByTheProgram_MovesTheBarWithoutNotification) {
  OpenWithPages();
  events.clear();
  window.GetControl(1244)->SetSelection(1);
  EXPECT_EQ(Bar()->currentIndex(), 1);
  EXPECT_TRUE(events.empty());
}

TEST_F(QtMainWindowTest, Menu_DeliversCommandsAndShowsGreyedEntries) {
  OpenWithPages();
  QMenuBar* bar = frontEnd.GetRenderer().ViewOf(window)->MenuBar();
  ASSERT_NE(bar, nullptr);
  const QList<QAction*> top = bar->actions();
  ASSERT_EQ(top.size(), 2);
  EXPECT_EQ(top[0]->text(), "&File");
  EXPECT_FALSE(top[1]->isEnabled()) << "the Tools popup is greyed in the template";
  QAction* open = top[0]->menu()->actions().at(0);
  events.clear();

  open->trigger();

  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].type, ui::EventType::Command);
  EXPECT_EQ(events[0].id, 40001);
  EXPECT_EQ(events[0].control, nullptr);

  window.SetMenuItemGrayed(40001, true);
  EXPECT_FALSE(open->isEnabled());
  window.SetMenuPopupGrayed(1, false);
  EXPECT_TRUE(top[1]->isEnabled());
}

TEST_F(QtMainWindowTest, StatusStrip_ShowsItsBitmapAcrossTheStrip) {
  OpenWithPages();
  const QImage red = WidgetOf(1161)->grab().toImage();
  EXPECT_EQ(QColor(red.pixel(red.width() / 2, red.height() / 2)), QColor(255, 0, 0));
  window.GetControl(1161)->SetImage(resources.FindImage(303));
  const QImage green = WidgetOf(1161)->grab().toImage();
  EXPECT_EQ(QColor(green.pixel(green.width() - 2, 1)), QColor(0, 128, 0));
}

TEST_F(QtMainWindowTest, DestroyingTheMainWindow_TakesItsPagesAlong) {
  OpenWithPages();
  window.Destroy();
  EXPECT_EQ(PageWidget(pageA), nullptr);
  EXPECT_EQ(PageWidget(pageB), nullptr);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // A page created again lands in a fresh window.
  OpenWithPages();
  EXPECT_TRUE(PageWidget(pageA)->isVisible());
}

}  // namespace
}  // namespace qx::test
