#include "sim/CameraCore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <tuple>

namespace qx::sim {
namespace {

using namespace std::chrono_literals;

constexpr const char* kComplete = "COMPLETE";
constexpr std::size_t kMaxMnemonicLength = 16;
constexpr std::size_t kMaxTextLength = 16;
constexpr std::int32_t kLutMax = 4095;

// Fields of one sequencer entry, in the order of kSequencerStems.
enum SeqField : int {
  kSqF,
  kSqNI,
  kSqHB,
  kSqVB,
  kSqW,
  kSqH,
  kSqOX,
  kSqOY,
  kSqGA,
  kSqPE,
  kSqPER,
  kSqPEG,
  kSqPEB,
  kSqLUT,
  kSqBL,
  kSqGR,
  kSqGG,
  kSqGB,
  kSqPGR,
  kSqPGB,
  kSqFieldCount
};
static_assert(kSqFieldCount == std::tuple_size_v<CameraCore::SequencerEntry>);
constexpr std::string_view kSequencerStems[kSqFieldCount] = {
    "SQF",   "SQNI",  "SQHB",  "SQVB",  "SQW",  "SQH",  "SQOX", "SQOY", "SQGA",  "SQPE",
    "SQPER", "SQPEG", "SQPEB", "SQLUT", "SQBL", "SQGR", "SQGG", "SQGB", "SQPGR", "SQPGB"};

// White-balance presets 5..8 (3200 K ... 7500 K): red and blue digital gains in percent.
constexpr std::int32_t kPresetRed[4] = {94, 100, 103, 106};
constexpr std::int32_t kPresetBlue[4] = {108, 101, 97, 94};

enum class NumberStatus { Ok, Syntax, Range };

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A decimal integer with optional sign, or "&H" and hexadecimal digits, the two forms the
// camera family has always accepted. Anything else is a syntax error; a number that does
// not fit 32 bits is out of range.
NumberStatus ParseNumber(std::string_view text, std::int32_t& out) {
  if (text.empty()) return NumberStatus::Syntax;
  std::int64_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && (text.substr(0, 2) == "&H" || text.substr(0, 2) == "&h")) {
    base = 16;
    first += 2;
  } else if (*first == '+' || *first == '-') {
    negative = *first == '-';
    ++first;
  }
  if (first == last) return NumberStatus::Syntax;
  for (const char* p = first; p != last; ++p) {
    int digit = -1;
    if (*p >= '0' && *p <= '9') {
      digit = *p - '0';
    } else if (base == 16 && *p >= 'A' && *p <= 'F') {
      digit = *p - 'A' + 10;
    } else if (base == 16 && *p >= 'a' && *p <= 'f') {
      digit = *p - 'a' + 10;
    }
    if (digit < 0) return NumberStatus::Syntax;
    // Keep scanning after overflow so that "12x" with many digits is still a syntax error.
    if (value <= std::numeric_limits<std::int32_t>::max()) value = value * base + digit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max() ||
      value < std::numeric_limits<std::int32_t>::min()) {
    return NumberStatus::Range;
  }
  out = static_cast<std::int32_t>(value);
  return NumberStatus::Ok;
}

bool IsPrintable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

bool IsMnemonicText(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

int ChannelOfSuffix(char c) {
  return c == 'R' ? 0 : c == 'G' ? 1 : c == 'B' ? 2 : -1;
}

std::string JoinValues(const std::int32_t* values, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) out += ',';
    out += std::to_string(values[i]);
  }
  return out;
}

template <std::size_t N>
bool SplitValues(std::string_view text, std::array<std::int32_t, N>& out) {
  std::array<std::int32_t, N> values{};
  for (std::size_t i = 0; i < N; ++i) {
    const auto comma = text.find(',');
    if ((comma == std::string_view::npos) != (i + 1 == N)) return false;
    if (ParseNumber(text.substr(0, comma), values[i]) != NumberStatus::Ok) return false;
    if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
  }
  out = values;
  return true;
}

}  // namespace

struct CameraCore::Result {
  std::string line;
  std::optional<CameraError> error;
  Duration processing{};

  static Result Ok(std::string line, Duration processing = {}) {
    return Result{std::move(line), std::nullopt, processing};
  }
  static Result Error(CameraError error) { return Result{{}, error, {}}; }
};

CameraCore::CameraCore(CameraConfig config, const Clock& clock)
    : config_(std::move(config)), clock_(clock), poweredAt_(clock.Now()) {
  const std::uint32_t bit = BaudRateBit(config_.baud);
  config_.supportedBaudMask |= bit;
  for (const SettingDefinition& setting : PlainSettings()) definitions_.push_back(setting);
  for (int i = 0; i < static_cast<int>(definitions_.size()); ++i)
    indexOf_[definitions_[i].mnemonic] = i;
  modelName_ = config_.modelName;
  const Settings factory = FactorySettings();
  areas_.fill(factory);
  current_ = factory;
  if (bit) Plain("FCBDRT") = static_cast<std::int32_t>(bit);
  PowerOn();
}

