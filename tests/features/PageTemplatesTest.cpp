// The feature pages' templates against the parameter table, the feature lists and the push
// buttons the page binding acts on: a control missing from its page, a list whose items differ
// from the values the binding sends, or an id used twice would break the page silently.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "features/ListTables.h"
#include "model/ParameterTable.h"
#include "ui/EmbeddedResources.h"
#include "ui/HeadlessDesktop.h"
#include "ui/ResourceParser.h"
#include "ui/ResourceRegistry.h"
#include "ui/WidgetKind.h"

namespace qx {

// Names the row in failure messages instead of dumping its bytes.
[[maybe_unused]] static void PrintTo(const ParameterRow& row, std::ostream* os) {
  *os << "control " << row.controlId << " on page " << row.page;
}

namespace {

using ui::ControlTemplate;
using ui::ControlType;
using ui::DialogTemplate;
using ui::WidgetKind;

// Number fields shown without an up-down: the colour matrix and enhancer coefficients are
// clamped by their own rule, and two fields only display what the camera reports.
const std::set<int> kPlainNumberFields = {2631, 2633, 2635, 2637, 2640, 2643, 2646, 2649, 2652,
                                          2655, 2657, 2659, 2669, 2671, 2673, 2898, 2906};

// Up-downs that do not follow their edit field's id: named ones, and ones moved because the
// next id belongs to another control.
const std::map<int, int> kSpinIdExceptions = {
    {1359, 1579}, {1055, 1059}, {1789, 1796}, {2779, 2780}, {2918, 2919},
    {1369, 1372}, {1376, 1379}, {1786, 1790}, {1787, 1793}, {1759, 1761},
    {1423, 1426}, {1456, 1459}, {1460, 1463}, {1448, 1451}, {1452, 1454}};

int ExpectedSpinId(int editId) {
  auto it = kSpinIdExceptions.find(editId);
  return it == kSpinIdExceptions.end() ? editId + 1 : it->second;
}

// The counter rows declare lists for what are a reset button, a read button and a value field.
const std::set<int> kCounterButtons = {2811, 2814, 2816, 2819, 2821, 2824};
const std::set<int> kCounterValueFields = {2812, 2817, 2822};

const ui::ResourceRegistry& Registry() {
  static const ui::ResourceRegistry registry = ui::ResourceRegistry::FromEmbedded();
  return registry;
}

const ControlTemplate* FindIn(const DialogTemplate& dialog, int id) {
  auto it = std::find_if(dialog.controls.begin(), dialog.controls.end(),
                         [id](const ControlTemplate& c) { return c.id == id; });
  return it == dialog.controls.end() ? nullptr : &*it;
}

WidgetKind KindOf(const ControlTemplate& control) {
  return ui::ClassifyWidget(ui::ClassNameOf(control.type), control.style);
}

bool IsGroupBox(const ControlTemplate& control) {
  return KindOf(control) == WidgetKind::OtherButton;
}

// The caption of the group box that holds the control, empty outside any group.
std::string GroupCaptionOf(const DialogTemplate& dialog, const ControlTemplate& control) {
  if (control.groupIndex < 0) return {};
  return dialog.controls[static_cast<std::size_t>(control.groupIndex)].caption;
}

// The label in front of the control's row: the static text in column 0 of the same group and
// row.
std::string RowLabelOf(const DialogTemplate& dialog, const ControlTemplate& control) {
  for (const ControlTemplate& other : dialog.controls) {
    if (other.groupIndex == control.groupIndex && other.row == control.row && other.column == 0 &&
        other.type == ControlType::Static) {
      return other.caption;
    }
  }
  return {};
}

bool IsCounterControl(int id) {
  return kCounterButtons.count(id) != 0 || kCounterValueFields.count(id) != 0;
}

// The table rows whose control some page holds, narrowed to one kind when given.
std::vector<ParameterRow> RowsOnPages(std::optional<ControlKind> kind = std::nullopt) {
  ui::HeadlessDesktop desktop;
  ParameterTable table(desktop);
  std::vector<ParameterRow> rows;
  for (const ParameterRow& row : table.Rows()) {
    if (row.page == 0) continue;
    if (kind && (row.kind != *kind || IsCounterControl(row.controlId))) continue;
    rows.push_back(row);
  }
  return rows;
}

bool IsOwnResourceFile(const std::string& file) {
  return file.rfind("page-", 0) == 0 || file == "companions.qxr";
}

TEST(PageTemplates, ParseWithoutErrors) {
  for (const ui::ResourceError& error : Registry().Errors()) {
    EXPECT_FALSE(IsOwnResourceFile(error.file)) << error.ToString();
  }
}

TEST(PageTemplates, EveryPageIsAChildDialogWithItsTabCaption) {
  const std::map<int, std::string> captions = {{112, "User A"},   {113, "User B"}, {114, "User C"},
                                               {115, "User D"},   {123, "User E"}, {125, "User E"},
                                               {107, "Factory A"}};
  for (const auto& [id, caption] : captions) {
    const DialogTemplate* page = Registry().FindDialog(id);
    ASSERT_NE(page, nullptr) << "page " << id;
    EXPECT_TRUE(page->child) << "page " << id;
    EXPECT_EQ(page->caption, caption) << "page " << id;
  }
}

TEST(PageTemplates, CompanionDialogsExistWithTheirTitles) {
  const std::map<int, std::string> captions = {
      {102, "Communication"}, {117, "RS-232C TERMINAL"}, {104, "LUT Setting"}};
  for (const auto& [id, caption] : captions) {
    const DialogTemplate* dialog = Registry().FindDialog(id);
    ASSERT_NE(dialog, nullptr) << "dialog " << id;
    EXPECT_FALSE(dialog->child);
    EXPECT_EQ(dialog->caption, caption);
  }
  // The LUT editor's curve arithmetic works in the plot's own pixels.
  const ControlTemplate* plot = FindIn(*Registry().FindDialog(104), 1148);
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->type, ControlType::Plot);
  EXPECT_EQ(plot->rect, (ui::Rect{160, 20, 260, 260}));
}

TEST(PageTemplates, ControlIdsAreUniqueAcrossAllWindows) {
  std::map<int, std::string> owner;
  for (const ui::EmbeddedFile& file : ui::EmbeddedResourceFiles()) {
    const ui::ParsedResources parsed = ui::ParseResources(file.name, file.text);
    for (const DialogTemplate& dialog : parsed.dialogs) {
      const std::string where =
          std::string(file.name) + " dialog " +
          (dialog.id != 0 ? std::to_string(dialog.id) : "\"" + dialog.name + "\"");
      for (const ControlTemplate& control : dialog.controls) {
        if (control.id == -1) continue;
        auto [it, inserted] = owner.emplace(control.id, where);
        EXPECT_TRUE(inserted) << "control " << control.id << " in " << where << " and in "
                              << it->second;
      }
    }
  }
}

class PageRowTest : public ::testing::TestWithParam<ParameterRow> {
 protected:
  const DialogTemplate& Page() const {
    const DialogTemplate* page = Registry().FindDialog(GetParam().page);
    EXPECT_NE(page, nullptr) << "page " << GetParam().page;
    static const DialogTemplate kEmpty;
    return page != nullptr ? *page : kEmpty;
  }
};

TEST_P(PageRowTest, ControlOfTheRowIsOnItsPageWithTheRightKind) {
  const ParameterRow& row = GetParam();
  const ControlTemplate* control = FindIn(Page(), row.controlId);
  ASSERT_NE(control, nullptr) << "control " << row.controlId << " missing on page " << row.page;

  if (kCounterButtons.count(row.controlId) != 0) {
    EXPECT_EQ(KindOf(*control), WidgetKind::PushButton);
    return;
  }
  if (kCounterValueFields.count(row.controlId) != 0) {
    EXPECT_EQ(KindOf(*control), WidgetKind::EditBox);
    return;
  }
  switch (row.kind) {
    case ControlKind::Number:
      EXPECT_EQ(KindOf(*control), WidgetKind::EditBox);
      // Offline, the page shows the table's starting values.
      EXPECT_EQ(control->caption, std::to_string(row.current));
      break;
    case ControlKind::List:
      EXPECT_EQ(KindOf(*control), WidgetKind::DropList);
      break;
    case ControlKind::Check:
      EXPECT_EQ(KindOf(*control), WidgetKind::CheckBox);
      // An operator click must toggle the box for the binding to read a new value.
      EXPECT_EQ(control->style & ui::style::kButtonTypeMask, ui::style::kAutoCheckBox);
      EXPECT_EQ(control->check, row.current);
      break;
    case ControlKind::Action:
      EXPECT_EQ(KindOf(*control), WidgetKind::PushButton);
      break;
  }
}

using NumberRowTest = PageRowTest;

TEST_P(NumberRowTest, FieldHasItsUpDownWithTheRowLimits) {
  const ParameterRow& row = GetParam();
  const DialogTemplate& page = Page();
  const bool plain = kPlainNumberFields.count(row.controlId) != 0;
  std::vector<const ControlTemplate*> spins;
  for (const ControlTemplate& control : page.controls) {
    if (control.type == ControlType::UpDown && control.buddy == row.controlId) {
      spins.push_back(&control);
    }
  }
  if (plain) {
    EXPECT_TRUE(spins.empty()) << "field " << row.controlId << " takes no up-down";
    return;
  }
  ASSERT_EQ(spins.size(), 1u) << "field " << row.controlId;
  const ControlTemplate& spin = *spins.front();
  EXPECT_EQ(spin.id, ExpectedSpinId(row.controlId));
  EXPECT_EQ(spin.rangeMin, row.min);
  EXPECT_EQ(spin.rangeMax, row.max);
  EXPECT_GE(spin.position, row.min);
  EXPECT_LE(spin.position, row.max);
  // The spin sits right of its field in the same row, so the two read as one control.
  const ControlTemplate* edit = FindIn(page, row.controlId);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(spin.groupIndex, edit->groupIndex);
  EXPECT_EQ(spin.row, edit->row);
  EXPECT_EQ(spin.column, edit->column + 1);
}

using ListRowTest = PageRowTest;

TEST_P(ListRowTest, ItemsAreTheFeatureListsAndTheSelectionIsTheTableValue) {
  const ParameterRow& row = GetParam();
  const ControlTemplate* control = FindIn(Page(), row.controlId);
  ASSERT_NE(control, nullptr);
  const ListDefinition* definition = FindListDefinition(row.controlId);
  if (definition == nullptr) {
    // Lists whose items the camera never names; they still offer a choice.
    EXPECT_FALSE(control->items.empty()) << "list " << row.controlId;
    return;
  }
  ASSERT_EQ(control->items.size(), definition->items.size()) << "list " << row.controlId;
  for (std::size_t i = 0; i < control->items.size(); ++i) {
    const ListItemValue& expected = definition->items[i];
    EXPECT_EQ(control->items[i].text, expected.text) << "list " << row.controlId << " item " << i;
    // Item data is the camera value; 0 stands for "the position is the value".
    const bool dataMatches = control->items[i].data == expected.value ||
                             (control->items[i].data == 0 && expected.value == static_cast<int>(i));
    EXPECT_TRUE(dataMatches) << "list " << row.controlId << " item " << i << " carries "
                             << control->items[i].data << ", camera value " << expected.value;
  }
  ASSERT_GE(control->selection, 0) << "list " << row.controlId << " starts without a selection";
  const ListItemValue& selected = definition->items[static_cast<std::size_t>(control->selection)];
  const bool anyItemHasValue =
      std::any_of(definition->items.begin(), definition->items.end(),
                  [&](const ListItemValue& item) { return item.value == row.current; });
  if (anyItemHasValue) {
    EXPECT_EQ(selected.value, row.current) << "list " << row.controlId;
  } else {
    EXPECT_EQ(control->selection, row.current) << "list " << row.controlId;
  }
}

std::string RowName(const ::testing::TestParamInfo<ParameterRow>& info) {
  return "Control" + std::to_string(info.param.controlId);
}

INSTANTIATE_TEST_SUITE_P(TableRows, PageRowTest, ::testing::ValuesIn(RowsOnPages()), RowName);
INSTANTIATE_TEST_SUITE_P(NumberRows, NumberRowTest,
                         ::testing::ValuesIn(RowsOnPages(ControlKind::Number)), RowName);
INSTANTIATE_TEST_SUITE_P(ListRows, ListRowTest, ::testing::ValuesIn(RowsOnPages(ControlKind::List)),
                         RowName);

struct ButtonOnPage {
  int id;
  int page;
  const char* caption;
};

class PageButtonTest : public ::testing::TestWithParam<ButtonOnPage> {};

TEST_P(PageButtonTest, ButtonIsOnItsPageWithItsCaption) {
  const ButtonOnPage& expected = GetParam();
  const DialogTemplate* page = Registry().FindDialog(expected.page);
  ASSERT_NE(page, nullptr);
  const ControlTemplate* button = FindIn(*page, expected.id);
  ASSERT_NE(button, nullptr) << "button " << expected.id << " missing on page " << expected.page;
  EXPECT_EQ(KindOf(*button), WidgetKind::PushButton);
  EXPECT_EQ(button->caption, expected.caption);
}

// Every push button the page binding acts on.
const ButtonOnPage kButtons[] = {
    {1432, 112, "Get"},
    {1882, 112, "Soft Trigger"},
    {1405, 113, "Recalibrate Shading"},
    {1573, 113, "Open LUT Table"},
    {1871, 113, "Status Read"},
    {2522, 113, "Read"},
    {2528, 113, "Read"},
    {2534, 113, "Read"},
    {2523, 113, "Write"},
    {2529, 113, "Write"},
    {2535, 113, "Write"},
    {2811, 114, "Reset"},
    {2816, 114, "Reset"},
    {2821, 114, "Reset"},
    {2814, 114, "Read"},
    {2819, 114, "Read"},
    {2824, 114, "Read"},
    {2569, 115, "Read Index"},
    {2571, 115, "Reset"},
    {2806, 115, "Write"},
    {2872, 115, "Sensor Multi ROI Enable"},
    {1430, 125, "Write"},
    {1431, 125, "Write"},
    {1433, 125, "Write"},
    {1437, 125, "Write"},
    {1453, 125, "Write"},
    {1464, 125, "Write"},
    {1512, 125, "Read"},
    {1513, 125, "Read"},
    {1515, 125, "Read"},
    {1517, 125, "Read"},
    {1519, 125, "Read"},
    {1521, 125, "Read"},
    {2581, 125, "Read"},
    {2585, 125, "Read"},
    {2589, 125, "Read"},
    {2882, 125, "Clear"},
    {2883, 125, "Clear"},
    {2884, 125, "Clear"},
    {1409, 125, "ReCalibrate White"},
    {1413, 125, "BlemishStore"},
    {1520, 107, "Write"},
    {1523, 107, "Write"},
    {2561, 107, "Write"},
    {2567, 107, "Write"},
    {1522, 107, "Read"},
    {1524, 107, "Read"},
    {2562, 107, "Read"},
    {2568, 107, "Read"},
    {2584, 107, "Read"},
    {2588, 107, "Read"},
    {2605, 107, "Read"},
    {2606, 107, "Write"},
    {1650, 107, "ReCalibrate"},
    {2553, 107, "ReCalibrate"},
    {1012, 107, "Terminal"},
    {1014, 107, "Camera Reset"},
    {1016, 107, "Set"},
    {1024, 107, "Store All"},
};

INSTANTIATE_TEST_SUITE_P(BoundButtons, PageButtonTest, ::testing::ValuesIn(kButtons),
                         [](const ::testing::TestParamInfo<ButtonOnPage>& info) {
                           return "Button" + std::to_string(info.param.id);
                         });

struct ShownField {
  int id;
  int page;
  WidgetKind kind;
  const char* caption;  // null: any
};

class ShownFieldTest : public ::testing::TestWithParam<ShownField> {};

TEST_P(ShownFieldTest, FieldOrLabelIsOnItsPage) {
  const ShownField& expected = GetParam();
  const DialogTemplate* page = Registry().FindDialog(expected.page);
  ASSERT_NE(page, nullptr);
  const ControlTemplate* control = FindIn(*page, expected.id);
  ASSERT_NE(control, nullptr) << "control " << expected.id << " missing on page " << expected.page;
  if (expected.kind == WidgetKind::NoWidget) {
    EXPECT_EQ(control->type, ControlType::Static);
  } else {
    EXPECT_EQ(KindOf(*control), expected.kind);
  }
  if (expected.caption != nullptr) {
    EXPECT_EQ(control->caption, expected.caption);
  }
}

// Fields the command handlers write, labels the enable rules switch, and the lists filled at
// run time. NoWidget stands for a static text.
const ShownField kShownFields[] = {
    {1134, 112, WidgetKind::EditBox, nullptr},  // temperature
    {2904, 112, WidgetKind::EditBox, nullptr},  // white-balance result
    {1020, 112, WidgetKind::NoWidget, "Gain Auto"},
    {1803, 112, WidgetKind::NoWidget, nullptr},
    {1843, 112, WidgetKind::NoWidget, nullptr},
    {1873, 113, WidgetKind::EditBox, nullptr},  // ALC status
    {1875, 113, WidgetKind::EditBox, nullptr},  // shading recalibration result
    {1848, 113, WidgetKind::NoWidget, nullptr},
    {2519, 113, WidgetKind::SpinBox, nullptr},  // LUT point index spins
    {2525, 113, WidgetKind::SpinBox, nullptr},
    {2531, 113, WidgetKind::SpinBox, nullptr},
    {2570, 115, WidgetKind::EditBox, nullptr},  // sequencer index
    {2903, 115, WidgetKind::EditBox, nullptr},  // mode text
    {2886, 115, WidgetKind::NoWidget, nullptr},
    {2887, 115, WidgetKind::NoWidget, nullptr},
    {2888, 115, WidgetKind::NoWidget, nullptr},
    {2889, 115, WidgetKind::NoWidget, nullptr},
    {2890, 115, WidgetKind::NoWidget, nullptr},
    {2891, 115, WidgetKind::NoWidget, nullptr},
    {2892, 115, WidgetKind::NoWidget, nullptr},
    {2893, 115, WidgetKind::NoWidget, nullptr},
    {2894, 115, WidgetKind::NoWidget, nullptr},
    {2583, 125, WidgetKind::EditBox, nullptr},  // blemish counts
    {2587, 125, WidgetKind::EditBox, nullptr},
    {2592, 125, WidgetKind::EditBox, nullptr},
    {2586, 107, WidgetKind::EditBox, nullptr},  // factory blemish counts
    {2590, 107, WidgetKind::EditBox, nullptr},
    {2602, 107, WidgetKind::EditBox, nullptr},  // XML version digits
    {2603, 107, WidgetKind::EditBox, nullptr},
    {2604, 107, WidgetKind::EditBox, nullptr},
    {1855, 107, WidgetKind::DropList, nullptr},  // camera model
};

INSTANTIATE_TEST_SUITE_P(WrittenByHandlers, ShownFieldTest, ::testing::ValuesIn(kShownFields),
                         [](const ::testing::TestParamInfo<ShownField>& info) {
                           return "Control" + std::to_string(info.param.id);
                         });

TEST(PageTemplates, CameraModelListStartsEmptyForTheReloadToFill) {
  const ControlTemplate* list = FindIn(*Registry().FindDialog(107), 1855);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->items.empty());
}

