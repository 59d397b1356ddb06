#include "features/CameraModel.h"

namespace qx {

bool CameraModel::Identify(const std::string& reportedName) {
  name_ = reportedName;
  if (reportedName == kQx4400Name) {
    model_ = kQx4400;
  } else if (reportedName == kQx8800Name) {
    model_ = kQx8800;
  } else {
    model_ = kNotIdentified;
  }
  return IsKnown();
}

}  // namespace qx
