#pragma once

#include "comm/CameraLinkPort.h"

namespace qx {

// The Camera Link serial library of the 2001 generation, `libclserial.so`, found through the
// dynamic loader's search (LD_LIBRARY_PATH). It serves the frame grabbers of several
// manufacturers; the port list shows the manufacturer names, and opening a port selects
// that manufacturer and initialises the serial index of the same number.
class CCameraLink2001Port : public CameraLinkPort {
 public:
  static constexpr const char* kLibraryName = "libclserial.so";

  // `library`: a file name for the loader's search, or a path.
  explicit CCameraLink2001Port(ui::Desktop& desktop, std::string library = kLibraryName);
  ~CCameraLink2001Port() override;

  int GetPortCount() override;
  int OpenPort(int portIndex) override;
  int SetBaudRate(int baudRate) override;

 private:
  // Loads the library (if not loaded yet) and resolves all its required functions.
  bool Load();
  void ForgetEntries() override;

  std::string libraryName_;
  cl::GetManufacturerFn* getManufacturer_ = nullptr;
  cl::GetNumManufacturersFn* getNumManufacturers_ = nullptr;
  cl::SelectManufacturerFn* selectManufacturer_ = nullptr;
  cl::GetNumSerialPortsFn* getNumSerialPorts_ = nullptr;
  cl::GetSerialPortIdentifierFn* getSerialPortIdentifier_ = nullptr;
  cl::GetSupportedBaudRatesFn* getSupportedBaudRates_ = nullptr;
  cl::SetBaudRateFn* setBaudRate_ = nullptr;
  cl::GetErrorTextFn* getErrorText_ = nullptr;
};

}  // namespace qx
