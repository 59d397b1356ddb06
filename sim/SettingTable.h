#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qx::sim {

enum class Access : std::uint8_t {
  ReadWrite,  // a setting: stored in user sets
  ReadOnly,   // a status or measurement
  WriteOnly,  // an action: the value triggers something and is not kept
};

// One plain integer command of the camera: its range, its factory default and whether it
// can be read or written. `allowed`, when set, lists the only accepted values as
// comma-separated numbers and ranges ("0,1,5-8"), for lists whose values have gaps.
// Commands whose limits follow the sensor (region, multi-ROI, blemish positions) carry
// placeholder limits here; CameraCore derives the real ones from the model.
struct SettingDefinition {
  std::string_view mnemonic;
  std::int32_t min;
  std::int32_t max;
  std::int32_t initial;
  Access access = Access::ReadWrite;
  std::string_view allowed = {};
};

// Every plain integer command the camera knows, in command-table order. The families with
// their own syntax (texts, sequencer entries, LUT tables and points, blemish positions,
// user sets, unlock) are handled by CameraCore and are not listed here.
std::span<const SettingDefinition> PlainSettings();

// Whether `value` is accepted by `setting` (range and, where given, the list of values).
bool IsAllowed(const SettingDefinition& setting, std::int32_t value);

}  // namespace qx::sim
