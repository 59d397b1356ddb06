#include "platform/SerialDevice.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#if __has_include(<linux/serial.h>)
#include <linux/serial.h>
#endif

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/Clock.h"

namespace qx::platform {

namespace {

struct SpeedEntry {
  int rate;
  speed_t speed;
};

constexpr std::array kSpeeds = {
    SpeedEntry{50, B50},           SpeedEntry{75, B75},           SpeedEntry{110, B110},
    SpeedEntry{134, B134},         SpeedEntry{150, B150},         SpeedEntry{200, B200},
    SpeedEntry{300, B300},         SpeedEntry{600, B600},         SpeedEntry{1200, B1200},
    SpeedEntry{1800, B1800},       SpeedEntry{2400, B2400},       SpeedEntry{4800, B4800},
    SpeedEntry{9600, B9600},       SpeedEntry{19200, B19200},     SpeedEntry{38400, B38400},
    SpeedEntry{57600, B57600},     SpeedEntry{115200, B115200},   SpeedEntry{230400, B230400},
#ifdef B460800
    SpeedEntry{460800, B460800},   SpeedEntry{500000, B500000},   SpeedEntry{576000, B576000},
    SpeedEntry{921600, B921600},   SpeedEntry{1000000, B1000000}, SpeedEntry{1152000, B1152000},
    SpeedEntry{1500000, B1500000}, SpeedEntry{2000000, B2000000}, SpeedEntry{2500000, B2500000},
    SpeedEntry{3000000, B3000000}, SpeedEntry{3500000, B3500000}, SpeedEntry{4000000, B4000000},
#endif
};

std::optional<speed_t> SpeedFor(int rate) {
  for (const auto& entry : kSpeeds) {
    if (entry.rate == rate) return entry.speed;
  }
  return std::nullopt;
}

// The group that may open the device ("dialout" on Debian and Ubuntu, "uucp" on Arch).
std::string DeviceGroup(const std::string& path) {
  struct stat info {};
  // Nobody should be told to join root's group; a device owned by it gets the usual name.
  if (::stat(path.c_str(), &info) == 0 && info.st_gid != 0) {
    std::array<char, 1024> buffer{};
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->gr_name && *found->gr_name) {
      return found->gr_name;
    }
  }
  return "dialout";
}

std::string OpenDetail(const std::string& path, int error) {
  std::string detail = path + ": ";
  switch (error) {
    case EACCES:
    case EPERM:
      return detail + std::strerror(error) + " \xE2\x80\x94 is the user in the " +
             DeviceGroup(path) + " group?";
    case EBUSY:
    case EWOULDBLOCK:
      return detail + "in use by another program";
    case ENOENT:
    case ENXIO:
    case ENODEV:
      return detail + "no such device";
    case ENOTTY:
      return detail + "not a serial device";
    default:
      return detail + std::strerror(error);
  }
}

SerialOpenFailure Failure(SerialOpenStep step, int error, const std::string& detail) {
  return SerialOpenFailure{step, error, detail};
}

}  // namespace

bool IsStandardBaudRate(int baudRate) {
  return SpeedFor(baudRate).has_value();
}

std::optional<SerialOpenFailure> SerialDevice::Open(const std::string& path,
                                                    const SerialLineSettings& settings) {
  Close();
  path_ = path;
  if (path.empty()) {
    return Failure(SerialOpenStep::Open, ENOENT, "no device is mapped to this port");
  }
  auto failure = OpenSteps(settings);
  if (failure) Close();
  return failure;
}

std::optional<SerialOpenFailure> SerialDevice::OpenSteps(const SerialLineSettings& settings) {
  // O_NONBLOCK: without a carrier a blocking open of a UART would hang. O_NOCTTY: the camera
  // line must never become our controlling terminal.
  fd_.reset(::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd_) return Failure(SerialOpenStep::Open, errno, OpenDetail(path_, errno));
  // Two tools on one camera line would answer each other's replies. flock holds even for
  // root (TIOCEXCL does not) and between two opens within one process.
  if (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    return Failure(SerialOpenStep::Open, error, OpenDetail(path_, error));
  }
  if (::ioctl(fd_.get(), TIOCEXCL) != 0) {
    const int error = errno;
    return Failure(SerialOpenStep::Open, error, OpenDetail(path_, error));
  }
  exclusive_ = true;

  wake_.reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!wake_) {
    return Failure(SerialOpenStep::EventSetup, errno, path_ + ": " + std::strerror(errno));
  }

  if (::tcflush(fd_.get(), TCIOFLUSH) != 0) {
    return Failure(SerialOpenStep::QueueSetup, errno, path_ + ": " + std::strerror(errno));
  }
#if defined(TIOCGSERIAL) && defined(ASYNC_LOW_LATENCY)
  // A USB adapter otherwise holds received bytes up to its 16 ms latency timer before
  // passing them on, which adds that much to every reply. Drivers without the request
  // (pseudo-terminals, CDC-ACM) already deliver at once.
  {
    struct serial_struct serial {};
    if (::ioctl(fd_.get(), TIOCGSERIAL, &serial) == 0) {
      serial.flags |= ASYNC_LOW_LATENCY;
      lowLatency_ = ::ioctl(fd_.get(), TIOCSSERIAL, &serial) == 0;
    }
  }
