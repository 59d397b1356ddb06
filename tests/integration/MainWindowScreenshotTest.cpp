// The main window as operators see it, drawn by the Qt front-end after a start-up against the
// simulated camera: one screenshot per page, kept in the build tree for review.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/RegistryStore.h"
#include "support/SimProcess.h"
#include "platform/RegistryHive.h"
#include "support/TempDir.h"
#include "support/ToolProcess.h"

namespace qx {
namespace {

#ifdef QX_TOOL_HAS_QT

TEST(MainWindowScreenshot, EveryPageAfterAReadAllFromTheCamera) {
  test::TempDir dir;
  {
    platform::RegistryHive hive(dir.File("machine.reg"));
    CRegistryStore store(hive);
    store.WriteInteger(CRegistryStore::kControlMode, 1);  // factory mode lists every page
    store.WriteInteger(CRegistryStore::kBaudrate, 115200);
  }
  test::SimProcess sim({"--baud", "115200", "--model", "4400"});
  ASSERT_TRUE(sim.Ok());
  const std::string folder = std::string(QX_BUILD_DIR) + "/screenshots";
  std::string script;
  std::vector<std::string> shots;
  for (int tab = 0; tab < 6; ++tab) {
    const std::string png = folder + "/main-page-" + std::to_string(tab) + ".png";
    std::filesystem::remove(png);
    shots.push_back(png);
    script += "tab " + std::to_string(tab) + "\nscreenshot main " + png + "\n";
  }
  std::ofstream(dir.File("script.txt")) << script;
  const test::ToolRun run = test::RunTool(
      dir.path(), {"--script", dir.File("script.txt")},
      {{"QXTOOL_REGISTRY", dir.File("machine.reg")}, {"QXTOOL_COM1", sim.SlavePath()}});
  ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
  for (const std::string& png : shots) {
    ASSERT_TRUE(std::filesystem::exists(png)) << png;
    EXPECT_GT(std::filesystem::file_size(png), 5000u) << png;  // a drawn page, not a blank
  }
}

#endif

}  // namespace
}  // namespace qx
