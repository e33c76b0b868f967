// A block library without info.
#include "test_block.h"

TB_BLOCK(tb0004) {
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBNOINFO", 1, 0, 2, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}
