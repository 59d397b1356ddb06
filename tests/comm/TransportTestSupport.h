#pragma once

// Helpers shared by the transport tests: a pseudo-terminal standing in for the camera's end
// of the line, environment lookups built from a table instead of the process environment,
// and reading a reply through the dispatcher.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "comm/CommSettings.h"
#include "platform/Environment.h"
#include "platform/UniqueFd.h"

namespace qx::testing {

// The far end of a serial line: the pseudo-terminal's master side. The code under test
// opens SlavePath() like any serial device.
class PtyPair {
 public:
  PtyPair() {
    master_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master_ || ::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0) {
      master_.reset();
      return;
    }
    char name[128] = {};
    if (::ptsname_r(master_.get(), name, sizeof name) != 0) {
      master_.reset();
      return;
    }
    slavePath_ = name;
  }

  bool Ok() const { return static_cast<bool>(master_); }
  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_.get(); }

  void Send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_.get(), bytes.data() + done, bytes.size() - done);
      if (n <= 0) return;
      done += static_cast<std::size_t>(n);
    }
  }

  // Collects what the code under test wrote, until `count` bytes came or the time-out passed.
  std::string Receive(std::size_t count, int timeoutMs = 5000) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            end - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) break;
      pollfd in{master_.get(), POLLIN, 0};
      if (::poll(&in, 1, static_cast<int>(left)) <= 0) break;
      char buffer[512];
      const ssize_t n = ::read(master_.get(), buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

  // Pulls the plug: the slave side sees a hang-up.
  void Hangup() { master_.reset(); }

 private:
  platform::UniqueFd master_;
  std::string slavePath_;
};

// An environment with exactly these variables.
inline platform::EnvLookup Environment(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
}

// Reads one reply line through the dispatcher, byte by byte as the protocol does.
inline std::string ReadReply(CCommSettings& channel, int timeoutMs) {
  std::string line;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    char byte = 0;
    if (channel.ReadBytes(&byte, 1, 10) == 1) {
      line.push_back(byte);
      if (byte == '\n') return line;
    }
  }
  return line;
}

}  // namespace qx::testing
