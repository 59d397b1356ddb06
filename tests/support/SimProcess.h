#pragma once

// qxcam-sim as a child process for tests and benchmarks: started with posix_spawn, its first
// output line is the terminal path; stopped with a signal when the object goes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"

extern char** environ;

namespace qx::test {

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
    platform::UniqueFd readEnd(fds[0]);
    platform::UniqueFd writeEnd(fds[1]);
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
    writeEnd.reset();
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
  bool Ok() const { return Started(); }
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
  // Waits for the simulator to end by itself (after --hangup-after): its output closes when it
  // exits. True when it ended within the time.
  bool WaitForExit(int timeoutMs) {
    bool closed = false;
    ReadUntil(
        output_.get(), Steady::now() + std::chrono::milliseconds(timeoutMs),
        [](const std::string&) { return false; }, &closed);
    if (!closed) return false;
    int status = 0;
    if (waitpid(pid_, &status, 0) != pid_) return false;
    pid_ = -1;
    return true;
  }
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  platform::UniqueFd output_;
  std::string slavePath_;
  std::string rest_;
};

}  // namespace qx::test
