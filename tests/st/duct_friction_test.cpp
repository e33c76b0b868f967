// Duct friction (DPTUBE, DPCH) against the Colebrook-White equation solved here in double
// precision, the explicit friction laws of Haaland (1983) and of Swamee and Jain (1976)
// and the Hagen-Poiseuille law; the exported residual and its data from outside the
// library; the flaps; the duct diameters (DHYD, DSTAR) against Huebscher's equivalent
// diameter (ASHRAE Handbook - Fundamentals, duct design); the Grashof number.
#include "duct_blocks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using duct_test::density;
using duct_test::Placed;
using duct_test::viscosity;

namespace {

double relative(double a, double b) { return std::fabs(a / b - 1.0); }

// 1/sqrt(lambda) = -2 log10(k/(3.71 d) + 2.51/(Re sqrt(lambda))), by fixed-point iteration
// on 1/sqrt(lambda), which contracts for every turbulent Reynolds number.
double colebrook(double re, double relativeRoughness) {
    double x = 8.0;
    for (int k = 0; k < 200; ++k) x = -2.0 * std::log10(relativeRoughness / 3.71 + 2.51 * x / re);
    return 1.0 / (x * x);
}

struct FrictionFlow {  // as the library exports it
    float hydraulicDiameter, roughness, reynolds;
};

}  // namespace

TEST(DuctFriction, TurbulentTubeAgainstColebrookWhiteAndExplicitLaws) {
    const float d = 0.2f, roughnessMm = 0.15f, t = 20.0f;
    Placed tube("st0007", "DPTUBE", 2, {d, 10.0f, roughnessMm});
    const double nu = viscosity(t);
    int explicitChecked = 0;
    for (float flow : {40.0f, 100.0f, 400.0f, 2000.0f, 10000.0f, 50000.0f}) {
        SCOPED_TRACE(flow);
        const auto out = tube.step({flow, t});
        const double v = duct_test::velocity(flow, d), re = v * d / nu, k = roughnessMm / 1000.0 / d;
        ASSERT_GE(re, 2300.0);
        // Within the root search's tolerance of 1e-5.
        EXPECT_NEAR(out[2], colebrook(re, k), 1e-5);
        EXPECT_LT(relative(out[0], out[2] * 10.0 / d * density(t) * v * v / 2.0), 1e-5);
        EXPECT_EQ(tube.step({-flow, t}), out);
        if (re < 5000.0) continue;
        ++explicitChecked;
        // Haaland states 1.5 per cent; Swamee and Jain's form stays within 3 per cent over
        // its range (Reynolds numbers 5000 to 1e8, k/d 1e-6 to 0.01).
        const double haaland = std::pow(-1.8 * std::log10(std::pow(k / 3.7, 1.11) + 6.9 / re), -2.0);
        const double swameeJain = 0.25 / std::pow(std::log10(k / 3.7 + 5.74 / std::pow(re, 0.9)), 2.0);
        EXPECT_LT(relative(out[2], haaland), 0.015);
        EXPECT_LT(relative(out[2], swameeJain), 0.03);
    }
    EXPECT_GE(explicitChecked, 4);
    // No flow: no drop and no velocity; friction factor and flap coefficient stay.
    const auto last = tube.b.OUT;
    EXPECT_EQ(tube.step({0.0f, t}), (std::vector<float>{0.0f, 0.0f, last[2], last[3]}));
}

// Below Reynolds number 2300, 64/Re: the drop is Hagen-Poiseuille's 32 mu L v / d^2, here
// with mu = nu rho as the block takes them. Colebrook-White would give a share of it, and
// no friction factor at all below Re of about 8.
TEST(DuctFriction, LaminarFlowFollowsHagenPoiseuille) {
    const float d = 0.05f, length = 3.0f, t = 30.0f;
    Placed tube("st0007", "DPTUBE", 2, {d, length, 0.1f});
    for (float flow : {0.001f, 0.1f, 1.0f, 5.0f}) {
        const auto out = tube.step({flow, t});
        const double v = duct_test::velocity(flow, d), re = v * d / viscosity(t);
        ASSERT_LT(re, 2300.0);
        EXPECT_LT(relative(out[2], 64.0 / re), 1e-5) << flow;
        EXPECT_LT(relative(out[0], 32.0 * viscosity(t) * density(t) * length * v / (d * d)), 1e-5) << flow;
    }
}

