#include "platform/RegFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace qx::platform {

RegValue RegValue::MakeDword(uint32_t value) {
  RegValue v;
  v.type = Type::Dword;
  v.dword = value;
  return v;
}

RegValue RegValue::MakeString(std::string value) {
  RegValue v;
  v.type = Type::String;
  v.text = std::move(value);
  return v;
}

namespace {

// Key paths compare without regard to case, as the registry does.
bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Reads a quoted string starting at text[pos] == '"'; handles \\ and \" escapes. Returns the
// position after the closing quote, or npos when the string is not closed.
size_t ReadQuoted(std::string_view text, size_t pos, std::string& out) {
  out.clear();
  for (size_t i = pos + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      if (i + 1 >= text.size()) return std::string_view::npos;
      out.push_back(text[++i]);
    } else if (c == '"') {
      return i + 1;
    } else {
      out.push_back(c);
    }
  }
  return std::string_view::npos;
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text) {
  std::vector<uint8_t> bytes;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ',' || text[i] == ' ' || text[i] == '\\')) ++i;
    if (i >= text.size()) break;
    if (i + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return bytes;
}

std::optional<RegValue> ParseData(std::string_view data) {
  if (!data.empty() && data.front() == '"') {
    std::string text;
    const size_t end = ReadQuoted(data, 0, text);
    if (end != data.size()) return std::nullopt;
    return RegValue::MakeString(std::move(text));
  }
  if (data.rfind("dword:", 0) == 0) {
    const std::string_view digits = data.substr(6);
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
      return std::nullopt;
    }
    return RegValue::MakeDword(static_cast<uint32_t>(std::stoul(std::string(digits), nullptr, 16)));
  }
  if (data.rfind("hex", 0) == 0) {
    const size_t colon = data.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    auto bytes = ParseHexBytes(data.substr(colon + 1));
    if (!bytes) return std::nullopt;
    RegValue v;
    v.type = RegValue::Type::Binary;
    v.bytes = std::move(*bytes);
    return v;
  }
  return std::nullopt;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string Trim(std::string_view line) {
  size_t begin = 0;
  size_t end = line.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(line[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1]))) --end;
  return std::string(line.substr(begin, end - begin));
}

}  // namespace

RegFile RegFile::Parse(std::string_view text) {
  RegFile file;
  Key* current = nullptr;
  // Hex values may continue over several lines ending in a backslash.
  std::string pending;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line.back() == '\\') {
      line.pop_back();
      pending += line;
      if (pos <= text.size()) continue;
      line.clear();
    }
    if (!pending.empty()) {
      line = pending + line;
      pending.clear();
    }
    if (line.empty() || line[0] == ';' || line == kHeader) continue;
    if (line.front() == '[') {
      current = nullptr;
      if (line.back() != ']' || line.size() < 3 || line[1] == '-') continue;
      const std::string path = line.substr(1, line.size() - 2);
      file.AddKey(path);
      current = file.Find(path);
      continue;
    }
    if (current == nullptr || line.front() != '"') continue;
    std::string name;
    const size_t after = ReadQuoted(line, 0, name);
    if (after == std::string_view::npos || after >= line.size() || line[after] != '=') continue;
    auto value = ParseData(std::string_view(line).substr(after + 1));
    if (!value) continue;
    auto& values = current->values;
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const auto& entry) { return entry.first == name; });
    if (it != values.end()) {
      it->second = std::move(*value);
    } else {
      values.emplace_back(std::move(name), std::move(*value));
    }
  }
  return file;
}

std::string RegFile::Serialize() const {
  std::string out(kHeader);
  out += "\n";
  for (const auto& key : keys_) {
    out += "\n[" + key.path + "]\n";
    for (const auto& [name, value] : key.values) {
      out += Quote(name) + "=";
      switch (value.type) {
        case RegValue::Type::Dword: {
          char digits[16];
          std::snprintf(digits, sizeof digits, "dword:%08x", value.dword);
          out += digits;
          break;
        }
        case RegValue::Type::String:
          out += Quote(value.text);
          break;
        case RegValue::Type::Binary: {
          out += "hex:";
          for (size_t i = 0; i < value.bytes.size(); ++i) {
            char digits[4];
            std::snprintf(digits, sizeof digits, "%02x", value.bytes[i]);
            if (i) out += ",";
            out += digits;
          }
          break;
        }
      }
      out += "\n";
    }
  }
  return out;
}

RegFile::Key* RegFile::Find(const std::string& key) {
  for (auto& k : keys_) {
    if (SameKey(k.path, key)) return &k;
  }
  return nullptr;
}

const RegFile::Key* RegFile::Find(const std::string& key) const {
  for (const auto& k : keys_) {
    if (SameKey(k.path, key)) return &k;
  }
  return nullptr;
}

bool RegFile::HasKey(const std::string& key) const {
  return Find(key) != nullptr;
}

void RegFile::AddKey(const std::string& key) {
  if (!HasKey(key)) keys_.push_back(Key{key, {}});
}

std::optional<RegValue> RegFile::Get(const std::string& key, const std::string& name) const {
  const Key* k = Find(key);
  if (!k) return std::nullopt;
  for (const auto& [n, v] : k->values) {
    if (SameKey(n, name)) return v;
  }
  return std::nullopt;
}

void RegFile::Set(const std::string& key, const std::string& name, RegValue value) {
  AddKey(key);
  Key* k = Find(key);
  for (auto& [n, v] : k->values) {
    if (SameKey(n, name)) {
      v = std::move(value);
      return;
    }
  }
  k->values.emplace_back(name, std::move(value));
}

}  // namespace qx::platform