TEST(PageTemplates, BitDepthListOffersTenAndTwelve) {
  const ControlTemplate* list = FindIn(*Registry().FindDialog(112), 2870);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->items.size(), 2u);
  EXPECT_EQ(list->items[0].text, "10");
  EXPECT_EQ(list->items[1].text, "12");
}

TEST(PageTemplates, CameraBaudRateSitsInTheSerialPortGroups) {
  const DialogTemplate& page = *Registry().FindDialog(107);
  const ControlTemplate* highest = FindIn(page, 2898);
  const ControlTemplate* selector = FindIn(page, 1422);
  ASSERT_NE(highest, nullptr);
  ASSERT_NE(selector, nullptr);
  EXPECT_EQ(GroupCaptionOf(page, *highest), "SupportedBaudRate");
  const ControlTemplate& supported = page.controls[static_cast<std::size_t>(highest->groupIndex)];
  EXPECT_EQ(GroupCaptionOf(page, supported), "DeviceSerialPort");
  EXPECT_EQ(GroupCaptionOf(page, *selector), "DeviceSerialPort");
  EXPECT_EQ(RowLabelOf(page, *selector), "Baud Rate");
}

TEST(PageTemplates, FactoryIdentityControlsAreInTheirNamedGroups) {
  const DialogTemplate& page = *Registry().FindDialog(107);
  for (int id : {1855, 1016}) {
    ASSERT_NE(FindIn(page, id), nullptr) << id;
    EXPECT_EQ(GroupCaptionOf(page, *FindIn(page, id)), "Camera Model") << id;
  }
  for (int id : {2602, 2603, 2604, 2605, 2606}) {
    ASSERT_NE(FindIn(page, id), nullptr) << id;
    EXPECT_EQ(GroupCaptionOf(page, *FindIn(page, id)), "XML Version") << id;
  }
}

