#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qx {

class CRegistryStore;
class TrafficLog;
class Transport;
class TransportFactory;

// The communication channel's stored settings: mode, PC-side baud rate and one port index per
// mode. Loaded from the preferences when created and written back at normal exit.
//
// It is also the dispatcher of the transports: the transport the stored mode names is the
// active one, and every read, write and port-list question goes to it. Changing mode, port or
// rate closes the active transport before the new one opens; a failed open does not bring the
// old one back.
class CCommSettings {
 public:
  enum Mode { kRs232c = 0, kCameraLink2000 = 1, kCameraLink2001 = 2, kCameraLinkVer11 = 3 };
  static constexpr int kModeCount = 4;
  static constexpr int kDefaultBaudRate = 9600;

  // Settings only: no transport is reachable, so every open fails and reads return nothing.
  explicit CCommSettings(CRegistryStore& store);
  // The dispatcher: transports come from the factory, sent lines go to the traffic log.
  CCommSettings(CRegistryStore& store, TransportFactory& transports, TrafficLog& traffic);
  // Writes the settings back. The transports belong to their owner and are closed there.
  ~CCommSettings();
  CCommSettings(const CCommSettings&) = delete;
  CCommSettings& operator=(const CCommSettings&) = delete;

  void Load();
  void Save();

  int GetMode() const { return mode_; }
  // Sets the stored mode without opening anything.
  void SetMode(int mode) { mode_ = mode; }
  int GetBaudRate() const { return baudRate_; }
  void SetBaudRate(int rate) { baudRate_ = rate; }
  // The port index stored for a mode; 0 for a mode outside 0..3.
  int GetPortIndex(int mode) const;
  void SetPortIndex(int mode, int index);
  int GetCurrentPortIndex() const { return GetPortIndex(mode_); }

  // Closes the active transport, stores mode, rate and the mode's port index, and opens that
  // port. 1 when the channel is open; 0 on failure and for a mode outside 0..3.
  int OpenChannel(int mode, int baudRate, int portIndex);
  // OpenChannel with that mode, the current rate and the port index stored for the mode.
  int OpenMode(int mode);
  // OpenChannel with the current mode and port at a new rate (the camera's own rate is not
  // changed by this).
  int ChangeBaudRate(int baudRate);
  // OpenChannel with the current mode and rate on another port.
  int ChangePort(int portIndex);
  // OpenChannel with everything as stored (start-up).
  int Reopen();
  void CloseChannel();

  // Reads until `count` bytes arrived or `timeoutMs` passed, making at least one attempt, and
  // returns as soon as the count is reached. Returns the number of bytes read.
  int ReadBytes(char* buffer, int count, int timeoutMs);
  // Writes the line as it is and logs it as sent without its trailing CR/LF run.
  // 1 for modes 0..3 (whatever the transport made of it), 0 otherwise.
  int WriteLine(std::string_view line);

  // 32 in mode 0, the library's list length in modes 1..3, 0 otherwise.
  int GetPortCount();
  // The port's display name in the current mode; "ERROR" for a mode outside 0..3.
  std::string GetPortName(int index);
  // The transport of the current mode; nullptr for a mode outside 0..3.
  Transport* ActiveTransport();

  // The communication dialog's baud-rate selector: index 0..4 is 9600, 19200, 38400, 57600,
  // 115200. Any other index gives 9600; a rate not in the list gives index 0.
  static int BaudRateOfSelectorIndex(int index);
  static int SelectorIndexOfBaudRate(int baudRate);

 private:
  CRegistryStore& store_;
  TransportFactory* transports_ = nullptr;
  TrafficLog* traffic_ = nullptr;
  int mode_ = kRs232c;
  int baudRate_ = kDefaultBaudRate;
  std::array<int, kModeCount> portIndex_{};
};

}  // namespace qx
