// A library that calls a block of another library and has no info of its own: the
// block it imports and the info of the library it links belong to that library.
#include "test_block.h"

TB_BLOCK(tb0001);

TB_BLOCK(tb0005) {
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBIMPORT", 1, 1, 1, 1, 10, 0, 0, 0, 0, 0, 0, 3});
        return 0;
    }
    return tb0001(IN, OUT, IP, RP, DP, BP, SP);
}
