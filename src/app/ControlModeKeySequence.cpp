#include "app/ControlModeKeySequence.h"

#include <string_view>

#include "ui/Event.h"

namespace qx {

namespace {
constexpr std::string_view kAccessCode = "QVZ";
}

bool ControlModeKeySequence::Feed(int key, bool shift, bool ctrl) {
  if (shift && ctrl && key == ui::vk::kF12) {
    armed_ = true;
    position_ = 0;
    return false;
  }
  if (!armed_) return false;
  if (key == kAccessCode[static_cast<size_t>(position_)]) {
    ++position_;
    if (position_ == static_cast<int>(kAccessCode.size())) {
      armed_ = false;
      position_ = 0;
      return true;
    }
    return false;
  }
  armed_ = false;
  position_ = 0;
  return false;
}

}  // namespace qx
