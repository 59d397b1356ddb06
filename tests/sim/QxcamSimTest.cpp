// qxcam-sim driven through a real pseudo-terminal, as the tool meets it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "sim/CameraCore.h"
#include "sim/SimProcess.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;
using testing::Port;
using testing::SimProcess;
using testing::Steady;

std::string Error(CameraError e) {
  return CameraCore::ErrorLine(e) + "\r\n";
}

class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("qxsim-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string File(const char* name) const { return (path_ / name).string(); }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

TEST(QxcamSim, PrintsTheTerminalFirst_AnswersOnIt_AndSigtermEndsItAndRemovesTheLink) {
  TempDir dir;
  const std::string link = dir.File("camera");
  SimProcess sim({"--baud", "115200", "--link", link});
  ASSERT_TRUE(sim.Started());
  EXPECT_EQ(sim.SlavePath().rfind("/dev/", 0), 0u) << sim.SlavePath();
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.SlavePath());
  Port port(link);
  ASSERT_TRUE(port.IsOpen());
  EXPECT_EQ(port.Exchange("MD?\r\n"), "MD=QX-4400M-RLNK\r\n");
  EXPECT_EQ(port.Exchange("GA=200\r\n"), "COMPLETE\r\n");
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=200\r\n");
  EXPECT_EQ(sim.Stop(SIGTERM), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(QxcamSim, SigintEndsItCleanlyToo) {
  SimProcess sim({"--model", "8800"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  EXPECT_EQ(port.Exchange("MD?\r\n"), "MD=QX-8800M-RLNK\r\n");
  EXPECT_EQ(sim.Stop(SIGINT), 0);
}

TEST(QxcamSim, TheToolCanCloseAndReopenTheTerminal) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Started());
  {
    Port first(sim.SlavePath());
    EXPECT_EQ(first.Exchange("GA=321\r\n"), "COMPLETE\r\n");
  }
  Port second(sim.SlavePath());
  ASSERT_TRUE(second.IsOpen());
  EXPECT_EQ(second.Exchange("GA?\r\n"), "GA=321\r\n") << "same camera, settings kept";
}

TEST(QxcamSim, HelpDocumentsEveryOption_UnknownOptionFails) {
  SimProcess help({"--help"});
  // --help prints the text instead of a terminal path; the first line is its usage line.
  const std::string text = help.SlavePath() + "\n" + help.RestOfOutput();
  EXPECT_EQ(help.Wait(), 0);
  for (const char* option :
       {"--model", "--baud", "--link", "--transcript", "--state", "--latency", "--drop-every",
        "--error-every", "--garbage-every", "--no-lf-every", "--hangup-after", "--help"}) {
    EXPECT_NE(text.find(option), std::string::npos) << option;
  }
  SimProcess bad({"--speed", "9"});
  EXPECT_FALSE(bad.Started());
  EXPECT_EQ(bad.Wait(), 2);
  SimProcess badNumber({"--baud", "fast"});
  EXPECT_EQ(badNumber.Wait(), 2);
}

class QxcamSimPacing : public ::testing::TestWithParam<int> {
 protected:
  // Bursts last about a quarter of a second whatever the rate, so that a scheduling delay of
  // a few milliseconds on a busy machine stays well inside the tolerance.
  int Repeats(int atNineSixHundred) const {
    return GetParam() >= 57600 ? atNineSixHundred * 10 : atNineSixHundred;
  }
  // Sends `burst` and times it until `lines` replies have come, five times; other work on
  // the machine can only make a run slower, so the fastest run is the simulator's own.
  double FastestOverWireTime(Port& port, const std::string& burst, int lines,
                             std::size_t replyBytes, double wireBytes) {
    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
      const auto t0 = Steady::now();
      port.Write(burst);
      const std::string replies = port.ReadLines(lines, 10s);
      const double measured = std::chrono::duration<double>(Steady::now() - t0).count();
      EXPECT_EQ(replies.size(), replyBytes);
      best = std::min(best, measured / (wireBytes * 10.0 / GetParam()));
    }
    RecordProperty("fastest_over_wire_time", std::to_string(best));
    return best;
  }
};

// Both directions run at the wire rate: the measured time of a burst must match its byte
// count times 10 bits over the baud rate, and can never be shorter.
TEST_P(QxcamSimPacing, RepliesTakeTheirWireTime) {
  SimProcess sim({"--baud", std::to_string(GetParam())});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  port.Exchange("GA?\r\n");  // warm up the path
  // Replies are the bottleneck: n queries of 5 bytes, n replies of 8 bytes, sent at once.
  // The first query has to arrive before anything comes back.
  const int n = Repeats(40);
  std::string burst;
  for (int i = 0; i < n; ++i) burst += "GA?\r\n";
  const double ratio = FastestOverWireTime(port, burst, n, n * 8, 5 + n * 8.0);
  EXPECT_GE(ratio, 0.995);
  EXPECT_LE(ratio, 1.05);
}

TEST_P(QxcamSimPacing, CommandsTakeTheirWireTimeToArrive) {
  SimProcess sim({"--baud", std::to_string(GetParam())});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  port.Exchange("GA?\r\n");
  // Commands are the bottleneck: n sets of 14 bytes, each answered with 10 bytes. The last
  // acknowledgement can only end 10 byte times after the last command arrived.
  const int n = Repeats(30);
  std::string burst;
  for (int i = 0; i < n; ++i) burst += "PGL0=1048575\r\n";
  const double ratio = FastestOverWireTime(port, burst, n, n * 10, n * 14.0 + 10);
  EXPECT_GE(ratio, 0.995);
  EXPECT_LE(ratio, 1.05);
}

INSTANTIATE_TEST_SUITE_P(Rates, QxcamSimPacing, ::testing::Values(9600, 115200),
                         [](const auto& info) { return "Baud" + std::to_string(info.param); });

TEST(QxcamSimFaults, LatencyDelaysEveryReply) {
  SimProcess sim({"--baud", "115200", "--latency", "120"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  for (int i = 0; i < 2; ++i) {
    const auto t0 = Steady::now();
    EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
    const auto took = Steady::now() - t0;
    EXPECT_GE(took, 120ms);
    EXPECT_LT(took, 220ms);
  }
}

TEST(QxcamSimFaults, DropEveryLeavesEveryNthLineUnanswered) {
  SimProcess sim({"--baud", "115200", "--drop-every", "2"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
  port.Write("GA?\r\n");
  EXPECT_EQ(port.ReadFor(300ms), "");
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
}

TEST(QxcamSimFaults, ErrorEveryAnswersEveryNthLineWithAnError) {
  SimProcess sim({"--baud", "115200", "--error-every", "2"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(port.Exchange("GA?\r\n"), Error(CameraError::BadSyntax));
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
}

TEST(QxcamSimFaults, GarbageEveryPutsNoiseBeforeTheReply) {
  SimProcess sim({"--baud", "115200", "--garbage-every", "1"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  const std::string reply = port.Exchange("GA?\r\n");
  ASSERT_EQ(reply.size(), 12u);
  EXPECT_EQ(reply.substr(4), "GA=100\r\n");
}

TEST(QxcamSimFaults, NoLfEverySendsAReplyWithoutLineFeed) {
  SimProcess sim({"--baud", "115200", "--no-lf-every", "1"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  port.Write("GA?\r\n");
  EXPECT_EQ(port.ReadFor(300ms), "GA=100\r");
}

TEST(QxcamSimFaults, HangupAfterClosesTheLineAndEnds) {
  TempDir dir;
  const std::string link = dir.File("camera");
  SimProcess sim({"--baud", "115200", "--hangup-after", "2", "--link", link});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
  port.Write("GA?\r\n");
  bool hungUp = false;
  EXPECT_EQ(port.ReadFor(2s, &hungUp), "");
  EXPECT_TRUE(hungUp) << "reading the terminal reports the hang-up";
  EXPECT_EQ(sim.Wait(), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(link));
}

TEST(QxcamSim, TranscriptHasAStampedLinePerLineEachWay) {
  TempDir dir;
  const std::string file = dir.File("transcript.txt");
  SimProcess sim({"--baud", "115200", "--transcript", file});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  port.Exchange("GA?\r\n");
  port.Exchange("NOPE?\r\n");
  ASSERT_EQ(sim.Stop(), 0);
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("Z RX GA?"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("Z TX GA=100"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("Z RX NOPE?"), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find("Z TX ERROR 01"), std::string::npos) << lines[3];
  EXPECT_LE(lines[0], lines[1]) << "stamps are in order";
}

TEST(QxcamSim, UserSetsSurviveARestartThroughTheStateFile) {
  TempDir dir;
  const std::string state = dir.File("camera.state");
  {
    SimProcess sim({"--baud", "115200", "--state", state});
    ASSERT_TRUE(sim.Started());
    Port port(sim.SlavePath());
    EXPECT_EQ(port.Exchange("GA=432\r\n"), "COMPLETE\r\n");
    EXPECT_EQ(port.Exchange("SA=2\r\n"), "COMPLETE\r\n");
    EXPECT_EQ(port.Exchange("UD=bench 7\r\n"), "COMPLETE\r\n");
    EXPECT_EQ(sim.Stop(), 0);
  }
  const auto leftovers = std::distance(std::filesystem::directory_iterator(dir.File("")),
                                       std::filesystem::directory_iterator());
  EXPECT_EQ(leftovers, 1) << "no temporary files left beside the state file";
  SimProcess sim({"--baud", "115200", "--state", state});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n") << "the camera boots from the factory area";
  EXPECT_EQ(port.Exchange("LD=2\r\n"), "COMPLETE\r\n");
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=432\r\n");
  EXPECT_EQ(port.Exchange("UD?\r\n"), "UD=bench 7\r\n");
}

TEST(QxcamSim, CorruptStateFileStartsAFreshCamera) {
  TempDir dir;
  const std::string state = dir.File("camera.state");
  std::ofstream(state) << "\x7f"
                       << "ELF garbage";
  SimProcess sim({"--baud", "115200", "--state", state});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
}

TEST(QxcamSim, BadInputGetsErrorLinesAndTheCameraKeepsAnswering) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Started());
  Port port(sim.SlavePath());
  std::string binary;
  for (int i = 0; i < 3000; ++i)
    binary += static_cast<char>((i * 37) % 256 == '\n' ? 1 : (i * 37) % 256);
  port.Write(binary + "\r\n");
  EXPECT_EQ(port.ReadLines(1), Error(CameraError::LineTooLong));
  EXPECT_EQ(port.Exchange("=5\r\n"), Error(CameraError::BadSyntax));
  EXPECT_EQ(port.Exchange("GA=" + std::string(200, '9') + "\r\n"), Error(CameraError::OutOfRange));
  EXPECT_EQ(port.Exchange("GA?\r\n"), "GA=100\r\n");
}

}  // namespace
}  // namespace qx::sim
