#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qx::sim {

// A line as the camera's receiver cut it out of the byte stream.
struct ReceivedLine {
  std::string text;       // without its terminator
  bool overlong = false;  // more than kMaxLineLength bytes came before the terminator
};

// Splits received bytes into command lines. A line ends at its line feed; a carriage
// return right before it is dropped, so CR LF and a bare LF both end a line. The camera
// acts on the line feed, the last byte the tool sends, so a reply never starts before the
// command has fully arrived. Empty lines are dropped. Memory is bounded: bytes beyond
// kMaxLineLength are discarded and the line is reported as overlong when its line feed
// arrives, so a stream without line ends costs nothing.
class LineAssembler {
 public:
  static constexpr std::size_t kMaxLineLength = 256;

  std::optional<ReceivedLine> Push(char byte);
  void Reset();

 private:
  std::string buffer_;
  bool overlong_ = false;
};

}  // namespace qx::sim
