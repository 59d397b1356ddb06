#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include <random>

namespace qx::platform {
namespace {

const std::string kKey = "HKEY_LOCAL_MACHINE\\Software\\KELDOR\\Tool";

TEST(RegFile, RoundTripsDwordStringAndBinaryValues) {
  RegFile file;
  file.Set(kKey, "Baudrate", RegValue::MakeDword(115200));
  file.Set(kKey, "Path", RegValue::MakeString("C:\\cams \"main\""));
  RegValue binary;
  binary.type = RegValue::Type::Binary;
  binary.bytes = {0x31, 0x32, 0x00, 0xff};
  file.Set(kKey, "Raw", binary);

  const std::string text = file.Serialize();
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
  EXPECT_NE(text.find("\"Baudrate\"=dword:0001c200"), std::string::npos);

  const RegFile back = RegFile::Parse(text);
  EXPECT_EQ(back.Get(kKey, "Baudrate"), RegValue::MakeDword(115200));
  EXPECT_EQ(back.Get(kKey, "Path"), RegValue::MakeString("C:\\cams \"main\""));
  EXPECT_EQ(back.Get(kKey, "Raw"), binary);
}

TEST(RegFile, KeyAndValueNamesCompareWithoutCase) {
  RegFile file = RegFile::Parse(
      "Windows Registry Editor Version 5.00\n\n[hkey_local_machine\\software\\keldor\\tool]\n"
      "\"baudrate\"=dword:00002580\n");
  EXPECT_TRUE(file.HasKey(kKey));
  EXPECT_EQ(file.Get(kKey, "Baudrate"), RegValue::MakeDword(9600));
}

TEST(RegFile, ReadsWindowsLineEndsAndContinuedHexLines) {
  RegFile file =
      RegFile::Parse("Windows Registry Editor Version 5.00\r\n\r\n[" + kKey +
                     "]\r\n\"Raw\"=hex:31,31,\\\r\n  35,32\r\n\"Mode\"=dword:00000001\r\n");
  ASSERT_TRUE(file.Get(kKey, "Raw"));
  EXPECT_EQ(file.Get(kKey, "Raw")->bytes, (std::vector<uint8_t>{0x31, 0x31, 0x35, 0x32}));
  EXPECT_EQ(file.Get(kKey, "Mode"), RegValue::MakeDword(1));
}

TEST(RegFile, DamagedLinesReadAsMissingValuesAndOthersSurvive) {
  RegFile file = RegFile::Parse("Windows Registry Editor Version 5.00\n\n[" + kKey +
                                "]\n"
                                "\"Truncated\"=dword:0000\n"  // short but valid hex
                                "\"Bad\"=dword:xyz\n"
                                "\"Open\"=\"no end\n"
                                "\"NoValue\"\n"
                                "garbage \x01\x02\xff\n"
                                "\"Good\"=dword:00000007\n"
                                "\"Cut\"=dwo");
  EXPECT_EQ(file.Get(kKey, "Truncated"), RegValue::MakeDword(0));
  EXPECT_FALSE(file.Get(kKey, "Bad"));
  EXPECT_FALSE(file.Get(kKey, "Open"));
  EXPECT_FALSE(file.Get(kKey, "NoValue"));
  EXPECT_FALSE(file.Get(kKey, "Cut"));
  EXPECT_EQ(file.Get(kKey, "Good"), RegValue::MakeDword(7));
  // Written again, only the sound values remain.
  const RegFile clean = RegFile::Parse(file.Serialize());
  EXPECT_EQ(clean.Serialize(), file.Serialize());
  EXPECT_EQ(clean.Serialize().find("garbage"), std::string::npos);
}

TEST(RegFile, ValuesOutsideAnyKeyAreIgnored) {
  RegFile file = RegFile::Parse("\"Orphan\"=dword:00000001\n[" + kKey + "]\n");
  EXPECT_TRUE(file.HasKey(kKey));
  EXPECT_FALSE(file.Get(kKey, "Orphan"));
}

TEST(RegFile, RandomBytesNeverCrashAndSerializeCleanly) {
  std::mt19937 random(12345);
  for (int round = 0; round < 300; ++round) {
    std::string noise(static_cast<size_t>(random() % 400), '\0');
    for (auto& c : noise) c = static_cast<char>(random() % 256);
    if (round % 3 == 0) noise = "[" + kKey + "]\n" + noise;
    const RegFile file = RegFile::Parse(noise);
    const std::string text = file.Serialize();
    EXPECT_EQ(RegFile::Parse(text).Serialize(), text);
  }
}

}  // namespace
}  // namespace qx::platform
