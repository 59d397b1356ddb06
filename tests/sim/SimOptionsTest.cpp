#include "sim/SimOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/StateFile.h"

namespace qx::sim {
namespace {

TEST(SimOptions, EveryOptionIsParsedInBothSpellings) {
  const auto result = ParseSimOptions({"--model",
                                       "8800",
                                       "--baud=115200",
                                       "--link",
                                       "/tmp/cam",
                                       "--transcript=t.txt",
                                       "--state",
                                       "s.state",
                                       "--latency",
                                       "5",
                                       "--drop-every",
                                       "7",
                                       "--error-every=6",
                                       "--garbage-every",
                                       "5",
                                       "--no-lf-every",
                                       "4",
                                       "--hangup-after",
                                       "3",
                                       "--auto-ms",
                                       "20"});
  ASSERT_TRUE(result.options) << result.error;
  const SimOptions& o = *result.options;
  EXPECT_EQ(o.model, "8800");
  EXPECT_EQ(o.baud, 115200);
  EXPECT_EQ(o.link, "/tmp/cam");
  EXPECT_EQ(o.transcript, "t.txt");
  EXPECT_EQ(o.state, "s.state");
  EXPECT_EQ(o.latencyMs, 5);
  EXPECT_EQ(o.faults.dropEvery, 7);
  EXPECT_EQ(o.faults.errorEvery, 6);
  EXPECT_EQ(o.faults.garbageEvery, 5);
  EXPECT_EQ(o.faults.noLfEvery, 4);
  EXPECT_EQ(o.faults.hangupAfter, 3);
  EXPECT_EQ(o.autoMs, 20);
  const CameraConfig config = o.ToCameraConfig();
  EXPECT_EQ(config.modelName, "QX-8800M-RLNK");
  EXPECT_EQ(config.baud, 115200);
  EXPECT_EQ(config.autoBusyTime, std::chrono::milliseconds(20));
}

struct BadArgs {
  std::vector<std::string> args;
  const char* error;
};

class SimOptionsRefused : public ::testing::TestWithParam<BadArgs> {};

TEST_P(SimOptionsRefused, WithAMessageNamingTheProblem) {
  const auto result = ParseSimOptions(GetParam().args);
  EXPECT_FALSE(result.options);
  EXPECT_NE(result.error.find(GetParam().error), std::string::npos) << result.error;
}

INSTANTIATE_TEST_SUITE_P(Cases, SimOptionsRefused,
                         ::testing::Values(BadArgs{{"--speed", "9"}, "unknown option: --speed"},
                                           BadArgs{{"--baud"}, "--baud needs a value"},
                                           BadArgs{{"--baud", "fast"}, "--baud: not a number"},
                                           BadArgs{{"--baud", "0"}, "--baud: not a number"},
                                           BadArgs{{"--latency", "-1"}, "--latency: not a number"},
                                           BadArgs{{"--drop-every", "99999999999"},
                                                   "--drop-every: not a number"},
                                           BadArgs{{"--model="}, "--model needs a value"}));

TEST(SimOptions, OptionStringsSplitAtBlanksAndKeepQuotedWords) {
  EXPECT_EQ(SplitOptionString("  --model 8800\t--state '/tmp/my camera'  "),
            (std::vector<std::string>{"--model", "8800", "--state", "/tmp/my camera"}));
  EXPECT_TRUE(SplitOptionString("").empty());
}

TEST(SimOptions, UsageNamesEveryOption) {
  const std::string usage = SimUsage();
  for (const char* option : {"--model", "--baud", "--link", "--transcript", "--state", "--latency",
                             "--drop-every", "--error-every", "--garbage-every", "--no-lf-every",
                             "--hangup-after", "--auto-ms", "--help"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

TEST(StateFile, SaveReplacesTheFileWholeAndLeavesNoTemporaryFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("qxsim-state-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "camera.state").string();
  EXPECT_FALSE(StateFile::Load(path));
  EXPECT_EQ(StateFile::Save(path, "first\n"), "");
  EXPECT_EQ(StateFile::Save(path, "second\n"), "");
  EXPECT_EQ(StateFile::Load(path), "second\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            1);
  const std::string error = StateFile::Save((dir / "missing" / "x.state").string(), "x");
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  EXPECT_EQ(StateFile::Load(path), "second\n") << "a failed save elsewhere changes nothing";
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qx::sim
