#include "comm/Command.h"

#include <gtest/gtest.h>

#include "comm/TrafficLog.h"
#include "support/FakeChannel.h"
#include "support/RecordingDesktop.h"

namespace qx {
namespace {

constexpr int kGA = 80;
constexpr int kBMPXWR = 155;

struct RecordingSink : TrafficLogSink {
  std::vector<std::string> rx;
  void OnTrafficLine(TrafficDirection direction, std::string_view line) override {
    if (direction == TrafficDirection::Rx) rx.emplace_back(line);
  }
};

class CommandTest : public ::testing::Test {
 protected:
  CommandTest() { log_.AddSink(&sink_); }
  // Answers every line with the given reply.
  void Answer(std::string reply) {
    channel_.camera = [reply](const std::string&) { return reply; };
  }

  CommandTable table_;
  test::FakeChannel channel_;
  test::RecordingDesktop desktop_;
  test::CountingStatus status_;
  TrafficLog log_;
  RecordingSink sink_;
  Command command_{table_, channel_, desktop_, status_, log_};
};

TEST_F(CommandTest, SetLineIsMnemonicEqualsValueAndCrLf) {
  Answer("COMPLETE\r\n");
  EXPECT_EQ(command_.SetCommand(kGA, 250, 100), 1);
  ASSERT_EQ(channel_.written.size(), 1u);
  EXPECT_EQ(channel_.written[0], "GA=250\r\n");
  EXPECT_EQ(status_.online, 1);
  EXPECT_TRUE(desktop_.boxes.empty());
  EXPECT_EQ(desktop_.waitCursorDepth, 0);
}

TEST_F(CommandTest, CompleteIsComparedOnItsFirstEightCharactersInAnyCase) {
  Answer("complete\r\n");
  EXPECT_EQ(command_.SetCommand(kGA, 1, 100), 1);
  Answer("COMPLETED OK\r\n");
  EXPECT_EQ(command_.SetCommand(kGA, 1, 100), 1);
  EXPECT_TRUE(desktop_.boxes.empty());
}

TEST_F(CommandTest, RejectedSetShowsTheReplyAndStillReportsOnline) {
  Answer("Error: out of range\r\n");
  EXPECT_EQ(command_.SetCommand(kGA, 9999, 100), 0);
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "Error: out of range");
  EXPECT_EQ(desktop_.boxes[0].caption, "Communication Error<2>");
  EXPECT_EQ(desktop_.boxes[0].icon, ui::MessageIcon::Exclamation);
  EXPECT_EQ(status_.online, 1);
  EXPECT_EQ(status_.offline, 0);
}

TEST_F(CommandTest, SilentCameraTimesOutQuietlyAndReportsOffline) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(command_.SetCommand(kGA, 1, 60), 0);
  int value = 0;
  EXPECT_EQ(command_.QueryValue(kGA, value, 60), 0);
  EXPECT_EQ(command_.SendRawCommand("GA?\r\n", value, 60), 0);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(desktop_.boxes.empty());
  EXPECT_EQ(status_.offline, 3);
  EXPECT_EQ(status_.online, 0);
  EXPECT_EQ(desktop_.waitCursorDepth, 0);
  EXPECT_LT(elapsed, std::chrono::milliseconds(3 * 60 + 200));  // nothing hangs past its time-out
}

TEST_F(CommandTest, QueryTakesTheValueOfTheMatchingAnswer) {
  Answer("GA = 12\r\n");
  int value = 0;
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 1);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(channel_.written.back(), "GA?\r\n");
  Answer("GA=&H1F\r\n");
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 1);
  EXPECT_EQ(value, 31);
  EXPECT_EQ(status_.online, 2);
}

