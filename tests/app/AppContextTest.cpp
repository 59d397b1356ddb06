#include "app/AppContext.h"

#include <gtest/gtest.h>

#include "app/ControlMode.h"
#include "app/RegistryStore.h"
#include "comm/CommSettings.h"
#include "platform/RegistryHive.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

AppOptions WithRegistry(const std::string& path) {
  AppOptions options;
  options.registryPath = path;
  return options;
}

// The store is created first (by the settings' first use) and destroyed last, so its final
// "ended normally" mark follows the settings' own write-back.
TEST(AppContext, NormalEndDestroysInReverseOrderAndWritesEverythingBack) {
  test::TempDir dir;
  test::RecordingDesktop desktop;
  ui::ResourceRegistry resources;
  ui::WindowSystem windows(resources);
  const std::string path = dir.File("machine.reg");
  {
    AppContext context(windows, desktop, WithRegistry(path));
    context.CommSettings().SetBaudRate(38400);
    context.Mode().Toggle();
    EXPECT_EQ(&context.Registry(), &context.Registry());
  }
  platform::RegistryHive hive(path);
  const auto key = CRegistryStore::kKeyPath;
  EXPECT_EQ(hive.Query(key, "Baudrate"), platform::RegValue::MakeDword(38400));
  EXPECT_EQ(hive.Query(key, "Control Mode"), platform::RegValue::MakeDword(1));
  EXPECT_EQ(hive.Query(key, "Previous Application Shutdown Status"),
            platform::RegValue::MakeDword(1));
}

TEST(AppContext, EachContextStartsFresh) {
  test::TempDir dir;
  test::RecordingDesktop desktop;
  ui::ResourceRegistry resources;
  ui::WindowSystem windows(resources);
  {
    AppContext first(windows, desktop, WithRegistry(dir.File("machine.reg")));
    first.Commands().SetValueKind(80, ValueKind::Text);
    EXPECT_FALSE(first.Registry().PreviousShutdownWasNormal());
  }
  AppContext second(windows, desktop, WithRegistry(dir.File("machine.reg")));
  EXPECT_EQ(second.Commands().GetValueKind(80), ValueKind::Integer);
  EXPECT_TRUE(second.Registry().PreviousShutdownWasNormal());
}

}  // namespace
}  // namespace qx
