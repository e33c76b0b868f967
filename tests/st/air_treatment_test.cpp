// The air-treatment blocks EVCOOL, ESCOOL and DWHEEL through the block harness, judged by
// psychrometrics written for the tests: the saturation pressure of Hyland and Wexler
// (ASHRAE Handbook - Fundamentals 2017, ch. 1, eqs. 5 and 6) with the humidity ratio and
// enthalpy of the same chapter, held first against the PsychroLib table the frame's tests
// keep.
// The blocks' own states come from the tools' IAPWS saturation pressure; the two differ by
// less than 0.03 %, which the tolerances below allow for.
#include "block_harness.h"
#include "message_capture.h"
#include "psychrometrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

struct HumidState {
    double t, phi, x, h;
};
#include "humid_air_reference.inc"

constexpr double kPressure = 101325.0, kRatio = 621.945;  // Pa; g/kg

using psychro::saturationPressure;
double ratio(double t, double phi) {
    const double pw = phi * saturationPressure(t);
    return kRatio * pw / (kPressure - pw);
}
double enthalpy(double t, double x) { return 1.006 * t + x * 1e-3 * (2501.0 + 1.86 * t); }

using psychro::bisect;
// The saturated state of enthalpy h: its temperature.
double saturationOnLine(double h) {
    return bisect([&](double t) { return enthalpy(t, ratio(t, 1.0)) - h; }, -100.0, 95.0);
}
// The thermodynamic wet-bulb temperature (ASHRAE eqs. 33 and 35).
double wetBulb(double t, double x) {
    return bisect(
        [&](double tw) {
            const double ws = ratio(tw, 1.0);
            const double w = tw >= 0 ? ((2501.0 - 2.326 * tw) * ws - 1.006e3 * (t - tw)) / (2501.0 + 1.86 * t - 4.186 * tw)
                                     : ((2830.0 - 0.24 * tw) * ws - 1.006e3 * (t - tw)) / (2830.0 + 1.86 * t - 2.1 * tw);
            return w - x;
        },
        -100.0, t);
}

BlockInstance block(const char* routine, int inputs, std::vector<float> parameters) {
    return BlockInstance(vireo_test::library("VireoST").block(routine), {.inputs = inputs, .parameters = parameters});
}

// One step of a fresh, initialised block that must send nothing.
std::vector<float> quietStep(const char* routine, std::vector<float> parameters, std::vector<float> inputs) {
    BlockInstance b = block(routine, static_cast<int>(inputs.size()), parameters);
    std::vector<float> out;
    const auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0);
        out = b.step(inputs);
    });
    EXPECT_EQ(m.codes, Codes{}) << routine;
    return out;
}

double outletRatio(const std::vector<float>& out, int first = 0) { return ratio(out[first], out[first + 1]); }

// Tolerances of a humidity ratio (g/kg) and of an enthalpy (kJ/kg) read back from a
// block's temperature and relative humidity: the two saturation pressures and the
// searches' 1e-4 in relative humidity.
double xTolerance(double x) { return 3e-4 * std::fabs(x) + 0.005; }
double hTolerance(double x) { return 2.6 * xTolerance(x) + 0.001; }

constexpr float kNoCap = 1000.0f;  // a set point no outlet reaches, g/kg

}  // namespace

TEST(Psychrometrics, TheTestsFormsReproducePsychroLib) {
    for (const auto& s : kPsychroStates) {
        if (s.t > 100) continue;
        EXPECT_NEAR(ratio(s.t, s.phi), s.x, 1e-5 * s.x + 1e-9) << s.t << " " << s.phi;
        EXPECT_NEAR(enthalpy(s.t, s.x), s.h, 1e-9 + 1e-9 * std::fabs(s.h));
    }
}

// Full flow at efficiency 1: the outlet is saturated on the inlet's line of constant
// enthalpy. That neglects the enthalpy of the water taken up, by which the thermodynamic
// wet bulb of these inlets lies up to 0.4 K higher where the water stays liquid.
TEST(Evcool, FullFlowSaturatesAlongTheEnthalpyLine) {
    for (const auto& s : kPsychroStates) {
        if (s.phi > 0.6 || s.t < -20 || s.t > 60) continue;
        SCOPED_TRACE(std::to_string(s.t) + " degC, phi " + std::to_string(s.phi));
        const auto out = quietStep("st0006", {1, 2, 50, 3}, {float(s.t), float(s.phi), 2, kNoCap});
        EXPECT_NEAR(out[1], 1.0, 1.2e-4);
        EXPECT_NEAR(out[0], saturationOnLine(s.h), 0.02);
        if (out[0] > 0) {
            EXPECT_NEAR(out[0], wetBulb(s.t, s.x), 0.4);
        }
        const double xsat = ratio(out[0], 1.0);
        EXPECT_NEAR(enthalpy(out[0], outletRatio(out)), s.h, hTolerance(xsat));
        EXPECT_FLOAT_EQ(out[2], 50);
        EXPECT_NEAR(out[3], 3 * (xsat - s.x), 3 * xTolerance(xsat));
    }
}

