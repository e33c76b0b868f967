// A block that calls a routine its own library exports: the call must reach the
// library's routine even when the program that loads the library defines the same name.
#include "test_block.h"

extern "C" TB_EXPORT float tbhelper(float x) { return 2.0f * x; }

TB_BLOCK(tb0101) {
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBSELF", 1, 1, 1, 1, 10, 0, 0, 0, 0, 0, 0, 3});
        return 0;
    }
    if (IP[1] == 0) OUT[0] = tbhelper(IN[0]);
    return 0;
}

TB_EXPORT char* info() { return tb::infoLine("test_20240101_self", "libTbSelf"); }
