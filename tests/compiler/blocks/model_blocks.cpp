#include "model_blocks.h"

#include "vireo_tools.h"

#include <csignal>
#include <cstdint>
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

void log(const int* IP, const char* extra = "") {
    const char* path = std::getenv("VIREO_PROBE_LOG");
    if (path == nullptr || *path == '\0') return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%d %d%s\n", IP[1], IP[3], extra);
        std::fclose(f);
    }
}

void answer(const Identity& d, int* IP, const float* BP) {
    const int kind = IP[1] == 0 ? 1 : 2;
    const int count = kind == 1 ? ++IP[10] : ++IP[11];
    for (int r = 0; r + 3 < d.maxParameters && BP[r] != 0.0f; r += 4) {
        if (static_cast<int>(BP[r]) != kind) continue;
        const int n = static_cast<int>(BP[r + 1]);
        if (n != 0 && n != count) continue;
        IP[1] = static_cast<int>(BP[r + 2]);
        IP[5] = static_cast<int>(BP[r + 3]);
        return;
    }
}

// The address a crashing block writes to; the compiler cannot know it is null, so the
// write is made, and the fault is the hardware's.
volatile std::uintptr_t nowhere = 0;

// A block that crashes as a faulty block does, not as a sanitizer reports one.
__attribute__((no_sanitize("address", "undefined"))) void crash(int signal) {
    if (signal == SIGSEGV) *reinterpret_cast<volatile int*>(nowhere) = 1;
    else if (signal == SIGABRT) std::abort();
    std::raise(signal);
}

// Results held for writing out that crash when they are written: a holder whose memory a
// crashing block ruined.
extern "C" void ruinedHolder(void*) { crash(SIGSEGV); }

void step(const Identity& d, Behaviour behaviour, float* OUT, int* IP, const float* BP) {
    switch (behaviour) {
        case Behaviour::clock:
            if (++IP[10] > static_cast<int>(BP[0])) IP[1] = 2;
            else OUT[0] = static_cast<float>(IP[10]);
            break;
        case Behaviour::loopTop: ++IP[10]; break;
        case Behaviour::parameters:
            for (int k = 0; k < d.outputCount && k < d.maxParameters; ++k) OUT[k] = BP[k];
            break;
        case Behaviour::signal:
            if (++IP[10] == static_cast<int>(BP[0]))
                std::raise(BP[1] < 0.0f ? -static_cast<int>(BP[1]) : BP[1] == 1.0f ? SIGINT : SIGUSR1);
            break;
        case Behaviour::miscount: IP[4] = 1000; break;
        case Behaviour::crash:
            if (++IP[10] == static_cast<int>(BP[0])) crash(static_cast<int>(BP[1]));
            break;
        case Behaviour::quietStep:
            if (++IP[10] == static_cast<int>(BP[0])) IP[0] = kInitError;
            break;
        default: break;
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
    if (behaviour == Behaviour::loopTop && IP[1] == 0) {
        char passes[32];
        std::snprintf(passes, sizeof passes, " top=%d", IP[10]);
        log(IP, passes);
    } else {
        log(IP);
    }
    if (behaviour == Behaviour::answer && IP[1] != 1) {
        answer(d, IP, BP);
        return 0;
    }
    if (IP[1] == 0) step(d, behaviour, OUT, IP, BP);
    if (IP[1] == 2 && behaviour == Behaviour::quietStep && BP[0] < 0.0f) IP[0] = kInitError;  // at the last call
    if (IP[1] != 1) return 0;
    switch (behaviour) {
        case Behaviour::timer:
            // Steps from the first parameter, kept inside int whatever the model gives.
            if (BP != nullptr) IP[7] = BP[0] >= 1.0f && BP[0] < 1.0e9f ? static_cast<int>(BP[0]) : 0;
            break;
        case Behaviour::failInit: report(kInitError, IP, RP, SP); break;
        case Behaviour::warnInit: report(kInitWarning, IP, RP, SP); break;
        case Behaviour::quietInit: IP[0] = kInitError; break;
        case Behaviour::clock: IP[7] = static_cast<int>(BP[0]); break;
        case Behaviour::crash:
            if (BP[2] == 1.0f) vireo_tools_hold_pending(ruinedHolder, nullptr);
            break;
        default: break;
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

// Blocks for the run: answering blocks of four groups, a free timer, loop tops with and
// without an own IP slot, and blocks that show parameters, raise signals, crash or
// miscount.
TM_BLOCK(tm0016, answer,   "ANSWER",                    1, 0,    8,    1,  12, 0, 0, 0,  40,   0,   0,   3)
TM_BLOCK(tm0017, answer,   "TANSWER",                   1, 0,    1,    1,  12, 0, 0, 0,  40,   0,   0,   2)
TM_BLOCK(tm0018, answer,   "LANSWER",                   1, 1,    4,    1,  12, 0, 0, 0,  40,   0,   0,   4)
TM_BLOCK(tm0019, answer,   "IANSWER",                   1, 0,    2,    1,  12, 0, 0, 0,  40,   0,   0,   6)
TM_BLOCK(tm0020, clock,    "CLOCK",                     1, 0,    0,    1,  11, 0, 0, 1,   1,   0,   0,   2)
TM_BLOCK(tm0021, loopTop,  "PASSTOP",                   1, 1,    2,    1,  11, 0, 0, 0,   0,   0,   0,  -4)
TM_BLOCK(tm0022, none,     "SLOTLESSTOP",               1, 1,    2,    1,  10, 0, 0, 0,   0,   0,   0,  -4)
TM_BLOCK(tm0023, parameters, "PARAMS",                  1, 0,    8,    4,  10, 0, 0, 0,   4,   0,   1,   3)
TM_BLOCK(tm0024, signal,   "SIGNAL",                    1, 0,    8,    1,  11, 0, 0, 2,   2,   0,   0,   3)
TM_BLOCK(tm0025, miscount, "MISCOUNT",                  1, 0,    8,    1,  10, 0, 0, 0,   0,   0,   0,   3)

TM_BLOCK(tm0029, crash,    "CRASH",                     1, 0,    8,    1,  11, 0, 0, 2,   3,   0,   0,   3)

// Blocks that answer an error without reporting it, and a block that needs two inputs.
TM_BLOCK(tm0026, quietInit, "QUIETINIT",                1, 0,    2,    1,  10, 0, 0, 0,   0,   0,   0,   3)
TM_BLOCK(tm0027, quietStep, "QUIETSTEP",                1, 0,    2,    1,  11, 0, 0, 1,   1,   0,   0,   3)
TM_BLOCK(tm0028, none,     "PAIR",                      1, 2,    3,    1,  10, 0, 0, 0,   0,   0,   0,   3)
