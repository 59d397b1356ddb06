#include "app/ProgressBarDialog.h"

#include <gtest/gtest.h>

#include "ui/HeadlessDesktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowObserver.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

using std::chrono::milliseconds;

class ProgressBarDialogTest : public ::testing::Test {
 protected:
  ProgressBarDialogTest() {
    resources.AddFile("test.qxr", "dialog 9003\nend\n");
    EXPECT_TRUE(owner.Create(9003));
    owner.Show(true);
  }
  ui::Control* Bar() { return progress.GetWindow().GetControl(CProgressBarDialog::kBarId); }
  ui::Control* Label() { return progress.GetWindow().GetControl(CProgressBarDialog::kTextId); }

  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  ui::HeadlessDesktop desktop;
  ui::Window owner{windows};
  CProgressBarDialog progress{windows, desktop};
};

TEST_F(ProgressBarDialogTest, OpenShowsTheTextAnEmptyBarAndDisablesTheOwner) {
  progress.Open(&owner, "Now, reading camera settings.");
  ASSERT_TRUE(progress.GetWindow().Exists());
  EXPECT_TRUE(progress.GetWindow().IsVisible());
  EXPECT_EQ(progress.GetWindow().TemplateId(), 105);
  EXPECT_EQ(Label()->Text(), "Now, reading camera settings.");
  EXPECT_EQ(Bar()->StoredPosition(), 0);
  EXPECT_EQ(Bar()->RangeMax(), 100);
  EXPECT_FALSE(owner.IsEnabled());
}

TEST_F(ProgressBarDialogTest, SetPositionMovesTheBarOnlyWhileVisible) {
  progress.Open(&owner, "x");
  progress.SetPosition(40);
  EXPECT_EQ(Bar()->StoredPosition(), 40);
  progress.GetWindow().Show(false);
  progress.SetPosition(70);
  EXPECT_EQ(Bar()->StoredPosition(), 40);
}

TEST_F(ProgressBarDialogTest, CloseFillsTheBarWaitsASecondThenDestroysAndEnablesTheOwner) {
  progress.Open(&owner, "x");
  int barAtDestroy = -1;
  struct Watch : ui::WindowObserver {
    ui::Window* window;
    int* barAtDestroy;
    bool activated = false;
    ui::Window* owner;
    void OnChange(const ui::ChangeNotice& n) override {
      if (n.what == ui::Change::WindowDestroyed && n.window == window) {
        *barAtDestroy = window->GetControl(CProgressBarDialog::kBarId)->StoredPosition();
      }
      if (n.what == ui::Change::Activated && n.window == owner) activated = true;
    }
  } watch;
  watch.window = &progress.GetWindow();
  watch.barAtDestroy = &barAtDestroy;
  watch.owner = &owner;
  windows.AddObserver(watch);

  const milliseconds before = desktop.Now();
  progress.Close();
  EXPECT_EQ(desktop.Now() - before, milliseconds(1000));
  EXPECT_EQ(barAtDestroy, 100);
  EXPECT_TRUE(watch.activated);
  EXPECT_FALSE(progress.GetWindow().Exists());
  EXPECT_TRUE(owner.IsEnabled());
  windows.RemoveObserver(watch);
}

TEST_F(ProgressBarDialogTest, CloseWhileHiddenDoesNothing) {
  progress.Open(&owner, "x");
  progress.GetWindow().Show(false);
  const milliseconds before = desktop.Now();
  progress.Close();
  EXPECT_TRUE(progress.GetWindow().Exists());
  EXPECT_FALSE(owner.IsEnabled());  // the owner comes back only with the window's end
  EXPECT_EQ(desktop.Now(), before);
  progress.GetWindow().Destroy();
  EXPECT_TRUE(owner.IsEnabled());
}

TEST_F(ProgressBarDialogTest, CloseWithoutOpenDoesNothing) {
  progress.Close();
  EXPECT_FALSE(progress.GetWindow().Exists());
  EXPECT_EQ(desktop.Now(), milliseconds(0));
}

TEST_F(ProgressBarDialogTest, OwnerDisabledBeforeOpenStaysDisabledAfterClose) {
  owner.Enable(false);  // e.g. the tool windows were disabled for the exchange
  progress.Open(&owner, "x");
  progress.Close();
  EXPECT_FALSE(owner.IsEnabled());
}

TEST_F(ProgressBarDialogTest, ReopeningReplacesTheWindowAndKeepsTheOwnerBalance) {
  progress.Open(&owner, "first");
  progress.Open(&owner, "second");
  EXPECT_EQ(Label()->Text(), "second");
  EXPECT_FALSE(owner.IsEnabled());
  progress.Close();
  EXPECT_TRUE(owner.IsEnabled());
}

TEST_F(ProgressBarDialogTest, OpenWithoutOwnerWorks) {
  progress.Open(nullptr, "x");
  EXPECT_TRUE(progress.GetWindow().IsVisible());
  progress.Close();
  EXPECT_FALSE(progress.GetWindow().Exists());
}

}  // namespace
}  // namespace qx
