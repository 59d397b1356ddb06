#pragma once

// Shows in every registered tool window whether the camera answers: each window's status
// strip (a picture control) carries the offline or online bitmap, and the windows that care
// hear about the change through OnlineStatusChanged.

#include <memory>
#include <vector>

#include "ui/Bitmap.h"

namespace qx::ui {
class Control;
class ResourceRegistry;
class Window;
}  // namespace qx::ui

namespace qx {

inline constexpr int kOfflineBitmapId = 302;
inline constexpr int kOnlineBitmapId = 303;

class OnlineStatusNotifier;

class COnlineStatusUpdater {
 public:
  COnlineStatusUpdater() = default;
  COnlineStatusUpdater(const COnlineStatusUpdater&) = delete;
  COnlineStatusUpdater& operator=(const COnlineStatusUpdater&) = delete;
  // An updater still registered leaves the notifier as it goes, so the notifier never calls
  // a window object that no longer exists.
  virtual ~COnlineStatusUpdater();
  // online: 0 or 1. Most windows only show the strip and do nothing here.
  virtual void OnlineStatusChanged(int online) { (void)online; }

  // Binds the strip: the picture control with that id in that window. The window object must
  // outlive the binding; the strip exists only while its window does.
  void BindStatusStrip(ui::Window& window, int controlId) {
    stripWindow_ = &window;
    stripId_ = controlId;
  }
  // Whether a notifier holds it now.
  bool IsRegistered() const { return notifier_ != nullptr; }
  // nullptr when no strip is bound or its window does not exist (yet or any more).
  ui::Control* StatusStrip() const;

 private:
  friend class OnlineStatusNotifier;
  ui::Window* stripWindow_ = nullptr;
  int stripId_ = 0;
  OnlineStatusNotifier* notifier_ = nullptr;  // where it is registered, if anywhere
};

class OnlineStatusNotifier {
 public:
  // Starts offline.
  explicit OnlineStatusNotifier(const ui::ResourceRegistry& resources);
  ~OnlineStatusNotifier();
  OnlineStatusNotifier(const OnlineStatusNotifier&) = delete;
  OnlineStatusNotifier& operator=(const OnlineStatusNotifier&) = delete;

  // Shows the current bitmap on the updater's strip (when the strip exists), then appends it.
  void Register(COnlineStatusUpdater& updater);
  // Removes every entry of the updater.
  void Unregister(COnlineStatusUpdater& updater);
  void ReportOnline() { Report(true); }
  void ReportOffline() { Report(false); }

  bool IsOnline() const { return online_; }
  const std::shared_ptr<const ui::Bitmap>& CurrentBitmap() const { return current_; }
  std::size_t RegisteredCount() const { return updaters_.size(); }

 private:
  void Report(bool online);

  std::shared_ptr<const ui::Bitmap> offline_;
  std::shared_ptr<const ui::Bitmap> online_bitmap_;
  std::shared_ptr<const ui::Bitmap> current_;
  bool online_ = false;
  std::vector<COnlineStatusUpdater*> updaters_;
};

}  // namespace qx
