#include "ui/WidgetKind.h"

#include <gtest/gtest.h>

#include <string>

namespace qx::ui {
namespace {

struct KindCase {
  const char* className;
  std::uint32_t style;
  WidgetKind expected;
};

class WidgetKindClassification : public ::testing::TestWithParam<KindCase> {};

TEST_P(WidgetKindClassification, FollowsClassNameAndButtonStyle) {
  const KindCase& c = GetParam();
  EXPECT_EQ(ClassifyWidget(c.className, c.style), c.expected)
      << c.className << " style " << c.style;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WidgetKindClassification,
    ::testing::Values(
        KindCase{"Edit", 0, WidgetKind::EditBox}, KindCase{"EDIT", 0x50010080, WidgetKind::EditBox},
        KindCase{"msctls_updown32", 0, WidgetKind::SpinBox},
        KindCase{"MSCTLS_UPDOWN32", 0x36, WidgetKind::SpinBox},
        KindCase{"ComboBox", 3, WidgetKind::DropList},
        KindCase{"combobox", 0, WidgetKind::DropList},
        KindCase{"Button", 0, WidgetKind::PushButton},
        KindCase{"Button", 1, WidgetKind::PushButton}, KindCase{"button", 2, WidgetKind::CheckBox},
        KindCase{"Button", 3, WidgetKind::CheckBox}, KindCase{"Button", 4, WidgetKind::RadioButton},
        KindCase{"Button", 9, WidgetKind::RadioButton},
        KindCase{"Button", 5, WidgetKind::OtherButton},
        KindCase{"Button", 6, WidgetKind::OtherButton},
        KindCase{"Button", 7, WidgetKind::OtherButton},
        KindCase{"Button", 8, WidgetKind::OtherButton},
        KindCase{"Button", 11, WidgetKind::OtherButton},
        KindCase{"Button", 15, WidgetKind::OtherButton},
        // Only the low four bits are the button style.
        KindCase{"Button", 0x50010003, WidgetKind::CheckBox},
        KindCase{"Button", 0x00020009, WidgetKind::RadioButton},
        KindCase{"Button", 0x10, WidgetKind::PushButton},
        KindCase{"Static", 0, WidgetKind::NoWidget}, KindCase{"ListBox", 0, WidgetKind::NoWidget},
        KindCase{"SysTabControl32", 0, WidgetKind::NoWidget}, KindCase{"", 0, WidgetKind::NoWidget},
        KindCase{"Edit2", 0, WidgetKind::NoWidget}, KindCase{"Butto", 0, WidgetKind::NoWidget}));

TEST(WidgetKind, NoControlIsNoWidget) {
  EXPECT_EQ(ClassifyWidget(nullptr), WidgetKind::NoWidget);
}

}  // namespace
}  // namespace qx::ui
