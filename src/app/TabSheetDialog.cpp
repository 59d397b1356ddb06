#include "app/TabSheetDialog.h"

#include "features/SpinLinks.h"

namespace qx {

CTabSheetDialog::CTabSheetDialog(ui::WindowSystem& windows, int templateId, bool factoryOnly,
                                 std::string caption)
    : window_(windows),
      templateId_(templateId),
      factoryOnly_(factoryOnly),
      caption_(std::move(caption)) {
  window_.SetEventHandler([this](ui::Event& event) { return router_ ? router_(event) : false; });
  window_.SetInitHandler([this] { LinkSpinsToBuddies(window_); });
}

bool CTabSheetDialog::Create(ui::Window& mainWindow) {
  if (!window_.Create(templateId_, &mainWindow)) return false;
  window_.Show(false);
  return true;
}

}  // namespace qx
