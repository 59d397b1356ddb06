#include "features/Reload.h"

#include <algorithm>
#include <array>

#include "app/ControlMode.h"
#include "comm/Command.h"
#include "features/CameraModel.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "features/ListSetup.h"
#include "features/SpinRanges.h"
#include "model/ParameterTable.h"
#include "ui/Control.h"
#include "ui/Desktop.h"

namespace qx {

namespace {

// The controls whose rows the read-all reads; every other row is never read in bulk.
constexpr std::array kReadSet = {
    1055, 1337, 1338, 1341, 1343, 1345, 1347, 1349, 1350, 1352, 1354, 1356, 1357, 1359, 1361, 1363,
    1366, 1368, 1369, 1370, 1376, 1377, 1381, 1382, 1386, 1387, 1404, 1406, 1407, 1408, 1410, 1415,
    1422, 1445, 1448, 1470, 1580, 1739, 1753, 1754, 1759, 1782, 1786, 1787, 1789, 1791, 1797, 1844,
    1868, 1870, 1885, 1943, 1944, 1945, 1946, 1947, 1948, 1949, 1950, 1951, 1952, 1953, 1954, 1955,
    1956, 1957, 1958, 1959, 1960, 1961, 1962, 1963, 1964, 1965, 1966, 1967, 1968, 1969, 1970, 1971,
    1972, 1973, 1974, 2296, 2298, 2300, 2302, 2304, 2306, 2308, 2310, 2312, 2314, 2316, 2319, 2321,
    2323, 2325, 2327, 2329, 2330, 2332, 2334, 2335, 2336, 2337, 2338, 2339, 2340, 2341, 2342, 2343,
    2345, 2346, 2347, 2348, 2349, 2350, 2351, 2352, 2353, 2354, 2355, 2356, 2411, 2513, 2515, 2517,
    2538, 2539, 2540, 2541, 2542, 2543, 2555, 2572, 2573, 2575, 2594, 2599, 2631, 2633, 2635, 2637,
    2640, 2643, 2646, 2649, 2652, 2655, 2657, 2659, 2660, 2661, 2662, 2664, 2665, 2667, 2669, 2671,
    2673, 2675, 2694, 2695, 2696, 2703, 2708, 2712, 2714, 2720, 2722, 2728, 2730, 2736, 2738, 2744,
    2746, 2752, 2754, 2760, 2762, 2764, 2766, 2768, 2770, 2771, 2772, 2773, 2774, 2775, 2776, 2807,
    2810, 2812, 2815, 2817, 2820, 2822, 2825, 2827, 2829, 2831, 2833, 2835, 2837, 2839, 2841, 2843,
    2845, 2868, 2869, 2870, 2871, 2873, 2876, 2877, 2879, 2896, 2901, 2902, 2906, 2907, 2908, 2909,
    2910, 5119, 5120};

// The sensor multi-ROI fields, which the second model does not have.
constexpr std::array kMultiRoiFields = {2712, 2714, 2720, 2722, 2728, 2730, 2736,
                                        2738, 2744, 2746, 2752, 2754, 2906};

constexpr int kModelList = 1855;
constexpr int kGammaList = 2575;
constexpr int kCameraBaudRateList = 1422;
constexpr int kClConfigurationList = 1407;
constexpr int kBitAllocationList = 1354;
constexpr int kSensorClockList = 2573;
constexpr int kSequencerIndexField = 2779;
constexpr const char* kProgressText = "Now, reading camera settings.";

template <size_t N>
bool Contains(const std::array<int, N>& ids, int id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void SelectItem(FeatureControls& controls, int listId, int index) {
  if (ui::Control* list = controls.FindControl(listId)) {
    list->SetSelection(index < list->ItemCount() ? index : -1);
  }
}

}  // namespace

int GammaListIndexOf(int gammaValue) {
  constexpr std::array kGammaValues = {45, 50, 55, 60, 65, 75, 80, 90, 100};
  for (size_t i = 1; i < kGammaValues.size(); ++i) {
    if (kGammaValues[i] == gammaValue) return static_cast<int>(i);
  }
  return 0;
}

int BaudRateListIndexOf(int baudRateBit) {
  for (int index = 1; index <= 7; ++index) {
    if (baudRateBit == (1 << index)) return index;
  }
  return 0;
}

CameraReload::CameraReload(FeatureContext& context, ReloadHost& host)
    : context_(context), host_(host) {}

int CameraReload::OpenAndIdentify() {
  if (!host_.ReopenChannel()) {
    context_.desktop.ShowMessageBox(nullptr, "Failed to initialize!", "",
                                    ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
    return 0;
  }
  return IdentifyModel();
}

int CameraReload::IdentifyModel() {
  std::string name;
  if (!context_.command.QueryText(cmd::kMD, name, kModelQueryTimeoutMs)) return 0;
  if (!context_.model.Identify(name)) {
    context_.desktop.ShowMessageBox(nullptr, "Unsupported model: \"" + name + "\"", "",
                                    ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
  }
  return 1;
}

bool CameraReload::IsReadInBulk(int rowIndex) const {
  const auto& rows = context_.table.Rows();
  if (rowIndex < 0 || rowIndex >= static_cast<int>(rows.size())) return false;
  const ParameterRow& row = rows[static_cast<size_t>(rowIndex)];
  if (row.commandId == -1 || !Contains(kReadSet, row.controlId)) return false;
  if (Contains(kMultiRoiFields, row.controlId) && context_.model.Model() == CameraModel::kQx8800) {
    return false;
  }
  if (row.parameterClass == ParameterClass::Factory && !context_.mode.IsFactory()) return false;
  return context_.table.IsReadable(rowIndex);
}

int CameraReload::ProgressTotal() {
  return context_.mode.IsFactory() ? context_.table.ReadableCount()
                                   : context_.table.ReadableUserCount();
}

void CameraReload::ApplyReadValue(int controlId, int value) {
  switch (controlId) {
    case kGammaList:
      SelectItem(context_.controls, kGammaList, GammaListIndexOf(value));
      break;
    case kCameraBaudRateList:
      SelectItem(context_.controls, kCameraBaudRateList, BaudRateListIndexOf(value));
      break;
    case kClConfigurationList:
      context_.fields.clConfiguration = value;
      break;
    case kBitAllocationList:
      context_.fields.bitAllocation = value;
      break;
    case kSensorClockList:
      context_.fields.sensClkFreq = value;
      break;
    default:
      break;
  }
}

int CameraReload::ReadAll() {
  const int total = std::max(ProgressTotal(), 1);
  host_.OpenProgress(kProgressText);
  int done = 0;
  const int rowCount = static_cast<int>(context_.table.Rows().size());
  for (int i = 0; i < rowCount; ++i) {
    if (!IsReadInBulk(i)) continue;
    const ParameterRow row = context_.table.Rows()[static_cast<size_t>(i)];
    int value = 0;
    if (context_.command.QueryValue(row.commandId, value, kReadTimeoutMs)) {
      context_.table.SetDataValue(row.controlId, value);
      ApplyReadValue(row.controlId, value);
    }
    done += 100;
    host_.SetProgress(done / total);
    host_.ProcessPendingMessages();
  }
  host_.CloseProgress();
  host_.ActivateMainWindow();
  host_.UpdateModeText();
  return 1;
}

void CameraReload::Reload() {
  host_.EnableToolWindows(false);
  IdentifyModel();
  if (ui::Control* models = context_.controls.FindControl(kModelList)) {
    models->ClearItems();
    if (context_.model.IsKnown()) {
      models->AddItem(CameraModel::kQx4400Name);
      models->AddItem(CameraModel::kQx8800Name);
    }
  }
  ApplyModelDependentSetup(context_);
  ReadAll();
  context_.table.WriteAllToControls(context_.controls);
  context_.table.CommitAll();
  host_.ApplyEnableRules();
  host_.EnableToolWindows(true);
  RefillCameraLinkLists(context_);
  host_.ApplyLutModeEnables();
  host_.ShowCameraBaudRates();
  host_.FillCameraBaudRateList();
  host_.LoadSequencerEntry(context_.controls.GetControlValue(kSequencerIndexField));
  context_.table.ApplyModelLimits(context_.model.Model());
  SetSpinRanges(context_);
  host_.OnExposureTimeModeChanged();
  SetUpListValues(context_);
}

}  // namespace qx