std::string CameraCore::ErrorLine(CameraError error) {
  const char* text = "Unknown command";
  switch (error) {
    case CameraError::UnknownCommand:
      text = "Unknown command";
      break;
    case CameraError::BadSyntax:
      text = "Bad syntax";
      break;
    case CameraError::OutOfRange:
      text = "Value out of range";
      break;
    case CameraError::ReadOnly:
      text = "Read only";
      break;
    case CameraError::WriteOnly:
      text = "Write only";
      break;
    case CameraError::Locked:
      text = "Locked";
      break;
    case CameraError::LineTooLong:
      text = "Line too long";
      break;
  }
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "ERROR %02d %s", static_cast<int>(error), text);
  return buffer;
}

int CameraCore::Baud() const {
  if (!baudChanged_) return config_.baud;
  return BaudRateOfBit(static_cast<std::uint32_t>(Plain("FCBDRT")));
}

CameraCore::Settings CameraCore::FactorySettings() const {
  Settings s;
  for (const SettingDefinition& setting : definitions_) s.plain.push_back(setting.initial);
  const int w = config_.sensorWidth;
  const int h = config_.sensorHeight;
  auto set = [&](std::string_view name, std::int32_t v) { s.plain[IndexOf(name)] = v; };
  set("WTC", w);
  set("HTL", h);
  set("SMRW1", w);
  set("SMRW2", w);
  set("SMRH1", h);
  set("SMRH2", h);
  for (int e = 0; e < kSequencerEntries; ++e) {
    auto& entry = s.sequencer[e];
    entry.fill(0);
    entry[kSqF] = 1;
    entry[kSqNI] = e % kSequencerEntries + 1 == kSequencerEntries ? 1 : e + 2;
    entry[kSqHB] = 1;
    entry[kSqVB] = 1;
    entry[kSqW] = w;
    entry[kSqH] = h;
    entry[kSqGA] = 100;
    entry[kSqPE] = entry[kSqPER] = entry[kSqPEG] = entry[kSqPEB] = 18000;
    entry[kSqGR] = entry[kSqGG] = entry[kSqGB] = 100;
    entry[kSqPGR] = entry[kSqPGB] = 100;
  }
  for (auto& table : s.lutTables) {
    for (int i = 0; i < kLutTableSize; ++i) table[i] = i * kLutMax / (kLutTableSize - 1);
  }
  for (auto& points : s.lutPoints) {
    for (int i = 0; i < kLutPoints; ++i) points[i] = std::min(kLutMax, i * 16);
  }
  return s;
}

void CameraCore::PowerOn() {
  // The camera boots from the factory area; the line rate is a property of the link and
  // survives a reset, or the tool could not talk to the camera afterwards.
  const std::int32_t baudBit = Plain("FCBDRT");
  current_ = areas_[0];
  Plain("FCBDRT") = baudBit;
  blemish_ = blemishStored_;
  unlocked_ = false;
  exposureAuto_ = gainAuto_ = whiteBalance_ = AutoRun{};
  exposureStatus_ = whiteStatus_ = shadingStatus_ = 255;
  lastError_ = 0;
  counterSince_.fill(clock_.Now());
  counterBase_.fill(0);
  sequencerIndex_ = 1;
  tableRun_ = {};
}

int CameraCore::IndexOf(std::string_view mnemonic) const {
  const auto it = indexOf_.find(mnemonic);
  return it == indexOf_.end() ? -1 : it->second;
}

std::int32_t& CameraCore::Plain(std::string_view mnemonic) {
  return current_.plain[IndexOf(mnemonic)];
}

std::int32_t CameraCore::Plain(std::string_view mnemonic) const {
  return current_.plain[IndexOf(mnemonic)];
}

CameraReply CameraCore::Execute(std::string_view line) {
  Advance();
  Result result = Result::Error(CameraError::BadSyntax);
  bool lutTableLine = false;
  const std::string_view text = Trim(line);
  const auto op = text.find_first_of("=?");
  if (IsPrintable(text) && op != std::string_view::npos) {
    const std::string name = Upper(Trim(text.substr(0, op)));
    if (name.empty()) {
      result = Result::Error(CameraError::BadSyntax);
    } else if (name.size() > kMaxMnemonicLength || !IsMnemonicText(name)) {
      result = Result::Error(CameraError::UnknownCommand);
    } else {
      lutTableLine = name == "LUTSR" || name == "LUTSG" || name == "LUTSB";
      result = Dispatch(name, text[op], Trim(text.substr(op + 1)));
    }
  }
  if (!lutTableLine) tableRun_ = {};
  if (result.error) {
    lastError_ = static_cast<std::int32_t>(*result.error);
    return CameraReply{ErrorLine(*result.error), {}};
  }
  return CameraReply{std::move(result.line), result.processing};
}

