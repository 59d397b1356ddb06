#include "app/AppContext.h"

#include "app/ControlMode.h"
#include "app/NotifierReporter.h"
#include "app/OnlineStatusNotifier.h"
#include "app/ProgressBarDialog.h"
#include "app/ToolWindowList.h"
#include "comm/Command.h"
#include "comm/DispatcherChannel.h"
#include "features/CameraModel.h"
#include "model/ParameterTable.h"
#include "ui/WindowSystem.h"
#include "app/RegistryStore.h"
#include "comm/CameraLink2000Port.h"
#include "comm/CameraLink2001Port.h"
#include "comm/CameraLinkV11Port.h"
#include "comm/CommSettings.h"
#include "comm/SerialPort.h"
#include "platform/RegistryHive.h"

namespace qx {

namespace {

// The context's transports by communication mode. Asking for one creates it on first use,
// so it takes its place in the context's reverse destruction order.
class ContextTransports : public TransportFactory {
 public:
  explicit ContextTransports(AppContext& context) : context_(context) {}
  Transport* TransportFor(int mode) override {
    switch (mode) {
      case CCommSettings::kRs232c:
        return &context_.SerialPort();
      case CCommSettings::kCameraLink2000:
        return &context_.CameraLink2000();
      case CCommSettings::kCameraLink2001:
        return &context_.CameraLink2001();
      case CCommSettings::kCameraLinkVer11:
        return &context_.CameraLinkV11();
      default:
        return nullptr;
    }
  }

 private:
  AppContext& context_;
};

}  // namespace

AppContext::AppContext(ui::WindowSystem& windows, ui::Desktop& desktop, AppOptions options)
    : windows_(windows),
      desktop_(desktop),
      options_(std::move(options)),
      transportFactory_(std::make_unique<ContextTransports>(*this)) {
  if (!options_.environment) options_.environment = platform::ProcessEnvironment();
}

AppContext::~AppContext() {
  while (!destroyInReverse_.empty()) {
    auto destroy = std::move(destroyInReverse_.back());
    destroyInReverse_.pop_back();
    destroy();
  }
}

template <class T, class Make>
T& AppContext::OnFirstUse(std::unique_ptr<T>& slot, Make make) {
  if (!slot) {
    auto created = make();
    slot = std::move(created);
    destroyInReverse_.push_back([&slot] { slot.reset(); });
  }
  return *slot;
}

platform::RegistryHive& AppContext::Hive() {
  return OnFirstUse(hive_, [this] {
    return std::make_unique<platform::RegistryHive>(options_.registryPath.empty()
                                                        ? platform::RegistryHive::DefaultPath()
                                                        : options_.registryPath);
  });
}

CRegistryStore& AppContext::Registry() {
  return OnFirstUse(registry_, [this] { return std::make_unique<CRegistryStore>(Hive()); });
}

CCommSettings& AppContext::CommSettings() {
  return OnFirstUse(commSettings_, [this] {
    return std::make_unique<CCommSettings>(Registry(), *transportFactory_, traffic_);
  });
}

ControlMode& AppContext::Mode() {
  return OnFirstUse(controlMode_, [this] { return std::make_unique<ControlMode>(Registry()); });
}

CSerialPort& AppContext::SerialPort() {
  return OnFirstUse(serialPort_, [this] {
    return std::make_unique<CSerialPort>(desktop_, platform::ComPortMap(options_.environment));
  });
}

CCameraLink2000Port& AppContext::CameraLink2000() {
  return OnFirstUse(cameraLink2000_, [this] {
    return std::make_unique<CCameraLink2000Port>(desktop_, options_.environment);
  });
}

CCameraLink2001Port& AppContext::CameraLink2001() {
  return OnFirstUse(cameraLink2001_, [this] {
    return std::make_unique<CCameraLink2001Port>(desktop_, options_.cameraLink2001Library.empty()
                                                               ? CCameraLink2001Port::kLibraryName
                                                               : options_.cameraLink2001Library);
  });
}

CCameraLinkV11Port& AppContext::CameraLinkV11() {
  return OnFirstUse(cameraLinkV11_, [this] {
    return std::make_unique<CCameraLinkV11Port>(desktop_, options_.cameraLinkV11Library.empty()
                                                              ? CCameraLinkV11Port::kLibraryName
                                                              : options_.cameraLinkV11Library);
  });
}

OnlineStatusNotifier& AppContext::Notifier() {
  return OnFirstUse(notifier_,
                    [this] { return std::make_unique<OnlineStatusNotifier>(windows_.Resources()); });
}

ToolWindowList& AppContext::ToolWindows() {
  return OnFirstUse(toolWindows_, [this] { return std::make_unique<ToolWindowList>(windows_); });
}

CProgressBarDialog& AppContext::Progress() {
  return OnFirstUse(progress_,
                    [this] { return std::make_unique<CProgressBarDialog>(windows_, desktop_); });
}

Command& AppContext::Protocol() {
  return OnFirstUse(protocol_, [this] {
    protocolChannel_ = std::make_unique<DispatcherChannel>(CommSettings());
    protocolReporter_ = std::make_unique<NotifierReporter>(Notifier());
    return std::make_unique<Command>(commands_, *protocolChannel_, desktop_, *protocolReporter_,
                                     traffic_);
  });
}

ParameterTable& AppContext::Parameters() {
  return OnFirstUse(parameters_, [this] { return std::make_unique<ParameterTable>(desktop_); });
}

CameraModel& AppContext::Model() {
  return OnFirstUse(model_, [] { return std::make_unique<CameraModel>(); });
}

}  // namespace qx
