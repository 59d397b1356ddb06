#include "sim/LineAssembler.h"

namespace qx::sim {

std::optional<ReceivedLine> LineAssembler::Push(char byte) {
  if (byte == '\n') {
    if (!buffer_.empty() && buffer_.back() == '\r') buffer_.pop_back();
    if (buffer_.size() > kMaxLineLength) overlong_ = true;
    if (buffer_.empty() && !overlong_) return std::nullopt;
    ReceivedLine line{std::move(buffer_), overlong_};
    Reset();
    if (line.overlong) line.text.clear();
    return line;
  }
  // One byte of room for the carriage return that precedes the line feed.
  if (buffer_.size() < kMaxLineLength + 1) {
    buffer_.push_back(byte);
  } else {
    overlong_ = true;
  }
  return std::nullopt;
}

void LineAssembler::Reset() {
  buffer_.clear();
  overlong_ = false;
}

}  // namespace qx::sim
