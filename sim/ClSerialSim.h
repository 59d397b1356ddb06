#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "sim/CameraCore.h"
#include "sim/Clock.h"
#include "sim/SimOptions.h"
#include "sim/SimulatedLink.h"
#include "sim/Transcript.h"

namespace qx::sim {

// Camera Link serial error codes (the standard's values).
namespace clerr {
inline constexpr std::int32_t kNoError = 0;
inline constexpr std::int32_t kBufferTooSmall = -10001;
inline constexpr std::int32_t kManufacturerDoesNotExist = -10002;
inline constexpr std::int32_t kPortInUse = -10003;
inline constexpr std::int32_t kTimeout = -10004;
inline constexpr std::int32_t kInvalidIndex = -10005;
inline constexpr std::int32_t kInvalidReference = -10006;
inline constexpr std::int32_t kErrorNotFound = -10007;
inline constexpr std::int32_t kBaudRateNotSupported = -10008;
}  // namespace clerr

// How the test libraries present themselves, read from the environment at every call so
// that a test can change it between calls:
//   QXSIM_CL_PORTS          number of serial ports (default 2)
//   QXSIM_CL_MANUFACTURERS  comma-separated manufacturer names (default "QXSim")
//   QXSIM_CL_PORT_IDS       comma-separated port ids (default "PORT0", "PORT1", ...)
//   QXSIM_CL_BAUD_MASK      supported baud-rate bits (default 31: 9600 to 115200)
//   QXSIM_CL_INIT_FAIL      serial indices whose clSerialInit fails ("0,2"), or "all"
//   QXSIM_OPTIONS           qxcam-sim options for the cameras ("--model 8800 --latency 5")
struct ClSimConfig {
  std::uint32_t ports = 2;
  std::vector<std::string> manufacturers{"QXSim"};
  std::vector<std::string> portIds;
  std::uint32_t baudMask = 31;
  bool allInitsFail = false;
  std::set<std::uint32_t> failingInits;
  std::string options;

  static ClSimConfig FromEnvironment();
  std::string PortId(std::uint32_t index) const;
  std::string Manufacturer(std::uint32_t index) const;
};

// One serial port of a test library: the camera on it and the wire between. Reads wait
// on a condition variable until the next reply byte is due, never in fixed sleeps.
class ClSimPort {
 public:
  ClSimPort(const SimOptions& options, std::string optionsText, std::uint32_t baudMask);

  std::int32_t Read(char* buffer, std::uint32_t* count, std::uint32_t timeoutMs);
  std::int32_t Write(const char* buffer, std::uint32_t* count);
  std::int32_t BytesAvailable(std::uint32_t* count);
  std::int32_t Flush();
  std::int32_t SupportedBaudRates(std::uint32_t* mask) const;
  std::int32_t SetBaudRate(std::uint32_t bit);

  const std::string& OptionsText() const { return optionsText_; }
  // A new connection: a hung-up line works again, pending bytes are gone, the camera
  // keeps its settings (it stayed powered).
  void Reconnect();
  bool inUse = false;

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  SteadyClock clock_;
  SimOptions options_;
  std::string optionsText_;
  std::uint32_t baudMask_;
  CameraCore core_;
  std::unique_ptr<Transcript> transcript_;
  std::unique_ptr<SimulatedLink> link_;
};

// Everything one loaded test library holds: its cameras (kept across close and reopen,
// as real cameras stay powered) and the selected manufacturer. The C entry points of a
// library reach their one instance; nothing else is shared.
class ClSimLibrary {
 public:
  std::int32_t Init(std::uint32_t index, void** ref);
  void Close(void* ref);
  // The open port behind a reference, or null for a reference this library did not give.
  ClSimPort* Port(void* ref);
  std::int32_t SelectManufacturer(const char* name);

 private:
  std::mutex mutex_;
  std::map<std::uint32_t, std::unique_ptr<ClSimPort>> ports_;
  std::string selectedManufacturer_;
};

// Copies `text` into a caller's buffer of *size bytes (with its terminating zero); sets
// *size to the room needed. kBufferTooSmall when it does not fit.
std::int32_t CopyText(const std::string& text, char* buffer, std::uint32_t* size);
std::string ErrorText(std::int32_t code);

}  // namespace qx::sim
