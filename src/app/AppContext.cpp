#include "app/AppContext.h"

#include "app/ControlMode.h"
#include "app/RegistryStore.h"
#include "comm/CommSettings.h"
#include "platform/RegistryHive.h"

namespace qx {

AppContext::AppContext(ui::Desktop& desktop, AppOptions options)
    : desktop_(desktop), options_(std::move(options)) {}

AppContext::~AppContext() {
  while (!destroyInReverse_.empty()) {
    auto destroy = std::move(destroyInReverse_.back());
    destroyInReverse_.pop_back();
    destroy();
  }
}

template <class T, class Make>
T& AppContext::OnFirstUse(std::unique_ptr<T>& slot, Make make) {
  if (!slot) {
    auto created = make();
    slot = std::move(created);
    destroyInReverse_.push_back([&slot] { slot.reset(); });
  }
  return *slot;
}

platform::RegistryHive& AppContext::Hive() {
  return OnFirstUse(hive_, [this] {
    return std::make_unique<platform::RegistryHive>(options_.registryPath.empty()
                                                        ? platform::RegistryHive::DefaultPath()
                                                        : options_.registryPath);
  });
}

CRegistryStore& AppContext::Registry() {
  return OnFirstUse(registry_, [this] { return std::make_unique<CRegistryStore>(Hive()); });
}

CCommSettings& AppContext::CommSettings() {
  return OnFirstUse(commSettings_, [this] { return std::make_unique<CCommSettings>(Registry()); });
}

ControlMode& AppContext::Mode() {
  return OnFirstUse(controlMode_, [this] { return std::make_unique<ControlMode>(Registry()); });
}

}  // namespace qx
