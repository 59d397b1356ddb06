#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/TrafficLog.h"
#include "model/CommandTable.h"
#include "platform/Environment.h"

namespace qx {

namespace platform {
class RegistryHive;
}
namespace ui {
class Desktop;
class WindowSystem;
}  // namespace ui
class CRegistryStore;
class CCommSettings;
class ControlMode;
class CSerialPort;
class CCameraLink2000Port;
class CCameraLink2001Port;
class CCameraLinkV11Port;
class TransportFactory;
class OnlineStatusNotifier;
class OnlineStatusReporter;
class ToolWindowList;
class CProgressBarDialog;
class Command;
class CommandChannel;
class ParameterTable;
class CameraModel;

struct AppOptions {
  // The registry file; empty means the default location (see RegistryHive::DefaultPath).
  std::string registryPath;
  // Where the transports find devices and the Camera Link folder ($QXTOOL_COMn,
  // $CLSERIALPATH); unset means the process environment.
  platform::EnvLookup environment;
  // The Camera Link libraries of the 2001 and 1.1 generations; empty means their standard
  // names through the dynamic loader's search.
  std::string cameraLink2001Library;
  std::string cameraLinkV11Library;
};

// Owns the program-wide single instances. Each is created on first use; destroying the context
// is the normal end of the program: the instances are destroyed in the reverse order of their
// creation, and their destruction writes the preferences back. Tests build a fresh context
// each, so no state leaks between them.
class AppContext {
 public:
  // The window system and the desktop (headless or Qt) outlive the context.
  AppContext(ui::WindowSystem& windows, ui::Desktop& desktop, AppOptions options = {});
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  // Fixed program data, present from the start.
  CommandTable& Commands() { return commands_; }
  ui::Desktop& Desktop() { return desktop_; }
  ui::WindowSystem& Windows() { return windows_; }
  TrafficLog& Traffic() { return traffic_; }

  platform::RegistryHive& Hive();
  CRegistryStore& Registry();
  CCommSettings& CommSettings();
  ControlMode& Mode();
  // The transports, one per communication mode; CommSettings() dispatches to them.
  CSerialPort& SerialPort();
  CCameraLink2000Port& CameraLink2000();
  CCameraLink2001Port& CameraLink2001();
  CCameraLinkV11Port& CameraLinkV11();

  // The shared window services.
  OnlineStatusNotifier& Notifier();
  ToolWindowList& ToolWindows();
  CProgressBarDialog& Progress();
  // The command protocol on the dispatcher's channel, reporting to the notifier.
  Command& Protocol();
  // The camera's settings and identity; the table exists from the start like the command
  // table, the model from its first identification.
  ParameterTable& Parameters();
  CameraModel& Model();

 private:
  template <class T, class Make>
  T& OnFirstUse(std::unique_ptr<T>& slot, Make make);

  ui::WindowSystem& windows_;
  ui::Desktop& desktop_;
  AppOptions options_;
  CommandTable commands_;
  TrafficLog traffic_;
  std::vector<std::function<void()>> destroyInReverse_;
  // Hands CommSettings() the transports above, each created when its mode is first used.
  std::unique_ptr<TransportFactory> transportFactory_;

  std::unique_ptr<platform::RegistryHive> hive_;
  std::unique_ptr<CRegistryStore> registry_;
  std::unique_ptr<CCommSettings> commSettings_;
  std::unique_ptr<ControlMode> controlMode_;
  std::unique_ptr<CSerialPort> serialPort_;
  std::unique_ptr<CCameraLink2000Port> cameraLink2000_;
  std::unique_ptr<CCameraLink2001Port> cameraLink2001_;
  std::unique_ptr<CCameraLinkV11Port> cameraLinkV11_;
  std::unique_ptr<OnlineStatusNotifier> notifier_;
  std::unique_ptr<ToolWindowList> toolWindows_;
  std::unique_ptr<CProgressBarDialog> progress_;
  std::unique_ptr<CommandChannel> protocolChannel_;
  std::unique_ptr<OnlineStatusReporter> protocolReporter_;
  std::unique_ptr<Command> protocol_;
  std::unique_ptr<ParameterTable> parameters_;
  std::unique_ptr<CameraModel> model_;
};

}  // namespace qx
