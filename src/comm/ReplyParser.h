#pragma once

#include <string>
#include <string_view>

#include "model/CommandTable.h"

namespace qx {

// A value sent to or received from the camera, of any kind.
struct CommandValue {
  ValueKind kind = ValueKind::Integer;
  int integer = 0;
  double real = 0.0;
  std::string text;
};

// One camera line taken apart.
struct ReplyInfo {
  std::string rawLine;  // without spaces, CR and LF, in the received letter case
  std::string name;     // upper-case
  char separator = 0;   // '=' or '?', 0 when the line has neither
  std::string firstValue;
  std::string secondValue;
  int valueCount = 0;
  int commandId = -1;
  int decimalPlaces = 0;
  int firstAsInteger = 0;  // decimal conversion of the first value, set only for two values
  CommandValue value;
  bool invalid = true;
};

// Takes a camera line apart: removes every space, CR and LF, upper-cases it, splits name,
// separator and up to two values, finds the command id of the name (first match) and converts
// the first value by the command's value kind. True when the line is usable.
bool ParseReply(const CommandTable& table, std::string_view line, ReplyInfo& info);

// The value text of an integer command: "&H" followed by hexadecimal digits, else the leading
// decimal digits with an optional sign (none gives 0).
int ParseIntegerValue(std::string_view text);

// strtol with base 0: a leading 0x is hexadecimal, a leading 0 octal, anything else decimal.
// An empty or non-numeric text gives 0.
int ParseAutoBase(std::string_view text);

// The value text of a set line for a command of the given kind.
std::string FormatValue(const CommandValue& value, ValueKind kind, int decimalPlaces);

}  // namespace qx
