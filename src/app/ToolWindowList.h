#pragma once

// The tool windows that long camera exchanges disable while they run, in registration order.

#include <vector>

namespace qx::ui {
class Window;
class WindowSystem;
}  // namespace qx::ui

namespace qx {

class ToolWindowList {
 public:
  explicit ToolWindowList(ui::WindowSystem& windows) : windows_(windows) {}

  void Add(ui::Window& window) { list_.push_back(&window); }
  // Drops every entry of the window.
  void Remove(ui::Window& window);
  // Enables or disables every listed window whose window exists. A window object that was
  // destroyed without being removed is skipped rather than touched.
  void EnableAll(bool enable);

  std::size_t Count() const { return list_.size(); }

 private:
  ui::WindowSystem& windows_;
  std::vector<ui::Window*> list_;
};

}  // namespace qx
