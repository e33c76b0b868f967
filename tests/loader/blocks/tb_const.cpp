// A constant source that declares its name in lower case, and a data object named like a
// block, which must never be called.
#include "test_block.h"

TB_BLOCK(tb0002) {
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"tbconst", 1, 0, 0, 1, 10, 0, 0, 1, 1, 0, 0, 1});
        return 0;
    }
    if (IP[1] == 1) OUT[0] = BP[0];
    return 0;
}

extern "C" {
__attribute__((visibility("default"))) int tb0008[4] = {-1, -1, -1, -1};
}

TB_EXPORT char* info() { return tb::infoLine("test_20240101_const", "libTbConst"); }
