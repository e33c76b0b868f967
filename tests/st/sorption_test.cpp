// SORB through the block harness: the isotherm against the BET equation where it reduces
// to it and against its closed form written here, the inverse and corrected modes, the
// binding heats, Clausius-Clapeyron consistency of the vapour pressure, the solution
// model against an independent evaluation of its fits, the model selection, the init
// checks, the non-convergence counter and two instances side by side.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

enum Out { loading, bindingHeat, pressure, lnPressure, minusInverseT, referencePressure, adsorptionHeat, vapourEnthalpy,
           concentration, vapourConcentration };

constexpr double kPs40 = 7384.427, kPs60 = 19945.802;  // IAPWS-IF97 saturation pressures at 40 and 60 degC, Pa

// The isotherm as printed, with its constants: monolayer loading 0.11, b 11, n 7.2, h 19000.
double isotherm(double x) {
    const double cm = 0.11, b = 11, n = 7.2, h = 19000, b1 = b - 1;
    const double xn = std::pow(x, n);
    const double num = 2 * b1 * x + 2 * b1 * b1 * x * x +
                       xn * (n * h + b * b * n - n * n * b * b + x * (n * n * b * b + 2 * b + 2 * n * b - 2 * b * b - b * b * n -
                                                                     2 * h - 2 * n * h + x * (n * h + 2 * h)));
    const double den = 1 + 2 * b1 * x + b1 * b1 * x * x + xn * (b * b + h - 2 * b - n * b * b + x * (2 * b + n * b * b - 2 * b * b - 2 * h + x * h));
    return cm * (num / (2 * den) + x / (1 - x));
}

// Brunauer, Emmett and Teller (1938): loading cm c x / ((1 - x)(1 + (c - 1) x)).
double bet(double x) { return 0.11 * 11 * x / ((1 - x) * (1 + 10 * x)); }

double printedBindingHeat(double c) { return c < 0.1934 ? 3172 * (1 - 2.34 * c + 6.05 * c * c) - 2453 : 0; }

BlockInstance sorb(std::vector<float> parameters, int inputs) {
    return BlockInstance(vireo_test::library("VireoST").block("st0014"), {.inputs = inputs, .parameters = parameters});
}

std::vector<float> quietStep(std::vector<float> parameters, std::vector<float> inputs, const Codes& codes = {}) {
    BlockInstance b = sorb(parameters, static_cast<int>(inputs.size()));
    std::vector<float> out;
    const auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0);
        out = b.step(inputs);
        b.last();
    });
    EXPECT_EQ(m.codes, codes);
    return out;
}

// A silica gel's pores hold at most 0.45 kg/kg (Chua et al., J. Chem. Eng. Data 47 (2002)
// 1177, the Toth isotherm's saturated uptake of type RD gel); the isotherm's pole at
// saturation does not.
constexpr double kMostLoading = 0.45;
const Codes kHeld{205443, 205444};

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

}  // namespace

TEST(Sorb, IsothermAtTheReferenceTemperature) {
    // Below the n-th power of the relative humidity the printed form is the BET equation.
    for (double x : {0.001, 0.01, 0.03}) EXPECT_LT(relative(isotherm(x), bet(x)), 2e-6) << x;
    // From 0.93 on the isotherm (0.46 kg/kg there, 0.54 at 0.95, 4.5 at 0.99) passes what
    // the gel holds: the loading stays there and the step is counted.
    for (float phi : {0.001f, 0.03f, 0.2f, 0.45f, 0.7f, 0.9f, 0.92f, 0.93f, 0.95f, 0.99f}) {
        const bool full = isotherm(phi) > kMostLoading;
        const auto out = quietStep({0}, {phi, 25}, full ? kHeld : Codes{});
        EXPECT_LT(relative(out[loading], std::min(isotherm(phi), kMostLoading)), 1e-6) << phi;
        EXPECT_LT(relative(out[referencePressure], kPs40 * phi), 1e-5) << phi;
        EXPECT_FLOAT_EQ(out[minusInverseT], -1 / 298.15f);
    }
    // At and above saturation the gel is full, below 0 dry.
    EXPECT_FLOAT_EQ(quietStep({0}, {1.0f, 25}, kHeld)[loading], kMostLoading);
    EXPECT_FLOAT_EQ(quietStep({0}, {1.7f, 25}, kHeld)[loading], kMostLoading);
    EXPECT_EQ(quietStep({0}, {-0.2f, 25})[loading], 0.0f);
}

