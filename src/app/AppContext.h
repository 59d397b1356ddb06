#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/TrafficLog.h"
#include "model/CommandTable.h"

namespace qx {

namespace platform {
class RegistryHive;
}
namespace ui {
class Desktop;
}
class CRegistryStore;
class CCommSettings;
class ControlMode;

struct AppOptions {
  // The registry file; empty means the default location (see RegistryHive::DefaultPath).
  std::string registryPath;
};

// Owns the program-wide single instances. Each is created on first use; destroying the context
// is the normal end of the program: the instances are destroyed in the reverse order of their
// creation, and their destruction writes the preferences back. Tests build a fresh context
// each, so no state leaks between them.
class AppContext {
 public:
  // The desktop (headless or Qt) outlives the context.
  explicit AppContext(ui::Desktop& desktop, AppOptions options = {});
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  // Fixed program data, present from the start.
  CommandTable& Commands() { return commands_; }
  ui::Desktop& Desktop() { return desktop_; }
  TrafficLog& Traffic() { return traffic_; }

  platform::RegistryHive& Hive();
  CRegistryStore& Registry();
  CCommSettings& CommSettings();
  ControlMode& Mode();

 private:
  template <class T, class Make>
  T& OnFirstUse(std::unique_ptr<T>& slot, Make make);

  ui::Desktop& desktop_;
  AppOptions options_;
  CommandTable commands_;
  TrafficLog traffic_;
  std::vector<std::function<void()>> destroyInReverse_;

  std::unique_ptr<platform::RegistryHive> hive_;
  std::unique_ptr<CRegistryStore> registry_;
  std::unique_ptr<CCommSettings> commSettings_;
  std::unique_ptr<ControlMode> controlMode_;
};

}  // namespace qx
