// Row shading and optimum orientation against closed forms written here: the tilt facing
// the sun most directly, the largest unshaded tilt of a row, and the ideal rotation of a
// one-axis tracker (Marion and Dobos, Rotation Angle for the Optimum Tracking of One-Axis
// Trackers, NREL/TP-6A20-58891, 2013, eq. 7 with its quadrant rule) with the surface it
// gives, by vectors.
#include "block_harness.h"
#include "message_capture.h"
#include "reference_sun.h"
#include "routines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace reference;
using vireo_test::BlockInstance;
using Codes = std::vector<int>;

namespace {

BlockInstance block(const char* routine, const vireo_test::Placement& placement) {
    return BlockInstance(vireo_test::library("VireoEM").block(routine), placement);
}

Codes initCodes(const char* routine, const vireo_test::Placement& placement) {
    BlockInstance b = block(routine, placement);
    return vireo_test::messagesOf([&] { b.init(); }).codes;
}

}  // namespace

TEST(Betaopt, TiltFacingTheSunMostDirectly) {
    // Within 0.01 degree: the search stops at 1e-4 rad (0.006 degree).
    BlockInstance b = block("em0032", {.inputs = 2});
    ASSERT_EQ(b.init(), 0);
    for (float psi = -170; psi <= 170; psi += 17)
        for (float alpha = 1; alpha < 90; alpha += 8) {
            const double expected = std::clamp(deg(std::atan(std::cos(rad(psi)) / std::tan(rad(alpha)))), 0.0, 90.0);
            ASSERT_NEAR(b.step({psi, alpha})[0], expected, 0.01) << psi << " " << alpha;
        }
    for (float alpha : {0.0f, -5.0f, NAN}) EXPECT_EQ(b.step({20, alpha})[0], 0.0f) << alpha;
}

TEST(Betamax, LargestTiltWithoutShadingAgainstTheClosedForm) {
    // The shadow of a row of width L and tilt b reaches L (cos b + k sin b) behind it,
    // k = cos psi' cot alpha / sqrt(1 + sin^2 psi' tan^2 phi): it reaches the next row at
    // distance D first at b = atan k - acos(D / (L sqrt(1 + k^2))). Within 0.01 degree.
    for (const auto& [d, l, phi] : {std::tuple{5.0f, 2.0f, 0.0f}, {3.0f, 2.0f, 20.0f}, {10.0f, 1.0f, 45.0f}}) {
        BlockInstance b = block("em0031", {.inputs = 2, .parameters = {d, l, phi}, .name = "BETAMAX"});
        ASSERT_EQ(b.init(), 0);
        int shaded = 0, free = 0;
        for (float psi = -80; psi <= 80; psi += 10)
            for (float alpha = 2; alpha < 80; alpha += 6) {
                const double k = std::cos(rad(psi)) / std::tan(rad(alpha)) /
                                 std::hypot(1.0, std::sin(rad(psi)) * std::tan(rad(phi)));
                const double ratio = d / (l * std::hypot(1.0, k));
                const double out = b.step({psi, alpha})[0];
                if (ratio < 0.999) {  // away from the tangent, where the two ends meet
                    ASSERT_NEAR(out, deg(std::atan(k) - std::acos(ratio)), 0.01) << psi << " " << alpha;
                    ++shaded;
                } else if (ratio > 1.001) {
                    ASSERT_EQ(out, 90.0f) << psi << " " << alpha;  // no tilt shades
                    ++free;
                }
            }
        EXPECT_GT(shaded, 5);
        EXPECT_GT(free, 5);
        EXPECT_EQ(b.step({0, -1})[0], 0.0f);               // the sun below the horizon
        EXPECT_NEAR(b.step({0, 0})[0], 0.0f, 0.01f);       // at the horizon every tilt shades
    }
}

TEST(Shadf, UnshadedFraction) {
    BlockInstance b = block("em0031", {.inputs = 3, .parameters = {4, 2}, .name = "SHADF"});
    ASSERT_EQ(b.init(), 0);
    // The shadow of the tilted row reaches L (cos b + cos psi' sin b cot alpha) behind it.
    EXPECT_NEAR(b.step({0, 20, 60})[0], 4 / (2 * (std::cos(rad(60)) + std::sin(rad(60)) / std::tan(rad(20)))), 1e-5);
    EXPECT_EQ(b.step({0, 40, 60})[0], 1.0f);
    for (float psi = -85; psi <= 85; psi += 5)
        for (float alpha = 0; alpha < 90; alpha += 3)
            for (float tilt : {-10.0f, 20.0f, 45.0f, 90.0f, 120.0f}) {
                const float f = b.step({psi, alpha, tilt})[0];
                ASSERT_TRUE(f > 0.0f && f <= 1.0f) << psi << " " << alpha << " " << tilt << ": " << f;
            }
    for (const auto& in : {std::vector<float>{89.5f, 10, 45}, {-90, 10, 45}, {0, -3, 45}, {NAN, 10, 45}})
        EXPECT_EQ(b.step(in)[0], 1.0f);
}

