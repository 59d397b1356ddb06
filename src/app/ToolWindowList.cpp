#include "app/ToolWindowList.h"

#include <algorithm>

#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx {

void ToolWindowList::Remove(ui::Window& window) {
  std::erase(list_, &window);
}

void ToolWindowList::EnableAll(bool enable) {
  for (ui::Window* window : list_) {
    if (windows_.IsAlive(window) && window->Exists()) window->Enable(enable);
  }
}

}  // namespace qx
