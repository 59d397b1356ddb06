#include "comm/CameraLink2000Port.h"

#include "platform/DirectorySearch.h"

namespace qx {

CCameraLink2000Port::CCameraLink2000Port(ui::Desktop& desktop, platform::EnvLookup env)
    : CameraLinkPort(desktop), env_(std::move(env)) {}

CCameraLink2000Port::~CCameraLink2000Port() {
  Close();
}

std::string CCameraLink2000Port::LibraryFolder() const {
  if (env_) {
    if (auto folder = env_(kFolderVariable)) return *folder;
  }
  return kDefaultFolder;
}

int CCameraLink2000Port::GetPortCount() {
  ports_ = platform::FindFiles(LibraryFolder(), {"libclser*.so", "clser*.so"});
  return static_cast<int>(ports_.size());
}

int CCameraLink2000Port::OpenPort(int portIndex) {
  Close();
  // The file comes from the list the latest count built: the index the operator chose
  // names the file shown to them, even if the folder changed since.
  const std::string file = GetPortName(portIndex);
  if (file.empty()) return 0;
  if (!library_.Load(LibraryFolder() + "/" + file) || !ResolveSerialEntries() ||
      !InitSerial(portIndex)) {
    ReleaseLibrary();
    return 0;
  }
  return 1;
}

int CCameraLink2000Port::SetBaudRate(int baudRate) {
  if (baudRate == 9600) return 1;
  ShowMessage("Selected baud rate is not supported.");
  return 0;
}

}  // namespace qx
