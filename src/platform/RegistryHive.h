#pragma once

#include <optional>
#include <string>

#include "platform/RegFile.h"

namespace qx::platform {

// The machine-wide registry hive, kept in a .reg text file. Every access reads the file
// afresh (another process may have changed it); every change is a locked read-modify-write
// that replaces the file atomically, so two processes writing at once never corrupt it.
class RegistryHive {
 public:
  explicit RegistryHive(std::string path);

  // $QXTOOL_REGISTRY when set, else ${XDG_CONFIG_HOME:-$HOME/.config}/qxtool/machine.reg.
  static std::string DefaultPath();

  const std::string& Path() const { return path_; }

  bool KeyExists(const std::string& key) const;
  bool CreateKey(const std::string& key);
  std::optional<RegValue> Query(const std::string& key, const std::string& name) const;
  bool Set(const std::string& key, const std::string& name, const RegValue& value);

 private:
  RegFile Load() const;
  template <class Change>
  bool Modify(Change change);

  std::string path_;
};

}  // namespace qx::platform
