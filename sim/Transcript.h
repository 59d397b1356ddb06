#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "sim/Clock.h"

namespace qx::sim {

// The simulator's record of the line: one text line per line received ("RX") or sent
// ("TX"), stamped with the UTC time its last byte crossed the wire. Bytes that are not
// printable are written as \xNN, so noise and missing line feeds show.
class Transcript {
 public:
  enum class Direction { Received, Sent };

  // Opens (truncates) the file; Ok() tells whether that worked.
  Transcript(const std::string& path, const Clock& clock);

  bool Ok() const { return file_ != nullptr; }
  void Record(Direction direction, std::string_view bytes, TimePoint when);

  static std::string Escape(std::string_view bytes);

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  // Steady times are turned into wall-clock stamps through one pair of readings.
  TimePoint steadyOrigin_;
  std::chrono::system_clock::time_point wallOrigin_;
};

}  // namespace qx::sim
