#include "ui/Window.h"

#include "ui/Desktop.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx::ui {
namespace {

// For both the const and the mutable menu.
template <class Items>
auto FindItemIn(Items& items, int commandId) -> decltype(&items.front()) {
  for (auto& item : items) {
    if (!item.popup && !item.separator && item.commandId == commandId) return &item;
    if (auto* found = FindItemIn(item.children, commandId)) return found;
  }
  return nullptr;
}

// Whether the command is reachable below these items: found, and nothing on the way greyed.
bool AvailableIn(const std::vector<MenuItem>& items, int commandId, bool& found) {
  for (const MenuItem& item : items) {
    if (item.separator) continue;
    if (!item.popup && item.commandId == commandId) {
      found = true;
      return !item.grayed;
    }
    if (item.popup) {
      const bool available = AvailableIn(item.children, commandId, found);
      if (found) return available && !item.grayed;
    }
  }
  return false;
}

}  // namespace

Window::Window(WindowSystem& system) : system_(system) {
  system_.Register(*this);
}

Window::~Window() {
  // The object that owns this window is being torn down and its other members may be gone,
  // so none of its handlers may run now; owners that need their destroy handler call
  // Destroy() themselves first.
  eventHandler_ = nullptr;
  initHandler_ = nullptr;
  destroyHandler_ = nullptr;
  Destroy();
  system_.Unregister(*this);
}

bool Window::Create(int templateId, Window* parent) {
  const DialogTemplate* tmpl = system_.Resources().FindDialog(templateId);
  return tmpl != nullptr && Create(*tmpl, parent);
}

bool Window::Create(const std::string& templateName, Window* parent) {
  const DialogTemplate* tmpl = system_.Resources().FindDialog(templateName);
  return tmpl != nullptr && Create(*tmpl, parent);
}

bool Window::Create(const DialogTemplate& tmpl, Window* parent) {
  return CreateFrom(tmpl, parent, false);
}

bool Window::CreateFrom(const DialogTemplate& tmpl, Window* parent, bool modal) {
  if (exists_) return false;
  templateId_ = tmpl.id;
  templateName_ = tmpl.name;
  parent_ = parent;
  child_ = tmpl.child;
  title_ = tmpl.caption;
  rect_ = tmpl.rect;
  visible_ = false;
  enabled_ = true;
  ended_ = false;
  modal_ = modal;  // known during the initialisation, so it may end the dialog at once
  result_ = 0;
  focusId_ = 0;
  icon_ = tmpl.iconId != 0 ? system_.Resources().FindImage(tmpl.iconId) : nullptr;
  menu_.clear();
  if (tmpl.menuId != 0) {
    if (const MenuTemplate* menu = system_.Resources().FindMenu(tmpl.menuId)) menu_ = menu->items;
  }
  controls_.clear();
  for (const ControlTemplate& ct : tmpl.controls) {
    auto control = std::make_unique<Control>(*this, ct);
    if (ct.imageId != 0) control->SetImage(system_.Resources().FindImage(ct.imageId));
    controls_.push_back(std::move(control));
  }
  exists_ = true;
  // An up-down with a buddy shows its position in the buddy from the start.
  for (const auto& control : controls_) {
    if (control->Type() == ControlType::UpDown && control->Buddy() != nullptr) {
      control->SetPos(control->StoredPosition());
    }
  }
  ReportChange(Change::WindowCreated);
  if (initHandler_) initHandler_();
  return true;
}

void Window::DestroyChildren() {
  // Copy: destroying a child may run handlers that create or drop windows.
  const std::vector<Window*> windows = system_.Windows();
  for (Window* window : windows) {
    if (window != this && system_.IsAlive(window) && window->Parent() == this && window->Exists()) {
      window->Destroy();
    }
  }
}

void Window::Destroy() {
  if (!exists_) return;
  DestroyChildren();
  if (modal_ && !ended_) {
    ended_ = true;
    result_ = kIdCancel;
  }
  ReportChange(Change::WindowDestroyed);
  exists_ = false;
  visible_ = false;
  if (destroyHandler_) destroyHandler_();
  controls_.clear();
  menu_.clear();
}

int Window::DoModal(Desktop& desktop, int templateId, Window* owner) {
  const DialogTemplate* tmpl = system_.Resources().FindDialog(templateId);
  return tmpl != nullptr ? DoModal(desktop, *tmpl, owner) : -1;
}

int Window::DoModal(Desktop& desktop, const std::string& templateName, Window* owner) {
  const DialogTemplate* tmpl = system_.Resources().FindDialog(templateName);
  return tmpl != nullptr ? DoModal(desktop, *tmpl, owner) : -1;
}

int Window::DoModal(Desktop& desktop, const DialogTemplate& tmpl, Window* owner) {
  if (exists_) return -1;
  // The owner takes no input while the dialog runs, from its initialisation on; it gets back
  // the state it had.
  const bool ownerWasEnabled = owner != nullptr && owner->IsEnabled();
  if (ownerWasEnabled) owner->Enable(false);
  system_.PushModal(*this);
  int result = -1;
  if (CreateFrom(tmpl, owner, true)) {
    ReportChange(Change::ModalStarted);
    if (exists_ && !ended_) {
      Show(true);
      desktop.RunModalLoop(*this);
    }
    result = result_;
    ReportChange(Change::ModalEnded);
    Destroy();
  }
  system_.PopModal(*this);
  modal_ = false;
  if (ownerWasEnabled && system_.IsAlive(owner)) owner->Enable(true);
  return result;
}