TEST(Sorb, BindingHeats) {
    for (float c : {0.0f, 0.08f, 0.15f, 0.19f, 0.2f, 0.35f}) {
        SCOPED_TRACE(c);
        const auto m1 = quietStep({0}, {0.5f, 25, c});  // the loading of input 3, not the isotherm's
        EXPECT_NEAR(m1[bindingHeat], printedBindingHeat(c), 1e-3);
        EXPECT_NEAR(m1[adsorptionHeat], 2453 + printedBindingHeat(c), 1e-3);
        EXPECT_NEAR(quietStep({1}, {0.5f, 25, c})[bindingHeat], std::fmax(1000 - 4000 * c, 0), 1e-3);
        EXPECT_LT(relative(quietStep({3}, {0.5f, 25, c})[bindingHeat], 88.94 * std::exp((0.3 - 0.125 * c) * 8.38)), 1e-6);
    }
    // Without input 3 model 1 takes the isotherm's loading.
    const auto own = quietStep({0}, {0.3f, 25});
    EXPECT_NEAR(own[bindingHeat], printedBindingHeat(isotherm(0.3)), 1e-3);
}

// At fixed loading the vapour pressure follows ln p = ha/rw (-1/T) + const, with the
// binding heat of that loading; at the reference temperature it is that of the isotherm.
TEST(Sorb, VapourPressureIsClausiusClapeyron) {
    const auto cold = quietStep({0}, {0.5f, 20, 0.1f}), warm = quietStep({0}, {0.5f, 70, 0.1f});
    const double slope = (warm[lnPressure] - cold[lnPressure]) / (warm[minusInverseT] - cold[minusInverseT]);
    EXPECT_LT(relative(slope, cold[adsorptionHeat] / 0.461), 2e-4);
    EXPECT_FLOAT_EQ(std::log(cold[pressure]), cold[lnPressure]);
    const auto reference = quietStep({0}, {0.5f, 40, 0.1f});
    EXPECT_LT(relative(reference[pressure], reference[referencePressure]), 1e-5);
    // Dry air: no vapour pressure, and its logarithm held at that of the smallest float.
    const auto dry = quietStep({0}, {0, 20});
    EXPECT_EQ(dry[pressure], 0.0f);
    EXPECT_NEAR(dry[lnPressure], -87.336, 1e-3);
}

TEST(Sorb, InverseModeRoundTrips) {
    for (float phi : {0.1f, 0.35f, 0.6f, 0.85f}) {
        SCOPED_TRACE(phi);
        const float c = quietStep({0}, {phi, 25})[loading];
        const auto out = quietStep({-0.2f}, {0.5f, 25, c});
        EXPECT_NEAR(out[loading], c, 1.1e-4);
        // 1e-4 in loading, through the isotherm's slope.
        const double slope = (isotherm(phi + 1e-4) - isotherm(phi - 1e-4)) / 2e-4;
        EXPECT_NEAR(out[referencePressure] / kPs40, phi, 1.1e-4 / slope + 1e-6);
    }
}

