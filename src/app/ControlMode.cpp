#include "app/ControlMode.h"

#include "app/RegistryStore.h"

namespace qx {

ControlMode::ControlMode(CRegistryStore& store) : store_(store) {
  value_ = store_.ReadInteger(CRegistryStore::kControlMode, kNormal);
}

ControlMode::~ControlMode() {
  Save();
}

void ControlMode::Save() {
  store_.WriteInteger(CRegistryStore::kControlMode, value_);
}

}  // namespace qx
