// Resource files are parsed at start-up; a damaged one must be reported, never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/ResourceParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qx::ui::ParsedResources parsed = qx::ui::ParseResources("fuzz.qxr", text);
  for (auto& dialog : parsed.dialogs) qx::ui::LayOutTemplate(dialog);
  return 0;
}
