#pragma once

#include "app/OnlineStatusNotifier.h"
#include "comm/CommandChannel.h"

namespace qx {

// Lets the protocol report to the program's online-status notifier.
class NotifierReporter : public OnlineStatusReporter {
 public:
  explicit NotifierReporter(OnlineStatusNotifier& notifier) : notifier_(notifier) {}
  void ReportOnline() override { notifier_.ReportOnline(); }
  void ReportOffline() override { notifier_.ReportOffline(); }

 private:
  OnlineStatusNotifier& notifier_;
};

}  // namespace qx
