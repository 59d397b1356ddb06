#include "platform/PortNames.h"

#include <charconv>

namespace qx::platform {

ComPortMap::ComPortMap(EnvLookup env) : env_(std::move(env)) {}

std::string ComPortMap::PortName(int index) {
  if (index < 0 || index >= kPortCount) return "ERROR";
  return "COM" + std::to_string(index + 1);
}

int ComPortMap::ComNumber(const std::string& portName) {
  if (portName.size() < 4 || portName.compare(0, 3, "COM") != 0) return 0;
  int number = 0;
  const char* first = portName.data() + 3;
  const char* last = portName.data() + portName.size();
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || *first == '0') return 0;
  return number >= 1 && number <= kPortCount ? number : 0;
}

std::string ComPortMap::DefaultDevicePath(int comNumber) {
  if (comNumber >= 1 && comNumber <= 8) return "/dev/ttyS" + std::to_string(comNumber - 1);
  if (comNumber >= 9 && comNumber <= 24) return "/dev/ttyUSB" + std::to_string(comNumber - 9);
  if (comNumber >= 25 && comNumber <= kPortCount) {
    return "/dev/ttyACM" + std::to_string(comNumber - 25);
  }
  return {};
}

std::string ComPortMap::DevicePath(const std::string& portName) const {
  const int number = ComNumber(portName);
  if (number == 0) return {};
  if (env_) {
    if (auto overridden = env_("QXTOOL_COM" + std::to_string(number))) return *overridden;
  }
  return DefaultDevicePath(number);
}

}  // namespace qx::platform
