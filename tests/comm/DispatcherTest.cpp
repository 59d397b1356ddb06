#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/RegistryStore.h"
#include "comm/CommSettings.h"
#include "comm/SerialPort.h"
#include "comm/TrafficLog.h"
#include "comm/Transport.h"
#include "comm/TransportTestSupport.h"
#include "support/EnvGuard.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"
#include "platform/RegistryHive.h"

namespace qx {
namespace {

using testing::Environment;
using testing::PtyPair;
using test::RecordingDesktop;
using TempFolder = test::TempDir;

// An in-memory transport that records what the dispatcher asked of it. Received bytes are
// handed out in scripted portions, one portion per read call.
class FakeTransport : public Transport {
 public:
  explicit FakeTransport(std::string name) : name_(std::move(name)) {}

  bool Open(int portIndex, int baudRate) override {
    calls.push_back("open " + std::to_string(portIndex) + " " + std::to_string(baudRate));
    open_ = opens;
    return opens && acceptsRate;
  }
  void Close() override {
    calls.push_back("close");
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  int ReadSome(char* buffer, int maxCount, int timeoutMs) override {
    ++reads;
    lastReadTimeout = timeoutMs;
    if (portions.empty()) {
      // Silent: the time-out passes as on a real port.
      std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
      return 0;
    }
    std::string& next = portions.front();
    const int n = std::min<int>(maxCount, static_cast<int>(next.size()));
    std::copy(next.begin(), next.begin() + n, buffer);
    next.erase(0, static_cast<std::size_t>(n));
    if (next.empty()) portions.pop_front();
    return n;
  }
  bool Write(const char* bytes, int count) override {
    written.append(bytes, static_cast<std::size_t>(count));
    return open_;
  }
  int GetPortCount() override { return 3; }
  std::string GetPortName(int index) override { return name_ + std::to_string(index); }

  std::vector<std::string> calls;
  std::deque<std::string> portions;
  std::string written;
  bool opens = true;
  bool acceptsRate = true;
  int reads = 0;
  int lastReadTimeout = -1;

 private:
  std::string name_;
  bool open_ = false;
};

class FakeFactory : public TransportFactory {
 public:
  Transport* TransportFor(int mode) override {
    if (mode < 0 || mode > 3) return nullptr;
    return &transports[static_cast<std::size_t>(mode)];
  }
  std::array<FakeTransport, 4> transports{FakeTransport("serial"), FakeTransport("cl2000-"),
                                          FakeTransport("cl2001-"), FakeTransport("clv11-")};
};

class RecordingSink : public TrafficLogSink {
 public:
  void OnTrafficLine(TrafficDirection direction, std::string_view line) override {
    lines.push_back((direction == TrafficDirection::Tx ? "Tx: " : "Rx: ") + std::string(line));
  }
  std::vector<std::string> lines;
};

class Dispatcher : public ::testing::Test {
 protected:
  Dispatcher() : hive(folder.File("machine.reg")), store(hive) { traffic.AddSink(&sink); }

  FakeTransport& Port(int mode) { return factory.transports[static_cast<std::size_t>(mode)]; }

