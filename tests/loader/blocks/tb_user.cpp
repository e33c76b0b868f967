// The user's block library: a "ub" block that repeats a name of the installed ones.
#include "test_block.h"

TB_BLOCK(ubDemo) {
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"UBDEMO TBALIAS", 2, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}

TB_EXPORT char* info() { return tb::infoLine("test_20240101_user", "libTbUser"); }
