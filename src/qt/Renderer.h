#pragma once

// Mirrors every window of a window system into Qt widgets for as long as it lives: windows
// that exist when it starts and every window created later get a view; state changes update
// the views at once; a destroyed window's view goes away.

#include <QObject>
#include <functional>
#include <map>
#include <memory>

#include "ui/WindowObserver.h"

class QWidget;

namespace qx::ui {
class Control;
class Window;
class WindowSystem;
}  // namespace qx::ui

namespace qx::qt {

class WindowView;

class Renderer : public ui::WindowObserver {
 public:
  explicit Renderer(ui::WindowSystem& windows);
  ~Renderer() override;
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  ui::WindowSystem& Windows() const { return windows_; }
  void OnChange(const ui::ChangeNotice& notice) override;

  // nullptr when the window does not exist (or has no view).
  WindowView* ViewOf(const ui::Window& window) const;
  // The window's outer widget: its top-level window, or the page inside its parent.
  QWidget* WidgetOf(const ui::Window& window) const;
  QWidget* WidgetOf(const ui::Control& control) const;

  // Which windows the operator may resize: their handlers place the controls anew when they
  // hear the new size. Without a policy every window keeps the size its template gives.
  using ResizePolicy = std::function<bool(const ui::Window&)>;
  void SetResizePolicy(ResizePolicy policy) { resizePolicy_ = std::move(policy); }
  bool MayResize(const ui::Window& window) const { return resizePolicy_ && resizePolicy_(window); }

  // True while a model change is being applied to the widgets: whatever the widgets do
  // meanwhile is not operator input.
  bool Applying() const { return applying_ > 0; }

  // Whether operator input may reach this widget: false inside a window that is disabled
  // (or hidden), or inside a page of such a window. Such windows look as they are; like the
  // platform's, a window disabled while a dialog runs does not grey its controls.
  bool AcceptsInput(const QWidget* widget) const;
  // Whether the widget is the outer widget of some window's view.
  bool IsWindowFrame(const QWidget* widget) const;

 private:
  void CreateView(ui::Window& window);
  void RetireView(const ui::Window& window);

  ui::WindowSystem& windows_;
  std::map<const ui::Window*, std::unique_ptr<WindowView>> views_;
  // Drops input meant for windows that take none (see AcceptsInput).
  std::unique_ptr<QObject> inputGate_;
  int applying_ = 0;
  ResizePolicy resizePolicy_;
};

}  // namespace qx::qt
