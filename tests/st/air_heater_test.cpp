// AIRHEAT through the block harness against the effectiveness-NTU relations written here
// on their own: the air-side NTU of the nominal point, scaled with the face velocity to
// the power 0.4, the effectiveness 1 - exp(-NTU) against the mean water temperature, and
// the balance of the water's and the air's heat, solved for the water outlet.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

enum Out { twout, taout, qh, pel };

// A coil of 20 kW heating 3000 m3/h of air from 10 degC with 1.2 m3/h of water at 70 degC.
struct Coil {
    double q0 = 20, twin0 = 70, vw0 = 1.2, rhow = 980, cpw = 4.19, tain0 = 10, va0 = 3000, fan = 0.8, a = 0.8, b = 1.0;
    std::vector<float> parameters() const {
        return {float(q0), float(twin0), float(vw0), float(rhow), float(cpw), float(tain0), float(va0), float(fan),
                float(a), float(b)};
    }
    double nominalWaterFlow() const { return rhow * vw0 / 3600; }
};

// The air properties of the coil's own model: humid air at 101.3 kPa, J/(kg K) and kg/m3.
double saturationPressure(double t) {
    return 611 * std::exp(-1.91275e-4 + 0.07258 * t - 2.939e-4 * t * t + 9.841e-7 * t * t * t - 1.92e-9 * t * t * t * t);
}
double airDensity(double t, double phi) {
    const double pv = phi * saturationPressure(t);
    return (pv / 462 + (101300 - pv) / 287) / (273.15 + t);
}
double airCp(double t) { return 1006 + 0.05 * t; }

struct Expected {
    double twout, taout, qh;
};

// The operating point: fan share s of full speed, water flow m (kg/s). Without flow
// nothing passes the coil.
Expected expected(const Coil& k, double tair, double phi, double twin, double s, double m) {
    if (m <= 0) return {twin, tair, 0};
    const double area = k.a * k.b;
    // Nominal point, 40 % relative humidity: its effectiveness gives the NTU per face area.
    const double rho0 = airDensity(k.tain0, 0.4), cp0 = airCp(k.tain0);
    const double cair0 = cp0 * k.va0 / 3600 * rho0 / 1000;  // kW/K
    const double twout0 = k.twin0 - k.q0 / (k.cpw * k.nominalWaterFlow());
    const double eps0 = k.q0 / (cair0 * ((k.twin0 + twout0) / 2 - k.tain0));
    const double v0 = k.va0 / 3600 / area;
    const double ua0 = -std::log(1 - eps0) * v0 * rho0 * cp0;  // W/(m2 K)
    // At face velocity v the coefficient is ua0 (v/v0)^0.4.
    const double v = s * v0, rho = airDensity(tair, phi), cp = airCp(tair);
    const double eps = 1 - std::exp(-ua0 * std::pow(v / v0, 0.4) / (v * rho * cp));
    const double cair = cp * s * k.va0 / 3600 * rho / 1000, cw = k.cpw * m;
    // cw (twin - two) = taken ((twin + two)/2 - tair), the air taking no more than the
    // water can give without passing the air's temperature.
    const double taken = std::min(eps * cair, 2 * cw);
    double two = (cw * twin - taken * (twin / 2 - tair)) / (cw + taken / 2);
    if (two < tair + 1) two = tair + 1;
    return {two, tair + taken / cair * ((twin + two) / 2 - tair), cw * (twin - two)};
}

BlockInstance heater(const std::vector<float>& parameters) {
    return BlockInstance(vireo_test::library("VireoST").block("st0037"), {.inputs = 5, .parameters = parameters});
}

std::vector<float> quietStep(const Coil& k, std::vector<float> inputs) {
    BlockInstance b = heater(k.parameters());
    std::vector<float> out;
    const auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0);
        out = b.step(inputs);
    });
    EXPECT_EQ(m.codes, Codes{});
    return out;
}

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

}  // namespace

TEST(Airheat, TheNominalPointGivesItsHeatOutput) {
    const Coil k;
    const auto out = quietStep(k, {10, 0.4f, 70, 100, float(k.nominalWaterFlow())});
    EXPECT_LT(relative(out[qh], k.q0), 1e-4);
    EXPECT_NEAR(out[twout], k.twin0 - k.q0 / (k.cpw * k.nominalWaterFlow()), 2e-3);
    EXPECT_FLOAT_EQ(out[pel], 0.8f);
}

