#pragma once

#include <cstdint>

namespace qx::cl {

// Entry points of the Camera Link serial libraries, declared with our own fixed-width types:
// the frame grabber vendors' headers disagree on int sizes, so none of them is trusted.
// Every function returns 0 on success.
using SerialInitFn = std::int32_t(std::uint32_t serialIndex, void** serialRef);
using SerialReadFn = std::int32_t(void* serialRef, char* buffer, std::uint32_t* numBytes,
                                  std::uint32_t timeoutMs);
using SerialWriteFn = std::int32_t(void* serialRef, char* buffer, std::uint32_t* numBytes,
                                   std::uint32_t timeoutMs);
using SerialCloseFn = void(void* serialRef);
using GetSupportedBaudRatesFn = std::int32_t(void* serialRef, std::uint32_t* baudRateMask);
using SetBaudRateFn = std::int32_t(void* serialRef, std::uint32_t baudRateBit);
using GetErrorTextFn = std::int32_t(std::int32_t errorCode, char* text, std::uint32_t* textSize);
using FlushPortFn = std::int32_t(void* serialRef);
using GetNumBytesAvailFn = std::int32_t(void* serialRef, std::uint32_t* numBytes);
using GetNumPortsFn = std::int32_t(std::uint32_t* numPorts);
using GetPortInfoFn = std::int32_t(std::uint32_t serialIndex, char* manufacturer,
                                   std::uint32_t* manufacturerSize, char* portId,
                                   std::uint32_t* portIdSize, std::uint32_t* version);
using GetNumSerialPortsFn = std::int32_t(std::uint32_t* numPorts);
using GetSerialPortIdentifierFn = std::int32_t(std::uint32_t serialIndex, char* portId,
                                               std::uint32_t* portIdSize);
using GetNumManufacturersFn = std::int32_t(std::uint32_t* count);
using GetManufacturerFn = std::int32_t(std::uint32_t index, char* name, std::uint32_t* nameSize,
                                       std::uint32_t* version);
using SelectManufacturerFn = std::int32_t(const char* name);

// Text buffers handed to the libraries for names and port ids.
constexpr std::uint32_t kTextBufferSize = 128;
// Each read asks the library for one byte and allows it this long.
constexpr std::uint32_t kReadTimeoutMs = 10;
constexpr std::uint32_t kWriteTimeoutMs = 500;

// The standard's baud-rate bit for a rate: 9600 -> 1, 19200 -> 2, ... 921600 -> 128;
// 0 for any other rate (supported by no library).
constexpr std::uint32_t BaudRateBit(int baudRate) {
  switch (baudRate) {
    case 9600:
      return 1;
    case 19200:
      return 2;
    case 38400:
      return 4;
    case 57600:
      return 8;
    case 115200:
      return 16;
    case 230400:
      return 32;
    case 460800:
      return 64;
    case 921600:
      return 128;
    default:
      return 0;
  }
}

}  // namespace qx::cl
