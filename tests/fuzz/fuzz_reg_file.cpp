// The registry file is outside input: whatever it holds must parse, and what the parser keeps
// must write out and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qx::platform::RegFile file = qx::platform::RegFile::Parse(text);
  const std::string clean = file.Serialize();
  if (qx::platform::RegFile::Parse(clean).Serialize() != clean) std::abort();
  return 0;
}
