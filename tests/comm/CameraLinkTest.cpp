// Camera Link transports without a frame grabber library behind them: searching, refusing
// what is not a complete library, and the rules that need no library at all. The
// conversations with a simulated camera through real libraries are integration tests.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "comm/CameraLink2000Port.h"
#include "comm/CameraLink2001Port.h"
#include "comm/CameraLinkApi.h"
#include "comm/CameraLinkV11Port.h"
#include "comm/TransportTestSupport.h"
#include "support/EnvGuard.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"

namespace qx {
namespace {

using testing::Environment;
using test::RecordingDesktop;
using TempFolder = test::TempDir;

class BaudRateBits : public ::testing::TestWithParam<std::pair<int, std::uint32_t>> {};

TEST_P(BaudRateBits, RateMapsToItsStandardBit) {
  EXPECT_EQ(cl::BaudRateBit(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Table, BaudRateBits,
                         ::testing::Values(std::pair{9600, 1u}, std::pair{19200, 2u},
                                           std::pair{38400, 4u}, std::pair{57600, 8u},
                                           std::pair{115200, 16u}, std::pair{230400, 32u},
                                           std::pair{460800, 64u}, std::pair{921600, 128u},
                                           std::pair{4800, 0u}, std::pair{0, 0u},
                                           std::pair{-9600, 0u}, std::pair{1000000, 0u}));

class CameraLink2000Folder : public ::testing::Test {
 protected:
  void Touch(const std::string& name, const std::string& contents = "not a library") {
    std::ofstream(folder.File(name)) << contents;
  }

  TempFolder folder;
  RecordingDesktop desktop;
};

TEST_F(CameraLink2000Folder, ListsEveryClserLibraryFileByNameAndNothingElse) {
  Touch("libclserA.so");
  Touch("clserB.so");
  Touch("libclserC.so.1");
  Touch("libclallserial.so");
  Touch("notes.txt");
  std::filesystem::create_directory(folder.File("libclserDir.so"));
  CCameraLink2000Port port(desktop, Environment({{"CLSERIALPATH", folder.path()}}));
  EXPECT_EQ(port.GetPortCount(), 2);
  EXPECT_EQ(port.GetPortName(0), "clserB.so");
  EXPECT_EQ(port.GetPortName(1), "libclserA.so");
  EXPECT_EQ(port.GetPortName(2), "");
  // The folder is searched again every time.
  Touch("libclserD.so");
  EXPECT_EQ(port.GetPortCount(), 3);
}

TEST_F(CameraLink2000Folder, FolderComesFromClserialpathElseTheDefault) {
  CCameraLink2000Port fromVariable(desktop, Environment({{"CLSERIALPATH", "/opt/grabber"}}));
  EXPECT_EQ(fromVariable.LibraryFolder(), "/opt/grabber");
  CCameraLink2000Port withoutVariable(desktop, Environment({}));
  EXPECT_EQ(withoutVariable.LibraryFolder(), CCameraLink2000Port::kDefaultFolder);
}

TEST_F(CameraLink2000Folder, MissingFolderListsNothing) {
  CCameraLink2000Port port(desktop, Environment({{"CLSERIALPATH", folder.File("gone")}}));
  EXPECT_EQ(port.GetPortCount(), 0);
  EXPECT_EQ(port.OpenPort(0), 0);
}

TEST_F(CameraLink2000Folder, FileThatIsNotALibrary_FailsTheOpenSilently) {
  Touch("libclserBroken.so", "#!/bin/sh\necho not ELF\n");
  CCameraLink2000Port port(desktop, Environment({{"CLSERIALPATH", folder.path()}}));
  ASSERT_EQ(port.GetPortCount(), 1);
  EXPECT_EQ(port.OpenPort(0), 0);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.IsLibraryLoaded());
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(CameraLink2000Folder, OpenBeforeAnyCount_Fails) {
  Touch("libclserA.so");
  CCameraLink2000Port port(desktop, Environment({{"CLSERIALPATH", folder.path()}}));
  EXPECT_EQ(port.OpenPort(0), 0);
}

TEST_F(CameraLink2000Folder, OnlyNineThousandSixHundredIsAccepted) {
  CCameraLink2000Port port(desktop, Environment({{"CLSERIALPATH", folder.path()}}));
  EXPECT_EQ(port.SetBaudRate(9600), 1);
  EXPECT_TRUE(desktop.boxes.empty());
  EXPECT_EQ(port.SetBaudRate(19200), 0);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, "Selected baud rate is not supported.");
  EXPECT_EQ(desktop.boxes[0].icon, ui::MessageIcon::Exclamation);
}

TEST(CameraLinkClosedPort, ReadsNothingAndWritesNothing) {
  RecordingDesktop desktop;
  CCameraLink2000Port port(desktop, Environment({}));
  char byte = 0;
  EXPECT_EQ(port.ReadSome(&byte, 1, 10), 0);
  EXPECT_FALSE(port.Write("GA?\r\n", 5));
  port.Close();  // harmless when nothing is open
  EXPECT_FALSE(port.IsOpen());
}

// A generation whose library is missing, or is a library without the generation's
// functions, has no ports and opens nothing; nothing is shown.
template <class Port>
class CameraLinkWithoutLibrary : public ::testing::Test {};

using LibraryGenerations = ::testing::Types<CCameraLink2001Port, CCameraLinkV11Port>;
TYPED_TEST_SUITE(CameraLinkWithoutLibrary, LibraryGenerations);

TYPED_TEST(CameraLinkWithoutLibrary, MissingLibraryGivesAnEmptyListAndNoOpen) {
  RecordingDesktop desktop;
  TypeParam port(desktop, "libqx-no-such-clserial.so");
  EXPECT_EQ(port.GetPortCount(), 0);
  EXPECT_EQ(port.GetPortName(0), "");
  EXPECT_EQ(port.OpenPort(0), 0);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.Open(0, 9600));
  EXPECT_TRUE(desktop.boxes.empty());
}

TYPED_TEST(CameraLinkWithoutLibrary, LibraryLackingTheFunctionsCountsAsMissing) {
  RecordingDesktop desktop;
  TypeParam port(desktop, "libm.so.6");
  EXPECT_EQ(port.GetPortCount(), 0);
  EXPECT_EQ(port.OpenPort(0), 0);
  EXPECT_FALSE(port.IsLibraryLoaded());
}

TYPED_TEST(CameraLinkWithoutLibrary, RateCannotBeSetWithoutAnOpenPort) {
  RecordingDesktop desktop;
  TypeParam port(desktop, "libqx-no-such-clserial.so");
  EXPECT_EQ(port.SetBaudRate(9600), 0);
}

}  // namespace
}  // namespace qx
