// The Camera Link serial test libraries, loaded with dlopen and called through the same
// fixed-width signatures the tool uses.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace qx::sim {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

using InitFn = std::int32_t(std::uint32_t, void**);
using ReadFn = std::int32_t(void*, char*, std::uint32_t*, std::uint32_t);
using WriteFn = std::int32_t(void*, char*, std::uint32_t*, std::uint32_t);
using CloseFn = void(void*);
using GetBaudsFn = std::int32_t(void*, std::uint32_t*);
using SetBaudFn = std::int32_t(void*, std::uint32_t);
using ErrorTextFn = std::int32_t(std::int32_t, char*, std::uint32_t*);
using FlushFn = std::int32_t(void*);
using BytesAvailFn = std::int32_t(void*, std::uint32_t*);
using CountFn = std::int32_t(std::uint32_t*);
using PortInfoFn = std::int32_t(std::uint32_t, char*, std::uint32_t*, char*, std::uint32_t*,
                                std::uint32_t*);
using PortIdFn = std::int32_t(std::uint32_t, char*, std::uint32_t*);
using ManufacturerFn = std::int32_t(std::uint32_t, char*, std::uint32_t*, std::uint32_t*);
using SelectFn = std::int32_t(const char*);

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
 public:
  ScopedEnv(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      setenv(name, value, 1);
    }
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class Library {
 public:
  explicit Library(const std::string& path)
      : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (handle_) dlclose(handle_);
  }
  bool Loaded() const { return handle_ != nullptr; }
  template <typename F>
  F* Get(const char* name) const {
    return handle_ ? reinterpret_cast<F*>(dlsym(handle_, name)) : nullptr;
  }

 private:
  void* handle_;
};

// Talks to a port the way the tool does: the whole line in one write, then one byte at a
// time with 10 ms reads until the line feed or the time-out.
std::string Exchange(const Library& lib, void* ref, std::string line,
                     std::chrono::milliseconds timeout = 2s) {
  auto* write = lib.Get<WriteFn>("clSerialWrite");
  auto* read = lib.Get<ReadFn>("clSerialRead");
  std::uint32_t length = static_cast<std::uint32_t>(line.size());
  if (write(ref, line.data(), &length, 500) != 0) return "<write failed>";
  std::string reply;
  const auto deadline = Steady::now() + timeout;
  while (Steady::now() < deadline && (reply.empty() || reply.back() != '\n')) {
    char byte = 0;
    std::uint32_t count = 1;
    if (read(ref, &byte, &count, 10) == 0 && count == 1) reply += byte;
  }
  return reply;
}

const std::string kGen2000A = std::string(QXSIM_CL2000_DIR) + "/libclserSimA.so";
const std::string kGen2000B = std::string(QXSIM_CL2000_DIR) + "/libclserSimB.so";
const std::string kGen2001 = std::string(QXSIM_CL2001_DIR) + "/libclserial.so";
const std::string kGenV11 = std::string(QXSIM_CLV11_DIR) + "/libclallserial.so";
const std::string kNoWrite = std::string(QXSIM_CL2000_BROKEN_DIR) + "/libclserNoWrite.so";

TEST(ClSerial2000, BothLibrariesServeACameraThroughTheFourFunctions) {
  ScopedEnv env({{"QXSIM_OPTIONS", "--baud 115200"}});
  for (const std::string& path : {kGen2000A, kGen2000B}) {
    Library lib(path);
    ASSERT_TRUE(lib.Loaded()) << path << ": " << dlerror();
    for (const char* name : {"clSerialInit", "clSerialRead", "clSerialWrite", "clSerialClose"}) {
      EXPECT_NE(lib.Get<void>(name), nullptr) << name;
    }
    EXPECT_EQ(lib.Get<void>("clGetNumPorts"), nullptr) << "a 2000 library has no port list";
    void* ref = nullptr;
    ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(1, &ref), 0);
    EXPECT_EQ(Exchange(lib, ref, "MD?\r\n"), "MD=QX-4400M-RLNK\r\n");
    EXPECT_EQ(Exchange(lib, ref, "GA=250\r\n"), "COMPLETE\r\n");
    lib.Get<CloseFn>("clSerialClose")(ref);
  }
}

