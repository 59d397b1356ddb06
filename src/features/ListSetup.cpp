#include "features/ListSetup.h"

#include <array>
#include <string>

#include "comm/Command.h"
#include "features/CameraModel.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "features/ListTables.h"
#include "model/ParameterTable.h"
#include "ui/Control.h"

namespace qx {

namespace {

constexpr int kSequencerIndexField = 2779;
constexpr int kRawQueryTimeoutMs = 2500;
constexpr int kModelList = 1855;
constexpr int kTestPatternList = 1386;
constexpr int kShadingModeList = 1868;
// Lists positioned by value minus one (their items carry 1 and 2).
constexpr std::array kBinningLists = {1406, 1408};
// The unnamed list of the first page offers two camera values.
constexpr int kLineModeList = 2870;

// The multi-ROI group of the sequencer page: labels, region fields and their spins, and the
// enable button; usable only on the first model.
constexpr std::array kMultiRoiControls = {
    2886, 2887, 2888, 2889, 2890, 2891, 2892, 2893, 2894,                    // labels
    2712, 2714, 2720, 2722, 2728, 2730, 2736, 2738, 2744, 2746, 2752, 2754,  // fields
    2713, 2715, 2721, 2723, 2729, 2731, 2737, 2739, 2745, 2747, 2753, 2755,  // spins
    2872};
// Controls that only a colour camera offers; both models are colour cameras.
constexpr std::array kColourControls = {
    1406, 1408, 1580, 1782, 1786, 1787, 1789, 1791, 1754, 1759, 2518, 2519, 2520, 2521, 2524,
    2525, 2526, 2527, 2530, 2531, 2532, 2533, 2543, 1959, 1960, 1961, 1962, 1963, 1964, 1965,
    1966, 1967, 1968, 1969, 1970, 1971, 1972, 1973, 1974, 2802, 2803, 2918, 2919, 2804, 2805};
constexpr std::array kLutPointIndexSpins = {2519, 2525, 2531};

bool IsBinningList(int id) {
  return id == kBinningLists[0] || id == kBinningLists[1];
}

void FillList(ui::Control& list, const std::vector<ListItemValue>& items, size_t count) {
  list.ClearItems();
  for (size_t i = 0; i < items.size() && i < count; ++i)
    list.AddItem(items[i].text, items[i].value);
}

// Selects the sequencer binning list from the camera's value for the entry shown in 2779.
void LoadSequencerBinning(FeatureContext& context, int listId, const char* mnemonic) {
  ui::Control* list = context.controls.FindControl(listId);
  if (list == nullptr) return;
  list->ClearItems();
  list->AddItem("Off");
  list->AddItem("x2");
  const int entry = context.controls.GetControlValue(kSequencerIndexField);
  const std::string line = std::string(mnemonic) + std::to_string(entry) + "?\r\n";
  int value = 0;
  if (context.command.SendRawCommand(line, value, kRawQueryTimeoutMs)) {
    list->SetSelection(value - 1 >= 0 && value - 1 < list->ItemCount() ? value - 1 : -1);
    // The table follows the camera, as a sequencer entry load does, so that writing the table
    // to the controls later shows the same choice and nothing counts as changed.
    if (list->Selection() >= 0) {
      context.table.SetDataValue(listId, list->Selection());
      context.table.CommitAll();
    }
  }
  list->Enable(true);
}

}  // namespace

void SetUpListValues(FeatureContext& context) {
  for (const ListDefinition& definition : FeatureLists()) {
    for (int id : definition.controlIds) {
      ui::Control* list = context.controls.FindControl(id);
      if (list == nullptr) continue;
      // Items are matched by text: a list rebuilt by a page rule may hold only some of them.
      for (int i = 0; i < list->ItemCount(); ++i) {
        for (const auto& item : definition.items) {
          if (list->ItemText(i) == item.text) {
            list->SetItemData(i, item.value);
            break;
          }
        }
      }
    }
  }
  if (ui::Control* list = context.controls.FindControl(kLineModeList)) {
    if (list->ItemCount() >= 2) {
      list->SetItemData(0, 10);
      list->SetItemData(1, 12);
    }
  }

  for (const ListDefinition& definition : FeatureLists()) {
    for (int id : definition.controlIds) {
      if (context.table.FindRow(id) == nullptr) continue;
      ui::Control* list = context.controls.FindControl(id);
      if (list == nullptr) continue;
      const int value = context.table.GetDataValue(id);
      if (IsBinningList(id)) {
        list->SetSelection(value - 1 >= 0 && value - 1 < list->ItemCount() ? value - 1 : -1);
      } else {
        context.controls.SetControlValue(id, value);
      }
    }
  }
  if (context.controls.FindControl(kLineModeList) && context.table.FindRow(kLineModeList)) {
    context.controls.SetControlValue(kLineModeList, context.table.GetDataValue(kLineModeList));
  }

  LoadSequencerBinning(context, 2797, context.command.GetMnemonic(223).c_str());
  LoadSequencerBinning(context, 2798, context.command.GetMnemonic(224).c_str());
}

void RefillCameraLinkLists(FeatureContext& context) {
  if (ui::Control* list = context.controls.FindControl(1407)) {
    FillList(*list, FindListDefinition(1407)->items, 4);
    FeatureControls::SelectListValue(*list, context.fields.clConfiguration);
  }
  if (ui::Control* list = context.controls.FindControl(2573)) {
    FillList(*list, FindListDefinition(2573)->items, 3);
    FeatureControls::SelectListValue(*list, context.fields.sensClkFreq);
  }
  if (ui::Control* list = context.controls.FindControl(1354)) {
    FillList(*list, FindListDefinition(1354)->items, context.fields.clConfiguration == 1 ? 3 : 1);
    const int bits = context.fields.bitAllocation;
    const int index = bits >= 3 && bits <= 5 ? bits - 3 : 0;
    list->SetSelection(index < list->ItemCount() ? index : -1);
  }
}

void ApplyModelDependentSetup(FeatureContext& context) {
  const bool known = context.model.IsKnown();
  if (ui::Control* list = context.controls.FindControl(kModelList)) {
    const int index = context.model.Model() == CameraModel::kQx8800 ? 1 : 0;
    list->SetSelection(index < list->ItemCount() ? index : -1);
  }
  for (int id : kColourControls) {
    if (ui::Control* control = context.controls.FindControl(id)) control->Show(true);
  }
  const bool multiRoi = context.model.Model() == CameraModel::kQx4400;
  for (int id : kMultiRoiControls) {
    if (ui::Control* control = context.controls.FindControl(id)) control->Enable(multiRoi);
  }
  // The colour-bar test patterns and colour shading need an identified camera.
  if (ui::Control* list = context.controls.FindControl(kTestPatternList)) {
    const int selected = FeatureControls::ListValue(*list);
    FillList(*list, FindListDefinition(kTestPatternList)->items, known ? 7 : 4);
    FeatureControls::SelectListValue(*list, selected < 0 ? 0 : selected);
  }
  if (ui::Control* list = context.controls.FindControl(kShadingModeList)) {
    const int selected = list->Selection();
    FillList(*list, FindListDefinition(kShadingModeList)->items, known ? 2 : 1);
    list->SetSelection(selected >= 0 && selected < list->ItemCount() ? selected : 0);
  }
  for (int id : kLutPointIndexSpins) {
    if (ui::Control* spin = context.controls.FindControl(id)) spin->SetRange(0, 255);
  }
}

}  // namespace qx