TEST(Evcool, PartialFlowMixesTheHumidifiedShare) {
    const float t = 32, phi = 0.25f;
    const double x = ratio(t, phi), h = enthalpy(t, x), xsat = ratio(saturationOnLine(h), 1.0);
    struct Case {
        float quantity, efficiency, expectedShare;
    };
    // The quantity taken within 0 and the nominal 4.
    for (const Case c : {Case{1, 0.8f, 0.25f}, Case{3, 0.9f, 0.75f}, Case{6, 0.9f, 1.0f}, Case{-2, 0.9f, 0.0f}}) {
        SCOPED_TRACE(c.quantity);
        const auto out = quietStep("st0006", {c.efficiency, 4, 80, 1.5f}, {t, phi, c.quantity, kNoCap});
        const double expected = x + c.expectedShare * c.efficiency * (xsat - x);
        EXPECT_NEAR(outletRatio(out), expected, xTolerance(expected));
        EXPECT_NEAR(enthalpy(out[0], outletRatio(out)), h, hTolerance(expected));
        EXPECT_NEAR(out[2], 80 * c.expectedShare, 1e-4);
        EXPECT_NEAR(out[3], 1.5 * (expected - x), 1.5 * xTolerance(expected));
    }
}

TEST(Evcool, SetPointPassAndDryAir) {
    const float t = 30, phi = 0.3f;
    const double x = ratio(t, phi), h = enthalpy(t, x);
    // The set point caps the humidity ratio; the temperature follows the line.
    const float cap = float(x + 2.0);
    auto out = quietStep("st0006", {1, 1, 10, 1}, {t, phi, 1, cap});
    EXPECT_NEAR(outletRatio(out), cap, xTolerance(cap));
    EXPECT_NEAR(enthalpy(out[0], outletRatio(out)), h, hTolerance(cap));
    EXPECT_NEAR(out[3], 2.0, xTolerance(x));

    // Inlet above the set point, or more humid than the efficiency: the air passes, output
    // 3 shows the running value, output 4 keeps its value.
    for (const auto& p : {std::vector<float>{0.9f, 1, 10, 1}, std::vector<float>{0.2f, 1, 10, 1}}) {
        BlockInstance b = block("st0006", 4, p);
        b.OUT = {0, 0, 0, 123};
        EXPECT_EQ(b.init(), 0);
        out = b.step({t, phi, 0.5f, p[0] == 0.9f ? float(x - 1) : kNoCap});
        EXPECT_EQ(out, (std::vector<float>{t, phi, 10, 123}));
        out = b.step({t, phi, 0, float(x - 1)});
        EXPECT_EQ(out, (std::vector<float>{t, phi, 0, 123}));
    }

    // Dry air: the search starts from 10 g/kg and still ends on the saturated state.
    out = quietStep("st0006", {1, 1, 10, 1}, {35, 0, 1, kNoCap});
    EXPECT_NEAR(out[1], 1.0, 1.2e-4);
    EXPECT_NEAR(out[0], saturationOnLine(enthalpy(35, 0)), 0.02);
}

TEST(Escool, TheSignalScalesTheWayToSaturationUpToOne) {
    const float t = 28, phi = 0.4f;
    const double x = ratio(t, phi), xsat = ratio(saturationOnLine(enthalpy(t, x)), 1.0);
    for (const float signal : {0.5f, 1.0f, 3.0f}) {
        SCOPED_TRACE(signal);
        const auto out = quietStep("st0035", {0.9f, 60, 2}, {t, phi, signal, kNoCap});
        const double share = signal < 1 ? signal : 1;
        const double expected = x + share * 0.9 * (xsat - x);
        EXPECT_NEAR(outletRatio(out), expected, xTolerance(expected));
        EXPECT_LT(out[1], 1.0f);  // never past saturation
        EXPECT_FLOAT_EQ(out[2], 60);
        EXPECT_NEAR(out[3], 2 * (expected - x), 2 * xTolerance(expected));
    }
    const auto off = quietStep("st0035", {0.9f, 60, 2}, {t, phi, -1, kNoCap});
    EXPECT_NEAR(off[0], t, 1e-4);
    EXPECT_NEAR(off[1], phi, 1e-5);
    EXPECT_EQ(off[2], 0);
    EXPECT_EQ(off[3], 0);
}

