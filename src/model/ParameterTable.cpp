#include "model/ParameterTable.h"

#include <cstdio>

#include "comm/Command.h"
#include "ui/Desktop.h"

namespace qx {

namespace {

// The rows in table order: control id, command id, kind, reserved, class, min, max, initial
// (current), previous, file flag, page template.
const ParameterRow kInitialRows[ParameterTable::kRowCount] = {
    {1349, 19, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},          // 0 TI
    {1350, 20, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},          // 1 TA
    {1352, 18, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},          // 2 TO
    {1356, 22, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},          // 3 LS0
    {1361, 25, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},          // 4 LI0
    {2907, 23, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},          // 5 LS1
    {2908, 26, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},          // 6 LI1
    {2343, 28, ControlKind::Number, 0, ParameterClass::User, 1, 4096, 1, 0, 1, 114},     // 7 PGDEV
    {2296, 29, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 8 PGL0
    {2304, 33, ControlKind::Number, 0, ParameterClass::User, 0, 1048574, 0, 0, 1, 114},  // 9 PGST0
    {2312, 37, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 10 PGEN0
    {2321, 41, ControlKind::Number, 0, ParameterClass::User, 0, 255, 0, 0, 1, 114},  // 11 PGRPT0
    {2329, 45, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},      // 12 PGCM0
    {2335, 49, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},      // 13 PGSM0
    {2298, 30, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 14 PGL1
    {2306, 34, ControlKind::Number, 0, ParameterClass::User, 0, 1048574, 0, 0, 1, 114},  // 15 PGST1
    {2314, 38, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 16 PGEN1
    {2323, 42, ControlKind::Number, 0, ParameterClass::User, 0, 255, 0, 0, 1, 114},  // 17 PGRPT1
    {2330, 46, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},      // 18 PGCM1
    {2336, 50, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},      // 19 PGSM1
    {2300, 31, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 20 PGL2
    {2308, 35, ControlKind::Number, 0, ParameterClass::User, 0, 1048574, 0, 0, 1, 114},  // 21 PGST2
    {2316, 39, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 22 PGEN2
    {2325, 43, ControlKind::Number, 0, ParameterClass::User, 0, 255, 0, 0, 1, 114},  // 23 PGRPT2
    {2332, 47, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},      // 24 PGCM2
    {2337, 51, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},      // 25 PGSM2
    {2302, 32, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 26 PGL3
    {2310, 36, ControlKind::Number, 0, ParameterClass::User, 0, 1048574, 0, 0, 1, 114},  // 27 PGST3
    {2319, 40, ControlKind::Number, 0, ParameterClass::User, 1, 1048575, 1, 0, 1, 114},  // 28 PGEN3
    {2327, 44, ControlKind::Number, 0, ParameterClass::User, 0, 255, 0, 0, 1, 114},   // 29 PGRPT3
    {2334, 48, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},       // 30 PGCM3
    {2338, 52, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},       // 31 PGSM3
    {2339, 53, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},       // 32 ND0IN1
    {2341, 54, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},       // 33 ND1IN1
    {2340, 55, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},       // 34 ND0IN2
    {2342, 56, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 114},       // 35 ND1IN2
    {2345, 57, ControlKind::List, 0, ParameterClass::User, 0, 18, 0, 0, 1, 114},      // 36 PGIN0
    {2349, 61, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 37 PGINV0
    {2346, 58, ControlKind::List, 0, ParameterClass::User, 0, 18, 0, 0, 1, 114},      // 38 PGIN1
    {2350, 62, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 39 PGINV1
    {2347, 59, ControlKind::List, 0, ParameterClass::User, 0, 18, 0, 0, 1, 114},      // 40 PGIN2
    {2351, 63, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 41 PGINV2
    {2348, 60, ControlKind::List, 0, ParameterClass::User, 0, 18, 0, 0, 1, 114},      // 42 PGIN3
    {2352, 64, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 43 PGINV3
    {2353, 65, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 44 ND0INV1
    {2354, 66, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 45 ND0INV2
    {2355, 67, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 46 ND1INV1
    {2356, 68, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 114},       // 47 ND1INV2
    {2909, 69, ControlKind::List, 0, ParameterClass::User, 0, 5, 0, 0, 1, 114},       // 48 OPTFL
    {1406, 143, ControlKind::List, 0, ParameterClass::User, 1, 2, 1, 0, 1, 112},      // 49 HB
    {1408, 144, ControlKind::List, 0, ParameterClass::User, 1, 2, 1, 0, 1, 112},      // 50 VB
    {1354, 73, ControlKind::List, 0, ParameterClass::User, 3, 5, 3, 0, 1, 112},       // 51 BA
    {1357, 74, ControlKind::Number, 0, ParameterClass::User, 0, 1214, 0, 0, 1, 112},  // 52 OFL
    {1359, 75, ControlKind::Number, 0, ParameterClass::User, 2, 1216, 1216, 0, 1, 112},   // 53 HTL
    {2513, 76, ControlKind::Number, 0, ParameterClass::User, 0, 1934, 0, 0, 1, 112},      // 54 OFC
    {2515, 77, ControlKind::Number, 0, ParameterClass::User, 96, 1936, 1936, 0, 1, 112},  // 55 WTC
    {1407, 78, ControlKind::List, 0, ParameterClass::User, 0, 3, 1, 0, 1, 112},          // 56 CLCFG
    {1363, 79, ControlKind::Number, 0, ParameterClass::User, 1, 8000000, 1, 0, 1, 112},  // 57 AR
    {1338, 11, ControlKind::Number, 0, ParameterClass::User, 1, 8000000, 1, 0, 1, 112},  // 58 PE
    {1343, 12, ControlKind::Number, 0, ParameterClass::User, 1, 8000000, 1, 0, 1, 112},  // 59 PER
    {1345, 13, ControlKind::Number, 0, ParameterClass::User, 1, 8000000, 1, 0, 1, 112},  // 60 PEG
    {1347, 14, ControlKind::Number, 0, ParameterClass::User, 1, 8000000, 1, 0, 1, 112},  // 61 PEB
    {1341, 16, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},          // 62 TM
    {1337, 9, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},           // 63 EM
    {1368, 10, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 112},          // 64 ETM
    {2542, 81, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 112},          // 65 IGM
    {1055, 82, ControlKind::Number, 0, ParameterClass::User, 100, 800, 100, 0, 1, 112},  // 66 FGA
    {2539, 86, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 1, 112},          // 67 AGC
    {1366, 88, ControlKind::Number, 0, ParameterClass::User, 30, 95, 30, 0, 1, 112},     // 68 AGCF
    {1369, 89, ControlKind::Number, 0, ParameterClass::User, 101, 800, 101, 0, 1, 112},  // 69 AGCGA
    {1370, 90, ControlKind::Number, 0, ParameterClass::User, 100, 800, 100, 0, 1, 112},  // 70 AGCGI
    {1782, 91, ControlKind::Number, 0, ParameterClass::User, 90, 110, 100, 0, 1, 112},   // 71 PGR
    {1786, 92, ControlKind::Number, 0, ParameterClass::User, 90, 110, 100, 0, 1, 112},   // 72 PGB
    {1787, 93, ControlKind::Number, 0, ParameterClass::User, 100, 6400, 100, 0, 1, 112},  // 73 FGR
    {1789, 94, ControlKind::Number, 0, ParameterClass::User, 100, 6400, 100, 0, 1, 112},  // 74 FGG
    {1791, 95, ControlKind::Number, 0, ParameterClass::User, 100, 6400, 100, 0, 1, 112},  // 75 FGB
    {1797, 96, ControlKind::Number, 0, ParameterClass::User, -133, 255, 0, 0, 1, 112},    // 76 BL
    {1844, 97, ControlKind::Number, 0, ParameterClass::Factory, 0, 16383, 0, 0, 1,
     0},                                                                               // 77 (empty)
    {1754, 101, ControlKind::Number, 0, ParameterClass::User, -64, 64, 0, 0, 1, 112},  // 78 BLR1
    {1759, 102, ControlKind::Number, 0, ParameterClass::User, -64, 64, 0, 0, 1, 112},  // 79 BLB1
    {1580, 116, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 112},       // 80 AWB
    {2538, 122, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 1, 112},       // 81 ASC
    {2541, 124, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 112},       // 82 TRGOP
    {1376, 125, ControlKind::Number, 0, ParameterClass::User, 100, 8000000, 100, 0, 1,
     112},  // 83 ASCEA
    {1377, 126, ControlKind::Number, 0, ParameterClass::User, 100, 8000000, 100, 0, 1,
     112},                                                                             // 84 ASCEI
    {1381, 127, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 0, 113},       // 85 LUTC
    {2575, 128, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 0, 113},       // 86 GMA
    {2518, 132, ControlKind::Number, 0, ParameterClass::User, 0, 256, 0, 0, 0, 113},   // 87 LUTR
    {2520, 132, ControlKind::Number, 0, ParameterClass::User, 0, 4095, 0, 0, 0, 113},  // 88 LUTR
    {2524, 133, ControlKind::Number, 0, ParameterClass::User, 0, 256, 0, 0, 0, 113},   // 89 LUTG
    {2526, 133, ControlKind::Number, 0, ParameterClass::User, 0, 4095, 0, 0, 0, 113},  // 90 LUTG
    {2530, 134, ControlKind::Number, 0, ParameterClass::User, 0, 256, 0, 0, 0, 113},   // 91 LUTB
    {2532, 134, ControlKind::Number, 0, ParameterClass::User, 0, 4095, 0, 0, 0, 113},  // 92 LUTB
    {1386, 135, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},       // 93 TPN
    {1387, 145, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 125},       // 94 BMW
    {1404, 139, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 113},       // 95 SDM
    {1868, 140, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 113},       // 96 SDCM
    {1405, 141, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 113},     // 97 RS
    {1413, 147, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},     // 98 BMS
    {1410, 152, ControlKind::Number, 0, ParameterClass::User, 1, 100, 1, 0, 1, 125},   // 99 BMTHWR
    {2882, 153, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},     // 100 BMCLRR
    {1417, 154, ControlKind::Number, 0, ParameterClass::None, 1, 200, 1, 0, 0, 125},  // 101 (empty)
    {1424, 155, ControlKind::Number, 0, ParameterClass::User, -1, 2559, -1, 0, 0,
     125},  // 102 BMPXWR
    {1438, 156, ControlKind::Number, 0, ParameterClass::User, -1, 2047, -1, 0, 0,
     125},                                                                            // 103 BMPYWR
    {2581, 157, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},    // 104 BNUMR
    {1415, 158, ControlKind::Number, 0, ParameterClass::User, 1, 100, 1, 0, 1, 125},  // 105 BMTHWG
    {2883, 159, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},    // 106 BMCLRG
    {1423, 160, ControlKind::Number, 0, ParameterClass::None, 1, 200, 1, 0, 0, 125},  // 107 (empty)
    {1427, 161, ControlKind::Number, 0, ParameterClass::User, -1, 2559, -1, 0, 0,
     125},  // 108 BMPXWG
    {1441, 162, ControlKind::Number, 0, ParameterClass::User, -1, 2047, -1, 0, 0,
     125},                                                                            // 109 BMPYWG
    {2585, 157, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},    // 110 BNUMR
    {1445, 164, ControlKind::Number, 0, ParameterClass::User, 1, 100, 1, 0, 1, 125},  // 111 BMTHWB
    {2884, 165, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},    // 112 BMCLRB
    {1456, 166, ControlKind::Number, 0, ParameterClass::None, 1, 200, 1, 0, 0, 125},  // 113 (empty)
    {1449, 167, ControlKind::Number, 0, ParameterClass::User, -1, 2559, -1, 0, 0,
     125},  // 114 BMPXWB
    {1460, 168, ControlKind::Number, 0, ParameterClass::User, -1, 2047, -1, 0, 0,
     125},                                                                             // 115 BMPYWB
    {2589, 169, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 125},     // 116 BNUMB
    {5119, 636, ControlKind::List, 0, ParameterClass::User, 0, 1, 1, 0, 0, 113},       // 117 ALCCR
    {5120, 637, ControlKind::List, 0, ParameterClass::User, 0, 2, 1, 0, 0, 113},       // 118 ALCCC
    {1870, 638, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 0, 113},       // 119 ALCCM
    {1885, 421, ControlKind::Number, 0, ParameterClass::User, 1, 8, 4, 0, 1, 113},     // 120 ALCS
    {2896, 639, ControlKind::Number, 0, ParameterClass::User, 1, 100, 90, 0, 1, 113},  // 121 ALCR
    {2540, 172, ControlKind::Check, 0, ParameterClass::User, 0, 1, 0, 0, 1, 113},      // 122 ALCA
    {1943, 173, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},      // 123 ALCLR
    {1944, 174, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},      // 124 ALCLMR
    {1945, 175, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},      // 125 ALCLML
    {1946, 176, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},      // 126 ALCLL
    {1947, 177, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},      // 127 ALCMLR
    {1948, 178, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 128 ALCMLMR
    {1949, 179, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 129 ALCMLML
    {1950, 180, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 130 ALCMLL
    {1951, 181, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 131 ALCMHR
    {1952, 182, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 132 ALCMHMR
    {1953, 183, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 133 ALCMHML
    {1954, 184, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 134 ALCMHL
    {1955, 185, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 135 ALCHR
    {1956, 186, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 136 ALCHMR
    {1957, 187, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 137 ALCHML
    {1958, 188, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 138 ALCHL
    {2543, 189, ControlKind::Check, 0, ParameterClass::User, 0, 1, 0, 0, 1, 113},     // 139 AWBA
    {1959, 190, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 140 AWBLR
    {1960, 191, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 141 AWBLMR
    {1961, 192, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 142 AWBLML
    {1962, 193, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 143 AWBLL
    {1963, 194, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 144 AWBMLR
    {1964, 195, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 145 AWBMLMR
    {1965, 196, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 146 AWBMLML
    {1966, 197, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 147 AWBMLL
    {1967, 198, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 148 AWBMHR
    {1968, 199, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 149 AWBMHMR
    {1969, 200, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 150 AWBMHML
    {1970, 201, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 151 AWBMHL
    {1971, 202, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 152 AWBHR
    {1972, 203, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 153 AWBHMR
    {1973, 204, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 154 AWBHML
    {1974, 205, ControlKind::Check, 0, ParameterClass::User, 0, 1, 1, 0, 1, 113},     // 155 AWBHL
    {2517, 206, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 1, 115},      // 156 VSM
    {2551, 211, ControlKind::Number, 0, ParameterClass::User, 1, 255, 1, 0, 0, 115},  // 157 (empty)
    {2569, 370, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 115},    // 158 SQIDX
    {2571, 371, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 115},    // 159 SQRST
    {2572, 372, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 115},      // 160 SQLUT
    {2573, 373, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 1, 112},      // 161 CLCF
    {2594, 374, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 112},      // 162 VPB
    {2608, 377, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 0},        // 163 ABG
    {2661, 380, ControlKind::List, 0, ParameterClass::User, 0, 1, 1, 0, 1, 112},      // 164 HBM
    {2664, 381, ControlKind::List, 0, ParameterClass::User, 0, 1, 1, 0, 1, 112},      // 165 VBM
    {2703, 542, ControlKind::Number, 0, ParameterClass::User, 1, 8, 4, 4, 1, 113},    // 166 AWBS
    {1650, 396, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 107},    // 167 (empty)
    {1448, 397, ControlKind::Number, 0, ParameterClass::Factory, 1, 100, 10, 0, 1,
     107},  // 168 (empty)
    {1452, 398, ControlKind::Number, 0, ParameterClass::Factory, 1, 512, 1, 0, 0,
     107},  // 169 (empty)
    {1457, 398, ControlKind::Number, 0, ParameterClass::Factory, -1, 2559, 0, 0, 0,
     107},  // 170 (empty)
    {1461, 399, ControlKind::Number, 0, ParameterClass::Factory, 1, 512, 1, 0, 0,
     107},  // 171 (empty)
    {1465, 399, ControlKind::Number, 0, ParameterClass::Factory, -1, 2047, 0, 0, 0,
     107},                                                                          // 172 (empty)
    {2553, 400, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 107},  // 173 (empty)
    {2555, 401, ControlKind::Number, 0, ParameterClass::Factory, 1, 100, 10, 0, 1,
     107},  // 174 (empty)
    {2557, 402, ControlKind::Number, 0, ParameterClass::Factory, 1, 512, 1, 0, 0,
     107},  // 175 (empty)
    {2559, 402, ControlKind::Number, 0, ParameterClass::Factory, -1, 2559, 0, 0, 0,
     107},  // 176 (empty)
    {2563, 403, ControlKind::Number, 0, ParameterClass::Factory, 1, 512, 1, 0, 0,
     107},  // 177 (empty)
    {2565, 403, ControlKind::Number, 0, ParameterClass::Factory, -1, 2047, 0, 0, 0,
     107},                                                                           // 178 (empty)
    {1470, 412, ControlKind::List, 0, ParameterClass::Factory, 0, 0, 0, 0, 0, 107},  // 179 (empty)
    {1832, 423, ControlKind::Number, 0, ParameterClass::Factory, -891, 1000, 0, 0, 0,
     0},  // 180 (empty)
    {1834, 424, ControlKind::Number, 0, ParameterClass::Factory, -891, 1000, 0, 0, 0,
     0},  // 181 (empty)
    {1836, 425, ControlKind::Number, 0, ParameterClass::Factory, -891, 1000, 0, 0, 0,
     0},  // 182 (empty)
    {1773, 428, ControlKind::Number, 0, ParameterClass::Factory, 8192, 24576, 0, 0, 0,
     0},  // 183 (empty)
    {1777, 429, ControlKind::Number, 0, ParameterClass::Factory, 8192, 24576, 0, 0, 0,
     0},  // 184 (empty)
    {1781, 430, ControlKind::Number, 0, ParameterClass::Factory, 8192, 24576, 0, 0, 0,
     0},  // 185 (empty)
    {1822, 431, ControlKind::Number, 0, ParameterClass::Factory, 8192, 24576, 0, 0, 0,
     0},  // 186 (empty)
    {1828, 432, ControlKind::Number, 0, ParameterClass::Factory, 8192, 24576, 0, 0, 0,
     0},  // 187 (empty)
    {1830, 433, ControlKind::Number, 0, ParameterClass::Factory, 8192, 24576, 0, 0, 0,
     0},  // 188 (empty)
    {1788, 434, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 189 (empty)
    {1795, 435, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 190 (empty)
    {1802, 436, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 191 (empty)
    {1739, 437, ControlKind::Number, 0, ParameterClass::Factory, -2048, 2047, 0, 0, 1,
     0},  // 192 (empty)
    {1753, 438, ControlKind::Number, 0, ParameterClass::Factory, -2048, 2047, 0, 0, 1,
     0},  // 193 (empty)
    {1743, 439, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 194 (empty)
    {1756, 440, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 195 (empty)
    {1745, 441, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 196 (empty)
    {1760, 442, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 197 (empty)
    {1749, 443, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},  // 198 (empty)
    {1764, 444, ControlKind::Number, 0, ParameterClass::Factory, -64, 64, 0, 0, 0,
     0},                                                                           // 199 (empty)
    {1900, 471, ControlKind::List, 0, ParameterClass::Factory, 0, 0, 1, 0, 0, 0},  // 200 (empty)
    {1901, 472, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 98, 0, 0,
     0},  // 201 (empty)
    {1902, 473, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 98, 0, 0,
     0},  // 202 (empty)
    {1903, 474, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 98, 0, 0, 0},  // 203 BOCM3
    {1904, 475, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 98, 0, 0, 0},  // 204 BOCM4
    {1934, 481, ControlKind::List, 0, ParameterClass::Factory, 0, 0, 0, 0, 0, 0},  // 205 (empty)
    {1935, 482, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 0, 0, 0,
     0},  // 206 (empty)
    {1937, 483, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 0, 0, 0, 0},  // 207 DBSTO1
    {1939, 484, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 0, 0, 0,
     0},  // 208 (empty)
    {1941, 485, ControlKind::Number, 0, ParameterClass::Factory, 0, 255, 0, 0, 0, 0},  // 209 DBSTO2
    {2411, 486, ControlKind::Number, 0, ParameterClass::Factory, -2048, 2047, 0, 0, 1,
     107},                                                                         // 210 (empty)
    {2580, 518, ControlKind::List, 0, ParameterClass::Factory, 0, 1, 0, 0, 0, 0},  // 211 FAS
    {1871, 520, ControlKind::Action, 0, ParameterClass::Factory, 0, 0, 0, 0, 0, 113},  // 212 ALCST
    {2584, 521, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 107},     // 213 FBNUM
    {2588, 522, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 107},     // 214 FBBNUM
    {2599, 526, ControlKind::Number, 0, ParameterClass::Factory, 16, 30, 23, 0, 1,
     0},                                                                        // 215 (empty)
    {2695, 539, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 0, 0},  // 216 (empty)
    {2694, 540, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 0, 0},  // 217 (empty)
    {2696, 541, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 0, 0},  // 218 (empty)
    {2708, 544, ControlKind::Number, 0, ParameterClass::Factory, 10, 800, 110, 0, 1,
     107},  // 219 (empty)
    {2712, 545, ControlKind::Number, 0, ParameterClass::User, 16, 1936, 1936, 0, 1,
     115},  // 220 SMRW1
    {2714, 546, ControlKind::Number, 0, ParameterClass::User, 16, 1936, 1936, 0, 1,
     115},  // 221 SMRW2
    {2720, 549, ControlKind::Number, 0, ParameterClass::User, 2, 1216, 1216, 0, 1,
     115},  // 222 SMRH1
    {2722, 550, ControlKind::Number, 0, ParameterClass::User, 2, 1216, 1216, 0, 1,
     115},                                                                             // 223 SMRH2
    {2728, 553, ControlKind::Number, 0, ParameterClass::User, 0, 1920, 0, 0, 1, 115},  // 224 SMROX1
    {2730, 554, ControlKind::Number, 0, ParameterClass::User, 0, 1920, 0, 0, 1, 115},  // 225 SMROX2
    {2736, 557, ControlKind::Number, 0, ParameterClass::User, 0, 1214, 0, 0, 1, 115},  // 226 SMROY1
    {2738, 558, ControlKind::Number, 0, ParameterClass::User, 0, 1214, 0, 0, 1, 115},  // 227 SMROY2
    {2744, 561, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 115},     // 228 SMROH1
    {2746, 562, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 115},     // 229 SMROH2
    {2752, 565, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 115},     // 230 SMROV1
    {2754, 566, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 115},     // 231 SMROV2
    {2872, 569, ControlKind::Action, 0, ParameterClass::User, 0, 1, 0, 0, 1, 115},     // 232 SMRMD
    {2906, 569, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 115},     // 233 SMRMD
    {2770, 570, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 0, 123},      // 234 (empty)
    {2771, 571, ControlKind::List, 0, ParameterClass::User, 0, 6, 1, 0, 0, 123},      // 235 (empty)
    {2760, 572, ControlKind::Number, 0, ParameterClass::User, 0, 255, 0, 0, 0, 123},  // 236 (empty)
    {2762, 573, ControlKind::Number, 0, ParameterClass::User, 0, 255, 0, 0, 0, 123},  // 237 (empty)
    {2772, 574, ControlKind::List, 0, ParameterClass::User, 0, 11, 1, 0, 0, 123},     // 238 (empty)
    {2773, 575, ControlKind::List, 0, ParameterClass::User, 0, 11, 5, 0, 0, 123},     // 239 (empty)
    {2774, 576, ControlKind::List, 0, ParameterClass::User, 0, 11, 0, 0, 0, 123},     // 240 (empty)
    {2764, 577, ControlKind::Number, 0, ParameterClass::User, 0, 200, 0, 0, 0, 123},  // 241 (empty)
    {2766, 578, ControlKind::Number, 0, ParameterClass::User, 0, 200, 60, 0, 0,
     123},  // 242 (empty)
    {2768, 579, ControlKind::Number, 0, ParameterClass::User, 0, 200, 74, 0, 0,
     123},                                                                            // 243 (empty)
    {2775, 580, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 0, 123},      // 244 (empty)
    {2776, 581, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 0, 123},      // 245 (empty)
    {2777, 576, ControlKind::Action, 0, ParameterClass::None, 0, 11, 0, 0, 0, 123},   // 246 (empty)
    {2778, 572, ControlKind::Action, 0, ParameterClass::None, 0, 255, 0, 0, 0, 123},  // 247 (empty)
    {2781, 212, ControlKind::Number, 0, ParameterClass::User, 1, 255, 1, 0, 0, 115},  // 248 SQF
    {2783, 213, ControlKind::Number, 0, ParameterClass::User, 1, 128, 2, 0, 0, 115},  // 249 SQNI
    {2797, 223, ControlKind::List, 0, ParameterClass::User, 1, 2, 1, 0, 0, 115},      // 250 SQHB
    {2798, 224, ControlKind::List, 0, ParameterClass::User, 1, 2, 1, 0, 0, 115},      // 251 SQVB
    {2785, 214, ControlKind::Number, 0, ParameterClass::User, 96, 1936, 1936, 0, 0,
     115},                                                                                // 252 SQW
    {2787, 215, ControlKind::Number, 0, ParameterClass::User, 2, 1216, 1216, 0, 0, 115},  // 253 SQH
    {2789, 216, ControlKind::Number, 0, ParameterClass::User, 0, 1840, 0, 0, 0, 115},  // 254 SQOX
    {2791, 217, ControlKind::Number, 0, ParameterClass::User, 0, 1214, 0, 0, 0, 115},  // 255 SQOY
    {2793, 218, ControlKind::Number, 0, ParameterClass::User, 100, 800, 100, 0, 0,
     115},  // 256 SQGA
    {2795, 219, ControlKind::Number, 0, ParameterClass::User, 10, 8000000, 18000, 0, 0,
     115},  // 257 SQPE
    {2912, 220, ControlKind::Number, 0, ParameterClass::User, 10, 8000000, 18000, 0, 0,
     115},  // 258 SQPER
    {2914, 221, ControlKind::Number, 0, ParameterClass::User, 10, 8000000, 18000, 0, 0,
     115},  // 259 SQPEG
    {2916, 222, ControlKind::Number, 0, ParameterClass::User, 10, 8000000, 18000, 0, 0,
     115},                                                                        // 260 SQPEB
    {2799, 225, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 115},  // 261 SQLUT
    {2800, 226, ControlKind::Number, 0, ParameterClass::User, -133, 255, 0, 0, 0, 115},  // 262 SQBL
    {2802, 227, ControlKind::Number, 0, ParameterClass::User, 100, 6400, 0, 0, 0, 115},  // 263 SQGR
    {2918, 228, ControlKind::Number, 0, ParameterClass::User, 100, 6400, 0, 0, 0, 115},  // 264 SQGG
    {2804, 229, ControlKind::Number, 0, ParameterClass::User, 100, 6400, 0, 0, 0, 115},  // 265 SQGB
    {2806, 0, ControlKind::Action, 0, ParameterClass::None, 0, 0, 0, 0, 0, 115},         // 266 EB
    {2807, 207, ControlKind::Number, 0, ParameterClass::User, 1, 128, 1, 0, 1, 115},     // 267 CSQI
    {2779, 0, ControlKind::Number, 0, ParameterClass::User, 1, 128, 1, 0, 0, 115},       // 268 EB
    {2901, 208, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 0, 115},         // 269 SQM
    {2902, 209, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 0, 115},      // 270 SQSEL
    {2910, 210, ControlKind::Number, 0, ParameterClass::User, 1, 128, 1, 0, 0, 115},  // 271 SQSS
    {2810, 584, ControlKind::List, 0, ParameterClass::User, 0, 4, 0, 0, 1, 114},      // 272 CE0
    {2811, 585, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 273 CR0
    {2814, 586, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 274 CV0
    {2812, 586, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 275 CV0
    {2815, 587, ControlKind::List, 0, ParameterClass::User, 0, 4, 0, 0, 1, 114},      // 276 CE1
    {2816, 588, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 277 CR1
    {2819, 589, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 278 CV1
    {2817, 589, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 279 CV1
    {2820, 590, ControlKind::List, 0, ParameterClass::User, 0, 4, 0, 0, 1, 114},      // 280 CE2
    {2821, 591, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 281 CR2
    {2824, 592, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 282 CV2
    {2822, 592, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 283 CV2
    {2877, 593, ControlKind::List, 0, ParameterClass::User, 0, 4, 0, 0, 0, 0},        // 284 (empty)
    {2878, 594, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 0},        // 285 (empty)
    {2880, 595, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 0},        // 286 (empty)
    {2879, 595, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 0},        // 287 (empty)
    {2868, 596, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 288 USC0
    {2869, 597, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 289 USC1
    {2871, 598, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 290 USC2
    {2873, 599, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 114},      // 291 USC3
    {2870, 600, ControlKind::List, 0, ParameterClass::User, 0, 0, 0, 0, 0, 112},      // 292 (empty)
    {2825, 601, ControlKind::Number, 0, ParameterClass::Factory, -100, 100, 0, 0, 1,
     107},  // 293 (empty)
    {2827, 602, ControlKind::Number, 0, ParameterClass::Factory, -4533, 37876, 0, 0, 1,
     107},  // 294 (empty)
    {2829, 603, ControlKind::Number, 0, ParameterClass::Factory, -4533, 37876, 0, 0, 1,
     107},  // 295 (empty)
    {2831, 604, ControlKind::Number, 0, ParameterClass::Factory, -4533, 37876, 0, 0, 1,
     107},  // 296 (empty)
    {2833, 605, ControlKind::Number, 0, ParameterClass::Factory, -4533, 37876, 0, 0, 1,
     107},  // 297 (empty)
    {2835, 606, ControlKind::Number, 0, ParameterClass::Factory, -4533, 37876, 0, 0, 1,
     107},  // 298 (empty)
    {2837, 607, ControlKind::Number, 0, ParameterClass::Factory, 0, 256, 0, 0, 1,
     107},  // 299 (empty)
    {2839, 608, ControlKind::Number, 0, ParameterClass::Factory, -8192, 8191, 0, 0, 1,
     107},  // 300 (empty)
    {2841, 609, ControlKind::Number, 0, ParameterClass::Factory, -8192, 8191, 0, 0, 1,
     107},  // 301 (empty)
    {2843, 610, ControlKind::Number, 0, ParameterClass::Factory, -8192, 8191, 0, 0, 1,
     107},  // 302 (empty)
    {2845, 611, ControlKind::Number, 0, ParameterClass::Factory, -8192, 8191, 0, 0, 1,
     107},                                                                            // 303 (empty)
    {2876, 612, ControlKind::Check, 0, ParameterClass::Factory, 0, 1, 1, 0, 1, 107},  // 304 (empty)
    {1422, 613, ControlKind::List, 0, ParameterClass::Factory, 1, 64, 1, 0, 1, 107},  // 305 FCBDRT
    {2898, 614, ControlKind::Number, 0, ParameterClass::Factory, 1, 64, 1, 0, 1, 107},  // 306 SBDRT
    {2660, 615, ControlKind::List, 0, ParameterClass::User, 0, 2, 0, 0, 1, 125},        // 307 CTM
    {2662, 616, ControlKind::List, 0, ParameterClass::User, 0, 3, 0, 0, 1, 125},        // 308 CTRM
    {2631, 617, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 309 CMVRR
    {2633, 618, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 310 CMVRG
    {2635, 619, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 311 CMVRB
    {2637, 620, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 312 CMVGR
    {2640, 621, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 313 CMVGG
    {2643, 622, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 314 CMVGB
    {2646, 623, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 315 CMVBR
    {2649, 624, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 316 CMVBG
    {2652, 625, ControlKind::Number, 0, ParameterClass::User, -20, 20, 10, 0, 1, 125},  // 317 CMVBB
    {2665, 626, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},        // 318 EDGEN
    {2675, 627, ControlKind::List, 0, ParameterClass::User, 0, 3, 1, 0, 1, 125},        // 319 EDGLV
    {2667, 628, ControlKind::List, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},        // 320 COLEN
    {2655, 629, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},  // 321 CEVALR
    {2657, 630, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},  // 322 CEVALCY
    {2659, 631, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},  // 323 CEVALG
    {2669, 632, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},  // 324 CEVALMG
    {2671, 633, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},  // 325 CEVALB
    {2673, 634, ControlKind::Number, 0, ParameterClass::User, 0, 1, 0, 0, 1, 125},  // 326 CEVALYL
    {1382, 635, ControlKind::Number, 0, ParameterClass::User, 0, 500000, 0, 0, 1, 112},  // 327 TD
};

// Commands whose rows are never read back from the camera although they are not actions.
bool IsUnreadableCommand(int commandId) {
  return commandId == 120 || commandId == 149 || commandId == 150;
}

constexpr int kBlemishXControls[] = {1424, 1427, 1449};
constexpr int kBlemishYControls[] = {1438, 1441, 1460};
constexpr int kFirstModel = 0;
constexpr int kFirstModelBlemishMaxX = 1455;
constexpr int kFirstModelBlemishMaxY = 1087;
constexpr int kReadBackTimeoutMs = 2500;

}  // namespace

ParameterTable::ParameterTable(ui::Desktop& desktop)
    : desktop_(desktop), rows_(std::begin(kInitialRows), std::end(kInitialRows)) {}

void ParameterTable::Warn(const std::string& text) {
  desktop_.ShowMessageBox(nullptr, text, "", ui::MessageIcon::Exclamation, ui::MessageButtons::Ok);
}

std::optional<size_t> ParameterTable::IndexOf(int controlId) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].controlId == controlId) return i;
  }
  return std::nullopt;
}

const ParameterRow* ParameterTable::FindRow(int controlId) const {
  const auto index = IndexOf(controlId);
  return index ? &rows_[*index] : nullptr;
}

int ParameterTable::GetDataValue(int controlId) {
  if (const auto i = IndexOf(controlId)) return rows_[*i].current;
  Warn("Unexpected error occurred in GetDataValue().");
  return -1;
}

int ParameterTable::SetDataValue(int controlId, int value) {
  if (const auto i = IndexOf(controlId)) {
    rows_[*i].current = value;
    return 1;
  }
  Warn("Unexpected error occurred in SetDataValue().");
  return 0;
}

int ParameterTable::GetPreviousValue(int controlId) {
  if (const auto i = IndexOf(controlId)) return rows_[*i].previous;
  Warn("Unexpected error occurred in GetDataValue().");
  return -1;
}

void ParameterTable::CommitAll() {
  for (auto& row : rows_) row.previous = row.current;
}

int ParameterTable::ToCmdId(int controlId) {
  if (const auto i = IndexOf(controlId)) return rows_[*i].commandId;
  Warn("Unexpected error occurred in ToCmdId().");
  return -1;
}

int ParameterTable::ToCtrlId(int commandId) {
  for (const auto& row : rows_) {
    if (row.commandId == commandId) return row.controlId;
  }
  Warn("Unexpected error occurred in ToCtrlId(): Command id is " + std::to_string(commandId));
  return -1;
}

int ParameterTable::CtrlId2TblIndex(int controlId) {
  if (const auto i = IndexOf(controlId)) return static_cast<int>(*i);
  Warn("Unexpected error occurred in CtrlId2TblIndex().");
  return -1;
}

int ParameterTable::GetReserved(int controlId) {
  const int index = CtrlId2TblIndex(controlId);
  return index < 0 ? -1 : rows_[static_cast<size_t>(index)].reserved;
}

int ParameterTable::GetLimits(int controlId, int& min, int& max) {
  const int index = CtrlId2TblIndex(controlId);
  if (index < 0) return 0;
  min = rows_[static_cast<size_t>(index)].min;
  max = rows_[static_cast<size_t>(index)].max;
  return 1;
}

int ParameterTable::SetLimits(int controlId, int min, int max) {
  const int index = CtrlId2TblIndex(controlId);
  if (index < 0) return 0;
  rows_[static_cast<size_t>(index)].max = max;
  rows_[static_cast<size_t>(index)].min = min;
  return 1;
}

int ParameterTable::IsFactoryParam(int controlId) {
  if (const auto i = IndexOf(controlId)) {
    return rows_[*i].parameterClass == ParameterClass::Factory ? 1 : 0;
  }
  char text[160];
  std::snprintf(text, sizeof text,
                "ERROR: IsFactoryParam(): Control id \"%d: 0x%x\" is not registered in database "
                "table",
                controlId, static_cast<unsigned>(controlId));
  Warn(text);
  return 0;
}

int ParameterTable::FileFlagOf(int controlId) const {
  const auto i = IndexOf(controlId);
  return i ? rows_[*i].file : 0;
}

bool ParameterTable::IsReadable(int rowIndex) const {
  if (rowIndex < 0 || rowIndex >= static_cast<int>(rows_.size())) return false;
  const auto& row = rows_[static_cast<size_t>(rowIndex)];
  return row.kind != ControlKind::Action && !IsUnreadableCommand(row.commandId);
}

int ParameterTable::ReadableCount() {
  if (!readableCount_) {
    int count = 0;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) count += IsReadable(i) ? 1 : 0;
    readableCount_ = count;
  }
  return *readableCount_;
}

int ParameterTable::ReadableUserCount() {
  if (!readableUserCount_) {
    int count = 0;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
      if (IsReadable(i) && rows_[static_cast<size_t>(i)].parameterClass == ParameterClass::User) {
        ++count;
      }
    }
    readableUserCount_ = count;
  }
  return *readableUserCount_;
}

void ParameterTable::WriteAllToControls(ControlValueWriter& controls) const {
  for (const auto& row : rows_) controls.SetControlValue(row.controlId, row.current);
}

void ParameterTable::WriteChangedToControls(ControlValueWriter& controls) const {
  for (const auto& row : rows_) {
    if (row.current != row.previous) controls.SetControlValue(row.controlId, row.current);
  }
}

void ParameterTable::PushChangedValues(Command& command, ControlValueWriter& controls,
                                       int timeoutMs) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].current == rows_[i].previous) continue;
    rows_[i].previous = rows_[i].current;
    const int commandId = rows_[i].commandId;
    const int controlId = rows_[i].controlId;
    if (!command.SetCommand(commandId, rows_[i].current, timeoutMs)) return;
    int answer = 0;
    if (command.QueryValue(commandId, answer, kReadBackTimeoutMs)) {
      SetDataValue(controlId, answer);
      controls.SetControlValue(controlId, answer);
    }
  }
}

void ParameterTable::ApplyModelLimits(int cameraModel) {
  // The static maxima serve the larger sensor; they are restored for any other model so that a
  // second identification (another camera on the same channel) never keeps the smaller limits.
  for (int id : kBlemishXControls) {
    if (const auto i = IndexOf(id)) {
      rows_[*i].max = cameraModel == kFirstModel ? kFirstModelBlemishMaxX : kInitialRows[*i].max;
    }
  }
  for (int id : kBlemishYControls) {
    if (const auto i = IndexOf(id)) {
      rows_[*i].max = cameraModel == kFirstModel ? kFirstModelBlemishMaxY : kInitialRows[*i].max;
    }
  }
}

}  // namespace qx
