#include "platform/SerialDevice.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <string>
#include <thread>

#include "comm/TransportTestSupport.h"
#include "support/EnvGuard.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"

namespace qx::platform {
namespace {

using qx::testing::PtyPair;

SerialLineSettings AtRate(int baudRate) {
  SerialLineSettings settings;
  settings.baudRate = baudRate;
  return settings;
}

class SerialDeviceOnPty : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty.Ok()); }
  PtyPair pty;
};

TEST_F(SerialDeviceOnPty, Open_SetsRawEightBitsAtTheRequestedRate) {
  SerialDevice device;
  ASSERT_EQ(device.Open(pty.SlavePath(), AtRate(115200)), std::nullopt);
  // Both ends of a pseudo-terminal share one set of line settings.
  termios applied{};
  ASSERT_EQ(::tcgetattr(pty.MasterFd(), &applied), 0);
  EXPECT_EQ(::cfgetospeed(&applied), static_cast<speed_t>(B115200));
  EXPECT_EQ(::cfgetispeed(&applied), static_cast<speed_t>(B115200));
  EXPECT_EQ(applied.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(applied.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(applied.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(applied.c_iflag & (IXON | IXOFF | ICRNL | INPCK), 0u);
  EXPECT_EQ(applied.c_oflag & OPOST, 0u);
  EXPECT_EQ(applied.c_cc[VMIN], 0);
  EXPECT_EQ(applied.c_cc[VTIME], 0);
}

TEST_F(SerialDeviceOnPty, BytesPassUnchangedBothWays) {
  SerialDevice device;
  ASSERT_EQ(device.Open(pty.SlavePath(), AtRate(9600)), std::nullopt);
  // CR, LF, DC1/DC3 and NUL must not be translated or eaten in raw mode.
  const std::string bytes("A\r\n\x11\x13\0\xff", 7);
  ASSERT_TRUE(device.WriteAll(bytes.data(), bytes.size(), 5000));
  EXPECT_EQ(pty.Receive(bytes.size()), bytes);
  pty.Send(bytes);
  std::string got;
  while (got.size() < bytes.size()) {
    ASSERT_EQ(device.Wait(), SerialDevice::WaitResult::Readable);
    char buffer[16];
    const auto result = device.Read(buffer, sizeof buffer);
    ASSERT_FALSE(result.hungUp);
    got.append(buffer, result.count);
  }
  EXPECT_EQ(got, bytes);
}

TEST_F(SerialDeviceOnPty, WriteAll_WaitsForRoomInsteadOfDroppingALongWrite) {
  SerialDevice device;
  ASSERT_EQ(device.Open(pty.SlavePath(), AtRate(115200)), std::nullopt);
  // More than the pseudo-terminal buffers: the writer must wait for the reader.
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('0' + i % 10);
  std::string got;
  std::thread reader([&] { got = pty.Receive(big.size(), 30000); });
  EXPECT_TRUE(device.WriteAll(big.data(), big.size(), 30000));
  reader.join();
  EXPECT_EQ(got, big);
}

TEST_F(SerialDeviceOnPty, Wake_ReleasesAWaitFromAnotherThread) {
  SerialDevice device;
  ASSERT_EQ(device.Open(pty.SlavePath(), AtRate(9600)), std::nullopt);
  SerialDevice::WaitResult result = SerialDevice::WaitResult::Readable;
  std::thread waiter([&] { result = device.Wait(); });
  device.Wake();
  waiter.join();
  EXPECT_EQ(result, SerialDevice::WaitResult::WokenUp);
}

TEST_F(SerialDeviceOnPty, Hangup_IsReportedByWaitOrRead) {
  SerialDevice device;
  ASSERT_EQ(device.Open(pty.SlavePath(), AtRate(9600)), std::nullopt);
  pty.Hangup();
  const auto event = device.Wait();
  if (event == SerialDevice::WaitResult::Readable) {
    char buffer[4];
    EXPECT_TRUE(device.Read(buffer, sizeof buffer).hungUp);
  } else {
    EXPECT_EQ(event, SerialDevice::WaitResult::HungUp);
  }
}

TEST_F(SerialDeviceOnPty, SecondOpen_FailsAtTheOpenStepAsBusy) {
  SerialDevice first;
  SerialDevice second;
  ASSERT_EQ(first.Open(pty.SlavePath(), AtRate(9600)), std::nullopt);
  const auto failure = second.Open(pty.SlavePath(), AtRate(9600));
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->step, SerialOpenStep::Open);
  EXPECT_TRUE(failure->error == EWOULDBLOCK || failure->error == EBUSY) << failure->error;
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(first.IsOpen());
  first.Close();
  EXPECT_EQ(second.Open(pty.SlavePath(), AtRate(9600)), std::nullopt);
}

#ifdef TIOCGEXCL
// A simulator or a getty may keep the terminal open while the tool closes and reopens it;
// the exclusive mode must end with the tool's close, and a refused open must not end the
// exclusive mode of the tool that holds the line.
TEST_F(SerialDeviceOnPty, ExclusiveModeEndsWithCloseAndSurvivesARefusedOpen) {
  platform::UniqueFd bystander(::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  ASSERT_TRUE(bystander);
  auto exclusive = [&] {
    int flag = -1;
    return ::ioctl(bystander.get(), TIOCGEXCL, &flag) == 0 ? flag : -1;
  };
  SerialDevice device;
  ASSERT_EQ(device.Open(pty.SlavePath(), AtRate(9600)), std::nullopt);
  EXPECT_EQ(exclusive(), 1);
  SerialDevice refused;
  ASSERT_TRUE(refused.Open(pty.SlavePath(), AtRate(9600)).has_value());
  EXPECT_EQ(exclusive(), 1);
  device.Close();
  EXPECT_EQ(exclusive(), 0);
}
#endif

TEST_F(SerialDeviceOnPty, RateTheDriverDoesNotOffer_FailsAtTheSettingsStepAndCloses) {
  SerialDevice device;
  const auto failure = device.Open(pty.SlavePath(), AtRate(12345));
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->step, SerialOpenStep::WriteSettings);
  EXPECT_NE(failure->detail.find("12345"), std::string::npos);
  EXPECT_FALSE(device.IsOpen());
}

TEST(SerialDevice, UnmappedPortFailsAtTheOpenStep) {
  SerialDevice device;
  const auto failure = device.Open("", AtRate(9600));
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->step, SerialOpenStep::Open);
}

TEST(SerialDevice, ClosedDeviceNeitherReadsNorWrites) {
  SerialDevice device;
  char byte;
  EXPECT_EQ(device.Read(&byte, 1).count, 0u);
  EXPECT_FALSE(device.WriteAll("x", 1, 10));
  EXPECT_EQ(device.Wait(), SerialDevice::WaitResult::HungUp);
  device.Wake();  // harmless
}

}  // namespace
}  // namespace qx::platform
