// Times steam_h_ and steam_cp_ as a heat exchanger's cells call them: on memo hits (the
// same state again) and on misses, every call a new state, in each region the blocks
// reach. Prints the best of several rounds in nanoseconds per call; exits 1 when a hit
// takes 50 ns or more, or a region-3 state (found by the volume search) more than ten
// times a region-2 state.
#include "steam.h"
#include "steam_values.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Property = double (*)(const double*, const double*);

constexpr int kStates = 1000;  // not a power of two: no state comes back in step with another loop
constexpr int kCalls = 400'000;
constexpr int kRounds = 7;

struct State {
    double t;  // °C
    double p;  // Pa
};

// States spread over a rectangle of one region, each call a new temperature and a new
// pressure so that no memo level hits, not even half of the common terms.
std::vector<State> spread(double t0, double t1, double p0, double p1) {
    std::vector<State> states;
    for (int i = 0; i < kStates; ++i) {
        const double a = (i * 0.618033988749895) - static_cast<int>(i * 0.618033988749895);
        const double b = static_cast<double>(i) / kStates;
        states.push_back({t0 + (t1 - t0) * a, p0 + (p1 - p0) * b});
    }
    return states;
}

volatile double sink;

double nanosecondsPerCall(Property property, const std::vector<State>& states) {
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        double sum = 0.0;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0, k = 0; i < kCalls; ++i, k = k + 1 == static_cast<int>(states.size()) ? 0 : k + 1) {
            sum += property(&states[k].t, &states[k].p);
        }
        const auto end = std::chrono::steady_clock::now();
        sink = sum;
        best = std::min(best, std::chrono::duration<double, std::nano>(end - start).count() / kCalls);
    }
    return best;
}

struct Region {
    const char* name;
    std::vector<State> states;
};

}  // namespace

int main() {
    // Every state lies where the blocks' side choice takes the region named.
    const Region regions[] = {
        {"region 1 (liquid, 20-300 degC, 9-10 MPa)", spread(20.0, 300.0, 9.0e6, 1.0e7)},
        {"region 2 (steam, 200-550 degC, 0.1-1.5 MPa)", spread(200.0, 550.0, 1.0e5, 1.5e6)},
        {"region 3 (liquid side, 380-550 degC, 90-100 MPa)", spread(380.0, 550.0, 9.0e7, 1.0e8)},
        {"region 3 (vapour, 358-360 degC, 17.8-18.1 MPa)", spread(358.0, 360.0, 1.78e7, 1.81e7)},
    };
    for (const Region& r : regions) {
        for (const State& s : r.states) {
            if (!vireo::steam::steamStateAccepts(s.t, s.p)) {
                std::printf("state out of range in %s: %g degC, %g Pa\n", r.name, s.t, s.p);
                return 2;
            }
        }
    }
    // Region 3 of the vapour side must really be region 3: above the 2/3 boundary.
    for (const State& s : regions[3].states) {
        const double p = s.p / 6894.0, t = s.t * 1.8 + 32.0;
        if (!(vireo::steam::onVapourSide(s.t, s.p) && p > p23t_(&t))) {
            std::printf("not a region-3 vapour state: %g degC, %g Pa\n", s.t, s.p);
            return 2;
        }
    }

    bool met = true;
    std::printf("water and steam for the blocks, best of %d rounds of %d calls, ns per call\n", kRounds, kCalls);
    std::printf("  %-50s %9s %9s\n", "", "steam_h", "steam_cp");
    double hit[2] = {};
    double miss[4][2] = {};
    const Property properties[2] = {steam_h_, steam_cp_};
    for (int k = 0; k < 2; ++k) {
        for (const Region& r : regions) {
            const std::vector<State> one{r.states[kStates / 2]};
            hit[k] = std::max(hit[k], nanosecondsPerCall(properties[k], one));
        }
    }
    std::printf("  %-50s %9.1f %9.1f   target: under 50\n", "memo hit (the same state again, slowest region)", hit[0],
                hit[1]);
    met = met && hit[0] < 50.0 && hit[1] < 50.0;
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 2; ++k) miss[i][k] = nanosecondsPerCall(properties[k], regions[i].states);
        std::printf("  %-50s %9.1f %9.1f\n", regions[i].name, miss[i][0], miss[i][1]);
    }
    for (int k = 0; k < 2; ++k) {
        const double ratio = std::max(miss[2][k], miss[3][k]) / miss[1][k];
        std::printf("  %s: region 3 / region 2 = %.2f   target: at most 10\n", k == 0 ? "steam_h" : "steam_cp", ratio);
        met = met && ratio <= 10.0;
    }
    // A heat exchanger's cell asks both at one state: the second finds the common terms.
    double sum = 0.0;
    const std::vector<State>& states = regions[1].states;
    double best = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i) {
            const State& s = states[static_cast<std::size_t>(i % kStates)];
            sum += steam_cp_(&s.t, &s.p) + steam_h_(&s.t, &s.p);
        }
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::nano>(end - start).count() / kCalls);
    }
    sink = sum;
    std::printf("  %-50s %9.1f\n", "cell pair steam_cp + steam_h, region 2", best);
    std::printf(met ? "  targets met\n" : "  target missed\n");
    return met ? 0 : 1;
}
