#pragma once

// What the resource files describe: dialog templates with their controls, menus and images.
// Windows and controls are built from these at run time.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/Geometry.h"

namespace qx::ui {

// The concrete control types of the window system. Each has a window class name that
// feature code sees (see ClassNameOf) and classifies with WidgetKind.
enum class ControlType {
  Edit,
  UpDown,
  ComboBox,
  ListBox,
  Button,
  Static,
  Picture,
  Progress,
  Tab,
  Plot
};

const char* ClassNameOf(ControlType type);
// "Edit", "Button", ... compared without regard to case; Static with an image style is a
// Picture. Empty when the class is unknown.
std::optional<ControlType> ControlTypeOf(const std::string& className, std::uint32_t style);

// Style bits the window system gives meaning to.
namespace style {
inline constexpr std::uint32_t kPushButton = 0;
inline constexpr std::uint32_t kDefPushButton = 1;
inline constexpr std::uint32_t kCheckBox = 2;
inline constexpr std::uint32_t kAutoCheckBox = 3;
inline constexpr std::uint32_t kRadioButton = 4;
inline constexpr std::uint32_t k3State = 5;
inline constexpr std::uint32_t kAuto3State = 6;
inline constexpr std::uint32_t kGroupBox = 7;
inline constexpr std::uint32_t kAutoRadioButton = 9;
inline constexpr std::uint32_t kButtonTypeMask = 0xF;
inline constexpr std::uint32_t kStaticIcon = 0x3;
inline constexpr std::uint32_t kStaticBitmap = 0xE;
inline constexpr std::uint32_t kStaticTypeMask = 0x1F;
inline constexpr std::uint32_t kComboDropDownList = 0x3;
inline constexpr std::uint32_t kGroup = 0x00020000;  // first control of a group
}  // namespace style

struct ListItem {
  std::string text;
  int data = 0;
  friend bool operator==(const ListItem&, const ListItem&) = default;
};

struct ControlTemplate {
  int id = -1;  // -1: a control nothing addresses (labels, group boxes)
  ControlType type = ControlType::Static;
  std::uint32_t style = 0;
  std::string caption;
  // Exact placement in the window's client area; absent where the template describes the
  // window by groups and rows and the layout places the control.
  std::optional<Rect> rect;
  // Layout position: index of the enclosing group box among the template's controls
  // (-1: none), row within that group and column within the row.
  int groupIndex = -1;
  int row = -1;
  int column = 0;
  // Initial state.
  bool disabled = false;
  bool hidden = false;
  int check = 0;
  int rangeMin = 0;
  int rangeMax = 100;
  int position = 0;
  int buddy = 0;  // up-down: id of the edit it drives
  std::vector<ListItem> items;
  int selection = -1;
  int imageId = 0;  // picture: bitmap or icon resource
  int line = 0;     // where it was defined, for messages
};

struct DialogTemplate {
  int id = 0;        // resource number, 0 when the template is known by name
  std::string name;  // e.g. "Control Tool Body"
  std::string caption;
  Rect rect;  // position and client size
  bool child = false;
  int menuId = 0;
  int iconId = 0;
  std::vector<ControlTemplate> controls;
  std::string file;
  int line = 0;
};

struct MenuItem {
  std::string text;
  int commandId = 0;
  bool separator = false;
  bool grayed = false;
  std::vector<MenuItem> children;  // non-empty or popup: a submenu
  bool popup = false;
};

struct MenuTemplate {
  int id = 0;
  std::vector<MenuItem> items;  // the menu bar's entries
};

}  // namespace qx::ui