CameraCore::Result CameraCore::Dispatch(std::string_view name, char op, std::string_view value) {
  if (name == "MD" || name == "MD00" || name == "UD" || name == "DV" || name == "ID") {
    return TextCommand(name, op, value);
  }
  if (name.size() == 5 && name.substr(0, 4) == "LUTS" && ChannelOfSuffix(name[4]) >= 0) {
    return LutTableCommand(ChannelOfSuffix(name[4]), name, op, value);
  }
  if (name == "LUTR" || name == "LUTG" || name == "LUTB" ||
      (name.size() == 6 && (name.substr(0, 4) == "BMPX" || name.substr(0, 4) == "BMPY") &&
       name[4] == 'W' && ChannelOfSuffix(name[5]) >= 0)) {
    return PairCommand(name, op, value);
  }
  const int index = IndexOf(name);
  if (index >= 0) {
    if (!config_.multiRoi && name.substr(0, 3) == "SMR") {
      return Result::Error(CameraError::UnknownCommand);
    }
    return PlainCommand(index, name, op, value);
  }
  const auto digits = name.find_last_not_of("0123456789") + 1;
  const std::string_view stem = name.substr(0, digits);
  for (int field = 0; field < kSqFieldCount; ++field) {
    if (stem != kSequencerStems[field]) continue;
    int entry = current_.plain[IndexOf("CSQI")];
    if (digits < name.size()) {
      const std::string_view number = name.substr(digits);
      std::int32_t parsed = 0;
      if (number.size() > 3 || ParseNumber(number, parsed) != NumberStatus::Ok || parsed < 1 ||
          parsed > kSequencerEntries) {
        return Result::Error(CameraError::OutOfRange);
      }
      entry = parsed;
    }
    return SequencerCommand(name, field, entry, op, value);
  }
  return Result::Error(CameraError::UnknownCommand);
}

CameraCore::Result CameraCore::PlainCommand(int index, std::string_view name, char op,
                                            std::string_view value) {
  const SettingDefinition& setting = definitions_[index];
  if (op == '?') {
    if (!value.empty()) return Result::Error(CameraError::BadSyntax);
    if (setting.access == Access::WriteOnly) return Result::Error(CameraError::WriteOnly);
    return Result::Ok(std::string(name) + "=" + std::to_string(QueryPlain(index)));
  }
  std::int32_t number = 0;
  const NumberStatus status = ParseNumber(value, number);
  if (setting.access == Access::ReadOnly) {
    // Setting files written by the tool carry the supported rates; writing back the
    // value the camera reports is harmless and acknowledged.
    if (name == "SBDRT" && status == NumberStatus::Ok && number == QueryPlain(index)) {
      return Result::Ok(kComplete);
    }
    return Result::Error(CameraError::ReadOnly);
  }
  switch (status) {
    case NumberStatus::Syntax:
      return Result::Error(CameraError::BadSyntax);
    case NumberStatus::Range:
      return Result::Error(CameraError::OutOfRange);
    case NumberStatus::Ok:
      break;
  }
  if (!IsAllowedPlain(index, number)) return Result::Error(CameraError::OutOfRange);
  Duration processing{};
  Result result = SetPlain(index, number, processing);
  if (!result.error) result.processing = processing;
  return result;
}

CameraCore::Limits CameraCore::PlainLimits(int index) const {
  const SettingDefinition& setting = definitions_[index];
  const std::string_view name = setting.mnemonic;
  const int hb = Plain("HB");
  const int vb = Plain("VB");
  const int w = config_.sensorWidth;
  const int h = config_.sensorHeight;
  if (name == "WTC") return {96 / hb, w / hb};
  if (name == "OFC") return {0, w / hb - 96 / hb};
  if (name == "HTL") return {2, h / vb};
  if (name == "OFL") return {0, h / vb - 2};
  if (name == "SMRW1" || name == "SMRW2") return {16, w};
  if (name == "SMROX1" || name == "SMROX2") return {0, w - 16};
  if (name == "SMRH1" || name == "SMRH2") return {2, h};
  if (name == "SMROY1" || name == "SMROY2") return {0, h - 2};
  if (name == "PE" || name == "PER" || name == "PEG" || name == "PEB") {
    return {hb == 2 && vb == 2 ? config_.binnedMinExposure : 1, setting.max};
  }
  return {setting.min, setting.max};
}

bool CameraCore::IsAllowedPlain(int index, std::int32_t value) const {
  SettingDefinition setting = definitions_[index];
  const Limits limits = PlainLimits(index);
  setting.min = limits.min;
  setting.max = limits.max;
  if (!IsAllowed(setting, value)) return false;
  if (setting.mnemonic == "FCBDRT") {
    return (static_cast<std::uint32_t>(value) & config_.supportedBaudMask) != 0;
  }
  return true;
}

CameraCore::Result CameraCore::AdjustRegion(std::string_view size, std::string_view offset,
                                            bool settingSize, std::int32_t value) {
  // A region must stay on the sensor. Setting the size moves the offset back when needed;
  // setting the offset shrinks the size, as long as the size stays above its minimum.
  const Limits sizeLimits = PlainLimits(IndexOf(size));
  std::int32_t& sizeValue = Plain(size);
  std::int32_t& offsetValue = Plain(offset);
  if (settingSize) {
    sizeValue = value;
    if (offsetValue + value > sizeLimits.max) offsetValue = sizeLimits.max - value;
  } else {
    if (value + sizeValue > sizeLimits.max) {
      const std::int32_t shrunk = sizeLimits.max - value;
      if (shrunk < sizeLimits.min) return Result::Error(CameraError::OutOfRange);
      sizeValue = shrunk;
    }
    offsetValue = value;
  }
  return Result::Ok(kComplete);
}