TEST(DuctFriction, ChannelHydraulicDiameterAndSmoothWall) {
    const float a = 0.4f, b = 0.2f, t = 20.0f;
    Placed channel("st0007", "DPCH", 2, {a, b, 5.0f});  // roughness left out: a smooth wall
    const auto out = channel.step({3000.0f, t});
    const double dh = 2.0 * a * b / (a + b), v = 3000.0 / 3600.0 / (a * b), re = v * dh / viscosity(t);
    EXPECT_NEAR(out[1], v, 1e-5);
    EXPECT_NEAR(out[2], colebrook(re, 0.0), 1e-5);
    EXPECT_LT(relative(out[0], out[2] * 5.0 / dh * density(t) * v * v / 2.0), 1e-5);

    // The residual and its data, as an outside caller reaches them: the step left its
    // flow there, and fofl is the equation's residual at any friction factor.
    using Residual = float (*)(const float*);
    const auto& st = vireo_test::library("VireoST");
    auto* flow = static_cast<FrictionFlow*>(st.symbol("cst0007"));
    const auto fofl = reinterpret_cast<Residual>(st.symbol("fofl"));
    ASSERT_NE(flow, nullptr);
    ASSERT_NE(fofl, nullptr);
    EXPECT_FLOAT_EQ(flow->hydraulicDiameter, static_cast<float>(dh));
    EXPECT_EQ(flow->roughness, 0.0f);
    EXPECT_LT(relative(flow->reynolds, re), 1e-6);
    *flow = {0.1f, 1e-4f, 1e5f};
    for (float lambda : {0.01f, 0.02f, 0.05f}) {
        const double root = std::sqrt(lambda);
        const double expected = -2.0 * std::log10(2.51 / (1e5 * root) + 1e-4 / (3.71 * 0.1)) - 1.0 / root;
        EXPECT_NEAR(fofl(&lambda), expected, 1e-5) << lambda;
    }
    const float zero = 0.0f, root = static_cast<float>(colebrook(1e5, 1e-3));
    EXPECT_EQ(fofl(&zero), -std::numeric_limits<float>::max());
    EXPECT_NEAR(fofl(&root), 0.0f, 1e-4f);
}

TEST(DuctFriction, Flaps) {
    const float t = 20.0f;
    Placed plain("st0007", "DPTUBE", 2, {0.2f, 10.0f, 0.15f});
    const float friction = plain.step({1000.0f, t})[0];
    const double dynamic = density(t) * std::pow(duct_test::velocity(1000.0, 0.2), 2) / 2.0;
    Placed tube("st0007", "DPTUBE", 3, {0.2f, 10.0f, 0.15f, 1.0f});
    // The published examples at 40 and 42 degrees, the table's own points and its ends (closed).
    const std::pair<float, float> cases[] = {{40.0f, 10.8f}, {42.0f, 15.24f}, {0.0f, 0.17f}, {70.0f, 751.0f},
                                             {89.99f, 1999.38f}, {90.0f, 2000.0f}, {95.0f, 2000.0f},
                                             {-1.0f, 2000.0f}, {NAN, 2000.0f}};
    for (const auto& [angle, zeta] : cases) {
        const auto out = tube.step({1000.0f, t, angle});
        EXPECT_NEAR(out[3], zeta, 1e-5 * zeta) << angle;
        EXPECT_LT(relative(out[0] - friction, out[3] * dynamic), 1e-4) << angle;
    }
    // The channel's tables: type 1 its own, types 2 and 3 the ten-point one.
    const float types[][3] = {{1, 40.0f, 9.3f}, {1, 55.0f, 51.0f}, {2, 40.0f, 4.5f}, {3, 85.0f, 1072.5f}};
    for (const auto& [type, angle, zeta] : types) {
        Placed channel("st0007", "DPCH", 3, {0.4f, 0.2f, 5.0f, 0.1f, type});
        EXPECT_NEAR(channel.step({1000.0f, t, angle})[3], zeta, 1e-5 * zeta) << type << " " << angle;
    }
}

