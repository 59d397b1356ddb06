#pragma once

// What an operator does to windows, as entry points a front-end (or a script) calls. Each
// changes the control the way the platform would and then delivers the notification to the
// owning window; input to a control that the operator cannot reach (disabled or hidden, or
// in such a window) is refused with a reason and changes nothing.

#include <string>

#include "ui/Painter.h"

namespace qx::ui {

class Control;
class Window;

struct InputResult {
  bool ok = true;
  std::string error;
  static InputResult Refused(std::string reason) { return InputResult{false, std::move(reason)}; }
};

namespace input {

// Push button: clicked. Check box and radio button: their automatic styles change the check
// first (an automatic radio button unchecks the rest of its group).
InputResult Click(Control& control);
// Replaces an edit field's text; no notification (the edit is committed when left).
InputResult TypeText(Control& control, std::string text);
// The edit field loses the focus.
InputResult CommitEdit(Control& control);
// Drop-down list or list box: the operator picks the item at the index.
InputResult SelectItem(Control& control, int index);
// Up-down arrow: the window hears the position and delta first, then the up-down moves
// (clamped to its range) and shows its position in the buddy.
InputResult Spin(Control& control, int delta);
// Drop-down list opened or closed by the operator.
InputResult DropDown(Control& control, bool open);
// Key-down with the focus on the control (nullptr: on the window itself).
InputResult PressKey(Window& window, Control* focus, int key, bool shift, bool ctrl);
// Menu command from the window's menu bar; greyed entries cannot be chosen.
InputResult ChooseMenu(Window& window, int commandId);
// Tab control: the operator selects the tab at the index.
InputResult SelectTab(Control& tab, int index);
// The operator resized the window (client size); its handler hears the new size.
InputResult Resize(Window& window, int width, int height);
// The window's close box.
InputResult RequestClose(Window& window);
// Pointer on a plot surface.
InputResult Mouse(Control& plot, const MouseEvent& event);

}  // namespace input
}  // namespace qx::ui
