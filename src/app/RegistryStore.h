#pragma once

#include <string>

#include "platform/RegistryHive.h"

namespace qx {

// The tool's ten preferences below the machine-wide key. Accessors take the value's index;
// an index outside 0..9 is refused (reads give the caller's default, writes do nothing).
// Creating the store records how the previous run ended and marks this run as not yet
// ended normally; destroying it (normal exit) marks the run as ended normally.
class CRegistryStore {
 public:
  enum ValueIndex {
    kPreviousShutdownStatus = 0,
    kCommunicationMode = 1,
    kBaudrate = 2,
    kComPortNo = 3,
    kCameraLink2000DllIndex = 4,
    kCameraLink2001DllIndex = 5,
    kCameraLinkVer11DllIndex = 6,
    kControlMode = 7,
    kCameraFilePath = 8,
    kCommandLogFilePath = 9,
  };
  static constexpr int kValueCount = 10;
  static constexpr const char* kKeyPath =
      "HKEY_LOCAL_MACHINE\\Software\\KELDOR\\QX-4400x8800M-RLNK Camera Control Tool";

  explicit CRegistryStore(platform::RegistryHive& hive);
  ~CRegistryStore();
  CRegistryStore(const CRegistryStore&) = delete;
  CRegistryStore& operator=(const CRegistryStore&) = delete;

  // Null for an index outside 0..9.
  static const char* ValueName(int index);

  int ReadInteger(int index, int defaultValue, bool* ok = nullptr) const;
  bool WriteInteger(int index, int value);
  // On failure (missing value, wrong type, or a path that no longer exists) the current
  // working directory.
  std::string ReadString(int index, bool* ok = nullptr) const;
  bool WriteString(int index, const std::string& text);

  bool PreviousShutdownWasNormal() const { return previousShutdownStatus_ == 1; }
  int PreviousShutdownStatus() const { return previousShutdownStatus_; }

 private:
  // Opens the key, creating it when missing; the access that had to create it fails.
  bool OpenKey() const;

  platform::RegistryHive& hive_;
  int previousShutdownStatus_ = 0;
};

}  // namespace qx
