#pragma once

#include <optional>
#include <string_view>

namespace qx::platform {

// The integer at the start of a text, read as the C library's atoi reads it: leading blanks,
// an optional sign, then decimal digits up to the first other character. Empty when no digit
// follows; values beyond the range of int are clamped to it.
std::optional<int> ParseLeadingInteger(std::string_view text);

}  // namespace qx::platform