TEST_F(CommandTest, AnswerForAnotherNameShowsReplyForQuery) {
  Answer("xX=5\r\n");
  int value = 77;
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 0);
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "xX=5 for GA?");
  EXPECT_EQ(desktop_.boxes[0].caption, "Communication Error<1>");
  EXPECT_EQ(status_.online + status_.offline, 0);  // the online state is not changed

  Answer("ERROR\r\n");
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 0);
  EXPECT_EQ(desktop_.boxes.back().text, "ERROR for GA?");
}

TEST_F(CommandTest, TextAnswersComeBackWholeAndInUpperCase) {
  Answer("MD=qx-8800m-rlnk\r\n");
  std::string text;
  EXPECT_EQ(command_.QueryText(cmd::kMD, text, 100), 1);
  EXPECT_EQ(text, "QX-8800M-RLNK");
}

TEST_F(CommandTest, QueryOfAnIdWithoutMnemonicSendsNothing) {
  int value = 0;
  EXPECT_EQ(command_.QueryValue(97, value, 100), 0);
  EXPECT_TRUE(channel_.written.empty());
  EXPECT_TRUE(desktop_.boxes.empty());
  EXPECT_EQ(status_.online + status_.offline, 0);
}

TEST_F(CommandTest, TextSetSendsTheTextAndRestoresTheValueKindOnEveryPath) {
  Answer("COMPLETE\r\n");
  EXPECT_EQ(command_.SetTextCommand(kBMPXWR, "5,100", 100), 1);
  EXPECT_EQ(channel_.written.back(), "BMPXWR=5,100\r\n");
  EXPECT_EQ(table_.GetValueKind(kBMPXWR), ValueKind::Integer);

  Answer("");  // time-out path
  EXPECT_EQ(command_.SetTextCommand(kBMPXWR, "1,2", 30), 0);
  EXPECT_EQ(table_.GetValueKind(kBMPXWR), ValueKind::Integer);

  channel_.refuseWrites = true;  // refused path
  EXPECT_EQ(command_.SetTextCommand(cmd::kMD00, "QX-4400M-RLNK", 30), 0);
  EXPECT_EQ(table_.GetValueKind(cmd::kMD00), ValueKind::Text);
}

TEST_F(CommandTest, RawCommandTakesTheFirstValueOfAnyLineWithAutomaticBase) {
  int value = 0;
  Answer("BMPXWR=0x10\r\n");
  EXPECT_EQ(command_.SendRawCommand("BMPXWR?07\r\n", value, 100), 1);
  EXPECT_EQ(channel_.written.back(), "BMPXWR?07\r\n");
  EXPECT_EQ(value, 16);
  Answer("SQW3=1936\r\n");  // an indexed name is not in the table; the value still counts
  EXPECT_EQ(command_.SendRawCommand("SQW3?\r\n", value, 100), 1);
  EXPECT_EQ(value, 1936);
  Answer("ERROR\r\n");
  EXPECT_EQ(command_.SendRawCommand("XYZ?\r\n", value, 100), 1);
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(desktop_.boxes.empty());
}

TEST_F(CommandTest, DispatcherRefusingTheWriteFailsWithoutWaiting) {
  channel_.refuseWrites = true;
  int value = 0;
  EXPECT_EQ(command_.SetCommand(kGA, 1, 5000), 0);
  EXPECT_EQ(command_.QueryValue(kGA, value, 5000), 0);
  EXPECT_EQ(status_.online + status_.offline, 0);
}

TEST_F(CommandTest, ReplySplitAcrossManySingleByteReadsIsAssembled) {
  channel_.bytesPerRead = 1;
  Answer("GA=4095\r\n");
  int value = 0;
  EXPECT_EQ(command_.QueryValue(kGA, value, 200), 1);
  EXPECT_EQ(value, 4095);
  EXPECT_EQ(sink_.rx, (std::vector<std::string>{"GA=4095"}));
}

