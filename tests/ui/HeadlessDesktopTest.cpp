#include "ui/HeadlessDesktop.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx::ui {
namespace {

using std::chrono::milliseconds;

TEST(HeadlessDesktop, UnqueuedBoxesGetTheHarmlessAnswer) {
  HeadlessDesktop desktop;
  EXPECT_EQ(desktop.ShowMessageBox(nullptr, "t", "c", MessageIcon::Stop, MessageButtons::Ok),
            DialogAnswer::Ok);
  EXPECT_EQ(desktop.ShowMessageBox(nullptr, "t", "c", MessageIcon::None, MessageButtons::OkCancel),
            DialogAnswer::Ok);
  EXPECT_EQ(desktop.ShowMessageBox(nullptr, "t", "c", MessageIcon::Question, MessageButtons::YesNo),
            DialogAnswer::No);
  EXPECT_EQ(desktop.ShowFileDialog(nullptr, {}).code, 2);
}

TEST(HeadlessDesktop, QueuedAnswersAreUsedInOrderAndRecorded) {
  HeadlessDesktop desktop;
  desktop.QueueAnswer(DialogAnswer::Yes);
  desktop.QueueAnswer(DialogAnswer::Cancel);
  std::vector<std::string> heard;
  desktop.SetMessageBoxListener(
      [&](const HeadlessDesktop::MessageBoxRecord& box) { heard.push_back(box.text); });
  EXPECT_EQ(
      desktop.ShowMessageBox(nullptr, "one", "c", MessageIcon::Question, MessageButtons::YesNo),
      DialogAnswer::Yes);
  EXPECT_EQ(
      desktop.ShowMessageBox(nullptr, "two", "c", MessageIcon::None, MessageButtons::OkCancel),
      DialogAnswer::Cancel);
  ASSERT_EQ(desktop.MessageBoxes().size(), 2u);
  EXPECT_EQ(desktop.MessageBoxes()[1].caption, "c");
  EXPECT_EQ(heard, (std::vector<std::string>{"one", "two"}));
}

TEST(HeadlessDesktop, AnswerThatIsNoneOfTheButtonsIsFlaggedAndNotGiven) {
  HeadlessDesktop desktop;
  desktop.QueueAnswer(DialogAnswer::Yes);
  EXPECT_EQ(desktop.ShowMessageBox(nullptr, "t", "c", MessageIcon::Information, MessageButtons::Ok),
            DialogAnswer::Ok);
  EXPECT_TRUE(desktop.MessageBoxes()[0].rejectedAnswer);
  EXPECT_EQ(desktop.QueuedAnswers(), 0u);
}

TEST(HeadlessDesktop, FileDialogsTakeQueuedResults) {
  HeadlessDesktop desktop;
  desktop.QueueFileResult({1, "/tmp/a.cam"});
  FileDialogOptions options;
  options.save = true;
  const FileDialogResult result = desktop.ShowFileDialog(nullptr, options);
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.path, "/tmp/a.cam");
  EXPECT_TRUE(desktop.FileDialogs()[0].options.save);
  EXPECT_EQ(desktop.ShowFileDialog(nullptr, options).code, 2);
}

TEST(HeadlessDesktop, TimersTickWhenTheirIntervalHasPassed) {
  HeadlessDesktop desktop;
  std::vector<long long> ticks;
  desktop.StartTimer(milliseconds(25), [&] { ticks.push_back(desktop.Now().count()); });
  desktop.LetTimePass(milliseconds(24));
  EXPECT_TRUE(ticks.empty());
  desktop.LetTimePass(milliseconds(80));
  EXPECT_EQ(ticks, (std::vector<long long>{25, 50, 75, 100}));
  EXPECT_EQ(desktop.Now(), milliseconds(104));
}

TEST(HeadlessDesktop, TimersInterleaveByDueTime) {
  HeadlessDesktop desktop;
  std::string order;
  desktop.StartTimer(milliseconds(30), [&] { order += 'a'; });
  desktop.StartTimer(milliseconds(20), [&] { order += 'b'; });
  desktop.LetTimePass(milliseconds(60));
  // b 20, a 30, b 40, then a and b both at 60 in the order they were started.
  EXPECT_EQ(order, "babab");
}

TEST(HeadlessDesktop, TickMayStopItsOwnTimer) {
  HeadlessDesktop desktop;
  int ticks = 0;
  int id = 0;
  id = desktop.StartTimer(milliseconds(10), [&] {
    ++ticks;
    desktop.StopTimer(id);
  });
  desktop.LetTimePass(milliseconds(100));
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(desktop.TimerCount(), 0u);
}

TEST(HeadlessDesktop, PumpRunsOnlyTimersAlreadyDue) {
  HeadlessDesktop desktop;
  int ticks = 0;
  desktop.StartTimer(milliseconds(10), [&] { ++ticks; });
  desktop.ProcessPendingMessages();
  EXPECT_EQ(ticks, 0);
  desktop.Sleep(milliseconds(35));  // a blocked thread handles no timers...
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(desktop.Now(), milliseconds(35));
  desktop.ProcessPendingMessages();  // ...and a late timer ticks once, not three times
  EXPECT_EQ(ticks, 1);
  desktop.ProcessPendingMessages();
  EXPECT_EQ(ticks, 1);
}

TEST(HeadlessDesktop, RealClockWaitsForTheTimer) {
  HeadlessDesktop desktop(HeadlessDesktop::ClockMode::Real);
  int ticks = 0;
  desktop.StartTimer(milliseconds(5), [&] { ++ticks; });
  const milliseconds before = desktop.Now();
  desktop.LetTimePass(milliseconds(12));
  EXPECT_GE(desktop.Now() - before, milliseconds(12));
  EXPECT_GE(ticks, 2);
}

TEST(HeadlessDesktop, RealWaitEndsEvenWhenTicksTakeLongerThanTheirInterval) {
  HeadlessDesktop desktop(HeadlessDesktop::ClockMode::Real);
  int ticks = 0;
  desktop.StartTimer(milliseconds(1), [&] {
    ++ticks;
    desktop.Sleep(milliseconds(5));  // the clock moves on by more than the interval
  });
  desktop.LetTimePass(milliseconds(20));
  EXPECT_GE(ticks, 1);
  EXPECT_LE(ticks, 20);
}

TEST(HeadlessDesktop, WaitCursorIsRemembered) {
  HeadlessDesktop desktop;
  desktop.SetWaitCursor(true);
  EXPECT_TRUE(desktop.IsWaitCursor());
  desktop.SetWaitCursor(false);
  EXPECT_FALSE(desktop.IsWaitCursor());
}

}  // namespace
}  // namespace qx::ui
