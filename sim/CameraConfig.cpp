#include "sim/CameraConfig.h"

namespace qx::sim {
namespace {

constexpr int kRates[] = {9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

}  // namespace

CameraConfig CameraConfig::ForModel(std::string_view model) {
  CameraConfig config;
  if (model == "4400" || model == "QX-4400M-RLNK") {
    return config;  // the defaults describe the smaller model
  }
  config.sensorWidth = 2064;
  config.sensorHeight = 1544;
  config.multiRoi = false;
  config.binnedMinExposure = 1;
  // The larger model's faster interface offers rates up to 460800 baud.
  config.supportedBaudMask = 127;
  if (model == "8800" || model == "QX-8800M-RLNK") {
    config.modelName = "QX-8800M-RLNK";
  } else {
    // A model the tool does not know: the tool then assumes the larger sensor but still
    // reads the multi-ROI settings, so this camera has them (over its whole sensor).
    config.modelName = std::string(model);
    config.multiRoi = true;
  }
  return config;
}

std::uint32_t BaudRateBit(int baud) {
  for (int i = 0; i < 8; ++i) {
    if (kRates[i] == baud) return 1u << i;
  }
  return 0;
}

int BaudRateOfBit(std::uint32_t bit) {
  for (int i = 0; i < 8; ++i) {
    if (bit == (1u << i)) return kRates[i];
  }
  return 0;
}

}  // namespace qx::sim
