// Times tph_ on memo misses over a grid of superheated states against hptd_ on misses at
// the same states, and counts how many starts were taken without iterating. Exits 1 when
// tph_ takes more than five times hptd_.
#include "steam.h"
#include "steam_frame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct State {
    double p;  // psia
    double t;  // °F
    double h;  // Btu/lbm
};

constexpr int kRounds = 7;

volatile double sink;

template <class Call>
double nanosecondsPerCall(const std::vector<State>& states, Call call) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        double sum = 0.0;
        const auto start = std::chrono::steady_clock::now();
        for (const State& state : states) sum += call(state);
        const auto end = std::chrono::steady_clock::now();
        sink = sum;
        best = std::min(best, std::chrono::duration<double, std::nano>(end - start).count() / states.size());
    }
    return best;
}

}  // namespace

int main() {
    // Superheated states from 1 to 16000 psia and from just above saturation to 1600 °F;
    // neighbouring states differ in both arguments, so no memo level hits.
    std::vector<State> states;
    for (int i = 0; i < 60; ++i) {
        const double p = 1.0 * std::pow(16000.0, i / 59.0);
        const double low = p <= 3208.234758592228 ? vireo::steam::saturationTemperatureOf(p) + 2.0 : 710.0;
        for (int j = 0; j < 40; ++j) {
            const double t = low + (1600.0 - low) * (j + 0.5 * (i % 2)) / 40.0;
            if (!vireo::steam::vapourSideAccepts(p, t)) continue;
            const double h = hptd_(&p, &t);
            if (h >= 500.0) states.push_back({p, t, h});
        }
    }
    const double forward = nanosecondsPerCall(states, [](const State& s) { return hptd_(&s.p, &s.t); });
    vireo::steam::inverseCounters = {};
    const double inverse = nanosecondsPerCall(states, [](const State& s) { return tph_(&s.p, &s.h); });
    const auto& counters = vireo::steam::inverseCounters;
    const double ratio = inverse / forward;
    std::printf("%zu superheated states\n", states.size());
    std::printf("hptd_ miss  %8.1f ns/call\n", forward);
    std::printf("tph_ miss   %8.1f ns/call  (%.2f times hptd_, target at most 5)\n", inverse, ratio);
    std::printf("starts taken without iterating: %.1f %%, iteration steps per miss: %.2f\n",
                100.0 * counters.accepted / counters.misses, static_cast<double>(counters.steps) / counters.misses);
    return ratio <= 5.0 ? 0 : 1;
}
