// The inverse routines against the forward routines they invert: round trips over grids
// of states in every region they serve, wet-region identities, and the memo.
#include "inverse_start.h"
#include "steam_frame.h"
#include "steam_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace steam_test;

namespace {

double tph(double p, double h) { return tph_(&p, &h); }
double tphd(double p, double h) { return tphd_(&p, &h); }
double tps(double p, double s) { return tps_(&p, &s); }
double tpsd(double p, double s) { return tpsd_(&p, &s); }
double xph(double p, double h) { return xph_(&p, &h); }
double xps(double p, double s) { return xps_(&p, &s); }
double tphl(double p, double h) { return tphl_(&p, &h); }
double tpsl(double p, double s) { return tpsl_(&p, &s); }
double hps(double p, double s) { return hps_(&p, &s); }
double sph(double p, double h) { return sph_(&p, &h); }

// The iterations stop within 0.04 Btu/lbm or 4e-5 Btu/(lbm·°R) and then take one more
// slope step; a start taken as it is lies within 0.8 Btu/lbm (0.0008) and is corrected by
// a slope within about 1 % of 1/cp. What the result must meet, in the argument's own terms:
constexpr double kEnthalpyTolerance = 0.05;
constexpr double kEntropyTolerance = 5e-5;

struct State {
    double p;
    double t;
};

// Superheated states of the vapour side from just above saturation (above the critical
// pressure from the critical temperature) to 1600 °F.
std::vector<State> vapourStates() {
    std::vector<State> states;
    for (const double p : {0.1, 1.0, 14.7, 100.0, 499.0, 501.0, 1000.0, 2000.0, 2400.0, 2800.0, 3200.0, 3500.0,
                           5000.0, 8000.0, 12000.0, 16000.0}) {
        const double low = p <= pc() ? vireo::steam::saturationTemperatureOf(p) + 0.5 : kCriticalTemperature + 1.0;
        for (double u = 0.0; u <= 1.0001; u += 0.05) {
            const double t = low + (1600.0 - low) * u * u;
            if (vireo::steam::vapourSideAccepts(p, t)) states.push_back({p, t});
        }
    }
    return states;
}

std::vector<State> liquidStates() {
    std::vector<State> states;
    for (const double p : {0.5, 14.7, 200.0, 1000.0, 2500.0, 3200.0, 5000.0, 16000.0}) {
        const double high = p <= pc() ? vireo::steam::saturationTemperatureOf(p) : kCriticalTemperature;
        for (double u = 0.0; u <= 1.0001; u += 0.05) {
            const double t = 33.0 + (high - 33.0) * u;
            if (vireo::steam::liquidSideAccepts(p, t)) states.push_back({p, t});
        }
    }
    return states;
}

class SteamInverse : public ::testing::Test {
protected:
    void SetUp() override { resetMemo(); }
};

}  // namespace

TEST_F(SteamInverse, VapourTemperatureRoundTrips) {
    int count = 0;
    for (const State& state : vapourStates()) {
        const double h = hptd(state.p, state.t);
        const double s = sptd(state.p, state.t);
        const std::string where = "p " + std::to_string(state.p) + " T " + std::to_string(state.t);
        if (h >= 500.0) {
            EXPECT_NEAR(hptd(state.p, tph(state.p, h)), h, kEnthalpyTolerance) << where;
            EXPECT_NEAR(hptd(state.p, tphd(state.p, h)), h, kEnthalpyTolerance) << where;
        }
        if (s >= 0.804) {
            EXPECT_NEAR(sptd(state.p, tps(state.p, s)), s, kEntropyTolerance) << where;
            EXPECT_NEAR(sptd(state.p, tpsd(state.p, s)), s, kEntropyTolerance) << where;
        }
        ++count;
    }
    EXPECT_GT(count, 250);
}

TEST_F(SteamInverse, LiquidTemperatureRoundTripsAndStaysBelowSaturation) {
    for (const State& state : liquidStates()) {
        const double h = hptl(state.p, state.t);
        const double s = sptl(state.p, state.t);
        const std::string where = "p " + std::to_string(state.p) + " T " + std::to_string(state.t);
        const double ts = state.p <= pc() ? tsatp(state.p) : kCriticalTemperature;
        if (h >= -0.02 && h <= 906.1) {
            const double t = tphl(state.p, h);
            EXPECT_LE(t, ts) << where;
            EXPECT_NEAR(hptl(state.p, t), h, kEnthalpyTolerance) << where;
        }
        if (s >= -5e-5 && s <= 1.065) {
            const double t = tpsl(state.p, s);
            EXPECT_LE(t, ts) << where;
            EXPECT_NEAR(sptl(state.p, t), s, kEntropyTolerance) << where;
        }
    }
}

