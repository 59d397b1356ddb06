#include "sim/SimulatedLink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/FaultPlan.h"
#include "sim/LineAssembler.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;

class SimulatedLinkTest : public ::testing::Test {
 protected:
  void Build(FaultSettings faults = {}, Duration latency = {}, int baud = 9600,
             Transcript* transcript = nullptr) {
    CameraConfig config = CameraConfig::ForModel("4400");
    config.baud = baud;
    core_ = std::make_unique<CameraCore>(config, clock_);
    link_ = std::make_unique<SimulatedLink>(*core_, faults, latency, transcript);
  }

  // Everything the camera sends once the line has gone quiet.
  std::string Drain(Duration quiet = 10s) {
    clock_.Advance(quiet);
    std::string out;
    link_->TakeDue(clock_.Now(), out);
    return out;
  }

  std::string Exchange(std::string_view line) {
    link_->Receive(line, clock_.Now());
    return Drain();
  }

  ManualClock clock_;
  std::unique_ptr<CameraCore> core_;
  std::unique_ptr<SimulatedLink> link_;
};

TEST_F(SimulatedLinkTest, ReplyLeavesAfterTheCommandArrivedOneByteTimePerByte) {
  Build();
  const Duration byte = link_->ByteTime();
  EXPECT_NEAR(std::chrono::duration<double>(byte).count(), 10.0 / 9600, 1e-9);
  const TimePoint t0 = clock_.Now();
  link_->Receive("GA?\r\n", t0);  // 5 bytes in, "GA=100\r\n" (8 bytes) out
  ASSERT_TRUE(link_->NextWake().has_value());
  EXPECT_EQ(link_->DueCount(t0 + byte * 6 - 1ns), 0u) << "nothing before the line feed arrived";
  EXPECT_EQ(link_->DueCount(t0 + byte * 6), 1u);
  EXPECT_EQ(link_->DueCount(t0 + byte * 13 - 1ns), 7u);
  EXPECT_EQ(link_->DueCount(t0 + byte * 13), 8u);
  std::string out;
  link_->TakeDue(t0 + byte * 13, out);
  EXPECT_EQ(out, "GA=100\r\n");
  EXPECT_FALSE(link_->NextWake().has_value()) << "idle link needs no wake-up";
}

TEST_F(SimulatedLinkTest, BytesReadTogetherStillArriveOneByteTimeApart) {
  Build();
  const Duration byte = link_->ByteTime();
  const TimePoint t0 = clock_.Now();
  link_->Receive("GA?\r\nGA?\r\n", t0);
  // The second line's reply queues behind the first one; both need 5 + 8 + 8 byte times.
  EXPECT_EQ(link_->DueCount(t0 + byte * 21 - 1ns), 15u);
  EXPECT_EQ(link_->DueCount(t0 + byte * 21), 16u);
}

TEST_F(SimulatedLinkTest, ReceivingIsPacedWhenCommandsOutrunReplies) {
  Build();
  const Duration byte = link_->ByteTime();
  const TimePoint t0 = clock_.Now();
  // 14-byte commands with 10-byte replies: the receive side is the bottleneck, so the last
  // reply ends 10 byte times after the last command's line feed arrived.
  std::string burst;
  for (int i = 0; i < 10; ++i) burst += "PGL0=1048575\r\n";
  link_->Receive(burst, t0);
  EXPECT_EQ(link_->DueCount(t0 + byte * 150 - 1ns), 99u);
  EXPECT_EQ(link_->DueCount(t0 + byte * 150), 100u);
}

TEST_F(SimulatedLinkTest, WakeUpsGroupBytesAtHighRatesButNeverHoldTheLineFeed) {
  Build({}, {}, 115200);
  const TimePoint t0 = clock_.Now();
  link_->Receive("MD?\r\n", t0);
  const Duration byte = link_->ByteTime();
  const TimePoint first = *link_->NextWake();
  EXPECT_GE(first - (t0 + byte * 5), SimulatedLink::kMinWakeInterval - byte);
  std::string out;
  TimePoint wake = first;
  int wakeUps = 0;
  while (link_->NextWake()) {
    wake = *link_->NextWake();
    link_->TakeDue(wake, out);
    ++wakeUps;
  }
  EXPECT_EQ(out, "MD=QX-4400M-RLNK\r\n");
  EXPECT_EQ(wake, t0 + byte * (5 + 18)) << "the last wake-up is the line feed's due time";
  EXPECT_LT(wakeUps, 18) << "fewer wake-ups than bytes";
}

