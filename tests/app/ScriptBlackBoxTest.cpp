// Runs the real qxtool binary headless, as automation and the black-box tests do.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolProcess.h"

namespace qx {
namespace {

using RunResult = test::ToolRun;

class ScriptBlackBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(tool_)) << tool_ << " is not built";
    ASSERT_FALSE(dir_.path().empty());
  }

  std::string WriteScript(const std::string& text) {
    const std::string path = dir_.File("script.txt");
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Runs qxtool with the arguments; standard input comes from the text. The tool must not
  // touch the user's preferences nor the machine's serial ports: its preferences go to a fresh
  // file and COM1 names a device that does not exist.
  RunResult Run(const std::vector<std::string>& args, const std::string& input = "") {
    return test::RunTool(
        dir_.path(), args,
        {{"QXTOOL_REGISTRY", dir_.File("machine.reg")}, {"QXTOOL_COM1", dir_.File("no-such-tty")}},
        input);
  }

  test::TempDir dir_;
  std::string tool_ = test::ToolPath();
};

// The last lines of the output: what the script printed after the start-up, whose messages
// depend on the channel.
std::string Tail(const std::string& out, std::size_t count) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  std::string tail;
  for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) {
    tail += lines[i];
  }
  return tail;
}

constexpr const char* kConfirm =
    "msgbox question \"Confirm\" \"Are you sure to terminate the Camera Control Tool ?\"";

TEST_F(ScriptBlackBoxTest, ScriptDrivesTheMainWindowAndEndsWithTheExitQuestion) {
  const RunResult run = Run({"--headless", "--script",
                             WriteScript("# look at the main window\n"
                                         "print main\n"
                                         "print 1161\n"
                                         "print 32779\n"
                                         "print 32775\n")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Tail(run.out, 5),
            "main Window enabled=1 visible=1 text=\"QX-4400x8800M-RLNK Control Tool  Ver 0.18\"\n"
            "1161 Picture enabled=1 visible=1 bitmap=302\n"
            "32779 MenuItem enabled=0 text=\"&Open LUT file\"\n"
            "32775 MenuItem enabled=1 text=\"&Reload\"\n" +
                std::string(kConfirm) + " -> yes\n");
  // The exit question answered Yes lets the normal end run, which writes the preferences.
  EXPECT_TRUE(std::filesystem::exists(dir_.File("machine.reg")));
}

TEST_F(ScriptBlackBoxTest, ScriptFromStandardInput) {
  const RunResult run = Run({"--headless", "--script", "-"}, "close\nwait 30\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Tail(run.out, 2), std::string(kConfirm) + " -> no\n" + kConfirm + " -> yes\n");
}

TEST_F(ScriptBlackBoxTest, ExitMenuWithAnsweredYesEndsTheRun) {
  const RunResult run = Run({"--headless", "--script", "-"}, "answer yes\nmenu 2\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Tail(run.out, 1), std::string(kConfirm) + " -> yes\n");
  EXPECT_EQ(run.out.find(std::string(kConfirm) + " -> no"), std::string::npos);
}

TEST_F(ScriptBlackBoxTest, GreyedLutMenuIsAScriptError) {
  const RunResult run = Run({"--headless", "--script", "-"}, "print main\nmenu 32779\n");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "line 2: menu command 32779 is greyed\n");
}

TEST_F(ScriptBlackBoxTest, UnknownCommandNamesItsLine) {
  const RunResult run = Run({"--headless", "--script", WriteScript("\n\nfrobnicate 3\n")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "line 3: unknown command \"frobnicate\"\n");
  EXPECT_EQ(run.out.find("msgbox question"), std::string::npos);  // no exit question
}

TEST_F(ScriptBlackBoxTest, CommandLineMistakesExitWithTwo) {
  EXPECT_EQ(Run({"--headless"}).exitCode, 2);
  EXPECT_EQ(Run({"--headless", "--script", dir_.File("missing.txt")}).exitCode, 2);
  EXPECT_EQ(Run({"--bogus"}).exitCode, 2);
}

TEST_F(ScriptBlackBoxTest, HeadlessScreenshotSavesNothingAndSaysSo) {
  const std::string png = dir_.File("main.png");
  const RunResult run =
      Run({"--headless", "--script", WriteScript("screenshot main " + png + "\n")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("screenshot: a headless run draws no windows"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(png));
  EXPECT_EQ(Run({"--headless", "--script", WriteScript("screenshot 4242 x.png\n")}).exitCode, 2);
}

#ifdef QX_TOOL_HAS_QT
// With the window front-end a script runs against drawn windows and can save them.
TEST_F(ScriptBlackBoxTest, ScriptWithTheWindowFrontEndSavesScreenshots) {
  const std::string png = dir_.File("shots/main window.png");
  const RunResult run =
      Run({"--script", WriteScript("tab 1\nscreenshot main " + png + "\nprint main\n")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  ASSERT_TRUE(std::filesystem::exists(png));
  const std::string bytes = test::ReadTextFile(png);
  EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_NE(run.out.find("main Window enabled=1 visible=1"), std::string::npos);
}
#else
TEST_F(ScriptBlackBoxTest, WithoutHeadlessItSaysTheFrontEndIsNotBuilt) {
  const RunResult run = Run({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("no window front-end"), std::string::npos);
  EXPECT_EQ(Run({"--script", WriteScript("print main\n")}).exitCode, 2);
}
#endif

}  // namespace
}  // namespace qx
