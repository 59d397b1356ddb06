#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/CameraCore.h"
#include "sim/Clock.h"
#include "sim/FaultPlan.h"
#include "sim/LineAssembler.h"
#include "sim/Transcript.h"

namespace qx::sim {

// The camera's serial port, without the I/O: bytes written by the other end go in with
// the time they were read, the camera's replies come out when their wire time has passed.
//
// Both directions run at the camera's baud rate, 10 bits a byte. A received byte counts
// as arrived one byte time after the previous one (or after it was read, whichever is
// later); a line is executed when its terminator has arrived; its reply starts after the
// latency and the camera's processing time, once the previous reply has left, and each
// of its bytes is due one byte time after the one before. Fronts (the pseudo-terminal
// server, the Camera Link libraries) only move bytes and wait for NextWake().
class SimulatedLink {
 public:
  // Replies waiting longer than this are dropped, like a transmit buffer overflowing,
  // so an end that writes but never reads cannot grow the simulator's memory.
  static constexpr std::size_t kMaxQueuedBytes = 64 * 1024;
  // At high rates, waking for every byte would cost a system call per byte; bytes are
  // handed out in groups spanning at least this long (a reply's last byte is never held).
  static constexpr Duration kMinWakeInterval = std::chrono::microseconds(250);

  SimulatedLink(CameraCore& core, FaultSettings faults, Duration latency,
                Transcript* transcript = nullptr);

  // Called after every line that changed the camera's flash memory.
  void OnNonVolatileChange(std::function<void(const std::string&)> save) {
    save_ = std::move(save);
  }

  void Receive(std::string_view bytes, TimePoint readAt);
  // Appends the bytes whose wire time has passed by `now`, at most `max` of them.
  std::size_t TakeDue(TimePoint now, std::string& out,
                      std::size_t max = static_cast<std::size_t>(-1));
  // When the front should next call TakeDue (or check HungUp); nothing when idle.
  std::optional<TimePoint> NextWake() const;
  // How many reply bytes are due by `now` and not yet taken.
  std::size_t DueCount(TimePoint now) const;
  // The hang-up fault struck and the last reply has left.
  bool HungUp(TimePoint now) const { return hangupAt_ && now >= *hangupAt_; }
  // Discards everything received but not executed and everything not yet sent.
  void Flush();

  // The rate of the line changed from outside the camera (a frame grabber's setting).
  void SetBaud(int baud) { byteTime_ = ByteTimeOf(baud); }

  Duration ByteTime() const { return byteTime_; }
  std::size_t DroppedBytes() const { return droppedBytes_; }

 private:
  struct Outgoing {
    std::string bytes;
    TimePoint start;    // the first byte is due one byte time after this
    Duration byteTime;  // the rate it is sent at, fixed when it was queued
    std::size_t taken = 0;
  };

  void HandleLine(const ReceivedLine& line, TimePoint arrived);
  void Queue(std::string bytes, TimePoint ready);
  TimePoint DueTime(const Outgoing& o, std::size_t index) const {
    return o.start + o.byteTime * static_cast<long>(index + 1);
  }
  static Duration ByteTimeOf(int baud);

  CameraCore& core_;
  FaultPlan faults_;
  Duration latency_;
  Transcript* transcript_;
  std::function<void(const std::string&)> save_;
  LineAssembler assembler_;
  Duration byteTime_;
  TimePoint rxFree_{};  // when the last received byte finished arriving
  TimePoint txFree_{};  // when the last queued byte finishes leaving
  std::deque<Outgoing> outgoing_;
  std::size_t queuedBytes_ = 0;
  std::size_t droppedBytes_ = 0;
  bool hangupPending_ = false;
  std::optional<TimePoint> hangupAt_;
  std::uint64_t nvGeneration_;
  int cameraBaud_;  // the camera's own rate when last looked at
};

}  // namespace qx::sim
