#include "features/ListSetup.h"

#include "FeatureRulesTestFixture.h"

namespace qx {
namespace {

using ListSetupTest = test::FeatureRulesTest;

std::vector<std::string> Texts(const ui::Control& list) {
  std::vector<std::string> texts;
  for (const auto& item : list.Items()) texts.push_back(item.text);
  return texts;
}

TEST_F(ListSetupTest, ListsGetTheirValuesAndArePositionedFromTheTable) {
  table_.SetDataValue(1349, 10);  // trigger source PulseGenerator0
  table_.SetDataValue(1406, 2);   // binning x2, positioned by value minus one
  table_.SetDataValue(1408, 1);
  C(2779).SetText("3");
  camera_["SQHB3"] = "2";
  camera_["SQVB3"] = "1";
  SetUpListValues(context_);
  EXPECT_EQ(C(1349).ItemData(3), 10);
  EXPECT_EQ(C(1349).Selection(), 3);
  EXPECT_EQ(C(1406).Selection(), 1);
  EXPECT_EQ(C(1408).Selection(), 0);
  EXPECT_EQ(C(2575).ItemData(8), 100);
  EXPECT_EQ(C(2797).Selection(), 1);
  EXPECT_EQ(C(2798).Selection(), 0);
  EXPECT_EQ(table_.GetDataValue(2798), 0);  // the table follows the camera's entry
  EXPECT_EQ(table_.GetPreviousValue(2798), 0);
  EXPECT_EQ(Texts(C(2797)), (std::vector<std::string>{"Off", "x2"}));
  EXPECT_TRUE(C(2797).IsEnabled());
}

TEST_F(ListSetupTest, SequencerBinningQueriesTheShownEntryAndKeepsNoSelectionWithoutAnswer) {
  C(2779).SetText("3");
  camera_["SQHB3"] = "2";
  SetUpListValues(context_);
  EXPECT_NE(std::find(queried_.begin(), queried_.end(), "SQHB3"), queried_.end());
  EXPECT_NE(std::find(queried_.begin(), queried_.end(), "SQVB3"), queried_.end());
  EXPECT_EQ(C(2798).Selection(), -1);  // the SQVB3 query failed
}

TEST_F(ListSetupTest, MediumConfigurationOffersThreePixelFormats) {
  fields_.clConfiguration = 1;
  fields_.bitAllocation = 5;
  fields_.sensClkFreq = 1;
  RefillCameraLinkLists(context_);
  EXPECT_EQ(Texts(C(1354)), (std::vector<std::string>{"RGB8", "RGB10", "RGB12"}));
  EXPECT_EQ(C(1354).Selection(), 2);
  EXPECT_EQ(C(1407).ItemCount(), 4);
  EXPECT_EQ(C(1407).Selection(), 1);
  EXPECT_EQ(C(2573).Selection(), 1);
  fields_.clConfiguration = 2;
  fields_.bitAllocation = 9;  // outside 3..5 counts as RGB8
  RefillCameraLinkLists(context_);
  EXPECT_EQ(Texts(C(1354)), (std::vector<std::string>{"RGB8"}));
  EXPECT_EQ(C(1354).Selection(), 0);
}

TEST_F(ListSetupTest, UnidentifiedCameraLosesColourBarsAndColourShading) {
  ApplyModelDependentSetup(context_);
  EXPECT_EQ(C(1386).ItemCount(), 4);
  EXPECT_EQ(Texts(C(1868)), (std::vector<std::string>{"Flat Shading"}));
  EXPECT_FALSE(C(2712).IsEnabled());
  EXPECT_EQ(C(2519).RangeMax(), 255);
  model_.Identify("QX-4400M-RLNK");
  ApplyModelDependentSetup(context_);
  EXPECT_EQ(C(1386).ItemCount(), 7);
  EXPECT_EQ(C(1868).ItemCount(), 2);
  EXPECT_TRUE(C(2712).IsEnabled());
  EXPECT_TRUE(C(2713).IsEnabled());
  EXPECT_TRUE(C(2872).IsEnabled());
  EXPECT_TRUE(C(2886).IsEnabled());
}

TEST_F(ListSetupTest, SecondModelDisablesMultiRoiAndSelectsItsModel) {
  C(1855).AddItem("QX-4400M-RLNK");
  C(1855).AddItem("QX-8800M-RLNK");
  model_.Identify("QX-8800M-RLNK");
  ApplyModelDependentSetup(context_);
  EXPECT_EQ(C(1855).Selection(), 1);
  EXPECT_FALSE(C(2712).IsEnabled());
  EXPECT_FALSE(C(2872).IsEnabled());
}

}  // namespace
}  // namespace qx
