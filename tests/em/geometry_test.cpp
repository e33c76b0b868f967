// Surface geometry blocks and the trigonometry in degrees.
#include "block_harness.h"
#include "message_capture.h"
#include "reference_sun.h"
#include "routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace reference;
using vireo_test::BlockInstance;

namespace {

vireo_test::BlockFunction em(const char* routine) { return vireo_test::library("VireoEM").block(routine); }

}  // namespace

TEST(Betgam, SurfaceTurnedAboutAnAxisAgainstVectorGeometry) {
    // Tolerance 0.01 degree for every rotation from 0.01 degree up, about a horizontal
    // axis too, where an arc sine of the published formula works next to +-1.
    // The normal of the surface at rotation 0 lies in the vertical plane of the axis,
    // tilted by the axis tilt towards the axis azimuth (south + deviation); turning it by
    // rho about the axis moves it west for positive rho. Tilt and azimuth of the turned
    // normal, by vectors.
    std::vector<float> rotations{0.01f, 0.05f, 0.1f, 0.5f, 1, 3, 10, 89.99f};
    for (float rho = 5; rho <= 85; rho += 5) rotations.push_back(rho);
    for (float axisTilt : {0.0f, 15.0f, 40.0f, 90.0f})
        for (float deviation : {-60.0f, 0.0f, 25.0f}) {
            BlockInstance b(em("em0037"), {.inputs = 1, .parameters = {axisTilt, deviation}});
            ASSERT_EQ(b.init(), 0);
            for (float magnitude : rotations)
                for (float rho : {magnitude, -magnitude}) {
                    const double g = rad(180 + deviation);
                    const double down = rad(axisTilt), r = rad(rho);
                    // unit vectors (east, north, up) towards the axis azimuth and 90 degrees west of it
                    const double ae = std::sin(g), an = std::cos(g), we = std::sin(g + kPi / 2), wn = std::cos(g + kPi / 2);
                    const double e = std::sin(down) * std::cos(r) * ae + std::sin(r) * we;
                    const double n = std::sin(down) * std::cos(r) * an + std::sin(r) * wn;
                    const double u = std::cos(down) * std::cos(r);
                    const auto out = b.step({rho});
                    EXPECT_NEAR(out[0], deg(std::acos(u)), 0.01) << axisTilt << " " << deviation << " " << rho;
                    EXPECT_NEAR(angleBetween(out[1], deg(std::atan2(e, n))), 0.0, 0.01) << axisTilt << " " << deviation << " " << rho;
                }
        }
}

TEST(Betgam, HorizontalSurfaceAndLimits) {
    BlockInstance flat(em("em0037"), {.inputs = 1, .parameters = {0, 10, 123}});
    flat.init();
    EXPECT_EQ(flat.step({0}), (std::vector<float>{0, 123}));
    BlockInstance omitted(em("em0037"), {.inputs = 1, .parameters = {0, 10}});
    omitted.init();
    EXPECT_EQ(omitted.step({0}), (std::vector<float>{0, 0}));
    const auto turned = omitted.step({30});
    EXPECT_NEAR(turned[0], 30, 1e-4);
    EXPECT_NEAR(turned[1], 280, 0.1);  // 90 + 10 + 180

    BlockInstance both(em("em0037"), {.inputs = 1, .parameters = {95, -91}});
    EXPECT_EQ(vireo_test::messagesOf([&] { both.init(); }).codes, (std::vector<int>{305081, 305258}));
    EXPECT_EQ(both.IP[0], 305081);  // the first error of the call stays
    BlockInstance tilt(em("em0037"), {.inputs = 1, .parameters = {-1, 90}});
    EXPECT_EQ(vireo_test::messagesOf([&] { tilt.init(); }).codes, std::vector<int>{305081});
    BlockInstance nan(em("em0037"), {.inputs = 1, .parameters = {NAN, NAN}});
    EXPECT_EQ(vireo_test::messagesOf([&] { nan.init(); }).codes, (std::vector<int>{305081, 305258}));
}

TEST(Dincli, MonthlyReferenceClimate) {
    const std::vector<float> january{-1.3f, 14, 25, 56, 25, 33}, july{18.0f, 100, 156, 135, 156, 255},
        december{1.3f, 10, 15, 33, 15, 22};
    BlockInstance b(em("em0039"), {.inputs = 1});
    b.init();
    EXPECT_EQ(b.step({7}), july);
    EXPECT_EQ(b.step({12.4f}), december);
    EXPECT_EQ(b.step({0.5f}), january);
    for (float month : {12.5f, 0.4f, -3.0f, NAN, 1e30f}) EXPECT_EQ(b.step({month}), std::vector<float>(6, 0.0f)) << month;
}

TEST(Phi2psi, SineOrCosineInDegreesOrRadians) {
    BlockInstance sine(em("em0041"), {.inputs = 1, .name = "PHI2PSI"});
    EXPECT_EQ(sine.init(), 0);
    EXPECT_EQ(sine.RP, (std::vector<float>{3.1415927f, 6.2831855f, 0.017453292f}));
    EXPECT_NEAR(sine.step({90})[0], 1.0f, 1e-7f);
    EXPECT_NEAR(sine.step({-30})[0], -0.5f, 1e-6f);
    BlockInstance cosine(em("em0041"), {.inputs = 1, .parameters = {0}, .name = "PSI2PHI"});
    cosine.init();
    EXPECT_EQ(cosine.step({0})[0], 1.0f);
    EXPECT_NEAR(cosine.step({120})[0], -0.5f, 1e-6f);
    BlockInstance radians(em("em0041"), {.inputs = 1, .parameters = {1}, .name = "PHI2PSI"});
    radians.init();
    EXPECT_NEAR(radians.step({1.5707964f})[0], 1.0f, 1e-7f);
    for (float unit : {2.0f, -1.0f, 1.5f}) {
        BlockInstance bad(em("em0041"), {.inputs = 1, .parameters = {unit}, .name = "PHI2PSI"});
        EXPECT_EQ(vireo_test::messagesOf([&] { bad.init(); }).codes, std::vector<int>{305006}) << unit;
    }
}

TEST(DegreeTrigonometry, InDegreesWithTheSinglePrecisionFactor) {
    // The factor 57.29578 in single precision is 1.2e-8 (relative) off 180/pi.
    auto one = [](double (*f)(const double*), double x) { return f(&x); };
    EXPECT_NEAR(one(sind, 30), 0.5, 3e-8);
    EXPECT_NEAR(one(cosd, 60), 0.5, 3e-8);
    EXPECT_NEAR(one(tand, 45), 1.0, 3e-8);
    EXPECT_NEAR(one(atand, 1), 45.0, 1e-6);
    EXPECT_NEAR(one(acosd, 0.5), 60.0, 1e-6);
    EXPECT_NEAR(one(asind, -0.5), -30.0, 1e-6);
    // The factor is 57.29578 in single precision, not 180/pi: a few 1e-7 off at 90.
    EXPECT_EQ(one(asind, 1.0), std::asin(1.0) * static_cast<double>(57.29578f));
    EXPECT_EQ(one(sind, 90.0), std::sin(90.0 / static_cast<double>(57.29578f)));
    const double y = 1, x = -1;
    EXPECT_NEAR(atan2d(&y, &x), 135.0, 1e-5);
    // Arguments a rounding step outside [-1, 1] give the limits, not NaN.
    EXPECT_EQ(one(acosd, 1.0000001), 0.0);
    EXPECT_NEAR(one(asind, -1.0000001), -90.0, 1e-5);
}
