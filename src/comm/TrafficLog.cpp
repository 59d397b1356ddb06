#include "comm/TrafficLog.h"

#include <algorithm>

namespace qx {

void TrafficLog::AddSink(TrafficLogSink* sink) {
  if (sink && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) {
    sinks_.push_back(sink);
  }
}

void TrafficLog::RemoveSink(TrafficLogSink* sink) { std::erase(sinks_, sink); }

void TrafficLog::Log(TrafficDirection direction, std::string_view line) const {
  for (TrafficLogSink* sink : sinks_) sink->OnTrafficLine(direction, line);
}

}  // namespace qx
