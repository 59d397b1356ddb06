#include "sim/FaultPlan.h"

namespace qx::sim {

LineFaults FaultPlan::Next() {
  ++lines_;
  LineFaults faults;
  faults.drop = Every(settings_.dropEvery, lines_);
  faults.error = !faults.drop && Every(settings_.errorEvery, lines_);
  faults.garbage = !faults.drop && Every(settings_.garbageEvery, lines_);
  faults.noLineFeed = !faults.drop && Every(settings_.noLfEvery, lines_);
  faults.hangup =
      settings_.hangupAfter > 0 && lines_ == static_cast<std::uint64_t>(settings_.hangupAfter);
  return faults;
}

std::string FaultPlan::Noise() {
  std::string noise;
  for (int i = 0; i < 4; ++i) {
    // xorshift32: reproducible noise, so a failing run can be repeated byte for byte.
    noiseState_ ^= noiseState_ << 13;
    noiseState_ ^= noiseState_ >> 17;
    noiseState_ ^= noiseState_ << 5;
    char c = static_cast<char>(noiseState_ & 0xFF);
    if (c == '\n' || c == '\r') c = '~';
    noise += c;
  }
  return noise;
}

}  // namespace qx::sim
