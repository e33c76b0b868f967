// A plant for the loop tests of the desiccant-cooling controllers: the supply air leaves
// the outdoor temperature cooler by a fixed amount per level of the command the loop top
// passes on. It counts the passes of each loop (the loop top's pass number) and prints
// the most it saw at its last call.
#include "test_block.h"

#include <cstdio>

TB_BLOCK(tb0024) {
    if (IP[1] == tb::kIdentify) {
        tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"DECPLANT", 1, 3, 3, 1, 11, 0, 0, 1, 1, 0, 0, 3});
        return 0;
    }
    if (IP[1] == 1) {
        IP[10] = 0;
    } else if (IP[1] == 0) {
        OUT[0] = IN[0] - BP[0] * IN[1];
        if (IN[2] > float(IP[10])) IP[10] = int(IN[2]);
    } else {
        std::printf("most passes %d\n", IP[10]);
    }
    return 0;
}

TB_EXPORT char* info() { return tb::infoLine("test_20240101_decplant", "libTbDecPlant"); }
