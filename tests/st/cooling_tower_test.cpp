// COOLTW through the block harness: the design point reproduced, the wet bulb against
// PsychroLib, Merkel's effectiveness within its bounds, and the parameter refusals.
#include "block_harness.h"
#include "message_capture.h"
#include "psychrometrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

struct AmbientState {
    double t, phi, wetBulb, isenthalpic;
};
#include "cooling_tower_reference.inc"

// Design: water 35 -> 29 degC at 10 kg/s with a wet bulb of 24 degC; fan 5 kW; packing
// 1.5 m (fit 0.946); make-up water 0.5 and 0.3 kg/h per kW.
std::vector<float> design(float packing = 1.5f) { return {300, 35, 29, 10, 30, 24, 5, packing, 0.5f, 0.3f}; }

BlockInstance tower(const std::vector<float>& parameters = design()) {
    BlockInstance b(vireo_test::library("VireoST").block("st0030"), {.inputs = 5, .parameters = parameters});
    EXPECT_EQ(b.init(), 0);
    return b;
}

}  // namespace

TEST(CoolingTower, SaturatedAirAtTheDesignWetBulbReproducesTheDesignOutlet) {
    BlockInstance b = tower();
    const auto& out = b.step({24, 1, 35, 10, 100});
    // The wet-bulb search stops within 1e-4 in relative humidity, some 0.003 K.
    EXPECT_NEAR(out[4], 24.0, 0.01);
    EXPECT_NEAR(out[0], 29.0, 0.02);
    EXPECT_NEAR(out[1], (35.0 - 29.0) * 10 * 4.18, 1.0);
    EXPECT_FLOAT_EQ(out[2], 5.0f);
    EXPECT_GT(out[3], 0.8f * 0.5f * out[1]);  // at least the shares of the rejected heat
}

// Air beyond saturation does not exist: a relative humidity of 1.2 is saturated air,
// whose wet bulb is its dry bulb (above it, as the humidity taken at its word gave), with
// a warning.
TEST(CoolingTower, HumidityAboveSaturationIsTakenAsSaturated) {
    BlockInstance b = tower();
    std::vector<float> out;
    const auto m = messagesOf([&] { out = b.step({24, 1.2f, 35, 10, 100}); });
    EXPECT_EQ(m.codes, std::vector<int>{205455});
    EXPECT_NEAR(out[4], 24.0, 0.01);
    EXPECT_EQ(out, b.step({24, 1, 35, 10, 100}));
}

TEST(CoolingTower, WetBulbAgreesWithPsychroLib) {
    BlockInstance b = tower();
    for (const AmbientState& s : kAmbientStates) {
        const float t = float(s.t), phi = float(s.phi);
        const float wetBulb = b.step({t, phi, 60, 10, 100})[4];
        // Saturated air of the inlet's enthalpy: the tools' saturation formulation and
        // PsychroLib's differ by well under 0.1 per cent in vapour pressure, some 0.01 K.
        EXPECT_NEAR(wetBulb, s.isenthalpic, 0.03) << t << " degC, " << phi;
        // The thermodynamic wet bulb also counts the enthalpy of the water taken up; it
        // lies up to 0.3 K above.
        EXPECT_LE(wetBulb, s.wetBulb + 0.03) << t << " degC, " << phi;
        EXPECT_NEAR(wetBulb, s.wetBulb, 0.3) << t << " degC, " << phi;
    }
}

