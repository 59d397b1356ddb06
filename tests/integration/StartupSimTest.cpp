// The whole tool, headless, started against the simulated camera: what goes over the line at
// start-up, what the pages then hold, and what the normal end leaves in the preferences.

#include <gtest/gtest.h>

#include <sstream>

#include "app/ControlMode.h"
#include "app/RegistryStore.h"
#include "comm/Command.h"
#include "comm/TrafficLog.h"
#include "features/CameraModel.h"
#include "features/FeatureContext.h"
#include "features/FeatureControls.h"
#include "features/Reload.h"
#include "support/SimProcess.h"
#include "model/ParameterTable.h"
#include "platform/RegistryHive.h"
#include "support/FakeChannel.h"
#include "support/NullReloadHost.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"
#include "support/ToolProcess.h"

namespace qx {
namespace {

class StartupSimTest : public ::testing::Test {
 protected:
  // Preferences of a machine whose last run ended normally, in the given control mode.
  void WritePreferences(int controlMode) {
    platform::RegistryHive hive(dir_.File("machine.reg"));
    CRegistryStore store(hive);
    store.WriteInteger(CRegistryStore::kControlMode, controlMode);
    store.WriteInteger(CRegistryStore::kBaudrate, 115200);
  }

  test::ToolRun RunTool(const std::string& model, const std::string& script) {
    sim_ = std::make_unique<test::SimProcess>(std::vector<std::string>{
        "--baud", "115200", "--model", model, "--transcript", dir_.File("transcript.txt")});
    EXPECT_TRUE(sim_->Ok());
    std::ofstream(dir_.File("script.txt")) << script;
    return test::RunTool(
        dir_.path(), {"--headless", "--script", dir_.File("script.txt")},
        {{"QXTOOL_REGISTRY", dir_.File("machine.reg")}, {"QXTOOL_COM1", sim_->SlavePath()}});
  }

  // The lines the camera received, in order.
  std::vector<std::string> Received() {
    sim_.reset();  // the transcript is complete once the camera has stopped
    std::vector<std::string> lines;
    std::istringstream in(test::ReadTextFile(dir_.File("transcript.txt")));
    for (std::string line; std::getline(in, line);) {
      const auto rx = line.find(" RX ");
      if (rx != std::string::npos) lines.push_back(line.substr(rx + 4));
    }
    return lines;
  }

  // The read-all's queries for a model and mode, as the tool's own read set defines them.
  std::vector<std::string> ExpectedReadAll(const std::string& modelName, int controlMode) {
    test::RecordingDesktop desktop;
    platform::RegistryHive hive(dir_.File("scratch.reg"));
    CRegistryStore store(hive);
    ControlMode mode(store);
    mode.Set(controlMode);
    CommandTable commands;
    test::FakeChannel channel;
    test::CountingStatus status;
    TrafficLog log;
    Command command(commands, channel, desktop, status, log);
    ParameterTable table(desktop);
    CameraModel model;
    model.Identify(modelName);
    FeatureControls controls;
    MainWindowFields fields;
    FeatureContext features{table, controls, command, model, mode, fields, desktop};
    test::NullReloadHost host;
    CameraReload reload(features, host);
    std::vector<std::string> queries;
    for (int i = 0; i < static_cast<int>(table.Rows().size()); ++i) {
      if (!reload.IsReadInBulk(i)) continue;
      const std::string& mnemonic =
          commands.Mnemonic(table.Rows()[static_cast<size_t>(i)].commandId);
      if (!mnemonic.empty()) queries.push_back(mnemonic + "?");
    }
    return queries;
  }

  static bool HasSubsequence(const std::vector<std::string>& lines, size_t from,
                             const std::vector<std::string>& expected) {
    if (from + expected.size() > lines.size()) return false;
    return std::equal(expected.begin(), expected.end(), lines.begin() + static_cast<long>(from));
  }

  test::TempDir dir_;
  std::unique_ptr<test::SimProcess> sim_;
};

TEST_F(StartupSimTest, StartUpIdentifiesThenReadsTheReadSetInTableOrder) {
  WritePreferences(ControlMode::kNormal);
  const test::ToolRun run = RunTool("4400", "print 1338\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto received = Received();
  const auto expected = ExpectedReadAll("QX-4400M-RLNK", ControlMode::kNormal);
  ASSERT_GE(received.size(), 2u);
  EXPECT_EQ(received[0], "MD?");  // open and identify
  EXPECT_EQ(received[1], "MD?");  // the reload identifies again
  EXPECT_TRUE(HasSubsequence(received, 2, expected));
  EXPECT_EQ(expected.size(), 187u);
  EXPECT_NE(run.out.find("1338 EditBox"), std::string::npos) << run.out;
}

TEST_F(StartupSimTest, FactoryModeAlsoReadsFactoryRows) {
  WritePreferences(ControlMode::kFactory);
  ASSERT_EQ(RunTool("4400", "").exitCode, 0);
  const auto received = Received();
  const auto expected = ExpectedReadAll("QX-4400M-RLNK", ControlMode::kFactory);
  EXPECT_TRUE(HasSubsequence(received, 2, expected));
  EXPECT_GT(expected.size(), ExpectedReadAll("QX-4400M-RLNK", ControlMode::kNormal).size());
}

TEST_F(StartupSimTest, SecondModelSkipsTheMultiRoiRows) {
  WritePreferences(ControlMode::kNormal);
  ASSERT_EQ(RunTool("8800", "").exitCode, 0);
  const auto received = Received();
  const auto expected = ExpectedReadAll("QX-8800M-RLNK", ControlMode::kNormal);
  EXPECT_TRUE(HasSubsequence(received, 2, expected));
  EXPECT_EQ(std::count(received.begin(), received.end(), "SMRW1?"), 0);
}

TEST_F(StartupSimTest, PrintTableShowsTheCamerasValuesAndTheNormalEndIsRecorded) {
  WritePreferences(ControlMode::kNormal);
  const test::ToolRun run = RunTool("4400", "print-table\ntab 1\nclick 1871\nprint 1873\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The camera's white width for the first model is its sensor width.
  EXPECT_NE(run.out.find("\n2515 77 1456 1456 "), std::string::npos) << run.out;
  // "Status Read" shows the camera's auto-level status: all automatics off.
  EXPECT_NE(run.out.find("1873 EditBox enabled=1 visible=1 text=\"OFF\""), std::string::npos)
      << run.out;
  platform::RegistryHive hive(dir_.File("machine.reg"));
  const auto key = CRegistryStore::kKeyPath;
  EXPECT_EQ(hive.Query(key, "Previous Application Shutdown Status"),
            platform::RegValue::MakeDword(1));
  EXPECT_EQ(hive.Query(key, "Communication Mode"), platform::RegValue::MakeDword(0));
  EXPECT_EQ(hive.Query(key, "Baudrate"), platform::RegValue::MakeDword(115200));
}

}  // namespace
}  // namespace qx
