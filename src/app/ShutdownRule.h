#pragma once

namespace qx {

class CRegistryStore;
class CCommSettings;

// After a run that did not end normally (or on the very first run) the channel falls back to
// the PC serial port: the mode is set to RS-232C in memory and saved at the next normal exit.
void ApplyShutdownRule(const CRegistryStore& store, CCommSettings& settings);

}  // namespace qx