TEST(RowShadingAndOrientation, InitialisationChecks) {
    EXPECT_EQ(initCodes("em0031", {.inputs = 2, .parameters = {2, 2}, .name = "BETAMAX"}), Codes{305255});
    // The table's rule (the frame checks it before the block's own init); the pair is asked
    // only of values that keep the table's rules.
    EXPECT_EQ(initCodes("em0031", {.inputs = 2, .parameters = {1, -1, -1}, .name = "SHADF"}),
              (Codes{305259, 305132}));
    EXPECT_EQ(initCodes("em0031", {.inputs = 3, .parameters = {4, 2, 90}, .name = "SHADF"}), Codes{});
    BlockInstance limits = block("em0038", {.inputs = 2, .parameters = {10, 0, 0, 5, -5}});
    EXPECT_EQ(vireo_test::messagesOf([&] { limits.init(); }).codes, (Codes{305319, 305319}));
    EXPECT_EQ(limits.RP, (std::vector<float>{0, 0}));
}

TEST(Phiopt, IdealRotationOfAOneAxisTracker) {
    // Tolerance 0.01 degree: the search narrows the rotation to 1e-5 rad, and the surface
    // given is that of its last trial angle.
    for (float axisTilt : {0.0f, 20.0f, 45.0f})
        for (float offset : {0.0f, 15.0f}) {
            BlockInstance b = block("em0038", {.inputs = 2, .parameters = {axisTilt, offset, 77}});
            ASSERT_EQ(b.init(), 0);
            const double axisAzimuth = rad(180 + offset), bt = rad(axisTilt);
            const double ae = std::sin(axisAzimuth), an = std::cos(axisAzimuth);
            int compared = 0;
            for (float azimuth = 60; azimuth <= 300; azimuth += 12)
                for (float elevation = 3; elevation < 88; elevation += 9) {
                    const double z = rad(90 - elevation), d = rad(azimuth) - axisAzimuth;
                    const double ideal = deg(std::atan2(std::sin(z) * std::sin(d),
                                                        std::sin(z) * std::cos(d) * std::sin(bt) + std::cos(z) * std::cos(bt)));
                    if (std::fabs(ideal) > 89) continue;
                    const auto out = b.step({azimuth, elevation});
                    ASSERT_NEAR(out[0], ideal, 0.01) << axisTilt << " " << offset << " " << azimuth << " " << elevation;
                    // The axis's own facing turned about the axis, clockwise from above
                    // for a positive rotation (east, north, up).
                    const double r = rad(ideal);
                    const double e = std::sin(bt) * std::cos(r) * ae + std::sin(r) * an;
                    const double n = std::sin(bt) * std::cos(r) * an - std::sin(r) * ae;
                    ASSERT_NEAR(out[1], deg(std::acos(std::cos(bt) * std::cos(r))), 0.01);
                    if (std::hypot(e, n) > 1e-3) {
                        ASSERT_NEAR(angleBetween(out[2], deg(std::atan2(e, n))), 0.0, 0.01);
                    }
                    ++compared;
                }
            EXPECT_GT(compared, 100);
            const float azimuthBefore = b.OUT[2];
            EXPECT_EQ(b.step({200, -2}), (std::vector<float>{0, 0, azimuthBefore}));  // the sun below the horizon
        }
    // Limits narrow the search; a horizontal surface takes the azimuth given for it.
    BlockInstance limited = block("em0038", {.inputs = 2, .parameters = {0, 0, 77, -30, 10}});
    ASSERT_EQ(limited.init(), 0);
    EXPECT_NEAR(limited.step({90, 20})[0], -30, 0.01);
    EXPECT_NEAR(limited.step({270, 20})[0], 10, 0.01);
    const float phi = 0, psi = 1, alpha = 1.5f, axis = 0, dgamma = 0, gamma0 = 1.25f;
    float beff = -1, gamma = -1;
    EXPECT_NEAR(fem0038(&phi, &psi, &alpha, &axis, &dgamma, &gamma0, &beff, &gamma), 0.5f * 3.1415927f - alpha, 1e-6f);
    EXPECT_EQ(beff, 0.0f);
    EXPECT_EQ(gamma, gamma0);
    // BETAOPT's residual over its area (sin alpha, cos alpha, cos psi'), whose sine and
    // cosine in single precision need not lie on the unit circle: no NaN facing the sun.
    cem0032[0] = 0.5f, cem0032[1] = 0.8660255f, cem0032[2] = 1;
    const float facing = 1.0471976f;
    EXPECT_NEAR(fem0032(&facing), 0.0f, 1e-6f);
}

TEST(Phiopt, UnsettledSearchesAreWarnedOnceAndCountedAtTheEnd) {
    // Limits far beyond a turn leave the interval wider than the tolerance after 100 thirds.
    BlockInstance b = block("em0038", {.inputs = 2, .parameters = {10, 0, 0, -1e20f, 0}});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(vireo_test::messagesOf([&] { b.step({180, 30}); }).codes, Codes{205098});
    EXPECT_EQ(b.IP[0], 205098);  // a warning the engine counts
    EXPECT_EQ(vireo_test::messagesOf([&] { b.step({180, 30}); b.step({190, 30}); }).codes, Codes{});
    for (float v : b.OUT) EXPECT_TRUE(std::isfinite(v));
    const auto count = [&] {
        const auto m = vireo_test::messagesOf([&] { b.last(); });
        return m.codes == Codes{205097} ? m.records[0]["i8"] : m.codes.empty() ? "none" : "?";
    };
    EXPECT_EQ(count(), "3");
    EXPECT_EQ(count(), "none");  // a second end-of-run pass reports only what came since
    b.step({180, 30});
    EXPECT_EQ(count(), "1");
}
