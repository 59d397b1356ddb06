#include "app/RegistryStore.h"

#include <cctype>
#include <climits>

#include "platform/FileSystem.h"
#include "platform/LeadingInteger.h"

namespace qx {

namespace {

constexpr const char* kValueNames[CRegistryStore::kValueCount] = {
    "Previous Application Shutdown Status",
    "Communication Mode",
    "Baudrate",
    "Com Port No",
    "Cameralink 2000 Dll Index",
    "Cameralink 2001 Dll Index",
    "Cameralink Ver11 Dll Index",
    "Control Mode",
    "Camera File Path",
    "Command Log File Path",
};

// A value must fit the 512-byte buffer the store reads into; longer ones read as missing.
constexpr size_t kValueBufferSize = 512;
// The working directory offered in place of a missing path is cut to this many characters.
constexpr size_t kMaxPathText = 256;

std::string WorkingDirectoryText() {
  std::string cwd = platform::CurrentWorkingDirectory();
  if (cwd.size() > kMaxPathText) cwd.resize(kMaxPathText);
  return cwd;
}

}  // namespace

CRegistryStore::CRegistryStore(platform::RegistryHive& hive) : hive_(hive) {
  previousShutdownStatus_ = ReadInteger(kPreviousShutdownStatus, 0);
  WriteInteger(kPreviousShutdownStatus, 0);
}

CRegistryStore::~CRegistryStore() {
  WriteInteger(kPreviousShutdownStatus, 1);
}

const char* CRegistryStore::ValueName(int index) {
  return index >= 0 && index < kValueCount ? kValueNames[index] : nullptr;
}

bool CRegistryStore::OpenKey() const {
  if (hive_.KeyExists(kKeyPath)) return true;
  hive_.CreateKey(kKeyPath);
  return false;
}

int CRegistryStore::ReadInteger(int index, int defaultValue, bool* ok) const {
  if (ok) *ok = false;
  const char* name = ValueName(index);
  if (!name || !OpenKey()) return defaultValue;
  const auto value = hive_.Query(kKeyPath, name);
  if (!value) return defaultValue;
  // A text without a leading digit is no number at all and reads as missing rather than as 0,
  // so a damaged value can never turn into a baud rate of 0.
  std::optional<int> result;
  switch (value->type) {
    case platform::RegValue::Type::Dword:
      result = static_cast<int>(value->dword);
      break;
    case platform::RegValue::Type::String:
      if (value->text.size() < kValueBufferSize)
        result = platform::ParseLeadingInteger(value->text);
      break;
    case platform::RegValue::Type::Binary:
      if (value->bytes.size() <= kValueBufferSize) {
        result =
            platform::ParseLeadingInteger(std::string(value->bytes.begin(), value->bytes.end()));
      }
      break;
  }
  if (!result) return defaultValue;
  if (ok) *ok = true;
  return *result;
}

bool CRegistryStore::WriteInteger(int index, int value) {
  const char* name = ValueName(index);
  if (!name || !OpenKey()) return false;
  return hive_.Set(kKeyPath, name, platform::RegValue::MakeDword(static_cast<uint32_t>(value)));
}

std::string CRegistryStore::ReadString(int index, bool* ok) const {
  if (ok) *ok = false;
  const char* name = ValueName(index);
  if (!name || !OpenKey()) return WorkingDirectoryText();
  const auto value = hive_.Query(kKeyPath, name);
  if (!value || value->type != platform::RegValue::Type::String ||
      value->text.size() >= kValueBufferSize || !platform::PathExists(value->text)) {
    return WorkingDirectoryText();
  }
  if (ok) *ok = true;
  return value->text;
}

bool CRegistryStore::WriteString(int index, const std::string& text) {
  const char* name = ValueName(index);
  if (!name || !OpenKey()) return false;
  return hive_.Set(kKeyPath, name, platform::RegValue::MakeString(text));
}

}  // namespace qx
