#include "model/ParameterTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "comm/Command.h"
#include "comm/TrafficLog.h"
#include "support/FakeChannel.h"
#include "support/RecordingDesktop.h"

namespace qx {
namespace {

struct RecordingControls : ControlValueWriter {
  std::vector<std::pair<int, int>> shown;
  int SetControlValue(int controlId, int value) override {
    shown.emplace_back(controlId, value);
    return 1;
  }
};

class ParameterTableTest : public ::testing::Test {
 protected:
  test::RecordingDesktop desktop_;
  ParameterTable table_{desktop_};
};

TEST_F(ParameterTableTest, CompositionOfTheRows) {
  const auto& rows = table_.Rows();
  ASSERT_EQ(rows.size(), 328u);
  std::map<std::pair<ParameterClass, ControlKind>, int> composition;
  int withFileFlag = 0;
  for (const auto& row : rows) {
    ++composition[{row.parameterClass, row.kind}];
    withFileFlag += row.file;
    EXPECT_EQ(row.reserved, 0);
    EXPECT_NE(row.controlId, -1);
  }
  using C = ParameterClass;
  using K = ControlKind;
  EXPECT_EQ((composition[{C::User, K::Number}]), 111);
  EXPECT_EQ((composition[{C::User, K::List}]), 101);
  EXPECT_EQ((composition[{C::User, K::Check}]), 34);
  EXPECT_EQ((composition[{C::Factory, K::Number}]), 54);
  EXPECT_EQ((composition[{C::Factory, K::List}]), 5);
  EXPECT_EQ((composition[{C::Factory, K::Check}]), 1);
  EXPECT_EQ((composition[{C::Factory, K::Action}]), 1);
  EXPECT_EQ((composition[{C::User, K::Action}]), 1);
  EXPECT_EQ((composition[{C::None, K::Action}]), 17);
  EXPECT_EQ((composition[{C::None, K::Number}]), 3);
  EXPECT_EQ(withFileFlag, 186);
  EXPECT_EQ(rows[166].controlId, 2703);
  EXPECT_EQ(rows[166].previous, 4);
  EXPECT_EQ(rows.front().controlId, 1349);
  EXPECT_EQ(rows.back().controlId, 1382);
}

TEST_F(ParameterTableTest, ReadableCountsAreComputedFromTheRows) {
  EXPECT_EQ(table_.ReadableCount(), 309);
  EXPECT_EQ(table_.ReadableUserCount(), 246);
  EXPECT_FALSE(table_.IsReadable(97));  // the "Recalibrate Shading" button
  EXPECT_TRUE(table_.IsReadable(0));
  EXPECT_FALSE(table_.IsReadable(328));
  EXPECT_FALSE(table_.IsReadable(-1));
}

TEST_F(ParameterTableTest, LookupsReturnTheFirstMatchingRow) {
  EXPECT_EQ(table_.ToCtrlId(132), 2518);  // LUTR: 2518 and 2520 share it
  EXPECT_EQ(table_.ToCtrlId(0), 2806);
  EXPECT_EQ(table_.ToCmdId(2520), 132);
  EXPECT_EQ(table_.CtrlId2TblIndex(1382), 327);
  int min = 0;
  int max = 0;
  EXPECT_EQ(table_.GetLimits(1797, min, max), 1);
  EXPECT_EQ(min, -133);
  EXPECT_EQ(max, 255);
  EXPECT_TRUE(desktop_.boxes.empty());
}

TEST_F(ParameterTableTest, UnknownIdsShowTheirMessageAndReturnTheFailureValue) {
  EXPECT_EQ(table_.GetDataValue(5), -1);
  EXPECT_EQ(table_.SetDataValue(5, 1), 0);
  EXPECT_EQ(table_.GetPreviousValue(5), -1);
  EXPECT_EQ(table_.ToCmdId(5), -1);
  EXPECT_EQ(table_.ToCtrlId(999), -1);
  EXPECT_EQ(table_.CtrlId2TblIndex(5), -1);
  int min = 0;
  int max = 0;
  EXPECT_EQ(table_.SetLimits(5, 1, 2), 0);
  EXPECT_EQ(table_.GetLimits(5, min, max), 0);
  EXPECT_EQ(table_.GetReserved(5), -1);
  std::vector<std::string> texts;
  for (const auto& box : desktop_.boxes) {
    texts.push_back(box.text);
    EXPECT_EQ(box.icon, ui::MessageIcon::Exclamation);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Unexpected error occurred in GetDataValue().",
                       "Unexpected error occurred in SetDataValue().",
                       "Unexpected error occurred in GetDataValue().",
                       "Unexpected error occurred in ToCmdId().",
                       "Unexpected error occurred in ToCtrlId(): Command id is 999",
                       "Unexpected error occurred in CtrlId2TblIndex().",
                       "Unexpected error occurred in CtrlId2TblIndex().",
                       "Unexpected error occurred in CtrlId2TblIndex().",
                       "Unexpected error occurred in CtrlId2TblIndex().",
                   }));
  EXPECT_EQ(table_.FileFlagOf(5), 0);
  EXPECT_EQ(desktop_.boxes.size(), 9u);  // the file flag fails silently
}