// The measuring areas are named by band (low to high) and column (right to left): ALCLR is the
// low band's right column, ALCHL the high band's left column.
TEST(PageTemplates, AreaCheckBoxesFormAGridOfBandsByColumns) {
  const DialogTemplate& page = *Registry().FindDialog(113);
  const char* bands[] = {"Low", "Mid-Low", "Mid-High", "High"};
  for (int first : {1943, 1959}) {
    std::optional<int> group;
    std::set<int> rows;
    for (int band = 0; band < 4; ++band) {
      for (int fromRight = 0; fromRight < 4; ++fromRight) {
        const int id = first + 4 * band + fromRight;
        const ControlTemplate* box = FindIn(page, id);
        ASSERT_NE(box, nullptr) << id;
        if (!group) group = box->groupIndex;
        EXPECT_EQ(box->groupIndex, *group) << id;
        EXPECT_EQ(RowLabelOf(page, *box), bands[band]) << id;
        EXPECT_EQ(box->column, 4 - fromRight) << id;  // left column first
        rows.insert(box->row);
      }
    }
    EXPECT_EQ(rows.size(), 4u);
    const ControlTemplate* selectAll = FindIn(page, first == 1943 ? 2540 : 2543);
    ASSERT_NE(selectAll, nullptr);
    EXPECT_EQ(selectAll->groupIndex, *group);
    EXPECT_EQ(selectAll->caption, "Select all");
  }
}

