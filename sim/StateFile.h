#pragma once

#include <optional>
#include <string>

namespace qx::sim {

// The file behind --state: the camera's flash memory between runs.
class StateFile {
 public:
  // The file's text, or nothing when it does not exist or cannot be read.
  static std::optional<std::string> Load(const std::string& path);
  // Writes a temporary file in the same folder, flushes it to disk and renames it over
  // the old one, so a crash at any point leaves either the old or the new file, whole.
  // Returns an error text, empty on success.
  static std::string Save(const std::string& path, const std::string& text);
};

}  // namespace qx::sim
