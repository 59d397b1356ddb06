#include "features/ListTables.h"

#include <algorithm>

namespace qx {

const std::vector<ListDefinition>& FeatureLists() {
  static const std::vector<ListDefinition> kLists = {
      {{1349},
       {{"Low", 0},
        {"High", 1},
        {"Software", 2},
        {"PulseGenerator0", 10},
        {"PulseGenerator1", 11},
        {"PulseGenerator2", 12},
        {"PulseGenerator3", 13},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5-OptIn1", 21},
        {"Line6-OptIn2", 22},
        {"Line7-CC1", 23},
        {"Nand0Out", 26},
        {"Nand1Out", 27}}},  // TI
      {{1350},
       {{"Rising edge", 0}, {"Falling edge", 1}, {"Level High", 2}, {"Level Low", 3}}},  // TA
      {{1352}, {{"Off", 0}, {"Read Out", 1}}},                                           // TO
      {{1341}, {{"Off", 0}, {"On", 1}}},                                                 // TM
      {{1337}, {{"OFF", 0}, {"Timed", 1}, {"Trigger width", 2}}},                        // EM
      {{1368}, {{"Common", 0}, {"Individual", 1}}},                                      // ETM
      {{2542}, {{"Off", 0}, {"On", 1}}},                                                 // IGM
      {{2538}, {{"Off", 0}, {"Continuous", 1}, {"Once", 2}}},                            // ASC
      {{2539}, {{"Off", 0}, {"Continuous", 1}, {"Once", 2}}},                            // AGC
      {{2541}, {{"Off", 0}, {"RCT", 1}}},                                                // TRGOP
      {{1406, 1408}, {{"Off", 1}, {"x2", 2}}},                                           // HB VB
      {{2661}, {{"Average", 0}, {"Sum", 1}}},                                            // HBM
      {{2664}, {{"AVerage", 0}, {"Sum", 1}}},                                            // VBM
      {{1407}, {{"Base", 0}, {"Medium", 1}, {"Full", 2}, {"Eighty-Bit", 3}}},            // CLCFG
      {{2573}, {{"37.1MHz", 0}, {"74.3MHz", 1}, {"84.9MHz", 2}}},                        // CLCF
      {{1354}, {{"RGB8", 3}, {"RGB10", 4}, {"RGB12", 5}}},                               // BA
      {{1386},
       {{"Off", 0},
        {"Grey Horizontal Ramp", 1},
        {"Grey Vertical Ramp", 2},
        {"Grey Horizontal Ramp Moving", 3},
        {"Horizontal Colorbar", 4},
        {"Vertical Colorbar", 5},
        {"Moving Colorbar", 6}}},                            // TPN
      {{2594}, {{"Off", 0}, {"On", 1}}},                     // VPB
      {{1381}, {{"Off", 0}, {"Gamma", 1}, {"UserLUT", 2}}},  // LUTC
      {{2575},
       {{"0.45", 45},
        {"0.5", 50},
        {"0.55", 55},
        {"0.6", 60},
        {"0.65", 65},
        {"0.75", 75},
        {"0.8", 80},
        {"0.9", 90},
        {"1.0", 100}}},                                                  // GMA
      {{1404}, {{"Off", 0}, {"User1", 1}, {"User2", 2}, {"User3", 3}}},  // SDM
      {{1868}, {{"Flat Shading", 0}, {"Color Shading", 1}}},             // SDCM
      {{5119}, {{"Peak Channel", 0}, {"Selected Channel", 1}}},          // ALCCR
      {{5120}, {{"Red", 0}, {"Green", 1}, {"Blue", 2}}},                 // ALCCC
      {{1870}, {{"Standard", 0}, {"Ratio", 1}}},                         // ALCCM
      {{1356, 2907},
       {{"Low", 0},
        {"High", 1},
        {"FrameTriggerWait", 5},
        {"FrameActive", 6},
        {"ExposureActive", 7},
        {"Fval", 8},
        {"PulseGenerator0", 10},
        {"PulseGenerator1", 11},
        {"PulseGenerator2", 12},
        {"PulseGenerator3", 13},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5_OptIn1", 21},
        {"Line6_OptIn2", 22},
        {"Line7_CC1", 23},
        {"Nand0_Out", 26},
        {"Nand1_Out", 27}}},  // LS0 LS1
      {{2339, 2340, 2341, 2342},
       {{"Low", 0},
        {"High", 1},
        {"FrameTriggerWait", 5},
        {"FrameActive", 6},
        {"ExposureActive", 7},
        {"FVAL", 8},
        {"LVAL", 9},
        {"PulseGenerator0", 10},
        {"PulseGenerator1", 11},
        {"PulseGenerator2", 12},
        {"PulseGenerator3", 13},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5", 21},
        {"Line6", 22},
        {"Line7", 23},
        {"Nand0Out", 26},
        {"Nand1Out", 27}}},  // ND0IN1 ND0IN2 ND1IN1 ND1IN2
      {{2345},
       {{"Low", 0},
        {"High", 1},
        {"AcquisitionTriggerWait", 3},
        {"AcquisitionActive", 4},
        {"FrameTriggerWait", 5},
        {"FrameActive", 6},
        {"ExposureActive", 7},
        {"FVAL", 8},
        {"LVAL", 9},
        {"PulseGenerator1", 11},
        {"PulseGenerator2", 12},
        {"PulseGenerator3", 13},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5", 21},
        {"Line6", 22},
        {"Line7", 23},
        {"Nand0Out", 26},
        {"Nand1Out", 27}}},  // PGIN0
      {{2346},
       {{"Low", 0},
        {"High", 1},
        {"AcquisitionTriggerWait", 3},
        {"AcquisitionActive", 4},
        {"FrameTriggerWait", 5},
        {"FrameActive", 6},
        {"ExposureActive", 7},
        {"FVAL", 8},
        {"LVAL", 9},
        {"PulseGenerator0", 10},
        {"PulseGenerator2", 12},
        {"PulseGenerator3", 13},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5", 21},
        {"Line6", 22},
        {"Line7", 23},
        {"Nand0Out", 26},
        {"Nand1Out", 27}}},  // PGIN1
      {{2347},
       {{"Low", 0},
        {"High", 1},
        {"AcquisitionTriggerWait", 3},
        {"AcquisitionActive", 4},
        {"FrameTriggerWait", 5},
        {"FrameActive", 6},
        {"ExposureActive", 7},
        {"FVAL", 8},
        {"LVAL", 9},
        {"PulseGenerator0", 10},
        {"PulseGenerator1", 11},
        {"PulseGenerator3", 13},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5", 21},
        {"Line6", 22},
        {"Line7", 23},
        {"Nand0Out", 26},
        {"Nand1Out", 27}}},  // PGIN2
      {{2348},
       {{"Low", 0},
        {"High", 1},
        {"AcquisitionTriggerWait", 3},
        {"AcquisitionActive", 4},
        {"FrameTriggerWait", 5},
        {"FrameActive", 6},
        {"ExposureActive", 7},
        {"FVAL", 8},
        {"LVAL", 9},
        {"PulseGenerator0", 10},
        {"PulseGenerator1", 11},
        {"PulseGenerator2", 12},
        {"UserOutput0", 14},
        {"UserOutput1", 15},
        {"UserOutput2", 16},
        {"UserOutput3", 17},
        {"Line5", 21},
        {"Line6", 22},
        {"Line7", 23},
        {"Nand0Out", 26},
        {"Nand1Out", 27}}},  // PGIN3
      {{2329, 2330, 2332, 2334},
       {{"Off", 0},
        {"Level High", 1},
        {"Level Low", 2},
        {"Rising Edge", 3},
        {"Falling Edge", 4}}},                                            // PGCM0 PGCM3
      {{2335, 2336, 2337, 2338}, {{"Async Mode", 0}, {"Sync Mode", 1}}},  // PGSM0 PGSM3
      {{1361, 2908, 2349, 2350, 2351, 2352, 2353, 2354, 2355, 2356, 2868, 2869, 2871, 2873},
       {{"False", 0},
        {"True", 1}}},  // LI0 LI1 PGINV0 PGINV3 ND0INV1 ND0INV2 ND1INV1 ND1INV2 USC0 USC3
      {{2909},
       {{"Off", 0},
        {"10us", 1},
        {"100us", 2},
        {"500us", 3},
        {"1ms", 4},
        {"5ms", 5},
        {"10ms", 6}}},                                                          // OPTFL
      {{2810}, {{"Off", 0}, {"Frame Trigger", 1}}},                             // CE0
      {{2815}, {{"Off", 0}, {"Exposure Start", 3}}},                            // CE1
      {{2820}, {{"Off", 0}, {"SensorReadOut", 2}}},                             // CE2
      {{2797, 2798}, {{"Off", 0}, {"x2", 1}}},                                  // SQHB SQVB
      {{2799}, {{"Off", 0}, {"ON", 1}}},                                        // SQLUT
      {{2572}, {{"Gamma", 0}, {"LUT", 1}}},                                     // SQLUT
      {{2901}, {{"Off", 0}, {"On", 1}}},                                        // SQM
      {{2902}, {{"TriggerSequencerMode", 0}, {"CommandSequencerMode", 1}}},     // SQSEL
      {{1387}, {{"false", 0}, {"true", 1}}},                                    // BMW
      {{2660}, {{"RGB", 0}, {"XYZ", 1}, {"HSI", 2}}},                           // CTM
      {{2662}, {{"Off", 0}, {"sRGB", 1}, {"AdobeRGB", 2}, {"UserCustom", 3}}},  // CTRM
      {{2665, 2667}, {{"False", 0}, {"True", 1}}},                              // EDGEN COLEN
      {{2675}, {{"Low", 0}, {"Middle", 1}, {"High", 2}, {"Strong", 3}}},        // EDGLV
      {{1422},
       {{"Baud9600", 1},
        {"Baud19200", 2},
        {"Baud38400", 4},
        {"Baud57600", 8},
        {"Baud115200", 16},
        {"Baud230400", 32},
        {"Baud460800", 64},
        {"Baud921600", 128}}},  // FCBDRT
      {{1580},
       {{"Off", 0},
        {"Continuous", 1},
        {"Once", 2},
        {"Preset3200K", 5},
        {"Preset5000K", 6},
        {"Preset6500K", 7},
        {"Preset7500K", 8}}},  // AWB, as the white-balance rule first fills it
      {{2517},
       {{"Normal", 0},
        {"Trigger Sequence", 1},
        {"Command Sequence", 2},
        {"SensorMultiRoiMode", 4}}},  // VSM, until the sequence-mode rule refills it
  };
  return kLists;
}

const ListDefinition* FindListDefinition(int controlId) {
  for (const auto& list : FeatureLists()) {
    if (std::find(list.controlIds.begin(), list.controlIds.end(), controlId) !=
        list.controlIds.end()) {
      return &list;
    }
  }
  return nullptr;
}

}  // namespace qx