void CameraCore::RescaleRegion(std::string_view size, std::string_view offset) {
  // Binning changes the unit of the region: keep the same sensor area where it fits.
  const Limits sizeLimits = PlainLimits(IndexOf(size));
  std::int32_t& sizeValue = Plain(size);
  std::int32_t& offsetValue = Plain(offset);
  sizeValue = std::clamp(sizeValue, sizeLimits.min, sizeLimits.max);
  offsetValue = std::clamp(offsetValue, 0, sizeLimits.max - sizeValue);
}

CameraCore::Result CameraCore::SetPlain(int index, std::int32_t value, Duration& processing) {
  const std::string_view name = definitions_[index].mnemonic;
  std::int32_t& stored = current_.plain[index];
  if (name == "HB" || name == "VB") {
    const bool horizontal = name == "HB";
    const std::int32_t old = stored;
    stored = value;
    std::int32_t& size = Plain(horizontal ? "WTC" : "HTL");
    std::int32_t& offset = Plain(horizontal ? "OFC" : "OFL");
    size = size * old / value;
    offset = offset * old / value;
    RescaleRegion(horizontal ? "WTC" : "HTL", horizontal ? "OFC" : "OFL");
    return Result::Ok(kComplete);
  }
  if (name == "WTC" || name == "OFC") return AdjustRegion("WTC", "OFC", name == "WTC", value);
  if (name == "HTL" || name == "OFL") return AdjustRegion("HTL", "OFL", name == "HTL", value);
  for (const char* roi : {"1", "2"}) {
    const std::string w = std::string("SMRW") + roi, ox = std::string("SMROX") + roi;
    const std::string h = std::string("SMRH") + roi, oy = std::string("SMROY") + roi;
    if (name == w || name == ox) return AdjustRegion(w, ox, name == w, value);
    if (name == h || name == oy) return AdjustRegion(h, oy, name == h, value);
  }
  if (name == "ASC" || name == "AGC") {
    AutoRun& run = name == "ASC" ? exposureAuto_ : gainAuto_;
    AutoRun& other = name == "ASC" ? gainAuto_ : exposureAuto_;
    stored = value;
    if (value == 0) {
      if (run.running && !other.running) exposureStatus_ = 255;
      run = AutoRun{};
    } else {
      StartAuto(run, exposureStatus_, value);
    }
    return Result::Ok(kComplete);
  }
  if (name == "AWB") {
    stored = value;
    if (value == 0) {
      if (whiteBalance_.running) whiteStatus_ = 255;
      whiteBalance_ = AutoRun{};
    } else if (value <= 4) {
      StartAuto(whiteBalance_, whiteStatus_, value);
    } else {
      whiteBalance_ = AutoRun{};
      Plain("PGR") = kPresetRed[value - 5];
      Plain("PGB") = kPresetBlue[value - 5];
      whiteStatus_ = 0;
    }
    return Result::Ok(kComplete);
  }
  if (name == "CRS00") {
    PowerOn();
    return Result::Ok(kComplete);
  }
  if (name == "SA" || name == "SA00") {
    areas_[name == "SA00" ? 0 : value] = current_;
    MarkNonVolatileChanged();
    processing = 300ms;  // a flash sector write
    return Result::Ok(kComplete);
  }
  if (name == "LD") {
    const std::int32_t baudBit = Plain("FCBDRT");
    current_ = areas_[value];
    Plain("FCBDRT") = baudBit;
    exposureAuto_ = gainAuto_ = whiteBalance_ = AutoRun{};
    processing = 100ms;
    return Result::Ok(kComplete);
  }
  if (name == "ULCK") {
    unlocked_ = value == kUnlockCode;
    if (!unlocked_) return Result::Error(CameraError::OutOfRange);
    return Result::Ok(kComplete);
  }
  if (name == "CE0" || name == "CE1" || name == "CE2") {
    const int counter = name[2] - '0';
    if (stored == 0 && value != 0) counterSince_[counter] = clock_.Now();
    if (stored != 0 && value == 0) counterBase_[counter] = CounterValue(counter);
    stored = value;
    return Result::Ok(kComplete);
  }
  if (name == "CR0" || name == "CR1" || name == "CR2") {
    const int counter = name[2] - '0';
    counterBase_[counter] = 0;
    counterSince_[counter] = clock_.Now();
    return Result::Ok(kComplete);
  }
  if (name == "RS") {
    shadingStatus_ = 0;
    processing = 800ms;  // the flat-field capture and calculation
    return Result::Ok(kComplete);
  }
  if (name == "BMS") {
    blemishStored_ = blemish_;
    MarkNonVolatileChanged();
    processing = 200ms;
    return Result::Ok(kComplete);
  }
  if (name == "BMRCW") {
    for (int channel = 0; channel < 3; ++channel) DetectBlemishes(channel);
    processing = 500ms;
    return Result::Ok(kComplete);
  }
  if (name == "BMCLRR" || name == "BMCLRG" || name == "BMCLRB") {
    auto& table = blemish_[ChannelOfSuffix(name[5])];
    if (value == 0) {
      table.fill(BlemishPoint{});
    } else {
      table[value - 1] = BlemishPoint{};
    }
    return Result::Ok(kComplete);
  }
  if (name == "SQRST") {
    sequencerIndex_ = 1;
    return Result::Ok(kComplete);
  }
  if (name == "XMLVR") {
    xmlVersion_ = value;
    MarkNonVolatileChanged();
    return Result::Ok(kComplete);
  }
  if (name == "FCBDRT") baudChanged_ = true;
  if (definitions_[index].access == Access::ReadWrite) stored = value;
  return Result::Ok(kComplete);
}

