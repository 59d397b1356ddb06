#pragma once

// A window or dialog of the tool, built from a template. The C++ object lives as long as its
// owner keeps it; the window itself (its controls, its place on the desktop) exists between
// Create and Destroy, which feature code checks with Exists(). Operator notifications reach
// the window's event handler; anything the handler leaves is processed the way dialogs do
// (Enter is OK, Escape and the close box are Cancel, OK and Cancel end the dialog).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Control.h"
#include "ui/Event.h"
#include "ui/Geometry.h"
#include "ui/Templates.h"
#include "ui/WindowObserver.h"

namespace qx::ui {

class Desktop;
class WindowSystem;

class Window {
 public:
  explicit Window(WindowSystem& system);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  WindowSystem& System() const { return system_; }

  // Handlers; set them before Create. The init handler runs once the controls exist (the
  // dialog's initialisation); the destroy handler runs whenever Destroy() ends the window
  // (also when a parent's destruction takes it along), but not from the destructor, where
  // the owner's members may already be gone. The event handler returns true when it has
  // dealt with the event.
  using EventHandler = std::function<bool(Event&)>;
  void SetEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }
  void SetInitHandler(std::function<void()> handler) { initHandler_ = std::move(handler); }
  void SetDestroyHandler(std::function<void()> handler) { destroyHandler_ = std::move(handler); }

  // Modeless creation, hidden until shown. False when the template is unknown or the window
  // already exists.
  bool Create(int templateId, Window* parent = nullptr);
  bool Create(const std::string& templateName, Window* parent = nullptr);
  bool Create(const DialogTemplate& tmpl, Window* parent = nullptr);
  void Destroy();
  bool Exists() const { return exists_; }

  // Modal run: creates and shows the window, disables the owner while it runs, returns the
  // code given to EndDialog (-1 when the window could not be created).
  int DoModal(Desktop& desktop, int templateId, Window* owner);
  int DoModal(Desktop& desktop, const std::string& templateName, Window* owner);
  int DoModal(Desktop& desktop, const DialogTemplate& tmpl, Window* owner);
  // Ends a modal loop with the code; a modeless window is hidden.
  void EndDialog(int result);
  bool IsModal() const { return modal_; }
  bool HasEnded() const { return ended_; }
  int Result() const { return result_; }

  int TemplateId() const { return templateId_; }
  const std::string& TemplateName() const { return templateName_; }
  Window* Parent() const { return parent_; }
  Window& TopLevel();
  bool IsChild() const { return child_; }

  void Show(bool show);
  bool IsVisible() const { return visible_; }
  void Enable(bool enable);
  bool IsEnabled() const { return enabled_; }
  // Whether operator input can reach the window: it and every parent exist, are shown and
  // are enabled.
  bool IsReachable() const;
  void SetTitle(std::string title);
  const std::string& Title() const { return title_; }
  void Move(Rect rect);
  Rect Geometry() const { return rect_; }
  void Activate();
  void SetIcon(std::shared_ptr<const Bitmap> icon);
  const std::shared_ptr<const Bitmap>& Icon() const { return icon_; }
  int FocusId() const { return focusId_; }
  void SetFocus(int controlId);

  // Controls in template order; GetControl answers nullptr for an unknown id.
  Control* GetControl(int id) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  // The group of a control: from the nearest control at or before it that starts a group
  // up to the next control that starts one.
  std::vector<Control*> GroupMembers(const Control& member) const;

  // Menu bar.
  bool HasMenu() const { return !menu_.empty(); }
  const std::vector<MenuItem>& MenuBar() const { return menu_; }
  const MenuItem* FindMenuItem(int commandId) const;
  bool SetMenuItemGrayed(int commandId, bool grayed);
  // Greys or enables the bar's entry at that position (its whole submenu).
  bool SetMenuPopupGrayed(int position, bool grayed);
  // True when the entry exists and neither it nor any submenu holding it is greyed.
  bool IsMenuCommandAvailable(int commandId) const;
  void DrawMenuBar();

  // Handler first, then the default processing described above. Returns whether anything
  // dealt with the event.
  bool Dispatch(Event& event);

  // Reports a change to the window system's observers (used by the controls).
  void ReportChange(Change what, Control* control = nullptr, int index = -1);

 private:
  bool CreateFrom(const DialogTemplate& tmpl, Window* parent, bool modal);
  bool DefaultProcessing(Event& event);
  void DestroyChildren();

  WindowSystem& system_;
  EventHandler eventHandler_;
  std::function<void()> initHandler_;
  std::function<void()> destroyHandler_;
  bool exists_ = false;
  bool modal_ = false;
  bool ended_ = false;
  int result_ = 0;
  int templateId_ = 0;
  std::string templateName_;
  Window* parent_ = nullptr;
  bool child_ = false;
  bool visible_ = false;
  bool enabled_ = true;
  std::string title_;
  Rect rect_;
  std::shared_ptr<const Bitmap> icon_;
  int focusId_ = 0;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<MenuItem> menu_;
};

}  // namespace qx::ui