TEST(ClSerial2000, IndexOutsideThePortsOrListedAsFailingIsRefused) {
  ScopedEnv env({{"QXSIM_CL_PORTS", "3"}, {"QXSIM_CL_INIT_FAIL", "1"}});
  Library lib(kGen2000A);
  auto* init = lib.Get<InitFn>("clSerialInit");
  void* ref = nullptr;
  EXPECT_NE(init(3, &ref), 0);
  EXPECT_EQ(ref, nullptr);
  EXPECT_NE(init(1, &ref), 0);
  ASSERT_EQ(init(2, &ref), 0);
  lib.Get<CloseFn>("clSerialClose")(ref);
  ScopedEnv all({{"QXSIM_CL_INIT_FAIL", "all"}});
  EXPECT_NE(init(2, &ref), 0);
}

TEST(ClSerial2000, APortOpenTwiceIsInUse_CloseFreesIt) {
  Library lib(kGen2000A);
  auto* init = lib.Get<InitFn>("clSerialInit");
  void* first = nullptr;
  void* second = nullptr;
  ASSERT_EQ(init(0, &first), 0);
  EXPECT_NE(init(0, &second), 0);
  lib.Get<CloseFn>("clSerialClose")(first);
  EXPECT_EQ(init(0, &second), 0);
  lib.Get<CloseFn>("clSerialClose")(second);
}

