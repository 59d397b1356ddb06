#include "comm/CommSettings.h"

#include "app/RegistryStore.h"

namespace qx {

namespace {

constexpr int kPortIndexValues[CCommSettings::kModeCount] = {
    CRegistryStore::kComPortNo, CRegistryStore::kCameraLink2000DllIndex,
    CRegistryStore::kCameraLink2001DllIndex, CRegistryStore::kCameraLinkVer11DllIndex};

bool IsMode(int mode) {
  return mode >= 0 && mode < CCommSettings::kModeCount;
}

}  // namespace

CCommSettings::CCommSettings(CRegistryStore& store) : store_(store) {
  Load();
}

CCommSettings::~CCommSettings() {
  Save();
}

void CCommSettings::Load() {
  mode_ = store_.ReadInteger(CRegistryStore::kCommunicationMode, kRs232c);
  baudRate_ = store_.ReadInteger(CRegistryStore::kBaudrate, kDefaultBaudRate);
  for (int mode = 0; mode < kModeCount; ++mode) {
    portIndex_[mode] = store_.ReadInteger(kPortIndexValues[mode], 0);
  }
}

void CCommSettings::Save() {
  store_.WriteInteger(CRegistryStore::kCommunicationMode, mode_);
  store_.WriteInteger(CRegistryStore::kBaudrate, baudRate_);
  for (int mode = 0; mode < kModeCount; ++mode) {
    store_.WriteInteger(kPortIndexValues[mode], portIndex_[mode]);
  }
}

int CCommSettings::GetPortIndex(int mode) const {
  return IsMode(mode) ? portIndex_[mode] : 0;
}

void CCommSettings::SetPortIndex(int mode, int index) {
  if (IsMode(mode)) portIndex_[mode] = index;
}

}  // namespace qx
