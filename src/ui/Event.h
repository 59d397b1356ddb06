#pragma once

// Notifications a window's handler receives. They come only from operator input (a
// front-end or a script); programmatic changes to controls never produce them.

namespace qx::ui {

class Control;

enum class EventType {
  Command,  // click, edit lost focus, list selection changed, menu command
  Notify,   // up-down delta, tab selection changed
  KeyDown,  // a key pressed while a control (or the window) has the focus
  Resized,  // the operator changed the window's size; width and height are the client size
};

// Codes carried by Command and Notify events; the numbers are the ones feature code compares.
namespace notify {
inline constexpr int kClicked = 0;            // also: menu command (no control)
inline constexpr int kSelectionChanged = 1;   // drop-down list or list box, by the operator
inline constexpr int kEditLostFocus = 0x200;  // edit field left (or committed)
inline constexpr int kUpDownDelta = -722;     // up-down arrow: position about to change
inline constexpr int kTabSelectionChanged = -551;
}  // namespace notify

// Command ids that dialogs treat specially: Enter and Escape become these when no handler
// takes the key, and the close box sends kCancel.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Windows virtual-key codes of the keys the tool reacts to.
namespace vk {
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kEscape = 27;
inline constexpr int kF1 = 112;
inline constexpr int kF12 = 123;
// Letters use their upper-case ASCII codes, 'A' (65) to 'Z' (90).
}  // namespace vk

struct Event {
  EventType type = EventType::Command;
  int id = 0;    // control id or command id
  int code = 0;  // notification code (see notify::)
  // The control that sent it; nullptr for menu commands and for key-downs on the window.
  Control* control = nullptr;
  // Up-down delta: position before the change and the requested step.
  int position = 0;
  int delta = 0;
  // Key-down: the virtual-key code, which a handler may rewrite before default processing.
  int key = 0;
  bool shift = false;
  bool ctrl = false;
  // Resized: the new client size.
  int width = 0;
  int height = 0;
};

}  // namespace qx::ui
