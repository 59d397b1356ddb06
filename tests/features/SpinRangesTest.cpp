#include "features/SpinRanges.h"

#include "FeatureRulesTestFixture.h"

namespace qx {
namespace {

using SpinRangesTest = test::FeatureRulesTest;

TEST_F(SpinRangesTest, EditsAreLinkedToTheirSpins) {
  EXPECT_EQ(C(1359).UserData(), 1579);
  EXPECT_EQ(C(1338).UserData(), 1339);
  EXPECT_EQ(C(1406).UserData(), 0);
}

TEST_F(SpinRangesTest, SecondModelTakesTheLargerSensorAndBinningLowersTheWidthMinimum) {
  model_.Identify("QX-8800M-RLNK");
  table_.SetDataValue(1406, 1);
  SetSpinRanges(context_);
  EXPECT_EQ(C(1579).RangeMax(), 1544);
  EXPECT_EQ(C(1579).RangeMin(), 2);
  EXPECT_EQ(C(2788).RangeMax(), 1544);
  EXPECT_EQ(C(2516).RangeMin(), 96);
  EXPECT_EQ(C(2516).RangeMax(), 2064);
  EXPECT_EQ(C(2786).RangeMax(), 2064);
  table_.SetDataValue(1406, 2);
  SetSpinRanges(context_);
  EXPECT_EQ(C(2516).RangeMin(), 48);
  EXPECT_EQ(C(2516).RangeMax(), 2064);
}

TEST_F(SpinRangesTest, FirstModelTakesTheSmallerSensor) {
  model_.Identify("QX-4400M-RLNK");
  SetSpinRanges(context_);
  EXPECT_EQ(C(1579).RangeMax(), 1088);
  EXPECT_EQ(C(2516).RangeMax(), 1456);
  EXPECT_EQ(C(2788).RangeMax(), 1088);
}

TEST_F(SpinRangesTest, RowLimitsApplyAndOwnRangeFieldsAreLeftAlone) {
  table_.SetLimits(1338, 3, 99982);
  SetSpinRanges(context_);
  EXPECT_EQ(C(1339).RangeMin(), 3);
  EXPECT_EQ(C(1339).RangeMax(), 99982);
  EXPECT_EQ(C(1358).RangeMax(), 1214);  // the row's own maximum
  EXPECT_EQ(C(2632).RangeMin(), -20);   // colour matrix keeps its range
  EXPECT_EQ(C(2632).RangeMax(), 20);
}

TEST_F(SpinRangesTest, SequencerGainAndExposureFollowGainModeAndBinning) {
  table_.SetDataValue(2542, 0);
  table_.SetDataValue(2797, 0);
  table_.SetDataValue(2798, 0);
  SetSpinRanges(context_);
  EXPECT_EQ(C(2803).RangeMin(), 47);
  EXPECT_EQ(C(2803).RangeMax(), 400);
  EXPECT_EQ(C(2796).RangeMin(), 1);
  table_.SetDataValue(2542, 1);
  table_.SetDataValue(2798, 1);
  SetSpinRanges(context_);
  EXPECT_EQ(C(2803).RangeMin(), 100);
  EXPECT_EQ(C(2803).RangeMax(), 6400);
  EXPECT_EQ(C(2796).RangeMin(), 3);
  EXPECT_EQ(C(2796).RangeMax(), 8000000);
}

TEST_F(SpinRangesTest, SequencerWalkTakesTheListSelections) {
  model_.Identify("QX-8800M-RLNK");
  C(2797).SetSelection(1);
  C(2798).SetSelection(0);
  C(2542).SetSelection(1);
  SetSequencerSpinRanges(context_);
  EXPECT_EQ(C(2786).RangeMin(), 48);
  EXPECT_EQ(C(2786).RangeMax(), 1032);
  EXPECT_EQ(C(2788).RangeMin(), 2);
  EXPECT_EQ(C(2788).RangeMax(), 1544);
  EXPECT_EQ(C(2796).RangeMin(), 3);
  EXPECT_EQ(C(2803).RangeMin(), 100);
  EXPECT_EQ(C(1579).RangeMax(), 1216);  // the image height keeps its table limits
}

}  // namespace
}  // namespace qx
