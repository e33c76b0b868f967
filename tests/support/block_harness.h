// Calling a block function the way the engine does, for the tests of every block library
// and for the benchmark: a library opened by path as the loader opens it, the
// identification call, and an instance whose seven arrays have exactly the sizes the
// identity declares (null when a size is 0), so that the sanitizers see any access past
// them. The protocol's layout is written here on its own, not taken from the libraries'
// headers, so that a slip in those shows as a failing test instead of agreeing with itself.
#ifndef VIREO_TEST_BLOCK_HARNESS_H
#define VIREO_TEST_BLOCK_HARNESS_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace vireo_test {

inline constexpr std::size_t kRow = 1024;
using BlockFunction = int (*)(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char (*SP)[kRow]);

// A block library opened with dlopen(RTLD_NOW | RTLD_GLOBAL); never closed, so that its
// block functions and the texts it hands out stay valid for the whole process.
class BlockLibrary {
public:
    explicit BlockLibrary(const std::string& path);  // throws std::runtime_error when it cannot be opened
    // A symbol the library defines itself (not one of the libraries it links), or null.
    void* symbol(const std::string& name) const;
    // The block function of that name; throws std::runtime_error when there is none.
    BlockFunction block(const std::string& routine) const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    void* handle_;
};

// The build tree's lib<name>.so ("VireoEM", "VireoST", ...), opened once per process.
const BlockLibrary& library(const std::string& name);

// The identification answer, the twelve integers in the order of the block tables.
struct Identity {
    enum Index { kNameCount, kMinInputs, kMaxInputs, kOutputCount, kIpSize, kRpSize, kDpSize,
                 kMinParameters, kMaxParameters, kMinStrings, kMaxStrings, kGroup };
    std::array<int, 12> ints{};
    std::string nameList;   // SP row 0 up to its blank (or NUL) padding
    bool answered = false;  // IP[1] left at -1: a function of block form that is no block

    int nameCount() const { return ints[kNameCount]; }
    int minInputs() const { return ints[kMinInputs]; }
    int maxInputs() const { return ints[kMaxInputs]; }
    int outputCount() const { return ints[kOutputCount]; }
    int ipSize() const { return ints[kIpSize]; }
    int rpSize() const { return ints[kRpSize]; }
    int dpSize() const { return ints[kDpSize]; }
    int minParameters() const { return ints[kMinParameters]; }
    int maxParameters() const { return ints[kMaxParameters]; }
    int minStrings() const { return ints[kMinStrings]; }
    int maxStrings() const { return ints[kMaxStrings]; }
    int group() const { return ints[kGroup]; }
    // The names, main name first.
    std::vector<std::string> names() const;
};

// The identification call as the loader makes it: IP[1] = -1 in ten zeroed ints, one
// float for IN and for OUT, null RP, DP and BP, one zeroed row.
Identity identify(BlockFunction f);

// What the model says about one block.
struct Placement {
    int inputs = 0;                        // connected inputs: the length of IN
    std::vector<float> parameters = {};    // real parameters, in model order
    std::vector<std::string> strings = {}; // string parameters, in model order
    std::string name = {};                 // the name the model used; empty: opMode decides
    int opMode = 1;                        // position of that name in the name list, from 1
    int number = 7;                        // block number; unlike opMode and inputCount, so a slot mix-up shows
};

// One block of a model with its seven arrays. The arrays are public for assertions on the
// protocol and may be written, never resized.
class BlockInstance {
public:
    // Identifies f; throws std::runtime_error when the identity or the placement cannot
    // be used (no answer, a negative size, more parameters or strings than declared, a
    // name the block does not have).
    BlockInstance(BlockFunction f, const Placement& placement);
    // A block of the stated identity; f may be null (a block the test computes itself,
    // whose calls then only set the protocol slots).
    BlockInstance(BlockFunction f, const Identity& identity, const Placement& placement);

    // The calls with the slots the engine sets before them: status 0 before each; callMode;
    // opMode, blockNumber and inputCount at init and last call; branch 2 and debugFlag 0
    // before steps and last calls (a last call in a run comes from the run loop).
    void call(int callMode);
    int init();                                                        // returns status
    const std::vector<float>& step();                                  // with IN as it stands; returns OUT
    const std::vector<float>& step(const std::vector<float>& inputs);  // copies inputs into IN first
    void last();
    // A real parameter (0-based) changed during the run as the engine changes it for the
    // editor bridge: the value written and the change marked in the parameter slot.
    void changeParameter(int i, float value);
    // Gives IN another length, for wiring known only after the instance was made (a
    // cycle through a delay, a loop or an iteration); before init, as the engine sizes
    // IN at init.
    void connectInputs(int count);

    // The seven arrays as the engine passes them: null where a size is 0.
    struct Arrays {
        float* IN;
        float* OUT;
        int* IP;
        float* RP;
        double* DP;
        float* BP;
        char (*SP)[kRow];
    };
    Arrays arrays();

    BlockFunction function() const { return function_; }
    const Identity& identity() const { return identity_; }
    int opMode() const { return opMode_; }
    int number() const { return number_; }
    int inputCount() const { return inputs_; }

    std::vector<float> IN, OUT, RP, BP;
    std::vector<int> IP;
    std::vector<double> DP;
    std::vector<std::array<char, kRow>> SP;

private:
    void checkSizes() const;

    BlockFunction function_;
    Identity identity_;
    int inputs_;
    int opMode_;
    int number_;
};

}  // namespace vireo_test

#endif
