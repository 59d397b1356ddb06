#include "ui/WindowSystem.h"

#include <algorithm>

#include "ui/Window.h"

namespace qx::ui {

void WindowSystem::AddObserver(WindowObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) {
    observers_.push_back(&observer);
  }
}

void WindowSystem::RemoveObserver(WindowObserver& observer) {
  std::erase(observers_, &observer);
}

void WindowSystem::Notify(const ChangeNotice& notice) {
  // A copy, so that an observer may add or remove observers while being told.
  const std::vector<WindowObserver*> observers = observers_;
  for (WindowObserver* observer : observers) {
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) {
      observer->OnChange(notice);
    }
  }
}

bool WindowSystem::IsAlive(const Window* window) const {
  return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

Control* WindowSystem::FindControlForInput(int id) const {
  if (Window* modal = ActiveModal()) {
    if (Control* control = modal->GetControl(id)) return control;
  }
  for (Window* window : windows_) {
    if (window->Exists() && window->IsVisible()) {
      if (Control* control = window->GetControl(id)) return control;
    }
  }
  for (Window* window : windows_) {
    if (window->Exists()) {
      if (Control* control = window->GetControl(id)) return control;
    }
  }
  return nullptr;
}

void WindowSystem::Register(Window& window) {
  windows_.push_back(&window);
}

void WindowSystem::Unregister(Window& window) {
  std::erase(windows_, &window);
  std::erase(modalStack_, &window);
}

void WindowSystem::PushModal(Window& window) {
  modalStack_.push_back(&window);
}

void WindowSystem::PopModal(Window& window) {
  std::erase(modalStack_, &window);
}

}  // namespace qx::ui
