#include "comm/CameraLink2001Port.h"

#include <array>

namespace qx {

namespace {
// A library reporting more entries than this is broken; listing them all would hang the
// communication dialog.
constexpr std::uint32_t kMaxListEntries = 256;
}  // namespace

CCameraLink2001Port::CCameraLink2001Port(ui::Desktop& desktop, std::string library)
    : CameraLinkPort(desktop), libraryName_(std::move(library)) {}

CCameraLink2001Port::~CCameraLink2001Port() {
  Close();
}

bool CCameraLink2001Port::Load() {
  if (library_.IsLoaded()) return true;
  // Every function the generation defines must be there, even the ones never called: a
  // library without them is not a complete implementation of it.
  const bool complete = library_.Load(libraryName_) &&
                        library_.Resolve("clGetManufacturer", getManufacturer_) &&
                        library_.Resolve("clGetNumManufacturers", getNumManufacturers_) &&
                        library_.Resolve("clSelectManufacturer", selectManufacturer_) &&
                        library_.Resolve("clGetNumSerialPorts", getNumSerialPorts_) &&
                        library_.Resolve("clGetSerialPortIdentifier", getSerialPortIdentifier_) &&
                        ResolveSerialEntries() &&
                        library_.Resolve("clGetSupportedBaudRates", getSupportedBaudRates_) &&
                        library_.Resolve("clSetBaudRate", setBaudRate_) &&
                        library_.Resolve("clGetErrorText", getErrorText_);
  if (!complete) ReleaseLibrary();
  return complete;
}

void CCameraLink2001Port::ForgetEntries() {
  getManufacturer_ = nullptr;
  getNumManufacturers_ = nullptr;
  selectManufacturer_ = nullptr;
  getNumSerialPorts_ = nullptr;
  getSerialPortIdentifier_ = nullptr;
  getSupportedBaudRates_ = nullptr;
  setBaudRate_ = nullptr;
  getErrorText_ = nullptr;
}

int CCameraLink2001Port::GetPortCount() {
  ports_.clear();
  if (!Load()) return 0;
  std::uint32_t count = 0;
  if (getNumManufacturers_(&count) != 0) count = 0;
  count = std::min(count, kMaxListEntries);
  for (std::uint32_t index = 0; index < count; ++index) {
    std::array<char, cl::kTextBufferSize> name{};
    std::uint32_t size = cl::kTextBufferSize;
    std::uint32_t version = 0;
    // A failed entry keeps its place, so list index and serial index stay the same number.
    ports_.push_back(getManufacturer_(index, name.data(), &size, &version) == 0
                         ? TextFrom(name.data())
                         : std::string());
  }
  // The list is all that was needed. An open port keeps its library: releasing it would
  // leave the port's serial reference pointing into unloaded code.
  if (!IsOpen()) ReleaseLibrary();
  return static_cast<int>(ports_.size());
}

int CCameraLink2001Port::OpenPort(int portIndex) {
  if (IsOpen()) Close();
  if (!Load()) return 0;
  if (portIndex < 0 || static_cast<std::size_t>(portIndex) >= ports_.size()) return 0;
  const std::string& manufacturer = ports_[static_cast<std::size_t>(portIndex)];
  if (selectManufacturer_(manufacturer.c_str()) != 0) return 0;
  return InitSerial(portIndex) ? 1 : 0;
}

int CCameraLink2001Port::SetBaudRate(int baudRate) {
  return SetBaudRateThroughLibrary(baudRate, getSupportedBaudRates_, setBaudRate_,
                                   "Selected baud rate is not supported.");
}

}  // namespace qx
