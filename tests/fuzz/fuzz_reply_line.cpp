// Camera reply lines and setting-file lines go through the same parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "comm/ReplyParser.h"
#include "model/CommandTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qx::CommandTable table;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  qx::ReplyInfo info;
  qx::ParseReply(table, line, info);
  qx::ParseAutoBase(info.firstValue);
  qx::ParseAutoBase(info.secondValue);
  return 0;
}
