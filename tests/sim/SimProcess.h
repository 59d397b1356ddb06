#pragma once

// Test helpers: qxcam-sim as a child process, and its terminal opened like a serial port.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "support/SimProcess.h"

extern char** environ;

namespace qx::sim::testing {

using qx::test::ReadUntil;
using qx::test::SimProcess;
using qx::test::Steady;

// The simulator's terminal opened the way a serial port is: raw, no echo, non-blocking.
class Port {
 public:
  explicit Port(const std::string& path)
      : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    termios tio{};
    if (fd_ && tcgetattr(fd_.get(), &tio) == 0) {
      cfmakeraw(&tio);
      tcsetattr(fd_.get(), TCSANOW, &tio);
    }
  }
  bool IsOpen() const { return static_cast<bool>(fd_); }
  int fd() const { return fd_.get(); }

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = write(fd_.get(), bytes.data(), bytes.size());
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
      } else if (n < 0 && errno == EAGAIN) {
        pollfd p{fd_.get(), POLLOUT, 0};
        poll(&p, 1, 1000);
      } else if (n < 0 && errno != EINTR) {
        return;  // the line is gone
      }
    }
  }
  // Reads until `lines` line feeds have come or the time is up.
  std::string ReadLines(int lines, std::chrono::milliseconds timeout = std::chrono::seconds(5),
                        bool* hungUp = nullptr) {
    return ReadUntil(
        fd_.get(), Steady::now() + timeout,
        [lines](const std::string& b) { return std::count(b.begin(), b.end(), '\n') >= lines; },
        hungUp);
  }
  // Whatever arrives within `time`.
  std::string ReadFor(std::chrono::milliseconds time, bool* hungUp = nullptr) {
    return ReadUntil(
        fd_.get(), Steady::now() + time, [](const std::string&) { return false; }, hungUp);
  }
  std::string Exchange(std::string_view line) {
    Write(line);
    return ReadLines(1);
  }

 private:
  platform::UniqueFd fd_;
};

}  // namespace qx::sim::testing
