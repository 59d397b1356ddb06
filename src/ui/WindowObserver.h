#pragma once

// What a front-end needs to mirror windows: one notice for every state change of a window,
// a control or a menu, in the order they happen.

namespace qx::ui {

class Window;
class Control;

enum class Change {
  // Window level (control is nullptr).
  WindowCreated,    // controls exist and carry their initial state
  WindowDestroyed,  // sent before the controls go away
  Visibility,
  Enabled,
  Title,
  Geometry,
  Icon,
  Menu,  // an entry's greyed state changed or the bar needs redrawing
  Activated,
  ModalStarted,
  ModalEnded,
  Focus,
  // Control level.
  Text,
  Value,  // position of an up-down or progress bar, check state of a button
  Range,
  Items,         // the item list was replaced or emptied; read it whole
  ItemInserted,  // one item at `index`; the others moved down
  ItemDeleted,   // the item at `index` is gone; the others moved up
  ItemChanged,   // text or data of the item at `index`
  Selection,
  DroppedDown,
  Bitmap,
  UserData,
  Repaint,  // a plot asks to be painted again
};

struct ChangeNotice {
  Change what;
  Window* window = nullptr;
  Control* control = nullptr;
  int index = -1;  // item notices: the item concerned
};

class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  virtual void OnChange(const ChangeNotice& notice) = 0;
};

}  // namespace qx::ui
