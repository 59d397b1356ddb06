#pragma once

#include <string>

namespace qx {

// One way of reaching the camera's serial control channel: the PC serial port or one
// generation of the Camera Link serial libraries. The dispatcher (CCommSettings) talks to
// the transport of the current communication mode through this interface only, so tests put
// an in-memory port in its place.
class Transport {
 public:
  virtual ~Transport() = default;

  // Opens port `portIndex` of this transport's port list at `baudRate`. True only when the
  // port is open at that rate. Failures the operator must see are shown by the transport.
  // (A Camera Link port whose library refuses the rate stays open but reports false.)
  virtual bool Open(int portIndex, int baudRate) = 0;
  // Closes the port and releases what the transport loaded. Safe when nothing is open.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Waits for received bytes for up to `timeoutMs` and copies at most `maxCount` of them.
  // Returns as soon as any byte is there; 0 when nothing came, on error or when closed.
  // A transport may wait in steps of its own (the Camera Link libraries poll one byte with
  // 10 ms per call), but never returns early without data while time is left.
  virtual int ReadSome(char* buffer, int maxCount, int timeoutMs) = 0;
  // Writes the bytes; true on success. False when closed or the write failed.
  virtual bool Write(const char* bytes, int count) = 0;

  // The number of entries of the port list (rebuilt where the list can change).
  virtual int GetPortCount() = 0;
  // The list entry at `index`: what the communication dialog shows.
  virtual std::string GetPortName(int index) = 0;
};

// Hands the dispatcher the transport of a communication mode. The transports are
// program-wide objects created on first use; the factory decides who owns them.
class TransportFactory {
 public:
  virtual ~TransportFactory() = default;
  // The transport for mode 0..3, created on first use; nullptr for any other mode.
  virtual Transport* TransportFor(int mode) = 0;
};

}  // namespace qx
