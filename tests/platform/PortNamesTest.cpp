#include "platform/PortNames.h"

#include <gtest/gtest.h>

#include <map>

namespace qx::platform {
namespace {

EnvLookup Env(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
}

struct Slot {
  int index;
  const char* name;
  const char* device;
};

class DefaultPortMapping : public ::testing::TestWithParam<Slot> {};

TEST_P(DefaultPortMapping, IndexNamesTheComPortAndItsDevice) {
  const ComPortMap ports(Env({}));
  EXPECT_EQ(ComPortMap::PortName(GetParam().index), GetParam().name);
  EXPECT_EQ(ports.DevicePath(GetParam().name), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(
    Slots, DefaultPortMapping,
    ::testing::Values(Slot{0, "COM1", "/dev/ttyS0"}, Slot{7, "COM8", "/dev/ttyS7"},
                      Slot{8, "COM9", "/dev/ttyUSB0"}, Slot{23, "COM24", "/dev/ttyUSB15"},
                      Slot{24, "COM25", "/dev/ttyACM0"}, Slot{31, "COM32", "/dev/ttyACM7"}));

TEST(PortNames, IndexOutsideTheListIsNamedError) {
  EXPECT_EQ(ComPortMap::PortName(32), "ERROR");
  EXPECT_EQ(ComPortMap::PortName(-1), "ERROR");
}

TEST(PortNames, EnvironmentVariableOverridesOnePort) {
  const ComPortMap ports(Env({{"QXTOOL_COM1", "/dev/pts/7"}, {"QXTOOL_COM32", "/tmp/cam"}}));
  EXPECT_EQ(ports.DevicePath("COM1"), "/dev/pts/7");
  EXPECT_EQ(ports.DevicePath("COM32"), "/tmp/cam");
  EXPECT_EQ(ports.DevicePath("COM2"), "/dev/ttyS1");
}

TEST(PortNames, NamesThatAreNotComPortsHaveNoDevice) {
  const ComPortMap ports(Env({{"QXTOOL_COM0", "/dev/x"}, {"QXTOOL_COM33", "/dev/y"}}));
  for (const char* name : {"COM0", "COM33", "COM01", "COM1x", "ERROR", "com1", "COM", ""}) {
    EXPECT_EQ(ports.DevicePath(name), "") << name;
  }
}

}  // namespace
}  // namespace qx::platform
