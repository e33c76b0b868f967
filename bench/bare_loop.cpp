// The run-loop benchmark's yardstick: the block functions of a chain model, from the same
// library, called in a bare loop. The blocks are identified and their arrays sized and
// initialised by the test suite's block harness, as the engine does it; the timed loop
// then calls the block functions itself: every step calls the timer and then the ten
// blocks, each fed the output of the one before.
//
// In the default form the loop does for every call what a run must do besides following
// the links: it refills the input and sets the protocol slots that the engine sets before
// a step (status, call mode, branch, debug flag), and reads what the engine reads after it
// (the stop request, the branch, the status). With "mode" it sets the call mode alone, as
// the benchmark's first yardstick did, which leaves part of a run's own work out of the
// comparison. Prints the last output and the answers read, so that nothing is left out,
// and the time of the loop.
//   vireo_bench_bare <bench block library> [steps] [step function] [timer function] [protocol|mode]
#include "block_harness.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

namespace {

using vireo_test::BlockFunction;
using vireo_test::BlockInstance;

// A block's function, its arrays taken out of its instance once, and where its input
// comes from (null for the timer).
struct Call {
    BlockFunction f;
    BlockInstance::Arrays a;
    const float* source;
};

// What the engine reads after the calls, summed so that the reads are not left out.
struct Answers {
    long stops = 0;
    long branches = 0;
    int statuses = 0;
};

template <bool kProtocol>
inline void call(const Call& c, Answers& answers) {
    int* ip = c.a.IP;
    if (c.source != nullptr) c.a.IN[0] = *c.source;
    if constexpr (kProtocol) {
        ip[0] = 0;
        ip[1] = 0;
        ip[5] = 2;
        ip[6] = 0;
    } else {
        ip[1] = 0;
    }
    c.f(c.a.IN, c.a.OUT, ip, c.a.RP, c.a.DP, c.a.BP, c.a.SP);
    if constexpr (kProtocol) {
        answers.stops += ip[1] > 1;
        answers.branches += ip[5] != 2;
        answers.statuses |= ip[0];
    }
}

template <bool kProtocol>
double run(const Call& clock, const std::vector<Call>& chain, int steps, Answers& answers) {
    const auto start = std::chrono::steady_clock::now();
    for (int s = 0; s < steps; ++s) {
        call<kProtocol>(clock, answers);
        for (const Call& b : chain) call<kProtocol>(b, answers);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <bench block library> [steps] [step function] [timer function] [protocol|mode]\n",
                     argv[0]);
        return 2;
    }
    const vireo_test::BlockLibrary library(argv[1]);
    const int steps = argc > 2 ? std::atoi(argv[2]) : 525600;
    const BlockFunction stepFn = library.block(argc > 3 ? argv[3] : "bb0002");
    const BlockFunction timerFn = library.block(argc > 4 ? argv[4] : "bb0001");
    const bool protocol = argc <= 5 || std::strcmp(argv[5], "mode") != 0;

    BlockInstance timer(timerFn, {.parameters = {static_cast<float>(steps)}, .number = 1});
    std::vector<BlockInstance> blocks;
    for (int k = 0; k < 10; ++k)
        blocks.emplace_back(stepFn, vireo_test::Placement{.inputs = 1, .parameters = {0.5f, 1.0f}, .number = k + 2});
    timer.init();
    for (BlockInstance& b : blocks) b.init();

    const Call clock{timerFn, timer.arrays(), nullptr};
    std::vector<Call> chain;
    const float* previous = clock.a.OUT;
    for (BlockInstance& b : blocks) {
        chain.push_back({stepFn, b.arrays(), previous});
        previous = chain.back().a.OUT;
    }

    Answers answers;
    const double loop = protocol ? run<true>(clock, chain, steps, answers) : run<false>(clock, chain, steps, answers);
    std::printf("last output %g, answers %ld %ld %d, loop %.4f s\n", static_cast<double>(chain.back().a.OUT[0]),
                answers.stops, answers.branches, answers.statuses, loop);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
}