std::int32_t CameraCore::QueryPlain(int index) {
  const std::string_view name = definitions_[index].mnemonic;
  if (name == "ATCS") return exposureStatus_;
  if (name == "AWRS") return whiteStatus_;
  if (name == "SDRS") return shadingStatus_;
  if (name == "TMP0") return Temperature();
  if (name == "CV0" || name == "CV1" || name == "CV2") return CounterValue(name[2] - '0');
  if (name == "VSM" && config_.multiRoi && Plain("SMRMD") == 1) return 4;
  if (name == "ALCST") return Plain("ASC") == 1 ? 2 : Plain("AGC") == 1 ? 3 : 0;
  if (name == "SBDRT") return static_cast<std::int32_t>(config_.supportedBaudMask);
  if (name == "ERRER") return lastError_;
  if (name == "SQIDX") return sequencerIndex_;
  if (name == "XMLVR") return xmlVersion_;
  if (name == "BNUMR" || name == "BNUMG" || name == "BNUMB" || name == "BNUM") {
    std::int32_t count = 0;
    for (int channel = 0; channel < 3; ++channel) {
      if (name.size() == 5 && channel != ChannelOfSuffix(name[4])) continue;
      for (const BlemishPoint& p : blemish_[channel]) count += p.x >= 0 && p.y >= 0;
    }
    return count;
  }
  return current_.plain[index];
}

CameraCore::Result CameraCore::TextCommand(std::string_view name, char op, std::string_view value) {
  std::string* target = name == "UD"   ? &userId_
                        : name == "DV" ? &deviceVersion_
                        : name == "ID" ? &cameraId_
                                       : &modelName_;
  if (op == '?') {
    if (!value.empty()) return Result::Error(CameraError::BadSyntax);
    return Result::Ok(std::string(name) + "=" + *target);
  }
  // MD reports the model; MD00 is the factory's way to write it.
  if (name == "MD") return Result::Error(CameraError::ReadOnly);
  if (value.size() > kMaxTextLength) return Result::Error(CameraError::OutOfRange);
  if (value.empty() && name != "UD") return Result::Error(CameraError::BadSyntax);
  if (name == "ID") {
    if (!unlocked_) return Result::Error(CameraError::Locked);
    unlocked_ = false;  // one write per unlock
  }
  *target = std::string(value);
  MarkNonVolatileChanged();
  return Result::Ok(kComplete);
}

CameraCore::Result CameraCore::LutTableCommand(int channel, std::string_view name, char op,
                                               std::string_view value) {
  if (tableRun_.channel != channel || tableRun_.op != op) tableRun_ = {channel, op, 0};
  auto& table = current_.lutTables[channel];
  const int entry = tableRun_.count % kLutTableSize;
  if (op == '?') {
    if (!value.empty()) return Result::Error(CameraError::BadSyntax);
    ++tableRun_.count;
    return Result::Ok(std::string(name) + "=" + std::to_string(table[entry]));
  }
  std::int32_t number = 0;
  const NumberStatus status = ParseNumber(value, number);
  if (status == NumberStatus::Syntax) return Result::Error(CameraError::BadSyntax);
  if (status == NumberStatus::Range || number < 0 || number > kLutMax) {
    return Result::Error(CameraError::OutOfRange);
  }
  table[entry] = number;
  ++tableRun_.count;
  return Result::Ok(kComplete);
}

CameraCore::Result CameraCore::PairCommand(std::string_view name, char op, std::string_view value) {
  // Two-value commands: the first value selects an entry (LUT point 0..256, blemish number
  // 1..200), the second is its value. A query names the entry after the "?".
  const bool lut = name.substr(0, 3) == "LUT";
  const int channel = ChannelOfSuffix(name.back());
  Limits entryLimits{0, kLutPoints - 1};
  Limits valueLimits{0, kLutMax};
  if (!lut) {
    const bool x = name[3] == 'X';
    entryLimits = {1, kBlemishEntries};
    valueLimits = {-1, (x ? config_.sensorWidth : config_.sensorHeight) - 1};
  }
  auto slot = [&](std::int32_t entry) -> std::int32_t& {
    if (lut) return current_.lutPoints[channel][entry];
    BlemishPoint& point = blemish_[channel][entry - 1];
    return name[3] == 'X' ? point.x : point.y;
  };
  std::array<std::int32_t, 2> pair{};
  if (op == '?') {
    std::int32_t entry = 0;
    if (ParseNumber(value, entry) != NumberStatus::Ok) {
      return Result::Error(CameraError::BadSyntax);
    }
    if (entry < entryLimits.min || entry > entryLimits.max) {
      return Result::Error(CameraError::OutOfRange);
    }
    return Result::Ok(std::string(name) + "=" + std::to_string(slot(entry)));
  }
  if (!SplitValues(value, pair)) return Result::Error(CameraError::BadSyntax);
  if (pair[0] < entryLimits.min || pair[0] > entryLimits.max || pair[1] < valueLimits.min ||
      pair[1] > valueLimits.max) {
    return Result::Error(CameraError::OutOfRange);
  }
  slot(pair[0]) = pair[1];
  return Result::Ok(kComplete);
}

