#include "app/RegistryStore.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "app/ControlMode.h"
#include "app/ShutdownRule.h"
#include "comm/CommSettings.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace qx {
namespace {

using platform::RegistryHive;
using platform::RegValue;

class RegistryStoreTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.File("machine.reg"); }
  void WriteFile(const std::string& text) const { std::ofstream(Path(), std::ios::binary) << text; }
  void Seed(const std::string& name, const RegValue& value) {
    RegistryHive(Path()).Set(CRegistryStore::kKeyPath, name, value);
  }
  std::optional<RegValue> Stored(const std::string& name) const {
    return RegistryHive(Path()).Query(CRegistryStore::kKeyPath, name);
  }

  test::TempDir dir_;
};

TEST_F(RegistryStoreTest, TheTenValueNamesAreFixedByIndex) {
  EXPECT_STREQ(CRegistryStore::ValueName(0), "Previous Application Shutdown Status");
  EXPECT_STREQ(CRegistryStore::ValueName(2), "Baudrate");
  EXPECT_STREQ(CRegistryStore::ValueName(6), "Cameralink Ver11 Dll Index");
  EXPECT_STREQ(CRegistryStore::ValueName(9), "Command Log File Path");
  EXPECT_EQ(CRegistryStore::ValueName(-1), nullptr);
  EXPECT_EQ(CRegistryStore::ValueName(10), nullptr);
}

TEST_F(RegistryStoreTest, FirstRunWithoutKeyCreatesItAndEverythingTakesItsDefault) {
  RegistryHive hive(Path());
  CRegistryStore store(hive);
  EXPECT_TRUE(hive.KeyExists(CRegistryStore::kKeyPath));
  EXPECT_FALSE(store.PreviousShutdownWasNormal());
  CCommSettings settings(store);
  ControlMode mode(store);
  EXPECT_EQ(settings.GetMode(), 0);
  EXPECT_EQ(settings.GetBaudRate(), 9600);
  for (int m = 0; m < 4; ++m) EXPECT_EQ(settings.GetPortIndex(m), 0);
  EXPECT_EQ(mode.Value(), 0);
  ApplyShutdownRule(store, settings);
  EXPECT_EQ(settings.GetMode(), 0);
}

TEST_F(RegistryStoreTest, AccessThatHasToCreateTheKeyFailsAndTheNextOneSucceeds) {
  RegistryHive hive(Path());
  CRegistryStore store(hive);  // the first access created the key
  EXPECT_TRUE(store.WriteInteger(CRegistryStore::kBaudrate, 19200));
  bool ok = false;
  EXPECT_EQ(store.ReadInteger(CRegistryStore::kBaudrate, 9600, &ok), 19200);
  EXPECT_TRUE(ok);
}

TEST_F(RegistryStoreTest, StatusIsZeroWhileRunningAndOneAfterNormalEnd) {
  RegistryHive hive(Path());
  {
    CRegistryStore store(hive);
    EXPECT_EQ(Stored("Previous Application Shutdown Status"), RegValue::MakeDword(0));
  }
  EXPECT_EQ(Stored("Previous Application Shutdown Status"), RegValue::MakeDword(1));
  CRegistryStore next(hive);
  EXPECT_TRUE(next.PreviousShutdownWasNormal());
}

TEST_F(RegistryStoreTest, BaudRateStoredAsTextDigitsReadsAsInteger) {
  RegistryHive hive(Path());
  hive.CreateKey(CRegistryStore::kKeyPath);
  Seed("Baudrate", RegValue::MakeString("38400"));
  CRegistryStore store(hive);
  CCommSettings settings(store);
  EXPECT_EQ(settings.GetBaudRate(), 38400);
  Seed("Baudrate", RegValue::MakeString("115200 bps"));
  settings.Load();
  EXPECT_EQ(settings.GetBaudRate(), 115200);
}

TEST_F(RegistryStoreTest, ValuesOfTheWrongTypeReadAsMissing) {
  RegistryHive hive(Path());
  hive.CreateKey(CRegistryStore::kKeyPath);
  Seed("Baudrate", RegValue::MakeString("fast"));
  Seed("Communication Mode", RegValue{RegValue::Type::Binary, 0, {}, {0xff, 0x01}});
  Seed("Camera File Path", RegValue::MakeDword(5));
  CRegistryStore store(hive);
  bool ok = true;
  EXPECT_EQ(store.ReadInteger(CRegistryStore::kBaudrate, 9600, &ok), 9600);
  EXPECT_FALSE(ok);
  EXPECT_EQ(store.ReadInteger(CRegistryStore::kCommunicationMode, 0), 0);
  EXPECT_EQ(store.ReadString(CRegistryStore::kCameraFilePath, &ok),
            platform::CurrentWorkingDirectory());
  EXPECT_FALSE(ok);
}

TEST_F(RegistryStoreTest, IndexOutsideTheTableIsRefused) {
  RegistryHive hive(Path());
  CRegistryStore store(hive);
  bool ok = true;
  EXPECT_EQ(store.ReadInteger(10, 42, &ok), 42);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(store.WriteInteger(-1, 5));
  EXPECT_FALSE(store.WriteString(10, "x"));
  EXPECT_EQ(store.ReadString(11), platform::CurrentWorkingDirectory());
}