// The water the tower evaporates is what the air takes up from its inlet state to
// saturation at its outlet enthalpy, the inlet's plus the heat rejected per kg of air:
// over random inlet air, water and fan states (seeded), against psychrometrics.h and the
// design air flow of Merkel's model worked out here from the design point (water 35 ->
// 29 degC at 10 kg/s, wet bulb 24 degC, packing 1 m, no make-up shares). Within 1 %: the
// two saturation pressures differ by under 0.03 % and the searches stop within 1e-4 in
// relative humidity, a few thousandths of a g/kg against gains of at least 1.5 g/kg.
TEST(CoolingTower, TheWaterEvaporatedIsWhatTheAirTakesUp) {
    using psychro::enthalpy, psychro::ratio;
    const double twin0 = 35, twout0 = 29, flow0 = 10, wetBulb0 = 24, packing = 1, cp = 4.18;
    BlockInstance b =
        tower({100, float(twin0), float(twout0), float(flow0), 30, float(wetBulb0), 3, float(packing), 0, 0});
    const auto saturated = [&](double t) { return enthalpy(t, ratio(t, 1.0)); };
    const double ck = std::min(1.26 * packing - 0.5625 * packing * packing + 0.3221, 1.0);
    const double lmind = (twin0 - wetBulb0) * cp / (saturated(twin0) - saturated(wetBulb0));
    const double nyde = (twin0 - twout0) / (twin0 - wetBulb0);
    const double designAir = flow0 * lmind * -std::log(1 - nyde / ck);  // kg/s

    std::mt19937 random(54);
    std::uniform_real_distribution<double> unit(0, 1);
    int checked = 0;
    for (int k = 0; k < 300; ++k) {
        const double t = 40 * unit(random), phi = 0.1 + 0.9 * unit(random), fan = 30 + 70 * unit(random);
        const double water = 20 + 25 * unit(random), flow = 2 + 18 * unit(random);
        const auto& out = b.step({float(t), float(phi), float(water), float(flow), float(fan)});
        if (out[1] <= 0) continue;  // water no warmer than the wet bulb: nothing happens
        const double air = designAir * fan / 100;
        const double xIn = ratio(t, phi), hOut = enthalpy(t, xIn) + out[1] / air;
        const double gain = (ratio(psychro::saturationOnLine(hOut), 1.0) - xIn) * air * 3.6;  // kg/h
        if (gain < 1.5 * air * 3.6) continue;
        SCOPED_TRACE(::testing::Message() << t << " degC, " << phi << ", water " << water << " degC " << flow
                                          << " kg/s, fan " << fan << " %");
        EXPECT_NEAR(out[3], gain, 0.01 * gain);
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

TEST(CoolingTower, HeatAndFanPowerFollowTheirRelationsAndTheWaterStaysAboveTheWetBulb) {
    for (const float packing : {0.3f, 0.9f, 1.1f, 1.3f, 2.0f, 2.45f}) {
        BlockInstance b = tower(design(packing));
        for (const float speed : {10.0f, 60.0f, 100.0f, 400.0f}) {
            for (const float flow : {0.5f, 10.0f, 80.0f}) {
                const std::vector<float> in = {30, 0.4f, 38, flow, speed};
                const auto& out = b.step(in);
                const double effectiveness = (in[2] - out[0]) / (in[2] - out[4]);
                SCOPED_TRACE(testing::Message() << "packing " << packing << " speed " << speed << " flow " << flow);
                EXPECT_GE(effectiveness, 0.0);
                EXPECT_LE(effectiveness, 1.0 + 1e-6);
                EXPECT_GE(out[0], out[4]);
                // The outlet is put out as a float: some 4e-6 K at 30 degC.
                EXPECT_NEAR(out[1], (in[2] - out[0]) * double(flow) * 4.18, 4.18 * flow * 1e-5);
                const double share = speed / 100.0;
                EXPECT_FLOAT_EQ(out[2], float(5.0 * share * share * share));
                EXPECT_GT(out[3], 0.0f);
            }
        }
    }
}

TEST(CoolingTower, WaterNotAboveTheWetBulbAndNoFlowPassUnchanged) {
    BlockInstance b = tower();
    const auto& cold = b.step({30, 0.4f, 15, 10, 100});
    EXPECT_EQ(cold[0], 15.0f);
    EXPECT_EQ(cold[1], 0.0f);
    EXPECT_EQ(cold[2], 0.0f);
    EXPECT_EQ(cold[3], 0.0f);
    EXPECT_NEAR(cold[4], 20.0, 0.1);
    for (const float flow : {0.0f, -3.0f}) {
        const auto& none = b.step({30, 0.4f, 38, flow, 100});
        EXPECT_EQ(none, (std::vector<float>{38, 0, 0, 0, 30})) << flow;
    }
}

TEST(CoolingTower, AStoppedFanIsAnErrorAtEveryStepAndRunsAtTwentyPerCent) {
    BlockInstance b = tower();
    const std::vector<float> at20 = b.step({30, 0.4f, 38, 10, 20});
    for (int k = 0; k < 2; ++k) {
        const auto m = messagesOf([&] { EXPECT_EQ(b.step({30, 0.4f, 38, 10, 0}), at20); });
        EXPECT_EQ(m.codes, Codes{306026});
    }
}

TEST(CoolingTower, ADesignThatDoesNotCoolIsRefused) {
    struct Case {
        int parameter;
        float value;
        int code;
    };
    for (const Case& c : {Case{7, 2.5f, 305701}, Case{7, -0.3f, 305701}, Case{1, 24, 306025}, Case{2, 35, 306025},
                          Case{3, 0, 305700}, Case{6, INFINITY, 305189}}) {
        std::vector<float> p = design();
        p[c.parameter] = c.value;
        BlockInstance b(vireo_test::library("VireoST").block("st0030"), {.inputs = 5, .parameters = p});
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), c.code) << c.parameter; });
        EXPECT_EQ(m.codes, Codes{c.code}) << c.parameter;
    }
    // Between its two zeros the packing fit is positive: around each, to the last float,
    // a height is taken exactly where the fit comes out above 0.
    for (const float packing : {-0.23f, 2.47f}) {
        BlockInstance b(vireo_test::library("VireoST").block("st0030"), {.inputs = 5, .parameters = design(packing)});
        EXPECT_EQ(b.init(), 0) << packing;
    }
    const auto fit = [](double h) { return 1.26 * h - 0.5625 * h * h + 0.3221; };
    for (const double sign : {1.0, -1.0}) {
        float h = static_cast<float>((1.26 + sign * std::sqrt(1.26 * 1.26 + 4 * 0.5625 * 0.3221)) / (2 * 0.5625));
        for (int k = 0; k < 4; ++k) h = std::nextafter(h, -sign * INFINITY);
        for (int k = 0; k < 8; ++k, h = std::nextafter(h, sign * INFINITY)) {
            BlockInstance b(vireo_test::library("VireoST").block("st0030"), {.inputs = 5, .parameters = design(h)});
            const auto m = messagesOf([&] { b.init(); });
            EXPECT_EQ(m.codes, fit(h) > 0 ? Codes{} : Codes{305701}) << std::hexfloat << h;
        }
    }
}

TEST(CoolingTower, AMissingWetBulbIsAWarningOnceThenCounted) {
    BlockInstance b = tower();
    // Air far outside the humid-air functions' range has no saturated state on its line:
    // the dry bulb stands for the wet bulb.
    const std::vector<float> dry = {-1e30f, -1e30f, 20, 10, 100};
    std::vector<Codes> codes;
    for (int k = 0; k < 3; ++k) {
        codes.push_back(messagesOf([&] {
            for (const float v : b.step(dry)) EXPECT_TRUE(std::isfinite(v));
        }).codes);
    }
    EXPECT_EQ(codes, (std::vector<Codes>{{205097}, {}, {}}));
    EXPECT_EQ(b.OUT[4], -1e30f);
    EXPECT_EQ(b.IP[10], 3);
    const auto last = messagesOf([&] { b.last(); });
    ASSERT_EQ(last.codes, Codes{205097});
    EXPECT_EQ(last.records[0]["i8"], "3");  // every one, the first included
}
