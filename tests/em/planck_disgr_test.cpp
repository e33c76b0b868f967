// PLANCK against the Stefan-Boltzmann law and its own limits, DISGR against its moments,
// both by numerical integration here.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using vireo_test::BlockInstance;
using Codes = std::vector<int>;

namespace {

BlockInstance block(const char* routine, int inputs, const std::vector<float>& parameters) {
    return BlockInstance(vireo_test::library("VireoEM").block(routine), {.inputs = inputs, .parameters = parameters});
}

// The block's constants: Planck's and Boltzmann's of the older recommended values (1.6e-5
// and 8e-6 above CODATA 2018, so that sigma = 2 pi^5 k^4 / (15 h^3 c^2) is 1.6e-5 below
// today's 5.670374e-8); c and q as the block rounds them to single precision.
constexpr double kH = 6.626176e-34, kK = 1.38066e-23, kC = 299792448.0, kQ = 1.602177e-19;
constexpr double kPi = 3.14159265358979323846, kC2 = kH * kC / kK * 1e6;  // micrometre kelvin

}  // namespace

TEST(Planck, AgainstStefanBoltzmannAndItsApproximations) {
    BlockInstance b = block("em0001", 2, {0});
    ASSERT_EQ(b.init(), 0);
    const double sigma = 2 * std::pow(kPi, 5) * std::pow(kK, 4) / (15 * std::pow(kH, 3) * kC * kC);
    for (float t : {300.0f, 1000.0f, 5800.0f}) {
        // Trapezoids in ln(lambda) from h nu / k T = 40 down to 0.005: what is left out is
        // below 1e-8 of the whole; tolerance 1e-3.
        const double lo = std::log(kC2 / (40 * t)), hi = std::log(kC2 / (0.005 * t));
        const int n = 4000;
        double sum = 0;
        for (int i = 0; i <= n; ++i) {
            const double lambda = std::exp(lo + (hi - lo) * i / n);
            const auto out = b.step({static_cast<float>(lambda), t});
            sum += (i == 0 || i == n ? 0.5 : 1.0) * out[0] * lambda;
            if (out[0] > 0) {  // Wien below, Rayleigh-Jeans above
                ASSERT_TRUE(out[1] <= out[0] && out[0] <= out[2]) << lambda << " " << t;
            }
        }
        EXPECT_NEAR(sum * (hi - lo) / n / (sigma * std::pow(t, 4)), 1.0, 1e-3) << t;
        // Wien meets Planck at short waves (x = 20), Rayleigh-Jeans at long ones (x = 0.002:
        // x / (e^x - 1) = 1 - x/2).
        const auto shortWave = b.step({static_cast<float>(kC2 / (20 * t)), t});
        EXPECT_NEAR(shortWave[1] / shortWave[0], 1.0, 1e-6);
        EXPECT_NEAR(b.RP[0] / std::expm1(20.0), 1.0, 1e-4);  // e^x - 1 and e^x kept
        EXPECT_NEAR(b.RP[1] / std::exp(20.0), 1.0, 1e-4);
        const auto longWave = b.step({static_cast<float>(kC2 / (0.002 * t)), t});
        EXPECT_NEAR(longWave[2] / longWave[0], 1.0, 1.5e-3);
    }
    EXPECT_NEAR(b.step({10, 300})[0], 31.2, 0.05);  // the peak of the earth's own radiation
}

TEST(Planck, PerPhotonEnergyIsPerWavelengthAfterTheChangeOfVariable) {
    // B_E dE = B_lambda dlambda with lambda = h c / E: B_E = B_lambda h c / E^2, here per
    // eV and per micrometre. Tolerance 1e-4: the wavelength enters in single precision.
    BlockInstance perWavelength = block("em0001", 2, {0}), perEnergy = block("em0001", 2, {1});
    ASSERT_EQ(perWavelength.init() + perEnergy.init(), 0);
    for (float t : {300.0f, 5800.0f})
        for (float e = 0.05f; e < 8; e *= 1.5f) {
            const double joules = kQ * e;
            const auto l = perWavelength.step({static_cast<float>(kH * kC / joules * 1e6), t});
            const auto p = perEnergy.step({e, t});
            for (int i = 0; i < 3; ++i) {
                if (l[i] == 0) {
                    EXPECT_EQ(p[i], 0.0f);
                } else {
                    EXPECT_NEAR(p[i] / (l[i] * 1e6 * kH * kC / (joules * joules) * kQ), 1.0, 1e-4) << i << " " << e << " " << t;
                }
            }
        }
}