// A line ended by a bare line feed keeps its last character: only a carriage return is cut.
TEST_F(CommandTest, LineWithoutCarriageReturnKeepsItsLastCharacter) {
  Answer("GA=12\n");
  int value = 0;
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 1);
  EXPECT_EQ(value, 12);
  Answer("COMPLETE\n");
  EXPECT_EQ(command_.SetCommand(kGA, 1, 100), 1);
}

TEST_F(CommandTest, LongLinesKeepEveryCharacter) {
  const std::string id(40, 'A');
  Answer("ID=" + id + "\r\n");
  std::string text;
  EXPECT_EQ(command_.QueryText(cmd::kID, text, 100), 1);
  EXPECT_EQ(text, id);
}

TEST_F(CommandTest, ThousandTwentyFourBytesWithoutLineFeedOverflowOnceAndRestart) {
  channel_.pending = std::string(1024, 'x') + "GA=5\r\n";
  EXPECT_EQ(command_.ReceivePoll(), 0);
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "RS-232C receiving buffer overflowed");
  EXPECT_EQ(desktop_.boxes[0].caption, "Communication Error");
  EXPECT_EQ(command_.ReceivePoll(), 1);
  EXPECT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(sink_.rx, (std::vector<std::string>{"GA=5"}));
}

TEST_F(CommandTest, GarbageBeforeAReplyIsReportedNotHung) {
  Answer(std::string("\x01\xff noise\r\n", 9) + "GA=7\r\n");
  int value = 0;
  // The noise forms a line of its own that answers the query wrongly.
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 0);
  EXPECT_EQ(desktop_.boxes.size(), 1u);
  // The next command starts with an empty queue and works.
  Answer("GA=7\r\n");
  EXPECT_EQ(command_.QueryValue(kGA, value, 100), 1);
  EXPECT_EQ(value, 7);
}

TEST_F(CommandTest, ReceiveTimerQueuesAndLogsLinesArrivingBetweenCommands) {
  command_.StartReceiveTimer();
  ASSERT_EQ(desktop_.timers.size(), 1u);
  channel_.pending = "TMP0=3200\r\nALCST=2\r\n";
  desktop_.TickTimers();
  EXPECT_EQ(command_.QueuedLineCount(), 2u);
  EXPECT_EQ(sink_.rx, (std::vector<std::string>{"TMP0=3200", "ALCST=2"}));
  // WaitForComplete on its own takes the oldest queued line once a new one completes.
  channel_.pending = "COMPLETE\r\n";
  EXPECT_EQ(command_.WaitForComplete(100), 0);
  EXPECT_EQ(desktop_.boxes.back().text, "TMP0=3200");
  command_.StopReceiveTimer();
  EXPECT_FALSE(desktop_.timers[0]);
}

TEST_F(CommandTest, ParseHelpersForSettingFiles) {
  int id = 0;
  int value = 0;
  std::string name;
  std::string text;
  EXPECT_EQ(command_.ParseLine("EM = 2\r\n", id, name, value, text), 1);
  EXPECT_EQ(id, 9);
  EXPECT_EQ(name, "EM");
  EXPECT_EQ(value, 2);
  EXPECT_EQ(command_.ParseLine("TI=&H10", id, name, value, text), 1);
  EXPECT_EQ(value, 16);
  EXPECT_EQ(command_.ParseLine("MD00=QX-4400M-RLNK", id, name, value, text), 1);
  EXPECT_EQ(text, "QX-4400M-RLNK");
  EXPECT_EQ(command_.ParseLine("NOTACOMMAND=1", id, name, value, text), 0);
  EXPECT_EQ(command_.ParseLine("no separator", id, name, value, text), 0);

  int first = 0;
  int second = 0;
  EXPECT_EQ(command_.ParseTwoValues("LUTR=0x0c,0345", first, second), 1);
  EXPECT_EQ(first, 12);
  EXPECT_EQ(second, 229);
  EXPECT_EQ(command_.ParseTwoValues("LUTR=12", first, second), 1);
  EXPECT_EQ(second, 0);
}

}  // namespace
}  // namespace qx
