#include "comm/ReplyParser.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

class ReplyParserTest : public ::testing::Test {
 protected:
  ReplyInfo Parse(std::string_view line, bool expectUsable = true) {
    ReplyInfo info;
    EXPECT_EQ(ParseReply(table_, line, info), expectUsable) << line;
    return info;
  }
  CommandTable table_;
};

TEST_F(ReplyParserTest, SpacesCarriageReturnsAndLineFeedsAreRemovedEverywhere) {
  const ReplyInfo info = Parse("G A = 1 2\r\n");
  EXPECT_EQ(info.rawLine, "GA=12");
  EXPECT_EQ(info.name, "GA");
  EXPECT_EQ(info.commandId, 80);
  EXPECT_EQ(info.value.integer, 12);
  EXPECT_EQ(info.valueCount, 1);
  EXPECT_FALSE(info.invalid);
}

TEST_F(ReplyParserTest, IntegerValuesAreDecimalOrAmpersandHHexadecimal) {
  EXPECT_EQ(Parse("GA=&H1F").value.integer, 31);
  EXPECT_EQ(Parse("GA=&h1f").value.integer, 31);  // upper-cased before conversion
  EXPECT_EQ(Parse("GA=31").value.integer, 31);
  EXPECT_EQ(Parse("GA=1F").value.integer, 1);
  EXPECT_EQ(Parse("BL=-133").value.integer, -133);
  EXPECT_EQ(Parse("GA=").value.integer, 0);
  EXPECT_EQ(Parse("GA=&HFFFFFFFF").value.integer, -1);
  EXPECT_EQ(Parse("GA=99999999999999999999").value.integer, 2147483647);
}

TEST_F(ReplyParserTest, TextValuesKeepTheWholeValueInUpperCase) {
  const ReplyInfo info = Parse("md=qx-4400m-rlnk");
  EXPECT_EQ(info.commandId, 4);
  EXPECT_EQ(info.value.kind, ValueKind::Text);
  EXPECT_EQ(info.value.text, "QX-4400M-RLNK");
  EXPECT_EQ(info.rawLine, "md=qx-4400m-rlnk");
}

TEST_F(ReplyParserTest, TwoValuesSplitAtTheFirstComma) {
  const ReplyInfo info = Parse("LUTR=12,345,7");
  EXPECT_EQ(info.valueCount, 2);
  EXPECT_EQ(info.firstValue, "12");
  EXPECT_EQ(info.secondValue, "345,7");
  EXPECT_EQ(info.firstAsInteger, 12);
}

TEST_F(ReplyParserTest, QuestionMarkLinesCarryAnArgumentOrNone) {
  const ReplyInfo withArgument = Parse("BMPXWR?05,3");
  EXPECT_EQ(withArgument.separator, '?');
  EXPECT_EQ(withArgument.firstValue, "05,3");  // commas are not looked at after '?'
  EXPECT_EQ(withArgument.valueCount, 1);
  EXPECT_EQ(Parse("GA?").valueCount, 0);
}

TEST_F(ReplyParserTest, DuplicatedMnemonicResolvesToTheLowerId) {
  EXPECT_EQ(Parse("ATCS=8").commandId, 87);
  EXPECT_EQ(Parse("SQLUT=1").commandId, 225);
}

TEST_F(ReplyParserTest, UnusableLinesAreInvalid) {
  EXPECT_TRUE(Parse("COMPLETE", false).invalid);
  EXPECT_TRUE(Parse("", false).invalid);
  const ReplyInfo unknown = Parse("XX=5", false);
  EXPECT_TRUE(unknown.invalid);
  EXPECT_EQ(unknown.commandId, -1);
  EXPECT_EQ(unknown.firstValue, "5");
  // The empty name takes part in the table search like any mnemonic.
  EXPECT_EQ(Parse("=5").commandId, 97);
}

TEST(ValueFormatting, RealValuesUseTheCommandsDecimalPlaces) {
  CommandValue v;
  v.real = 1.5;
  EXPECT_EQ(FormatValue(v, ValueKind::Real, 2), "1.50");
  v.integer = -42;
  EXPECT_EQ(FormatValue(v, ValueKind::Integer, 0), "-42");
  v.text = "5,100";
  EXPECT_EQ(FormatValue(v, ValueKind::Text, 0), "5,100");
}

TEST(ValueFormatting, AutomaticBaseReadsHexOctalAndDecimal) {
  EXPECT_EQ(ParseAutoBase("0x1F"), 31);
  EXPECT_EQ(ParseAutoBase("010"), 8);
  EXPECT_EQ(ParseAutoBase("345"), 345);
  EXPECT_EQ(ParseAutoBase(""), 0);
  EXPECT_EQ(ParseAutoBase("&H10"), 0);
  EXPECT_EQ(ParseAutoBase("-7"), -7);
}

}  // namespace
}  // namespace qx
