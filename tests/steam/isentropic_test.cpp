// State bundles and isentropic changes: wet-region identities, round trips back to the
// starting state, the saturated vapour of an entropy and the saturated liquid of an
// enthalpy, and expansions into the wet region against IAPWS-IF97.
#include "steam_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace steam_test;

namespace {

struct Expansion {
    double p1, t1, p2, h2, x2;
};
struct SaturatedVapour {
    double s, p;
};
#include "isentropic_reference.inc"

double psv(double s) { return psv_(&s); }
double tslh(double h) { return tslh_(&h); }
double tph(double p, double h) { return tph_(&p, &h); }
double pvgp(double p) { return pvgp_(&p); }

struct Steam {
    double value, t, v, x;
};
Steam hssiss(double p, double s) {
    Steam r{};
    r.value = hssiss_(&p, &s, &r.t, &r.v, &r.x);
    return r;
}
Steam sssiss(double p, double h) {
    Steam r{};
    r.value = sssiss_(&p, &h, &r.t, &r.v, &r.x);
    return r;
}

class SteamIsentropic : public ::testing::Test {
protected:
    void SetUp() override { resetMemo(); }
};

}  // namespace

TEST_F(SteamIsentropic, WetStatesOfEntropyAndOfEnthalpyInvertEachOther) {
    for (const double p : {1.0, 14.7, 100.0, 1000.0, 2000.0, 3000.0}) {
        const double sf = sfp(p), sg = sgp(p);
        for (const double fraction : {0.1, 0.3, 0.6}) {
            const double s = sf + fraction * (sg - sf);
            const Steam byEntropy = hssiss(p, s);
            const Steam byEnthalpy = sssiss(p, byEntropy.value);
            const std::string where = "p " + std::to_string(p) + " fraction " + std::to_string(fraction);
            EXPECT_NEAR(byEnthalpy.value, s, 1e-9) << where;
            EXPECT_NEAR(byEnthalpy.x, byEntropy.x, 1e-9) << where;
            EXPECT_NEAR(byEnthalpy.v, byEntropy.v, 1e-9 * byEntropy.v) << where;
            EXPECT_EQ(byEntropy.t, tsatp(p)) << where;
            EXPECT_GT(byEntropy.x, 0.0);
            EXPECT_LT(byEntropy.x, 1.0);
        }
    }
}

TEST_F(SteamIsentropic, NoPressureChangeGivesBackTheStartingState) {
    for (const double p : {14.7, 300.0, 1500.0}) {
        for (const double t : {tsatp(p) + 20.0, 1000.0}) {
            double p1 = p, t1 = t, s1, h1, t2, x1 = 0.0, x2, vol1, vol2;
            const double h2 = zsdt_(&p1, &p1, &t1, &s1, &h1, &t2, &x1, &x2, &vol1, &vol2);
            EXPECT_EQ(x1, 1.0);
            EXPECT_EQ(x2, 1.0);
            // Back through tps: within its tolerance in s, times T.
            EXPECT_NEAR(h2, h1, (t + kRankineOffset) * 5e-5);
            EXPECT_NEAR(t2, t, 0.1);
            EXPECT_NEAR(vol2, vol1, 1e-3 * vol1);
            double h = h1, s, tOut, t2b, xa, xb, va, vb;
            EXPECT_NEAR(zsdh_(&p1, &p1, &h, &s, &tOut, &t2b, &xa, &xb, &va, &vb), h1, (t + kRankineOffset) * 5e-5);
        }
        // A wet state comes back exactly.
        double p1 = p, h1 = 0.5 * (hfp(p) + hgp(p)), s1, t1, t2, x1, x2, vol1, vol2;
        EXPECT_NEAR(zsdh_(&p1, &p1, &h1, &s1, &t1, &t2, &x1, &x2, &vol1, &vol2), h1, 1e-9);
        EXPECT_NEAR(x1, x2, 1e-12);
        // The liquid the same way.
        double t = 0.5 * tsatp(p), sl, hl, tl;
        const double h2 = zsrt_(&p1, &p1, &t, &sl, &hl, &tl);
        EXPECT_NEAR(h2, hl, 0.05);
        EXPECT_NEAR(zsrh_(&p1, &p1, &hl, &sl, &t1, &tl), hl, 0.05);
    }
}

TEST_F(SteamIsentropic, ExpansionIntoTheWetRegionMatchesIf97) {
    // The formulations differ by up to about 0.3 % in enthalpy differences and a few
    // thousandths in entropy; at these expansions that is at most about 2 Btu/lbm in h2
    // and 0.002 in the quality.
    for (const Expansion& e : kExpansions) {
        double p1 = e.p1, p2 = e.p2, t1 = e.t1, s1, h1, t2, x1, x2, vol1, vol2;
        const double h2 = zsdt_(&p1, &p2, &t1, &s1, &h1, &t2, &x1, &x2, &vol1, &vol2);
        const std::string where = "from " + std::to_string(e.p1) + " to " + std::to_string(e.p2);
        EXPECT_NEAR(h2, e.h2, 2.0) << where;
        EXPECT_NEAR(x2, e.x2, 2e-3) << where;
        EXPECT_EQ(t2, tsatp(e.p2)) << where;
    }
}

TEST_F(SteamIsentropic, PressureOfSaturatedVapourOfAnEntropy) {
    for (const SaturatedVapour& r : kSaturatedVapour) {
        const double p = psv(r.s);
        EXPECT_NEAR(sgp(p), r.s, 4e-5) << r.s;
        // Against IF97: the formulations' saturated-vapour entropies differ by up to
        // about 1e-3, which moves the pressure by up to 1 % (far more near the critical point).
        EXPECT_NEAR(p, r.p, (r.s < 1.15 ? 0.03 : 0.01) * r.p) << r.s;
    }
    EXPECT_EQ(psv(1.0611600477649612), pc());
    double s = 1.5;
    EXPECT_NEAR(psv2_(&s), psv(1.5), 0.02 * psv(1.5));
}

TEST_F(SteamIsentropic, SaturatedLiquidTemperatureOfAnEnthalpy) {
    // Up to 904 too, where the liquid line is at its steepest next to the critical point.
    for (const double h : {-1.0, 0.0, 50.0, 200.0, 375.0, 376.0, 600.0, 707.0, 800.0, 880.0, 902.0, 903.0, 903.9}) {
        EXPECT_NEAR(hsl(tslh(h)), h, 0.04) << h;
    }
    EXPECT_EQ(tslh(904.0), 705.46831);
    EXPECT_DOUBLE_EQ(tslh(906.1), 705.46831 + 8.45e-4 * 2.1);
}

TEST_F(SteamIsentropic, PvgpRecordsItsNameSoThatItsResultServesNoOtherRoutine) {
    const double p = 600.0, h = 1400.0;
    const double t700 = tph(700.0, h);
    resetMemo();
    tph(p, h);
    EXPECT_NEAR(pvgp(700.0), 700.0 * vgp(700.0), 1e-12);
    EXPECT_EQ(std::string(stmlvn_.name[4], 6), "PVGP  ");
    // The level now shows 700 psia beside the enthalpy tph left: still no hit.
    EXPECT_EQ(tph(700.0, h), t700);
}
