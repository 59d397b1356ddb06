#include "model/CommandTable.h"

namespace qx {
namespace {

// Mnemonics in command-id order; an empty text marks an id without a camera command.
constexpr const char* kMnemonics[CommandTable::kCommandCount] = {
    "EB",      "ST",      "HP",      "VN",      "MD",      "UD",     "DV",      "ERRER",    // 0
    "CRS00",   "EM",      "ETM",     "PE",      "PER",     "PEG",    "PEB",     "JPIV",     // 8
    "TM",      "STRG",    "TO",      "TI",      "TA",      "TED",    "LS0",     "LS1",      // 16
    "LS2",     "LI0",     "LI1",     "LI2",     "PGDEV",   "PGL0",   "PGL1",    "PGL2",     // 24
    "PGL3",    "PGST0",   "PGST1",   "PGST2",   "PGST3",   "PGEN0",  "PGEN1",   "PGEN2",    // 32
    "PGEN3",   "PGRPT0",  "PGRPT1",  "PGRPT2",  "PGRPT3",  "PGCM0",  "PGCM1",   "PGCM2",    // 40
    "PGCM3",   "PGSM0",   "PGSM1",   "PGSM2",   "PGSM3",   "ND0IN1", "ND1IN1",  "ND0IN2",   // 48
    "ND1IN2",  "PGIN0",   "PGIN1",   "PGIN2",   "PGIN3",   "PGINV0", "PGINV1",  "PGINV2",   // 56
    "PGINV3",  "ND0INV1", "ND0INV2", "ND1INV1", "ND1INV2", "OPTFL",  "MLI",     "MLZ",      // 64
    "MLF",     "BA",      "OFL",     "HTL",     "OFC",     "WTC",    "CLCFG",   "AR",       // 72
    "GA",      "IGM",     "FGA",     "GJUT2",   "GJUT3",   "GJUT4",  "AGC",     "ATCS",     // 80
    "AGCF",    "AGCGA",   "AGCGI",   "PGR",     "PGB",     "FGR",    "FGG",     "FGB",      // 88
    "BL",      "",        "",        "",        "",        "BLR1",   "BLB1",    "",         // 96
    "",        "",        "",        "",        "",        "",       "",        "",         // 104
    "",        "",        "",        "",        "AWB",     "AWRS",   "",        "",         // 112
    "",        "",        "ASC",     "ATCS",    "TRGOP",   "ASCEA",  "ASCEI",   "LUTC",     // 120
    "GMA",     "LUTSR",   "LUTSG",   "LUTSB",   "LUTR",    "LUTG",   "LUTB",    "TPN",      // 128
    "",        "",        "",        "SDM",     "SDCM",    "RS",     "SDRS",    "HB",       // 136
    "VB",      "BMW",     "BMRCW",   "BMS",     "",        "",       "",        "BNUM",     // 144
    "BMTHWR",  "BMCLRR",  "",        "BMPXWR",  "BMPYWR",  "BNUMR",  "BMTHWG",  "BMCLRG",   // 152
    "",        "BMPXWG",  "BMPYWG",  "BNUMG",   "BMTHWB",  "BMCLRB", "",        "BMPXWB",   // 160
    "BMPYWB",  "BNUMB",   "TMP0",    "",        "ALCA",    "ALCLR",  "ALCLMR",  "ALCLML",   // 168
    "ALCLL",   "ALCMLR",  "ALCMLMR", "ALCMLML", "ALCMLL",  "ALCMHR", "ALCMHMR", "ALCMHML",  // 176
    "ALCMHL",  "ALCHR",   "ALCHMR",  "ALCHML",  "ALCHL",   "AWBA",   "AWBLR",   "AWBLMR",   // 184
    "AWBLML",  "AWBLL",   "AWBMLR",  "AWBMLMR", "AWBMLML", "AWBMLL", "AWBMHR",  "AWBMHMR",  // 192
    "AWBMHML", "AWBMHL",  "AWBHR",   "AWBHMR",  "AWBHML",  "AWBHL",  "VSM",     "CSQI",     // 200
    "SQM",     "SQSEL",   "SQSS",    "",        "SQF",     "SQNI",   "SQW",     "SQH",      // 208
    "SQOX",    "SQOY",    "SQGA",    "SQPE",    "SQPER",   "SQPEG",  "SQPEB",   "SQHB",     // 216
    "SQVB",    "SQLUT",   "SQBL",    "SQGR",    "SQGG",    "SQGB",   "SQF1",    "SQF2",     // 224
    "SQF3",    "SQF4",    "SQF5",    "SQF6",    "SQF7",    "SQF8",   "SQF9",    "SQF10",    // 232
    "SQNI1",   "SQNI2",   "SQNI3",   "SQNI4",   "SQNI5",   "SQNI6",  "SQNI7",   "SQNI8",    // 240
    "SQNI9",   "SQNI10",  "SQW1",    "SQW2",    "SQW3",    "SQW4",   "SQW5",    "SQW6",     // 248
    "SQW7",    "SQW8",    "SQW9",    "SQW10",   "SQH1",    "SQH2",   "SQH3",    "SQH4",     // 256
    "SQH5",    "SQH6",    "SQH7",    "SQH8",    "SQH9",    "SQH10",  "SQOX1",   "SQOX2",    // 264
    "SQOX3",   "SQOX4",   "SQOX5",   "SQOX6",   "SQOX7",   "SQOX8",  "SQOX9",   "SQOX10",   // 272
    "SQOY1",   "SQOY2",   "SQOY3",   "SQOY4",   "SQOY5",   "SQOY6",  "SQOY7",   "SQOY8",    // 280
    "SQOY9",   "SQOY10",  "SQGA1",   "SQGA2",   "SQGA3",   "SQGA4",  "SQGA5",   "SQGA6",    // 288
    "SQGA7",   "SQGA8",   "SQGA9",   "SQGA10",  "SQPE1",   "SQPE2",  "SQPE3",   "SQPE4",    // 296
    "SQPE5",   "SQPE6",   "SQPE7",   "SQPE8",   "SQPE9",   "SQPE10", "SQHB1",   "SQHB2",    // 304
    "SQHB3",   "SQHB4",   "SQHB5",   "SQHB6",   "SQHB7",   "SQHB8",  "SQHB9",   "SQHB10",   // 312
    "SQVB1",   "SQVB2",   "SQVB3",   "SQVB4",   "SQVB5",   "SQVB6",  "SQVB7",   "SQVB8",    // 320
    "SQVB9",   "SQVB10",  "SQLUT1",  "SQLUT2",  "SQLUT3",  "SQLUT4", "SQLUT5",  "SQLUT6",   // 328
    "SQLUT7",  "SQLUT8",  "SQLUT9",  "SQLUT10", "SQBL1",   "SQBL2",  "SQBL3",   "SQBL4",    // 336
    "SQBL5",   "SQBL6",   "SQBL7",   "SQBL8",   "SQBL9",   "SQBL10", "SQPGR1",  "SQPGR2",   // 344
    "SQPGR3",  "SQPGR4",  "SQPGR5",  "SQPGR6",  "SQPGR7",  "SQPGR8", "SQPGR9",  "SQPGR10",  // 352
    "SQPGB1",  "SQPGB2",  "SQPGB3",  "SQPGB4",  "SQPGB5",  "SQPGB6", "SQPGB7",  "SQPGB8",   // 360
    "SQPGB9",  "SQPGB10", "SQIDX",   "SQRST",   "SQLUT",   "CLCF",   "VPB",     "HES",      // 368
    "",        "ABG",     "SBS",     "SPO",     "HBM",     "VBM",    "BLKHO",   "LD",       // 376
    "SA",      "",        "SA00",    "ULCK",    "ID",      "MD00",   "",        "FPVN",     // 384
    "GA01",    "GA02",    "GA03",    "GA04",    "",        "",       "",        "",         // 392
    "",        "",        "",        "",        "UPPW",    "UPBA",   "UPBS",    "UPIN",     // 400
    "UPFS",    "UPFC",    "",        "",        "",        "",       "",        "IWBC",     // 408
    "",        "",        "IRRG",    "",        "",        "ALCS",   "",        "",         // 416
    "",        "",        "",        "",        "",        "",       "",        "",         // 424
    "",        "",        "",        "",        "",        "",       "",        "",         // 432
    "",        "",        "",        "",        "",        "",       "",        "",         // 440
    "",        "",        "",        "",        "",        "",       "",        "",         // 448
    "TRLGB",   "",        "",        "",        "",        "",       "BAG",     "",         // 456
    "",        "",        "",        "WEHL",    "WEHH",    "WEVL",   "",        "",         // 464
    "",        "",        "BOCM3",   "BOCM4",   "",        "",       "",        "",         // 472
    "",        "",        "",        "DBSTO1",  "",        "DBSTO2", "",        "",         // 480
    "",        "",        "",        "",        "",        "",       "",        "",         // 488
    "",        "",        "",        "",        "",        "",       "",        "",         // 496
    "",        "",        "",        "",        "BLC7",    "",       "",        "",         // 504
    "BLC11",   "",        "",        "",        "DSNUHC",  "",       "FAS",     "BLTMP",    // 512
    "ALCST",   "FBNUM",   "FBBNUM",  "FSV",     "FDEC",    "XMLVR",  "",        "FWP1R",    // 520
    "FWP1B",   "FWP2R",   "FWP2B",   "FWP3R",   "FWP3B",   "PHADJ",  "",        "",         // 528
    "",        "",        "",        "",        "",        "",       "AWBS",    "",         // 536
    "",        "SMRW1",   "SMRW2",   "",        "",        "SMRH1",  "SMRH2",   "",         // 544
    "",        "SMROX1",  "SMROX2",  "",        "",        "SMROY1", "SMROY2",  "",         // 552
    "",        "SMROH1",  "SMROH2",  "",        "",        "SMROV1", "SMROV2",  "",         // 560
    "",        "SMRMD",   "",        "",        "",        "",       "",        "",         // 568
    "",        "",        "",        "",        "",        "",       "",        "",         // 576
    "CE0",     "CR0",     "CV0",     "CE1",     "CR1",     "CV1",    "CE2",     "CR2",      // 584
    "CV2",     "",        "",        "",        "USC0",    "USC1",   "USC2",    "USC3",     // 592
    "",        "",        "",        "",        "",        "",       "",        "",         // 600
    "",        "",        "",        "",        "",        "FCBDRT", "SBDRT",   "CTM",      // 608
    "CTRM",    "CMVRR",   "CMVRG",   "CMVRB",   "CMVGR",   "CMVGG",  "CMVGB",   "CMVBR",    // 616
    "CMVBG",   "CMVBB",   "EDGEN",   "EDGLV",   "COLEN",   "CEVALR", "CEVALCY", "CEVALG",   // 624
    "CEVALMG", "CEVALB",  "CEVALYL", "TD",      "ALCCR",   "ALCCC",  "ALCCM",   "ALCR",     // 632
};

// The only commands whose values are texts.
constexpr int kTextCommands[] = {cmd::kMD, cmd::kUD, cmd::kDV, cmd::kID, cmd::kMD00};

const std::string kNoMnemonic;

}  // namespace

CommandTable::CommandTable() {
  for (int id = 0; id < kCommandCount; ++id) {
    records_[id] = CommandRecord{id, kMnemonics[id], ValueKind::Integer, 0};
  }
  for (int id : kTextCommands) records_[id].valueKind = ValueKind::Text;
}

const std::string& CommandTable::Mnemonic(int commandId) const {
  return IsValidId(commandId) ? records_[commandId].mnemonic : kNoMnemonic;
}

ValueKind CommandTable::GetValueKind(int commandId) const {
  return IsValidId(commandId) ? records_[commandId].valueKind : ValueKind::Integer;
}

int CommandTable::DecimalPlaces(int commandId) const {
  return IsValidId(commandId) ? records_[commandId].decimalPlaces : 0;
}

void CommandTable::SetValueKind(int commandId, ValueKind kind) {
  if (IsValidId(commandId)) records_[commandId].valueKind = kind;
}

int CommandTable::IdOfMnemonic(std::string_view mnemonic) const {
  for (const auto& record : records_) {
    if (record.mnemonic == mnemonic) return record.commandId;
  }
  return -1;
}

}  // namespace qx
