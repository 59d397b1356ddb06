#include "app/OnlineStatusNotifier.h"

#include <algorithm>

#include "ui/Control.h"
#include "ui/ResourceRegistry.h"
#include "ui/Window.h"

namespace qx {

COnlineStatusUpdater::~COnlineStatusUpdater() {
  if (notifier_ != nullptr) notifier_->Unregister(*this);
}

ui::Control* COnlineStatusUpdater::StatusStrip() const {
  if (stripWindow_ == nullptr || !stripWindow_->Exists()) return nullptr;
  return stripWindow_->GetControl(stripId_);
}

OnlineStatusNotifier::OnlineStatusNotifier(const ui::ResourceRegistry& resources)
    : offline_(resources.FindImage(kOfflineBitmapId)),
      online_bitmap_(resources.FindImage(kOnlineBitmapId)),
      current_(offline_) {}

OnlineStatusNotifier::~OnlineStatusNotifier() {
  for (COnlineStatusUpdater* updater : updaters_) updater->notifier_ = nullptr;
}

void OnlineStatusNotifier::Register(COnlineStatusUpdater& updater) {
  // An updater belongs to one notifier at a time.
  if (updater.notifier_ != nullptr && updater.notifier_ != this) {
    updater.notifier_->Unregister(updater);
  }
  if (ui::Control* strip = updater.StatusStrip()) strip->SetImage(current_);
  updaters_.push_back(&updater);
  updater.notifier_ = this;
}

void OnlineStatusNotifier::Unregister(COnlineStatusUpdater& updater) {
  std::erase(updaters_, &updater);
  if (updater.notifier_ == this) updater.notifier_ = nullptr;
}

void OnlineStatusNotifier::Report(bool online) {
  online_ = online;
  current_ = online ? online_bitmap_ : offline_;
  // Copy: an updater's reaction may register or unregister windows.
  const std::vector<COnlineStatusUpdater*> updaters = updaters_;
  auto stillRegistered = [this](COnlineStatusUpdater* updater) {
    return std::find(updaters_.begin(), updaters_.end(), updater) != updaters_.end();
  };
  // All strips change first, so every window shows the new state before any reacts.
  for (COnlineStatusUpdater* updater : updaters) {
    if (ui::Control* strip = updater->StatusStrip()) strip->SetImage(current_);
  }
  for (COnlineStatusUpdater* updater : updaters) {
    if (stillRegistered(updater) && updater->StatusStrip() != nullptr) {
      updater->OnlineStatusChanged(online ? 1 : 0);
    }
  }
}

}  // namespace qx