// Model 1 corrected for the temperature: the relative humidity at the reference
// temperature solves phi0 = phi (ps40/ps)^(hb/he) with the binding heat of phi0's loading.
TEST(Sorb, CorrectedMode) {
    const auto out = quietStep({0.2f}, {0.15f, 60});
    const double phi0 = 0.15 * std::pow(kPs40 / kPs60, printedBindingHeat(out[loading]) / 2453);
    EXPECT_LT(phi0, 0.14);  // a binding heat that matters
    EXPECT_LT(relative(out[loading], isotherm(phi0)), 1e-3);
    EXPECT_LT(relative(out[pressure], 0.15 * kPs60), 1e-5);

    // At the reference temperature one isotherm evaluation settles it, also for air at or
    // above saturation; elsewhere a limit of one iteration is not enough.
    struct Case {
        float phi, t;
        Codes codes;
    };
    for (const Case& c : {Case{0.5f, 40, {}}, Case{1.2f, 40, {205443}}, Case{0.1f, 60, {305063}}}) {
        BlockInstance b = sorb({0.2f, 0, 1}, 2);
        EXPECT_EQ(messagesOf([&] { b.init(), b.step({c.phi, c.t}); }).codes, c.codes) << c.phi << " " << c.t;
    }
}

TEST(Sorb, CountsStepsThatDoNotConvergeAndReportsTheCount) {
    BlockInstance b = sorb({-0.1f, 0, 12}, 3);
    b.OUT.assign(b.OUT.size(), 3.0f);
    auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0);
        b.step({0.5f, 25, 9.0f});  // a loading the isotherm never reaches
        EXPECT_EQ(b.IP[0], 305063);
        b.step({0.5f, 25, 9.0f});
        b.step({0.5f, 25, 0.2f});
        b.step({0.5f, 25, -1.0f});
    });
    EXPECT_EQ(m.codes, (Codes{305063, 205443}));
    EXPECT_EQ(b.IP[11], 3);
    EXPECT_EQ(b.IP[13], 2);  // the bisection ended on the isotherm's pole twice
    m = messagesOf([&] { b.last(); });
    ASSERT_EQ(m.codes, (Codes{205097, 205444}));
    EXPECT_EQ(m.records[0]["i8"], "3");
    EXPECT_EQ(m.records[1]["i8"], "2");
    EXPECT_FLOAT_EQ(b.OUT[10], 3.0f);  // never written
}

// The fits of the solution model, evaluated independently in double precision from the
// printed correlations: the low-pressure fit to 552 kPa, the high-pressure fit above it
// on either side of the mass fraction 0.36, and the fixed logarithm from cv = 0.9996 on.
TEST(Sorb, SolutionModel) {
    struct Expected {
        float c, t;
        double p, cv, hf, hv;
    };
    const Expected table[] = {
        {0.0f, 60, 24847.0825, 0, 222.5004, 2554.07183},                           // low, pure water
        {0.2f, 40, 76373.396, 0.905188994, 22.6672143, 1456.78551},                // low
        {0.6f, 20, 403243.063, 0.999682927, -147.454457, 1313.42604},              // low
        {0.2f, 160, 2168973.78, 0.794993611, 571.74916, 1837.7813},                // high, below 0.36
        {0.4f, 60, 568177.079, 0.969889387, 31.0455745, 1439.51316},               // high
        {0.4f, 150, 4355964.13, 0.969615194, 455.683574, 1598.38559},              // high
        {0.8f, 50, 1593801.82, 0.999373423, 95.8740014, 1311.3792},                // high, cv below 0.9996
        {0.9f, 50, 1814016.21, 0.999778528, 164.099874, 1294.39831},               // high, fixed logarithm
    };
    for (const auto& e : table) {
        SCOPED_TRACE(e.c);
        SCOPED_TRACE(e.t);
        const auto out = quietStep({2}, {0.5f, e.t, e.c});
        EXPECT_LT(relative(out[pressure], e.p), 2e-6);
        EXPECT_NEAR(out[lnPressure], std::log(e.p), 1e-5);
        EXPECT_FLOAT_EQ(out[minusInverseT], float(-1 / (e.t + 273.15)));
        EXPECT_NEAR(out[vapourConcentration], e.cv, 1e-6);
        EXPECT_NEAR(out[adsorptionHeat], e.hf, 1e-3);  // the liquid-side enthalpy
        EXPECT_NEAR(out[vapourEnthalpy], e.hv, 1e-3);
        EXPECT_EQ(out[concentration], e.c);
        EXPECT_EQ(out[loading], 0.0f);  // model 3 leaves it
    }
}

