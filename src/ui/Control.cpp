#include "ui/Control.h"

#include <algorithm>
#include <charconv>

#include "ui/Window.h"
#include "ui/WindowObserver.h"

namespace qx::ui {

std::optional<int> ParseWholeInteger(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (begin == end) return std::nullopt;
  if (text[begin] == '+') ++begin;
  int value = 0;
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc{} || ptr != last) return std::nullopt;
  return value;
}

Control::Control(Window& owner, const ControlTemplate& tmpl)
    : owner_(owner),
      id_(tmpl.id),
      type_(tmpl.type),
      style_(tmpl.style),
      groupIndex_(tmpl.groupIndex),
      row_(tmpl.row),
      column_(tmpl.column),
      enabled_(!tmpl.disabled),
      visible_(!tmpl.hidden),
      rect_(tmpl.rect.value_or(Rect{})),
      text_(tmpl.caption),
      rangeMin_(tmpl.rangeMin),
      rangeMax_(tmpl.rangeMax),
      position_(tmpl.position),
      buddy_(tmpl.buddy),
      items_(tmpl.items),
      selection_(tmpl.selection),
      check_(tmpl.check) {
  if (selection_ >= ItemCount()) selection_ = -1;
}

void Control::Report(Change change, int index) {
  owner_.ReportChange(change, this, index);
}

void Control::Enable(bool enable) {
  if (enabled_ == enable) return;
  enabled_ = enable;
  Report(Change::Enabled);
}

void Control::Show(bool show) {
  if (visible_ == show) return;
  visible_ = show;
  Report(Change::Visibility);
}

void Control::Move(Rect rect) {
  if (rect_ == rect) return;
  rect_ = rect;
  Report(Change::Geometry);
}

void Control::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Report(Change::Text);
}

void Control::SetUserData(std::intptr_t value) {
  if (userData_ == value) return;
  userData_ = value;
  Report(Change::UserData);
}

void Control::SetRange(int low, int high) {
  if (rangeMin_ == low && rangeMax_ == high) return;
  rangeMin_ = low;
  rangeMax_ = high;
  Report(Change::Range);
}

Control* Control::Buddy() const {
  if (buddy_ == 0) return nullptr;
  return owner_.GetControl(buddy_);
}

void Control::SetBuddy(int buddyId) {
  buddy_ = buddyId;
}

int Control::GetPos() {
  if (type_ == ControlType::UpDown) {
    if (Control* buddy = Buddy()) {
      const std::optional<int> typed = ParseWholeInteger(buddy->Text());
      const int low = std::min(rangeMin_, rangeMax_);
      const int high = std::max(rangeMin_, rangeMax_);
      if (typed && *typed >= low && *typed <= high && *typed != position_) {
        position_ = *typed;
        Report(Change::Value);
      }
    }
  }
  return position_;
}

void Control::SetPos(int position) {
  const int low = std::min(rangeMin_, rangeMax_);
  const int high = std::max(rangeMin_, rangeMax_);
  const int clamped = std::clamp(position, low, high);
  if (clamped != position_) {
    position_ = clamped;
    Report(Change::Value);
  }
  if (type_ == ControlType::UpDown) {
    if (Control* buddy = Buddy()) buddy->SetText(std::to_string(position_));
  }
}

int Control::AddItem(std::string text, int data) {
  return InsertItem(-1, std::move(text), data);
}

int Control::InsertItem(int index, std::string text, int data) {
  if (index < 0 || index > ItemCount()) index = ItemCount();
  items_.insert(items_.begin() + index, ListItem{std::move(text), data});
  if (selection_ >= index) ++selection_;
  Report(Change::ItemInserted, index);
  return index;
}

bool Control::DeleteItem(int index) {
  if (index < 0 || index >= ItemCount()) return false;
  items_.erase(items_.begin() + index);
  if (selection_ == index) {
    selection_ = -1;
  } else if (selection_ > index) {
    --selection_;
  }
  Report(Change::ItemDeleted, index);
  return true;
}

void Control::ClearItems() {
  if (items_.empty() && selection_ == -1) return;
  items_.clear();
  selection_ = -1;
  Report(Change::Items);
}

Rect Control::DisplayArea() const {
  constexpr int kBorder = 4;
  constexpr int kTabRow = 24;
  const int width = std::max(0, rect_.width - 2 * kBorder);
  const int height = std::max(0, rect_.height - kTabRow - kBorder);
  return Rect{rect_.left + kBorder, rect_.top + kTabRow, width, height};
}

std::optional<std::string> Control::ItemText(int index) const {
  if (index < 0 || index >= ItemCount()) return std::nullopt;
  return items_[static_cast<std::size_t>(index)].text;
}

std::optional<int> Control::ItemData(int index) const {
  if (index < 0 || index >= ItemCount()) return std::nullopt;
  return items_[static_cast<std::size_t>(index)].data;
}

bool Control::SetItemData(int index, int data) {
  if (index < 0 || index >= ItemCount()) return false;
  if (items_[static_cast<std::size_t>(index)].data == data) return true;
  items_[static_cast<std::size_t>(index)].data = data;
  Report(Change::ItemChanged, index);
  return true;
}

bool Control::SetSelection(int index) {
  if (index < -1 || index >= ItemCount()) return false;
  if (selection_ != index) {
    selection_ = index;
    Report(Change::Selection);
  }
  return true;
}

int Control::FindItemData(int data) const {
  for (int i = 0; i < ItemCount(); ++i) {
    if (items_[static_cast<std::size_t>(i)].data == data) return i;
  }
  return -1;
}

void Control::SetDroppedDown(bool dropped) {
  if (droppedDown_ == dropped) return;
  droppedDown_ = dropped;
  Report(Change::DroppedDown);
}

void Control::SetCheck(int state) {
  if (check_ == state) return;
  check_ = state;
  Report(Change::Value);
}

void Control::SetImage(std::shared_ptr<const Bitmap> image) {
  if (image_ == image) return;
  image_ = std::move(image);
  Report(Change::Bitmap);
}

void Control::Paint(Painter& painter) const {
  if (paintHandler_) paintHandler_(painter);
}

void Control::DeliverMouse(const MouseEvent& event) const {
  if (mouseHandler_) mouseHandler_(event);
}

void Control::Invalidate() {
  Report(Change::Repaint);
}

}  // namespace qx::ui
