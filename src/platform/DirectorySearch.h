#pragma once

#include <string>
#include <vector>

namespace qx::platform {

// The names (without folder) of the regular files in `folder` that match any of the shell
// wildcard patterns, sorted by name and each listed once. A missing or unreadable folder
// gives an empty list.
std::vector<std::string> FindFiles(const std::string& folder,
                                   const std::vector<std::string>& patterns);

}  // namespace qx::platform
