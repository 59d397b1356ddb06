#pragma once

namespace qx {

// Recognises the hidden key sequence that switches between normal and factory operation:
// Shift+Ctrl+F12 arms it, then the three letters of the access code follow without any other
// key in between (modifier keys included).
class ControlModeKeySequence {
 public:
  // Takes every key-down (virtual-key code and modifier state); true when the sequence has
  // just been completed.
  bool Feed(int key, bool shift, bool ctrl);

  bool IsArmed() const { return armed_; }
  int Position() const { return position_; }

 private:
  bool armed_ = false;
  int position_ = 0;
};

}  // namespace qx
