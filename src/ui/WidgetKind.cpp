#include "ui/WidgetKind.h"

#include <algorithm>
#include <cctype>

#include "ui/Control.h"

namespace qx::ui {
namespace {

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

WidgetKind ClassifyWidget(std::string_view className, std::uint32_t style) {
  if (EqualsIgnoreCase(className, "edit")) return WidgetKind::EditBox;
  if (EqualsIgnoreCase(className, "msctls_updown32")) return WidgetKind::SpinBox;
  if (EqualsIgnoreCase(className, "ComboBox")) return WidgetKind::DropList;
  if (EqualsIgnoreCase(className, "Button")) {
    switch (style & 0xFu) {
      case 0:
      case 1:
        return WidgetKind::PushButton;
      case 2:
      case 3:
        return WidgetKind::CheckBox;
      case 4:
      case 9:
        return WidgetKind::RadioButton;
      default:
        return WidgetKind::OtherButton;
    }
  }
  return WidgetKind::NoWidget;
}

WidgetKind ClassifyWidget(const Control* control) {
  if (control == nullptr) return WidgetKind::NoWidget;
  return ClassifyWidget(control->ClassName(), control->Style());
}

std::string_view WidgetKindName(WidgetKind kind) {
  switch (kind) {
    case WidgetKind::EditBox:
      return "EditBox";
    case WidgetKind::SpinBox:
      return "SpinBox";
    case WidgetKind::DropList:
      return "DropList";
    case WidgetKind::PushButton:
      return "PushButton";
    case WidgetKind::CheckBox:
      return "CheckBox";
    case WidgetKind::RadioButton:
      return "RadioButton";
    case WidgetKind::OtherButton:
      return "OtherButton";
    case WidgetKind::NoWidget:
      break;
  }
  return "NoWidget";
}

}  // namespace qx::ui
