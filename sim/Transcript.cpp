#include "sim/Transcript.h"

#include <ctime>

namespace qx::sim {

Transcript::Transcript(const std::string& path, const Clock& clock)
    : file_(std::fopen(path.c_str(), "w")),
      steadyOrigin_(clock.Now()),
      wallOrigin_(std::chrono::system_clock::now()) {}

std::string Transcript::Escape(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

void Transcript::Record(Direction direction, std::string_view bytes, TimePoint when) {
  if (!file_) return;
  const auto wall = wallOrigin_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                      when - steadyOrigin_);
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(wall.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[40];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &utc);
  std::fprintf(file_.get(), "%s.%06lldZ %s %s\n", stamp, static_cast<long long>(micros % 1000000),
               direction == Direction::Received ? "RX" : "TX", Escape(bytes).c_str());
  std::fflush(file_.get());
}

}  // namespace qx::sim
