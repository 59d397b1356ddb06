#pragma once

// Places the controls of a template that describes its window by groups and rows.

#include "ui/Templates.h"

namespace qx::ui {

// Gives every control without exact coordinates a place (groups stacked top to bottom, rows
// inside them, a label column then the controls) and the window a size when it has none.
void LayOutTemplate(DialogTemplate& tmpl);

}  // namespace qx::ui
