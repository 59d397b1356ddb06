#include "sim/ClSerialSim.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "sim/StateFile.h"

namespace qx::sim {
namespace {

std::vector<std::string> SplitList(const char* text) {
  std::vector<std::string> items;
  std::string item;
  for (const char* p = text; *p; ++p) {
    if (*p == ',') {
      items.push_back(item);
      item.clear();
    } else {
      item += *p;
    }
  }
  items.push_back(item);
  return items;
}

bool ParseCount(std::string_view text, std::uint32_t& out) {
  std::uint32_t value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
  out = value;
  return true;
}

}  // namespace

ClSimConfig ClSimConfig::FromEnvironment() {
  ClSimConfig config;
  std::uint32_t value = 0;
  if (const char* ports = std::getenv("QXSIM_CL_PORTS"); ports && ParseCount(ports, value)) {
    config.ports = std::min<std::uint32_t>(value, 64);
  }
  if (const char* names = std::getenv("QXSIM_CL_MANUFACTURERS"); names && *names) {
    config.manufacturers = SplitList(names);
  }
  if (const char* ids = std::getenv("QXSIM_CL_PORT_IDS"); ids && *ids) {
    config.portIds = SplitList(ids);
  }
  if (const char* mask = std::getenv("QXSIM_CL_BAUD_MASK"); mask && ParseCount(mask, value)) {
    config.baudMask = value;
  }
  if (const char* fail = std::getenv("QXSIM_CL_INIT_FAIL"); fail && *fail) {
    if (std::string_view(fail) == "all") {
      config.allInitsFail = true;
    } else {
      for (const std::string& item : SplitList(fail)) {
        if (ParseCount(item, value)) config.failingInits.insert(value);
      }
    }
  }
  if (const char* options = std::getenv("QXSIM_OPTIONS")) config.options = options;
  return config;
}

std::string ClSimConfig::PortId(std::uint32_t index) const {
  if (index < portIds.size()) return portIds[index];
  return "PORT" + std::to_string(index);
}

std::string ClSimConfig::Manufacturer(std::uint32_t index) const {
  return manufacturers[index % manufacturers.size()];
}

ClSimPort::ClSimPort(const SimOptions& options, std::string optionsText, std::uint32_t baudMask)
    : options_(options),
      optionsText_(std::move(optionsText)),
      baudMask_(baudMask),
      core_(options.ToCameraConfig(), clock_) {
  if (!options_.state.empty()) {
    if (const auto text = StateFile::Load(options_.state)) core_.LoadNonVolatile(*text);
  }
  if (!options_.transcript.empty()) {
    transcript_ = std::make_unique<Transcript>(options_.transcript, clock_);
  }
  Reconnect();
}

void ClSimPort::Reconnect() {
  std::lock_guard lock(mutex_);
  link_ = std::make_unique<SimulatedLink>(
      core_, options_.faults, std::chrono::milliseconds(options_.latencyMs), transcript_.get());
  if (!options_.state.empty()) {
    link_->OnNonVolatileChange(
        [path = options_.state](const std::string& text) { StateFile::Save(path, text); });
  }
}

std::int32_t ClSimPort::Read(char* buffer, std::uint32_t* count, std::uint32_t timeoutMs) {
  if (!buffer || !count) return clerr::kInvalidReference;
  const std::uint32_t wanted = *count;
  *count = 0;
  if (wanted == 0) return clerr::kNoError;
  std::unique_lock lock(mutex_);
  const TimePoint deadline = clock_.Now() + std::chrono::milliseconds(timeoutMs);
  std::string out;
  while (true) {
    const TimePoint now = clock_.Now();
    link_->TakeDue(now, out, wanted - out.size());
    if (out.size() == wanted) break;
    // A dropped line still delivers what was sent before it dropped.
    if (link_->HungUp(now)) {
      if (out.empty()) return clerr::kInvalidReference;
      break;
    }
    if (now >= deadline) break;
    const auto wake = link_->NextWake();
    // Wake for the next due byte precisely; the wire paces the reader.
    const TimePoint until = wake && *wake < deadline ? *wake : deadline;
    wake_.wait_until(lock, until);
  }
  std::memcpy(buffer, out.data(), out.size());
  *count = static_cast<std::uint32_t>(out.size());
  return out.empty() ? clerr::kTimeout : clerr::kNoError;
}

std::int32_t ClSimPort::Write(const char* buffer, std::uint32_t* count) {
  if (!buffer || !count) return clerr::kInvalidReference;
  std::lock_guard lock(mutex_);
  if (link_->HungUp(clock_.Now())) {
    *count = 0;
    return clerr::kInvalidReference;
  }
  link_->Receive(std::string_view(buffer, *count), clock_.Now());
  wake_.notify_all();
  return clerr::kNoError;
}

std::int32_t ClSimPort::BytesAvailable(std::uint32_t* count) {
  if (!count) return clerr::kInvalidReference;
  std::lock_guard lock(mutex_);
  *count = static_cast<std::uint32_t>(link_->DueCount(clock_.Now()));
  return clerr::kNoError;
}

std::int32_t ClSimPort::Flush() {
  std::lock_guard lock(mutex_);
  link_->Flush();
  return clerr::kNoError;
}

std::int32_t ClSimPort::SupportedBaudRates(std::uint32_t* mask) const {
  if (!mask) return clerr::kInvalidReference;
  *mask = baudMask_;
  return clerr::kNoError;
}

std::int32_t ClSimPort::SetBaudRate(std::uint32_t bit) {
  const int baud = BaudRateOfBit(bit);
  if (baud == 0 || (bit & baudMask_) == 0) return clerr::kBaudRateNotSupported;
  std::lock_guard lock(mutex_);
  link_->SetBaud(baud);
  return clerr::kNoError;
}

std::int32_t ClSimLibrary::Init(std::uint32_t index, void** ref) {
  if (!ref) return clerr::kInvalidReference;
  *ref = nullptr;
  const ClSimConfig config = ClSimConfig::FromEnvironment();
  if (index >= config.ports) return clerr::kInvalidIndex;
  if (config.allInitsFail || config.failingInits.count(index)) return clerr::kInvalidIndex;
  const auto parsed = ParseSimOptions(SplitOptionString(config.options));
  if (!parsed.options) return clerr::kInvalidIndex;
  std::lock_guard lock(mutex_);
  auto& port = ports_[index];
  if (port && port->inUse) return clerr::kPortInUse;
  // The camera on a port stays as long as it is configured the same way.
  if (!port || port->OptionsText() != config.options) {
    port = std::make_unique<ClSimPort>(*parsed.options, config.options, config.baudMask);
  } else {
    port->Reconnect();
  }
  port->inUse = true;
  *ref = port.get();
  return clerr::kNoError;
}

ClSimPort* ClSimLibrary::Port(void* ref) {
  std::lock_guard lock(mutex_);
  for (auto& [index, port] : ports_) {
    if (port.get() == ref && port->inUse) return port.get();
  }
  return nullptr;
}

void ClSimLibrary::Close(void* ref) {
  std::lock_guard lock(mutex_);
  for (auto& [index, port] : ports_) {
    if (port.get() == ref) port->inUse = false;
  }
}

std::int32_t ClSimLibrary::SelectManufacturer(const char* name) {
  if (!name) return clerr::kManufacturerDoesNotExist;
  const ClSimConfig config = ClSimConfig::FromEnvironment();
  for (const std::string& m : config.manufacturers) {
    if (m == name) {
      std::lock_guard lock(mutex_);
      selectedManufacturer_ = m;
      return clerr::kNoError;
    }
  }
  return clerr::kManufacturerDoesNotExist;
}

std::int32_t CopyText(const std::string& text, char* buffer, std::uint32_t* size) {
  if (!size) return clerr::kInvalidReference;
  const auto needed = static_cast<std::uint32_t>(text.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    return clerr::kBufferTooSmall;
  }
  std::memcpy(buffer, text.c_str(), needed);
  *size = needed;
  return clerr::kNoError;
}

std::string ErrorText(std::int32_t code) {
  switch (code) {
    case clerr::kNoError:
      return "No error";
    case clerr::kBufferTooSmall:
      return "Buffer too small";
    case clerr::kManufacturerDoesNotExist:
      return "Manufacturer does not exist";
    case clerr::kPortInUse:
      return "Port in use";
    case clerr::kTimeout:
      return "Time-out";
    case clerr::kInvalidIndex:
      return "Invalid index";
    case clerr::kInvalidReference:
      return "Invalid reference";
    case clerr::kBaudRateNotSupported:
      return "Baud rate not supported";
    default:
      return {};
  }
}

}  // namespace qx::sim
