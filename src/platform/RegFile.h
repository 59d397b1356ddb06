#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::platform {

// One registry value as the Windows .reg text format stores it.
struct RegValue {
  enum class Type { Dword, String, Binary };
  Type type = Type::String;
  uint32_t dword = 0;          // Type::Dword
  std::string text;            // Type::String
  std::vector<uint8_t> bytes;  // Type::Binary (hex: and hex(n): values)

  static RegValue MakeDword(uint32_t value);
  static RegValue MakeString(std::string value);
  bool operator==(const RegValue&) const = default;
};

// The contents of a .reg file: keys in file order, each with its values by name. Parsing is
// forgiving: lines it does not understand (a truncated line, binary noise, a malformed value)
// are dropped, so a damaged file reads as missing values instead of failing as a whole, and
// the next write produces a clean file.
class RegFile {
 public:
  static constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

  static RegFile Parse(std::string_view text);
  std::string Serialize() const;

  bool HasKey(const std::string& key) const;
  void AddKey(const std::string& key);
  std::optional<RegValue> Get(const std::string& key, const std::string& name) const;
  // Adds the key when missing.
  void Set(const std::string& key, const std::string& name, RegValue value);

 private:
  struct Key {
    std::string path;
    std::vector<std::pair<std::string, RegValue>> values;  // file order
  };
  Key* Find(const std::string& key);
  const Key* Find(const std::string& key) const;

  std::vector<Key> keys_;
};

}  // namespace qx::platform
