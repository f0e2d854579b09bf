#include "simulations/catalogue.h"

namespace velistrad {

namespace {

constexpr const char* kSeniorDeaconAltar =
    "All,-AT-X-,Now, SD,XZVM-N-1-,After, All, Delay, 0.5, SD, -DIAG_N-2-,After, All, Delay, "
    "0.5, SD, -DIAG_NE-3-,After, All, Delay, 0.5, SD, -DIAG_E-4-,After, All, Delay, 0.5, SD, "
    "-DIAG_SE-5-, After, All, Delay, 0.5, SD, -DIAG_S-6-, After, All, Delay, 0.5, SD, "
    "-DIAG_S-7-, After, All, Delay, 0.5, SD, -DIAG_S-J+S+800-KVZX, After";

// Scripts exactly as they are put into the editor; spaces and letter case are
// part of what users see. Adjacent literals only break long lines.
const std::array<CatalogueEntry, kCatalogueSize> kCatalogue{{
    {"Opening", "Marshal", "Do_Mar_Opening", 0,
     "All,-AT-X-,Now,Mar,XZCEVU,Now,All,Delay,1.0,Mar,UZX,After"},
    {"Opening", "Deacons - Word of the Day", "Do_WOTD", 0,
     "All,-AT-X-,Now, SD,XZ-N-U-,Now, JD,XZT-S-U-,Simult, All,Delay,1.0, JD,TAI-S-J-,Now, "
     "SD,VBK-N-J-,Simult, All,Delay,1.0,JD,IZX,Now,SD,KVZX,Now"},
    {"Opening", "Senior Deacon - Altar", "Do_SD_Altar", 0, kSeniorDeaconAltar},
    {"Opening", "Senior Steward", "Do_SS", 0,
     "All,-AT-X-,Now, SS,XZG-E-J-,Now, All,Delay,0.5, SS,J,Now, All,Delay,2.0, SS,GZX,Now"},
    {"Opening", "Junior Steward", "Do_JS", 0,
     "All,-AT-X-,Now, JS,XZG-E-J-,Now, All,Delay,0.5, JS,J,Now, All,Delay,2.0, JS,GZX,Now"},
    {"Opening", "Standard Bearer", "Do_SB", 0,
     "All,-AT-X-,Now, SB,-DIAG_N-SB+N+100-, Now, All, Delay, 0.5, SB,VTFG-DIAG_E-G+E+700-,After"},
    {"Opening", "Chaplain", "Do_Chap", 0,
     "All,-AT-X-,Now, SB,-AT_E-G+E+700-,Now, MC,-E-U-,Now, SC,-W-D-,Now, JC,-S-L-,Now, "
     "Ch,XZ-N-T-,Unsync, Mar,XZT,Simult, Mar,-W-I-,After, Ch,-N-I-,Now, Mar,-W-J-,After, "
     "Ch,J,Simult, All,Delay,0.5, Mar,-NW-J-,Now, Mar,-DIAG_NW-J+W+100-,After, Ch,-E-J-,Simult, "
     "All,Delay,2.0,MC,X,Now, SC,X,Now, JC,X,Now, Mar,-NW-J-,Now, Ch,J-N-J-,Now, "
     "Ch,-S-K-,After, Mar,-W-K-K,Now, Ch,-SW-V-,After, "
     "Mar,V-S-V-,Now,Mar,-DIAG_N-T+N+800-,After, Ch,-DIAG_NW-T+N+800-Z,Now, Ch,-E-CH-,After, "
     "Mar,Z,After, Mar,-E-Mar-,After,Mar,X,After, Ch,X,Simult, SB,GHV-DIAG_E-V+E+200-,After, "
     "All,Delay,0.5, SB,X,After"},
    {"Opening", "Deacons - Password", "Do_Password", 0,
     "All,-AT-X-,Now, SD,XZK-N-J-,Now, JD,XZI-S-J-,Simult, All,Delay,1.0, SD,KVBK-N-J-,Now, "
     "JD,ITAI-S-J-,Simult, All,Delay,1.0, SD,-DIAG_NW-D+W+400-,Now, All,Delay,1.0, "
     "SD,-DIAG_N-J-,Now, JD,-DIAG_SW-D+W+400-,After, All,Delay,1.0, JD,-DIAG_S-J-,Now, "
     "All,Delay,1.0, JD,IZX,Now, SD,KVZX,Now"},
    {"Closing", "Chaplain", "Do_Chap2", 0,
     "All,-AT-X-,Now, MC,-E-U-,Now, SC,-W-D-,Now, JC,-S-L-,Now, Ch,XZ-N-T-,Unsync, "
     "Mar,XZT,Simult, Mar,-W-I-,After, Ch,-N-I-,Now, Mar,-W-J-,After, Ch,J,Simult, "
     "All,Delay,0.5, Mar,-NW-J-,Now, Mar,-DIAG_NW-J+W+100-,After, Ch,-E-J-,Simult, "
     "All,Delay,2.0,MC,X,Now, SC,X,Now, JC,X,Now, Mar,-NW-J-,Now, Ch,J-N-J-,Now, "
     "Ch,-S-K-,After, Mar,-W-K-K,Now, Ch,-SW-V-,After, "
     "Mar,V-S-V-,Now,Mar,-DIAG_N-T+N+800-,After, Ch,-DIAG_NW-T+N+800-Z,Now, Ch,-E-CH-,After, "
     "Mar,Z,After, Mar,-E-Mar-,After,Mar,X,After, Ch,X,Simult"},
    {"Closing", "Senior Steward", "Do_SS2", 0,
     "All,-AT-X-,Now, SS,XZG-E-J-,Now, All,Delay,0.5, SS,JGZX,Now"},
    {"Closing", "Junior Steward", "Do_JS2", 0,
     "All,-AT-X-,Now, JS,XZG-E-J-,Now, All,Delay,0.5, JS,JGZX,Now"},
    // Runs the handler of "Senior Deacon - Altar", so it plays the same script.
    {"Closing", "Senior Deacon", "Do_SD_Altar2", 3, kSeniorDeaconAltar},
    {"Initiatory Degree", "Marshal + Stewards", "Do_Marshal_Stewards", 0,
     "ALL,-AT-X-,Now, Mar,XZIJ,After, SS,XZ-S-G--S-Mar-,Simult, JS,XZ-N-G--N-Mar-,Simult, "
     "All,Delay,1.0, SS,-SW-Mar-,Now, JS,-NW-Mar-,Simult, All,Delay,0.5, JS,-W-K-,Now, "
     "Mar,-SE-JS-,Simult, SS,-SW-Mar-,Simult, Mar,-SW-JS-, After, JS,-E-B-,After, "
     "Mar,-SW-JS-,Simult, SS,-SE-Mar-,Simult"},
    {"Initiatory Degree", "Marshal Returns", "Do_Marshal_Returns", 0,
     "All,-AT-X-,Now,JS,-AT_E-B-,Now, Mar,-AT_SW-JS-,Simult, SS,-AT_SE-Mar-,Simult, "
     "JS,-NW-B-,After, SS,-E-B--W-B-,Simult, Mar,BKJ,After, All,Delay,1.0, Mar,JKVZX,After"},
    {"Initiatory Degree", "Candidates Enter, To Altar", "Do_Candidates_Enter", 0,
     "All,-AT-X-,Now, JS,-AT_NW-B-,Now,SS,-AT_W-B-,Now, SD,XZB,After, All,Delay,1.0, "
     "SD,BM,After, SS,BK,Simult, JS,B-W-SS-,Simult, All,Delay,1.0, SD,V-S-U-,After, "
     "SS,VU,Simult, JS,V-N-U-,Simult, All,Delay,1.0, SD,T-W-I--NW-J-,After, SS,UT-W-I--W-J-, "
     "Simult, JS,UT-W-I--SW-J-,Simult"},
    {"Shield", "Formation", "Do_Shield_Formation", 0,
     "ALL,-AT-X-,Now, SD,-AT_NW-J-,Now, SS,-AT_W-J-,Now, JS,-AT_SW-J-,Now, MC,XZR,After, "
     "SC,XZEV,After, JC,XZT,Simult, Ch,XZU-E-MC-,After, SC,-N-U--N-Ch-,Simult, "
     "JC,-S-U--S-Ch-,Simult, 7P,XZVU,Now, 6P,XZV-N-7P-,Simult, 5P,XZV-N-6P-,Simult, "
     "4P,XZEV-N-5P-,Simult, 1P,XZT-S-7P-,Simult, 2P,XZT-S-1P-,Simult, 3P,XZCT-S-2P-,Simult, "
     "Mar,X-E-1P-,Simult, SB,X-E-6P-,Simult, JD,XZI,Simult"},
    {"Shield", "Into Positions", "Do_Shield_Into", 0,
     "ALL,-AT-X-,Now, SD,-AT_NW-J-,Now, SS,-AT_W-J-,Now, JS,-AT_SW-J-,Now, JD,-AT-I-,Now, "
     "MC,-AT-R-,Now, Ch,-AT_E-MC-,Now, SC,-AT_N-Ch-,Now, JC,-AT_S-Ch-,Now, 7P,-AT-U-,Now, "
     "1P,-AT_S-7P-,Now, 2P,-AT_S-1P-,Now, 3P,-AT_S-2P-,Now, 6P,-AT_N-7P-,Now, 5P,-AT_N-6P-,Now, "
     "4P,-AT_N-5P-,Now, Mar,-AT_E-1P-,Now, SB,-AT_E-6P-,Now, MC,-DIAG_S-4--DIAG-O-,After, "
     "SC,-NE-MC-,Now, JC,-SE-MC-,Now, Ch,-DIAG_N-4--DIAG_NE-JC-,Simult, 1P,-DIAG_SE-5-,Now, "
     "Mar,-DIAG_SE-1P-,Now, 2P,-DIAG_S-1P--DIAG_S-6-,Now, "
     "3P,-DIAG_SW-Mar--DIAG_S-2P--DIAG_SW-7-,Now, 6P,-DIAG_NE-3-,Now, SB,-DIAG_NE-6P-,Now, "
     "5P,-DIAG_N-6P--DIAG_N-2-,Now, 4P,-DIAG_NW-SB--DIAG_N-5P--DIAG_NW-1-,Now, 7P,-E-4-,Now, "
     "JD,-SW-3P-,Now, SD,-NW-4P-,Now, All,Delay,1, JS,-SW-JD-,Now, SS,-NW-SD-,Now"},
    {"Shield", "After Obligation", "Do_Shield_Break", 0,
     "ALL,-AT-X-,Now, 3P,-AT_SW-7-,Now, JD,-AT_SW-3P-,Now, JS,-AT_SW-JD-,Now, 4P,-AT_NW-1-,Now, "
     "SD,-AT_NW-4P-,Now, SS,-AT_NW-SD-,Now, MC,-AT-O-,Now, SC,-AT_NE-MC-,Now, "
     "JC,-AT_SE-MC-,Now, Ch,-AT_NE-JC-,Now, 2P,-AT_S-6-,Now, 5P,-AT_N-2-,Now, 7P,-AT_E-4-,Now, "
     "1P,-AT_SE-5-,Now, Mar, -AT_SE-1P-,Now, 6P,-AT_NE-3-,Now, SB,-AT_NE-6P-,Now, "
     "JS,-DIAG_SW-J-,After, SS,-DIAG_NW-J-,Simult, All,Delay,1.0, JS,-DIAG_SW-JD-,Now, "
     "SS,-DIAG_NW-SD-,Simult, MC,-DIAG-L--DIAG_SW-JS--DIAG-J-,Now, All,Delay,1.0, "
     "MC,-DIAG_NW-SS--DIAG-K-VZX,Now, All,Delay,1.0, Mar,-DIAG_SE-U-,Unsync, "
     "SB,-DIAG_NE-U-,Unsync, 3P,-DIAG_S-2P-,Now, 4P,-DIAG_N-5P-,Simult, 2P,-DIAG_S-1P-,After, "
     "3P,-DIAG_S-2P-,Simult, 5P,-DIAG_N-6P-,Simult, 4P,-DIAG_N-5P-,Simult, 7P,U,After, "
     "6P,-DIAG_N-7P-,Simult, 5P,-DIAG_N-6P-,Simult, 4P,-DIAG_N-5P-,Simult, "
     "1P,-DIAG_S-7P-,Simult, 2P,-DIAG_S-1P-,Simult, 3P,-DIAG_S-2P-,Simult, "
     "Ch,-DIAG_N-4--DIAG_E-4--E-R-,Now, SC,-DIAG_N-Ch-,Simult, JC,-DIAG_S-Ch-,Simult"},
    {"Shield", "Return to Stations", "Do_Shield_Return", 0,
     "ALL,-AT-X-,Now, SS,-AT_SW-K-, Now, SD,-AT_SE-SS-,Now, JS,-AT_NW-I-,Now, "
     "JD,-AT_NE-JS-,Now, Ch,-AT_E-R-,Now, JC,-AT_S-Ch-,Now, SC,-AT_N-Ch-,Now, 7P,-AT-U-,Now, "
     "1P,-AT_S-7P-,Now, 2P,-AT_S-1P-,Now, 3P,-AT_S-2P-,Now, 6P,-AT_N-7P-,Now, 5P,-AT_N-6P-,Now, "
     "4P,-AT_N-5P-,Now, Mar,-AT_E-1P-,Now, SB,-AT_E-6P-,Now, Mar,X,After, SB,X,Simult, "
     "7P,V,After, 6P,V-W-7P-,Simult, 1P,T,Simult, 2P,T-W-1P-,Simult, 3P,T-W-2P-,Simult, "
     "5P,V-W-6P-,Simult, 4P,V-W-5P-,Simult, 1P,ZX,After, 2P,ZX,Now, 3P,CZX,Now, 7P,ZX,Now, "
     "6P,ZX,Now, 5P,ZX,Now, 4P,EZX,Now, JC,-E-Q-ZX,Now, Ch,ZX,Now, SC,-E-S-EDZX,Now"},
    {"Triangle", "Officers Enter", "Do_Officers_Enter", 0,
     "Ch+JC+JD+JS+1P+SCR+AL+2P+4P+3P,-AT-A-,Now, MAR+MC+SC+SD+SS+7P+SB+OR+6P+TR+5P,-AT-B-,Now, "
     "Mar,BSR,After, All, Delay, 0.5, MC,BE-DIAG-J-,After, SC,BE-DIAG_NW-MC-,Simult, "
     "SD,BE-DIAG_NW-SC-,Simult, SS,BE-DIAG_NW-SD-,Simult, 7P,BE-DIAG_NW-SS-,Simult, "
     "Ch,AC-DIAG_SW-MC--W-MC-,Simult, JC,AC-DIAG_SW-MC-,Simult, JD,AC-DIAG_SW-JC-,Simult, "
     "JS,AC-DIAG_SW-JD-,Simult, 1P,AC-DIAG_SW-JS-,Simult, SB,BE-DIAG_W-7P+W+200-,Simult, "
     "Or,BE-DIAG_NW-SB-,Simult, 6P,BE-DIAG_NW-Or-,Simult, Scr,AC-DIAG_W-1P+W+200-,Simult, "
     "AL,AC-DIAG_SW-Scr-,Simult, 2P,AC-DIAG_SW-AL-,Simult, 4P,AC-DIAG_SW-2P-,Simult, "
     "3P,AC-DIAG_W-4P-,Simult, TR,-DIAG_NW-6P-,Simult, 5P,-DIAG_W-TR-,Simult, "
     "Scr,-DIAG_N-JD+N+100-,After, SB,-DIAG_S-SD+S+100-,Simult, Al,-DIAG_N-JS+N+150-,Simult, "
     "OR,-DIAG_S-SS+S+150-,Simult, 2P,-DIAG_N-1P+N+100-,Simult, 6P,-DIAG_S-7P+S+100-,Simult, "
     "4P,-DIAG_W-2P+W+150-,Simult, 3P,-DIAG_SW-4P-,Simult, TR,-DIAG_W-6P+W+150-,Simult, "
     "5P,-DIAG_NW-TR-,Simult, TR,-DIAG_S-OR+S+150-,After, 5P,-DIAG_S-6P+S+120-,Simult, "
     "4P,-DIAG_N-2P+N+150--DIAG_W-TR-,Simult, 3P,-DIAG_N-2P+N+120-,Simult"},
    {"Triangle", "To Stations", "Do_Triangle_To_Stations", 0,
     "Mar,-AT-R-,Now, MC,-AT-J-,Now, Ch,-AT_W-MC-,Now, JC,-AT_S-Ch-,Now, SC,-AT_N-Ch-,Now, "
     "JD,-AT_SW-JC-,Now, JS,-AT_SW-JD-,Now, 1P,-AT_SW-JS-,Now, SD,-AT_NW-SC-,Now, "
     "SS,-AT_NW-SD-,Now, 7P,-AT_NW-SS-,Now, Scr,-AT_N-JD+N+100-,Now, SB,-AT_S-SD+S+100-,Now, "
     "Al,-AT_N-JS+N+150-,Now, TR,-AT_N-AL+N+150-,Now, OR,-AT_S-SS+S+150-,Now, "
     "2P,-AT_N-1P+N+100-,Now, 6P,-AT_S-7P+S+100-,Now, 3P,-AT_N-2P+N+120-,Now, "
     "5P,-AT_S-6P+S+120-,Now, 4P,-AT_W-TR-,Now, Mar,RQI,After, MC,-E-J-,After, Mar,-S-K-,After, "
     "MC,-E-Mar-,Simult, Mar,K-W-V-,After, MC,-S-Mar-,Simult, Mar,V-N-U-,After, "
     "MC,-W-Mar-,Simult, MC,-W-U--E-U-,After, MC,X,After, Mar,ZX,Now, All,Delay,1.0, "
     "JC,-W-I-,Now, SC,-W-K-,Now, JD,-DIAG_W-I+W+300-,After, SD,-DIAG_W-K+W+300-,Now, "
     "JC,LZX,Unsync, SC,EDZX,Unsync, JS,-DIAG_W-I+W+600-,After, SS,-DIAG_W-K+W+600-,Now, "
     "JD,ZX,Unsync, SD,VZX,Unsync, Ch,-W-I-,After, SS,-E-H-X,Unsync,  JS,FZX,Unsync, "
     "Scr,-DIAG_W-I+W+300-,After, SB,-DIAG_W-K+W+300-,Now, Ch,TZX,Unsync, "
     "AL,-DIAG_W-I+W+600-,After,Or,-DIAG_W-K+W+600-,Now, Scr,ZX,Unsync, SB,VZX,Unsync, "
     "Tr,-DIAG_W-I+W+600-,After, Al,ZX,Unsync, Or,VZX,Unsync, 1P,-DIAG_W-I+W+900-ZX,After, "
     "2P,-DIAG_W-I+W+900-ZX,Now, 3P,-DIAG_W-I+W+900-CZX,Now, 4P,-DIAG_W-K+W+900-EZX,Now, "
     "5P,-DIAG_W-K+W+900-ZX,Now, 6P,-DIAG_W-K+W+900-ZX,Now, 7P,-DIAG_W-K+W+900-ZX,Now, TR,ZX,Now"},
    {"Triangle", "Reforming", "Do_Reform_Triangle", 0,
     "All,-AT-X-,Now, MC,XZUVK,After, Ch, XZT-W-I-,Simult, SC,XZDE-W-K-,After, "
     "JC,XZ-W-I-,Simult, MC,J,Unsync, Ch,-W-MC-,Unsync, Scr,XZT-DIAG_W-I+W+300-,After, "
     "SB,XZV-DIAG_W-K+W+300-,Simult, JC,-S-Ch-,Unsync, SC,-N-Ch-,Unsync, "
     "JD,XZA-DIAG_W-I+W+300-,After, SD,XZV-DIAG_W-K+W+300-,Simult, "
     "Scr,-DIAG_W-Ch+S+200-,Unsync, SB,-DIAG_W-Ch+N+200-,Unsync, Tr,XZT-DIAG_W-I+W+600-,After, "
     "SD,-DIAG_NW-SC-,Unsync, JD,-DIAG_SW-JC-,Unsync, Al,XZ-DIAG_W-I+W+600-,After, "
     "OR,XZ-DIAG_W-K+W+600-,Simult, Tr,-DIAG_W-Ch+W+300-,Unsync, "
     "SS,XZ-E-H--DIAG_W-K+W+600-,After, JS,XZF-DIAG_W-I+W+600-,Simult, "
     "Al,-DIAG_S-Tr+S+120-,Unsync, Or,-DIAG_N-Tr+N+120-,Unsync,3P,XZC-DIAG_W-I+W+900-,After, "
     "4P,XZE-DIAG_W-K+W+900-,Simult, JS,-DIAG_SW-JD-,Unsync, SS,-DIAG_NW-SD-,Unsync, "
     "1P,XZ-DIAG_W-I+W+900--DIAG_SW-JS-,After, 7P,XZ-DIAG_W-K+W+900--DIAG_NW-SS-,Simult, "
     "2P,XZ-DIAG_W-I+W+900--DIAG_N-1P+N+105-,Simult, "
     "6P,XZ-DIAG_W-K+W+900--DIAG_S-7P+S+105-,Simult, "
     "5P,XZ-DIAG_W-K+W+900--DIAG_S-6P+S+105-,Simult, 3P,-DIAG_N-2P+N+105-,Unsync, "
     "4P,-DIAG_W-Tr-,Unsync, Mar,XZUR,After"},
    {"Triangle", "Officers Exit", "Do_Exit_Triangle", 0,
     "Mar,-AT-R-,Now, MC,-AT-J-,Now, Ch,-AT_W-MC-,Now, JC,-AT_S-Ch-,Now, SC,-AT_N-Ch-,Now, "
     "JD,-AT_SW-JC-,Now, JS,-AT_SW-JD-,Now, 1P,-AT_SW-JS-,Now, SD,-AT_NW-SC-,Now, "
     "SS,-AT_NW-SD-,Now, 7P,-AT_NW-SS-,Now, Scr,-AT_N-JD+N+100-,Now, SB,-AT_S-SD+S+100-,Now, "
     "Al,-AT_N-JS+N+150-,Now, TR,-AT_N-AL+N+150-,Now, OR,-AT_S-SS+S+150-,Now, "
     "2P,-AT_N-1P+N+100-,Now, 6P,-AT_S-7P+S+100-,Now, 3P,-AT_N-2P+N+120-,Now, "
     "5P,-AT_S-6P+S+120-,Now, 4P,-AT_W-TR-,Now, Mar,RQI,After, MC,-E-J-,After, "
     "Mar,J-DIAG_N-J+N+200-,After, MC,-DIAG_N-Mar-,Simult, Ch,-DIAG_S-J-,After, "
     "Ch,-DIAG_S-J-,After, Ch,-DIAG_E-F+E+600-A,Unsync, "
     "MC,-DIAG_N-7P+N+600-B,Unsync,Mar,-DIAG_N-7P+N+350--DIAG_S-B-,Unsync, "
     "JC,-DIAG_S-J--DIAG_E-F+E+600-A,Unsync, JD,-DIAG_SW-J--DIAG_S-J--DIAG_E-F+E+600-A,Unsync, "
     "JS,-DIAG_SW-J--DIAG_S-J--DIAG_E-F+E+600-A,Unsync, SC,-DIAG_N-J--DIAG_E-H+E+600-B,Unsync, "
     "SD,-DIAG_NW-J--DIAG_N-J--DIAG_E-H+E+600-B,Unsync, "
     "SS,-DIAG_NW-J--DIAG_N-J--DIAG_E-H+E+600-B,Unsync, 1P,-DIAG_SW-J--DIAG_S-J-,Now, "
     "7P,-DIAG_NW-J--DIAG_N-J-,Now, 7P,-DIAG_N-J-,After,1P,-DIAG_E-F+E+600-A,Unsync, "
     "7P,-DIAG_E-H+E+600-B,Unsync, Scr,-DIAG_S-J--DIAG_E-F+E+600-A,Unsync, "
     "SB,-DIAG_N-J--DIAG_E-H+E+600-B,Unsync, Al,-DIAG_SE-TR--DIAG_S-J--DIAG_E-F+E+600-A,Unsync, "
     "Or,-DIAG_NE-TR--DIAG_N-J--DIAG_E-H+E+600-B,Unsync, 2P,-DIAG_SE-TR-,Now, "
     "6P,-DIAG_NE-TR-,Now, 6P,-DIAG_NE-TR-,After, 2P,-DIAG_S-J--DIAG_E-F+E+600-A,Unsync, "
     "6P,-DIAG_N-J--DIAG_E-H+E+600-B,Unsync, TR,-DIAG_N-J--DIAG_E-H+E+600-B, Unsync, "
     "5P,-DIAG_N-J--DIAG_E-H+E+600-B,Unsync, 3P,-DIAG_S-J--DIAG_E-F+E+600-F,Now, "
     "4P,-DIAG_S-J--DIAG_E-F+E+600--E-F-,Simult, 3P,A,After, 4P,A,Now"},
}};

}  // namespace

const std::array<CatalogueEntry, kCatalogueSize>& catalogue() {
    return kCatalogue;
}

}  // namespace velistrad
