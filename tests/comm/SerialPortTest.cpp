#include "comm/SerialPort.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "comm/TransportTestSupport.h"
#include "support/EnvGuard.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"

namespace qx {
namespace {

using testing::Environment;
using testing::PtyPair;
using test::RecordingDesktop;
using TempFolder = test::TempDir;

class SerialPortOnPty : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty.Ok()); }

  // COM1 is the pseudo-terminal; COM5 names a device that does not exist.
  platform::ComPortMap Ports() {
    return platform::ComPortMap(Environment(
        {{"QXTOOL_COM1", pty.SlavePath()}, {"QXTOOL_COM5", "/dev/qxtool-no-such-device"}}));
  }

  PtyPair pty;
  RecordingDesktop desktop;
};

TEST_F(SerialPortOnPty, Open_ReceivesBytesFromTheLineInOrder) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 115200, 8, 0, 0, 0), 1);
  EXPECT_TRUE(port.IsOpen());
  pty.Send("GA=12\r\n");
  char buffer[16] = {};
  int total = 0;
  while (total < 7) {
    const int n = port.ReadSome(buffer + total, 7 - total, 5000);
    ASSERT_GT(n, 0);
    total += n;
  }
  EXPECT_EQ(std::string(buffer, 7), "GA=12\r\n");
  EXPECT_EQ(port.GetUnreadCount(), 0);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(SerialPortOnPty, Write_PutsTheWholeLineOnTheWire) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
  const std::string line = "SQW3=1936\r\n";
  EXPECT_TRUE(port.Write(line.data(), static_cast<int>(line.size())));
  EXPECT_EQ(pty.Receive(line.size()), line);
}

TEST_F(SerialPortOnPty, WriteAndRead_RefuseWhenClosedOrEmpty) {
  CSerialPort port(desktop, Ports());
  char byte = 0;
  EXPECT_FALSE(port.Write("GA?\r\n", 5));
  EXPECT_EQ(port.Read(&byte, 1), 0);
  ASSERT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
  EXPECT_FALSE(port.Write("GA?\r\n", 0));
  EXPECT_EQ(port.Read(&byte, 0), 0);
  EXPECT_EQ(port.Read(&byte, 1), 0);
}

// A reader blocked for a reply must wake when the bytes land, not when its time-out ends.
TEST_F(SerialPortOnPty, ReadSome_WakesAsSoonAsBytesArrive) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 115200, 8, 0, 0, 0), 1);
  std::thread camera([&] {
    // Reply only once the reader is waiting (its first look found nothing).
    pty.Send("COMPLETE\r\n");
  });
  char buffer[16];
  const auto start = std::chrono::steady_clock::now();
  const int n = port.ReadSome(buffer, sizeof buffer, 60000);
  const auto waited = std::chrono::steady_clock::now() - start;
  camera.join();
  EXPECT_GT(n, 0);
  // Far below the time-out: a lost wake-up would have waited the full minute.
  EXPECT_LT(waited, std::chrono::seconds(30));
}

TEST_F(SerialPortOnPty, ReadSome_AfterCloseWaitsOutItsTimeOutWithoutData) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
  pty.Send("unread");
  ASSERT_TRUE(port.WaitUntilReceived(6, 5000));
  port.Close();
  char buffer[8];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.ReadSome(buffer, sizeof buffer, 30), 0);
  // Returning at once would make a caller polling until its deadline spin.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  EXPECT_EQ(port.GetUnreadCount(), 0);
}

TEST_F(SerialPortOnPty, Reopen_StartsWithAnEmptyBuffer) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
  pty.Send("stale");
  ASSERT_TRUE(port.WaitUntilReceived(5, 5000));
  ASSERT_EQ(port.Open("COM1", 19200, 8, 0, 0, 0), 1);
  EXPECT_EQ(port.GetUnreadCount(), 0);
  pty.Send("X");
  char byte = 0;
  EXPECT_EQ(port.ReadSome(&byte, 1, 5000), 1);
  EXPECT_EQ(byte, 'X');
}