TEST(Evcool, ParametersAreCheckedAtInitialisation) {
    for (const float nominal : {0.0f, -1.0f}) {
        BlockInstance b = block("st0006", 4, {1, nominal, 1, 1});
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), 305440); });
        ASSERT_EQ(m.codes, Codes{305440});
        EXPECT_EQ(m.records[0]["i10"], "2");
    }
    for (const char* routine : {"st0006", "st0035", "st0004"}) {
        const auto id = vireo_test::identify(vireo_test::library("VireoST").block(routine));
        std::vector<float> p(static_cast<std::size_t>(id.maxParameters()), 1.0f);
        p[0] = INFINITY;
        BlockInstance b = block(routine, id.maxInputs(), p);
        const auto m = messagesOf([&] { b.init(); });
        ASSERT_EQ(m.codes, Codes{305189}) << routine;
        EXPECT_EQ(m.records[0]["i10"], "1");
    }
}

// Per unit of dry air in each stream: the water the process air gives up is what the
// regeneration air takes, and each stream keeps its enthalpy, over a grid of inlets both
// ways round. Neither outlet holds less than no water (a dry 40 degC process inlet against
// 20 degC, 30 % regeneration air would otherwise take more than that air holds) nor more
// than saturated air (cold regeneration air cannot take all a humid process stream gives).
TEST(Dwheel, WaterBalanceAndEnthalpies) {
    int turnedRound = 0;
    for (const float effectiveness : {0.7f, 1.0f})
        for (const float tp : {10.0f, 25.0f, 40.0f})
            for (const float phip : {0.0f, 0.05f, 0.3f, 0.9f})
                for (const float tr : {20.0f, 50.0f, 80.0f})
                    for (const float phir : {0.05f, 0.3f, 0.8f}) {
                        SCOPED_TRACE(testing::Message() << effectiveness << ": " << tp << " " << phip << ", " << tr
                                                        << " " << phir);
                        const auto out = quietStep("st0004", {effectiveness, 250}, {tp, phip, tr, phir, 1});
                        const double xp = ratio(tp, phip), xr = ratio(tr, phir);
                        const double xpo = outletRatio(out, 0), xro = outletRatio(out, 2);
                        EXPECT_GE(out[1], 0.0f);
                        EXPECT_GE(out[3], 0.0f);
                        EXPECT_LE(out[1], 1 + 1e-4);  // saturated within the search's tolerance
                        EXPECT_LE(out[3], 1 + 1e-4);
                        EXPECT_NEAR(xpo + xro, xp + xr, xTolerance(xp + xr));
                        EXPECT_NEAR(enthalpy(out[0], xpo), enthalpy(tp, xp), hTolerance(xp));
                        EXPECT_NEAR(enthalpy(out[2], xro), enthalpy(tr, xr), hTolerance(xr));
                        if (phir < phip) { EXPECT_LT(xpo, xp); }  // dried towards the regeneration inlet
                        turnedRound += phir > phip;
                        EXPECT_FLOAT_EQ(out[4], 250);
                    }
    EXPECT_GT(turnedRound, 100);
}

TEST(Dwheel, EffectivenessRestAndHumidityLimits) {
    const std::vector<float> in = {30, 0.6f, 80, 0.05f, 1};
    // Effectiveness 0: both streams unchanged; 1: the process air at the regeneration
    // inlet's relative humidity.
    auto out = quietStep("st0004", {0, 5}, in);
    EXPECT_NEAR(out[0], 30, 1e-4);
    EXPECT_NEAR(out[1], 0.6, 1e-5);
    EXPECT_NEAR(out[2], 80, 1e-4);
    EXPECT_NEAR(out[3], 0.05, 1e-5);
    out = quietStep("st0004", {1, 5}, in);
    EXPECT_NEAR(out[1], 0.05, 1e-4 * 0.6 + 1e-6);

    // Standing: all four states pass as they are, above 1 as well; no power.
    BlockInstance b = block("st0004", 5, {0.5f, 5});
    EXPECT_EQ(b.init(), 0);
    EXPECT_EQ(b.step({30, 1.3f, 80, -0.2f, 0}), (std::vector<float>{30, 1.3f, 80, -0.2f, 0}));

    // Turning, relative humidities are taken within 0 and 1.
    EXPECT_EQ(quietStep("st0004", {0.8f, 5}, {30, 1.4f, 80, 1.7f, 1}), quietStep("st0004", {0.8f, 5}, {30, 1, 80, 1, 1}));
    EXPECT_EQ(quietStep("st0004", {0.8f, 5}, {30, -0.3f, 80, 0.2f, 1}), quietStep("st0004", {0.8f, 5}, {30, 0, 80, 0.2f, 1}));

    // Dry process air with dry regeneration air stays dry; with humid regeneration air it
    // is moistened as air of a trace of humidity would be.
    out = quietStep("st0004", {1, 5}, {30, 0, 80, 0, 1});
    EXPECT_NEAR(out[0], 30, 1e-4);
    EXPECT_EQ(out[1], 0);
    const auto dry = quietStep("st0004", {1, 5}, {30, 0, 20, 0.3f, 1});
    const auto trace = quietStep("st0004", {1, 5}, {30, 1e-6f, 20, 0.3f, 1});
    EXPECT_NEAR(dry[1], 0.3, 1e-4);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(dry[i], trace[i], 1e-3) << i;
}

