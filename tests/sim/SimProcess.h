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

#include "sim/UniqueFd.h"

extern char** environ;

namespace qx::sim::testing {

using Steady = std::chrono::steady_clock;

// Reads from `fd` until `done` says the bytes are complete or the deadline passes. Waits
// in poll(), never in sleeps.
template <typename Done>
std::string ReadUntil(int fd, Steady::time_point deadline, Done done, bool* hungUp = nullptr) {
  std::string bytes;
  char buffer[4096];
  while (!done(bytes)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now());
    if (left.count() < 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
      if (hungUp) *hungUp = true;
      break;
    }
  }
  return bytes;
}

// qxcam-sim started with posix_spawn; its first output line is the terminal path.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0) return;
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, readEnd.get());
    std::vector<std::string> all{QXSIM_EXECUTABLE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, QXSIM_EXECUTABLE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
      pid_ = -1;
      return;
    }
    writeEnd.Reset();
    output_ = std::move(readEnd);
    const std::string first =
        ReadUntil(output_.get(), Steady::now() + std::chrono::seconds(10),
                  [](const std::string& b) { return b.find('\n') != std::string::npos; });
    if (const auto nl = first.find('\n'); nl != std::string::npos) {
      slavePath_ = first.substr(0, nl);
      rest_ = first.substr(nl + 1);
    }
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  ~SimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  bool Started() const { return pid_ > 0 && !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }
  // Everything the process printed after the first line, up to its end.
  std::string RestOfOutput() {
    return rest_ + ReadUntil(output_.get(), Steady::now() + std::chrono::seconds(10),
                             [](const std::string&) { return false; });
  }

  // Sends `signal` and waits for the exit; the exit status, or -1 for a signal death.
  int Stop(int signal = SIGTERM) {
    if (pid_ <= 0) return -1;
    kill(pid_, signal);
    return Wait();
  }
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  UniqueFd output_;
  std::string slavePath_;
  std::string rest_;
};

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
  UniqueFd fd_;
};

}  // namespace qx::sim::testing
