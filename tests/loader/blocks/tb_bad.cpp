// Identities that no block instance could be built from, beside one that is sound.
#include "test_block.h"

#include <cmath>

TB_BLOCK(tb0101) {  // no room for the protocol slots
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBSHORT", 1, 0, 0, 1, 4, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}

TB_BLOCK(tb0102) {  // a negative array size
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBNEG", 1, 0, 0, 1, 10, -1, 0, 0, 0, 0, 0, 3});
    return 0;
}

TB_BLOCK(tb0103) {  // an input limit beyond any int
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBHUGE", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
        IN[0] = 1e20f;
    }
    return 0;
}

TB_BLOCK(tb0104) {  // more string rows than any model could fill
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBROWS", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 2000000, 3});
    return 0;
}

TB_BLOCK(tb0105) {
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBNAN", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
        OUT[0] = std::nanf("");
    }
    return 0;
}

TB_BLOCK(tb0106) {
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBGOOD", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}

TB_BLOCK(tb0107) {  // more inputs needed than allowed
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBPAIR", 1, 3, 2, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}
