#pragma once

#include <string>
#include <vector>

#include "comm/CameraLinkApi.h"
#include "comm/Transport.h"
#include "platform/DynamicLibrary.h"

namespace qx {

namespace ui {
class Desktop;
}

// What the three Camera Link serial library generations have in common: the port list, the
// loaded library, the serial reference of the open port, and reading, writing and closing
// through clSerialRead / clSerialWrite / clSerialClose.
//
// All calls come from the window thread; nothing here starts a thread or takes a lock.
class CameraLinkPort : public Transport {
 public:
  ~CameraLinkPort() override;
  CameraLinkPort(const CameraLinkPort&) = delete;
  CameraLinkPort& operator=(const CameraLinkPort&) = delete;

  // Opens the port of the list (1 when open).
  virtual int OpenPort(int portIndex) = 0;
  // Sets the line rate of the open port (1 when set); shows the not-supported message.
  virtual int SetBaudRate(int baudRate) = 0;

  // Transport: open, then set the rate. A refused rate leaves the port open but fails.
  bool Open(int portIndex, int baudRate) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  // Asks the library for one byte, allowing it 10 ms, whatever the caller's count and
  // time-out: the caller repeats until its own time-out.
  int ReadSome(char* buffer, int maxCount, int timeoutMs) override;
  bool Write(const char* bytes, int count) override;
  // The entry of the list built by the latest GetPortCount, or "" outside the list.
  std::string GetPortName(int index) override;

  bool IsLibraryLoaded() const { return library_.IsLoaded(); }

 protected:
  explicit CameraLinkPort(ui::Desktop& desktop);

  // Shows an unsupported-rate message with an exclamation icon.
  void ShowMessage(const std::string& text);
  // The rate check of the generations that report their rates: clGetSupportedBaudRates,
  // then clSetBaudRate with the rate's bit. `notSupported` is shown when the rate is not
  // offered.
  int SetBaudRateThroughLibrary(int baudRate, cl::GetSupportedBaudRatesFn* getSupported,
                                cl::SetBaudRateFn* setRate, const std::string& notSupported);
  // Resolves the four serial entry points; false when one is missing.
  bool ResolveSerialEntries();
  // Calls clSerialInit; true and open when it returns 0.
  bool InitSerial(int serialIndex);
  // Drops the library and every entry point taken from it.
  void ReleaseLibrary();
  // The text a library wrote into one of our 128-byte buffers. A library that filled the
  // buffer without a terminating zero is read only up to the buffer's end.
  static std::string TextFrom(const char* buffer);

  // Library functions are only called while the library that exports them is loaded.
  ui::Desktop& desktop_;
  platform::DynamicLibrary library_;
  std::vector<std::string> ports_;

 private:
  virtual void ForgetEntries() = 0;

  cl::SerialInitFn* serialInit_ = nullptr;
  cl::SerialCloseFn* serialClose_ = nullptr;
  cl::SerialReadFn* serialRead_ = nullptr;
  cl::SerialWriteFn* serialWrite_ = nullptr;
  void* serialRef_ = nullptr;
  bool open_ = false;
};

}  // namespace qx