// In all five an input that is not a number changes nothing and is named.
TEST(AirTreatment, InputsThatAreNotNumbers) {
    const std::pair<const char*, std::vector<float>> blocks[] = {
        {"st0006", {1, 1, 1, 1}}, {"st0035", {1, 1, 1}}, {"st0004", {1, 1}}, {"st0014", {0}},
        {"st0037", {20, 70, 1.2f, 980, 4.19f, 10, 3000, 0.8f, 0.8f, 1}}};
    for (const auto& [routine, parameters] : blocks) {
        SCOPED_TRACE(routine);
        const auto id = vireo_test::identify(vireo_test::library("VireoST").block(routine));
        BlockInstance b = block(routine, id.maxInputs(), parameters);
        b.OUT.assign(b.OUT.size(), 7.0f);
        std::vector<float> in(static_cast<std::size_t>(id.maxInputs()), 0.5f);
        in[1] = -INFINITY;
        const auto m = messagesOf([&] {
            b.init();
            b.step(in);
        });
        ASSERT_EQ(m.codes, Codes{205441});
        EXPECT_EQ(m.records[0]["i10"], "2");
        EXPECT_EQ(b.OUT, std::vector<float>(b.OUT.size(), 7.0f));
    }
}

// Zero, negative, equal and extreme inputs to all five blocks of the family: every call
// returns quickly (the searches end) and every output is a finite number.
TEST(AirTreatment, EveryInputEndsWithFiniteOutputs) {
    struct Block {
        const char* routine;
        int inputs;
        std::vector<float> parameters;
    };
    const Block blocks[] = {
        {"st0006", 4, {1, 2, 50, 3}},
        {"st0006", 4, {0.5f, 1e-30f, -1, 1e30f}},
        {"st0035", 4, {2, 1, 1}},
        {"st0004", 5, {0.8f, 5}},
        {"st0004", 5, {-3, 0}},
        {"st0014", 3, {0}},
        {"st0014", 3, {-0.2f, 1e-9f, 40}},
        {"st0014", 3, {0.2f}},
        {"st0014", 3, {2}},
        {"st0037", 5, {20, 70, 1.2f, 980, 4.19f, 10, 3000, 0.8f, 0.8f, 1}},
    };
    const float values[] = {0, -1, 0.5f, 35, 1e6f, -1e30f};
    using Clock = std::chrono::steady_clock;
    Clock::duration slowest{};
    for (const Block& k : blocks) {
        SCOPED_TRACE(k.routine);
        BlockInstance b = block(k.routine, k.inputs, k.parameters);
        messagesOf([&] {
            ASSERT_EQ(b.init(), 0);
            std::vector<int> index(static_cast<std::size_t>(k.inputs), 0);
            std::vector<float> in(index.size());
            for (bool more = true; more;) {
                for (std::size_t i = 0; i < index.size(); ++i) in[i] = values[index[i]];
                const auto start = Clock::now();
                b.step(in);
                slowest = std::max(slowest, Clock::now() - start);
                for (float o : b.OUT) ASSERT_TRUE(std::isfinite(o)) << ::testing::PrintToString(in);
                more = false;
                for (std::size_t i = 0; i < index.size() && !more; ++i)
                    if (++index[i] < static_cast<int>(std::size(values))) more = true;
                    else index[i] = 0;
            }
            b.last();
        });
    }
    EXPECT_LT(std::chrono::duration<double>(slowest).count(), 0.2);
}
