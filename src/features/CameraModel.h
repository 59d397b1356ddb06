#pragma once

#include <string>

namespace qx {

// The identified camera model and the sensor geometry that follows from it.
class CameraModel {
 public:
  static constexpr int kQx4400 = 0;
  static constexpr int kQx8800 = 1;
  static constexpr int kNotIdentified = 2;
  static constexpr const char* kQx4400Name = "QX-4400M-RLNK";
  static constexpr const char* kQx8800Name = "QX-8800M-RLNK";

  int Model() const { return model_; }
  const std::string& Name() const { return name_; }
  bool IsKnown() const { return model_ == kQx4400 || model_ == kQx8800; }
  // The first model has the smaller sensor; any other value gives the larger one.
  int SensorWidth() const { return model_ == kQx4400 ? 1456 : 2064; }
  int SensorHeight() const { return model_ == kQx4400 ? 1088 : 1544; }

  // Takes a reported model name (exact, case-sensitive); false when it is neither supported
  // model, which stores model 2 with the name.
  bool Identify(const std::string& reportedName);

 private:
  int model_ = kNotIdentified;
  std::string name_;
};

}  // namespace qx