#endif

  const int flags = ::fcntl(fd_.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd_.get(), F_SETFL, flags | O_NONBLOCK) != 0) {
    return Failure(SerialOpenStep::Timeouts, errno, path_ + ": " + std::strerror(errno));
  }

  termios attributes{};
  if (::tcgetattr(fd_.get(), &attributes) != 0) {
    return Failure(SerialOpenStep::ReadSettings, errno, path_ + ": " + std::strerror(errno));
  }

  const auto speed = SpeedFor(settings.baudRate);
  if (!speed) {
    return Failure(SerialOpenStep::WriteSettings, EINVAL,
                   path_ + ": " + std::to_string(settings.baudRate) +
                       " bit/s is not a rate the serial driver offers");
  }
  ::cfmakeraw(&attributes);
  attributes.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  switch (settings.dataBits) {
    case 5:
      attributes.c_cflag |= CS5;
      break;
    case 6:
      attributes.c_cflag |= CS6;
      break;
    case 7:
      attributes.c_cflag |= CS7;
      break;
    default:
      attributes.c_cflag |= CS8;
      break;
  }
  if (settings.stopBitsCode != 0) attributes.c_cflag |= CSTOPB;
  // CLOCAL: the camera cable carries no modem lines worth obeying; CREAD: receive at all.
  attributes.c_cflag |= CLOCAL | CREAD;
  attributes.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  if (settings.softwareFlowControl) attributes.c_iflag |= IXON | IXOFF;
  if (settings.parityCheck) attributes.c_iflag |= INPCK;
  attributes.c_cc[VSTART] = 0x11;  // DC1 resumes, DC3 pauses
  attributes.c_cc[VSTOP] = 0x13;
  // Reads return at once with what is there; the receive thread waits in poll().
  attributes.c_cc[VMIN] = 0;
  attributes.c_cc[VTIME] = 0;
  if (::cfsetispeed(&attributes, *speed) != 0 || ::cfsetospeed(&attributes, *speed) != 0) {
    return Failure(SerialOpenStep::WriteSettings, errno, path_ + ": " + std::strerror(errno));
  }
  if (::tcsetattr(fd_.get(), TCSANOW, &attributes) != 0) {
    return Failure(SerialOpenStep::WriteSettings, errno, path_ + ": " + std::strerror(errno));
  }
  // tcsetattr succeeds when any one change took, so check the ones that matter.
  termios applied{};
  if (::tcgetattr(fd_.get(), &applied) != 0 || ::cfgetospeed(&applied) != *speed ||
      (applied.c_cflag & CSIZE) != (attributes.c_cflag & CSIZE)) {
    return Failure(SerialOpenStep::WriteSettings, 0,
                   path_ + ": the driver did not take the line settings");
  }

  // Some converters power their line drivers from DTR. Pseudo-terminals have no modem
  // lines, so a refusal is not an error.
  int dtr = TIOCM_DTR;
  (void)::ioctl(fd_.get(), TIOCMBIS, &dtr);
  return std::nullopt;
}

void SerialDevice::Close() {
  if (fd_) {
    // The exclusive mode belongs to the terminal, not to our descriptor: it would outlive
    // this close while any other process (a simulator keeping its end open) holds the
    // terminal, and then refuse our own next open. The flock goes with the descriptor.
    // Only ours to clear if we set it: a failed open must not unlock another user's line.
    if (exclusive_) (void)::ioctl(fd_.get(), TIOCNXCL);
    fd_.reset();
  }
  wake_.reset();
  exclusive_ = false;
  lowLatency_ = false;
}

SerialDevice::WaitResult SerialDevice::Wait() {
  if (!fd_ || !wake_) return WaitResult::HungUp;
  for (;;) {
    std::array<pollfd, 2> fds{pollfd{fd_.get(), POLLIN, 0}, pollfd{wake_.get(), POLLIN, 0}};
    const int ready = ::poll(fds.data(), fds.size(), -1);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return WaitResult::HungUp;
    }
    if (fds[1].revents & POLLIN) {
      std::uint64_t count = 0;
      (void)!::read(wake_.get(), &count, sizeof count);
      return WaitResult::WokenUp;
    }
    // Bytes that arrived before a hang-up are still handed on.
    if (fds[0].revents & POLLIN) return WaitResult::Readable;
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return WaitResult::HungUp;
  }
}

void SerialDevice::Wake() {
  if (!wake_) return;
  const std::uint64_t one = 1;
  (void)!::write(wake_.get(), &one, sizeof one);
}

SerialDevice::ReadResult SerialDevice::Read(char* buffer, std::size_t capacity) {
  ReadResult result;
  if (!fd_ || capacity == 0) return result;
  for (;;) {
    const ssize_t n = ::read(fd_.get(), buffer, capacity);
    if (n > 0) {
      result.count = static_cast<std::size_t>(n);
    } else if (n == 0) {
      // Only called after poll() reported input: end of file means the line is gone.
      result.hungUp = true;
    } else if (errno == EINTR) {
      continue;
    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
      result.hungUp = true;  // EIO after a hang-up, ENODEV after an unplug
    }
    return result;
  }
}

bool SerialDevice::WriteAll(const char* bytes, std::size_t count, int timeoutMs) {
  if (!fd_) return false;
  const Deadline deadline(timeoutMs);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_.get(), bytes + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    // The output queue is full: wait for room, not in a loop of retries.
    pollfd out{fd_.get(), POLLOUT, 0};
    const int remaining = deadline.RemainingMs();
    if (remaining == 0) return false;
    const int ready = ::poll(&out, 1, remaining);
    if (ready < 0 && errno != EINTR) return false;
    if (out.revents & (POLLHUP | POLLERR | POLLNVAL)) return false;
  }
  return true;
}

}  // namespace qx::platform
