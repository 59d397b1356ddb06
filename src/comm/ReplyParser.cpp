#include "comm/ReplyParser.h"

#include "platform/LeadingInteger.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qx {

namespace {

int ClampToInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

int ParseIntegerValue(std::string_view text) {
  if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    // Read like "&H%X": hexadecimal digits into an unsigned 32-bit value.
    unsigned long long value = 0;
    size_t i = 2;
    bool any = false;
    while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i]))) {
      const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
      value = (value << 4) | static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
      value &= 0xFFFFFFFFull;
      any = true;
      ++i;
    }
    return any ? static_cast<int>(static_cast<uint32_t>(value)) : 0;
  }
  return platform::ParseLeadingInteger(text).value_or(0);
}

int ParseAutoBase(std::string_view text) {
  const std::string copy(text);
  const long long value = std::strtoll(copy.c_str(), nullptr, 0);
  return ClampToInt(value);
}

std::string FormatValue(const CommandValue& value, ValueKind kind, int decimalPlaces) {
  switch (kind) {
    case ValueKind::Integer:
      return std::to_string(value.integer);
    case ValueKind::Real: {
      char text[64];
      std::snprintf(text, sizeof text, "%.*f", std::clamp(decimalPlaces, 0, 20), value.real);
      return text;
    }
    case ValueKind::Text:
      return value.text;
  }
  return {};
}

bool ParseReply(const CommandTable& table, std::string_view line, ReplyInfo& info) {
  info = ReplyInfo{};
  info.rawLine.reserve(line.size());
  for (char c : line) {
    if (c != ' ' && c != '\r' && c != '\n') info.rawLine.push_back(c);
  }
  const std::string work = Upper(info.rawLine);

  size_t separator = work.find('=');
  if (separator == std::string::npos) separator = work.find('?');
  if (separator == std::string::npos) return false;
  const size_t comma = work.find(',');

  info.name = work.substr(0, separator);
  info.separator = work[separator];
  if (info.separator == '=') {
    if (comma == std::string::npos || comma < separator) {
      info.firstValue = work.substr(separator + 1);
      info.valueCount = 1;
    } else {
      info.firstValue = work.substr(separator + 1, comma - separator - 1);
      info.secondValue = work.substr(comma + 1);
      info.firstAsInteger = ParseIntegerValue(info.firstValue);
      info.valueCount = 2;
    }
  } else if (separator + 1 < work.size()) {
    info.firstValue = work.substr(separator + 1);
    info.valueCount = 1;
  }

  info.commandId = table.IdOfMnemonic(info.name);
  if (info.commandId < 0) return false;
  info.decimalPlaces = table.DecimalPlaces(info.commandId);
  info.value.kind = table.GetValueKind(info.commandId);
  switch (info.value.kind) {
    case ValueKind::Integer:
      info.value.integer = ParseIntegerValue(info.firstValue);
      break;
    case ValueKind::Real: {
      info.value.real = std::strtod(info.firstValue.c_str(), nullptr);
      const double scaled = std::trunc(info.value.real * std::pow(10.0, info.decimalPlaces));
      info.value.integer = std::isfinite(scaled) ? ClampToInt(static_cast<long long>(std::clamp(
                                                       scaled, double(INT_MIN), double(INT_MAX))))
                                                 : 0;
      break;
    }
    case ValueKind::Text:
      info.value.text = info.firstValue;
      break;
  }
  info.invalid = false;
  return true;
}

}  // namespace qx
