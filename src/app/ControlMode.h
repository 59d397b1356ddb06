#pragma once

namespace qx {

class CRegistryStore;

// Normal (0) or factory (1) operation. Loaded from the preferences when created, toggled in
// memory by the main window's key sequence, written back at normal exit.
class ControlMode {
 public:
  static constexpr int kNormal = 0;
  static constexpr int kFactory = 1;

  explicit ControlMode(CRegistryStore& store);
  ~ControlMode();
  ControlMode(const ControlMode&) = delete;
  ControlMode& operator=(const ControlMode&) = delete;

  int Value() const { return value_; }
  bool IsFactory() const { return value_ != kNormal; }
  void Set(int value) { value_ = value; }
  // 1 if it was 0, else 0.
  void Toggle() { value_ = value_ == kNormal ? kFactory : kNormal; }
  void Save();

 private:
  CRegistryStore& store_;
  int value_ = kNormal;
};

}  // namespace qx
