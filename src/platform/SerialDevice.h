#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/UniqueFd.h"

namespace qx::platform {

// The steps of opening a serial device, in order. Each can fail on its own, and the tool's
// open failure message names the step.
enum class SerialOpenStep {
  Open,          // open the existing device, take it exclusively (TIOCEXCL + flock)
  EventSetup,    // the wake-up descriptor the receive wait listens on
  QueueSetup,    // discard stale driver queues, ask for low latency
  Timeouts,      // non-blocking reads: a read returns at once with what is there
  ReadSettings,  // tcgetattr
  WriteSettings  // raw mode, rate, frame, flow control: tcsetattr, checked by reading back
};

struct SerialOpenFailure {
  SerialOpenStep step = SerialOpenStep::Open;
  int error = 0;       // errno of the failing call (0 when the failure is not a system error)
  std::string detail;  // one line for the operator: device path, reason, likely cause
};

struct SerialLineSettings {
  int baudRate = 9600;
  int dataBits = 8;      // 5..8
  int stopBitsCode = 0;  // 0: one stop bit, 1: one and a half (two on POSIX), 2: two
  bool softwareFlowControl = false;
  bool parityCheck = false;  // parity itself stays off; this only checks received parity
};

// One open serial device (a real UART, a USB adapter or a pseudo-terminal) in raw mode, plus
// a wake-up descriptor so that a thread blocked waiting for input can be released.
//
// Threads: one thread may wait and read while another writes; Wake() may be called from any
// thread. Open and Close must not run while another thread uses the device.
class SerialDevice {
 public:
  enum class WaitResult { Readable, WokenUp, HungUp };
  struct ReadResult {
    std::size_t count = 0;  // bytes read
    bool hungUp = false;    // the device is gone (unplugged, line closed): stop reading
  };

  SerialDevice() = default;
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // Opens and configures the device. On failure everything is closed again and the failed
  // step is returned.
  std::optional<SerialOpenFailure> Open(const std::string& path,
                                        const SerialLineSettings& settings);
  void Close();
  bool IsOpen() const { return static_cast<bool>(fd_); }
  const std::string& Path() const { return path_; }

  // Blocks until input is waiting, Wake() was called or the device hung up.
  WaitResult Wait();
  // Releases a Wait() in progress or the next one.
  void Wake();
  // Reads what is waiting without blocking.
  ReadResult Read(char* buffer, std::size_t capacity);
  // Writes all bytes in as few system calls as the driver allows (the UART paces them),
  // waiting for room in the output queue until the time-out. True when all were written.
  bool WriteAll(const char* bytes, std::size_t count, int timeoutMs);

  // Exposed for tests: whether the driver accepted the low-latency request on open.
  bool LowLatency() const { return lowLatency_; }

 private:
  std::optional<SerialOpenFailure> OpenSteps(const SerialLineSettings& settings);

  UniqueFd fd_;
  UniqueFd wake_;
  std::string path_;
  bool exclusive_ = false;
  bool lowLatency_ = false;
};

// The termios speed constant's rate for a rate in bits per second, if the driver interface
// has one (50 ... 4000000).
bool IsStandardBaudRate(int baudRate);

}  // namespace qx::platform
