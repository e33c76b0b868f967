// The plate heat exchanger's step on its largest grid of 199 by 199 cells, through the
// library's block function: a winter point where no cell freezes, and one where every
// cell's plate lies below 0 degC so that each cell takes the search for its frozen share.
// The target: 25 ms a step in both, about 600 ns a cell. Prints the best of several steps.
//   vireo_bench_hxxi <libVireoST.so> [steps]
#include "block_harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <vector>

namespace {

using vireo_test::BlockInstance;

double bestStep(BlockInstance& b, const std::vector<float>& in, int steps) {
    double best = 1e30;
    for (int i = 0; i < steps; ++i) {
        const auto start = std::chrono::steady_clock::now();
        b.step(in);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vireo_bench_hxxi <libVireoST.so> [steps]\n");
        return 2;
    }
    try {
        const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
        const vireo_test::BlockLibrary library(argv[1]);
        BlockInstance b(library.block("st0017"),
                        {.inputs = 6,
                         .parameters = {50, 0.004f, 0.3f, 0.3f, 50, 0.004f, 0.3f, 0.3f, 0.0005f, 1, 0.0005f, 10, 10,
                                        200, 199, 199, 100000}});
        if (b.init() != 0) throw std::runtime_error("HXXI refused its parameters");
        struct Point {
            const char* what;
            std::vector<float> in;
        };
        for (const Point& p : {Point{"no cell freezing", {-5, 0.8f, 22, 0.5f, 0.1f, 0.1f}},
                               Point{"every cell freezing", {-25, 0.8f, 3, 0.95f, 0.1f, 0.1f}}}) {
            const double ms = bestStep(b, p.in, steps);
            std::printf("HXXI 199 x 199, %-20s %7.2f ms a step, %5.0f ns a cell (target 25 ms); ice %.4g of %.4g kg/h\n",
                        p.what, ms, ms * 1e6 / (199.0 * 199.0), b.OUT[6], b.OUT[5]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vireo_bench_hxxi: %s\n", e.what());
        return 1;
    }
    return 0;
}