CameraCore::Limits CameraCore::SequencerLimits(int field, int entry) const {
  return SequencerLimitsOf(current_.sequencer[entry - 1], field);
}

CameraCore::Limits CameraCore::SequencerLimitsOf(const SequencerEntry& e, int field) const {
  const int w = config_.sensorWidth / e[kSqHB];
  const int h = config_.sensorHeight / e[kSqVB];
  switch (field) {
    case kSqF:
      return {1, 255};
    case kSqNI:
      return {1, kSequencerEntries};
    case kSqHB:
    case kSqVB:
      return {1, 2};
    case kSqW:
      return {96 / e[kSqHB], w};
    case kSqH:
      return {2, h};
    case kSqOX:
      return {0, w - 96 / e[kSqHB]};
    case kSqOY:
      return {0, h - 2};
    case kSqGA:
      return {100, 800};
    case kSqPE:
    case kSqPER:
    case kSqPEG:
    case kSqPEB:
      return {1, 8000000};
    case kSqLUT:
      return {0, 1};
    case kSqBL:
      return {-133, 255};
    case kSqPGR:
    case kSqPGB:
      return {90, 110};
    default:
      return {47, 6400};  // the colour gains
  }
}

CameraCore::Result CameraCore::SequencerCommand(std::string_view name, int field, int entry,
                                                char op, std::string_view value) {
  auto& e = current_.sequencer[entry - 1];
  if (op == '?') {
    if (!value.empty()) return Result::Error(CameraError::BadSyntax);
    return Result::Ok(std::string(name) + "=" + std::to_string(e[field]));
  }
  std::int32_t number = 0;
  switch (ParseNumber(value, number)) {
    case NumberStatus::Syntax:
      return Result::Error(CameraError::BadSyntax);
    case NumberStatus::Range:
      return Result::Error(CameraError::OutOfRange);
    case NumberStatus::Ok:
      break;
  }
  const Limits limits = SequencerLimits(field, entry);
  if (number < limits.min || number > limits.max) return Result::Error(CameraError::OutOfRange);
  // The entry's region follows the same rules as the live region: it stays on the
  // (binned) sensor, the size winning over the offset.
  auto keepOnSensor = [&](int size, int offset, bool settingSize) {
    const Limits sizeLimits = SequencerLimits(size, entry);
    if (settingSize) {
      e[size] = number;
      if (e[offset] + number > sizeLimits.max) e[offset] = sizeLimits.max - number;
      return true;
    }
    if (number + e[size] > sizeLimits.max) {
      if (sizeLimits.max - number < sizeLimits.min) return false;
      e[size] = sizeLimits.max - number;
    }
    e[offset] = number;
    return true;
  };
  switch (field) {
    case kSqW:
    case kSqOX:
      if (!keepOnSensor(kSqW, kSqOX, field == kSqW)) {
        return Result::Error(CameraError::OutOfRange);
      }
      break;
    case kSqH:
    case kSqOY:
      if (!keepOnSensor(kSqH, kSqOY, field == kSqH)) {
        return Result::Error(CameraError::OutOfRange);
      }
      break;
    case kSqHB:
    case kSqVB: {
      e[field] = number;
      const int size = field == kSqHB ? kSqW : kSqH;
      const int offset = field == kSqHB ? kSqOX : kSqOY;
      const Limits sizeLimits = SequencerLimits(size, entry);
      e[size] = std::clamp(e[size], sizeLimits.min, sizeLimits.max);
      e[offset] = std::clamp(e[offset], 0, sizeLimits.max - e[size]);
      break;
    }
    default:
      e[field] = number;
  }
  return Result::Ok(kComplete);
}

void CameraCore::StartAuto(AutoRun& run, std::int32_t& status, std::int32_t value) {
  run = AutoRun{true, clock_.Now() + config_.autoBusyTime, value};
  status = 4;  // Busy
}

