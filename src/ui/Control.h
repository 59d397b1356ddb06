#pragma once

// One control of a window, addressed by its numeric id. A single class carries the state of
// every control type; each operation applies to the types named in its comment and is
// ignored (or answers a neutral value) on the others. Every state change is reported to the
// window system's observers; none produces an operator notification.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Geometry.h"
#include "ui/Painter.h"
#include "ui/Templates.h"
#include "ui/WidgetKind.h"
#include "ui/WindowObserver.h"

namespace qx::ui {

class Window;

class Control {
 public:
  Control(Window& owner, const ControlTemplate& tmpl);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Window& Owner() const { return owner_; }
  int Id() const { return id_; }
  ControlType Type() const { return type_; }
  const char* ClassName() const { return ClassNameOf(type_); }
  std::uint32_t Style() const { return style_; }
  WidgetKind Kind() const { return ClassifyWidget(ClassName(), style_); }
  bool StartsGroup() const { return (style_ & style::kGroup) != 0; }
  // Layout hints from the template (see ControlTemplate).
  int GroupIndex() const { return groupIndex_; }
  int Row() const { return row_; }
  int Column() const { return column_; }

  bool IsEnabled() const { return enabled_; }
  void Enable(bool enable);
  bool IsVisible() const { return visible_; }
  void Show(bool show);
  Rect Geometry() const { return rect_; }
  void Move(Rect rect);

  // Caption of buttons and static text, contents of an edit field.
  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  // The per-control user-data word (an edit field holds the id of its up-down here).
  std::intptr_t UserData() const { return userData_; }
  void SetUserData(std::intptr_t value);

  // Up-down and progress bar range and position.
  int RangeMin() const { return rangeMin_; }
  int RangeMax() const { return rangeMax_; }
  void SetRange(int low, int high);
  // The position as last accepted, without looking at the buddy.
  int StoredPosition() const { return position_; }
  // Up-down: takes the buddy's text when it is a decimal number inside the range, otherwise
  // keeps the last accepted position. Other types: the stored position.
  int GetPos();
  // Clamped to the range; an up-down also writes the position into its buddy as "%d".
  void SetPos(int position);
  int BuddyId() const { return buddy_; }
  void SetBuddy(int buddyId);
  Control* Buddy() const;

  // Drop-down list, list box and tab control items.
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::vector<ListItem>& Items() const { return items_; }
  // Tab control: where its pages go (inside the border, below the tab row).
  Rect DisplayArea() const;
  int AddItem(std::string text, int data = 0);
  int InsertItem(int index, std::string text, int data = 0);  // -1 or past the end: append
  bool DeleteItem(int index);
  void ClearItems();
  std::optional<std::string> ItemText(int index) const;
  std::optional<int> ItemData(int index) const;
  bool SetItemData(int index, int data);
  int Selection() const { return selection_; }
  // -1 clears the selection; an index outside the items is refused (false).
  bool SetSelection(int index);
  // First item whose data equals the value, or -1.
  int FindItemData(int data) const;
  bool IsDroppedDown() const { return droppedDown_; }
  void SetDroppedDown(bool dropped);

  // Check boxes and radio buttons: 0 unchecked, 1 checked, 2 indeterminate.
  int CheckState() const { return check_; }
  void SetCheck(int state);

  // Picture: the bitmap or icon it shows (nullptr: none).
  const std::shared_ptr<const Bitmap>& Image() const { return image_; }
  void SetImage(std::shared_ptr<const Bitmap> image);

  // Plot surface: feature code paints and receives the pointer through these callbacks.
  using PaintHandler = std::function<void(Painter&)>;
  using MouseHandler = std::function<void(const MouseEvent&)>;
  void SetPaintHandler(PaintHandler handler) { paintHandler_ = std::move(handler); }
  void SetMouseHandler(MouseHandler handler) { mouseHandler_ = std::move(handler); }
  void Paint(Painter& painter) const;
  void DeliverMouse(const MouseEvent& event) const;
  void Invalidate();

 private:
  void Report(Change change, int index = -1);

  Window& owner_;
  int id_;
  ControlType type_;
  std::uint32_t style_;
  int groupIndex_;
  int row_;
  int column_;
  bool enabled_ = true;
  bool visible_ = true;
  Rect rect_;
  std::string text_;
  std::intptr_t userData_ = 0;
  int rangeMin_ = 0;
  int rangeMax_ = 100;
  int position_ = 0;
  int buddy_ = 0;
  std::vector<ListItem> items_;
  int selection_ = -1;
  bool droppedDown_ = false;
  int check_ = 0;
  std::shared_ptr<const Bitmap> image_;
  PaintHandler paintHandler_;
  MouseHandler mouseHandler_;
};

// Decimal integer with optional surrounding blanks and sign, nothing else; the rule an
// up-down applies to its buddy's text.
std::optional<int> ParseWholeInteger(const std::string& text);

}  // namespace qx::ui
