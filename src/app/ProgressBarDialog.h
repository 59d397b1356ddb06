#pragma once

// The progress window of long camera exchanges (template 105): a bar from 0 to 100 and the
// caller's message. While it is open its owner takes no input.

#include <string>

#include "ui/Window.h"

namespace qx::ui {
class Desktop;
class WindowSystem;
}  // namespace qx::ui

namespace qx {

class CProgressBarDialog {
 public:
  static constexpr int kTemplateId = 105;
  static constexpr int kBarId = 1013;
  static constexpr int kTextId = 1015;

  CProgressBarDialog(ui::WindowSystem& windows, ui::Desktop& desktop);
  ~CProgressBarDialog();
  CProgressBarDialog(const CProgressBarDialog&) = delete;
  CProgressBarDialog& operator=(const CProgressBarDialog&) = delete;

  // Remembers the owner, disables it if it is enabled, creates and shows the window with
  // the text. An open window is replaced.
  void Open(ui::Window* owner, const std::string& text);
  // Only while the window is visible.
  void SetPosition(int percent);
  // Only while the window is visible: the bar goes to 100, the operator gets a second to see
  // it, the owner is activated and the window destroyed.
  void Close();

  ui::Window& GetWindow() { return window_; }
  const std::string& Text() const { return text_; }

 private:
  void OnDestroyed();

  ui::WindowSystem& windows_;
  ui::Desktop& desktop_;
  ui::Window window_;
  ui::Window* owner_ = nullptr;
  bool disabledOwner_ = false;
  std::string text_;
};

}  // namespace qx
