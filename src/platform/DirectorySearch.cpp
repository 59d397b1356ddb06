#include "platform/DirectorySearch.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qx::platform {

std::vector<std::string> FindFiles(const std::string& folder,
                                   const std::vector<std::string>& patterns) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return names;
  // Walked by hand rather than with glob(3) so that a folder name holding wildcard
  // characters is taken literally.
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::error_code statError;
    if (!it->is_regular_file(statError)) continue;
    const std::string name = it->path().filename().string();
    const bool matches = std::any_of(patterns.begin(), patterns.end(), [&](const auto& pattern) {
      return ::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0;
    });
    if (matches) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace qx::platform
