#include "sim/StateFile.h"

#include "platform/FileSystem.h"

namespace qx::sim {

std::optional<std::string> StateFile::Load(const std::string& path) {
  std::string text;
  if (!platform::ReadWholeFile(path, text)) return std::nullopt;
  return text;
}

std::string StateFile::Save(const std::string& path, const std::string& text) {
  std::string error;
  return platform::WriteFileAtomically(path, text, &error) ? std::string() : error;
}

}  // namespace qx::sim
