// The three Camera Link transports through the dispatcher, loading the simulated camera's
// test builds of the serial libraries with real dynamic loading.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "comm/CameraLink2000Port.h"
#include "comm/CameraLink2001Port.h"
#include "comm/CameraLinkV11Port.h"
#include "comm/CommSettings.h"
#include "comm/TransportTestSupport.h"
#include "support/EnvGuard.h"
#include "support/RecordingDesktop.h"
#include "support/TempDir.h"
#include "ui/ResourceRegistry.h"
#include "ui/WindowSystem.h"

namespace qx {
namespace {

using testing::ReadReply;

using testing::Environment;
using test::RecordingDesktop;
using TempFolder = test::TempDir;

const std::string kSimLibraries = std::string(QX_BUILD_DIR) + "/sim";

// The test libraries read their configuration from the process environment at every call;
// only this (single) test thread changes or reads it while a test runs.
using ScopedVariable = test::EnvGuard;


class CameraLinkWithSimulatedCamera : public ::testing::Test {
 protected:
  // A fresh context whose Camera Link 2000 folder is `cl2000Folder`.
  AppContext& Context(const std::string& cl2000Folder = kSimLibraries + "/cl2000") {
    AppOptions options;
    options.registryPath = folder.File("machine.reg");
    options.environment = Environment({{"CLSERIALPATH", cl2000Folder}});
    options.cameraLink2001Library = kSimLibraries + "/cl2001/libclserial.so";
    options.cameraLinkV11Library = kSimLibraries + "/clv11/libclallserial.so";
    context.emplace(windows, desktop, std::move(options));
    return *context;
  }

  // A query and a set through the open channel, as the protocol sends them.
  void ExpectConversation(CCommSettings& channel) {
    EXPECT_EQ(channel.WriteLine("GA=250\r\n"), 1);
    EXPECT_EQ(ReadReply(channel, 5000), "COMPLETE\r\n");
    EXPECT_EQ(channel.WriteLine("GA?\r\n"), 1);
    EXPECT_EQ(ReadReply(channel, 5000), "GA=250\r\n");
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& message : desktop.boxes) texts.push_back(message.text);
    return texts;
  }

  TempFolder folder;
  RecordingDesktop desktop;
  ui::ResourceRegistry resources;
  ui::WindowSystem windows{resources};
  std::optional<AppContext> context;
};

// --- generation 2000 -------------------------------------------------------------------

TEST_F(CameraLinkWithSimulatedCamera, Mode1_ListsEveryLibraryOfTheFolderByFileName) {
  CCommSettings& channel = Context().CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2000);
  ASSERT_EQ(channel.GetPortCount(), 2);
  EXPECT_EQ(channel.GetPortName(0), "libclserSimA.so");
  EXPECT_EQ(channel.GetPortName(1), "libclserSimB.so");
  EXPECT_EQ(channel.GetPortName(2), "");
}

TEST_F(CameraLinkWithSimulatedCamera, Mode1_OpensTheChosenFileWithItsListIndexAsSerialIndex) {
  // Serial index 0 cannot be opened: only a library initialised with index 1 works.
  ScopedVariable failFirst("QXSIM_CL_INIT_FAIL", "0");
  CCommSettings& channel = Context().CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2000);
  ASSERT_EQ(channel.GetPortCount(), 2);
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2000, 9600, 0), 0);
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2000, 9600, 1), 1);
  EXPECT_EQ(channel.GetCurrentPortIndex(), 1);
  ExpectConversation(channel);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(CameraLinkWithSimulatedCamera, Mode1_AnyRateBut9600_ShowsNotSupportedAndTheOpenFails) {
  AppContext& app = Context();
  CCommSettings& channel = app.CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2000);
  ASSERT_EQ(channel.GetPortCount(), 2);
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2000, 19200, 0), 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Selected baud rate is not supported."}));
  // The library itself was opened; the next change of channel closes it.
  EXPECT_TRUE(app.CameraLink2000().IsOpen());
  channel.CloseChannel();
  EXPECT_FALSE(app.CameraLink2000().IsOpen());
  EXPECT_FALSE(app.CameraLink2000().IsLibraryLoaded());
}

TEST_F(CameraLinkWithSimulatedCamera, Mode1_LibraryWithoutClSerialWrite_IsListedButNeverOpens) {
  AppContext& app = Context(kSimLibraries + "/cl2000-broken");
  CCommSettings& channel = app.CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2000);
  ASSERT_EQ(channel.GetPortCount(), 1);
  EXPECT_EQ(channel.GetPortName(0), "libclserNoWrite.so");
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2000, 9600, 0), 0);
  EXPECT_FALSE(app.CameraLink2000().IsLibraryLoaded());
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(CameraLinkWithSimulatedCamera, Mode1_OpenBeforeAnyPortCount_Fails) {
  CCommSettings& channel = Context().CommSettings();
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2000, 9600, 0), 0);
}

// --- generation 2001 -------------------------------------------------------------------