TEST_F(SerialPortOnPty, Overrun_DropsAndCountsBytesBeyondTheBufferAndKeepsTheOldest) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 115200, 8, 0, 0, 0), 1);
  std::string first(CSerialPort::kReceiveBufferSize, 'a');
  for (std::size_t i = 0; i < first.size(); ++i) first[i] = static_cast<char>('a' + i % 26);
  pty.Send(first);
  ASSERT_TRUE(port.WaitUntilReceived(first.size(), 5000));
  pty.Send(std::string(300, '#'));
  ASSERT_TRUE(port.WaitUntilReceived(first.size() + 300, 5000));
  EXPECT_EQ(port.GetUnreadCount(), static_cast<int>(CSerialPort::kReceiveBufferSize));
  EXPECT_EQ(port.GetDroppedCount(), 300u);
  std::string got(2000, '\0');
  got.resize(static_cast<std::size_t>(port.Read(got.data(), 2000)));
  EXPECT_EQ(got, first);
}

TEST_F(SerialPortOnPty, Unplug_EndsTheReceiveThreadAndLaterReadsReturnNothing) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
  pty.Send("GA=");
  ASSERT_TRUE(port.WaitUntilReceived(3, 5000));
  pty.Hangup();
  EXPECT_TRUE(port.WaitUntilReceiveEnded(5000));
  EXPECT_FALSE(port.IsReceiving());
  // What arrived before the plug was pulled is still handed on, then nothing.
  char buffer[8];
  EXPECT_EQ(port.ReadSome(buffer, sizeof buffer, 10), 3);
  EXPECT_EQ(port.ReadSome(buffer, sizeof buffer, 20), 0);
  port.Write("GA?\r\n", 5);  // must not crash or hang
  port.Close();
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortOnPty, CloseWhileTheReceiveThreadWaits_EndsTheThreadThenClosesTheDevice) {
  CSerialPort port(desktop, Ports());
  ASSERT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
  EXPECT_TRUE(port.IsReceiving());
  port.Close();
  EXPECT_FALSE(port.IsReceiving());
  EXPECT_FALSE(port.IsOpen());
  // The device is free again for the next open.
  EXPECT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
}

TEST_F(SerialPortOnPty, MissingDevice_ShowsCreateFileMessageAndStaysClosed) {
  CSerialPort port(desktop, Ports());
  EXPECT_EQ(port.Open("COM5", 9600, 8, 0, 0, 0), 0);
  EXPECT_FALSE(port.IsOpen());
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(
      desktop.boxes[0].text.rfind("Failed to initialize COM5 port!\nError in CreateFile()", 0),
      0u)
      << desktop.boxes[0].text;
  EXPECT_NE(desktop.boxes[0].text.find("/dev/qxtool-no-such-device"), std::string::npos);
  EXPECT_EQ(desktop.boxes[0].icon, ui::MessageIcon::Exclamation);
  EXPECT_EQ(desktop.boxes[0].caption, "");
}

TEST_F(SerialPortOnPty, DeviceBusy_SecondOpenFailsWithCreateFileMessage) {
  CSerialPort first(desktop, Ports());
  CSerialPort second(desktop, Ports());
  ASSERT_EQ(first.Open("COM1", 9600, 8, 0, 0, 0), 1);
  EXPECT_EQ(second.Open("COM1", 9600, 8, 0, 0, 0), 0);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "Failed to initialize COM1 port!\nError in CreateFile()\n(" +
                                          pty.SlavePath() + ": in use by another program)");
  EXPECT_FALSE(second.IsOpen());
  // The first user keeps its line.
  pty.Send("Z");
  char byte = 0;
  EXPECT_EQ(first.ReadSome(&byte, 1, 5000), 1);
}

