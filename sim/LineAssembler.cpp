#include "sim/LineAssembler.h"

namespace qx::sim {

std::optional<ReceivedLine> LineAssembler::Push(char byte) {
  if (byte == '\r' || byte == '\n') {
    if (buffer_.empty() && !overlong_) return std::nullopt;
    ReceivedLine line{std::move(buffer_), overlong_};
    Reset();
    if (line.overlong) line.text.clear();
    return line;
  }
  if (buffer_.size() < kMaxLineLength) {
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