TEST_F(SimulatedLinkTest, LatencyAndCameraProcessingDelayTheReply) {
  Build({}, 40ms);
  const Duration byte = link_->ByteTime();
  const TimePoint t0 = clock_.Now();
  link_->Receive("SA=1\r\n", t0);
  const TimePoint arrived = t0 + byte * 6;
  EXPECT_EQ(link_->DueCount(arrived + 40ms + 300ms), 0u);
  EXPECT_EQ(link_->DueCount(arrived + 40ms + 300ms + byte), 1u);
}

TEST_F(SimulatedLinkTest, DropEveryNthLineSendsNoReply) {
  Build({.dropEvery = 2});
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(Exchange("GA=200\r\n"), "");
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=200\r\n") << "a dropped reply was still executed";
}

TEST_F(SimulatedLinkTest, ErrorEveryNthLineAnswersAnErrorWithoutExecuting) {
  Build({.errorEvery = 2});
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(Exchange("GA=300\r\n"), CameraCore::ErrorLine(CameraError::BadSyntax) + "\r\n");
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r\n");
}

TEST_F(SimulatedLinkTest, GarbageEveryNthReplyPutsNoiseWithoutLineEndsBeforeIt) {
  Build({.garbageEvery = 1});
  const std::string reply = Exchange("GA?\r\n");
  ASSERT_EQ(reply.size(), 4u + 8u);
  EXPECT_EQ(reply.substr(4), "GA=100\r\n");
  EXPECT_EQ(reply.substr(0, 4).find_first_of("\r\n"), std::string::npos);
}

TEST_F(SimulatedLinkTest, NoLfEveryNthReplyEndsWithCarriageReturnOnly) {
  Build({.noLfEvery = 2});
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r");
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r\n");
}

TEST_F(SimulatedLinkTest, HangupAfterNLinesEndsOnceTheLastReplyLeft) {
  Build({.hangupAfter = 2});
  link_->Receive("GA?\r\nGA?\r\nGA?\r\n", clock_.Now());
  EXPECT_FALSE(link_->HungUp(clock_.Now()));
  const std::string out = Drain();
  EXPECT_EQ(out, "GA=100\r\nGA=100\r\n") << "the third line is never answered";
  EXPECT_TRUE(link_->HungUp(clock_.Now()));
}

TEST_F(SimulatedLinkTest, OverlongLineGetsOneErrorAndTheNextLineWorks) {
  Build();
  std::string flood(1'000'000, 'A');  // 17 minutes of wire time at 9600 baud
  link_->Receive(flood, clock_.Now());
  EXPECT_EQ(Drain(std::chrono::hours(1)), "") << "no reply before the line ends";
  link_->Receive("\r\n", clock_.Now());
  EXPECT_EQ(Drain(), CameraCore::ErrorLine(CameraError::LineTooLong) + "\r\n");
  EXPECT_EQ(Exchange("GA?\r\n"), "GA=100\r\n");
}

TEST_F(SimulatedLinkTest, BinaryBytesGetAnErrorLineNeverACrash) {
  Build();
  std::string binary;
  for (int i = 0; i < 256; ++i) {
    if (i != '\n') binary += static_cast<char>(i);
  }
  EXPECT_EQ(Exchange(binary + "\n"), CameraCore::ErrorLine(CameraError::BadSyntax) + "\r\n");
  EXPECT_EQ(Exchange(std::string("\0\0GA?\r\n", 7)),
            CameraCore::ErrorLine(CameraError::BadSyntax) + "\r\n");
  EXPECT_EQ(Exchange("GA?\n"), "GA=100\r\n") << "a bare line feed ends a line too";
}

TEST_F(SimulatedLinkTest, UnreadRepliesAreBoundedLikeAFullTransmitBuffer) {
  Build();
  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += "GA?\r\n";
  link_->Receive(lines, clock_.Now());
  EXPECT_GT(link_->DroppedBytes(), 0u);
  clock_.Advance(std::chrono::hours(1));
  EXPECT_LE(link_->DueCount(clock_.Now()), SimulatedLink::kMaxQueuedBytes);
}