TEST_F(CameraLinkWithSimulatedCamera, Mode2_ListsManufacturersAndOpensTheChosenOne) {
  ScopedVariable names("QXSIM_CL_MANUFACTURERS", "ACME,Other");
  ScopedVariable ports("QXSIM_CL_PORTS", "2");
  AppContext& app = Context();
  CCommSettings& channel = app.CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2001);
  ASSERT_EQ(channel.GetPortCount(), 2);
  EXPECT_EQ(channel.GetPortName(0), "ACME");
  EXPECT_EQ(channel.GetPortName(1), "Other");
  // Building the list released the library again.
  EXPECT_FALSE(app.CameraLink2001().IsLibraryLoaded());
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2001, 115200, 1), 1);
  ExpectConversation(channel);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST_F(CameraLinkWithSimulatedCamera, Mode2_RateTheLibraryDoesNotList_ShowsNotSupported) {
  ScopedVariable onlySlowRates("QXSIM_CL_BAUD_MASK", "3");  // 9600 and 19200
  CCommSettings& channel = Context().CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2001);
  ASSERT_GE(channel.GetPortCount(), 1);
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2001, 19200, 0), 1);
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2001, 57600, 0), 0);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Selected baud rate is not supported."}));
}

TEST_F(CameraLinkWithSimulatedCamera, Mode2_FailingClSerialInit_FailsTheOpenSilently) {
  ScopedVariable failAll("QXSIM_CL_INIT_FAIL", "all");
  CCommSettings& channel = Context().CommSettings();
  channel.SetMode(CCommSettings::kCameraLink2001);
  ASSERT_GE(channel.GetPortCount(), 1);
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLink2001, 9600, 0), 0);
  EXPECT_TRUE(desktop.boxes.empty());
  char byte;
  EXPECT_EQ(channel.ReadBytes(&byte, 1, 10), 0);
}

// --- version 1.1 -----------------------------------------------------------------------

TEST_F(CameraLinkWithSimulatedCamera, Mode3_ListsManufacturerAndPortIdOfEveryPort) {
  ScopedVariable names("QXSIM_CL_MANUFACTURERS", "ACME");
  ScopedVariable ids("QXSIM_CL_PORT_IDS", "PORT0,PORT1");
  ScopedVariable ports("QXSIM_CL_PORTS", "2");
  CCommSettings& channel = Context().CommSettings();
  channel.SetMode(CCommSettings::kCameraLinkVer11);
  ASSERT_EQ(channel.GetPortCount(), 2);
  EXPECT_EQ(channel.GetPortName(0), "ACME - PORT0");
  EXPECT_EQ(channel.GetPortName(1), "ACME - PORT1");
}

TEST_F(CameraLinkWithSimulatedCamera, Mode3_OpensByIndexAloneAndTalksToTheCamera) {
  CCommSettings& channel = Context().CommSettings();
  // No list was built: ver.1.1 needs none.
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kCameraLinkVer11, 115200, 1), 1);
  ExpectConversation(channel);
}

TEST_F(CameraLinkWithSimulatedCamera, Mode3_RateTheLibraryDoesNotList_NamesThePortInTheMessage) {
  ScopedVariable names("QXSIM_CL_MANUFACTURERS", "ACME");
  ScopedVariable ids("QXSIM_CL_PORT_IDS", "PORT0");
  ScopedVariable ports("QXSIM_CL_PORTS", "1");
  ScopedVariable mask("QXSIM_CL_BAUD_MASK", "1");
  CCommSettings& channel = Context().CommSettings();
  EXPECT_EQ(channel.OpenChannel(CCommSettings::kCameraLinkVer11, 115200, 0), 0);
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Selected baud rate is not supported in ACME - PORT0."}));
}

TEST_F(CameraLinkWithSimulatedCamera, Mode3_PortListAskedWhileOpen_KeepsTheOpenPortWorking) {
  AppContext& app = Context();
  CCommSettings& channel = app.CommSettings();
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kCameraLinkVer11, 9600, 0), 1);
  // The communication dialog refreshes its list while the channel is open.
  EXPECT_GE(channel.GetPortCount(), 1);
  EXPECT_TRUE(app.CameraLinkV11().IsLibraryLoaded());
  ExpectConversation(channel);
}

TEST_F(CameraLinkWithSimulatedCamera, ChangingMode_ClosesTheLibraryPortBeforeTheNextOpens) {
  AppContext& app = Context();
  CCommSettings& channel = app.CommSettings();
  ASSERT_EQ(channel.OpenChannel(CCommSettings::kCameraLinkVer11, 9600, 0), 1);
  channel.SetMode(CCommSettings::kCameraLink2001);
  ASSERT_GE(channel.GetPortCount(), 1);
  channel.SetMode(CCommSettings::kCameraLinkVer11);
  ASSERT_EQ(channel.OpenMode(CCommSettings::kCameraLink2001), 1);
  EXPECT_FALSE(app.CameraLinkV11().IsOpen());
  EXPECT_FALSE(app.CameraLinkV11().IsLibraryLoaded());
  ExpectConversation(channel);
}

}  // namespace
}  // namespace qx
