#pragma once

#include "comm/CommSettings.h"
#include "comm/CommandChannel.h"

namespace qx {

// The protocol's channel: the transport of the current communication mode, through the
// dispatcher.
class DispatcherChannel : public CommandChannel {
 public:
  explicit DispatcherChannel(CCommSettings& dispatcher) : dispatcher_(dispatcher) {}
  int ReadBytes(char* buffer, int count, int timeoutMs) override {
    return dispatcher_.ReadBytes(buffer, count, timeoutMs);
  }
  int WriteLine(std::string_view line) override { return dispatcher_.WriteLine(line); }

 private:
  CCommSettings& dispatcher_;
};

}  // namespace qx
