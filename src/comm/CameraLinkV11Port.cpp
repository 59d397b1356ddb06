#include "comm/CameraLinkV11Port.h"

#include <array>

namespace qx {

namespace {
// A library reporting more ports than this is broken; listing them all would hang the
// communication dialog.
constexpr std::uint32_t kMaxListEntries = 256;
}  // namespace

CCameraLinkV11Port::CCameraLinkV11Port(ui::Desktop& desktop, std::string library)
    : CameraLinkPort(desktop), libraryName_(std::move(library)) {}

CCameraLinkV11Port::~CCameraLinkV11Port() {
  Close();
}

bool CCameraLinkV11Port::Load() {
  if (library_.IsLoaded()) return true;
  const bool complete = library_.Load(libraryName_) && ResolveSerialEntries() &&
                        library_.Resolve("clSetBaudRate", setBaudRate_) &&
                        library_.Resolve("clFlushPort", flushPort_) &&
                        library_.Resolve("clGetErrorText", getErrorText_) &&
                        library_.Resolve("clGetNumPorts", getNumPorts_) &&
                        library_.Resolve("clGetNumBytesAvail", getNumBytesAvail_) &&
                        library_.Resolve("clGetPortInfo", getPortInfo_) &&
                        library_.Resolve("clGetSupportedBaudRates", getSupportedBaudRates_);
  if (!complete) ReleaseLibrary();
  return complete;
}

void CCameraLinkV11Port::ForgetEntries() {
  setBaudRate_ = nullptr;
  flushPort_ = nullptr;
  getErrorText_ = nullptr;
  getNumPorts_ = nullptr;
  getNumBytesAvail_ = nullptr;
  getPortInfo_ = nullptr;
  getSupportedBaudRates_ = nullptr;
}

std::string CCameraLinkV11Port::DescribePort(std::uint32_t index) const {
  std::array<char, cl::kTextBufferSize> manufacturer{};
  std::array<char, cl::kTextBufferSize> portId{};
  std::uint32_t manufacturerSize = cl::kTextBufferSize;
  std::uint32_t portIdSize = cl::kTextBufferSize;
  std::uint32_t version = 0;
  if (getPortInfo_ == nullptr || getPortInfo_(index, manufacturer.data(), &manufacturerSize,
                                              portId.data(), &portIdSize, &version) != 0) {
    return {};
  }
  return TextFrom(manufacturer.data()) + " - " + TextFrom(portId.data());
}

int CCameraLinkV11Port::GetPortCount() {
  ports_.clear();
  if (!Load()) return 0;
  std::uint32_t count = 0;
  if (getNumPorts_(&count) != 0) count = 0;
  count = std::min(count, kMaxListEntries);
  // A port whose description fails keeps its place: the list index is the serial index.
  for (std::uint32_t index = 0; index < count; ++index) ports_.push_back(DescribePort(index));
  // An open port keeps its library: releasing it would leave the port's serial reference
  // pointing into unloaded code.
  if (!IsOpen()) ReleaseLibrary();
  return static_cast<int>(ports_.size());
}

int CCameraLinkV11Port::OpenPort(int portIndex) {
  if (IsOpen()) Close();
  openPortEntry_.clear();
  if (!Load()) return 0;
  if (!InitSerial(portIndex)) return 0;
  // The port is opened by index alone, perhaps before any list was built; its description
  // comes from the library so a message can name it.
  openPortEntry_ = GetPortName(portIndex);
  if (openPortEntry_.empty()) openPortEntry_ = DescribePort(static_cast<std::uint32_t>(portIndex));
  return 1;
}

int CCameraLinkV11Port::SetBaudRate(int baudRate) {
  return SetBaudRateThroughLibrary(
      baudRate, getSupportedBaudRates_, setBaudRate_,
      "Selected baud rate is not supported in " + openPortEntry_ + ".");
}

}  // namespace qx
