#include "features/FeatureControls.h"

#include <cctype>
#include <climits>
#include <string>

#include "comm/Command.h"
#include "platform/LeadingInteger.h"
#include "ui/Control.h"
#include "ui/Window.h"

namespace qx {

namespace {

// Lists whose value is always the item data, even where it is 0.
bool AlwaysUsesItemData(int controlId) {
  return controlId == 1354 || controlId == 1407 || controlId == 2573;
}

constexpr int kReadBackTimeoutMs = 2500;

}  // namespace

FeatureControls::FeatureControls(std::vector<ui::Window*> searchOrder)
    : windows_(std::move(searchOrder)) {}

ui::Control* FeatureControls::FindControl(int controlId) const {
  for (ui::Window* window : windows_) {
    if (window == nullptr || !window->Exists()) continue;
    if (ui::Control* control = window->GetControl(controlId)) return control;
  }
  return nullptr;
}

int FeatureControls::ListValue(const ui::Control& list) {
  const int selection = list.Selection();
  if (selection < 0) return -1;
  const int data = list.ItemData(selection).value_or(0);
  if (data == 0 && !AlwaysUsesItemData(list.Id())) return selection;
  return data;
}

void FeatureControls::SelectListValue(ui::Control& list, int value) {
  const int byData = list.FindItemData(value);
  if (byData >= 0) {
    list.SetSelection(byData);
  } else if (value >= 0 && value < list.ItemCount()) {
    list.SetSelection(value);
  } else {
    list.SetSelection(-1);
  }
}

int FeatureControls::GetControlValue(int controlId) const {
  ui::Control* control = FindControl(controlId);
  if (control == nullptr) return -1;
  switch (control->Kind()) {
    case ui::WidgetKind::EditBox:
      return platform::ParseLeadingInteger(control->Text()).value_or(0);
    case ui::WidgetKind::SpinBox:
      return control->GetPos();
    case ui::WidgetKind::DropList:
      return ListValue(*control);
    case ui::WidgetKind::CheckBox:
      return control->CheckState() == 1 ? 1 : 0;
    case ui::WidgetKind::RadioButton: {
      // Counted from the control forward through its group.
      const auto members = control->Owner().GroupMembers(*control);
      int index = 0;
      bool counting = false;
      for (ui::Control* member : members) {
        if (member == control) counting = true;
        if (!counting || member->Kind() != ui::WidgetKind::RadioButton) continue;
        if (member->CheckState() == 1) return index;
        ++index;
      }
      return 0;
    }
    default:
      return -1;
  }
}

int FeatureControls::SetControlValue(int controlId, int value) {
  ui::Control* control = FindControl(controlId);
  if (control == nullptr) return 0;
  switch (control->Kind()) {
    case ui::WidgetKind::EditBox:
      control->SetText(std::to_string(value));
      return 1;
    case ui::WidgetKind::SpinBox:
      control->SetPos(value);
      if (ui::Control* buddy = control->Buddy()) buddy->SetText(std::to_string(value));
      return 1;
    case ui::WidgetKind::DropList:
      SelectListValue(*control, value);
      return 1;
    case ui::WidgetKind::CheckBox:
      control->SetCheck(value == 1 ? 1 : 0);
      return 1;
    case ui::WidgetKind::RadioButton: {
      const auto members = control->Owner().GroupMembers(*control);
      int index = 0;
      for (ui::Control* member : members) {
        if (member->Kind() != ui::WidgetKind::RadioButton) continue;
        member->SetCheck(index == value ? 1 : 0);
        ++index;
      }
      return 1;
    }
    default:
      return 0;
  }
}

int FeatureControls::ReadBackControl(int controlId, Command& command, ParameterTable& table) {
  const int commandId = table.ToCmdId(controlId);
  if (commandId < 0) return 0;
  int value = 0;
  if (!command.QueryValue(commandId, value, kReadBackTimeoutMs)) return 0;
  table.SetDataValue(controlId, value);
  SetControlValue(controlId, value);
  return 1;
}

}  // namespace qx
