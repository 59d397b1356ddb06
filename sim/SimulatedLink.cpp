#include "sim/SimulatedLink.h"

#include <algorithm>

namespace qx::sim {

SimulatedLink::SimulatedLink(CameraCore& core, FaultSettings faults, Duration latency,
                             Transcript* transcript)
    : core_(core),
      faults_(faults),
      latency_(latency),
      transcript_(transcript),
      byteTime_(ByteTimeOf(core.Baud())),
      nvGeneration_(core.NonVolatileGeneration()),
      cameraBaud_(core.Baud()) {}

Duration SimulatedLink::ByteTimeOf(int baud) {
  // 1 start bit, 8 data bits, 1 stop bit.
  return std::chrono::duration_cast<Duration>(std::chrono::nanoseconds(10'000'000'000LL / baud));
}

void SimulatedLink::Receive(std::string_view bytes, TimePoint readAt) {
  for (char byte : bytes) {
    rxFree_ = std::max(rxFree_, readAt) + byteTime_;
    if (hangupPending_) continue;  // the camera is about to drop the line
    if (auto line = assembler_.Push(byte)) HandleLine(*line, rxFree_);
  }
}

void SimulatedLink::HandleLine(const ReceivedLine& line, TimePoint arrived) {
  if (transcript_) {
    transcript_->Record(Transcript::Direction::Received,
                        line.overlong ? std::string_view("(line too long, dropped)") : line.text,
                        arrived);
  }
  const LineFaults faults = faults_.Next();
  CameraReply reply;
  if (faults.error) {
    // As if the line had been damaged on the way: the camera did not understand it.
    reply.line = CameraCore::ErrorLine(CameraError::BadSyntax);
  } else if (line.overlong) {
    reply.line = CameraCore::ErrorLine(CameraError::LineTooLong);
  } else {
    reply = core_.Execute(line.text);
  }
  if (save_ && core_.NonVolatileGeneration() != nvGeneration_) {
    nvGeneration_ = core_.NonVolatileGeneration();
    save_(core_.SaveNonVolatile());
  }
  if (!faults.drop) {
    std::string bytes = faults.garbage ? faults_.Noise() : std::string();
    bytes += reply.line;
    bytes += faults.noLineFeed ? "\r" : "\r\n";
    Queue(std::move(bytes), arrived + latency_ + reply.processing);
  }
  // A rate change (FCBDRT) applies from the next byte after this reply.
  if (core_.Baud() != cameraBaud_) {
    cameraBaud_ = core_.Baud();
    byteTime_ = ByteTimeOf(cameraBaud_);
  }
  if (faults.hangup) {
    hangupPending_ = true;
    hangupAt_ = std::max(txFree_, arrived);
  }
}

void SimulatedLink::Queue(std::string bytes, TimePoint ready) {
  if (queuedBytes_ + bytes.size() > kMaxQueuedBytes) {
    droppedBytes_ += bytes.size();
    return;
  }
  const TimePoint start = std::max(ready, txFree_);
  txFree_ = start + byteTime_ * static_cast<long>(bytes.size());
  queuedBytes_ += bytes.size();
  outgoing_.push_back(Outgoing{std::move(bytes), start, byteTime_, 0});
}

std::size_t SimulatedLink::TakeDue(TimePoint now, std::string& out, std::size_t max) {
  std::size_t count = 0;
  while (!outgoing_.empty() && count < max) {
    Outgoing& o = outgoing_.front();
    while (o.taken < o.bytes.size() && count < max && DueTime(o, o.taken) <= now) {
      out += o.bytes[o.taken++];
      ++count;
      --queuedBytes_;
    }
    if (o.taken < o.bytes.size()) break;
    if (transcript_) {
      std::string_view sent = o.bytes;
      if (sent.size() >= 2 && sent.substr(sent.size() - 2) == "\r\n") {
        sent.remove_suffix(2);
      }
      transcript_->Record(Transcript::Direction::Sent, sent, DueTime(o, o.bytes.size() - 1));
    }
    outgoing_.pop_front();
  }
  return count;
}

std::size_t SimulatedLink::DueCount(TimePoint now) const {
  std::size_t count = 0;
  for (const Outgoing& o : outgoing_) {
    for (std::size_t i = o.taken; i < o.bytes.size(); ++i) {
      if (DueTime(o, i) > now) return count;
      ++count;
    }
  }
  return count;
}

std::optional<TimePoint> SimulatedLink::NextWake() const {
  std::optional<TimePoint> wake;
  if (!outgoing_.empty()) {
    const Outgoing& o = outgoing_.front();
    // Wake when a group of bytes spanning kMinWakeInterval is due, but never later than
    // the reply's last byte, so a line end is delivered on time.
    const auto group = static_cast<std::size_t>(
        std::max<Duration::rep>(1, kMinWakeInterval / std::max(o.byteTime, Duration(1))));
    const std::size_t index = std::min(o.taken + group - 1, o.bytes.size() - 1);
    wake = DueTime(o, index);
  }
  if (hangupAt_ && (!wake || *hangupAt_ < *wake)) wake = hangupAt_;
  return wake;
}

void SimulatedLink::Flush() {
  assembler_.Reset();
  outgoing_.clear();
  queuedBytes_ = 0;
  txFree_ = TimePoint{};  // the discarded bytes no longer hold up the next reply
}

}  // namespace qx::sim
