#include "platform/RegistryHive.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/FileSystem.h"
#include "support/EnvGuard.h"
#include "support/TempDir.h"

namespace qx::platform {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\Software\\KELDOR\\Tool";

TEST(RegistryHive, MissingFileHasNoKeyAndCreatingTheKeyWritesTheFile) {
  test::TempDir dir;
  RegistryHive hive(dir.File("sub/machine.reg"));
  EXPECT_FALSE(hive.KeyExists(kKey));
  EXPECT_FALSE(hive.Query(kKey, "Baudrate"));
  ASSERT_TRUE(hive.CreateKey(kKey));
  EXPECT_TRUE(hive.KeyExists(kKey));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(dir.File("sub/machine.reg"), text));
  EXPECT_NE(text.find("[" + kKey + "]"), std::string::npos);
}

TEST(RegistryHive, WritesReplaceTheFileAndKeepOtherKeys) {
  test::TempDir dir;
  const std::string path = dir.File("machine.reg");
  std::ofstream(path) << "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Other]\n"
                         "\"Keep\"=\"me\"\n";
  RegistryHive hive(path);
  ASSERT_TRUE(hive.Set(kKey, "Baudrate", RegValue::MakeDword(19200)));
  EXPECT_EQ(hive.Query("HKEY_LOCAL_MACHINE\\Other", "Keep"), RegValue::MakeString("me"));
  EXPECT_EQ(hive.Query(kKey, "Baudrate"), RegValue::MakeDword(19200));
}

TEST(RegistryHive, UnwritableFolderReportsFailure) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  test::TempDir dir;
  MakeFolders(dir.File("locked"));
  ::chmod(dir.File("locked").c_str(), 0500);
  RegistryHive hive(dir.File("locked/machine.reg"));
  EXPECT_FALSE(hive.Set(kKey, "Baudrate", RegValue::MakeDword(1)));
}

TEST(RegistryHive, DefaultPathFollowsEnvironment) {
  {
    test::EnvGuard registry("QXTOOL_REGISTRY", "/tmp/x.reg");
    EXPECT_EQ(RegistryHive::DefaultPath(), "/tmp/x.reg");
  }
  test::EnvGuard registry("QXTOOL_REGISTRY", std::nullopt);
  {
    test::EnvGuard xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(RegistryHive::DefaultPath(), "/cfg/qxtool/machine.reg");
  }
  test::EnvGuard xdg("XDG_CONFIG_HOME", std::nullopt);
  test::EnvGuard home("HOME", "/home/op");
  EXPECT_EQ(RegistryHive::DefaultPath(), "/home/op/.config/qxtool/machine.reg");
}

// Two processes that write at the same time must neither lose each other's values nor leave
// a damaged file: every write is a locked read-modify-write with an atomic replace.
TEST(RegistryHive, ConcurrentWritersFromTwoProcessesLoseNothing) {
  test::TempDir dir;
  const std::string path = dir.File("machine.reg");
  constexpr int kWrites = 60;
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = ::fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      RegistryHive hive(path);
      bool ok = true;
      for (int i = 0; i < kWrites; ++i) {
        ok = hive.Set(kKey, "P" + std::to_string(child) + "_" + std::to_string(i),
                      RegValue::MakeDword(static_cast<uint32_t>(i))) &&
             ok;
      }
      ::_exit(ok ? 0 : 1);
    }
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  RegistryHive hive(path);
  for (int child = 0; child < 2; ++child) {
    for (int i = 0; i < kWrites; ++i) {
      EXPECT_EQ(hive.Query(kKey, "P" + std::to_string(child) + "_" + std::to_string(i)),
                RegValue::MakeDword(static_cast<uint32_t>(i)));
    }
  }
}

}  // namespace
}  // namespace qx::platform
