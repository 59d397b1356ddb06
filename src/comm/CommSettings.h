#pragma once

#include <array>

namespace qx {

class CRegistryStore;

// The communication channel's stored settings: mode, PC-side baud rate and one port index per
// mode. Loaded from the preferences when created and written back at normal exit.
class CCommSettings {
 public:
  enum Mode { kRs232c = 0, kCameraLink2000 = 1, kCameraLink2001 = 2, kCameraLinkVer11 = 3 };
  static constexpr int kModeCount = 4;
  static constexpr int kDefaultBaudRate = 9600;

  explicit CCommSettings(CRegistryStore& store);
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

 private:
  CRegistryStore& store_;
  int mode_ = kRs232c;
  int baudRate_ = kDefaultBaudRate;
  std::array<int, kModeCount> portIndex_{};
};

}  // namespace qx
