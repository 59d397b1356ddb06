#pragma once

// How feature code classifies a control: by its window class name (without regard to case)
// and, for buttons, by the low four bits of its style.

#include <cstdint>
#include <string_view>

namespace qx::ui {

enum class WidgetKind {
  NoWidget,
  EditBox,
  SpinBox,
  DropList,
  PushButton,
  CheckBox,
  RadioButton,
  OtherButton,
};

WidgetKind ClassifyWidget(std::string_view className, std::uint32_t style);
std::string_view WidgetKindName(WidgetKind kind);

class Control;
// NoWidget for a missing control.
WidgetKind ClassifyWidget(const Control* control);

}  // namespace qx::ui
