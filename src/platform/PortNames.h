#pragma once

#include <string>

#include "platform/Environment.h"

namespace qx::platform {

// Maps the tool's serial port names "COM1" ... "COM32" to device paths.
//
// `$QXTOOL_COM{n}` names the device of COM n (e.g. QXTOOL_COM1=/dev/ttyUSB0). Without it the
// default mapping reaches the usual Linux serial devices, in fixed slots so that a stored port
// number keeps meaning the same device after other adapters are plugged in:
//   COM1  ... COM8   /dev/ttyS0   ... /dev/ttyS7     (on-board UARTs)
//   COM9  ... COM24  /dev/ttyUSB0 ... /dev/ttyUSB15  (USB-serial adapters: FTDI, PL2303, CP210x)
//   COM25 ... COM32  /dev/ttyACM0 ... /dev/ttyACM7   (USB CDC-ACM devices)
class ComPortMap {
 public:
  static constexpr int kPortCount = 32;

  explicit ComPortMap(EnvLookup env = ProcessEnvironment());

  // "COM%d" with index + 1 for index 0..31, else "ERROR".
  static std::string PortName(int index);
  // The COM number (1..32) in a name "COMn", or 0 when the name is not one of those.
  static int ComNumber(const std::string& portName);
  // The default device of COM n (1..32) without any override; empty outside 1..32.
  static std::string DefaultDevicePath(int comNumber);

  // The device path that opening `portName` uses; empty for a name that is not COM1..COM32.
  std::string DevicePath(const std::string& portName) const;

 private:
  EnvLookup env_;
};

}  // namespace qx::platform