void Window::EndDialog(int result) {
  if (!exists_) return;
  if (modal_) {
    ended_ = true;
    result_ = result;
  }
  Show(false);
}

Window& Window::TopLevel() {
  Window* window = this;
  while (window->child_ && window->parent_ != nullptr) window = window->parent_;
  return *window;
}

void Window::Show(bool show) {
  if (!exists_ || visible_ == show) return;
  visible_ = show;
  ReportChange(Change::Visibility);
}

void Window::Enable(bool enable) {
  if (enabled_ == enable) return;
  enabled_ = enable;
  ReportChange(Change::Enabled);
}

bool Window::IsReachable() const {
  for (const Window* window = this; window != nullptr;
       window = window->child_ ? window->parent_ : nullptr) {
    if (!window->exists_ || !window->visible_ || !window->enabled_) return false;
  }
  return true;
}

void Window::SetTitle(std::string title) {
  if (title_ == title) return;
  title_ = std::move(title);
  ReportChange(Change::Title);
}

void Window::Move(Rect rect) {
  if (rect_ == rect) return;
  rect_ = rect;
  ReportChange(Change::Geometry);
}

void Window::Activate() {
  if (exists_) ReportChange(Change::Activated);
}

void Window::SetIcon(std::shared_ptr<const Bitmap> icon) {
  icon_ = std::move(icon);
  ReportChange(Change::Icon);
}

void Window::SetFocus(int controlId) {
  if (focusId_ == controlId) return;
  focusId_ = controlId;
  ReportChange(Change::Focus);
}

Control* Window::GetControl(int id) const {
  if (id == -1) return nullptr;  // labels share this id; nothing addresses them
  for (const auto& control : controls_) {
    if (control->Id() == id) return control.get();
  }
  return nullptr;
}

std::vector<Control*> Window::GroupMembers(const Control& member) const {
  std::size_t index = 0;
  while (index < controls_.size() && controls_[index].get() != &member) ++index;
  if (index == controls_.size()) return {};
  std::size_t first = index;
  while (first > 0 && !controls_[first]->StartsGroup()) --first;
  std::vector<Control*> members{controls_[first].get()};
  for (std::size_t i = first + 1; i < controls_.size() && !controls_[i]->StartsGroup(); ++i) {
    members.push_back(controls_[i].get());
  }
  return members;
}

const MenuItem* Window::FindMenuItem(int commandId) const {
  return FindItemIn(menu_, commandId);
}

bool Window::SetMenuItemGrayed(int commandId, bool grayed) {
  MenuItem* item = FindItemIn(menu_, commandId);
  if (item == nullptr) return false;
  if (item->grayed != grayed) {
    item->grayed = grayed;
    ReportChange(Change::Menu);
  }
  return true;
}

bool Window::SetMenuPopupGrayed(int position, bool grayed) {
  if (position < 0 || position >= static_cast<int>(menu_.size())) return false;
  MenuItem& item = menu_[static_cast<std::size_t>(position)];
  if (item.grayed != grayed) {
    item.grayed = grayed;
    ReportChange(Change::Menu);
  }
  return true;
}

bool Window::IsMenuCommandAvailable(int commandId) const {
  bool found = false;
  const bool available = AvailableIn(menu_, commandId, found);
  return found && available;
}

void Window::DrawMenuBar() {
  ReportChange(Change::Menu);
}

bool Window::Dispatch(Event& event) {
  if (eventHandler_ && eventHandler_(event)) return true;
  return DefaultProcessing(event);
}

bool Window::DefaultProcessing(Event& event) {
  switch (event.type) {
    case EventType::KeyDown: {
      if (event.key != vk::kEnter && event.key != vk::kEscape) return false;
      // An open list takes Enter and Escape itself: it closes.
      if (event.control != nullptr && event.control->Type() == ControlType::ComboBox &&
          event.control->IsDroppedDown()) {
        event.control->SetDroppedDown(false);
        return true;
      }
      const int command = event.key == vk::kEnter ? kIdOk : kIdCancel;
      Window& top = TopLevel();
      Event commandEvent;
      commandEvent.type = EventType::Command;
      commandEvent.id = command;
      commandEvent.code = notify::kClicked;
      commandEvent.control = top.GetControl(command);
      return top.Dispatch(commandEvent);
    }
    case EventType::Command:
      if (event.code == notify::kClicked && (event.id == kIdOk || event.id == kIdCancel)) {
        EndDialog(event.id);
        return true;
      }
      return false;
    case EventType::Notify:
    case EventType::Resized:
      return false;
  }
  return false;
}

void Window::ReportChange(Change what, Control* control, int index) {
  // Before WindowCreated everything is initial state, which observers read then.
  if (!exists_) return;
  system_.Notify(ChangeNotice{what, this, control, index});
}

}  // namespace qx::ui