TEST_F(ParameterTableTest, FactoryParameterTestNamesUnknownIdsInDecimalAndHex) {
  EXPECT_EQ(table_.IsFactoryParam(2825), 1);
  EXPECT_EQ(table_.IsFactoryParam(1349), 0);
  EXPECT_EQ(table_.IsFactoryParam(12), 0);
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text,
            "ERROR: IsFactoryParam(): Control id \"12: 0xc\" is not registered in database table");
}

TEST_F(ParameterTableTest, ValuesCommitAndLimitsChange) {
  EXPECT_EQ(table_.SetDataValue(1338, 5000), 1);
  EXPECT_EQ(table_.GetDataValue(1338), 5000);
  EXPECT_EQ(table_.GetPreviousValue(1338), 0);  // previous starts at 0
  table_.CommitAll();
  EXPECT_EQ(table_.GetPreviousValue(1338), 5000);
  EXPECT_EQ(table_.SetLimits(1338, 3, 99982), 1);
  int min = 0;
  int max = 0;
  table_.GetLimits(1338, min, max);
  EXPECT_EQ(min, 3);
  EXPECT_EQ(max, 99982);
}

TEST_F(ParameterTableTest, WriteChangedShowsOnlyRowsThatDifferFromTheCamera) {
  table_.CommitAll();
  table_.SetDataValue(1338, 42);
  table_.SetDataValue(2825, -5);
  RecordingControls controls;
  table_.WriteChangedToControls(controls);
  EXPECT_EQ(controls.shown, (std::vector<std::pair<int, int>>{{1338, 42}, {2825, -5}}));
  controls.shown.clear();
  table_.WriteAllToControls(controls);
  EXPECT_EQ(controls.shown.size(), 328u);
}

TEST_F(ParameterTableTest, FirstModelLimitsBlemishPositionsAndOtherModelsRestoreThem) {
  int min = 0;
  int max = 0;
  table_.ApplyModelLimits(0);
  for (int id : {1424, 1427, 1449}) {
    table_.GetLimits(id, min, max);
    EXPECT_EQ(max, 1455);
  }
  for (int id : {1438, 1441, 1460}) {
    table_.GetLimits(id, min, max);
    EXPECT_EQ(max, 1087);
  }
  table_.ApplyModelLimits(1);
  table_.GetLimits(1424, min, max);
  EXPECT_EQ(max, 2559);
  table_.GetLimits(1460, min, max);
  EXPECT_EQ(max, 2047);
}

class PushChangedValuesTest : public ParameterTableTest {
 protected:
  PushChangedValuesTest() {
    table_.CommitAll();
    channel_.camera = [this](const std::string& line) -> std::string {
      if (line.find('?') != std::string::npos) {
        const std::string name = line.substr(0, line.find('?'));
        return name + "=" + std::to_string(cameraValue_[name]) + "\r\n";
      }
      const std::string name = line.substr(0, line.find('='));
      if (failingSet_.count(name)) return "";  // no answer: the send fails
      cameraValue_[name] = std::stoi(line.substr(line.find('=') + 1)) + cameraAdjust_;
      return "COMPLETE\r\n";
    };
  }

  CommandTable commands_;
  test::FakeChannel channel_;
  test::CountingStatus status_;
  TrafficLog log_;
  Command command_{commands_, channel_, desktop_, status_, log_};
  RecordingControls controls_;
  std::map<std::string, int> cameraValue_;
  std::set<std::string> failingSet_;
  int cameraAdjust_ = 0;
};

TEST_F(PushChangedValuesTest, SendsEachChangedRowAndShowsTheCamerasAnswer) {
  cameraAdjust_ = 1;                // the camera stores something a little different
  table_.SetDataValue(1338, 5000);  // PE
  table_.SetDataValue(1055, 200);   // FGA
  table_.PushChangedValues(command_, controls_, 100);
  EXPECT_EQ(channel_.written,
            (std::vector<std::string>{"PE=5000\r\n", "PE?\r\n", "FGA=200\r\n", "FGA?\r\n"}));
  EXPECT_EQ(table_.GetDataValue(1338), 5001);
  EXPECT_EQ(table_.GetPreviousValue(1338), 5000);
  EXPECT_EQ(controls_.shown, (std::vector<std::pair<int, int>>{{1338, 5001}, {1055, 201}}));
}

// Three changed rows where the second send fails: the first is sent and read back, the second
// is marked as sent and nothing more happens, the third is not touched.
TEST_F(PushChangedValuesTest, StopsAtTheFirstFailedSend) {
  failingSet_ = {"PE"};
  table_.SetDataValue(1349, 2);     // TI, row 0
  table_.SetDataValue(1338, 5000);  // PE, row 58
  table_.SetDataValue(1382, 77);    // TD, row 327
  table_.PushChangedValues(command_, controls_, 40);
  EXPECT_EQ(channel_.written, (std::vector<std::string>{"TI=2\r\n", "TI?\r\n", "PE=5000\r\n"}));
  EXPECT_EQ(table_.GetPreviousValue(1349), 2);
  EXPECT_EQ(table_.GetPreviousValue(1338), 5000);
  EXPECT_EQ(table_.GetDataValue(1382), 77);
  EXPECT_EQ(table_.GetPreviousValue(1382), 0);
  EXPECT_EQ(controls_.shown, (std::vector<std::pair<int, int>>{{1349, 2}}));
  // The next push sends what was left.
  failingSet_.clear();
  table_.PushChangedValues(command_, controls_, 40);
  EXPECT_EQ(channel_.written.back(), "TD?\r\n");
}

}  // namespace
}  // namespace qx
