#include "features/SpinLinks.h"

#include "ui/Control.h"
#include "ui/Window.h"

namespace qx {

void LinkSpinsToBuddies(ui::Window& page) {
  for (const auto& control : page.Controls()) {
    if (control->Kind() != ui::WidgetKind::SpinBox) continue;
    if (ui::Control* buddy = control->Buddy()) buddy->SetUserData(control->Id());
  }
}

}  // namespace qx
