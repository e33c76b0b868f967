// The run-loop benchmark's yardstick: the same block functions as chain.vireo, from the
// same library, called in a bare loop. The blocks are identified and their arrays sized
// and initialised by the test suite's block harness, as the engine does it; the timed
// loop then calls the block functions itself, setting nothing but the call mode: every
// step calls the timer and then the ten blocks, each fed the output of the one before.
// Prints the last output, so that nothing is left out, and the time of the loop.
//   vireo_bench_bare <bench block library> [steps] [step function, default bb0002]
#include "block_harness.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

namespace {

using vireo_test::BlockFunction;
using vireo_test::BlockInstance;

// A block's function and arrays, taken out of its instance once.
struct Call {
    BlockFunction f;
    BlockInstance::Arrays a;
    void operator()(int mode) const {
        a.IP[1] = mode;
        f(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP);
    }
};

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <bench block library> [steps] [step function]\n", argv[0]);
        return 2;
    }
    const vireo_test::BlockLibrary library(argv[1]);
    const int steps = argc > 2 ? std::atoi(argv[2]) : 525600;
    const BlockFunction timerFn = library.block("bb0001");
    const BlockFunction stepFn = library.block(argc > 3 ? argv[3] : "bb0002");

    BlockInstance timer(timerFn, {.parameters = {static_cast<float>(steps)}, .number = 1});
    std::vector<BlockInstance> blocks;
    for (int k = 0; k < 10; ++k)
        blocks.emplace_back(stepFn, vireo_test::Placement{.inputs = 1, .parameters = {0.5f, 1.0f}, .number = k + 2});
    timer.init();
    for (BlockInstance& b : blocks) b.init();

    const Call clock{timerFn, timer.arrays()};
    std::vector<Call> chain;
    for (BlockInstance& b : blocks) chain.push_back({stepFn, b.arrays()});

    const auto start = std::chrono::steady_clock::now();
    for (int s = 0; s < steps; ++s) {
        clock(0);
        const float* previous = clock.a.OUT;
        for (const Call& b : chain) {
            b.a.IN[0] = *previous;
            b(0);
            previous = b.a.OUT;
        }
    }
    const std::chrono::duration<double> loop = std::chrono::steady_clock::now() - start;
    std::printf("last output %g, loop %.3f s\n", static_cast<double>(chain.back().a.OUT[0]), loop.count());
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
}
