#include "ui/WindowObserver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiFixture.h"
#include "ui/OperatorInput.h"

namespace qx::test {
namespace {

// What a front-end mirroring the windows would hear.
struct Mirror : ui::WindowObserver {
  std::vector<std::string> heard;
  void OnChange(const ui::ChangeNotice& n) override {
    std::string entry = std::to_string(static_cast<int>(n.what));
    if (n.control != nullptr) entry += "@" + std::to_string(n.control->Id());
    if (n.index >= 0) entry += "#" + std::to_string(n.index);
    heard.push_back(entry);
  }
  bool Heard(ui::Change what, int id = 0, int index = -1) const {
    std::string entry = std::to_string(static_cast<int>(what));
    if (id != 0) entry += "@" + std::to_string(id);
    if (index >= 0) entry += "#" + std::to_string(index);
    for (const std::string& h : heard) {
      if (h == entry) return true;
    }
    return false;
  }
};

class WindowObserverTest : public UiTest {
 protected:
  WindowObserverTest() { windows.AddObserver(mirror); }
  ~WindowObserverTest() override { windows.RemoveObserver(mirror); }
  Mirror mirror;
};

TEST_F(WindowObserverTest, LifecycleIsReportedInOrder) {
  ui::Window main{windows};
  bool createdBeforeInit = false;
  main.SetInitHandler([&] { createdBeforeInit = mirror.Heard(ui::Change::WindowCreated); });
  ASSERT_TRUE(main.Create(900));
  EXPECT_TRUE(createdBeforeInit);
  main.Show(true);
  main.SetTitle("New");
  main.Enable(false);
  main.Move(ui::Rect{1, 2, 3, 4});
  main.SetMenuPopupGrayed(0, true);
  main.Destroy();
  const std::vector<ui::Change> expected = {ui::Change::WindowCreated,  ui::Change::Visibility,
                                            ui::Change::Title,          ui::Change::Enabled,
                                            ui::Change::Geometry,       ui::Change::Menu,
                                            ui::Change::WindowDestroyed};
  std::vector<std::string> want;
  for (ui::Change c : expected) want.push_back(std::to_string(static_cast<int>(c)));
  EXPECT_EQ(mirror.heard, want);
}

TEST_F(WindowObserverTest, ItemChangesNameTheItem) {
  ui::Window page{windows};
  ASSERT_TRUE(page.Create(901));
  ui::Control& list = *page.GetControl(3020);
  list.AddItem("a");
  list.InsertItem(0, "b");
  list.SetItemData(1, 9);
  list.DeleteItem(0);
  list.ClearItems();
  EXPECT_TRUE(mirror.Heard(ui::Change::ItemInserted, 3020, 0));
  EXPECT_TRUE(mirror.Heard(ui::Change::ItemChanged, 3020, 1));
  EXPECT_TRUE(mirror.Heard(ui::Change::ItemDeleted, 3020, 0));
  EXPECT_TRUE(mirror.Heard(ui::Change::Items, 3020));
}

TEST_F(WindowObserverTest, ModalRunIsBracketed) {
  ui::Window ask{windows};
  desktop.SetModalDriver([&](ui::Window& w) {
    EXPECT_TRUE(mirror.Heard(ui::Change::ModalStarted));
    EXPECT_FALSE(mirror.Heard(ui::Change::ModalEnded));
    w.EndDialog(ui::kIdOk);
  });
  EXPECT_EQ(ask.DoModal(desktop, 902, nullptr), ui::kIdOk);
  EXPECT_TRUE(mirror.Heard(ui::Change::ModalEnded));
}

TEST_F(WindowObserverTest, ResizeMovesTheWindowAndTellsItsHandler) {
  ui::Window main{windows};
  Recorder recorder;
  main.SetEventHandler(recorder.Handler());
  ASSERT_TRUE(main.Create(900));
  ASSERT_TRUE(ui::input::Resize(main, 640, 480).ok);
  EXPECT_EQ(main.Geometry().width, 640);
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].type, ui::EventType::Resized);
  EXPECT_EQ(recorder.events[0].height, 480);
}

TEST_F(WindowObserverTest, TabDisplayAreaLiesInsideTheTabControl) {
  ui::Window main{windows};
  ASSERT_TRUE(main.Create(900));
  const ui::Control& tab = *main.GetControl(1244);
  const ui::Rect area = tab.DisplayArea();
  EXPECT_GT(area.top, tab.Geometry().top);
  EXPECT_GE(area.left, tab.Geometry().left);
  EXPECT_LE(area.Right(), tab.Geometry().Right());
  EXPECT_LE(area.Bottom(), tab.Geometry().Bottom());
  EXPECT_GT(area.width, 0);
}

}  // namespace
}  // namespace qx::test
