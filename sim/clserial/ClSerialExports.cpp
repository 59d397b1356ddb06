// The C entry points of the Camera Link serial test libraries. One source, built once per
// library generation:
//   QXSIM_CL_GEN_2000  the 2000 generation: clSerialInit/Read/Write/Close only
//   QXSIM_CL_GEN_2001  adds the manufacturer functions and the baud-rate functions
//   QXSIM_CL_GEN_V11   adds the port information, flush and byte-count functions
//   QXSIM_CL_NO_WRITE  leaves clSerialWrite out (a broken library for the transport tests)
// Nothing of C++ crosses the boundary: every entry catches everything and answers with a
// Camera Link error code.

#include <cstdint>
#include <exception>

#include "sim/ClSerialSim.h"

using qx::sim::ClSimConfig;
using qx::sim::ClSimLibrary;
namespace clerr = qx::sim::clerr;

#define QXSIM_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The library's one context: the C interface passes no context of its own, so the cameras
// of a loaded library live here, created on first use and gone when the library unloads.
ClSimLibrary& Library() {
  static ClSimLibrary library;
  return library;
}

template <typename F>
std::int32_t Guard(F&& body) {
  try {
    return body();
  } catch (...) {
    return clerr::kInvalidReference;
  }
}

template <typename F>
std::int32_t WithPort(void* ref, F&& body) {
  return Guard([&] {
    qx::sim::ClSimPort* port = Library().Port(ref);
    return port ? body(*port) : clerr::kInvalidReference;
  });
}

}  // namespace

QXSIM_EXPORT std::int32_t clSerialInit(std::uint32_t serialIndex, void** serialRef) {
  return Guard([&] { return Library().Init(serialIndex, serialRef); });
}

QXSIM_EXPORT std::int32_t clSerialRead(void* serialRef, char* buffer, std::uint32_t* numBytes,
                                       std::uint32_t timeoutMs) {
  return WithPort(serialRef, [&](auto& port) { return port.Read(buffer, numBytes, timeoutMs); });
}

#ifndef QXSIM_CL_NO_WRITE
QXSIM_EXPORT std::int32_t clSerialWrite(void* serialRef, char* buffer, std::uint32_t* numBytes,
                                        std::uint32_t /*timeoutMs*/) {
  return WithPort(serialRef, [&](auto& port) { return port.Write(buffer, numBytes); });
}
#endif

QXSIM_EXPORT void clSerialClose(void* serialRef) {
  try {
    Library().Close(serialRef);
  } catch (...) {
  }
}

#if defined(QXSIM_CL_GEN_2001) || defined(QXSIM_CL_GEN_V11)

QXSIM_EXPORT std::int32_t clGetSupportedBaudRates(void* serialRef, std::uint32_t* baudRateMask) {
  return WithPort(serialRef, [&](auto& port) { return port.SupportedBaudRates(baudRateMask); });
}

QXSIM_EXPORT std::int32_t clSetBaudRate(void* serialRef, std::uint32_t baudRateBit) {
  return WithPort(serialRef, [&](auto& port) { return port.SetBaudRate(baudRateBit); });
}

QXSIM_EXPORT std::int32_t clGetErrorText(std::int32_t errorCode, char* text,
                                         std::uint32_t* textSize) {
  return Guard([&] {
    const std::string message = qx::sim::ErrorText(errorCode);
    if (message.empty()) return clerr::kErrorNotFound;
    return qx::sim::CopyText(message, text, textSize);
  });
}

#endif

#ifdef QXSIM_CL_GEN_2001

QXSIM_EXPORT std::int32_t clGetNumManufacturers(std::uint32_t* count) {
  return Guard([&] {
    if (!count) return clerr::kInvalidReference;
    *count = static_cast<std::uint32_t>(ClSimConfig::FromEnvironment().manufacturers.size());
    return clerr::kNoError;
  });
}

QXSIM_EXPORT std::int32_t clGetManufacturer(std::uint32_t index, char* name,
                                            std::uint32_t* nameSize, std::uint32_t* version) {
  return Guard([&] {
    const ClSimConfig config = ClSimConfig::FromEnvironment();
    if (index >= config.manufacturers.size()) return clerr::kInvalidIndex;
    if (version) *version = 2;  // the standard's number for version 1.0 of the interface
    return qx::sim::CopyText(config.manufacturers[index], name, nameSize);
  });
}

QXSIM_EXPORT std::int32_t clSelectManufacturer(const char* name) {
  return Guard([&] { return Library().SelectManufacturer(name); });
}

QXSIM_EXPORT std::int32_t clGetNumSerialPorts(std::uint32_t* numPorts) {
  return Guard([&] {
    if (!numPorts) return clerr::kInvalidReference;
    *numPorts = ClSimConfig::FromEnvironment().ports;
    return clerr::kNoError;
  });
}

QXSIM_EXPORT std::int32_t clGetSerialPortIdentifier(std::uint32_t serialIndex, char* portId,
                                                    std::uint32_t* portIdSize) {
  return Guard([&] {
    const ClSimConfig config = ClSimConfig::FromEnvironment();
    if (serialIndex >= config.ports) return clerr::kInvalidIndex;
    return qx::sim::CopyText(config.PortId(serialIndex), portId, portIdSize);
  });
}

#endif

#ifdef QXSIM_CL_GEN_V11

QXSIM_EXPORT std::int32_t clFlushPort(void* serialRef) {
  return WithPort(serialRef, [&](auto& port) { return port.Flush(); });
}

QXSIM_EXPORT std::int32_t clGetNumBytesAvail(void* serialRef, std::uint32_t* numBytes) {
  return WithPort(serialRef, [&](auto& port) { return port.BytesAvailable(numBytes); });
}

QXSIM_EXPORT std::int32_t clGetNumPorts(std::uint32_t* numPorts) {
  return Guard([&] {
    if (!numPorts) return clerr::kInvalidReference;
    *numPorts = ClSimConfig::FromEnvironment().ports;
    return clerr::kNoError;
  });
}

QXSIM_EXPORT std::int32_t clGetPortInfo(std::uint32_t serialIndex, char* manufacturer,
                                        std::uint32_t* manufacturerSize, char* portId,
                                        std::uint32_t* portIdSize, std::uint32_t* version) {
  return Guard([&] {
    const ClSimConfig config = ClSimConfig::FromEnvironment();
    if (serialIndex >= config.ports) return clerr::kInvalidIndex;
    if (version) *version = 3;  // the standard's number for version 1.1 of the interface
    const std::int32_t a =
        qx::sim::CopyText(config.Manufacturer(serialIndex), manufacturer, manufacturerSize);
    const std::int32_t b = qx::sim::CopyText(config.PortId(serialIndex), portId, portIdSize);
    return a != clerr::kNoError ? a : b;
  });
}

#endif
