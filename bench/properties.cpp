// Times the utility library's property functions as the blocks call them: through the
// shared library, every argument by address, over inputs that change from call to call.
// Prints the best of several rounds in nanoseconds per call against each function's
// target; exits 1 when one misses it.
#include "vireo_tools.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kValues = 1024;
constexpr int kCalls = 4'000'000;
constexpr int kRounds = 7;

struct Inputs {
    std::vector<float> t, p, phi, x, h;
    Inputs() {
        for (int i = 0; i < kValues; ++i) {
            const float f = static_cast<float>(i) / kValues;
            t.push_back(-40.0f + 130.0f * f);       // degC
            p.push_back(800.0f + 9.0e4f * f);        // Pa: from near the triple point to 90 kPa
            phi.push_back(0.05f + 0.95f * f);
            x.push_back(0.5f + 20.0f * f);           // g/kg
            h.push_back(-20.0f + 100.0f * f);        // kJ/kg
        }
    }
};

volatile float sink;

template <class Call>
double nanosecondsPerCall(Call call) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        float sum = 0.0f;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i) sum += call(i & (kValues - 1));
        const auto end = std::chrono::steady_clock::now();
        sink = sum;
        best = std::min(best, std::chrono::duration<double, std::nano>(end - start).count() / kCalls);
    }
    return best;
}

}  // namespace

int main() {
    const Inputs in;
    const int liquid = 1;
    int status = 0;
    struct Case {
        const char* name;
        double target;
        double ns;
    };
    // The loop itself, to read the figures against: an empty call of the same shape.
    const double loop = nanosecondsPerCall([&](int i) { return in.t[static_cast<std::size_t>(i)]; });
    auto at = [](const std::vector<float>& v, int i) { return &v[static_cast<std::size_t>(i)]; };
    const Case cases[] = {
        {"aircp", 50, nanosecondsPerCall([&](int i) { return aircp(at(in.t, i)); })},
        {"airlam", 50, nanosecondsPerCall([&](int i) { return airlam(at(in.t, i)); })},
        {"airvis", 50, nanosecondsPerCall([&](int i) { return airvis(at(in.t, i)); })},
        {"airhco", 50, nanosecondsPerCall([&](int i) { return airhco(at(in.t, i)); })},
        {"airpr", 50, nanosecondsPerCall([&](int i) { return airpr(at(in.t, i), at(in.p, i)); })},
        {"airrho", 10, nanosecondsPerCall([&](int i) { return airrho(at(in.t, i), at(in.p, i)); })},
        {"satp", 50, nanosecondsPerCall([&](int i) { return satp(&liquid, at(in.t, i), &status); })},
        {"satt", 50, nanosecondsPerCall([&](int i) { return satt(&liquid, at(in.p, i), &status); })},
        {"humr2a", 50, nanosecondsPerCall([&](int i) { return humr2a(at(in.phi, i), at(in.t, i), &status); })},
        {"huma2r", 50, nanosecondsPerCall([&](int i) { return huma2r(at(in.x, i), at(in.t, i), &status); })},
        {"humh", 10, nanosecondsPerCall([&](int i) { return humh(at(in.x, i), at(in.t, i)); })},
        {"humh2t", 10, nanosecondsPerCall([&](int i) { return humh2t(at(in.x, i), at(in.h, i), &status); })},
        {"humh2x", 10, nanosecondsPerCall([&](int i) { return humh2x(at(in.t, i), at(in.h, i), &status); })},
    };
    bool met = true;
    std::printf("property functions through libVireoTools, best of %d rounds of %d calls\n", kRounds, kCalls);
    std::printf("  %-8s %8s %8s\n", "function", "ns/call", "target");
    for (const Case& c : cases) {
        const bool ok = c.ns <= c.target;
        met = met && ok;
        std::printf("  %-8s %8.1f %8.0f%s\n", c.name, c.ns, c.target, ok ? "" : "  missed");
    }
    std::printf("  (the loop alone: %.1f ns per call)\n", loop);
    return met ? 0 : 1;
}
