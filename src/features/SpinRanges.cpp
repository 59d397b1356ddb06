#include "features/SpinRanges.h"

#include <algorithm>
#include <array>

#include "features/CameraModel.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "model/ParameterTable.h"
#include "ui/Control.h"

namespace qx {

namespace {

// Fields whose spins keep ranges of their own (colour matrix and enhancer), and two read-only
// number fields.
constexpr std::array kFieldsWithOwnRanges = {2631, 2633, 2635, 2637, 2640, 2643, 2646,
                                             2649, 2652, 2655, 2657, 2659, 2665, 2667,
                                             2669, 2671, 2673, 2675, 2898, 2906};
constexpr std::array kSequencerExposureFields = {2795, 2912, 2914, 2916};
constexpr std::array kSequencerGainFields = {2802, 2804, 2918};

template <size_t N>
bool Contains(const std::array<int, N>& ids, int id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

struct RangeInputs {
  bool fromSelections = false;
  int hbin = 1;  // image horizontal binning factor
  bool sequencerHx2 = false;
  bool sequencerVx2 = false;
  bool gainModeOn = false;
};

int SelectedIndex(FeatureControls& controls, int listId) {
  const ui::Control* list = controls.FindControl(listId);
  return list ? list->Selection() : -1;
}

void WalkSpinRanges(FeatureContext& context, const RangeInputs& in) {
  const int width = context.model.SensorWidth();
  const int height = context.model.SensorHeight();
  for (const ParameterRow& row : context.table.Rows()) {
    if (row.kind != ControlKind::Number || Contains(kFieldsWithOwnRanges, row.controlId)) continue;
    ui::Control* edit = context.controls.FindControl(row.controlId);
    if (edit == nullptr || edit->UserData() == 0) continue;
    ui::Control* spin = context.controls.FindControl(static_cast<int>(edit->UserData()));
    if (spin == nullptr) continue;
    int low = row.min;
    int high = row.max;
    switch (row.controlId) {
      case 1359:
        if (!in.fromSelections) high = height;
        break;
      case 2515:
        if (!in.fromSelections) {
          low = in.hbin == 2 ? 48 : 96;
          high = width;
        }
        break;
      case 2787:
        if (in.fromSelections) {
          low = 2;
          high = in.sequencerVx2 ? height / 2 : height;
        } else {
          high = height;
        }
        break;
      case 2785:
        if (in.fromSelections) {
          low = in.sequencerHx2 ? 48 : 96;
          high = in.sequencerHx2 ? width / 2 : width;
        } else {
          low = in.sequencerHx2 ? 48 : 96;
          high = width;
        }
        break;
      default:
        if (Contains(kSequencerExposureFields, row.controlId)) {
          low = in.sequencerHx2 || in.sequencerVx2 ? 3 : 1;
        } else if (Contains(kSequencerGainFields, row.controlId)) {
          low = in.gainModeOn ? 100 : 47;
          high = in.gainModeOn ? 6400 : 400;
        }
        break;
    }
    spin->SetRange(low, high);
  }
}

}  // namespace

void SetSpinRanges(FeatureContext& context) {
  RangeInputs in;
  in.hbin = context.table.GetDataValue(1406);
  in.sequencerHx2 = context.table.GetDataValue(2797) == 1;
  in.sequencerVx2 = context.table.GetDataValue(2798) == 1;
  in.gainModeOn = context.table.GetDataValue(2542) != 0;
  WalkSpinRanges(context, in);
}

void SetSequencerSpinRanges(FeatureContext& context) {
  RangeInputs in;
  in.fromSelections = true;
  in.sequencerHx2 = SelectedIndex(context.controls, 2797) == 1;
  in.sequencerVx2 = SelectedIndex(context.controls, 2798) == 1;
  in.gainModeOn = SelectedIndex(context.controls, 2542) == 1;
  WalkSpinRanges(context, in);
}

}  // namespace qx
