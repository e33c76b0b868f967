// R134A against published saturation properties of R134a (NIST Chemistry WebBook, from
// the Tillner-Roth and Baehr equation of state, IIR reference state: h' = 200 kJ/kg and
// s' = 1 kJ/(kg K) at 0 degC), typed in here: the saturation correlations, and the vapour
// form at the density of the saturated vapour. Then the ideal-gas limit, and the states
// where the form has no value.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <cmath>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

struct Saturated {
    double t;        // degC
    double p;        // MPa
    double liquid;   // kg/m3
    double vapour;   // kg/m3
    double hl, hv;   // kJ/kg
    double sv;       // kJ/(kg K)
};

constexpr Saturated kNist[] = {
    {-40, 0.051209, 1414.8, 2.7695, 148.14, 374.00, 1.7643},
    {-20, 0.13273, 1358.3, 6.7845, 173.64, 386.55, 1.7413},
    {0, 0.29280, 1294.8, 14.428, 200.00, 398.60, 1.7271},
    {20, 0.57171, 1225.3, 27.780, 227.49, 409.75, 1.7179},
    {40, 1.0166, 1146.7, 50.085, 256.41, 419.43, 1.7111},
    {60, 1.6818, 1052.9, 87.379, 287.50, 426.63, 1.7033},
};

vireo_test::BlockFunction r134a() { return vireo_test::library("VireoST").block("st0043"); }

std::vector<float> at(float t, float rho, std::vector<int>* codes = nullptr) {
    BlockInstance b(r134a(), {.inputs = 2});
    std::vector<float> out;
    const auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0);
        out = b.step({t, rho});
    });
    if (codes != nullptr) {
        *codes = m.codes;
    } else {
        EXPECT_EQ(m.codes, std::vector<int>{}) << t << " " << rho;
    }
    return out;
}

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

}  // namespace

TEST(R134a, SaturationAgainstNist) {
    for (const Saturated& s : kNist) {
        SCOPED_TRACE(s.t);
        const auto out = at(static_cast<float>(s.t), static_cast<float>(s.vapour));
        // The saturation correlations: 0.15 % in pressure, 0.3 % in the liquid's density
        // (0.2 % off at -40 degC), 0.05 kJ/kg in its enthalpy.
        EXPECT_LT(relative(out[4], s.p), 0.0015);
        EXPECT_LT(relative(out[5], s.liquid), 0.003);
        EXPECT_NEAR(out[6], s.hl, 0.05);
        // The vapour form at the saturated vapour's density: within 0.05 % in pressure,
        // 0.05 kJ/kg and 0.002 kJ/(kg K) of the full equation.
        EXPECT_LT(relative(out[0], s.p), 5e-4);
        EXPECT_NEAR(out[1], s.hv, 0.05);
        EXPECT_NEAR(out[2], s.sv, 0.002);
        EXPECT_EQ(out[7] + out[8] + out[9], 0.0f);
    }
}

TEST(R134a, IdealGasLimit) {
    // R = 8.314462 / 0.102032 J/(kg K); at a thousandth of a kg/m3 the residual part is
    // below 1e-5 of the whole.
    const double r = 8.314462 / 0.102032;
    for (float t : {-40.0f, 0.0f, 50.0f, 100.0f}) {
        const auto low = at(t, 1e-3f);
        const double kelvin = t + 273.15;
        EXPECT_LT(relative(low[0] * 1e6, 1e-3 * r * kelvin), 2e-5) << t;
        // The ideal-gas heat capacity is the slope of the ideal-gas enthalpy.
        const auto up = at(t + 0.5f, 1e-3f), down = at(t - 0.5f, 1e-3f);
        EXPECT_LT(relative((up[1] - down[1]) / 1.0, low[3]), 2e-3) << t;
        // And the entropy moves with the logarithm of the density by R.
        const auto denser = at(t, 1e-2f);
        EXPECT_NEAR(low[2] - denser[2], r * std::log(10.0) / 1000.0, 1e-4) << t;
    }
}

TEST(R134a, StatesWithoutAValueReadZeroWithAWarning) {
    struct Case {
        float t, rho;
        std::vector<int> zero;  // outputs that have no value
    };
    const Case cases[] = {
        {20.0f, 0.0f, {0, 1, 2}},
        {20.0f, -5.0f, {0, 1, 2}},
        {-273.15f, 10.0f, {0, 1, 2, 3, 4, 5, 6}},
        {-400.0f, 10.0f, {0, 1, 2, 3, 4, 5, 6}},
        {120.0f, 100.0f, {4, 5, 6}},
        {NAN, 10.0f, {0, 1, 2, 3, 4, 5, 6}},
        {20.0f, NAN, {0, 1, 2}},
        {20.0f, 1e37f, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.t << " degC, " << c.rho << " kg/m3");
        std::vector<int> codes;
        const auto out = at(c.t, c.rho, &codes);
        EXPECT_EQ(codes, std::vector<int>{205430});
        for (float v : out) EXPECT_TRUE(std::isfinite(v));
        for (int i : c.zero) EXPECT_EQ(out[static_cast<std::size_t>(i)], 0.0f) << i;
        if (c.zero.size() == 3 && c.zero[0] == 0) {
            EXPECT_NE(out[4], 0.0f);  // saturation still given
        }
    }
    // No inputs connected: both read 0, so the temperature is 0 degC and the density 0.
    BlockInstance none(r134a(), {.inputs = 0});
    const auto m = messagesOf([&] { none.step(); });
    EXPECT_EQ(m.codes, std::vector<int>{205430});
    EXPECT_NEAR(none.OUT[4], 0.2928f, 1e-3f);
    EXPECT_EQ(none.OUT[0], 0.0f);
}