// The open failure's text when opening COM1 without the right to, run in a child process
// that gives up root first (root may open any device). Empty when that is not possible.
std::optional<std::string> OpenWithoutPermission(const std::string& device) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(2);
    }
    RecordingDesktop desktop;
    CSerialPort port(desktop, platform::ComPortMap(Environment({{"QXTOOL_COM1", device}})));
    if (port.Open("COM1", 9600, 8, 0, 0, 0) != 0 || desktop.boxes.size() != 1) ::_exit(1);
    const std::string& text = desktop.boxes[0].text;
    (void)!::write(pipeFds[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) return std::nullopt;
  return text;
}

TEST_F(SerialPortOnPty, PermissionDenied_NamesTheSerialGroup) {
  ASSERT_EQ(::chmod(pty.SlavePath().c_str(), 0), 0);
  const auto text = OpenWithoutPermission(pty.SlavePath());
  if (!text) GTEST_SKIP() << "cannot give up root to provoke a refused open";
  EXPECT_EQ(text->rfind("Failed to initialize COM1 port!\nError in CreateFile()\n(" +
                            pty.SlavePath() + ": Permission denied",
                        0),
            0u)
      << *text;
  EXPECT_NE(text->find("is the user in the"), std::string::npos) << *text;
}

TEST_F(SerialPortOnPty, UnsupportedRate_ShowsSetCommStateMessage) {
  CSerialPort port(desktop, Ports());
  EXPECT_EQ(port.Open("COM1", 12345, 8, 0, 0, 0), 0);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(
      desktop.boxes[0].text.rfind("Failed to initialize COM1 port!\nError in SetCommState()", 0),
      0u)
      << desktop.boxes[0].text;
  EXPECT_FALSE(port.IsOpen());
  // Nothing was left locked by the failed attempt.
  EXPECT_EQ(port.Open("COM1", 9600, 8, 0, 0, 0), 1);
}

TEST(SerialPort, NotASerialDevice_ShowsCreateFileMessage) {
  TempFolder folder;
  std::ofstream(folder.File("plain")) << "not a tty";
  RecordingDesktop desktop;
  CSerialPort port(desktop,
                   platform::ComPortMap(Environment({{"QXTOOL_COM2", folder.File("plain")}})));
  EXPECT_EQ(port.Open("COM2", 9600, 8, 0, 0, 0), 0);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "Failed to initialize COM2 port!\nError in CreateFile()\n(" +
                                          folder.File("plain") + ": not a serial device)");
}

struct StepMessage {
  platform::SerialOpenStep step;
  const char* text;
};

class SerialOpenFailureText : public ::testing::TestWithParam<StepMessage> {};

TEST_P(SerialOpenFailureText, NamesThePortAndTheStep) {
  const platform::SerialOpenFailure failure{GetParam().step, 0, ""};
  EXPECT_EQ(SerialOpenFailureMessage("COM3", failure), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    EverySetupStep, SerialOpenFailureText,
    ::testing::Values(StepMessage{platform::SerialOpenStep::Open,
                                  "Failed to initialize COM3 port!\nError in CreateFile()"},
                      StepMessage{platform::SerialOpenStep::EventSetup,
                                  "Failed to initialize COM3 port!\nError in SetCommMask()"},
                      StepMessage{platform::SerialOpenStep::QueueSetup,
                                  "Failed to initialize COM3 port!\nError in SetupComm()"},
                      StepMessage{platform::SerialOpenStep::Timeouts,
                                  "Failed to initialize COM3 port!\nError in SetCommTimeouts()"},
                      StepMessage{platform::SerialOpenStep::ReadSettings,
                                  "Failed to initialize COM3 port!\nError in GetCommState()"},
                      StepMessage{platform::SerialOpenStep::WriteSettings,
                                  "Failed to initialize COM3 port!\nError in SetCommState()"}));

}  // namespace
}  // namespace qx
