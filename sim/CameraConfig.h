#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx::sim {

// The fixed properties of one simulated camera: what it is (model name and sensor) and
// how its timed functions behave. Everything the operator can change lives in CameraCore.
struct CameraConfig {
  std::string modelName = "QX-4400M-RLNK";
  int sensorWidth = 1456;
  int sensorHeight = 1088;
  bool multiRoi = true;  // the sensor multi-ROI block exists (all but the QX-8800)
  // Shortest exposure (us) while both binnings are x2: the smaller sensor's binned read-out
  // needs 3 us, the larger one has no such limit.
  int binnedMinExposure = 3;
  std::uint32_t supportedBaudMask = 31;          // SBDRT: Camera Link bit mask of the rates offered
  int baud = 9600;                               // the rate the camera starts talking at (FCBDRT)
  std::chrono::milliseconds autoBusyTime{1500};  // how long a one-shot auto function runs

  // "4400", "8800", a full model name, or any other name (an unknown model that reports
  // that name and has the larger sensor, as the tool assumes for models it does not know,
  // and the multi-ROI block, which the tool reads from every model but the 8800).
  static CameraConfig ForModel(std::string_view model);
};

// Camera Link baud-rate bit of a rate (9600 -> 1 ... 921600 -> 128); 0 for other rates.
std::uint32_t BaudRateBit(int baud);
// The rate of a single Camera Link bit; 0 when the value is not exactly one known bit.
int BaudRateOfBit(std::uint32_t bit);

}  // namespace qx::sim
