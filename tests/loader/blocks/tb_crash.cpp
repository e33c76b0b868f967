// A library whose second block function ends the process when it is asked for its
// identity, beside one that answers.
#include "test_block.h"

TB_BLOCK(tb0201) {
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBFIRST", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}

TB_BLOCK(tb0202) {
    (void)IN, (void)OUT, (void)RP, (void)DP, (void)BP, (void)SP;
    if (IP[1] == tb::kIdentify) {
        volatile int* volatile nowhere = nullptr;  // the compiler cannot see that it is null
        *nowhere = 1;
    }
    return 0;
}
