#include "app/ToolWindowList.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

class ToolWindowListTest : public ::testing::Test {
 protected:
  ToolWindowListTest() { resources.AddFile("test.qxr", "dialog 9002\nend\n"); }
  ui::ResourceRegistry resources;
  ui::WindowSystem windows{resources};
  ToolWindowList list{windows};
};

TEST_F(ToolWindowListTest, EnableAllReachesEveryListedWindow) {
  ui::Window a(windows);
  ui::Window b(windows);
  ASSERT_TRUE(a.Create(9002));
  ASSERT_TRUE(b.Create(9002));
  list.Add(a);
  list.Add(b);
  list.EnableAll(false);
  EXPECT_FALSE(a.IsEnabled());
  EXPECT_FALSE(b.IsEnabled());
  list.EnableAll(true);
  EXPECT_TRUE(a.IsEnabled());
  EXPECT_TRUE(b.IsEnabled());
}

TEST_F(ToolWindowListTest, RemoveOfAWindowAddedTwiceDropsBothEntries) {
  ui::Window a(windows);
  ui::Window b(windows);
  ASSERT_TRUE(a.Create(9002));
  ASSERT_TRUE(b.Create(9002));
  list.Add(a);
  list.Add(b);
  list.Add(a);
  list.Remove(a);
  EXPECT_EQ(list.Count(), 1u);
  list.EnableAll(false);
  EXPECT_TRUE(a.IsEnabled());
  EXPECT_FALSE(b.IsEnabled());
}

TEST_F(ToolWindowListTest, WindowsThatDoNotExistAreLeftAlone) {
  ui::Window notCreated(windows);
  list.Add(notCreated);
  list.EnableAll(false);
  EXPECT_TRUE(notCreated.IsEnabled());
}

TEST_F(ToolWindowListTest, DestroyedWindowObjectLeftInTheListIsSkipped) {
  auto gone = std::make_unique<ui::Window>(windows);
  ASSERT_TRUE(gone->Create(9002));
  list.Add(*gone);
  gone.reset();
  list.EnableAll(false);  // must not touch the freed object (the sanitizer build checks)
  EXPECT_EQ(list.Count(), 1u);
}

}  // namespace
}  // namespace qx
