#include "features/Reload.h"

#include "FeatureRulesTestFixture.h"

namespace qx {
namespace {

struct RecordingHost : ReloadHost {
  int reopenResult = 1;
  std::vector<std::string> calls;
  std::vector<int> progress;
  std::string progressText;
  int ReopenChannel() override {
    calls.push_back("reopen");
    return reopenResult;
  }
  void EnableToolWindows(bool enable) override { calls.push_back(enable ? "enable" : "disable"); }
  void OpenProgress(const std::string& text) override {
    progressText = text;
    calls.push_back("progress-open");
  }
  void SetProgress(int percent) override { progress.push_back(percent); }
  void CloseProgress() override { calls.push_back("progress-close"); }
  void ProcessPendingMessages() override {}
  void ActivateMainWindow() override { calls.push_back("activate"); }
  void UpdateModeText() override { calls.push_back("mode-text"); }
  void LoadSequencerEntry(int entry) override {
    calls.push_back("sequencer " + std::to_string(entry));
  }
};

class ReloadTest : public test::FeatureRulesTest {
 protected:
  ReloadTest() {
    // A camera that knows every mnemonic answers 7; a few answer something telling.
    channel_.camera = [this](const std::string& line) {
      const auto mark = line.find_first_of("?=");
      const std::string name = line.substr(0, mark);
      if (line[mark] == '=') return std::string("COMPLETE\r\n");
      queried_.push_back(name);
      if (silent_) return std::string();
      auto it = camera_.find(name);
      return name + "=" + (it == camera_.end() ? std::string("7") : it->second) + "\r\n";
    };
    camera_["MD"] = "QX-4400M-RLNK";
  }
  RecordingHost host_;
  CameraReload reload_{context_, host_};
  bool silent_ = false;
};

TEST_F(ReloadTest, UnopenableChannelWarnsAndStaysOffline) {
  host_.reopenResult = 0;
  EXPECT_EQ(reload_.OpenAndIdentify(), 0);
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "Failed to initialize!");
  EXPECT_TRUE(queried_.empty());
}

TEST_F(ReloadTest, IdentifiesBothModelsAndWarnsAboutAnyOther) {
  EXPECT_EQ(reload_.OpenAndIdentify(), 1);
  EXPECT_EQ(model_.Model(), CameraModel::kQx4400);
  camera_["MD"] = "QX-8800M-RLNK";
  EXPECT_EQ(reload_.IdentifyModel(), 1);
  EXPECT_EQ(model_.Model(), CameraModel::kQx8800);
  EXPECT_TRUE(desktop_.boxes.empty());
  camera_["MD"] = "ABC";
  EXPECT_EQ(reload_.IdentifyModel(), 1);
  EXPECT_EQ(model_.Model(), CameraModel::kNotIdentified);
  EXPECT_EQ(model_.Name(), "ABC");
  ASSERT_EQ(desktop_.boxes.size(), 1u);
  EXPECT_EQ(desktop_.boxes[0].text, "Unsupported model: \"ABC\"");
}

TEST_F(ReloadTest, FailedModelQueryKeepsThePreviousModel) {
  reload_.IdentifyModel();
  silent_ = true;
  EXPECT_EQ(reload_.IdentifyModel(), 0);
  EXPECT_EQ(model_.Model(), CameraModel::kQx4400);
}

TEST_F(ReloadTest, ReadSetCountsInNormalAndFactoryMode) {
  model_.Identify("QX-4400M-RLNK");
  int normal = 0;
  int factory = 0;
  for (int i = 0; i < 328; ++i) normal += reload_.IsReadInBulk(i) ? 1 : 0;
  mode_.Set(ControlMode::kFactory);
  for (int i = 0; i < 328; ++i) factory += reload_.IsReadInBulk(i) ? 1 : 0;
  EXPECT_EQ(normal, 227 - 22);  // the 22 factory rows of the read set are skipped
  EXPECT_EQ(factory, 227);
  EXPECT_EQ(reload_.ProgressTotal(), 309);
  mode_.Set(ControlMode::kNormal);
  EXPECT_EQ(reload_.ProgressTotal(), 246);
  model_.Identify("QX-8800M-RLNK");
  int second = 0;
  for (int i = 0; i < 328; ++i) second += reload_.IsReadInBulk(i) ? 1 : 0;
  EXPECT_EQ(second, normal - 13);  // no multi-ROI rows on the second model
}

TEST_F(ReloadTest, ReadAllQueriesTheReadSetInTableOrderWithPercentages) {
  model_.Identify("QX-4400M-RLNK");
  camera_["GMA"] = "100";
  camera_["FCBDRT"] = "128";
  camera_["CLCFG"] = "2";
  camera_["BA"] = "4";
  camera_["CLCF"] = "0";
  EXPECT_EQ(reload_.ReadAll(), 1);
  std::vector<std::string> expected;
  for (int i = 0; i < 328; ++i) {
    if (reload_.IsReadInBulk(i)) {
      const std::string& m = commands_.Mnemonic(table_.Rows()[static_cast<size_t>(i)].commandId);
      if (!m.empty()) expected.push_back(m);
    }
  }
  EXPECT_EQ(queried_, expected);
  EXPECT_EQ(host_.progressText, "Now, reading camera settings.");
  ASSERT_FALSE(host_.progress.empty());
  EXPECT_EQ(host_.progress.front(), 100 / 246);
  EXPECT_LT(host_.progress.back(), 100);  // the bar reaches 100 only when it closes
  EXPECT_EQ(host_.calls,
            (std::vector<std::string>{"progress-open", "progress-close", "activate", "mode-text"}));
  EXPECT_EQ(table_.GetDataValue(1338), 7);
  EXPECT_EQ(table_.GetDataValue(2825), 0);  // factory row, factory mode off
  EXPECT_EQ(C(2575).Selection(), 8);
  EXPECT_EQ(fields_.clConfiguration, 2);
  EXPECT_EQ(fields_.bitAllocation, 4);
  EXPECT_EQ(fields_.sensClkFreq, 0);
}

TEST_F(ReloadTest, ReloadRunsItsStepsInOrderAndLeavesTheTableCommitted) {
  reload_.Reload();
  EXPECT_EQ(queried_.front(), "MD");
  EXPECT_EQ(host_.calls.front(), "disable");
  EXPECT_NE(std::find(host_.calls.begin(), host_.calls.end(), "enable"), host_.calls.end());
  EXPECT_EQ(C(1855).ItemCount(), 2);
  for (const auto& row : table_.Rows()) EXPECT_EQ(row.current, row.previous);
  int min = 0;
  int max = 0;
  table_.GetLimits(1424, min, max);
  EXPECT_EQ(max, 1455);
  EXPECT_EQ(C(1579).RangeMax(), 1088);
}

TEST_F(ReloadTest, UnsupportedModelLeavesTheModelListEmptyAndGoesOn) {
  camera_["MD"] = "ABC";
  reload_.Reload();
  EXPECT_EQ(C(1855).ItemCount(), 0);
  EXPECT_GT(queried_.size(), 100u);
  EXPECT_EQ(C(1579).RangeMax(), 1544);  // the second model's geometry applies
}

TEST(ReloadTables, GammaAndBaudRateItems) {
  EXPECT_EQ(GammaListIndexOf(45), 0);
  EXPECT_EQ(GammaListIndexOf(100), 8);
  EXPECT_EQ(GammaListIndexOf(50), 1);
  EXPECT_EQ(GammaListIndexOf(51), 0);
  EXPECT_EQ(BaudRateListIndexOf(1), 0);
  EXPECT_EQ(BaudRateListIndexOf(2), 1);
  EXPECT_EQ(BaudRateListIndexOf(128), 7);
  EXPECT_EQ(BaudRateListIndexOf(3), 0);
}

}  // namespace
}  // namespace qx
