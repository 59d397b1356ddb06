#include "sim/CameraCore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CommandTable.h"

namespace qx::sim {
namespace {

using namespace std::chrono_literals;

class CameraCoreTest : public ::testing::Test {
 protected:
  explicit CameraCoreTest(std::string_view model = "4400")
      : core_(CameraConfig::ForModel(model), clock_) {}

  std::string Send(std::string_view line) { return core_.Execute(line).line; }
  std::string Error(CameraError e) { return CameraCore::ErrorLine(e); }

  ManualClock clock_;
  CameraCore core_;
};

class CameraCore8800Test : public CameraCoreTest {
 protected:
  CameraCore8800Test() : CameraCoreTest("8800") {}
};

TEST_F(CameraCoreTest, QueryAnswersMnemonicEqualsValue_SetAnswersComplete) {
  EXPECT_EQ(Send("GA?"), "GA=100");
  EXPECT_EQ(Send("GA=250"), "COMPLETE");
  EXPECT_EQ(Send("GA?"), "GA=250");
}

TEST_F(CameraCoreTest, LowerCaseAndSpacesAreAccepted_ReplyUsesUpperCaseMnemonic) {
  EXPECT_EQ(Send(" ga = 300 "), "COMPLETE");
  EXPECT_EQ(Send("ga?"), "GA=300");
}

TEST_F(CameraCoreTest, HexadecimalValuesAreAccepted) {
  EXPECT_EQ(Send("TI=&H10"), "COMPLETE");
  EXPECT_EQ(Send("TI?"), "TI=16");
}

TEST_F(CameraCoreTest, EveryMnemonicOfTheToolsCommandTableIsKnown) {
  const CommandTable table;
  for (int id = 0; id < CommandTable::kCommandCount; ++id) {
    const std::string& mnemonic = table.Mnemonic(id);
    if (mnemonic.empty()) continue;
    const std::string query = Send(mnemonic + "?");
    const std::string set = Send(mnemonic + "=0");
    EXPECT_NE(query, Error(CameraError::UnknownCommand)) << mnemonic;
    EXPECT_NE(set, Error(CameraError::UnknownCommand)) << mnemonic;
    core_.Execute("CRS00=1");  // undo whatever the set started
  }
}

TEST_F(CameraCoreTest, EveryReadableMnemonicAnswersWithItsOwnName) {
  const CommandTable table;
  for (int id = 0; id < CommandTable::kCommandCount; ++id) {
    const std::string& mnemonic = table.Mnemonic(id);
    if (mnemonic.empty()) continue;
    // LUT points and blemish positions are read entry by entry.
    const bool needsEntry = mnemonic == "LUTR" || mnemonic == "LUTG" || mnemonic == "LUTB";
    const bool blemish = mnemonic.rfind("BMP", 0) == 0;
    const std::string reply = Send(mnemonic + (needsEntry || blemish ? "?1" : "?"));
    if (reply == Error(CameraError::WriteOnly)) continue;
    EXPECT_EQ(reply.rfind(mnemonic + "=", 0), 0u) << mnemonic << " -> " << reply;
  }
}

struct RangeCase {
  const char* mnemonic;
  int initial;
  int min;
  int max;
};

class CameraRangeTest : public CameraCoreTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(CameraRangeTest, DefaultIsReadBack_EndsAreAccepted_BeyondEndsIsOutOfRange) {
  const RangeCase& c = GetParam();
  const std::string name = c.mnemonic;
  EXPECT_EQ(Send(name + "?"), name + "=" + std::to_string(c.initial));
  EXPECT_EQ(Send(name + "=" + std::to_string(c.min)), "COMPLETE");
  EXPECT_EQ(Send(name + "?"), name + "=" + std::to_string(c.min));
  EXPECT_EQ(Send(name + "=" + std::to_string(c.max)), "COMPLETE");
  EXPECT_EQ(Send(name + "?"), name + "=" + std::to_string(c.max));
  EXPECT_EQ(Send(name + "=" + std::to_string(c.min - 1)), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send(name + "=" + std::to_string(c.max + 1)), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send(name + "?"), name + "=" + std::to_string(c.max))
      << "a refused set changes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CameraRangeTest,
    ::testing::Values(RangeCase{"PGDEV", 1, 1, 4096}, RangeCase{"PGL0", 1, 1, 1048575},
                      RangeCase{"BL", 0, -133, 255}, RangeCase{"BLR1", 0, -64, 64},
                      RangeCase{"FGA", 100, 100, 800}, RangeCase{"FGR", 100, 47, 6400},
                      RangeCase{"AGCF", 30, 30, 95}, RangeCase{"ALCS", 4, 1, 8},
                      RangeCase{"CMVGG", 10, -20, 20}, RangeCase{"CEVALR", 0, 0, 10},
                      RangeCase{"TD", 0, 0, 500000}, RangeCase{"PE", 10000, 1, 8000000},
                      RangeCase{"HB", 1, 1, 2}, RangeCase{"CSQI", 1, 1, 128}),
    [](const auto& info) { return std::string(info.param.mnemonic); });

// The commands the tool's read-all queries, and the ones its camera setting files carry.
constexpr const char* kReadAll =
    "AGC AGCF AGCGA AGCGI ALCA ALCCC ALCCM ALCCR ALCHL ALCHML ALCHMR ALCHR ALCLL ALCLML "
    "ALCLMR ALCLR ALCMHL ALCMHML ALCMHMR ALCMHR ALCMLL ALCMLML ALCMLMR ALCMLR ALCR ALCS AR ASC "
    "ASCEA ASCEI AWB AWBA AWBHL AWBHML AWBHMR AWBHR AWBLL AWBLML AWBLMR AWBLR AWBMHL AWBMHML "
    "AWBMHMR AWBMHR AWBMLL AWBMLML AWBMLMR AWBMLR AWBS BA BL BLB1 BLR1 BMTHWB BMTHWG BMTHWR BMW "
    "CE0 CE1 CE2 CEVALB CEVALCY CEVALG CEVALMG CEVALR CEVALYL CLCF CLCFG CMVBB CMVBG CMVBR "
    "CMVGB CMVGG CMVGR CMVRB CMVRG CMVRR COLEN CSQI CTM CTRM CV0 CV1 CV2 EDGEN EDGLV EM ETM "
    "FCBDRT FGA FGB FGG FGR GMA HB HBM HTL IGM LI0 LI1 LS0 LS1 LUTC ND0IN1 ND0IN2 ND0INV1 "
    "ND0INV2 ND1IN1 ND1IN2 ND1INV1 ND1INV2 OFC OFL OPTFL PE PEB PEG PER PGB PGCM0 PGCM1 PGCM2 "
    "PGCM3 PGDEV PGEN0 PGEN1 PGEN2 PGEN3 PGIN0 PGIN1 PGIN2 PGIN3 PGINV0 PGINV1 PGINV2 PGINV3 "
    "PGL0 PGL1 PGL2 PGL3 PGR PGRPT0 PGRPT1 PGRPT2 PGRPT3 PGSM0 PGSM1 PGSM2 PGSM3 PGST0 PGST1 "
    "PGST2 PGST3 SDCM SDM SMRH1 SMRH2 SMRMD SMROH1 SMROH2 SMROV1 SMROV2 SMROX1 SMROX2 SMROY1 "
    "SMROY2 SMRW1 SMRW2 SQLUT SQM SQSEL SQSS TA TD TI TM TO TPN TRGOP USC0 USC1 USC2 USC3 VB "
    "VBM VPB VSM WTC";
constexpr const char* kSettingFile =
    "AGC AGCF AGCGA AGCGI ALCA ALCHL ALCHML ALCHMR ALCHR ALCLL ALCLML ALCLMR ALCLR ALCMHL "
    "ALCMHML ALCMHMR ALCMHR ALCMLL ALCMLML ALCMLMR ALCMLR ALCR ALCS AR ASC ASCEA ASCEI AWBA "
    "AWBHL AWBHML AWBHMR AWBHR AWBLL AWBLML AWBLMR AWBLR AWBMHL AWBMHML AWBMHMR AWBMHR AWBMLL "
    "AWBMLML AWBMLMR AWBMLR AWBS BA BL BLB1 BLR1 BMTHWB BMTHWG BMTHWR BMW CE0 CE1 CE2 CEVALB "
    "CEVALCY CEVALG CEVALMG CEVALR CEVALYL CLCF CLCFG CMVBB CMVBG CMVBR CMVGB CMVGG CMVGR CMVRB "
    "CMVRG CMVRR COLEN CSQI CTM CTRM EDGEN EDGLV EM ETM FCBDRT FGA FGB FGG FGR HB HBM HTL IGM "
    "ND0IN1 ND0IN2 ND0INV1 ND0INV2 ND1IN1 ND1IN2 ND1INV1 ND1INV2 OFC OFL OPTFL PE PEB PEG PER "
    "PGB PGCM0 PGCM1 PGCM2 PGCM3 PGDEV PGEN0 PGEN1 PGEN2 PGEN3 PGIN0 PGIN1 PGIN2 PGIN3 PGINV0 "
    "PGINV1 PGINV2 PGINV3 PGL0 PGL1 PGL2 PGL3 PGR PGRPT0 PGRPT1 PGRPT2 PGRPT3 PGSM0 PGSM1 PGSM2 "
    "PGSM3 PGST0 PGST1 PGST2 PGST3 SBDRT SMRH1 SMRH2 SMRMD SMROH1 SMROH2 SMROV1 SMROV2 SMROX1 "
    "SMROX2 SMROY1 SMROY2 SMRW1 SMRW2 TA TD TI TM TO TPN TRGOP VB VBM VSM WTC";

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  while (!text.empty()) {
    const auto space = text.find(' ');
    words.emplace_back(text.substr(0, space));
    text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
  }
  return words;
}

TEST_F(CameraCoreTest, EveryQueryOfTheToolsReadAllIsAnswered) {
  for (const std::string& mnemonic : Words(kReadAll)) {
    const std::string reply = Send(mnemonic + "?");
    EXPECT_EQ(reply.rfind(mnemonic + "=", 0), 0u) << reply;
  }
}

TEST_F(CameraCoreTest, EveryValueASettingFileCarriesIsAcceptedBack) {
  // A file saved from this camera and loaded into it again: every line is acknowledged.
  Send("OFL=100");
  Send("HTL=900");
  Send("HB=2");
  std::vector<std::string> lines;
  for (const std::string& mnemonic : Words(kSettingFile)) lines.push_back(Send(mnemonic + "?"));
  Send("CRS00=1");
  for (const std::string& line : lines) EXPECT_EQ(Send(line), "COMPLETE") << line;
  for (const std::string& line : lines) {
    EXPECT_EQ(Send(line.substr(0, line.find('=')) + "?"), line);
  }
}

TEST_F(CameraCoreTest, SupportedRatesAreReadOnlyButTheirOwnValueIsAcknowledged) {
  EXPECT_EQ(Send("SBDRT=31"), "COMPLETE");
  EXPECT_EQ(Send("SBDRT=255"), Error(CameraError::ReadOnly));
}

TEST_F(CameraCoreTest, ListValuesWithGapsRefuseTheGaps) {
  EXPECT_EQ(Send("TI=12"), "COMPLETE");
  EXPECT_EQ(Send("TI=5"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("GMA=55"), "COMPLETE");
  EXPECT_EQ(Send("GMA=56"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("PGIN1=11"), Error(CameraError::OutOfRange)) << "own output as input";
  EXPECT_EQ(Send("PGIN1=10"), "COMPLETE");
}

TEST_F(CameraCoreTest, UnknownMalformedAndBadValuesGetErrorLines) {
  EXPECT_EQ(Send("XYZZY?"), Error(CameraError::UnknownCommand));
  EXPECT_EQ(Send("GA"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("=5"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("?"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("GA="), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("GA=1.5"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("GA=12abc"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("GA=5,6"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("GA?5"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("GA=99999999999999999999999999"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("G A?"), Error(CameraError::UnknownCommand));
  EXPECT_EQ(Send(std::string("GA\x01?")), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("VN=5"), Error(CameraError::ReadOnly));
  EXPECT_EQ(Send("SA?"), Error(CameraError::WriteOnly));
  EXPECT_EQ(Send("GA?"), "GA=100") << "errors leave the settings alone";
}

TEST_F(CameraCoreTest, ErrerReportsTheLastErrorNumber) {
  EXPECT_EQ(Send("ERRER?"), "ERRER=0");
  Send("NOPE?");
  EXPECT_EQ(Send("ERRER?"), "ERRER=1");
}

TEST_F(CameraCoreTest, TextCommandsKeepTheirText) {
  EXPECT_EQ(Send("MD?"), "MD=QX-4400M-RLNK");
  EXPECT_EQ(Send("UD=Line 3 left"), "COMPLETE");
  EXPECT_EQ(Send("UD?"), "UD=Line 3 left");
  EXPECT_EQ(Send("UD=12345678901234567"), Error(CameraError::OutOfRange)) << "17 characters";
  EXPECT_EQ(Send("UD=1234567890123456"), "COMPLETE");
  EXPECT_EQ(Send("DV=1.0.2.7"), "COMPLETE");
  EXPECT_EQ(Send("DV?"), "DV=1.0.2.7");
  EXPECT_EQ(Send("MD=QX-8800M-RLNK"), Error(CameraError::ReadOnly));
  EXPECT_EQ(Send("MD00=QX-8800M-RLNK"), "COMPLETE");
  EXPECT_EQ(Send("MD?"), "MD=QX-8800M-RLNK");
}

TEST_F(CameraCoreTest, CameraIdNeedsTheUnlockCodeForEachWrite) {
  const std::string original = Send("ID?");
  EXPECT_EQ(Send("ID=AB12345678"), Error(CameraError::Locked));
  EXPECT_EQ(Send("ULCK=1234"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("ID=AB12345678"), Error(CameraError::Locked));
  EXPECT_EQ(Send("ID?"), original);
  EXPECT_EQ(Send("ULCK=5813207"), "COMPLETE");
  EXPECT_EQ(Send("ID=AB12345678"), "COMPLETE");
  EXPECT_EQ(Send("ID?"), "ID=AB12345678");
  EXPECT_EQ(Send("ID=CD12345678"), Error(CameraError::Locked)) << "the unlock is spent";
}

TEST_F(CameraCoreTest, SequencerEntriesAreIndexed1To128AndIndependent) {
  EXPECT_EQ(Send("SQW3=1024"), "COMPLETE");
  EXPECT_EQ(Send("SQW3?"), "SQW3=1024");
  EXPECT_EQ(Send("SQW4?"), "SQW4=1456");
  EXPECT_EQ(Send("SQPER128=500"), "COMPLETE");
  EXPECT_EQ(Send("SQPER128?"), "SQPER128=500");
  EXPECT_EQ(Send("SQW129?"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("SQW0?"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("SQNI5?"), "SQNI5=6");
  EXPECT_EQ(Send("SQNI128?"), "SQNI128=1") << "the last entry loops to the first";
}

TEST_F(CameraCoreTest, UnindexedSequencerCommandsActOnTheCurrentEntry) {
  EXPECT_EQ(Send("CSQI=7"), "COMPLETE");
  EXPECT_EQ(Send("SQGA=300"), "COMPLETE");
  EXPECT_EQ(Send("SQGA7?"), "SQGA7=300");
  EXPECT_EQ(Send("SQGA?"), "SQGA=300");
}

TEST_F(CameraCoreTest, SequencerBinningHalvesTheEntrysRegion) {
  EXPECT_EQ(Send("SQHB2=2"), "COMPLETE");
  EXPECT_EQ(Send("SQW2?"), "SQW2=728");
  EXPECT_EQ(Send("SQW2=729"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("SQW2=48"), "COMPLETE");
  EXPECT_EQ(Send("SQOX2=680"), "COMPLETE");
  EXPECT_EQ(Send("SQOX2=700"), Error(CameraError::OutOfRange)) << "would leave 28 columns";
  EXPECT_EQ(Send("SQW2?"), "SQW2=48");
}

TEST_F(CameraCoreTest, SequencerOffsetThatLeavesNoRoomIsRefused) {
  EXPECT_EQ(Send("SQOX1=1400"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("SQOX1=1360"), "COMPLETE");
  EXPECT_EQ(Send("SQW1?"), "SQW1=96");
  EXPECT_EQ(Send("SQW1=1456"), "COMPLETE");
  EXPECT_EQ(Send("SQOX1?"), "SQOX1=0") << "a full-width entry moves the offset back";
}

TEST_F(CameraCoreTest, RegionStaysOnTheSensor) {
  EXPECT_EQ(Send("WTC?"), "WTC=1456");
  EXPECT_EQ(Send("HTL?"), "HTL=1088");
  EXPECT_EQ(Send("WTC=1457"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("OFC=400"), "COMPLETE");
  EXPECT_EQ(Send("WTC?"), "WTC=1056");
  EXPECT_EQ(Send("WTC=1200"), "COMPLETE");
  EXPECT_EQ(Send("OFC?"), "OFC=256");
  EXPECT_EQ(Send("HTL=2"), "COMPLETE");
  EXPECT_EQ(Send("HTL=1"), Error(CameraError::OutOfRange));
}

TEST_F(CameraCoreTest, BinningHalvesTheRegionAndItsLimits) {
  EXPECT_EQ(Send("HB=2"), "COMPLETE");
  EXPECT_EQ(Send("WTC?"), "WTC=728");
  EXPECT_EQ(Send("WTC=729"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("WTC=48"), "COMPLETE");
  EXPECT_EQ(Send("HB=1"), "COMPLETE");
  EXPECT_EQ(Send("WTC?"), "WTC=96");
}

TEST_F(CameraCoreTest, SmallSensorNeedsThreeMicrosecondsExposureWhenBinnedBothWays) {
  EXPECT_EQ(Send("PE=1"), "COMPLETE");
  Send("HB=2");
  Send("VB=2");
  EXPECT_EQ(Send("PE=2"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("PE=3"), "COMPLETE");
}

TEST_F(CameraCore8800Test, LargeSensorHasItsOwnLimitsNoMultiRoiAndNoBinnedExposureLimit) {
  EXPECT_EQ(Send("MD?"), "MD=QX-8800M-RLNK");
  EXPECT_EQ(Send("WTC?"), "WTC=2064");
  EXPECT_EQ(Send("HTL?"), "HTL=1544");
  EXPECT_EQ(Send("HTL=1544"), "COMPLETE");
  EXPECT_EQ(Send("BMPXWR=1,2063"), "COMPLETE");
  EXPECT_EQ(Send("BMPXWR=1,2064"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("SMRW1?"), Error(CameraError::UnknownCommand));
  Send("HB=2");
  Send("VB=2");
  EXPECT_EQ(Send("PE=1"), "COMPLETE");
  EXPECT_EQ(Send("SBDRT?"), "SBDRT=127");
}

TEST_F(CameraCoreTest, SmallSensorHasMultiRoiAndBlemishLimitsOfItsSize) {
  EXPECT_EQ(Send("SMRW1?"), "SMRW1=1456");
  EXPECT_EQ(Send("SMROX1=1440"), "COMPLETE");
  EXPECT_EQ(Send("SMRW1?"), "SMRW1=16");
  EXPECT_EQ(Send("BMPXWR=1,1455"), "COMPLETE");
  EXPECT_EQ(Send("BMPXWR=1,1456"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("BMPYWR=1,1088"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("SBDRT?"), "SBDRT=31");
}

TEST(CameraCoreModel, AnyOtherNameIsReportedWithTheLargeSensor) {
  ManualClock clock;
  CameraCore core(CameraConfig::ForModel("QX-1234C-TEST"), clock);
  EXPECT_EQ(core.Execute("MD?").line, "MD=QX-1234C-TEST");
  EXPECT_EQ(core.Execute("WTC?").line, "WTC=2064");
  EXPECT_EQ(core.Execute("SMRW1?").line, "SMRW1=2064") << "the tool reads it from such a camera";
}

TEST_F(CameraCoreTest, QueryWithArgumentAndTwoValueSetAddressBlemishEntries) {
  EXPECT_EQ(Send("BMPXWR?5"), "BMPXWR=-1");
  EXPECT_EQ(Send("BMPXWR=5,100"), "COMPLETE");
  EXPECT_EQ(Send("BMPYWR=5,200"), "COMPLETE");
  EXPECT_EQ(Send("BMPXWR?5"), "BMPXWR=100");
  EXPECT_EQ(Send("BMPXWR?05"), "BMPXWR=100") << "the number as typed, leading zero and all";
  EXPECT_EQ(Send("BMPYWR?5"), "BMPYWR=200");
  EXPECT_EQ(Send("BMPXWG?5"), "BMPXWG=-1") << "each colour has its own table";
  EXPECT_EQ(Send("BNUMR?"), "BNUMR=1");
  EXPECT_EQ(Send("BMPXWR?0"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("BMPXWR?201"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("BMPXWR?"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("BMPXWR=5"), Error(CameraError::BadSyntax));
  EXPECT_EQ(Send("BMCLRR=5"), "COMPLETE");
  EXPECT_EQ(Send("BMPXWR?5"), "BMPXWR=-1");
  EXPECT_EQ(Send("BNUMR?"), "BNUMR=0");
}

TEST_F(CameraCoreTest, BlemishRecalibrationFindsDefectsAndStoreKeepsThemOverAReset) {
  EXPECT_EQ(Send("BMRCW=1"), "COMPLETE");
  const std::string found = Send("BNUM?");
  EXPECT_NE(found, "BNUM=0");
  Send("CRS00=1");
  EXPECT_EQ(Send("BNUM?"), "BNUM=0") << "not stored yet";
  Send("BMRCW=1");
  EXPECT_EQ(Send("BMS=1"), "COMPLETE");
  Send("CRS00=1");
  EXPECT_EQ(Send("BNUM?"), found);
}

TEST_F(CameraCoreTest, LutPointsTakeIndexAndValue) {
  EXPECT_EQ(Send("LUTR?12"), "LUTR=192");
  EXPECT_EQ(Send("LUTR=12,345"), "COMPLETE");
  EXPECT_EQ(Send("LUTR?12"), "LUTR=345");
  EXPECT_EQ(Send("LUTG?12"), "LUTG=192");
  EXPECT_EQ(Send("LUTR?256"), "LUTR=4095");
  EXPECT_EQ(Send("LUTR=257,1"), Error(CameraError::OutOfRange));
  EXPECT_EQ(Send("LUTR=1,4096"), Error(CameraError::OutOfRange));
}

TEST_F(CameraCoreTest, LutTableTakes32ConsecutiveSetsAndGivesThemBackIn32Queries) {
  for (int i = 0; i < 32; ++i) {
    ASSERT_EQ(Send("LUTSG=" + std::to_string(4000 - i * 100)), "COMPLETE") << i;
  }
  for (int i = 0; i < 32; ++i) {
    ASSERT_EQ(Send("LUTSG?"), "LUTSG=" + std::to_string(4000 - i * 100)) << i;
  }
  EXPECT_EQ(Send("LUTSR?"), "LUTSR=0") << "the other channels keep their tables";
  EXPECT_EQ(Send("LUTSG=4096"), Error(CameraError::OutOfRange));
}

TEST_F(CameraCoreTest, AnyOtherLineRestartsALutTableRunAtEntryZero) {
  Send("LUTSB=11");
  Send("LUTSB=22");
  Send("GA?");
  Send("LUTSB=33");
  EXPECT_EQ(Send("LUTSB?"), "LUTSB=33");
  EXPECT_EQ(Send("LUTSB?"), "LUTSB=22");
}

TEST_F(CameraCoreTest, ExposureAutoOnceIsBusyThenConvergesAndReturnsToOff) {
  EXPECT_EQ(Send("ATCS?"), "ATCS=255");
  Send("ASCEA=50000");
  EXPECT_EQ(Send("ASC=2"), "COMPLETE");
  EXPECT_EQ(Send("ATCS?"), "ATCS=4");
  clock_.Advance(1000ms);
  EXPECT_EQ(Send("ATCS?"), "ATCS=4");
  clock_.Advance(600ms);
  EXPECT_EQ(Send("ATCS?"), "ATCS=8");
  EXPECT_EQ(Send("ASC?"), "ASC=0");
  EXPECT_EQ(Send("PE?"), "PE=12000");
}

TEST_F(CameraCoreTest, GainAutoOnceUsesTheSameStatusAndStaysInsideItsLimits) {
  Send("AGCGA=150");
  EXPECT_EQ(Send("AGC=2"), "COMPLETE");
  EXPECT_EQ(Send("ATCS?"), "ATCS=4");
  clock_.Advance(2s);
  EXPECT_EQ(Send("ATCS?"), "ATCS=8");
  EXPECT_EQ(Send("FGA?"), "FGA=150");
  EXPECT_EQ(Send("AGC?"), "AGC=0");
}

TEST_F(CameraCoreTest, WhiteBalanceOnceIsBusyThenCompletes) {
  EXPECT_EQ(Send("AWB=2"), "COMPLETE");
  EXPECT_EQ(Send("AWRS?"), "AWRS=4");
  clock_.Advance(2s);
  EXPECT_EQ(Send("AWRS?"), "AWRS=0");
  EXPECT_EQ(Send("PGR?"), "PGR=104");
  EXPECT_EQ(Send("AWB?"), "AWB=0");
}

TEST_F(CameraCoreTest, WhiteBalanceByExposureMovesRedAndBlueExposure) {
  Send("PE=10000");
  EXPECT_EQ(Send("AWB=4"), "COMPLETE");
  EXPECT_EQ(Send("AWRS?"), "AWRS=4");
  clock_.Advance(2s);
  EXPECT_EQ(Send("AWRS?"), "AWRS=0");
  EXPECT_EQ(Send("PER?"), "PER=10400");
  EXPECT_EQ(Send("PEB?"), "PEB=9600");
}

TEST_F(CameraCoreTest, WhiteBalancePresetCompletesAtOnce) {
  EXPECT_EQ(Send("AWB=5"), "COMPLETE");
  EXPECT_EQ(Send("AWRS?"), "AWRS=0");
  EXPECT_EQ(Send("PGB?"), "PGB=108");
}

TEST_F(CameraCoreTest, ContinuousAutoKeepsItsModeAndReportsInAlcStatus) {
  Send("ASC=1");
  EXPECT_EQ(Send("ALCST?"), "ALCST=2");
  clock_.Advance(2s);
  EXPECT_EQ(Send("ATCS?"), "ATCS=8");
  EXPECT_EQ(Send("ASC?"), "ASC=1");
  Send("ASC=0");
  Send("AGC=1");
  EXPECT_EQ(Send("ALCST?"), "ALCST=3");
}

TEST_F(CameraCoreTest, UserSetsStoreAndLoadAllSettings) {
  Send("GA=321");
  Send("SQW9=800");
  Send("LUTR=3,999");
  const CameraReply store = core_.Execute("SA=2");
  EXPECT_EQ(store.line, "COMPLETE");
  EXPECT_GT(store.processing, Duration::zero()) << "a flash write takes time";
  Send("GA=100");
  Send("SQW9=1456");
  EXPECT_EQ(Send("LD=2"), "COMPLETE");
  EXPECT_EQ(Send("GA?"), "GA=321");
  EXPECT_EQ(Send("SQW9?"), "SQW9=800");
  EXPECT_EQ(Send("LUTR?3"), "LUTR=999");
  EXPECT_EQ(Send("LD=1"), "COMPLETE");
  EXPECT_EQ(Send("GA?"), "GA=100") << "user set 1 still holds the factory settings";
  EXPECT_EQ(Send("SA=0"), Error(CameraError::OutOfRange)) << "the factory area needs SA00";
  EXPECT_EQ(Send("LD=4"), Error(CameraError::OutOfRange));
}

TEST_F(CameraCoreTest, FactoryAreaIsWhatTheCameraBootsFrom) {
  Send("GA=222");
  EXPECT_EQ(Send("SA00=0"), "COMPLETE");
  Send("GA=333");
  EXPECT_EQ(Send("CRS00=1"), "COMPLETE");
  EXPECT_EQ(Send("GA?"), "GA=222");
}

TEST_F(CameraCoreTest, ResetDropsUnsavedSettingsAndRunningAutoFunctions) {
  Send("GA=444");
  Send("ASC=2");
  EXPECT_EQ(Send("CRS00=1"), "COMPLETE");
  EXPECT_EQ(Send("GA?"), "GA=100");
  EXPECT_EQ(Send("ATCS?"), "ATCS=255");
}

TEST_F(CameraCoreTest, NonVolatileMemorySurvivesACameraRebuiltFromIt) {
  Send("GA=555");
  Send("SA=3");
  Send("UD=kept");
  Send("XMLVR=123");
  for (int i = 0; i < 32; ++i) Send("LUTSR=" + std::to_string(i * 3));
  Send("SA=1");
  const std::string memory = core_.SaveNonVolatile();

  ManualClock clock;
  CameraCore restarted(CameraConfig::ForModel("4400"), clock);
  ASSERT_TRUE(restarted.LoadNonVolatile(memory));
  EXPECT_EQ(restarted.Execute("GA?").line, "GA=100");
  EXPECT_EQ(restarted.Execute("UD?").line, "UD=kept");
  EXPECT_EQ(restarted.Execute("XMLVR?").line, "XMLVR=123");
  EXPECT_EQ(restarted.Execute("LD=3").line, "COMPLETE");
  EXPECT_EQ(restarted.Execute("GA?").line, "GA=555");
  restarted.Execute("LD=1");
  restarted.Execute("LUTSR?");
  EXPECT_EQ(restarted.Execute("LUTSR?").line, "LUTSR=3");
}

TEST_F(CameraCoreTest, NonVolatileGenerationMovesOnlyOnFlashWrites) {
  const auto before = core_.NonVolatileGeneration();
  Send("GA=200");
  Send("GA?");
  EXPECT_EQ(core_.NonVolatileGeneration(), before);
  Send("SA=1");
  EXPECT_NE(core_.NonVolatileGeneration(), before);
}

TEST_F(CameraCoreTest, DamagedNonVolatileMemoryIsRefusedOrSkippedLineByLine) {
  EXPECT_FALSE(core_.LoadNonVolatile("garbage\narea 1 GA 300\n"));
  EXPECT_FALSE(core_.LoadNonVolatile(""));
  EXPECT_TRUE(core_.LoadNonVolatile(
      "qxcam-sim state 1\narea 1 GA 300\narea 1 GA 99999\narea 9 GA 5\narea 1 WTC 5000\n"
      "area x\nud \x01\x02\nblemish 7 1 1,1\narea 1 LUTSR 1,2\narea 1 SMROH1 5\n"
      "area 1 SQ2 1,2,0,1,1456,1088,0,0,100,18000,18000,18000,18000,0,0,100,100,100,100,100\n"
      "area 1 SQ3 1,2,1,1,2000,1088,0,0,100,18000,18000,18000,18000,0,0,100,100,100,100,100\n"));
  Send("LD=1");
  EXPECT_EQ(Send("GA?"), "GA=300");
  EXPECT_EQ(Send("WTC?"), "WTC=1456");
  EXPECT_EQ(Send("UD?"), "UD=");
  EXPECT_EQ(Send("LUTSR?"), "LUTSR=0");
  EXPECT_EQ(Send("SMROH1?"), "SMROH1=0");
  EXPECT_EQ(Send("SQHB2?"), "SQHB2=1") << "a binning of 0 would divide by zero";
  EXPECT_EQ(Send("SQW2?"), "SQW2=1456");
  EXPECT_EQ(Send("SQW3?"), "SQW3=1456") << "wider than the sensor";
}

TEST_F(CameraCoreTest, RandomLinesAlwaysGetAReplyOfTheProtocol) {
  std::uint32_t state = 12345;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
  };
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789=?,&-+ .\x01\xff";
  const CommandTable table;
  for (int i = 0; i < 20000; ++i) {
    std::string line;
    if (next() % 2) line = table.Mnemonic(static_cast<int>(next() * 640 / 256));
    const int length = static_cast<int>(next() % 12);
    for (int k = 0; k < length; ++k) line += alphabet[next() % alphabet.size()];
    const std::string reply = Send(line);
    const bool ok = reply == "COMPLETE" || reply.rfind("ERROR ", 0) == 0 ||
                    (reply.find('=') != std::string::npos && reply.find('=') > 0);
    ASSERT_TRUE(ok) << line << " -> " << reply;
    clock_.Advance(100ms);
  }
}

TEST_F(CameraCoreTest, CorruptedNonVolatileMemoryNeverBreaksTheCamera) {
  Send("SA=1");
  const std::string memory = core_.SaveNonVolatile();
  std::uint32_t state = 99;
  for (int round = 0; round < 200; ++round) {
    std::string damaged = memory;
    for (int k = 0; k < 20; ++k) {
      state = state * 1664525u + 1013904223u;
      damaged[(state >> 8) % damaged.size()] = static_cast<char>(state >> 24);
    }
    ManualClock clock;
    CameraCore camera(CameraConfig::ForModel("4400"), clock);
    camera.LoadNonVolatile(damaged);
    for (const char* line : {"LD=1", "SQW5?", "SQOX5=100", "WTC=96", "OFC=1000", "HB=2", "LUTSR?",
                             "BNUM?", "VSM?", "TMP0?"}) {
      const std::string reply = camera.Execute(line).line;
      EXPECT_FALSE(reply.empty()) << line;
    }
  }
}

TEST_F(CameraCoreTest, TemperatureRisesFrom25DegreesAfterPowerUp) {
  EXPECT_EQ(Send("TMP0?"), "TMP0=3200");
  clock_.Advance(std::chrono::minutes(10));
  const std::string warm = Send("TMP0?");
  EXPECT_GT(std::stoi(warm.substr(5)), 3200 + 128 * 9);
  EXPECT_LT(std::stoi(warm.substr(5)), 40 * 128);
}

TEST_F(CameraCoreTest, CountersCountFramesWhileEnabledAndReset) {
  Send("AR=10000");
  EXPECT_EQ(Send("CE1=3"), "COMPLETE");
  clock_.Advance(1s);
  EXPECT_EQ(Send("CV1?"), "CV1=100");
  Send("CE1=0");
  clock_.Advance(1s);
  EXPECT_EQ(Send("CV1?"), "CV1=100") << "a disabled counter holds";
  EXPECT_EQ(Send("CR1=1"), "COMPLETE");
  EXPECT_EQ(Send("CV1?"), "CV1=0");
  EXPECT_EQ(Send("CV1=5"), Error(CameraError::ReadOnly));
}

TEST_F(CameraCoreTest, VideoSequenceModeShowsMultiRoiWhileItIsOn) {
  EXPECT_EQ(Send("VSM?"), "VSM=0");
  Send("SMRMD=1");
  EXPECT_EQ(Send("VSM?"), "VSM=4");
}

TEST_F(CameraCoreTest, BaudRateIsOneSupportedBitAndSurvivesAReset) {
  EXPECT_EQ(Send("FCBDRT?"), "FCBDRT=1");
  EXPECT_EQ(core_.Baud(), 9600);
  EXPECT_EQ(Send("FCBDRT=64"), Error(CameraError::OutOfRange)) << "not in SBDRT";
  EXPECT_EQ(Send("FCBDRT=3"), Error(CameraError::OutOfRange)) << "not a single bit";
  EXPECT_EQ(Send("FCBDRT=16"), "COMPLETE");
  EXPECT_EQ(core_.Baud(), 115200);
  Send("CRS00=1");
  Send("LD=1");
  EXPECT_EQ(Send("FCBDRT?"), "FCBDRT=16");
}

TEST(CameraCoreBaud, StartRateOutsideTheModelsMaskIsAddedToTheMask) {
  ManualClock clock;
  CameraConfig config = CameraConfig::ForModel("4400");
  config.baud = 921600;
  CameraCore core(config, clock);
  EXPECT_EQ(core.Execute("SBDRT?").line, "SBDRT=159");
  EXPECT_EQ(core.Execute("FCBDRT?").line, "FCBDRT=128");
  EXPECT_EQ(core.Baud(), 921600);
}

TEST_F(CameraCoreTest, VersionsAndStatusReadsAnswer) {
  EXPECT_EQ(Send("VN?"), "VN=105");
  EXPECT_EQ(Send("FPVN?"), "FPVN=203");
  EXPECT_EQ(Send("XMLVR?"), "XMLVR=110");
  EXPECT_EQ(Send("ST?"), "ST=0");
  EXPECT_EQ(Send("SQIDX?"), "SQIDX=1");
  EXPECT_EQ(Send("SDRS?"), "SDRS=255");
  EXPECT_EQ(Send("RS=0"), "COMPLETE");
  EXPECT_EQ(Send("SDRS?"), "SDRS=0");
}

}  // namespace
}  // namespace qx::sim
