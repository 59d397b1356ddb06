#include "ui/Templates.h"

#include <algorithm>
#include <cctype>

namespace qx::ui {
namespace {

std::string Lower(const std::string& text) {
  std::string out = text;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

}  // namespace

const char* ClassNameOf(ControlType type) {
  switch (type) {
    case ControlType::Edit:
      return "Edit";
    case ControlType::UpDown:
      return "msctls_updown32";
    case ControlType::ComboBox:
      return "ComboBox";
    case ControlType::ListBox:
      return "ListBox";
    case ControlType::Button:
      return "Button";
    case ControlType::Static:
    case ControlType::Picture:
      return "Static";
    case ControlType::Progress:
      return "msctls_progress32";
    case ControlType::Tab:
      return "SysTabControl32";
    case ControlType::Plot:
      return "QxPlot";
  }
  return "Static";
}

std::optional<ControlType> ControlTypeOf(const std::string& className, std::uint32_t styleBits) {
  const std::string name = Lower(className);
  if (name == "edit") return ControlType::Edit;
  if (name == "msctls_updown32") return ControlType::UpDown;
  if (name == "combobox") return ControlType::ComboBox;
  if (name == "listbox") return ControlType::ListBox;
  if (name == "button") return ControlType::Button;
  if (name == "static") {
    const std::uint32_t kind = styleBits & style::kStaticTypeMask;
    if (kind == style::kStaticIcon || kind == style::kStaticBitmap) return ControlType::Picture;
    return ControlType::Static;
  }
  if (name == "msctls_progress32") return ControlType::Progress;
  if (name == "systabcontrol32") return ControlType::Tab;
  if (name == "qxplot") return ControlType::Plot;
  return std::nullopt;
}

}  // namespace qx::ui
