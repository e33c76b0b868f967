// Calling the block functions of libVireoEM the way the engine does: the library opened
// by path, the identification call with one float for IN and OUT, ten ints and one zeroed
// row, then arrays sized exactly by the identity (so that the sanitizers see any access
// past them), the init call, steps and the last call.
#ifndef VIREO_TEST_BLOCK_HARNESS_H
#define VIREO_TEST_BLOCK_HARNESS_H

#include "trace.h"

#include <array>
#include <string>
#include <vector>

namespace em_test {

using BlockFunction = int (*)(float*, float*, int*, float*, double*, float*, char (*)[1024]);

// The symbol of that name in build/lib/libVireoEM.so, or null.
void* librarySymbol(const std::string& name);
// The block function of that name, or null.
BlockFunction blockFunction(const std::string& name);

// The identification answer in the order of the block table: nameCount, minInputs,
// maxInputs, outputCount, ipSize, rpSize, dpSize, minParameters, maxParameters,
// minStrings, maxStrings, group.
struct Identity {
    std::string names;  // SP row 0 without its trailing blanks
    std::array<int, 12> ints{};
    bool answered = false;  // IP[1] left -1 means no block
};
Identity identify(BlockFunction f);

class Block {
public:
    // parameters: the model's real parameters (at most maxParameters); inputCount: how
    // many inputs the model connects.
    Block(const std::string& routine, std::vector<float> parameters, int inputCount, int opMode = 1,
          int number = 7);
    int init();                                                // returns status
    const std::vector<float>& step(const std::vector<float>& inputs);
    void last();

    Identity identity;
    std::vector<float> in, out, rp, bp;
    std::vector<int> ip;
    std::vector<double> dp;
    std::vector<std::array<char, 1024>> sp;

private:
    void call(int mode);
    BlockFunction f_;
    int opMode_, number_, inputCount_;
};

// Runs fn with the message trace pointed at a fresh file and standard output captured;
// returns the codes of the messages sent, in order.
struct Messages {
    std::vector<int> codes;
    std::vector<vireo_test::TraceRecord> records;
    std::string out;  // standard output
};
template <class Fn>
Messages messagesOf(Fn fn);
Messages finishMessages(const std::string& trace);
std::string startMessages();

template <class Fn>
Messages messagesOf(Fn fn) {
    const std::string trace = startMessages();
    fn();
    return finishMessages(trace);
}

}  // namespace em_test

#endif
