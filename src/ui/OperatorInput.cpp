#include "ui/OperatorInput.h"

#include <algorithm>

#include "ui/Control.h"
#include "ui/Event.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::ui::input {
namespace {

std::string Describe(const Control& control) {
  return "control " + std::to_string(control.Id());
}

InputResult CheckReachable(const Control& control) {
  if (!control.Owner().IsReachable()) {
    return InputResult::Refused(Describe(control) + " is in a window that is hidden or disabled");
  }
  if (!control.IsVisible()) return InputResult::Refused(Describe(control) + " is hidden");
  if (!control.IsEnabled()) return InputResult::Refused(Describe(control) + " is disabled");
  return {};
}

// Handlers may destroy the window (and the control with it) while they run.
bool StillThere(WindowSystem& system, Window* window, Control* control, int id) {
  return system.IsAlive(window) && window->Exists() && window->GetControl(id) == control;
}

Event CommandEvent(Control& control, int code) {
  Event event;
  event.type = EventType::Command;
  event.id = control.Id();
  event.code = code;
  event.control = &control;
  return event;
}

}  // namespace

InputResult Click(Control& control) {
  if (InputResult reachable = CheckReachable(control); !reachable.ok) return reachable;
  if (control.Type() != ControlType::Button) {
    return InputResult::Refused(Describe(control) + " is not a button");
  }
  const std::uint32_t buttonStyle = control.Style() & style::kButtonTypeMask;
  if (buttonStyle == style::kGroupBox) {
    return InputResult::Refused(Describe(control) + " is a group box");
  }
  Window& window = control.Owner();
  window.SetFocus(control.Id());
  if (buttonStyle == style::kAutoCheckBox) {
    control.SetCheck(control.CheckState() == 1 ? 0 : 1);
  } else if (buttonStyle == style::kAuto3State) {
    control.SetCheck((control.CheckState() + 1) % 3);
  } else if (buttonStyle == style::kAutoRadioButton) {
    for (Control* member : window.GroupMembers(control)) {
      if (member != &control && member->Kind() == WidgetKind::RadioButton) member->SetCheck(0);
    }
    control.SetCheck(1);
  }
  Event event = CommandEvent(control, notify::kClicked);
  window.Dispatch(event);
  return {};
}

InputResult TypeText(Control& control, std::string text) {
  if (InputResult reachable = CheckReachable(control); !reachable.ok) return reachable;
  if (control.Type() != ControlType::Edit) {
    return InputResult::Refused(Describe(control) + " is not an edit field");
  }
  control.Owner().SetFocus(control.Id());
  control.SetText(std::move(text));
  return {};
}

InputResult CommitEdit(Control& control) {
  if (InputResult reachable = CheckReachable(control); !reachable.ok) return reachable;
  if (control.Type() != ControlType::Edit) {
    return InputResult::Refused(Describe(control) + " is not an edit field");
  }
  Event event = CommandEvent(control, notify::kEditLostFocus);
  control.Owner().Dispatch(event);
  return {};
}

InputResult SelectItem(Control& control, int index) {
  if (InputResult reachable = CheckReachable(control); !reachable.ok) return reachable;
  if (control.Type() != ControlType::ComboBox && control.Type() != ControlType::ListBox) {
    return InputResult::Refused(Describe(control) + " is not a list");
  }
  if (index < 0 || index >= control.ItemCount()) {
    return InputResult::Refused(Describe(control) + " has no item " + std::to_string(index) +
                                " (it has " + std::to_string(control.ItemCount()) + ")");
  }
  control.Owner().SetFocus(control.Id());
  control.SetSelection(index);
  control.SetDroppedDown(false);
  Event event = CommandEvent(control, notify::kSelectionChanged);
  control.Owner().Dispatch(event);
  return {};
}