TEST(Airheat, OperatingPointsAgainstEffectivenessNtu) {
    const Coil k;
    for (double fan : {100.0, 60.0, 25.0})
        for (double m : {0.05, 0.3, 0.8})
            for (double tair : {-5.0, 10.0, 22.0})
                for (double twin : {45.0, 80.0}) {
                    SCOPED_TRACE(std::to_string(fan) + "% " + std::to_string(m) + " kg/s " + std::to_string(tair) + " " +
                                 std::to_string(twin));
                    const auto out = quietStep(k, {float(tair), 0.5f, float(twin), float(fan), float(m)});
                    const Expected e = expected(k, tair, 0.5, twin, fan / 100, m);
                    EXPECT_NEAR(out[twout], e.twout, 2e-3);
                    EXPECT_NEAR(out[taout], e.taout, 2e-3);
                    EXPECT_NEAR(out[qh], e.qh, 2e-4 * std::fabs(e.qh) + 1e-4);
                    // Without the floor the water gives what the air takes.
                    if (e.twout > tair + 1) {
                        const double cair = airCp(tair) * fan / 100 * k.va0 / 3600 * airDensity(tair, 0.5) / 1000;
                        EXPECT_NEAR(out[qh], cair * (out[taout] - tair), 2e-4 * std::fabs(e.qh) + 1e-3);
                    }
                }
}

// Halving the fan speed: the transfer coefficient falls by 0.5^0.4, read back from the
// effectiveness the outputs show; the fan power to an eighth.
TEST(Airheat, HalvingTheFanSpeed) {
    const Coil k;
    const auto ua = [&](const std::vector<float>& out, double share) {
        const double mean = (70 + out[twout]) / 2, eps = (out[taout] - 15) / (mean - 15);
        return -std::log(1 - eps) * share;  // NTU times the velocity share: UA at equal air properties
    };
    const auto full = quietStep(k, {15, 0.5f, 70, 100, 0.3f}), half = quietStep(k, {15, 0.5f, 70, 50, 0.3f});
    EXPECT_NEAR(ua(half, 0.5) / ua(full, 1.0), std::pow(0.5, 0.4), 2e-4);
    EXPECT_FLOAT_EQ(half[pel], full[pel] / 8);
}

// Without water flow the coil exchanges nothing: the water's outlet is its inlet and the
// air leaves as it came, water warmer or colder than the air (the second the coil of
// 15.87 kW that put out 39.6 degC for water entering at 20.27 degC).
TEST(Airheat, NoWaterFlowExchangesNothing) {
    struct Case {
        std::vector<float> parameters;
        float tair, rfair, twin, fan;
    };
    const std::vector<float> found = {15.87f, 64.13f, 0.726f, 1000, 4.19f, -7.12f, 7400, 1.68f, 1.15f, 1.05f};
    const Case cases[] = {{Coil{}.parameters(), 12, 0.5f, 60, 100}, {found, 29.94f, 0.976f, 20.27f, 41.1f}};
    for (const Case& c : cases) {
        for (const float m : {0.0f, -0.4f}) {
            SCOPED_TRACE(std::to_string(c.twin) + " " + std::to_string(m));
            BlockInstance b = heater(c.parameters);
            std::vector<float> out;
            EXPECT_EQ(messagesOf([&] {
                          EXPECT_EQ(b.init(), 0);
                          out = b.step({c.tair, c.rfair, c.twin, c.fan, m});
                      }).codes,
                      Codes{});
            EXPECT_EQ(out[twout], c.twin);
            EXPECT_FLOAT_EQ(out[taout], c.tair);
            EXPECT_EQ(out[qh], 0);
            EXPECT_FLOAT_EQ(out[pel], c.parameters[7] * std::pow(c.fan / 100, 3));
        }
    }
}

