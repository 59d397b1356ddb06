#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sim/CameraConfig.h"
#include "sim/Clock.h"
#include "sim/SettingTable.h"

namespace qx::sim {

// Error numbers of the camera's error line "ERROR nn text".
enum class CameraError : int {
  UnknownCommand = 1,
  BadSyntax = 2,
  OutOfRange = 3,
  ReadOnly = 4,
  WriteOnly = 5,
  Locked = 6,
  LineTooLong = 7,
};

// What the camera answers to one line: the reply text (without CR LF) and how long the
// camera works before it starts sending it (flash writes, recalibration).
struct CameraReply {
  std::string line;
  Duration processing{};
};

// The simulated camera's command interpreter: one line in, one reply out, no I/O. It keeps
// the working settings, the four flash areas (factory and three user sets), the identity
// records and the timed functions (auto exposure, gain and white balance, temperature,
// counters), all read from the injected clock.
class CameraCore {
 public:
  static constexpr int kSequencerEntries = 128;
  static constexpr int kLutTableSize = 32;
  static constexpr int kLutPoints = 257;
  static constexpr int kBlemishEntries = 200;
  static constexpr int kAreas = 4;
  static constexpr std::int32_t kUnlockCode = 5813207;
  // The fields of one sequencer entry (frame count, next index, binning, region, gains,
  // exposure times, LUT, black level).
  using SequencerEntry = std::array<std::int32_t, 20>;

  CameraCore(CameraConfig config, const Clock& clock);

  // Interprets one command line (without its terminator).
  CameraReply Execute(std::string_view line);

  static std::string ErrorLine(CameraError error);

  const CameraConfig& Config() const { return config_; }
  // The rate the camera currently talks at (follows FCBDRT).
  int Baud() const;

  // The non-volatile memory (flash areas, identity, blemish store) as text, and back. A
  // load that fails leaves the camera as it was and returns false. Loading powers the
  // camera up from the loaded memory, as a restart would.
  std::string SaveNonVolatile() const;
  bool LoadNonVolatile(std::string_view text);
  // Changes whenever the non-volatile memory changed, so a front end knows when to save.
  std::uint64_t NonVolatileGeneration() const { return nvGeneration_; }

 private:
  struct Settings {
    std::vector<std::int32_t> plain;
    std::array<SequencerEntry, kSequencerEntries> sequencer{};
    std::array<std::array<std::int32_t, kLutTableSize>, 3> lutTables{};
    std::array<std::array<std::int32_t, kLutPoints>, 3> lutPoints{};
  };
  struct BlemishPoint {
    std::int32_t x = -1;
    std::int32_t y = -1;
  };
  using BlemishTable = std::array<std::array<BlemishPoint, kBlemishEntries>, 3>;
  struct AutoRun {
    bool running = false;
    TimePoint end{};
    std::int32_t value = 0;  // the mode that started it
  };
  struct Limits {
    std::int32_t min;
    std::int32_t max;
  };
  struct Result;  // reply line or error

  Settings FactorySettings() const;
  void PowerOn();
  void Advance();
  Result Dispatch(std::string_view name, char op, std::string_view value);
  Result PlainCommand(int index, std::string_view name, char op, std::string_view value);
  Result SetPlain(int index, std::int32_t value, Duration& processing);
  std::int32_t QueryPlain(int index);
  Result TextCommand(std::string_view name, char op, std::string_view value);
  Result LutTableCommand(int channel, std::string_view name, char op, std::string_view value);
  Result PairCommand(std::string_view name, char op, std::string_view value);
  Result SequencerCommand(std::string_view name, int field, int entry, char op,
                          std::string_view value);

  Limits PlainLimits(int index) const;
  Limits SequencerLimits(int field, int entry) const;
  Limits SequencerLimitsOf(const SequencerEntry& entry, int field) const;
  bool IsAllowedPlain(int index, std::int32_t value) const;
  std::int32_t& Plain(std::string_view mnemonic);
  std::int32_t Plain(std::string_view mnemonic) const;
  int IndexOf(std::string_view mnemonic) const;
  void RescaleRegion(std::string_view size, std::string_view offset);
  void StartAuto(AutoRun& run, std::int32_t& status, std::int32_t value);
  void FinishAutoRuns();
  void StopAutoRuns();
  Result AdjustRegion(std::string_view size, std::string_view offset, bool settingSize,
                      std::int32_t value);
  void DetectBlemishes(int channel);
  std::int32_t CounterValue(int counter) const;
  std::int32_t Temperature() const;
  void MarkNonVolatileChanged() { ++nvGeneration_; }

  CameraConfig config_;
  const Clock& clock_;
  TimePoint poweredAt_{};
  std::vector<SettingDefinition> definitions_;
  std::unordered_map<std::string_view, int> indexOf_;

  Settings current_;
  std::array<Settings, kAreas> areas_;
  BlemishTable blemish_{};
  BlemishTable blemishStored_{};
  std::string modelName_;
  std::string cameraId_ = "QX00012345";
  std::string userId_;
  std::string deviceVersion_ = "1.0.0.0";
  std::int32_t xmlVersion_ = 110;

  bool unlocked_ = false;
  AutoRun exposureAuto_;
  AutoRun gainAuto_;
  AutoRun whiteBalance_;
  bool baudChanged_ = false;  // FCBDRT was set: the rate follows it, not the start rate
  std::int32_t exposureStatus_ = 255;
  std::int32_t whiteStatus_ = 255;
  std::int32_t shadingStatus_ = 255;
  std::int32_t lastError_ = 0;
  std::array<TimePoint, 3> counterSince_{};
  std::array<std::int32_t, 3> counterBase_{};
  std::int32_t sequencerIndex_ = 1;
  // LUTSR/LUTSG/LUTSB: a run of consecutive sets (or queries) of one channel walks entries
  // 0..31; any other line ends the run.
  struct TableRun {
    int channel = -1;
    char op = 0;
    int count = 0;
  } tableRun_;
  std::uint64_t nvGeneration_ = 0;
};

}  // namespace qx::sim
