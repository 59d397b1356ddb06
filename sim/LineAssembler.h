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

// Splits received bytes into command lines. A line ends at CR or LF, so CR LF, a bare LF
// and a bare CR all end a line; empty lines are dropped (CR LF would otherwise make one).
// Memory is bounded: bytes beyond kMaxLineLength are discarded and the line is reported
// as overlong when its terminator arrives, so a stream without line ends costs nothing.
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
