#pragma once

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "comm/CommandChannel.h"

namespace qx::test {

// A channel whose camera is a function from a written line to the bytes that come back. A
// silent channel lets the read window pass as a real line would.
class FakeChannel : public CommandChannel {
 public:
  std::vector<std::string> written;
  std::function<std::string(const std::string&)> camera = [](const std::string&) {
    return std::string();
  };
  std::string pending;         // bytes waiting to be read
  int bytesPerRead = 1 << 20;  // how many bytes one read may return at most
  bool refuseWrites = false;

  int ReadBytes(char* buffer, int count, int timeoutMs) override {
    if (pending.empty()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
      return 0;
    }
    const int n = std::min({count, bytesPerRead, static_cast<int>(pending.size())});
    std::copy_n(pending.begin(), n, buffer);
    pending.erase(0, static_cast<size_t>(n));
    return n;
  }
  int WriteLine(std::string_view line) override {
    if (refuseWrites) return 0;
    written.emplace_back(line);
    pending += camera(std::string(line));
    return 1;
  }
};

class CountingStatus : public OnlineStatusReporter {
 public:
  int online = 0;
  int offline = 0;
  void ReportOnline() override { ++online; }
  void ReportOffline() override { ++offline; }
};

}  // namespace qx::test
