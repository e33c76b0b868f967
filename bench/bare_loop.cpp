// The run-loop benchmark's yardstick: the same block functions as chain.vireo, from the
// same library, called in a bare loop. Each block gets arrays of its declared sizes and
// the protocol slots the frame reads; every step calls the timer and then the ten blocks,
// each fed the output of the one before. Prints the last output, so that nothing is left
// out, and the time of the loop.
//   vireo_bench_bare <bench block library> [steps] [step function, default bb0002]
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using BlockFunction = int (*)(float*, float*, int*, float*, double*, float*, char (*)[1024]);

struct Block {
    BlockFunction f;
    std::vector<float> in, out, bp;
    std::vector<int> ip;
    void call(int mode) {
        ip[1] = mode;
        f(in.empty() ? nullptr : in.data(), out.data(), ip.data(), nullptr, nullptr, bp.data(), nullptr);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <bench block library> [steps]\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW);
    if (library == nullptr) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    const int steps = argc > 2 ? std::atoi(argv[2]) : 525600;
    auto timerFn = reinterpret_cast<BlockFunction>(dlsym(library, "bb0001"));
    auto stepFn = reinterpret_cast<BlockFunction>(dlsym(library, argc > 3 ? argv[3] : "bb0002"));
    if (timerFn == nullptr || stepFn == nullptr) return 2;

    Block timer{timerFn, {}, {0.0f}, {static_cast<float>(steps)}, std::vector<int>(12)};
    timer.ip[3] = 1;
    std::vector<Block> chain;
    for (int k = 0; k < 10; ++k) {
        chain.push_back({stepFn, {0.0f}, {0.0f}, {0.5f, 1.0f}, std::vector<int>(10)});
        chain.back().ip[3] = k + 2;
        chain.back().ip[4] = 1;
    }
    timer.call(1);
    for (Block& b : chain) b.call(1);

    const auto start = std::chrono::steady_clock::now();
    for (int s = 0; s < steps; ++s) {
        timer.call(0);
        const float* previous = timer.out.data();
        for (Block& b : chain) {
            b.in[0] = *previous;
            b.call(0);
            previous = b.out.data();
        }
    }
    const std::chrono::duration<double> loop = std::chrono::steady_clock::now() - start;
    std::printf("last output %g, loop %.3f s\n", static_cast<double>(chain.back().out[0]), loop.count());
    return 0;
}
