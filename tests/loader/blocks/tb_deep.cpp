// Lies in a subdirectory of a block directory, which the loader does not enter.
#include "test_block.h"

TB_BLOCK(tb0006) {
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBDEEP", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}
