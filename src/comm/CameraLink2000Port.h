#pragma once

#include "comm/CameraLinkPort.h"
#include "platform/Environment.h"

namespace qx {

// Camera Link serial libraries of the 2000 generation: one library file per frame grabber,
// every `libclser*.so` and `clser*.so` in the folder named by $CLSERIALPATH (else
// kDefaultFolder). The port list shows the file names; a port's list index is also the
// serial index its library is initialised with. These libraries cannot report their rates:
// only 9600 bit/s is accepted.
class CCameraLink2000Port : public CameraLinkPort {
 public:
  static constexpr const char* kFolderVariable = "CLSERIALPATH";
  static constexpr const char* kDefaultFolder = "/usr/local/lib/clserial";

  explicit CCameraLink2000Port(ui::Desktop& desktop,
                               platform::EnvLookup env = platform::ProcessEnvironment());
  ~CCameraLink2000Port() override;

  // The folder searched for the libraries.
  std::string LibraryFolder() const;

  // Searches the folder again every time.
  int GetPortCount() override;
  int OpenPort(int portIndex) override;
  int SetBaudRate(int baudRate) override;

 private:
  void ForgetEntries() override {}

  platform::EnvLookup env_;
};

}  // namespace qx
