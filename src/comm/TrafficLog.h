#pragma once

#include <string_view>
#include <vector>

namespace qx {

enum class TrafficDirection { Tx, Rx };

// A window that shows the camera traffic: the terminal prefixes "Tx: " / "Rx: " and a time
// stamp, the communication dialog lists the bare line.
class TrafficLogSink {
 public:
  virtual ~TrafficLogSink() = default;
  virtual void OnTrafficLine(TrafficDirection direction, std::string_view line) = 0;
};

// Hands every line sent to or received from the camera to the subscribed windows.
class TrafficLog {
 public:
  void AddSink(TrafficLogSink* sink);
  void RemoveSink(TrafficLogSink* sink);
  // The line without its line end.
  void Log(TrafficDirection direction, std::string_view line) const;

 private:
  std::vector<TrafficLogSink*> sinks_;
};

}  // namespace qx
