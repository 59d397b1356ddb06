#pragma once

#include <chrono>
#include <cstdint>

namespace qx::platform {

// Milliseconds on a monotonic clock; only differences mean anything. Used for time-outs,
// so it never jumps when the wall clock is set.
std::int64_t TickCountMs();

// Blocks the calling thread for at least that long.
void SleepMs(int milliseconds);

// The wall-clock time, for log time stamps.
std::chrono::system_clock::time_point UtcNow();

// A point in time that passes: remaining time in whole milliseconds, rounded up so that a
// wait on it never ends a little early and then spins.
class Deadline {
 public:
  explicit Deadline(int timeoutMs)
      : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}
  bool Passed() const { return std::chrono::steady_clock::now() >= end_; }
  int RemainingMs() const;
  std::chrono::steady_clock::time_point When() const { return end_; }

 private:
  std::chrono::steady_clock::time_point end_;
};

}  // namespace qx::platform
