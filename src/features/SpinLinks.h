#pragma once

namespace qx {
namespace ui {
class Window;
}

// Stores each up-down's id in the user-data word of its buddy edit, so that an edit field
// finds its spin; an edit whose word stays 0 has none.
void LinkSpinsToBuddies(ui::Window& page);

}  // namespace qx
