#include "platform/Environment.h"

#include <cstdlib>

namespace qx::platform {

EnvLookup ProcessEnvironment() {
  return [](const std::string& name) -> std::optional<std::string> {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
  };
}

}  // namespace qx::platform