InputResult Spin(Control& control, int delta) {
  if (InputResult reachable = CheckReachable(control); !reachable.ok) return reachable;
  if (control.Type() != ControlType::UpDown) {
    return InputResult::Refused(Describe(control) + " is not an up-down control");
  }
  Window& window = control.Owner();
  WindowSystem& system = window.System();
  const int id = control.Id();
  const int position = control.GetPos();
  Event event;
  event.type = EventType::Notify;
  event.id = id;
  event.code = notify::kUpDownDelta;
  event.control = &control;
  event.position = position;
  event.delta = delta;
  window.Dispatch(event);
  if (StillThere(system, &window, &control, id)) {
    const long long target = static_cast<long long>(position) + delta;
    const long long low = std::min(control.RangeMin(), control.RangeMax());
    const long long high = std::max(control.RangeMin(), control.RangeMax());
    control.SetPos(static_cast<int>(std::clamp(target, low, high)));
  }
  return {};
}

InputResult DropDown(Control& control, bool open) {
  if (InputResult reachable = CheckReachable(control); !reachable.ok) return reachable;
  if (control.Type() != ControlType::ComboBox) {
    return InputResult::Refused(Describe(control) + " is not a drop-down list");
  }
  control.Owner().SetFocus(control.Id());
  control.SetDroppedDown(open);
  return {};
}

InputResult PressKey(Window& window, Control* focus, int key, bool shift, bool ctrl) {
  if (focus != nullptr) {
    if (InputResult reachable = CheckReachable(*focus); !reachable.ok) return reachable;
  } else if (!window.IsReachable()) {
    return InputResult::Refused("the window is hidden or disabled");
  }
  Window& target = focus != nullptr ? focus->Owner() : window;
  target.SetFocus(focus != nullptr ? focus->Id() : 0);
  Event event;
  event.type = EventType::KeyDown;
  event.id = focus != nullptr ? focus->Id() : 0;
  event.control = focus;
  event.key = key;
  event.shift = shift;
  event.ctrl = ctrl;
  target.Dispatch(event);
  return {};
}

InputResult ChooseMenu(Window& window, int commandId) {
  if (!window.IsReachable()) return InputResult::Refused("the window is hidden or disabled");
  if (window.FindMenuItem(commandId) == nullptr) {
    return InputResult::Refused("no menu command " + std::to_string(commandId));
  }
  if (!window.IsMenuCommandAvailable(commandId)) {
    return InputResult::Refused("menu command " + std::to_string(commandId) + " is greyed");
  }
  Event event;
  event.type = EventType::Command;
  event.id = commandId;
  event.code = notify::kClicked;
  window.Dispatch(event);
  return {};
}

InputResult SelectTab(Control& tab, int index) {
  if (InputResult reachable = CheckReachable(tab); !reachable.ok) return reachable;
  if (tab.Type() != ControlType::Tab) {
    return InputResult::Refused(Describe(tab) + " is not a tab control");
  }
  if (index < 0 || index >= tab.ItemCount()) {
    return InputResult::Refused(Describe(tab) + " has no tab " + std::to_string(index) +
                                " (it has " + std::to_string(tab.ItemCount()) + ")");
  }
  tab.SetSelection(index);
  Event event;
  event.type = EventType::Notify;
  event.id = tab.Id();
  event.code = notify::kTabSelectionChanged;
  event.control = &tab;
  tab.Owner().Dispatch(event);
  return {};
}

InputResult Resize(Window& window, int width, int height) {
  if (!window.Exists()) return InputResult::Refused("the window does not exist");
  if (width < 0 || height < 0) return InputResult::Refused("negative size");
  Rect rect = window.Geometry();
  rect.width = width;
  rect.height = height;
  window.Move(rect);
  Event event;
  event.type = EventType::Resized;
  event.width = width;
  event.height = height;
  window.Dispatch(event);
  return {};
}

InputResult RequestClose(Window& window) {
  if (!window.IsReachable()) return InputResult::Refused("the window is hidden or disabled");
  Event event;
  event.type = EventType::Command;
  event.id = kIdCancel;
  event.code = notify::kClicked;
  event.control = window.GetControl(kIdCancel);
  window.Dispatch(event);
  return {};
}

InputResult Mouse(Control& plot, const MouseEvent& event) {
  if (InputResult reachable = CheckReachable(plot); !reachable.ok) return reachable;
  if (plot.Type() != ControlType::Plot) {
    return InputResult::Refused(Describe(plot) + " is not a plot");
  }
  plot.DeliverMouse(event);
  return {};
}

}  // namespace qx::ui::input
