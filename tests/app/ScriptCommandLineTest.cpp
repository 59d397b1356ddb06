#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/script/HeadlessSession.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

namespace qx::script {
namespace {

class ScriptCommandLineTest : public ::testing::Test {
 protected:
  int Run(std::vector<const char*> args, const FrontEnd& frontEnd = nullptr) {
    args.insert(args.begin(), "qxtool");
    return RunCommandLine(static_cast<int>(args.size()), args.data(), in, out, err, frontEnd);
  }
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(ScriptCommandLineTest, WithoutHeadlessTheFrontEndGetsTheWindowsAndItsOwnArguments) {
  int calls = 0;
  std::size_t windowsSeen = 99;
  const FrontEnd frontEnd = [&](ui::WindowSystem& windows,
                                const std::function<int(ui::Desktop&)>&) {
    ++calls;
    windowsSeen = windows.Windows().size();
    return 0;
  };
  EXPECT_EQ(Run({"-platform", "offscreen"}, frontEnd), 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(windowsSeen, 0u);  // the application is built by run, on the front-end's desktop
  EXPECT_EQ(err.str(), "");
}

TEST_F(ScriptCommandLineTest, WithoutAFrontEndItExplainsAndEndsNormally) {
  EXPECT_EQ(Run({}), 0);
  EXPECT_NE(out.str().find("no window front-end"), std::string::npos);
}

TEST_F(ScriptCommandLineTest, MistakesExitWithTwo) {
  const FrontEnd frontEnd = [](ui::WindowSystem&, const std::function<int(ui::Desktop&)>&) {
    ADD_FAILURE() << "the front-end must not start";
    return 0;
  };
  EXPECT_EQ(Run({"--headless"}, frontEnd), 2);
  EXPECT_EQ(Run({"--headless", "--script", "-", "--extra"}, frontEnd), 2);
  EXPECT_EQ(Run({"--script", "x.txt"}, frontEnd), 2);
  EXPECT_EQ(Run({"-platform"}), 2);  // without a front-end nobody takes it
  EXPECT_NE(err.str().find("usage: qxtool"), std::string::npos);
}

}  // namespace
}  // namespace qx::script
