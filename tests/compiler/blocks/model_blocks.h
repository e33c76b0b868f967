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
    // For the run tests:
    answer,      // answers callMode and branch by the rules in its parameters (below)
    clock,       // free timer: steps from its first parameter, then asks the run to end
    loopTop,     // counts its passes in IP[10] and logs the count before each step
    parameters,  // gives its real parameters as outputs at every step
    signal,      // raises a signal at one of its steps (parameters: step, and 1 SIGINT, 2 SIGUSR1,
                 // -n the signal numbered n)
    miscount,    // writes nonsense into its inputCount slot at every step
    crash,       // crashes at one of its steps (parameters: step, and the signal: SIGSEGV by a
                 // write through a null pointer, SIGABRT by abort(), any other raised; a
                 // third 1: what it holds for writing out crashes too when it is written)
    // Errors a block answers without reporting them (no msg): at initialisation, or at
    // the step its first parameter numbers.
    quietInit,
    quietStep,
};

// The rules of an answering block: groups of four parameters (kind, n, callMode,
// branch). Kind 1 matches its n-th step, kind 2 its n-th last call (n 0: every one), kind
// 0 ends the rules; the first group that matches sets IP[1] and IP[5]. Steps are counted
// in IP[10], last calls in IP[11].

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
