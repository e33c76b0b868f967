// Heat capacity, conductivity and the SI forms the blocks call.
#include "steam_test_support.h"
#include "steam_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

using namespace steam_test;

namespace {

// The derivative of h at constant p by a central difference. Its truncation error,
// (dT)^2/6 times the third derivative, stays below 1e-7 relative away from the critical
// point with dT = 0.01 °F; rounding adds 1e-11 Btu/lbm / 0.02 °F.
template <class Enthalpy>
double centralDifference(Enthalpy h, double p, double t) {
    constexpr double dt = 0.01;
    return (h(p, t + dt) - h(p, t - dt)) / (2.0 * dt);
}

}  // namespace

TEST(SteamHeatCapacity, IsTheTemperatureDerivativeOfTheEnthalpyInEveryRegion) {
    // cp = (dh/dT)_p. The analytic second derivatives of the formulation against a
    // difference of its enthalpies, to 1e-5 relative: a wrong term shows as per cents.
    struct State {
        double p, t;
    };
    for (const State s : {State{1, 40}, {100, 70}, {1000, 300}, {3000, 500}, {14000, 100}, {5000, 650}, {2500, 660},
                          {16000, 400}}) {
        EXPECT_NEAR(cppt1(s.p, s.t), centralDifference(hpt1, s.p, s.t), 1e-5 * cppt1(s.p, s.t)) << s.p << ", " << s.t;
        EXPECT_EQ(cpptl(s.p, s.t), cppt1(s.p, s.t));
    }
    for (const State s : {State{0.1, 50}, {1, 200}, {100, 500}, {1000, 1000}, {500, 1599}, {3000, 800}, {2000, 640},
                          {14000, 1200}, {10, -100}}) {
        EXPECT_NEAR(cppt2(s.p, s.t), centralDifference(hpt2, s.p, s.t), 1e-5 * cppt2(s.p, s.t)) << s.p << ", " << s.t;
        EXPECT_EQ(cpptd(s.p, s.t), cppt2(s.p, s.t));
    }
    // Region 3: liquid side with its correction, supercritical, vapour side below the
    // critical temperature; each through the search at every temperature of the
    // difference.
    for (const State s : {State{3500, 680}, {5000, 665}, {9000, 700}, {5000, 750}, {10000, 900}, {14000, 1100},
                          {16000, 800}, {6000, 720}}) {
        const double cp = cpptl(s.p, s.t);
        EXPECT_NEAR(cp, centralDifference(hptl, s.p, s.t), 1e-5 * cp) << s.p << ", " << s.t;
        EXPECT_EQ(cp, cpvt3(vpt3l(s.p, s.t), s.t));
    }
    for (const State s : {State{2600, 680}, {3000, 700}, {2450, 665}, {12000, 1000}, {16000, 1100}}) {
        const double cp = cpptd(s.p, s.t);
        EXPECT_NEAR(cp, centralDifference(hptd, s.p, s.t), 1e-5 * cp) << s.p << ", " << s.t;
        EXPECT_EQ(cp, cpvt3(vpt3d(s.p, s.t), s.t));
    }
    // cppt3 takes the search that starts on the saturation pressure's side.
    EXPECT_EQ(cppt3(3500, 680), cpptl(3500, 680));
    EXPECT_EQ(cppt3(2600, 680), cpptd(2600, 680));
}