void CameraCore::Advance() {
  const TimePoint now = clock_.Now();
  if (exposureAuto_.running && now >= exposureAuto_.end) {
    // Converged: the exposure settles inside the auto-exposure limits.
    const std::int32_t low = Plain("ASCEI");
    const std::int32_t high = std::max(low, Plain("ASCEA"));
    const std::int32_t exposure = std::clamp<std::int32_t>(12000, low, high);
    for (const char* name : {"PE", "PER", "PEG", "PEB"}) Plain(name) = exposure;
    if (exposureAuto_.value == 2) Plain("ASC") = 0;  // "Once" returns to "Off"
    exposureAuto_.running = false;
    exposureStatus_ = 8;  // Convergent
  }
  if (gainAuto_.running && now >= gainAuto_.end) {
    const std::int32_t low = Plain("AGCGI");
    const std::int32_t high = std::max(low, Plain("AGCGA"));
    Plain("FGA") = std::clamp<std::int32_t>(200, low, high);
    if (gainAuto_.value == 2) Plain("AGC") = 0;
    gainAuto_.running = false;
    exposureStatus_ = 8;
  }
  if (whiteBalance_.running && now >= whiteBalance_.end) {
    const std::int32_t mode = whiteBalance_.value;
    if (mode == 3 || mode == 4) {
      // Balancing by exposure: the red and blue exposure times move around the common one.
      const std::int64_t common = Plain("PE");
      Plain("PER") =
          static_cast<std::int32_t>(std::clamp<std::int64_t>(common * 104 / 100, 1, 8000000));
      Plain("PEB") =
          static_cast<std::int32_t>(std::clamp<std::int64_t>(common * 96 / 100, 1, 8000000));
    } else {
      Plain("PGR") = 104;
      Plain("PGB") = 96;
    }
    if (mode == 2 || mode == 4) Plain("AWB") = 0;
    whiteBalance_.running = false;
    whiteStatus_ = 0;  // Complete
  }
}

void CameraCore::DetectBlemishes(int channel) {
  // A lower threshold finds more defects; positions are fixed so that runs repeat.
  static constexpr std::string_view kThreshold[3] = {"BMTHWR", "BMTHWG", "BMTHWB"};
  const int found = 1 + (100 - Plain(kThreshold[channel])) / 25;
  auto& table = blemish_[channel];
  int placed = 0;
  for (int j = 0; j < kBlemishEntries && placed < found; ++j) {
    if (table[j].x >= 0) continue;
    table[j].x = (j * 397 + channel * 131 + 17) % config_.sensorWidth;
    table[j].y = (j * 211 + channel * 73 + 29) % config_.sensorHeight;
    ++placed;
  }
}