class PageStructureTest : public ::testing::TestWithParam<int> {};

// An operator finds a setting by its feature group and reads what it is from the label in
// front of its row.
TEST_P(PageStructureTest, EveryFieldAndListSitsInACaptionedGroupBehindALabel) {
  const DialogTemplate* page = Registry().FindDialog(GetParam());
  ASSERT_NE(page, nullptr);
  for (const ControlTemplate& control : page->controls) {
    const WidgetKind kind = KindOf(control);
    if (kind != WidgetKind::EditBox && kind != WidgetKind::DropList) continue;
    EXPECT_FALSE(GroupCaptionOf(*page, control).empty())
        << "control " << control.id << " outside a captioned group";
    EXPECT_FALSE(RowLabelOf(*page, control).empty()) << "control " << control.id << " unlabelled";
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageStructureTest,
                         ::testing::Values(112, 113, 114, 115, 123, 125, 107),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Page" + std::to_string(info.param);
                         });

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

bool Inside(const ui::Rect& inner, const ui::Rect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

class WindowLayoutTest : public ::testing::TestWithParam<int> {};

TEST_P(WindowLayoutTest, ControlsNeitherOverlapNorLeaveTheirGroup) {
  const DialogTemplate* page = Registry().FindDialog(GetParam());
  ASSERT_NE(page, nullptr);
  const auto& controls = page->controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    ASSERT_TRUE(controls[i].rect.has_value()) << "control " << i << " has no place";
    const ui::Rect& r = *controls[i].rect;
    EXPECT_TRUE(Inside(r, ui::Rect{0, 0, page->rect.width, page->rect.height}))
        << "control " << controls[i].id << " (\"" << controls[i].caption << "\") leaves the page";
    if (controls[i].groupIndex >= 0) {
      const ControlTemplate& box = controls[static_cast<std::size_t>(controls[i].groupIndex)];
      EXPECT_TRUE(Inside(r, *box.rect))
          << "control " << controls[i].id << " leaves group \"" << box.caption << "\"";
    }
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      // A group box encloses its own controls; it must not overlap anything else.
      const bool nested = (IsGroupBox(controls[i]) && Inside(*controls[j].rect, r)) ||
                          (IsGroupBox(controls[j]) && Inside(r, *controls[j].rect));
      if (nested) continue;
      EXPECT_FALSE(Overlap(r, *controls[j].rect))
          << "controls " << controls[i].id << " (\"" << controls[i].caption << "\") and "
          << controls[j].id << " (\"" << controls[j].caption << "\") overlap";
    }
  }
}

constexpr int kLaidOutWindows[] = {112, 113, 114, 115, 123, 125, 107, 104, 117};

INSTANTIATE_TEST_SUITE_P(Windows, WindowLayoutTest, ::testing::ValuesIn(kLaidOutWindows),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Dialog" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace qx
