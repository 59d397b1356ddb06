#pragma once

#include <string>

#include "features/Reload.h"

namespace qx::test {

// A reload host without windows: the channel counts as open and nothing is shown.
class NullReloadHost : public ReloadHost {
 public:
  int ReopenChannel() override { return 1; }
  void EnableToolWindows(bool) override {}
  void OpenProgress(const std::string&) override {}
  void SetProgress(int) override {}
  void CloseProgress() override {}
  void ProcessPendingMessages() override {}
  void ActivateMainWindow() override {}
};

}  // namespace qx::test