  TempFolder folder;
  platform::RegistryHive hive;
  CRegistryStore store;
  FakeFactory factory;
  TrafficLog traffic;
  RecordingSink sink;
  CCommSettings settings{store, factory, traffic};
};

TEST_F(Dispatcher, OpenChannel_StoresModeRateAndTheModesPortAndOpensThatTransport) {
  EXPECT_EQ(settings.OpenChannel(CCommSettings::kCameraLink2001, 19200, 2), 1);
  EXPECT_EQ(settings.GetMode(), 2);
  EXPECT_EQ(settings.GetBaudRate(), 19200);
  EXPECT_EQ(settings.GetPortIndex(2), 2);
  EXPECT_EQ(settings.GetCurrentPortIndex(), 2);
  EXPECT_EQ(settings.GetPortIndex(0), 0);
  EXPECT_EQ(Port(2).calls, (std::vector<std::string>{"open 2 19200"}));
}

TEST_F(Dispatcher, ChangingMode_ClosesTheOldTransportFirstAndDoesNotReopenItOnFailure) {
  ASSERT_EQ(settings.OpenChannel(0, 9600, 4), 1);
  Port(3).opens = false;
  EXPECT_EQ(settings.OpenChannel(3, 9600, 1), 0);
  // The first open closes the transport of the stored mode (0) too.
  EXPECT_EQ(Port(0).calls, (std::vector<std::string>{"close", "open 4 9600", "close"}));
  EXPECT_FALSE(Port(0).IsOpen());
  EXPECT_EQ(settings.GetMode(), 3);
  EXPECT_EQ(settings.GetPortIndex(0), 4);
}

TEST_F(Dispatcher, RefusedRate_FailsTheOpen) {
  Port(1).acceptsRate = false;
  EXPECT_EQ(settings.OpenChannel(1, 19200, 0), 0);
}

TEST_F(Dispatcher, OpenModeChangeBaudRateChangePortAndReopen_UseTheStoredParts) {
  settings.SetPortIndex(1, 5);
  settings.SetBaudRate(57600);
  EXPECT_EQ(settings.OpenMode(1), 1);
  EXPECT_EQ(Port(1).calls.back(), "open 5 57600");
  EXPECT_EQ(settings.ChangeBaudRate(115200), 1);
  EXPECT_EQ(Port(1).calls.back(), "open 5 115200");
  EXPECT_EQ(settings.ChangePort(7), 1);
  EXPECT_EQ(Port(1).calls.back(), "open 7 115200");
  EXPECT_EQ(settings.GetPortIndex(1), 7);
  EXPECT_EQ(settings.Reopen(), 1);
  EXPECT_EQ(Port(1).calls,
            (std::vector<std::string>{"open 5 57600", "close", "open 5 115200", "close",
                                      "open 7 115200", "close", "open 7 115200"}));
}

TEST_F(Dispatcher, ModeOutsideTheRange_RefusesEverything) {
  EXPECT_EQ(settings.OpenChannel(7, 9600, 0), 0);
  EXPECT_EQ(settings.GetMode(), 7);
  EXPECT_EQ(settings.GetPortCount(), 0);
  EXPECT_EQ(settings.GetPortName(0), "ERROR");
  EXPECT_EQ(settings.GetCurrentPortIndex(), 0);
  EXPECT_EQ(settings.WriteLine("GA?\r\n"), 0);
  EXPECT_TRUE(sink.lines.empty());
  char byte;
  EXPECT_EQ(settings.ReadBytes(&byte, 1, 10), 0);
}

TEST_F(Dispatcher, PortCountAndNames_ComeFromTheCurrentModesTransport) {
  settings.SetMode(2);
  EXPECT_EQ(settings.GetPortCount(), 3);
  EXPECT_EQ(settings.GetPortName(1), "cl2001-1");
}

TEST_F(Dispatcher, WriteLine_SendsTheLineAsItIsEvenWhenTheTransportFails) {
  settings.SetMode(0);  // the port was never opened: the write fails
  EXPECT_EQ(settings.WriteLine("GA?\r\n"), 1);
  EXPECT_EQ(Port(0).written, "GA?\r\n");
  EXPECT_EQ(sink.lines, (std::vector<std::string>{"Tx: GA?"}));
}

class WriteLineLogging : public Dispatcher,
                         public ::testing::WithParamInterface<std::pair<const char*, const char*>> {
};

TEST_P(WriteLineLogging, LogsTheLineWithoutItsTrailingLineEndRun) {
  ASSERT_EQ(settings.OpenChannel(1, 9600, 0), 1);
  EXPECT_EQ(settings.WriteLine(GetParam().first), 1);
  EXPECT_EQ(Port(1).written, GetParam().first);
  EXPECT_EQ(sink.lines, (std::vector<std::string>{std::string("Tx: ") + GetParam().second}));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, WriteLineLogging,
                         ::testing::Values(std::pair{"GA?\r\n", "GA?"}, std::pair{"GA?", "GA?"},
                                           std::pair{"SA\n\r\n\r", "SA"},
                                           std::pair{"A\rB\r\n", "A\rB"}, std::pair{"\r\n", ""}));

TEST_F(Dispatcher, ReadBytes_ReturnsAsSoonAsTheCountArrived) {
  ASSERT_EQ(settings.OpenChannel(0, 9600, 0), 1);
  Port(0).portions = {"CO", "MPLETE\r", "\nextra"};
  char buffer[16] = {};
  EXPECT_EQ(settings.ReadBytes(buffer, 10, 60000), 10);
  EXPECT_EQ(std::string(buffer, 10), "COMPLETE\r\n");
  EXPECT_EQ(Port(0).reads, 3);
  EXPECT_EQ(Port(0).portions.front(), "extra");
}

TEST_F(Dispatcher, ReadBytes_HandsTheTransportTheTimeLeft) {
  ASSERT_EQ(settings.OpenChannel(0, 9600, 0), 1);
  Port(0).portions = {"A"};
  char buffer[2];
  EXPECT_EQ(settings.ReadBytes(buffer, 2, 30), 1);
  EXPECT_GE(Port(0).reads, 2);
  EXPECT_LE(Port(0).lastReadTimeout, 30);
}

TEST_F(Dispatcher, ReadBytes_WithZeroTimeOutStillMakesOneAttempt) {
  ASSERT_EQ(settings.OpenChannel(0, 9600, 0), 1);
  Port(0).portions = {"X"};
  char byte = 0;
  EXPECT_EQ(settings.ReadBytes(&byte, 1, 0), 1);
  EXPECT_EQ(byte, 'X');
}

class BaudRateSelector : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(BaudRateSelector, IndexAndRateConvertBothWays) {
  const auto [index, rate] = GetParam();
  EXPECT_EQ(CCommSettings::BaudRateOfSelectorIndex(index), rate);
  EXPECT_EQ(CCommSettings::SelectorIndexOfBaudRate(rate), index);
}

INSTANTIATE_TEST_SUITE_P(Table, BaudRateSelector,
                         ::testing::Values(std::pair{0, 9600}, std::pair{1, 19200},
                                           std::pair{2, 38400}, std::pair{3, 57600},
                                           std::pair{4, 115200}));

TEST(BaudRateSelectorOutside, UnknownIndexGives9600AndUnknownRateGivesIndex0) {
  EXPECT_EQ(CCommSettings::BaudRateOfSelectorIndex(5), 9600);
  EXPECT_EQ(CCommSettings::BaudRateOfSelectorIndex(-1), 9600);
  EXPECT_EQ(CCommSettings::SelectorIndexOfBaudRate(230400), 0);
  EXPECT_EQ(CCommSettings::SelectorIndexOfBaudRate(0), 0);
}

// The dispatcher over a real PC serial port on a pseudo-terminal.
class DispatcherOnPty : public ::testing::Test {
 protected:
  class SerialOnly : public TransportFactory {
   public:
    explicit SerialOnly(CSerialPort& port) : port_(port) {}
    Transport* TransportFor(int mode) override { return mode == 0 ? &port_ : nullptr; }