TEST(SteamHeatCapacity, LiquidSideTakesRegion3From662F) {
    // At 662 °F itself h, s and v are region 1's, cp region 3's; the two regions' heat
    // capacities there differ by the formulation's own mismatch, a few per cent at most.
    const double p = 5000.0;
    EXPECT_EQ(cpptl(p, 662.0), cpvt3(vpt3l(p, 662.0), 662.0));
    EXPECT_EQ(cpptl(p, std::nextafter(662.0, 0.0)), cppt1(p, std::nextafter(662.0, 0.0)));
    EXPECT_EQ(hptl(p, 662.0), hpt1(p, 662.0));
    EXPECT_NEAR(cpptl(p, 662.0) / cppt1(p, 662.0), 1.0, 0.05);
    // The vapour side takes region 2 up to 16000 psia below 462 °F and the 2/3 boundary
    // from 462 °F on, as vptd does.
    resetMemo();
    EXPECT_EQ(cpptd(16000.0, 461.9), cppt2(16000.0, 461.9));
    EXPECT_EQ(std::string(nust_.name[0], 6), "      ");  // the boundary was not asked
    EXPECT_EQ(cpptd(2000.0, 462.0), cppt2(2000.0, 462.0));
    EXPECT_EQ(std::string(nust_.name[0], 6), "P23T  ");
}

TEST(SteamConductivity, FormsAgreeAndStayFinite) {
    // condv and condl in Btu/(h·ft·°F) at the side's volume; convt in W/(m·K) at a volume
    // in m³/kg and °C: the same equation.
    constexpr double kFactor = 0.5777893165429981;
    constexpr double kVolume = 16.018463373960138;
    for (const auto& [p, t] : {std::pair{14.7, 300.0}, {1000.0, 1000.0}, {3000.0, 700.0}, {100.0, 1600.0}}) {
        const double celsius = (t - 32.0) / 1.8;
        EXPECT_NEAR(condv(p, t), convt(vptd(p, t) / kVolume, celsius) * kFactor, 1e-12 * condv(p, t)) << p << ", " << t;
    }
    for (const auto& [p, t] : {std::pair{14.7, 60.0}, {3000.0, 500.0}, {5000.0, 700.0}}) {
        const double celsius = (t - 32.0) / 1.8;
        EXPECT_NEAR(condl(p, t), convt(vptl(p, t) / kVolume, celsius) * kFactor, 1e-12 * condl(p, t)) << p << ", " << t;
    }
    // Steam at a vanishing density: the critical part's exponent is held at its floor and
    // the value tends to the ideal-gas part.
    for (double v : {1e3, 1e6, 1e30, std::numeric_limits<double>::infinity()}) {
        const double k = convt(v, 400.0);
        EXPECT_TRUE(std::isfinite(k)) << v;
        EXPECT_GT(k, 0.0) << v;
    }
    EXPECT_NEAR(convt(1e30, 400.0), convt(1e6, 400.0), 1e-6);
    EXPECT_TRUE(vireo::steam::conductivityAccepts(1e6, 400.0));
    EXPECT_FALSE(vireo::steam::conductivityAccepts(0.0, 400.0));
    EXPECT_FALSE(vireo::steam::conductivityAccepts(-1.0, 400.0));
    EXPECT_FALSE(vireo::steam::conductivityAccepts(std::numeric_limits<double>::quiet_NaN(), 400.0));
    EXPECT_FALSE(vireo::steam::conductivityAccepts(0.001, -5.0));
}

// ---- the SI forms ----------------------------------------------------------------------

namespace {

// The state as the SI forms convert it.
double psia(double pa) { return pa / 6894.0; }
double fahrenheit(double celsius) { return celsius * 9.0 / 5.0 + 32.0; }

// The highest pressure in Pa whose psia is at most `line`, and the next one up.
std::pair<double, double> pascalAround(double line) {
    double p = line * 6894.0;
    while (psia(p) > line) p = std::nextafter(p, 0.0);
    double above = std::nextafter(p, 1e12);
    for (; psia(above) <= line; above = std::nextafter(above, 1e12)) p = above;
    return {p, above};
}

}  // namespace