std::int32_t CameraCore::CounterValue(int counter) const {
  static constexpr std::string_view kEnable[3] = {"CE0", "CE1", "CE2"};
  if (Plain(kEnable[counter]) == 0) return counterBase_[counter];
  // Counts frames at the current frame period.
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::microseconds>(clock_.Now() - counterSince_[counter]);
  const std::int64_t frames = elapsed.count() / std::max<std::int32_t>(1, Plain("AR"));
  return static_cast<std::int32_t>(std::min<std::int64_t>(
      counterBase_[counter] + frames, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t CameraCore::Temperature() const {
  // The housing warms from 25 C towards 40 C after power-up (time constant 10 minutes);
  // the reading is in 1/128 degrees.
  const double seconds = std::chrono::duration<double>(clock_.Now() - poweredAt_).count();
  const double celsius = 40.0 - 15.0 * std::exp(-std::max(0.0, seconds) / 600.0);
  return static_cast<std::int32_t>(std::lround(celsius * 128.0));
}

std::string CameraCore::SaveNonVolatile() const {
  std::ostringstream out;
  out << "qxcam-sim state 1\n";
  out << "model " << modelName_ << "\n";
  out << "id " << cameraId_ << "\n";
  out << "ud " << userId_ << "\n";
  out << "dv " << deviceVersion_ << "\n";
  out << "xmlvr " << xmlVersion_ << "\n";
  for (int a = 0; a < kAreas; ++a) {
    const Settings& s = areas_[a];
    for (std::size_t i = 0; i < definitions_.size(); ++i) {
      if (definitions_[i].access != Access::ReadWrite || definitions_[i].mnemonic == "FCBDRT" ||
          definitions_[i].mnemonic == "XMLVR") {
        continue;
      }
      out << "area " << a << " " << definitions_[i].mnemonic << " " << s.plain[i] << "\n";
    }
    for (int e = 0; e < kSequencerEntries; ++e) {
      out << "area " << a << " SQ" << e + 1 << " "
          << JoinValues(s.sequencer[e].data(), s.sequencer[e].size()) << "\n";
    }
    static constexpr const char* kTables[3] = {"LUTSR", "LUTSG", "LUTSB"};
    static constexpr const char* kPoints[3] = {"LUTR", "LUTG", "LUTB"};
    for (int c = 0; c < 3; ++c) {
      out << "area " << a << " " << kTables[c] << " "
          << JoinValues(s.lutTables[c].data(), s.lutTables[c].size()) << "\n";
      out << "area " << a << " " << kPoints[c] << " "
          << JoinValues(s.lutPoints[c].data(), s.lutPoints[c].size()) << "\n";
    }
  }
  for (int c = 0; c < 3; ++c) {
    for (int j = 0; j < kBlemishEntries; ++j) {
      const BlemishPoint& p = blemishStored_[c][j];
      if (p.x < 0 && p.y < 0) continue;
      out << "blemish " << c << " " << j + 1 << " " << p.x << "," << p.y << "\n";
    }
  }
  return out.str();
}

bool CameraCore::LoadNonVolatile(std::string_view text) {
  // Parsed into copies and taken over only when the header is right; a line that does not
  // make sense is skipped, so a damaged file costs at most the values it damaged.
  auto areas = areas_;
  BlemishTable blemish{};
  std::string model = modelName_, id = cameraId_, ud = userId_, dv = deviceVersion_;
  std::int32_t xml = xmlVersion_;
  bool header = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!header) {
      if (line != "qxcam-sim state 1") return false;
      header = true;
      continue;
    }
    const auto space = line.find(' ');
    if (space == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, space);
    std::string_view rest = line.substr(space + 1);
    const bool textOk = IsPrintable(rest) && rest.size() <= kMaxTextLength;
    if (key == "model" && textOk && !rest.empty()) model = rest;
    if (key == "id" && textOk && !rest.empty()) id = rest;
    if (key == "ud" && textOk) ud = rest;
    if (key == "dv" && textOk && !rest.empty()) dv = rest;
    if (key == "xmlvr") {
      std::int32_t v = 0;
      if (ParseNumber(rest, v) == NumberStatus::Ok && v >= 0 && v <= 999) xml = v;
    }
    if (key == "blemish") {
      int channel = 0, entry = 0;
      std::array<std::int32_t, 2> xy{};
      std::istringstream in{std::string(rest)};
      std::string coords;
      if (in >> channel >> entry >> coords && channel >= 0 && channel < 3 && entry >= 1 &&
          entry <= kBlemishEntries && SplitValues(coords, xy) && xy[0] >= -1 &&
          xy[0] < config_.sensorWidth && xy[1] >= -1 && xy[1] < config_.sensorHeight) {
        blemish[channel][entry - 1] = BlemishPoint{xy[0], xy[1]};
      }
    }
    if (key != "area") continue;
    const auto s1 = rest.find(' ');
    const auto s2 = s1 == std::string_view::npos ? s1 : rest.find(' ', s1 + 1);
    if (s2 == std::string_view::npos) continue;
    std::int32_t area = 0;
    if (ParseNumber(rest.substr(0, s1), area) != NumberStatus::Ok || area < 0 || area >= kAreas) {
      continue;
    }
    const std::string_view name = rest.substr(s1 + 1, s2 - s1 - 1);
    const std::string_view value = rest.substr(s2 + 1);
    Settings& s = areas[area];
    if (name.size() == 5 && name.substr(0, 4) == "LUTS" && ChannelOfSuffix(name[4]) >= 0) {
      std::array<std::int32_t, kLutTableSize> values{};
      if (SplitValues(value, values) && std::all_of(values.begin(), values.end(), [](auto v) {
            return v >= 0 && v <= kLutMax;
          })) {
        s.lutTables[ChannelOfSuffix(name[4])] = values;
      }
    } else if (name == "LUTR" || name == "LUTG" || name == "LUTB") {
      std::array<std::int32_t, kLutPoints> values{};
      if (SplitValues(value, values) && std::all_of(values.begin(), values.end(), [](auto v) {
            return v >= 0 && v <= kLutMax;
          })) {
        s.lutPoints[ChannelOfSuffix(name[3])] = values;
      }
    } else if (name.substr(0, 2) == "SQ" && name.size() > 2 && IndexOf(name) < 0) {
      std::int32_t entry = 0;
      std::array<std::int32_t, kSqFieldCount> values{};
      if (ParseNumber(name.substr(2), entry) == NumberStatus::Ok && entry >= 1 &&
          entry <= kSequencerEntries && SplitValues(value, values) && values[kSqHB] >= 1 &&
          values[kSqHB] <= 2 && values[kSqVB] >= 1 && values[kSqVB] <= 2) {
        bool valid = true;
        for (int field = 0; field < kSqFieldCount; ++field) {
          const Limits limits = SequencerLimitsOf(values, field);
          valid = valid && values[field] >= limits.min && values[field] <= limits.max;
        }
        if (valid) s.sequencer[entry - 1] = values;
      }
    } else if (const int index = IndexOf(name); index >= 0) {
      std::int32_t v = 0;
      if (ParseNumber(value, v) == NumberStatus::Ok && IsAllowed(definitions_[index], v)) {
        s.plain[index] = v;
      }
      // Sensor-dependent values carry placeholder limits in the table; they are checked
      // against this camera's sensor instead.
      const std::string_view m = definitions_[index].mnemonic;
      const bool horizontal =
          m == "WTC" || m == "OFC" || m.substr(0, 4) == "SMRW" || m.substr(0, 5) == "SMROX";
      const bool vertical =
          m == "HTL" || m == "OFL" || m.substr(0, 4) == "SMRH" || m.substr(0, 5) == "SMROY";
      if ((horizontal || vertical) && ParseNumber(value, v) == NumberStatus::Ok && v >= 0 &&
          v <= (horizontal ? config_.sensorWidth : config_.sensorHeight)) {
        s.plain[index] = v;
      }
    }
  }
  if (!header) return false;
  areas_ = areas;
  blemishStored_ = blemish;
  modelName_ = model;
  cameraId_ = id;
  userId_ = ud;
  deviceVersion_ = dv;
  xmlVersion_ = xml;
  PowerOn();
  return true;
}

}  // namespace qx::sim
