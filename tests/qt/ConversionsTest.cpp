// Translations between the window system's values and Qt's.

#include <gtest/gtest.h>

#include <QColor>

#include "qt/Conversions.h"
#include "ui/Event.h"

namespace qx::test {
namespace {

struct KeyCase {
  int qtKey;
  int virtualKey;
};

class VirtualKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeyTest, QtKey_MapsToTheVirtualKeyCode) {
  EXPECT_EQ(qt::VirtualKeyOf(GetParam().qtKey), GetParam().virtualKey);
}

INSTANTIATE_TEST_SUITE_P(Keys, VirtualKeyTest,
                         ::testing::Values(KeyCase{Qt::Key_Return, ui::vk::kEnter},
                                           KeyCase{Qt::Key_Enter, ui::vk::kEnter},
                                           KeyCase{Qt::Key_Escape, ui::vk::kEscape},
                                           KeyCase{Qt::Key_Shift, ui::vk::kShift},
                                           KeyCase{Qt::Key_Control, ui::vk::kControl},
                                           KeyCase{Qt::Key_F1, ui::vk::kF1},
                                           KeyCase{Qt::Key_F12, ui::vk::kF12},
                                           KeyCase{Qt::Key_A, 'A'}, KeyCase{Qt::Key_Z, 'Z'},
                                           KeyCase{Qt::Key_0, '0'}, KeyCase{Qt::Key_Up, 38},
                                           KeyCase{Qt::Key_Down, 40}, KeyCase{Qt::Key_Tab, 9},
                                           KeyCase{Qt::Key_Delete, 46}, KeyCase{Qt::Key_F13, 0},
                                           KeyCase{Qt::Key_Alt, 0}, KeyCase{Qt::Key_VolumeUp, 0}));

struct FilterCase {
  const char* filter;
  QStringList expected;
};

class NameFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NameFilterTest, ToolFilter_BecomesQtNameFilters) {
  EXPECT_EQ(qt::NameFiltersOf(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, NameFilterTest,
    ::testing::Values(
        FilterCase{"Camera setting data (*.cam) | *.cam||", {"Camera setting data (*.cam)"}},
        FilterCase{"Gamma data (*.csv)|*.csv|All files (*.*)|*.*||",
                   {"Gamma data (*.csv)", "All files (*.*)"}},
        FilterCase{"Logs|*.log;*.txt||", {"Logs (*.log *.txt)"}},
        // Shown patterns that differ from the real ones would make Qt filter by the wrong ones.
        FilterCase{"Text (*.txt)|*.log||", {"Text (*.log)"}}, FilterCase{"", {}},
        FilterCase{"||", {}}, FilterCase{"Anything|", {"Anything (*)"}}));

TEST(InitialPathTest, FolderAndPattern_AreSplit) {
  const qt::InitialPath pattern = qt::SplitInitialPath("/home/u/data/*.cam");
  EXPECT_EQ(pattern.folder, "/home/u/data");
  EXPECT_EQ(pattern.pattern, "*.cam");
  EXPECT_TRUE(pattern.fileName.isEmpty());

  const qt::InitialPath file = qt::SplitInitialPath("/home/u/last.cam");
  EXPECT_EQ(file.fileName, "last.cam");
  EXPECT_TRUE(file.pattern.isEmpty());

  const qt::InitialPath bare = qt::SplitInitialPath("*.csv");
  EXPECT_TRUE(bare.folder.isEmpty());
  EXPECT_EQ(bare.pattern, "*.csv");

  EXPECT_EQ(qt::SplitInitialPath("/x.cam").folder, "/");
  EXPECT_TRUE(qt::SplitInitialPath("").folder.isEmpty());
}

TEST(LabelTextTest, Mnemonics_AreDroppedAndDoubledAmpersandsKept) {
  EXPECT_EQ(qt::LabelText("&Port"), "Port");
  EXPECT_EQ(qt::LabelText("R&&D"), "R&D");
  EXPECT_EQ(qt::LabelText("trailing&"), "trailing");
}

TEST(ImageTest, Bitmap_KeepsPixelsAndTransparency) {
  ui::Bitmap bitmap;
  bitmap.width = 2;
  bitmap.height = 1;
  bitmap.pixels = {ui::Color{10, 20, 30, 255}, ui::Color{0, 0, 0, 0}};
  const QImage image = qt::ImageOf(bitmap);
  ASSERT_EQ(image.size(), QSize(2, 1));
  EXPECT_EQ(QColor::fromRgba(image.pixel(0, 0)), QColor(10, 20, 30));
  EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
}

}  // namespace
}  // namespace qx::test
