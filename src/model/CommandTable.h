#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qx {

// How a command's value is written to and read from the camera.
enum class ValueKind : int { Integer = 0, Real = 1, Text = 2 };

struct CommandRecord {
  int commandId = 0;
  std::string mnemonic;  // empty: the id has no camera command
  ValueKind valueKind = ValueKind::Integer;
  int decimalPlaces = 0;
};

// The tool's dictionary of camera commands: 640 fixed records indexed by command id.
// Only the value kind changes at run time (a text set switches it for one transaction).
class CommandTable {
 public:
  static constexpr int kCommandCount = 640;

  CommandTable();

  // Ids come from the parameter table or from fixed ids; out-of-range ids are treated as
  // commands without a mnemonic rather than read out of bounds.
  const std::string& Mnemonic(int commandId) const;
  ValueKind GetValueKind(int commandId) const;
  int DecimalPlaces(int commandId) const;
  void SetValueKind(int commandId, ValueKind kind);
  bool HasCameraCommand(int commandId) const { return !Mnemonic(commandId).empty(); }

  // Linear search from id 0 upward, exact and case-sensitive; the first match wins, so a
  // mnemonic listed twice resolves to its lower id. The empty text matches the first id
  // without a mnemonic. -1 when nothing matches.
  int IdOfMnemonic(std::string_view mnemonic) const;

  static bool IsValidId(int commandId) { return commandId >= 0 && commandId < kCommandCount; }

 private:
  std::array<CommandRecord, kCommandCount> records_;
};

// Fixed command ids that other parts of the tool name directly.
namespace cmd {
inline constexpr int kEB = 0;
inline constexpr int kVN = 3;
inline constexpr int kMD = 4;
inline constexpr int kUD = 5;
inline constexpr int kDV = 6;
inline constexpr int kCRS00 = 8;
inline constexpr int kEM = 9;
inline constexpr int kTM = 16;
inline constexpr int kSTRG = 17;
inline constexpr int kAR = 79;
inline constexpr int kAGC = 86;
inline constexpr int kATCS = 87;
inline constexpr int kFGR = 93;
inline constexpr int kFGG = 94;
inline constexpr int kFGB = 95;
inline constexpr int kAWB = 116;
inline constexpr int kAWRS = 117;
inline constexpr int kASC = 122;
inline constexpr int kATCS2 = 123;
inline constexpr int kLUTSR = 129;
inline constexpr int kLUTSG = 130;
inline constexpr int kLUTSB = 131;
inline constexpr int kRS = 141;
inline constexpr int kSDRS = 142;
inline constexpr int kHB = 143;
inline constexpr int kVB = 144;
inline constexpr int kTMP0 = 170;
inline constexpr int kVSM = 206;
inline constexpr int kSQIDX = 370;
inline constexpr int kSQRST = 371;
inline constexpr int kLD = 383;
inline constexpr int kSA = 384;
inline constexpr int kSA00 = 386;
inline constexpr int kULCK = 387;
inline constexpr int kID = 388;
inline constexpr int kMD00 = 389;
inline constexpr int kFPVN = 391;
inline constexpr int kXMLVR = 525;
inline constexpr int kSMRMD = 569;
inline constexpr int kFCBDRT = 613;
inline constexpr int kSBDRT = 614;
}  // namespace cmd

}  // namespace qx
