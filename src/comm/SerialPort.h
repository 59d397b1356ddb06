#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "comm/RingBuffer.h"
#include "comm/Transport.h"
#include "platform/PortNames.h"
#include "platform/SerialDevice.h"

namespace qx {

namespace ui {
class Desktop;
}

// The PC serial port ("COM1" ... "COM32", mapped to devices by platform::ComPortMap).
//
// Open takes the device exclusively in raw mode and starts a receive thread that moves every
// received byte into a 1024-byte ring buffer as soon as it arrives. The window thread takes
// bytes out of the buffer; a reader waiting for bytes is woken the moment they land.
// An unplugged device ends the receive thread quietly: later reads return nothing and the
// camera simply stops answering.
class CSerialPort : public Transport {
 public:
  static constexpr std::size_t kReceiveBufferSize = 1024;
  static constexpr int kPortCount = platform::ComPortMap::kPortCount;
  // A write that cannot finish in this time (output stopped by the driver) is abandoned.
  static constexpr int kWriteTimeoutMs = 20000;

  CSerialPort(ui::Desktop& desktop, platform::ComPortMap ports = platform::ComPortMap());
  ~CSerialPort() override;
  CSerialPort(const CSerialPort&) = delete;
  CSerialPort& operator=(const CSerialPort&) = delete;

  // Opens `portName` ("COMn"); closes any port open before. 1 on success; 0 after showing
  // "Failed to initialize <name> port!" with the step that failed.
  int Open(const std::string& portName, int baudRate, int dataBits, int stopBitsCode,
           int softwareFlowControl, int parityCheck);
  // Takes up to `maxCount` bytes that are already waiting; never blocks.
  int Read(char* destination, int maxCount);
  int GetUnreadCount() const;
  // Bytes lost because the ring buffer was full since the port was opened.
  std::uint64_t GetDroppedCount() const;
  // Bytes that arrived since the port was opened, kept or dropped.
  std::uint64_t GetReceivedCount() const { return received_.load(std::memory_order_acquire); }
  // True while the receive thread is draining the device (false after an unplug).
  bool IsReceiving() const { return receiving_.load(std::memory_order_acquire); }
  // For callers that expect a known amount (tests, benchmarks): waits until at least
  // `count` bytes arrived since the open; false when the time-out passed first.
  bool WaitUntilReceived(std::uint64_t count, int timeoutMs);
  // Waits until the receive thread has stopped (after an unplug); false on time-out.
  bool WaitUntilReceiveEnded(int timeoutMs);
  // The device that port name opens (for a tooltip beside the name).
  std::string DevicePath(const std::string& portName) const { return ports_.DevicePath(portName); }

  // Transport
  bool Open(int portIndex, int baudRate) override;
  void Close() override;
  bool IsOpen() const override { return device_.IsOpen(); }
  int ReadSome(char* buffer, int maxCount, int timeoutMs) override;
  // True when the port is open and count is positive; write errors are not reported.
  bool Write(const char* bytes, int count) override;
  int GetPortCount() override { return kPortCount; }
  std::string GetPortName(int index) override { return platform::ComPortMap::PortName(index); }

 private:
  void ReceiveLoop();
  void StopReceiving();
  void NotifyWaiters();

  ui::Desktop& desktop_;
  platform::ComPortMap ports_;
  platform::SerialDevice device_;
  SpscByteRing<kReceiveBufferSize> ring_;
  std::thread receiver_;
  std::atomic<bool> running_{false};
  std::atomic<bool> receiving_{false};
  std::atomic<std::uint64_t> received_{0};
  // Wakes a reader blocked in ReadSome when bytes arrive; the ring itself takes no lock.
  std::mutex arrivalMutex_;
  std::condition_variable arrival_;
  std::mutex writeMutex_;
};

// "Failed to initialize %s port!\nError in <step>()" for an open failure, with the device's
// reason as a further line.
std::string SerialOpenFailureMessage(const std::string& portName,
                                     const platform::SerialOpenFailure& failure);

}  // namespace qx
