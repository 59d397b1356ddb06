#pragma once

#include <chrono>

namespace qx::sim {

using SimClock = std::chrono::steady_clock;
using TimePoint = SimClock::time_point;
using Duration = SimClock::duration;

// Where the simulated camera takes its time from. The camera's timed behaviour (auto
// functions, temperature, counters, wire pacing) reads only this, so tests drive it with
// a manual clock instead of sleeping.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimePoint Now() const = 0;
};

class SteadyClock final : public Clock {
 public:
  TimePoint Now() const override { return SimClock::now(); }
};

// A clock that moves only when told to; for tests and for replaying recorded timing.
class ManualClock final : public Clock {
 public:
  TimePoint Now() const override { return now_; }
  void Advance(Duration d) { now_ += d; }
  void Set(TimePoint t) { now_ = t; }

 private:
  TimePoint now_{};
};

}  // namespace qx::sim
