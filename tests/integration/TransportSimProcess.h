#pragma once

// Runs the simulated camera `qxcam-sim` on a pseudo-terminal for the time of one test.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"

extern char** environ;

namespace qx::testing {

class SimProcess {
 public:
  // Starts the simulator with these options and waits (up to 10 s) for the device path it
  // prints first. Ok() tells whether that worked.
  explicit SimProcess(std::vector<std::string> options) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    platform::UniqueFd readEnd(pipeFds[0]);
    platform::UniqueFd writeEnd(pipeFds[1]);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    std::vector<std::string> args{QXSIM_EXECUTABLE};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int spawned =
        ::posix_spawn(&pid_, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    writeEnd.reset();
    if (spawned != 0) {
      pid_ = -1;
      return;
    }
    stdout_ = std::move(readEnd);
    slavePath_ = ReadLine(10000);
  }

  ~SimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }

  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Ok() const { return pid_ > 0 && !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }

  // Waits for the simulator to exit by itself (after --hangup-after); true when it did.
  bool WaitForExit(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // Its standard output closes when it exits: wait on that instead of polling waitpid.
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            end - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) return false;
      pollfd in{stdout_.get(), POLLIN, 0};
      if (::poll(&in, 1, static_cast<int>(left)) <= 0) return false;
      char buffer[256];
      if (::read(stdout_.get(), buffer, sizeof buffer) <= 0) break;
    }
    int status = 0;
    const bool exited = ::waitpid(pid_, &status, 0) == pid_;
    if (exited) pid_ = -1;
    return exited;
  }

 private:
  std::string ReadLine(int timeoutMs) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            end - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) return {};
      pollfd in{stdout_.get(), POLLIN, 0};
      if (::poll(&in, 1, static_cast<int>(left)) <= 0) return {};
      char c;
      if (::read(stdout_.get(), &c, 1) != 1) return {};
      if (c == '\n') return line;
      line.push_back(c);
    }
  }

  pid_t pid_ = -1;
  platform::UniqueFd stdout_;
  std::string slavePath_;
};

}  // namespace qx::testing
