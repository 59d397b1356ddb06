#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qx::platform {

// Looks up an environment variable. Parts that read the environment take one of these so
// that tests hand in their own values instead of changing the process environment (which
// other threads may be reading at the same time).
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// Reads the process environment; an unset or empty variable gives no value.
EnvLookup ProcessEnvironment();

}  // namespace qx::platform