// Colebrook-White has no root in [0.001, 1] for a wall rougher than about the diameter:
// the step says so and keeps the outputs of the last step that had a friction factor.
TEST(DuctFriction, AFailedSearchKeepsTheLastOutputs) {
    Placed rough("st0007", "DPTUBE", 2, {0.2f, 10.0f, 300.0f});
    const auto laminar = rough.step({1.0f, 20.0f});
    const auto m = vireo_test::messagesOf([&] { EXPECT_EQ(rough.b.step({5000.0f, 20.0f}), laminar); });
    ASSERT_EQ(m.codes, std::vector<int>{305210});
    EXPECT_EQ(m.records[0]["r1"], "1.5");  // k/d
}

// Huebscher: De = 1.30 (ab)^0.625 / (a + b)^0.25.
TEST(DuctDiameters, HydraulicAndEquivalent) {
    EXPECT_FLOAT_EQ(Placed("st0016", "DHYD", 0, {0.3f, 0.2f}).step({})[0], 0.24f);
    EXPECT_FLOAT_EQ(Placed("st0016", "DHYD", 0, {0.25f, 0.25f}).step({})[0], 0.25f);
    EXPECT_FLOAT_EQ(Placed("st0016", "DSTAR", 0, {1.0f, 1.0f}).step({})[0], 1.27f * std::pow(0.5f, 0.2f));
    for (float ratio : {1.0f, 1.5f, 2.0f, 3.0f, 4.0f}) {
        const float b = 0.3f, a = b * ratio;
        const double huebscher = 1.30 * std::pow(a * b, 0.625) / std::pow(a + b, 0.25);
        EXPECT_LT(relative(Placed("st0016", "DSTAR", 0, {a, b}).step({})[0], huebscher), ratio <= 3 ? 0.02 : 0.025);
    }
    EXPECT_EQ(Placed("st0016", "DSTAR", 0, {0.1f, 0.6f}).init.codes, std::vector<int>{205209});  // 1:6
}

TEST(Grashof, SignScalingAndAbsoluteZero) {
    // g beta (Ts - Tf) x^3 / nu^2, beta = 1/Tf in kelvin.
    const double nu = viscosity(20.0f);
    const float gr = Placed("st0033", "GR", 3, {}).step({20.0f, 60.0f, 0.5f})[0];
    EXPECT_LT(relative(gr, 9.81 / 293.15 * 40.0 * 0.125 / (nu * nu)), 1e-6);
    EXPECT_LT(relative(Placed("st0033", "GR", 3, {}).step({20.0f, 60.0f, 1.0f})[0], 8.0 * gr), 1e-6);
    EXPECT_LT(relative(Placed("st0033", "GR", 3, {}).step({20.0f, -20.0f, 0.5f})[0], -gr), 1e-6);
    EXPECT_EQ(Placed("st0033", "GR", 3, {}).step({20.0f, 20.0f, 0.5f})[0], 0.0f);
    // At or below absolute zero there is no gas to expand, and nothing undefined to pass on.
    for (float air : {-273.15f, -300.0f, NAN, -std::numeric_limits<float>::infinity()})
        EXPECT_EQ(Placed("st0033", "GR", 3, {}).step({air, 20.0f, 0.5f})[0], 0.0f) << air;
    EXPECT_EQ(Placed("st0033", "GR", 3, {}).step({20.0f, 60.0f, 1e30f})[0], std::numeric_limits<float>::max());
}
