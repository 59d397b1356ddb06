#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/CameraConfig.h"

namespace qx::sim {

// Faults the simulator injects, each counted over received lines (0 = off).
struct FaultSettings {
  int dropEvery = 0;     // no reply to every Nth line
  int errorEvery = 0;    // an error line instead of the reply to every Nth line
  int garbageEvery = 0;  // noise bytes before every Nth reply
  int noLfEvery = 0;     // every Nth reply ends without its line feed
  int hangupAfter = 0;   // the line is closed after the Nth line has been answered
};

// The simulator's command line, shared by qxcam-sim and the Camera Link test libraries
// (which read it from QXSIM_OPTIONS).
struct SimOptions {
  std::string model = "4400";
  int baud = 9600;
  std::string link;
  std::string transcript;
  std::string state;
  int latencyMs = 0;
  int autoMs = 1500;
  FaultSettings faults;
  bool help = false;

  CameraConfig ToCameraConfig() const;
};

struct SimOptionsResult {
  std::optional<SimOptions> options;
  std::string error;  // set when options is empty
};

// Accepts "--name value" and "--name=value". Numbers must be whole and in range.
SimOptionsResult ParseSimOptions(const std::vector<std::string>& args);

// Splits an option string at blanks; single or double quotes keep blanks in a word.
std::vector<std::string> SplitOptionString(std::string_view text);

std::string SimUsage();

}  // namespace qx::sim