TEST(ClSerial2000, TheCameraKeepsItsSettingsOverCloseAndReopen_NewOptionsMeanANewCamera) {
  ScopedEnv env({{"QXSIM_OPTIONS", "--baud 115200 --auto-ms 10"}});
  Library lib(kGen2000B);
  auto* init = lib.Get<InitFn>("clSerialInit");
  auto* close = lib.Get<CloseFn>("clSerialClose");
  void* ref = nullptr;
  ASSERT_EQ(init(0, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "GA=321\r\n"), "COMPLETE\r\n");
  close(ref);
  ASSERT_EQ(init(0, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "GA=321\r\n");
  close(ref);
  ScopedEnv other({{"QXSIM_OPTIONS", "--baud 115200 --model 8800"}});
  ASSERT_EQ(init(0, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(Exchange(lib, ref, "MD?\r\n"), "MD=QX-8800M-RLNK\r\n");
  close(ref);
}

TEST(ClSerial2000, ReadTimesOutAfterItsTimeWithNoBytes) {
  Library lib(kGen2000A);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(0, &ref), 0);
  char buffer[4];
  std::uint32_t count = 4;
  const auto t0 = Steady::now();
  EXPECT_NE(lib.Get<ReadFn>("clSerialRead")(ref, buffer, &count, 50), 0);
  const auto took = Steady::now() - t0;
  EXPECT_EQ(count, 0u);
  EXPECT_GE(took, 50ms);
  EXPECT_LT(took, 500ms);
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerial2000, RepliesArePacedAtTheBaudRate) {
  ScopedEnv env({{"QXSIM_OPTIONS", "--baud 9600"}});
  Library lib(kGen2000A);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(0, &ref), 0);
  Exchange(lib, ref, "GA?\r\n");
  const auto t0 = Steady::now();
  EXPECT_EQ(Exchange(lib, ref, "MD?\r\n"), "MD=QX-4400M-RLNK\r\n");
  const double took = std::chrono::duration<double>(Steady::now() - t0).count();
  const double wire = (5 + 18) * 10.0 / 9600;
  EXPECT_NEAR(took / wire, 1.0, 0.05) << took * 1e3 << " ms for " << wire * 1e3 << " ms";
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerial2000, SimulatorOptionsApply_LatencyAndFaults) {
  ScopedEnv env({{"QXSIM_OPTIONS", "--baud 115200 --latency 60 --error-every 2"}});
  Library lib(kGen2000A);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(1, &ref), 0);
  const auto t0 = Steady::now();
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "GA=100\r\n");
  EXPECT_GE(Steady::now() - t0, 60ms);
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "ERROR 02 Bad syntax\r\n");
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerial2000, HungUpLineFailsUntilReopened) {
  ScopedEnv env({{"QXSIM_OPTIONS", "--baud 115200 --hangup-after 1"}});
  Library lib(kGen2000A);
  auto* init = lib.Get<InitFn>("clSerialInit");
  void* ref = nullptr;
  ASSERT_EQ(init(0, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "GA=100\r\n");
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "<write failed>");
  lib.Get<CloseFn>("clSerialClose")(ref);
  ASSERT_EQ(init(0, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "GA=100\r\n");
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerial2000, ForeignReferencesAreRefused) {
  Library lib(kGen2000A);
  int notAPort = 0;
  char byte = 0;
  std::uint32_t count = 1;
  EXPECT_NE(lib.Get<ReadFn>("clSerialRead")(&notAPort, &byte, &count, 10), 0);
  EXPECT_NE(lib.Get<WriteFn>("clSerialWrite")(nullptr, &byte, &count, 10), 0);
  lib.Get<CloseFn>("clSerialClose")(&notAPort);  // must not crash
}

TEST(ClSerial2000Broken, LacksClSerialWriteOnly) {
  Library lib(kNoWrite);
  ASSERT_TRUE(lib.Loaded()) << dlerror();
  EXPECT_EQ(lib.Get<void>("clSerialWrite"), nullptr);
  EXPECT_NE(lib.Get<void>("clSerialInit"), nullptr);
  EXPECT_NE(lib.Get<void>("clSerialRead"), nullptr);
  EXPECT_NE(lib.Get<void>("clSerialClose"), nullptr);
}

TEST(ClSerial2001, ListsManufacturersSelectsOneAndOpensByIndex) {
  ScopedEnv env({{"QXSIM_CL_MANUFACTURERS", "ACME,QXSim"}, {"QXSIM_OPTIONS", "--baud 115200"}});
  Library lib(kGen2001);
  ASSERT_TRUE(lib.Loaded()) << dlerror();
  for (const char* name :
       {"clGetManufacturer", "clGetNumManufacturers", "clSelectManufacturer", "clGetNumSerialPorts",
        "clGetSerialPortIdentifier", "clSerialInit", "clSerialClose", "clSerialRead",
        "clSerialWrite", "clGetSupportedBaudRates", "clSetBaudRate", "clGetErrorText"}) {
    EXPECT_NE(lib.Get<void>(name), nullptr) << name;
  }
  std::uint32_t count = 0;
  ASSERT_EQ(lib.Get<CountFn>("clGetNumManufacturers")(&count), 0);
  EXPECT_EQ(count, 2u);
  char name[128];
  std::uint32_t size = sizeof name;
  std::uint32_t version = 0;
  ASSERT_EQ(lib.Get<ManufacturerFn>("clGetManufacturer")(1, name, &size, &version), 0);
  EXPECT_STREQ(name, "QXSim");
  EXPECT_NE(lib.Get<ManufacturerFn>("clGetManufacturer")(2, name, &size, &version), 0);
  EXPECT_NE(lib.Get<SelectFn>("clSelectManufacturer")("Nobody"), 0);
  ASSERT_EQ(lib.Get<SelectFn>("clSelectManufacturer")("QXSim"), 0);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(1, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "SBDRT?\r\n"), "SBDRT=31\r\n");
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerial2001, BaudRatesFollowTheMask) {
  ScopedEnv env({{"QXSIM_CL_BAUD_MASK", "15"}});
  Library lib(kGen2001);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(0, &ref), 0);
  std::uint32_t mask = 0;
  ASSERT_EQ(lib.Get<GetBaudsFn>("clGetSupportedBaudRates")(ref, &mask), 0);
  EXPECT_EQ(mask, 15u);
  EXPECT_EQ(lib.Get<SetBaudFn>("clSetBaudRate")(ref, 8), 0);
  EXPECT_NE(lib.Get<SetBaudFn>("clSetBaudRate")(ref, 16), 0) << "115200 is not offered";
  EXPECT_NE(lib.Get<SetBaudFn>("clSetBaudRate")(ref, 3), 0) << "not one rate";
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerial2001, ErrorTextsAndSmallBuffers) {
  Library lib(kGen2001);
  auto* text = lib.Get<ErrorTextFn>("clGetErrorText");
  char buffer[64];
  std::uint32_t size = sizeof buffer;
  ASSERT_EQ(text(-10004, buffer, &size), 0);
  EXPECT_STREQ(buffer, "Time-out");
  size = 3;
  EXPECT_EQ(text(-10004, buffer, &size), -10001);
  EXPECT_EQ(size, 9u) << "the room needed";
  size = sizeof buffer;
  EXPECT_EQ(text(12345, buffer, &size), -10007);
}