TEST_F(SteamInverse, WetStatesAndQuality) {
    for (const double p : {1.0, 100.0, 1000.0, 3000.0}) {
        const double ts = tsatp(p);
        const double hf = hfp(p), hg = hgp(p), sf = sfp(p), sg = sgp(p);
        const double hWet = 0.5 * (hf + hg);
        // tph answers the saturation temperature for a wet state; tphd iterates on the
        // vapour side to a temperature below it.
        EXPECT_EQ(tph(p, hWet), ts);
        if (p < 2000.0) {
            EXPECT_LT(tphd(p, hg - 5.0), ts);
        }
        EXPECT_EQ(tps(p, 0.5 * (sf + sg)), ts);
        EXPECT_NEAR(xph(p, hf), 0.0, 1e-9);
        EXPECT_EQ(xph(p, hg), 1.0);
        EXPECT_EQ(xph(p, hg + 10.0), 1.0);
        EXPECT_NEAR(xph(p, hWet), 0.5, 1e-9);
        EXPECT_LT(xph(p, hf - 20.0), 0.0);
        EXPECT_NEAR(xps(p, sf), 0.0, 1e-9);
        EXPECT_EQ(xps(p, sg), 1.0);
        // The wet relations of hps and sph are each other's inverse, and end on the
        // saturated liquid within the formulation's own consistency.
        const double s = sf + 0.3 * (sg - sf);
        EXPECT_NEAR(sph(p, hps(p, s)), s, 1e-9);
        EXPECT_NEAR(hps(p, sf), hf, 0.05 + 1e-4 * hf);
        EXPECT_NEAR(hps(p, sg), hg, 1e-9);
    }
    // Above the critical pressure every state counts as vapour.
    EXPECT_EQ(xph(3300.0, 100.0), 1.0);
    EXPECT_EQ(xps(3300.0, 0.5), 1.0);
}

TEST_F(SteamInverse, EnthalpyOfEntropyAndEntropyOfEnthalpyOnTheVapourSide) {
    for (const State& state : vapourStates()) {
        const double h = hptd(state.p, state.t);
        const double s = sptd(state.p, state.t);
        if (h < 500.0 || s < 0.804) continue;
        const std::string where = "p " + std::to_string(state.p) + " T " + std::to_string(state.t);
        // s within 4e-5 puts h within T times that.
        EXPECT_NEAR(hps(state.p, s), h, kEnthalpyTolerance + (state.t + kRankineOffset) * kEntropyTolerance) << where;
        EXPECT_NEAR(sph(state.p, h), s, kEntropyTolerance) << where;
    }
}

TEST_F(SteamInverse, SecondCallWithTheSameStateIsAMemoHit) {
    const double p = 600.0, h = 1400.0;
    const double t = tph(p, h);
    const long misses = vireo::steam::inverseCounters.misses;
    // Spoil the vapour side's own record: a recomputation would have to call it again.
    std::memcpy(stmlvn_.name[3], "XXXXXX", 6);
    EXPECT_EQ(tph(p, h), t);
    EXPECT_EQ(vireo::steam::inverseCounters.misses, misses);
    EXPECT_EQ(std::string(stmlvn_.name[3], 6), "XXXXXX");
    // The other entry of the family records under its own name and misses.
    tphd(p, h);
    EXPECT_EQ(vireo::steam::inverseCounters.misses, misses + 1);
    // Record-only routines store name, arguments and result, and never hit.
    const double x = xph(100.0, 800.0);
    EXPECT_EQ(std::string(stmlvn_.name[4], 6), "XPH   ");
    EXPECT_EQ(stmlvl_.slot[8], 100.0);
    EXPECT_EQ(stmlvl_.slot[9], 800.0);
    EXPECT_EQ(stmlvl_.slot[18], x);
    // hps of a wet state copies its record to level 5 and leaves there the h of it.
    const double hw = hps(100.0, 1.2);
    EXPECT_EQ(std::string(stmlvn_.name[4], 6), "HPS   ");
    EXPECT_EQ(stmlvl_.slot[9], 1.2);
    EXPECT_EQ(stmlvl_.slot[18], hw);
    EXPECT_EQ(stmlvl_.slot[19], hw);
}

TEST_F(SteamInverse, FittedStartsLieCloseToTheStatesTheyServe) {
    // A start within 0.8 Btu/lbm is taken as it is, corrected by the fitted slope: the
    // slope must be close to 1/cp there. Across the table's sets it stays within a few
    // per cent away from the critical point, and most starts lie within a few degrees.
    int states = 0, closeSlope = 0, closeStart = 0;
    for (const State& state : vapourStates()) {
        const double h = hptd(state.p, state.t);
        if (h < 500.0 || (state.p > pc() && state.t < 800.0)) continue;
        const int first = state.p <= 500.0 ? 0 : state.p > 2500.0 && h < 1280.0 ? 80 : 40;
        const double x = first == 0 ? state.p : std::log(state.p);
        const double* c = vireo::steam::kStartTables.tph + first;
        const double t0 = vireo::steam::vapourStartValue(c, x, h / 100.0);
        const double d = vireo::steam::vapourStartValue(c + 20, x, h / 100.0);
        ++states;
        if (std::fabs(d * cpptd(state.p, state.t) - 1.0) < 0.05) ++closeSlope;
        if (std::fabs(t0 - state.t) < 5.0) ++closeStart;
    }
    EXPECT_GT(closeSlope, 0.95 * states) << closeSlope << " of " << states;
    EXPECT_GT(closeStart, 0.95 * states) << closeStart << " of " << states;
}
