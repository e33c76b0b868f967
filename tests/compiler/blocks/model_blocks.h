// The test blocks of the model tests: one identity per block in a table, and one shared
// behaviour. Every call of a block is logged as "callMode blockNumber" to the file that
// VIREO_PROBE_LOG names, so tests can see which blocks were initialised and closed.
#ifndef VIREO_TEST_MODEL_BLOCKS_H
#define VIREO_TEST_MODEL_BLOCKS_H

namespace mb {

struct Identity {
    const char* names;
    int nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize, dpSize;
    int minParameters, maxParameters, minStrings, maxStrings, group;
};

// What a block does beyond logging.
enum class Behaviour {
    none,
    timer,     // at initialisation: timerSteps from its first real parameter
    failInit,  // at initialisation: an error of its own
    warnInit,  // at initialisation: a warning of its own
};

int call(const Identity& id, Behaviour behaviour, float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP,
         char (*SP)[1024]);

// Codes the failing and warning blocks report.
constexpr int kInitError = 309901;
constexpr int kInitWarning = 209901;

}  // namespace mb

#define TM_BLOCK(function, behaviour, ...)                                                                    \
    extern "C" __attribute__((visibility("default"))) int function(float* IN, float* OUT, int* IP, float* RP, \
                                                                   double* DP, float* BP, char(*SP)[1024]) {  \
        static constexpr mb::Identity kId{__VA_ARGS__};                                                      \
        return mb::call(kId, mb::Behaviour::behaviour, IN, OUT, IP, RP, DP, BP, SP);                         \
    }

#endif
