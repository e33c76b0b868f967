// What the block frame adds to a call: a block whose physics is one cosine, called
// through the frame and written bare, both through a block-function pointer as the
// engine calls blocks, with the protocol slots set as before every step. The two are
// timed in turns within one process, ROUNDS times (default 15); each round times CALLS
// calls (default ten million) of each. Prints the medians in nanoseconds a call and their
// difference (the target: at most 5 ns).
//   vireo_bench_frame [ROUNDS] [CALLS]
#include "frame_cost.h"

#include "BlockProtocol.h"

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using vireo::protocol::BlockFunction;

struct Arrays {
    float in[1] = {0.0f};
    float out[1] = {0.0f};
    int ip[10] = {};
    float bp[1] = {1.0f};
};

// The thread's CPU time: the other work of a busy machine disturbs it far less than the
// wall clock.
double cpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1.0e9 + static_cast<double>(t.tv_nsec);
}

double nanosecondsPerCall(BlockFunction f, Arrays& a, long calls) {
    namespace slot = vireo::protocol::ipSlot;
    // Through a volatile pointer: the call stays an indirect call to a function the
    // compiler cannot see, as from the engine.
    BlockFunction volatile target = f;
    float x = 0.0f;
    const double start = cpuNanoseconds();
    for (long k = 0; k < calls; ++k) {
        a.in[0] = x;
        a.ip[slot::kStatus] = 0;
        a.ip[slot::kCallMode] = vireo::protocol::callMode::kStep;
        a.ip[slot::kBranch] = vireo::protocol::branch::kNext;
        target(a.in, a.out, a.ip, nullptr, nullptr, a.bp, nullptr);
        x = a.out[0] * 1.0e-3f + 1.0e-4f;  // the next input hangs on the output
    }
    return (cpuNanoseconds() - start) / static_cast<double>(calls);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const long calls = argc > 2 ? std::max(1L, std::atol(argv[2])) : 10000000L;
    Arrays framed, bare;
    for (Arrays* a : {&framed, &bare}) {
        a->ip[vireo::protocol::ipSlot::kCallMode] = vireo::protocol::callMode::kInit;
        a->ip[vireo::protocol::ipSlot::kOpMode] = 1;
        a->ip[vireo::protocol::ipSlot::kInputCount] = 1;
    }
    bench_frame_cosine(framed.in, framed.out, framed.ip, nullptr, nullptr, framed.bp, nullptr);
    std::vector<double> withFrame, without, difference;
    for (int r = 0; r < rounds; ++r) {
        const double f = nanosecondsPerCall(bench_frame_cosine, framed, calls);
        const double b = nanosecondsPerCall(bench_bare_cosine, bare, calls);
        withFrame.push_back(f);
        without.push_back(b);
        difference.push_back(f - b);
    }
    if (framed.out[0] != bare.out[0]) {
        std::fprintf(stderr, "the two blocks disagree: %.9g and %.9g\n", framed.out[0], bare.out[0]);
        return 1;
    }
    std::printf("one cosine a call, median of %d rounds of %ld calls:\n", rounds, calls);
    std::printf("  through the frame  %7.2f ns\n", median(withFrame));
    std::printf("  bare               %7.2f ns\n", median(without));
    std::printf("  the frame adds     %7.2f ns (median of the rounds' differences; target at most 5)\n",
                median(difference));
    return 0;
}