TEST(Sorb, ModelSelectionAndInitialisation) {
    // Halves go away from 0; the sign picks the mode of model 1.
    struct Case {
        float selector;
        int model;
    };
    for (const Case c : {Case{-0.4f, 1}, Case{0, 1}, Case{0.49f, 1}, Case{0.5f, 2}, Case{1.49f, 2}, Case{1.5f, 3},
                         Case{2.5f, 4}, Case{3.49f, 4}}) {
        BlockInstance b = sorb({c.selector}, 3);
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, Codes{}) << c.selector;
        EXPECT_EQ(b.IP[10], c.model) << c.selector;
        EXPECT_EQ(b.IP[12], 20);
        EXPECT_FLOAT_EQ(b.RP[0], 1e-4f);
    }
    for (float selector : {-0.5f, 3.5f, -7.0f, INFINITY}) {
        BlockInstance b = sorb({selector}, 3);
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), 305011); });
        ASSERT_EQ(m.codes, Codes{305011}) << selector;
        EXPECT_EQ(m.records[0]["i10"], "1");
    }
    // The models that read input 3 refuse to run without it.
    for (float selector : {-0.2f, 0.5f, 1.5f, 2.5f}) {
        BlockInstance b = sorb({selector}, 2);
        EXPECT_EQ(messagesOf([&] { EXPECT_EQ(b.init(), 305441); }).codes, Codes{305441}) << selector;
    }
    for (float selector : {0.0f, 0.2f}) {
        BlockInstance b = sorb({selector}, 2);
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, Codes{}) << selector;
    }
    BlockInstance b = sorb({0, 0.01f, 1000.4f}, 2);
    EXPECT_EQ(b.init(), 0);
    EXPECT_EQ(b.IP[12], 1000);
    EXPECT_FLOAT_EQ(b.RP[0], 0.01f);
    BlockInstance many = sorb({0, 0, 1e6f}, 2);
    const auto m = messagesOf([&] { EXPECT_EQ(many.init(), 305444); });
    ASSERT_EQ(m.codes, Codes{305444});
    EXPECT_EQ(m.records[0]["i10"], "3");
}

// Each instance keeps its own model and its own loading: nothing one leaves behind
// reaches the other.
TEST(Sorb, TwoInstancesWithDifferentModels) {
    BlockInstance solid = sorb({0}, 2), linear = sorb({1}, 3);
    EXPECT_EQ(solid.init(), 0);
    EXPECT_EQ(linear.init(), 0);
    for (float phi : {0.2f, 0.8f}) {
        solid.step({phi, 25});
        EXPECT_FLOAT_EQ(linear.step({0.5f, 25, 0.1f})[bindingHeat], 600.0f);
        EXPECT_LT(relative(solid.step({phi, 25})[loading], isotherm(phi)), 1e-6);
    }
}

// States without a value (below absolute zero, a mass fraction above 1) change no output.
TEST(Sorb, InputsWithoutAResult) {
    for (const auto& c : {std::pair{0.0f, -274.0f}, std::pair{2.0f, 20.0f}}) {
        BlockInstance b = sorb({c.first}, 3);
        b.OUT.assign(b.OUT.size(), 4.0f);
        EXPECT_EQ(messagesOf([&] { b.init(), b.step({0.5f, c.second, 1.5f}); }).codes, Codes{205442});
        EXPECT_EQ(b.OUT, std::vector<float>(b.OUT.size(), 4.0f));
    }
}
