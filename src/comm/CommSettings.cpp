#include "comm/CommSettings.h"

#include "app/RegistryStore.h"
#include "comm/TrafficLog.h"
#include "comm/Transport.h"
#include "platform/Clock.h"

namespace qx {

namespace {

constexpr int kPortIndexValues[CCommSettings::kModeCount] = {
    CRegistryStore::kComPortNo, CRegistryStore::kCameraLink2000DllIndex,
    CRegistryStore::kCameraLink2001DllIndex, CRegistryStore::kCameraLinkVer11DllIndex};

constexpr int kSelectorBaudRates[] = {9600, 19200, 38400, 57600, 115200};

bool IsMode(int mode) {
  return mode >= 0 && mode < CCommSettings::kModeCount;
}

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

}  // namespace

CCommSettings::CCommSettings(CRegistryStore& store) : store_(store) {
  Load();
}

CCommSettings::CCommSettings(CRegistryStore& store, TransportFactory& transports,
                             TrafficLog& traffic)
    : store_(store), transports_(&transports), traffic_(&traffic) {
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

Transport* CCommSettings::ActiveTransport() {
  if (!IsMode(mode_) || transports_ == nullptr) return nullptr;
  return transports_->TransportFor(mode_);
}

int CCommSettings::OpenChannel(int mode, int baudRate, int portIndex) {
  CloseChannel();
  mode_ = mode;
  baudRate_ = baudRate;
  if (!IsMode(mode)) return 0;
  portIndex_[mode] = portIndex;
  Transport* transport = ActiveTransport();
  if (transport == nullptr) return 0;
  return transport->Open(portIndex, baudRate) ? 1 : 0;
}

int CCommSettings::OpenMode(int mode) {
  return OpenChannel(mode, baudRate_, GetPortIndex(mode));
}

int CCommSettings::ChangeBaudRate(int baudRate) {
  return OpenChannel(mode_, baudRate, GetCurrentPortIndex());
}

int CCommSettings::ChangePort(int portIndex) {
  return OpenChannel(mode_, baudRate_, portIndex);
}

int CCommSettings::Reopen() {
  return OpenChannel(mode_, baudRate_, GetCurrentPortIndex());
}

void CCommSettings::CloseChannel() {
  if (Transport* transport = ActiveTransport()) transport->Close();
}

int CCommSettings::ReadBytes(char* buffer, int count, int timeoutMs) {
  if (buffer == nullptr || count <= 0) return 0;
  Transport* transport = ActiveTransport();
  if (transport == nullptr) return 0;
  const platform::Deadline deadline(timeoutMs);
  int total = 0;
  do {
    // The transport waits for data itself (the serial port on its receive signal, the
    // Camera Link libraries inside their read call), so this loop does not spin.
    total += transport->ReadSome(buffer + total, count - total, deadline.RemainingMs());
  } while (total < count && !deadline.Passed());
  return total;
}

int CCommSettings::WriteLine(std::string_view line) {
  if (!IsMode(mode_)) return 0;
  if (Transport* transport = ActiveTransport()) {
    // A failed write shows up as a missing reply; the caller's time-out handles it.
    (void)transport->Write(line.data(), static_cast<int>(line.size()));
  }
  if (traffic_ != nullptr) traffic_->Log(TrafficDirection::Tx, WithoutLineEnd(line));
  return 1;
}

int CCommSettings::GetPortCount() {
  Transport* transport = ActiveTransport();
  return transport ? transport->GetPortCount() : 0;
}

std::string CCommSettings::GetPortName(int index) {
  if (!IsMode(mode_)) return "ERROR";
  Transport* transport = ActiveTransport();
  return transport ? transport->GetPortName(index) : std::string();
}

int CCommSettings::BaudRateOfSelectorIndex(int index) {
  if (index < 1 || index > 4) return kSelectorBaudRates[0];
  return kSelectorBaudRates[index];
}

int CCommSettings::SelectorIndexOfBaudRate(int baudRate) {
  for (int index = 0; index < 5; ++index) {
    if (kSelectorBaudRates[index] == baudRate) return index;
  }
  return 0;
}

}  // namespace qx
