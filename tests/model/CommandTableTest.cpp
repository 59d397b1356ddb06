#include "model/CommandTable.h"

#include <gtest/gtest.h>

#include <set>

namespace qx {
namespace {

TEST(CommandTable, HoldsFourHundredFiftyOneMnemonicsInSixHundredFortyIds) {
  CommandTable table;
  int withMnemonic = 0;
  for (int id = 0; id < CommandTable::kCommandCount; ++id) {
    if (table.HasCameraCommand(id)) ++withMnemonic;
  }
  EXPECT_EQ(withMnemonic, 451);
  EXPECT_EQ(table.Mnemonic(0), "EB");
  EXPECT_EQ(table.Mnemonic(4), "MD");
  EXPECT_EQ(table.Mnemonic(230), "SQF1");
  EXPECT_EQ(table.Mnemonic(239), "SQF10");
  EXPECT_EQ(table.Mnemonic(369), "SQPGB10");
  EXPECT_EQ(table.Mnemonic(613), "FCBDRT");
  EXPECT_EQ(table.Mnemonic(639), "ALCR");
  EXPECT_EQ(table.Mnemonic(97), "");
}

TEST(CommandTable, DuplicatedMnemonicsResolveToTheLowerId) {
  CommandTable table;
  EXPECT_EQ(table.Mnemonic(87), "ATCS");
  EXPECT_EQ(table.Mnemonic(123), "ATCS");
  EXPECT_EQ(table.IdOfMnemonic("ATCS"), 87);
  EXPECT_EQ(table.Mnemonic(225), "SQLUT");
  EXPECT_EQ(table.Mnemonic(372), "SQLUT");
  EXPECT_EQ(table.IdOfMnemonic("SQLUT"), 225);
}

TEST(CommandTable, OnlyTwoMnemonicsAreDuplicated) {
  CommandTable table;
  std::multiset<std::string> seen;
  for (int id = 0; id < CommandTable::kCommandCount; ++id) {
    if (table.HasCameraCommand(id)) seen.insert(table.Mnemonic(id));
  }
  std::set<std::string> duplicated;
  for (const auto& m : seen) {
    if (seen.count(m) > 1) duplicated.insert(m);
  }
  EXPECT_EQ(duplicated, (std::set<std::string>{"ATCS", "SQLUT"}));
}

TEST(CommandTable, MnemonicSearchIsExactAndCaseSensitive) {
  CommandTable table;
  EXPECT_EQ(table.IdOfMnemonic("GA"), 80);
  EXPECT_EQ(table.IdOfMnemonic("ga"), -1);
  EXPECT_EQ(table.IdOfMnemonic("G"), -1);
  EXPECT_EQ(table.IdOfMnemonic("GAX"), -1);
  EXPECT_EQ(table.IdOfMnemonic("ERROR"), -1);
  // The empty text takes part in the search like any other mnemonic.
  EXPECT_EQ(table.IdOfMnemonic(""), 97);
}

TEST(CommandTable, FiveTextCommandsEverythingElseInteger) {
  CommandTable table;
  const std::set<int> text = {4, 5, 6, 388, 389};
  for (int id = 0; id < CommandTable::kCommandCount; ++id) {
    EXPECT_EQ(table.GetValueKind(id), text.count(id) ? ValueKind::Text : ValueKind::Integer)
        << "id " << id;
    EXPECT_EQ(table.DecimalPlaces(id), 0);
  }
}

TEST(CommandTable, ValueKindCanBeSwitchedAndRestored) {
  CommandTable table;
  table.SetValueKind(80, ValueKind::Text);
  EXPECT_EQ(table.GetValueKind(80), ValueKind::Text);
  table.SetValueKind(80, ValueKind::Integer);
  EXPECT_EQ(table.GetValueKind(80), ValueKind::Integer);
}

TEST(CommandTable, OutOfRangeIdsHaveNoCommand) {
  CommandTable table;
  EXPECT_FALSE(table.HasCameraCommand(-1));
  EXPECT_FALSE(table.HasCameraCommand(640));
  table.SetValueKind(640, ValueKind::Text);  // ignored, no crash
  EXPECT_EQ(table.GetValueKind(640), ValueKind::Integer);
}

}  // namespace
}  // namespace qx
