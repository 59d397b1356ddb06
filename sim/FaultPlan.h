#pragma once

#include <cstdint>
#include <string>

#include "sim/SimOptions.h"

namespace qx::sim {

// The faults chosen for one received line.
struct LineFaults {
  bool drop = false;
  bool error = false;
  bool garbage = false;
  bool noLineFeed = false;
  bool hangup = false;  // this is the last line the camera answers
};

// Decides, line by line, which of the configured faults strike. Counting is per received
// line, so "every 3rd" means lines 3, 6, 9, ... A dropped line gets no reply, so the
// error, garbage and line-feed faults of that line have nothing to act on.
class FaultPlan {
 public:
  explicit FaultPlan(FaultSettings settings) : settings_(settings) {}

  LineFaults Next();
  // Noise bytes for a garbage fault: never a line feed or carriage return, so the noise
  // corrupts the reply line instead of making a line of its own.
  std::string Noise();

 private:
  static bool Every(int n, std::uint64_t count) { return n > 0 && count % n == 0; }

  FaultSettings settings_;
  std::uint64_t lines_ = 0;
  std::uint32_t noiseState_ = 0x2545F491u;
};

}  // namespace qx::sim
