#include "comm/CameraLinkPort.h"

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"
#include "ui/Desktop.h"

namespace qx {

CameraLinkPort::CameraLinkPort(ui::Desktop& desktop) : desktop_(desktop) {}

// Derived classes close in their own destructors while their entries still exist; this
// only covers what is left.
CameraLinkPort::~CameraLinkPort() = default;

bool CameraLinkPort::Open(int portIndex, int baudRate) {
  if (OpenPort(portIndex) != 1) return false;
  return SetBaudRate(baudRate) == 1;
}

void CameraLinkPort::Close() {
  if (open_ && serialClose_ != nullptr) serialClose_(serialRef_);
  open_ = false;
  serialRef_ = nullptr;
  ReleaseLibrary();
}

int CameraLinkPort::ReadSome(char* buffer, int maxCount, int /*timeoutMs*/) {
  if (buffer == nullptr || maxCount <= 0) return 0;
  if (!open_) {
    // Nothing can arrive; let the caller's time-out pass at the same pace as a silent
    // port instead of spinning through it.
    platform::SleepMs(static_cast<int>(cl::kReadTimeoutMs));
    return 0;
  }
  std::uint32_t count = 1;
  if (serialRead_(serialRef_, buffer, &count, cl::kReadTimeoutMs) != 0) return 0;
  // One byte was asked for; a library claiming more cannot have written more into a
  // one-byte request without overrunning, so more is not believed.
  return count >= 1 ? 1 : 0;
}

bool CameraLinkPort::Write(const char* bytes, int count) {
  if (!open_ || bytes == nullptr || count <= 0) return false;
  // The library takes a non-const buffer; hand it a copy of ours.
  std::vector<char> copy(bytes, bytes + count);
  std::uint32_t written = static_cast<std::uint32_t>(count);
  return serialWrite_(serialRef_, copy.data(), &written, cl::kWriteTimeoutMs) == 0;
}

std::string CameraLinkPort::GetPortName(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ports_.size()) return {};
  return ports_[static_cast<std::size_t>(index)];
}

void CameraLinkPort::ShowMessage(const std::string& text) {
  desktop_.ShowMessageBox(nullptr, text, "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
}

int CameraLinkPort::SetBaudRateThroughLibrary(int baudRate,
                                              cl::GetSupportedBaudRatesFn* getSupported,
                                              cl::SetBaudRateFn* setRate,
                                              const std::string& notSupported) {
  if (!open_ || getSupported == nullptr || setRate == nullptr) return 0;
  const std::uint32_t bit = cl::BaudRateBit(baudRate);
  std::uint32_t mask = 0;
  if (getSupported(serialRef_, &mask) == 0 && bit != 0 && (mask & bit) != 0) {
    (void)setRate(serialRef_, bit);
    return 1;
  }
  ShowMessage(notSupported);
  return 0;
}

bool CameraLinkPort::ResolveSerialEntries() {
  return library_.Resolve("clSerialInit", serialInit_) &&
         library_.Resolve("clSerialClose", serialClose_) &&
         library_.Resolve("clSerialRead", serialRead_) &&
         library_.Resolve("clSerialWrite", serialWrite_);
}

bool CameraLinkPort::InitSerial(int serialIndex) {
  if (serialInit_ == nullptr || serialIndex < 0) return false;
  void* reference = nullptr;
  if (serialInit_(static_cast<std::uint32_t>(serialIndex), &reference) != 0) return false;
  serialRef_ = reference;
  open_ = true;
  return true;
}

void CameraLinkPort::ReleaseLibrary() {
  serialInit_ = nullptr;
  serialClose_ = nullptr;
  serialRead_ = nullptr;
  serialWrite_ = nullptr;
  ForgetEntries();
  library_.Release();
}

std::string CameraLinkPort::TextFrom(const char* buffer) {
  return std::string(buffer, ::strnlen(buffer, cl::kTextBufferSize));
}

}  // namespace qx
