// Functions named like blocks that do not answer the identification call.
#include "test_block.h"

TB_BLOCK(tb0009) {
    (void)IN, (void)OUT, (void)IP, (void)RP, (void)DP, (void)BP, (void)SP;
    return 0;
}

TB_BLOCK(ubHelper) {
    (void)IN, (void)OUT, (void)RP, (void)DP, (void)BP, (void)SP;
    IP[0] = 0;  // writes, but leaves callMode alone
    return 0;
}

TB_EXPORT char* info() { return tb::infoLine("test_20240101_noblock", "libTbNoBlock"); }
