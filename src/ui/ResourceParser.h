#pragma once

// Reads the tool's resource files: dialog templates, menus, bitmaps and icons in a line-based
// text format (described in resources/README.md). The files are outside input: any text is
// accepted without crashing; what cannot be read is reported with file and line and skipped.

#include <string>
#include <string_view>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/TemplateLayout.h"
#include "ui/Templates.h"

namespace qx::ui {

struct ResourceError {
  std::string file;
  int line = 0;
  std::string message;
  std::string ToString() const;  // "file:line: message"
};

struct ParsedResources {
  std::vector<DialogTemplate> dialogs;
  std::vector<MenuTemplate> menus;
  std::vector<Bitmap> images;  // bitmaps and icons share one numbering
  std::vector<ResourceError> errors;
};

ParsedResources ParseResources(std::string_view fileName, std::string_view text);

}  // namespace qx::ui
