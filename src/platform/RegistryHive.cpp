#include "platform/RegistryHive.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/UniqueFd.h"

namespace qx::platform {

namespace {

// A preferences file larger than this is not ours; reading it as empty keeps a stray large
// file from costing memory.
constexpr size_t kMaxHiveSize = 1 << 20;

// Holds an flock on the hive's companion lock file for the scope. The lock file, not the
// hive itself, is locked because the hive is replaced by rename on every write.
class HiveLock {
 public:
  HiveLock(const std::string& hivePath, int operation) {
    const std::string folder = FolderOf(hivePath);
    if (!folder.empty()) MakeFolders(folder);
    fd_.reset(::open((hivePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (fd_) {
      while (::flock(fd_.get(), operation) != 0 && errno == EINTR) {
      }
    }
  }

 private:
  UniqueFd fd_;
};

}  // namespace

RegistryHive::RegistryHive(std::string path) : path_(std::move(path)) {}

std::string RegistryHive::DefaultPath() {
  if (const char* explicitPath = std::getenv("QXTOOL_REGISTRY"); explicitPath && *explicitPath) {
    return explicitPath;
  }
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::string(home) + "/.config";
  } else {
    config = CurrentWorkingDirectory();
  }
  return config + "/qxtool/machine.reg";
}

RegFile RegistryHive::Load() const {
  std::string text;
  if (!ReadWholeFile(path_, text) || text.size() > kMaxHiveSize) return {};
  return RegFile::Parse(text);
}

template <class Change>
bool RegistryHive::Modify(Change change) {
  HiveLock lock(path_, LOCK_EX);
  RegFile file = Load();
  change(file);
  return WriteFileAtomically(path_, file.Serialize());
}

bool RegistryHive::KeyExists(const std::string& key) const {
  HiveLock lock(path_, LOCK_SH);
  return Load().HasKey(key);
}

bool RegistryHive::CreateKey(const std::string& key) {
  return Modify([&](RegFile& file) { file.AddKey(key); });
}

std::optional<RegValue> RegistryHive::Query(const std::string& key, const std::string& name) const {
  HiveLock lock(path_, LOCK_SH);
  return Load().Get(key, name);
}

bool RegistryHive::Set(const std::string& key, const std::string& name, const RegValue& value) {
  return Modify([&](RegFile& file) { file.Set(key, name, value); });
}

}  // namespace qx::platform
