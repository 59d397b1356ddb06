// The PC serial port and the dispatcher against the simulated camera on a real
// pseudo-terminal, wired as the application context wires them.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "comm/CommSettings.h"
#include "comm/SerialPort.h"
#include "comm/TransportTestSupport.h"
#include "support/EnvGuard.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"
#include "support/SimProcess.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

using testing::ReadReply;

using testing::Environment;
using test::RecordingDesktop;
using test::SimProcess;
using TempFolder = test::TempDir;

class TrafficRecorder : public TrafficLogSink {
 public:
  void OnTrafficLine(TrafficDirection direction, std::string_view line) override {
    lines.push_back((direction == TrafficDirection::Tx ? "Tx: " : "Rx: ") + std::string(line));
  }
  std::vector<std::string> lines;
};


class TransportWithSimulatedCamera : public ::testing::Test {
 protected:
  AppOptions Options(const std::string& device) {
    AppOptions options;
    options.registryPath = folder.File("machine.reg");
    options.environment = Environment({{"QXTOOL_COM1", device}});
    return options;
  }

  TempFolder folder;
  RecordingDesktop desktop;
  ui::ResourceRegistry resources;
  ui::WindowSystem windows{resources};
};

TEST_F(TransportWithSimulatedCamera, QueryAndSet_TravelOverTheSerialPort) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Ok());
  AppContext context(windows, desktop, Options(sim.SlavePath()));
  TrafficRecorder traffic;
  context.Traffic().AddSink(&traffic);
  CCommSettings& channel = context.CommSettings();
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kRs232c, 115200, 0), 1);

  EXPECT_EQ(channel.WriteLine("GA?\r\n"), 1);
  EXPECT_EQ(ReadReply(channel, 5000), "GA=100\r\n");
  EXPECT_EQ(channel.WriteLine("GA=200\r\n"), 1);
  EXPECT_EQ(ReadReply(channel, 5000), "COMPLETE\r\n");
  EXPECT_EQ(channel.WriteLine("GA?\r\n"), 1);
  EXPECT_EQ(ReadReply(channel, 5000), "GA=200\r\n");
  EXPECT_EQ(traffic.lines, (std::vector<std::string>{"Tx: GA?", "Tx: GA=200", "Tx: GA?"}));
  EXPECT_TRUE(desktop.boxes.empty());
  context.Traffic().RemoveSink(&traffic);
}

TEST_F(TransportWithSimulatedCamera, ReadBytes_ReturnsOnceTheWholeReplyIsThere) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Ok());
  AppContext context(windows, desktop, Options(sim.SlavePath()));
  CCommSettings& channel = context.CommSettings();
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kRs232c, 115200, 0), 1);
  channel.WriteLine("GA=300\r\n");
  char reply[10] = {};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(channel.ReadBytes(reply, 10, 60000), 10);
  EXPECT_EQ(std::string(reply, 10), "COMPLETE\r\n");
  // Well before the time-out: the read ended when the bytes were there.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(TransportWithSimulatedCamera, CloseAndReopen_TalksToTheCameraAgain) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Ok());
  AppContext context(windows, desktop, Options(sim.SlavePath()));
  CCommSettings& channel = context.CommSettings();
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kRs232c, 115200, 0), 1);
  channel.CloseChannel();
  EXPECT_FALSE(context.SerialPort().IsOpen());
  ASSERT_EQ(channel.Reopen(), 1);
  channel.WriteLine("GA?\r\n");
  EXPECT_EQ(ReadReply(channel, 5000).rfind("GA=", 0), 0u);
}

TEST_F(TransportWithSimulatedCamera, SecondToolOnTheSameLine_IsRefusedAsBusy) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Ok());
  AppContext first(windows, desktop, Options(sim.SlavePath()));
  ASSERT_EQ(first.CommSettings().OpenChannel(CCommSettings::kRs232c, 115200, 0), 1);
  RecordingDesktop otherDesktop;
  CSerialPort other(otherDesktop,
                    platform::ComPortMap(Environment({{"QXTOOL_COM1", sim.SlavePath()}})));
  EXPECT_FALSE(other.Open(0, 115200));
  ASSERT_EQ(otherDesktop.boxes.size(), 1u);
  EXPECT_EQ(otherDesktop.boxes[0].text.rfind(
                "Failed to initialize COM1 port!\nError in CreateFile()", 0),
            0u);
}

TEST_F(TransportWithSimulatedCamera, HangupMidConversation_EndsReceivingAndLaterReadsTimeOut) {
  SimProcess sim({"--baud", "115200", "--hangup-after", "2"});
  ASSERT_TRUE(sim.Ok());
  AppContext context(windows, desktop, Options(sim.SlavePath()));
  CCommSettings& channel = context.CommSettings();
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kRs232c, 115200, 0), 1);
  channel.WriteLine("GA?\r\n");
  EXPECT_EQ(ReadReply(channel, 5000), "GA=100\r\n");
  // The camera hangs up after its second answer (which a pseudo-terminal may discard on the
  // hang-up). A read waiting then ends at its time-out.
  channel.WriteLine("GA?\r\n");
  char byte;
  (void)channel.ReadBytes(&byte, 1, 100);
  EXPECT_TRUE(sim.WaitForExit(10000));
  EXPECT_TRUE(context.SerialPort().WaitUntilReceiveEnded(10000));
  char buffer[16];
  while (channel.ReadBytes(buffer, sizeof buffer, 0) > 0) {
  }
  EXPECT_EQ(channel.WriteLine("GA?\r\n"), 1);
  EXPECT_EQ(channel.ReadBytes(&byte, 1, 50), 0);
  channel.CloseChannel();  // returns: the receive thread has ended
  EXPECT_FALSE(context.SerialPort().IsOpen());
}

TEST_F(TransportWithSimulatedCamera, NormalExitWithTheChannelOpen_ClosesItAndKeepsTheSettings) {
  SimProcess sim({"--baud", "115200"});
  ASSERT_TRUE(sim.Ok());
  {
    AppContext context(windows, desktop, Options(sim.SlavePath()));
    ASSERT_EQ(context.CommSettings().OpenChannel(CCommSettings::kRs232c, 57600, 0), 1);
  }
  AppContext next(windows, desktop, Options(sim.SlavePath()));
  EXPECT_EQ(next.CommSettings().GetBaudRate(), 57600);
  // The line was released: it opens again.
  EXPECT_EQ(next.CommSettings().Reopen(), 1);
}

}  // namespace
}  // namespace qx
