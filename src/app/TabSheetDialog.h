#pragma once

#include <functional>
#include <string>

#include "ui/Event.h"
#include "ui/Window.h"

namespace qx {

// One feature page of the main window: a child dialog made from its template, shown inside
// the tab control. Every command and notification of the page goes to the main window's
// handler, and its key-downs to the main window's key handling.
class CTabSheetDialog {
 public:
  CTabSheetDialog(ui::WindowSystem& windows, int templateId, bool factoryOnly, std::string caption);

  // Handler for the page's events; true when the main window dealt with the event.
  void SetEventRouter(std::function<bool(ui::Event&)> router) { router_ = std::move(router); }

  // Creates the page as a modeless child of the main window, hidden, and links each spin
  // to its buddy edit.
  bool Create(ui::Window& mainWindow);

  int TemplateId() const { return templateId_; }
  bool IsFactoryOnly() const { return factoryOnly_; }
  const std::string& Caption() const { return caption_; }
  ui::Window& GetWindow() { return window_; }

 private:
  ui::Window window_;
  int templateId_;
  bool factoryOnly_;
  std::string caption_;
  std::function<bool(ui::Event&)> router_;
};

}  // namespace qx
