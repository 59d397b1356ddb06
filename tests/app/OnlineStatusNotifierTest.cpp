#include "app/OnlineStatusNotifier.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/ResourceRegistry.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

// A tool window with a status strip, as the dialogs that show the online state have.
struct StripWindow : COnlineStatusUpdater {
  StripWindow(ui::WindowSystem& windows, std::vector<int>* log, int tag)
      : window(windows), log(log), tag(tag) {
    BindStatusStrip(window, 1161);
  }
  void OnlineStatusChanged(int online) override {
    calls.push_back(online);
    if (log != nullptr) log->push_back(tag);
    if (onChange) onChange();
  }
  int StripBitmap() const {
    const ui::Control* strip = StatusStrip();
    return strip != nullptr && strip->Image() ? strip->Image()->id : 0;
  }
  ui::Window window;
  std::vector<int>* log;
  int tag;
  std::vector<int> calls;
  std::function<void()> onChange;
};

class OnlineStatusNotifierTest : public ::testing::Test {
 protected:
  OnlineStatusNotifierTest() {
    resources.AddFile("test.qxr", "dialog 9001\n  picture 1161 at 0 0 4 4\nend\n");
  }
  ui::ResourceRegistry resources = ui::ResourceRegistry::FromEmbedded();
  ui::WindowSystem windows{resources};
  OnlineStatusNotifier notifier{resources};
  std::vector<int> order;
};

TEST_F(OnlineStatusNotifierTest, StartsOfflineWithBitmap302) {
  EXPECT_FALSE(notifier.IsOnline());
  ASSERT_NE(notifier.CurrentBitmap(), nullptr);
  EXPECT_EQ(notifier.CurrentBitmap()->id, kOfflineBitmapId);
}

TEST_F(OnlineStatusNotifierTest, RegisteringShowsTheCurrentStateAtOnce) {
  StripWindow first(windows, nullptr, 1);
  ASSERT_TRUE(first.window.Create(9001));
  notifier.Register(first);
  EXPECT_EQ(first.StripBitmap(), 302);

  notifier.ReportOnline();
  StripWindow second(windows, nullptr, 2);
  ASSERT_TRUE(second.window.Create(9001));
  notifier.Register(second);
  EXPECT_EQ(second.StripBitmap(), 303);
  EXPECT_TRUE(second.calls.empty());  // registering does not call the observer
}

TEST_F(OnlineStatusNotifierTest, ReportsSetEveryStripAndCallEveryUpdaterInOrder) {
  StripWindow a(windows, &order, 1);
  StripWindow b(windows, &order, 2);
  ASSERT_TRUE(a.window.Create(9001));
  ASSERT_TRUE(b.window.Create(9001));
  notifier.Register(a);
  notifier.Register(b);
  // When the first observer hears the news, every strip already shows it.
  int secondStripSeenByFirst = 0;
  a.onChange = [&] { secondStripSeenByFirst = b.StripBitmap(); };

  notifier.ReportOnline();
  EXPECT_EQ(a.StripBitmap(), 303);
  EXPECT_EQ(b.StripBitmap(), 303);
  EXPECT_EQ(secondStripSeenByFirst, 303);
  notifier.ReportOffline();
  EXPECT_EQ(b.StripBitmap(), 302);
  EXPECT_EQ(a.calls, (std::vector<int>{1, 0}));
  EXPECT_EQ(b.calls, (std::vector<int>{1, 0}));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(OnlineStatusNotifierTest, UpdaterWhoseStripWindowDoesNotExistIsSkippedAltogether) {
  StripWindow created(windows, nullptr, 1);
  StripWindow notYet(windows, nullptr, 2);
  ASSERT_TRUE(created.window.Create(9001));
  notifier.Register(notYet);
  notifier.Register(created);

  notifier.ReportOnline();
  EXPECT_TRUE(notYet.calls.empty());
  EXPECT_EQ(created.calls, (std::vector<int>{1}));

  // Once its window exists it takes part in the next report.
  ASSERT_TRUE(notYet.window.Create(9001));
  EXPECT_EQ(notYet.StripBitmap(), 0);
  notifier.ReportOffline();
  EXPECT_EQ(notYet.calls, (std::vector<int>{0}));
  EXPECT_EQ(notYet.StripBitmap(), 302);

  notYet.window.Destroy();
  notifier.ReportOnline();
  EXPECT_EQ(notYet.calls, (std::vector<int>{0}));
}

TEST_F(OnlineStatusNotifierTest, UnregisterDropsEveryEntryOfTheUpdater) {
  StripWindow a(windows, nullptr, 1);
  ASSERT_TRUE(a.window.Create(9001));
  notifier.Register(a);
  notifier.Register(a);
  notifier.ReportOnline();
  EXPECT_EQ(a.calls.size(), 2u);  // registered twice, told twice
  notifier.Unregister(a);
  EXPECT_EQ(notifier.RegisteredCount(), 0u);
  notifier.ReportOffline();
  EXPECT_EQ(a.calls.size(), 2u);
}

TEST_F(OnlineStatusNotifierTest, UpdaterUnregisteredByAnEarlierOneIsNotCalled) {
  StripWindow a(windows, nullptr, 1);
  StripWindow b(windows, nullptr, 2);
  ASSERT_TRUE(a.window.Create(9001));
  ASSERT_TRUE(b.window.Create(9001));
  notifier.Register(a);
  notifier.Register(b);
  a.onChange = [&] { notifier.Unregister(b); };
  notifier.ReportOnline();
  EXPECT_TRUE(b.calls.empty());
}

TEST_F(OnlineStatusNotifierTest, UpdaterThatGoesAwayLeavesTheNotifier) {
  auto gone = std::make_unique<StripWindow>(windows, nullptr, 1);
  ASSERT_TRUE(gone->window.Create(9001));
  notifier.Register(*gone);
  gone.reset();
  EXPECT_EQ(notifier.RegisteredCount(), 0u);
  notifier.ReportOnline();  // must not reach the freed updater (the sanitizer build checks)
}

TEST_F(OnlineStatusNotifierTest, NotifierThatGoesFirstLeavesNoDanglingLink) {
  StripWindow updater(windows, nullptr, 1);
  {
    OnlineStatusNotifier shortLived(resources);
    shortLived.Register(updater);
    EXPECT_TRUE(updater.IsRegistered());
  }
  // Its own end must not reach the gone notifier.
  EXPECT_FALSE(updater.IsRegistered());
  notifier.Register(updater);
  EXPECT_TRUE(updater.IsRegistered());
  notifier.Unregister(updater);
  EXPECT_FALSE(updater.IsRegistered());
}

}  // namespace
}  // namespace qx
