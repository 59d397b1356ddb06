#include "app/ShutdownRule.h"

#include "app/RegistryStore.h"
#include "comm/CommSettings.h"

namespace qx {

void ApplyShutdownRule(const CRegistryStore& store, CCommSettings& settings) {
  if (!store.PreviousShutdownWasNormal()) settings.SetMode(CCommSettings::kRs232c);
}

}  // namespace qx