TEST(ClSerialV11, ListsPortsWithManufacturerAndIdAndServesThem) {
  ScopedEnv env({{"QXSIM_CL_PORTS", "3"},
                 {"QXSIM_CL_MANUFACTURERS", "ACME"},
                 {"QXSIM_CL_PORT_IDS", "PORT0,PORT1,PORT2"},
                 {"QXSIM_OPTIONS", "--baud 115200 --model 8800"}});
  Library lib(kGenV11);
  ASSERT_TRUE(lib.Loaded()) << dlerror();
  for (const char* name : {"clSerialInit", "clSerialClose", "clSetBaudRate", "clSerialRead",
                           "clSerialWrite", "clFlushPort", "clGetErrorText", "clGetNumPorts",
                           "clGetNumBytesAvail", "clGetPortInfo", "clGetSupportedBaudRates"}) {
    EXPECT_NE(lib.Get<void>(name), nullptr) << name;
  }
  std::uint32_t ports = 0;
  ASSERT_EQ(lib.Get<CountFn>("clGetNumPorts")(&ports), 0);
  EXPECT_EQ(ports, 3u);
  char manufacturer[128];
  char portId[128];
  std::uint32_t manufacturerSize = 128;
  std::uint32_t portIdSize = 128;
  std::uint32_t version = 0;
  ASSERT_EQ(lib.Get<PortInfoFn>("clGetPortInfo")(2, manufacturer, &manufacturerSize, portId,
                                                 &portIdSize, &version),
            0);
  EXPECT_STREQ(manufacturer, "ACME");
  EXPECT_STREQ(portId, "PORT2");
  EXPECT_NE(lib.Get<PortInfoFn>("clGetPortInfo")(3, manufacturer, &manufacturerSize, portId,
                                                 &portIdSize, &version),
            0);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(2, &ref), 0);
  EXPECT_EQ(Exchange(lib, ref, "WTC?\r\n"), "WTC=2064\r\n");
  lib.Get<CloseFn>("clSerialClose")(ref);
}

TEST(ClSerialV11, BytesAvailableCountsDueBytes_FlushDiscardsThem) {
  ScopedEnv env({{"QXSIM_OPTIONS", "--baud 115200"}});
  Library lib(kGenV11);
  void* ref = nullptr;
  ASSERT_EQ(lib.Get<InitFn>("clSerialInit")(0, &ref), 0);
  std::string line = "GA?\r\n";
  std::uint32_t length = static_cast<std::uint32_t>(line.size());
  std::uint32_t available = 0;
  ASSERT_EQ(lib.Get<WriteFn>("clSerialWrite")(ref, line.data(), &length, 500), 0);
  ASSERT_EQ(lib.Get<BytesAvailFn>("clGetNumBytesAvail")(ref, &available), 0);
  EXPECT_EQ(available, 0u) << "the reply is still on the wire";
  // The exchange needs 13 byte times (1.1 ms); the count cannot be waited on through the
  // interface without taking the bytes, so let far more than the wire time pass.
  std::this_thread::sleep_for(50ms);
  ASSERT_EQ(lib.Get<BytesAvailFn>("clGetNumBytesAvail")(ref, &available), 0);
  EXPECT_EQ(available, 8u);
  EXPECT_EQ(lib.Get<FlushFn>("clFlushPort")(ref), 0);
  ASSERT_EQ(lib.Get<BytesAvailFn>("clGetNumBytesAvail")(ref, &available), 0);
  EXPECT_EQ(available, 0u);
  EXPECT_EQ(Exchange(lib, ref, "GA?\r\n"), "GA=100\r\n") << "the line works after a flush";
  lib.Get<CloseFn>("clSerialClose")(ref);
}

}  // namespace
}  // namespace qx::sim
