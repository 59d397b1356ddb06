#pragma once

#include <string_view>

namespace qx {

// What the command protocol needs of the transport dispatcher: bytes in, lines out.
class CommandChannel {
 public:
  virtual ~CommandChannel() = default;
  // Reads until count bytes arrived or the time-out passed; returns the number read. Returns
  // as soon as the bytes are there.
  virtual int ReadBytes(char* buffer, int count, int timeoutMs) = 0;
  // Writes a whole line (with its CR LF); 0 when the channel refuses it.
  virtual int WriteLine(std::string_view line) = 0;
};

// Where the protocol reports whether the camera answers.
class OnlineStatusReporter {
 public:
  virtual ~OnlineStatusReporter() = default;
  virtual void ReportOnline() = 0;
  virtual void ReportOffline() = 0;
};

}  // namespace qx
