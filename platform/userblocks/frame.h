// What every user block shares: its identity, a view of the seven block arrays, the
// protocol slots of IP, and the way a block reports a message.
#ifndef VIREO_UB_FRAME_H
#define VIREO_UB_FRAME_H

#include <cstdio>
#include <string>

namespace ub {

constexpr int kRow = 1024;  // length of one text row of SP

// Calculation groups the engine knows; each decides how the sort places the block
// and wires its links.
enum Group : int {
    constantSource = 1,
    timer = 2,
    standard = 3,
    loop = 4,
    loopTop = -4,
    delay = 5,
    iteration = 6,
};

struct Identity {
    const char* names;  // blank-separated, main name first
    int nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize, dpSize;
    int minParameters, maxParameters, minStrings, maxStrings;
    Group group;
};

// Protocol slots of IP (slots from 10 on belong to the block).
enum Slot : int {
    status = 0,
    callMode = 1,
    opMode = 2,
    blockNumber = 3,
    inputCount = 4,
    branch = 5,
    debugFlag = 6,
    timerSteps = 7,
    messageValue = 8,
};

enum CallMode : int { identify = -1, step = 0, init = 1, last = 2 };
// Answers a block may put into callMode and branch.
constexpr int kStopRun = 2;       // callMode after a step: end the run
constexpr int kWithdrawEnd = 1;   // callMode after a last call: the run goes on
constexpr int kNextLink = 2;      // branch: go on along the next link
constexpr int kAlternative = 1;   // branch: take the alternative link

struct Arrays {
    float* IN;
    float* OUT;
    int* IP;
    float* RP;
    double* DP;
    float* BP;
    char (*SP)[kRow];

    int mode() const { return IP[callMode]; }
    int inputs() const { return IP[inputCount]; }
};

// Writes the identification answer through the utility library's `id`.
void answerIdentity(const Arrays& a, const Identity& id);

// Shows message `code` with `value` as its messageValue, leaving the code in status.
void report(const Arrays& a, int code, int value = 0);
// The same for messages that show a real value: it travels in RP[0], so every block
// that uses this declares an rpSize of at least 1.
void reportReal(const Arrays& a, int code, float value);

// SP row `row` without the blanks (and NULs) around it.
std::string text(const Arrays& a, int row);

// An open file kept in DP[slot]: the slot holds the pointer's bits, not a number; 0
// (the engine's zero fill) is no file.
std::FILE* fileAt(const Arrays& a, int slot);
void keepFile(const Arrays& a, int slot, std::FILE* file);

// Nearest integer of a parameter (halves away from zero), or `fallback` when the value
// is not finite or lies outside [low, high].
long long rounded(float value, long long low, long long high, long long fallback);

}  // namespace ub

// The exported entry of one block: identification is answered from the table, every
// other call goes to `handler(ub::Arrays&)`.
#define UB_BLOCK(function, identity, handler)                                                         \
    extern "C" __attribute__((visibility("default"))) int function(                                   \
        float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char (*SP)[ub::kRow]) {     \
        ub::Arrays a{IN, OUT, IP, RP, DP, BP, SP};                                                     \
        if (IP[ub::callMode] == ub::identify) ub::answerIdentity(a, identity);                               \
        else handler(a);                                                                               \
        return 0;                                                                                      \
    }

#endif