   private:
    CSerialPort& port_;
  };

  DispatcherOnPty() : hive(folder.File("machine.reg")), store(hive) {}

  PtyPair pty;
  RecordingDesktop desktop;
  TempFolder folder;
  platform::RegistryHive hive;
  CRegistryStore store;
  CSerialPort port{
      desktop, platform::ComPortMap(Environment({{"QXTOOL_COM1", pty.SlavePath()},
                                                 {"QXTOOL_COM5", "/dev/qxtool-no-such-device"}}))};
  SerialOnly factory{port};
  TrafficLog traffic;
  CCommSettings settings{store, factory, traffic};
};

TEST_F(DispatcherOnPty, ReadBytes_CollectsALineSentInPiecesAndStopsAtTheCount) {
  ASSERT_TRUE(pty.Ok());
  ASSERT_EQ(settings.OpenChannel(0, 115200, 0), 1);
  EXPECT_EQ(settings.WriteLine("GA?\r\n"), 1);
  EXPECT_EQ(pty.Receive(5), "GA?\r\n");
  pty.Send("GA=");
  pty.Send("12\r\nnext");
  char buffer[16] = {};
  EXPECT_EQ(settings.ReadBytes(buffer, 7, 60000), 7);
  EXPECT_EQ(std::string(buffer, 7), "GA=12\r\n");
  EXPECT_EQ(settings.ReadBytes(buffer, 4, 60000), 4);
  EXPECT_EQ(std::string(buffer, 4), "next");
}

TEST_F(DispatcherOnPty, ReadBytes_OnASilentPortReturnsNothingAfterItsTimeOut) {
  ASSERT_TRUE(pty.Ok());
  ASSERT_EQ(settings.OpenChannel(0, 9600, 0), 1);
  char byte;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(settings.ReadBytes(&byte, 1, 10), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
}

TEST_F(DispatcherOnPty, PortIndexWithoutADevice_FailsWithTheCreateFileMessage) {
  ASSERT_EQ(settings.OpenChannel(0, 9600, 4), 0);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(
      desktop.boxes[0].text.rfind("Failed to initialize COM5 port!\nError in CreateFile()", 0),
      0u);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(settings.GetPortIndex(0), 4);
}

TEST_F(DispatcherOnPty, ChangeBaudRate_ReopensThePortAtTheNewRate) {
  ASSERT_TRUE(pty.Ok());
  ASSERT_EQ(settings.OpenChannel(0, 9600, 0), 1);
  EXPECT_EQ(settings.ChangeBaudRate(115200), 1);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(settings.GetBaudRate(), 115200);
  settings.CloseChannel();
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace qx
