#include "model_blocks.h"

#include "vireo_tools.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mb {

namespace {

void identify(const Identity& d, float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char (*SP)[1024]) {
    char row[1024];
    std::memset(row, ' ', sizeof row);
    std::memcpy(row, d.names, std::strlen(d.names));
    id(IN, OUT, IP, RP, DP, BP, SP == nullptr ? nullptr : SP[0], row, &d.nameCount, &d.minInputs, &d.maxInputs,
       &d.outputCount, &d.ipSize, &d.rpSize, &d.dpSize, &d.minParameters, &d.maxParameters, &d.minStrings,
       &d.maxStrings, &d.group, 1024, 1024);
}

void log(const int* IP) {
    const char* path = std::getenv("VIREO_PROBE_LOG");
    if (path == nullptr || *path == '\0') return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%d %d\n", IP[1], IP[3]);
        std::fclose(f);
    }
}

void report(int code, int* IP, float* RP, char (*SP)[1024]) {
    IP[0] = code;
    msg(IP, RP, SP == nullptr ? nullptr : SP[0], 1024);
}

}  // namespace

int call(const Identity& d, Behaviour behaviour, float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP,
         char (*SP)[1024]) {
    if (IP[1] == -1) {
        identify(d, IN, OUT, IP, RP, DP, BP, SP);
        return 0;
    }
    log(IP);
    if (IP[1] != 1) return 0;
    switch (behaviour) {
        case Behaviour::timer:
            // Steps from the first parameter, kept inside int whatever the model gives.
            if (BP != nullptr) IP[7] = BP[0] >= 1.0f && BP[0] < 1.0e9f ? static_cast<int>(BP[0]) : 0;
            break;
        case Behaviour::failInit: report(kInitError, IP, RP, SP); break;
        case Behaviour::warnInit: report(kInitWarning, IP, RP, SP); break;
        case Behaviour::none: break;
    }
    return 0;
}

}  // namespace mb

// Blocks of every group, and blocks with limits on inputs, parameters and texts.
//        function  behaviour  names                    n  minIn maxIn out ip  rp dp minP maxP minS maxS group
TM_BLOCK(tm0001, none,     "ADD PLUS SUM",              3, 0,    8,    2,  12, 1, 1, 0,   3,   0,   2,   3)
TM_BLOCK(tm0002, none,     "LIMITS",                    1, 1,    2,    1,  10, 0, 0, 1,   2,   1,   1,   3)
TM_BLOCK(tm0003, none,     "CONST",                     1, 0,    0,    1,  10, 0, 0, 0,   1,   0,   0,   1)
TM_BLOCK(tm0004, timer,    "TIMER",                     1, 0,    1,    1,  10, 0, 0, 0,   1,   0,   0,   2)
TM_BLOCK(tm0005, timer,    "TIMERNP",                   1, 0,    1,    1,  10, 0, 0, 0,   1,   0,   0,  -2)
TM_BLOCK(tm0006, none,     "LTOP",                      1, 0,    2,    1,  11, 0, 0, 0,   0,   0,   0,  -4)
TM_BLOCK(tm0007, none,     "LOOP",                      1, 1,    4,    1,  10, 0, 0, 0,   0,   0,   0,   4)
TM_BLOCK(tm0008, none,     "DELAY",                     1, 0,    1,    1,  10, 0, 0, 0,   0,   0,   0,   5)
TM_BLOCK(tm0009, none,     "ITER",                      1, 0,    2,    1,  10, 0, 0, 0,   0,   0,   0,   6)
TM_BLOCK(tm0010, none,     "_NODE",                     1, 0,    8,    1,  10, 0, 0, 0,   0,   0,   0,   0)
TM_BLOCK(tm0011, none,     "ODD",                       1, 0,    2,    1,  10, 0, 0, 0,   0,   0,   0,   7)
TM_BLOCK(tm0012, none,     "THIRTEENCHARS LONGNAME15CHARS", 2, 0, 2,   1,  10, 0, 0, 0,   0,   0,   0,   3)

// Blocks for initialisation: a probe of every kind of array, and blocks whose
// initialisation fails or warns.
TM_BLOCK(tm0013, none,     "PROBE",                     1, 0,    8,    3,  12, 2, 2, 0,   4,   0,   2,   3)
TM_BLOCK(tm0014, failInit, "FAILINIT",                  1, 0,    2,    1,  10, 0, 0, 0,   0,   0,   0,   3)
TM_BLOCK(tm0015, warnInit, "WARNINIT",                  1, 0,    2,    1,  10, 0, 0, 0,   0,   0,   0,   3)
