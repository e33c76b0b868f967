// A library whose second block function ends the process when it is asked for its
// identity, beside one that answers.
#include "test_block.h"

#include <sys/mman.h>

TB_BLOCK(tb0201) {
    if (IP[1] == tb::kIdentify) tb::identify(IN, OUT, IP, RP, DP, BP, SP, {"TBFIRST", 1, 0, 0, 1, 10, 0, 0, 0, 0, 0, 0, 3});
    return 0;
}

TB_BLOCK(tb0202) {
    (void)IN, (void)OUT, (void)RP, (void)DP, (void)BP, (void)SP;
    if (IP[1] == tb::kIdentify) {
        // A write into memory that may not be written: a real fault, and no undefined
        // behaviour the sanitizers would stop at first.
        void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        *static_cast<volatile int*>(page) = 1;
    }
    return 0;
}