TEST_F(SimulatedLinkTest, BaudRateChangeAppliesAfterTheAcknowledgement) {
  Build();
  const Duration slow = link_->ByteTime();
  const TimePoint t0 = clock_.Now();
  link_->Receive("FCBDRT=16\r\n", t0);
  EXPECT_LT(link_->ByteTime(), slow);
  // "COMPLETE\r\n" still leaves at 9600 baud.
  EXPECT_EQ(link_->DueCount(t0 + slow * 21 - 1ns), 9u);
  EXPECT_EQ(link_->DueCount(t0 + slow * 21), 10u);
}

TEST_F(SimulatedLinkTest, FlushDiscardsPendingRepliesAndTheNextReplyIsNotHeldUp) {
  Build();
  const Duration byte = link_->ByteTime();
  link_->Receive("MD?\r\nMD?\r\nMD?\r\n", clock_.Now());
  link_->Flush();
  EXPECT_FALSE(link_->NextWake().has_value());
  clock_.Advance(byte * 20);
  const TimePoint t0 = clock_.Now();
  link_->Receive("GA?\r\n", t0);
  EXPECT_EQ(link_->DueCount(t0 + byte * 13), 8u);
}

TEST_F(SimulatedLinkTest, FlashWritesAreHandedToTheSaver) {
  Build();
  std::string saved;
  int saves = 0;
  link_->OnNonVolatileChange([&](const std::string& text) {
    saved = text;
    ++saves;
  });
  Exchange("GA=250\r\n");
  EXPECT_EQ(saves, 0);
  Exchange("SA=2\r\n");
  EXPECT_EQ(saves, 1);
  EXPECT_NE(saved.find("area 2 GA 250"), std::string::npos);
}

TEST_F(SimulatedLinkTest, TranscriptHasOneStampedLinePerLineEachWay) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("qxsim-transcript-" + std::to_string(::getpid()) + ".txt");
  {
    Transcript transcript(path.string(), clock_);
    ASSERT_TRUE(transcript.Ok());
    Build({.garbageEvery = 2}, {}, 9600, &transcript);
    Exchange("GA?\r\n");
    Exchange("GA?\r\n");
  }
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::filesystem::remove(path);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("Z RX GA?"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("Z TX GA=100"), std::string::npos) << lines[1];
  EXPECT_NE(lines[3].find(" TX "), std::string::npos);
  EXPECT_EQ(lines[0].size(), std::string("2026-01-01T00:00:00.000000Z RX GA?").size());
}

TEST(TranscriptEscape, ShowsUnprintableBytesAsHex) {
  EXPECT_EQ(Transcript::Escape(std::string("A\r\x01\xff\\", 5)), "A\\x0D\\x01\\xFF\\x5C");
}

TEST(LineAssembler, StripsCarriageReturnDropsEmptyLinesAndBoundsLength) {
  LineAssembler assembler;
  std::vector<ReceivedLine> lines;
  auto push = [&](std::string_view bytes) {
    for (char c : bytes) {
      if (auto line = assembler.Push(c)) lines.push_back(*line);
    }
  };
  push("\r\n\nGA?\r\n");
  push(std::string(LineAssembler::kMaxLineLength, 'x') + "\r\n");
  push(std::string(LineAssembler::kMaxLineLength + 1, 'x') + "\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "GA?");
  EXPECT_FALSE(lines[1].overlong);
  EXPECT_TRUE(lines[2].overlong);
  EXPECT_TRUE(lines[2].text.empty());
}

TEST(FaultPlan, CountsLinesAndLetDropWinOverTheOthers) {
  FaultPlan plan({.dropEvery = 3, .errorEvery = 3, .garbageEvery = 2, .hangupAfter = 4});
  const LineFaults l1 = plan.Next();
  const LineFaults l2 = plan.Next();
  const LineFaults l3 = plan.Next();
  const LineFaults l4 = plan.Next();
  EXPECT_FALSE(l1.drop || l1.error || l1.garbage || l1.hangup);
  EXPECT_TRUE(l2.garbage);
  EXPECT_TRUE(l3.drop);
  EXPECT_FALSE(l3.error);
  EXPECT_TRUE(l4.hangup);
  EXPECT_TRUE(l4.garbage);
}

}  // namespace
}  // namespace qx::sim
