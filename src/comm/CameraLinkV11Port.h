#pragma once

#include "comm/CameraLinkPort.h"

namespace qx {

// The Camera Link serial library of version 1.1, `libclallserial.so`, found through the
// dynamic loader's search (LD_LIBRARY_PATH). It lists every serial port of every installed
// frame grabber as "<manufacturer> - <port id>" and opens a port by its index alone.
class CCameraLinkV11Port : public CameraLinkPort {
 public:
  static constexpr const char* kLibraryName = "libclallserial.so";

  // `library`: a file name for the loader's search, or a path.
  explicit CCameraLinkV11Port(ui::Desktop& desktop, std::string library = kLibraryName);
  ~CCameraLinkV11Port() override;

  int GetPortCount() override;
  int OpenPort(int portIndex) override;
  // Names the port in the not-supported message.
  int SetBaudRate(int baudRate) override;

 private:
  bool Load();
  void ForgetEntries() override;
  // "<manufacturer> - <port id>" as the library reports the port; empty when it cannot.
  std::string DescribePort(std::uint32_t index) const;

  std::string libraryName_;
  std::string openPortEntry_;
  cl::SetBaudRateFn* setBaudRate_ = nullptr;
  cl::FlushPortFn* flushPort_ = nullptr;
  cl::GetErrorTextFn* getErrorText_ = nullptr;
  cl::GetNumPortsFn* getNumPorts_ = nullptr;
  cl::GetNumBytesAvailFn* getNumBytesAvail_ = nullptr;
  cl::GetPortInfoFn* getPortInfo_ = nullptr;
  cl::GetSupportedBaudRatesFn* getSupportedBaudRates_ = nullptr;
};

}  // namespace qx
