// A block with an alias, whose identification answers a fractional input limit.
#include "test_block.h"

TB_BLOCK(tb0001) {
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBMAIN TBALIAS", 2, 1, 3, 2, 12, 1, 2, 0, 2, 0, 1, 3});
        IN[0] = 3.9f;  // the engine truncates: 3 inputs at most
        return 0;
    }
    if (IP[1] == 0) OUT[0] = IN[0];
    return 0;
}

TB_EXPORT char* info() { return tb::infoLine("test_20240101_alias", "libTbAlias"); }