TEST(Planck, EdgesGiveNumbers) {
    BlockInstance b = block("em0001", 2, {}), photons = block("em0001", 2, {1});
    ASSERT_EQ(b.init() + photons.init(), 0);
    for (float t : {0.0f, -5.0f, NAN}) EXPECT_EQ(b.step({10, t}), (std::vector<float>{0, 0, 0})) << t;
    const auto cold = b.step({0.5f, 300});  // h nu / k T = 96
    EXPECT_TRUE(cold[0] == 0 && cold[1] == 0 && cold[2] > 0);
    // A wavelength not above 0 is 0.01 micrometres, whose fifth power would fall
    // denormal in single precision; 100 eV has a frequency whose cube would overflow it.
    EXPECT_NEAR(b.step({0, 1e6f})[0] / (2 * kPi * kH * kC * kC / std::pow(1e-8, 5) / std::expm1(kC2 / (0.01 * 1e6)) / 1e6), 1.0, 1e-5);
    const double nu = kQ * 100 / kH;
    EXPECT_NEAR(photons.step({100, 1e7f})[0] / (2 * kPi * kQ * std::pow(nu, 3) / (kC * kC) / std::expm1(kQ * 100 / (kK * 1e7))), 1.0, 1e-5);
    for (float e : {0.0f, -2.0f}) EXPECT_EQ(photons.step({e, 5000}), (std::vector<float>{0, 0, 0})) << e;
    for (float form : {2.0f, -1.0f}) {
        BlockInstance bad = block("em0001", 2, {form});
        EXPECT_EQ(vireo_test::messagesOf([&] { bad.init(); }).codes, Codes{305011}) << form;
    }
}

TEST(Disgr, DensityHasIntegralOneMeanOneAndTheVariance) {
    // x = b t^4 smooths the x^a of a negative shape; Simpson's rule over t with 2000
    // intervals; tolerance 1e-4 for a density computed in single precision. Odd cases
    // take the variance from the parameter, even ones from input 2.
    const float variances[] = {0.01f, 0.05f, 0.2f, 0.5f, 0.7f, 1.0f};
    for (int k = 0; k < 6; ++k) {
        const float v = variances[k];
        const bool fromInput = k % 2 == 1;
        BlockInstance b = block("em0023", fromInput ? 2 : 1, {fromInput ? 0.0f : v});
        ASSERT_EQ(b.init(), 0) << v;
        const auto f = [&](double x) {
            return fromInput ? b.step({static_cast<float>(x), v})[0] : b.step({static_cast<float>(x)})[0];
        };
        f(1);
        const double end = b.RP[1];
        double moments[3] = {0, 0, 0};
        for (int i = 0; i <= 2000; ++i) {
            const double t = i / 2000.0, x = end * std::pow(t, 4);
            const double w = (i == 0 || i == 2000 ? 1 : (i % 2 ? 4 : 2)) * end * 4 * std::pow(t, 3) / 6000.0 * f(x);
            moments[0] += w;
            moments[1] += w * x;
            moments[2] += w * (x - 1) * (x - 1);
        }
        EXPECT_NEAR(moments[0], 1.0, 1e-4) << v;
        EXPECT_NEAR(moments[1], 1.0, 1e-4) << v;
        EXPECT_NEAR(moments[2], v, 1e-4) << v;
    }
    BlockInstance b = block("em0023", 1, {0.2f, 7});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.RP, (std::vector<float>{1, 2, 1.5f}));
    EXPECT_FLOAT_EQ(b.step({1})[0], 0.75f);
    for (float x : {0.0f, 2.0f, 2.5f, -1.0f, NAN}) EXPECT_EQ(b.step({x})[0], 0.0f) << x;
}

TEST(Disgr, EdgesGiveNumbers) {
    BlockInstance zero = block("em0023", 1, {0});
    EXPECT_EQ(vireo_test::messagesOf([&] { zero.init(); }).codes, Codes{305182});
    EXPECT_EQ(zero.IP[0], 305182);  // counted: the run does not start on a NaN density
    EXPECT_EQ(zero.step({1})[0], 0.0f);
    // With the variance from the input the parameter is not checked; a variance input
    // not above 0 gives 0.
    BlockInstance fed = block("em0023", 2, {-1});
    EXPECT_EQ(vireo_test::messagesOf([&] { fed.init(); }).codes, Codes{});
    for (float v : {0.0f, -0.3f, NAN}) EXPECT_EQ(fed.step({1, v})[0], 0.0f) << v;
    // A negative shape (v above 0.5) would be infinite at 0; a shape of 0 gives C there.
    EXPECT_EQ(fed.step({0, 1})[0], 0.0f);
    EXPECT_GT(fed.step({1e-30f, 1})[0], 1e6f);
    EXPECT_NEAR(fed.step({0, 0.5f})[0], 2.0f / 3.0f, 1e-6f);
}