TEST(SteamSi, SideChoiceAtItsEdges) {
    // At 0 °C and colder always the liquid side, whatever the pressure.
    EXPECT_EQ(chkreg(0.0, 100.0), 0);
    EXPECT_EQ(chkreg(-3.0, 1.0), 0);
    EXPECT_EQ(chkreg(std::nextafter(0.0, 1.0), 100.0), 1);
    // 101325 Pa is 14.6976 psia with the library's 6894 Pa/psi, above the saturation
    // pressure of 212 °F (14.6960): liquid. 101000 Pa is below it: vapour.
    EXPECT_EQ(chkreg(100.0, 101325.0), 0);
    EXPECT_EQ(chkreg(100.0, 101000.0), 1);
    // Exactly on the saturation line: vapour, and the next pressure up liquid.
    const double t = 150.0;
    const auto [on, above] = pascalAround(psatt(fahrenheit(t)));
    ASSERT_EQ(psia(on), psatt(fahrenheit(t)));
    EXPECT_EQ(chkreg(t, on), 1);
    EXPECT_EQ(chkreg(t, above), 0);
    // Up to 374.1499938964844 °C (374.15 in single precision) the saturation line
    // decides, above it the 2/3 boundary, alike.
    EXPECT_EQ(chkreg(374.1499938964844, 22.12e6), 0);
    EXPECT_EQ(chkreg(374.1499938964844, 22.0e6), 1);
    EXPECT_EQ(chkreg(400.0, 30.0e6), 0);
    EXPECT_EQ(chkreg(400.0, 20.0e6), 1);
    const auto [below, beyond] = pascalAround(p23t(fahrenheit(400.0)));
    EXPECT_EQ(chkreg(400.0, below), 1);
    EXPECT_EQ(chkreg(400.0, beyond), 0);
}

TEST(SteamSi, ResultsScaleExactlyByTheFactors) {
    struct State {
        double t, p;
        bool vapour;
    };
    for (const State s : {State{20.0, 101325.0, false}, {100.0, 101000.0, true}, {300.0, 5.0e6, true},
                          {300.0, 15.0e6, false}, {360.0, 20.0e6, false}, {400.0, 30.0e6, false},
                          {400.0, 20.0e6, true}, {550.0, 10.0e6, true}, {-3.0, 1.0e5, false}}) {
        ASSERT_EQ(chkreg(s.t, s.p), s.vapour ? 1 : 0) << s.t << " °C, " << s.p << " Pa";
        const double p = psia(s.p), t = fahrenheit(s.t);
        EXPECT_EQ(steamH(s.t, s.p), 2326.0 * (s.vapour ? hptd(p, t) : hptl(p, t)));
        EXPECT_EQ(steamS(s.t, s.p), 4186.7998046875 * (s.vapour ? sptd(p, t) : sptl(p, t)));
        EXPECT_EQ(steamCp(s.t, s.p), 4186.7998046875 * (s.vapour ? cpptd(p, t) : cpptl(p, t)));
        EXPECT_EQ(steamV(s.t, s.p), 0.062427960336208344 * (s.vapour ? vptd(p, t) : vptl(p, t)));
        EXPECT_TRUE(vireo::steam::steamStateAccepts(s.t, s.p));
    }
    // 400 °C at 30 MPa lies above the boundary: the liquid side, in region 3.
    EXPECT_EQ(steamV(400.0, 30.0e6), 0.062427960336208344 * vpt3l(psia(30.0e6), fahrenheit(400.0)));
}

TEST(SteamSi, PredicateRefusesWhatEndsTheProcess) {
    using vireo::steam::steamStateAccepts;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Below -3.9 °C the liquid side reaches the 25 °F limit of region 1.
    EXPECT_TRUE(steamStateAccepts(-3.8, 1.0e5));
    EXPECT_FALSE(steamStateAccepts(-10.0, 1.0e5));
    EXPECT_FALSE(steamStateAccepts(nan, 1.0e5));
    EXPECT_FALSE(steamStateAccepts(100.0, nan));
    EXPECT_FALSE(steamStateAccepts(900.0, 1.0e5));   // above the 2/3 boundary's 1600 °F
    EXPECT_FALSE(steamStateAccepts(300.0, 120.0e6));  // above 16000 psia
    EXPECT_TRUE(steamStateAccepts(300.0, 100.0e6));
    EXPECT_TRUE(steamStateAccepts(600.0, 100.0e6));
}