// Over random coils, air, water and fan states (seeded), the water flow from a trickle of
// 0.1 mg/s to 2 kg/s: the water leaves between its inlet and its floor 1 K above the air
// (a trickle of water at 20.3 degC put out 39.6 degC against air at 29.9 degC), and
// water that can heat the air gives what the air takes (a trickle at 64 degC warmed the
// air by 3 K). There the floor lifts the water's outlet by at most 1 K without the air's
// side paying for it: the water counts that lift with its capacity flow, the air with at
// most the same, so the two differ by at most twice the water's capacity flow times 1 K;
// the rest is the float outputs' rounding (some 1e-5 kW).
TEST(Airheat, AtAnyFlowTheWaterStaysOnItsSideAndTheAirTakesWhatTheWaterGives) {
    const Coil k;
    const std::vector<float> found = {15.87f, 64.13f, 0.726f, 1000, 4.19f, -7.12f, 7400, 1.68f, 1.15f, 1.05f};
    std::mt19937 random(54);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<std::string> wrong;
    for (const auto& parameters : {k.parameters(), found}) {
        BlockInstance b = heater(parameters);
        messagesOf([&] {
            EXPECT_EQ(b.init(), 0);
            for (int n = 0; n < 300; ++n) {
                const float tair = float(-15 + 50 * unit(random)), phi = float(0.1 + 0.9 * unit(random)),
                            twin = float(5 + 85 * unit(random)), fan = float(10 + 110 * unit(random)),
                            m = float(std::exp(std::log(1e-7) + std::log(2e7) * unit(random)));
                const auto& out = b.step({tair, phi, twin, fan, m});
                const double cw = parameters[4] * double(m), floor = tair + 1.0;
                const double cair = airCp(tair) * fan / 100 * parameters[6] / 3600 * airDensity(tair, phi) / 1000;
                const double taken = cair * (out[taout] - tair);
                const bool within = out[twout] >= std::min<double>(twin, floor) - 1e-4 &&
                                    out[twout] <= std::max<double>(twin, floor) + 1e-4;
                const bool heats = twin > floor;
                if (!within || (heats && std::fabs(taken - out[qh]) > 2 * cw + 1e-4 * std::fabs(out[qh]) + 2e-5))
                    wrong.push_back(std::to_string(tair) + " degC air, " + std::to_string(twin) + " degC water at " +
                                    std::to_string(m) + " kg/s: water out " + std::to_string(out[twout]) +
                                    ", air takes " + std::to_string(taken) + " kW of " + std::to_string(out[qh]));
            }
        });  // the floor's warning, gathered as the capture takes standard output
    }
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

// Water colder than the air cannot heat it; the floor the coil is defined with (the
// water leaves 1 K above the air inlet) then lifts the water above its own inlet, heat
// the water side does not balance: 25 degC water against 30 degC air at 0.3 kg/s takes
// 7.54 kW into the water while the air gains 0.64 kW. Every such step with flowing water
// is counted, the first one reported; without flow the floor costs nothing.
TEST(Airheat, WaterTooColdToHeatTheAirIsCounted) {
    const Coil k;
    struct Case {
        float tair, twin, m;
        bool floored;
    };
    const Case cases[] = {{30, 25, 0.3f, true}, {30, 30.5f, 0.05f, true}, {10, 10.5f, 0.8f, true},
                          {30, 40, 0.3f, false}, {30, 40, 0, false}};
    BlockInstance b = heater(k.parameters());
    int counted = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tair) + " " + std::to_string(c.twin) + " " + std::to_string(c.m));
        const Expected e = expected(k, c.tair, 0.5, c.twin, 1, c.m);
        ASSERT_EQ(e.twout == c.tair + 1, c.floored);  // the independent solution agrees on the floor
        const auto m = messagesOf([&] {
            if (counted == 0) { EXPECT_EQ(b.init(), 0); }
            b.step({c.tair, 0.5f, c.twin, 100, c.m});
        });
        EXPECT_EQ(m.codes, c.floored && counted == 0 ? Codes{205445} : Codes{});
        counted += c.floored;
        EXPECT_NEAR(b.OUT[twout], e.twout, 2e-3);
        EXPECT_NEAR(b.OUT[qh], e.qh, 2e-4 * std::fabs(e.qh) + 1e-4);
        if (c.floored) {
            const double cair = airCp(c.tair) * k.va0 / 3600 * airDensity(c.tair, 0.5) / 1000;
            EXPECT_LT(b.OUT[qh], cair * (b.OUT[taout] - c.tair));  // the water side pays for nothing
        }
    }
    const auto m = messagesOf([&] { b.last(); });
    ASSERT_EQ(m.codes, Codes{205446});
    EXPECT_EQ(m.records[0]["i8"], std::to_string(counted));
}

TEST(Airheat, AStoppedFanIsReportedEveryStepAndRunsAt20Percent) {
    const Coil k;
    const auto at20 = quietStep(k, {10, 0.5f, 70, 20, 0.3f});
    for (float fan : {0.0f, -30.0f}) {
        BlockInstance b = heater(k.parameters());
        const auto m = messagesOf([&] {
            EXPECT_EQ(b.init(), 0);
            b.step({10, 0.5f, 70, fan, 0.3f});
            b.step({10, 0.5f, 70, fan, 0.3f});
        });
        EXPECT_EQ(m.codes, (Codes{306026, 306026})) << fan;
        EXPECT_EQ(b.OUT, at20) << fan;
    }
}

TEST(Airheat, ParametersAreCheckedAtInitialisation) {
    const Coil k;
    struct Case {
        int parameter;
        float value;
        int code;
    };
    for (const Case c : {Case{2, 0, 305442}, Case{3, -1, 305442}, Case{6, 0, 305442}, Case{8, 0, 305442},
                         Case{9, -2, 305442}, Case{4, 0, 305193}, Case{0, INFINITY, 305189}, Case{5, -INFINITY, 305189}}) {
        auto p = k.parameters();
        p[static_cast<std::size_t>(c.parameter)] = c.value;
        BlockInstance b = heater(p);
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), c.code); });
        ASSERT_EQ(m.codes, Codes{c.code}) << c.parameter;
        EXPECT_EQ(m.records[0]["i10"], std::to_string(c.parameter + 1));
    }
    // A nominal point whose mean water temperature is the air inlet's, or air below
    // absolute zero, sizes no coil.
    for (const auto& change : {std::vector<float>{0, 10}, std::vector<float>{20, 70, -280}}) {
        auto p = k.parameters();
        p[0] = change[0], p[1] = change[1];
        if (change.size() > 2) p[5] = change[2];
        BlockInstance b = heater(p);
        EXPECT_EQ(messagesOf([&] { EXPECT_EQ(b.init(), 305443); }).codes, Codes{305443});
    }
}
