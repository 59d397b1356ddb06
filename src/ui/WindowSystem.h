#pragma once

// Keeps track of the live windows of one run, their modal nesting and the observers that
// mirror them (a front-end). Windows register themselves on construction.

#include <vector>

#include "ui/WindowObserver.h"

namespace qx::ui {

class Control;
class ResourceRegistry;
class Window;

class WindowSystem {
 public:
  explicit WindowSystem(const ResourceRegistry& resources) : resources_(resources) {}
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  const ResourceRegistry& Resources() const { return resources_; }

  void AddObserver(WindowObserver& observer);
  void RemoveObserver(WindowObserver& observer);
  void Notify(const ChangeNotice& notice);

  // Window objects in construction order, whether or not their window exists.
  const std::vector<Window*>& Windows() const { return windows_; }
  bool IsAlive(const Window* window) const;

  // Modal windows running, outermost first.
  const std::vector<Window*>& ModalStack() const { return modalStack_; }
  Window* ActiveModal() const { return modalStack_.empty() ? nullptr : modalStack_.back(); }

  // The control operator input with this id goes to: the innermost modal window, then the
  // existing windows that are shown, then any existing window. Ids repeat only where one
  // template is used for several windows, so this picks the one the operator sees.
  Control* FindControlForInput(int id) const;

 private:
  friend class Window;
  void Register(Window& window);
  void Unregister(Window& window);
  void PushModal(Window& window);
  void PopModal(Window& window);

  const ResourceRegistry& resources_;
  std::vector<Window*> windows_;
  std::vector<Window*> modalStack_;
  std::vector<WindowObserver*> observers_;
};

}  // namespace qx::ui