TEST_F(RegistryStoreTest, PathToADeletedFolderReadsAsTheWorkingDirectory) {
  RegistryHive hive(Path());
  CRegistryStore store(hive);
  const std::string folder = dir_.File("cams");
  ASSERT_TRUE(platform::MakeFolders(folder));
  ASSERT_TRUE(store.WriteString(CRegistryStore::kCameraFilePath, folder));
  bool ok = false;
  EXPECT_EQ(store.ReadString(CRegistryStore::kCameraFilePath, &ok), folder);
  EXPECT_TRUE(ok);
  ::rmdir(folder.c_str());
  EXPECT_EQ(store.ReadString(CRegistryStore::kCameraFilePath, &ok),
            platform::CurrentWorkingDirectory());
  EXPECT_FALSE(ok);
  EXPECT_EQ(store.ReadString(CRegistryStore::kCommandLogFilePath),
            platform::CurrentWorkingDirectory());
}

// A run killed from outside runs no destructor: the status stays 0, and the next start uses
// the PC serial port whatever mode was stored; a normal exit then stores that mode.
TEST_F(RegistryStoreTest, KilledRunForcesRs232cAtNextStart) {
  {
    RegistryHive hive(Path());
    CRegistryStore store(hive);
    CCommSettings settings(store);
    settings.SetMode(CCommSettings::kCameraLink2001);
  }
  EXPECT_EQ(Stored("Communication Mode"), RegValue::MakeDword(2));

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RegistryHive hive(Path());
    CRegistryStore store(hive);
    ::_exit(0);  // killed before a normal end
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(Stored("Previous Application Shutdown Status"), RegValue::MakeDword(0));

  {
    RegistryHive hive(Path());
    CRegistryStore store(hive);
    EXPECT_FALSE(store.PreviousShutdownWasNormal());
    CCommSettings settings(store);
    EXPECT_EQ(settings.GetMode(), CCommSettings::kCameraLink2001);
    ApplyShutdownRule(store, settings);
    EXPECT_EQ(settings.GetMode(), CCommSettings::kRs232c);
  }
  EXPECT_EQ(Stored("Communication Mode"), RegValue::MakeDword(0));
  EXPECT_EQ(Stored("Previous Application Shutdown Status"), RegValue::MakeDword(1));
}

TEST_F(RegistryStoreTest, SettingsAndControlModeAreWrittenBackAtNormalExit) {
  {
    RegistryHive hive(Path());
    CRegistryStore store(hive);
    CCommSettings settings(store);
    ControlMode mode(store);
    settings.SetMode(3);
    settings.SetBaudRate(57600);
    settings.SetPortIndex(0, 4);
    settings.SetPortIndex(3, 2);
    mode.Toggle();
  }
  EXPECT_EQ(Stored("Communication Mode"), RegValue::MakeDword(3));
  EXPECT_EQ(Stored("Baudrate"), RegValue::MakeDword(57600));
  EXPECT_EQ(Stored("Com Port No"), RegValue::MakeDword(4));
  EXPECT_EQ(Stored("Cameralink 2000 Dll Index"), RegValue::MakeDword(0));
  EXPECT_EQ(Stored("Cameralink Ver11 Dll Index"), RegValue::MakeDword(2));
  EXPECT_EQ(Stored("Control Mode"), RegValue::MakeDword(1));
}

class DamagedRegistryFile : public RegistryStoreTest,
                            public ::testing::WithParamInterface<std::string> {};

// Whatever the file holds, the store reads defaults and the normal exit rewrites it cleanly.
TEST_P(DamagedRegistryFile, ReadsDefaultsAndIsRewrittenCleanlyAtExit) {
  WriteFile(GetParam());
  {
    RegistryHive hive(Path());
    CRegistryStore store(hive);
    CCommSettings settings(store);
    ControlMode mode(store);
    EXPECT_EQ(settings.GetMode(), 0);
    EXPECT_EQ(settings.GetBaudRate(), 9600);
    EXPECT_EQ(mode.Value(), 0);
  }
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(Path(), text));
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_EQ(Stored("Baudrate"), RegValue::MakeDword(9600));
  EXPECT_EQ(Stored("Previous Application Shutdown Status"), RegValue::MakeDword(1));
  EXPECT_EQ(platform::RegFile::Parse(text).Serialize(), text);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, DamagedRegistryFile,
    ::testing::Values(
        std::string(), std::string("Windows Registry Editor Ver"),
        std::string("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\KEL"),
        std::string("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\"
                    "KELDOR\\QX-4400x8800M-RLNK Camera Control Tool]\n\"Baudrate\"=dword:zz\n"
                    "\"Communication Mode\"=\"\n\"Control Mode\"=hex:q1\n"),
        std::string("\x7f"
                    "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\xff\xfe\x00\x13",
                    20)));

}  // namespace
}  // namespace qx
