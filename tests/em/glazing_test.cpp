// GTLOSS and its glazing optics: models 0 to 2 against pvlib's modifiers (data/iam.csv,
// whose header says how they were made), the absorbing stack against a glass slab in
// air, the film stack against the quarter-wave rule, the sky radiance against the CIE
// standard general sky, and the block's passes, integration and checks.
#include "block_harness.h"
#include "message_capture.h"
#include "reference_optics.h"
#include "routines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using vireo_test::BlockInstance;
using Codes = std::vector<int>;

namespace {

constexpr double kDeg = reference::kPiOptics / 180.0;

BlockInstance gtloss(const std::vector<float>& parameters, int inputCount) {
    return BlockInstance(vireo_test::library("VireoEM").block("em0004"), {.inputs = inputCount, .parameters = parameters});
}

// The ten inputs every model reads, then the optical ones.
struct Scene {
    float global = 0, beam = 0, diffuse = 0, ground = 0;
    float tilt = 30, surfaceAzimuth = 180, sunAzimuth = 180, sunElevation = 40, incidence = 0, soiling = 0;
};
std::vector<float> inputs(const Scene& s, const std::vector<float>& optical = {}) {
    std::vector<float> v{s.global, s.beam, s.diffuse, s.ground, s.tilt, s.surfaceAzimuth, s.sunAzimuth,
                         s.sunElevation, s.incidence, s.soiling};
    v.insert(v.end(), optical.begin(), optical.end());
    return v;
}

double ashraeModifier(double b0, double degrees) { return std::max(0.0, 1.0 - b0 * (1.0 / std::cos(degrees * kDeg) - 1.0)); }
double soilingFactor(double s, double degrees) { return std::max(0.0, 1.0 - s * (0.5 + 0.5 / std::cos(degrees * kDeg))); }

}  // namespace

TEST(Gtloss, ModifiersAgainstTheIndependentReference) {
    // Tolerance 1e-5, the block's single precision; the stack models are ratios to 1e-4
    // rad, whose reflectance differs from normal incidence's by 1e-9.
    BlockInstance sjerps = gtloss({0, 0}, 11), ashrae = gtloss({1, 0, 0.05f}, 10), pane = gtloss({2, 0, 0, 0.002f, 0, 0}, 16);
    for (auto* b : {&sjerps, &ashrae, &pane}) ASSERT_EQ(b->init(), 0);
    const auto beam = [](BlockInstance& b, float aoi, const std::vector<float>& optical) {
        return b.step(inputs({.global = 1, .beam = 1, .incidence = aoi}, optical))[1];
    };
    std::ifstream in(EM_TEST_DATA "/iam.csv");
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'a') continue;  // comments and the column names
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream fields(line);
        double aoi, fresnel, absorbing, ashraeRef;  // n 1.526; extinction 4, thickness 0.002; b0 0.05
        fields >> aoi >> fresnel >> absorbing >> ashraeRef;
        const auto a = static_cast<float>(aoi);
        EXPECT_NEAR(beam(sjerps, a, {1.526f}), fresnel, 1e-5) << aoi;
        EXPECT_NEAR(beam(ashrae, a, {}), ashraeRef, 1e-5) << aoi;
        // Media 2 to 4 matched to medium 1 and layer 2 clear: one absorbing pane; without
        // absorption, model 0.
        EXPECT_NEAR(beam(pane, a, {1.526f, 1.526f, 1.526f, 1.526f, 4, 0}), absorbing, 1e-5) << aoi;
        EXPECT_NEAR(beam(pane, a, {1.526f, 1.526f, 1.526f, 1.526f, 0, 0}), fresnel, 1e-5) << aoi;
        ++rows;
    }
    EXPECT_EQ(rows, 90);
}

TEST(GlazingOptics, StacksAgainstTheirClosedForms) {
    // Absorbing layer 1, clear layers 2 and 3 of the same glass, air behind: a slab in
    // air with its multiple reflections. Tolerance 1e-5, single precision.
    const float slab[5] = {1, 1.526f, 1.526f, 1.526f, 1}, thickn[3] = {0.004f, 0.001f, 0.001f};
    for (float k : {0.0f, 4.0f, 30.0f}) {
        const float alpha[3] = {k, 0, 0};
        for (int deg = 0; deg < 90; deg += 3) {
            const auto theta = static_cast<float>(deg * kDeg);
            float t = 0;
            krauter(&theta, slab, alpha, thickn, &t);
            EXPECT_NEAR(t, reference::slabInAir(deg * kDeg, 1.526, k, 0.004), 1e-5) << k << " " << deg;
        }
    }
    // A quarter-wave film between media 2 and 4 (n3 = sqrt(n2 n4), d = lambda / 4 n3)
    // reflects nothing at normal incidence; with n3 = n2 it vanishes at every angle.
    const double n3 = std::sqrt(1.6 * 2.4);
    const float n[5] = {1, 1.52f, 1.6f, static_cast<float>(n3), 2.4f}, same[5] = {1, 1.52f, 1.6f, 1.6f, 2.4f};
    const float lambda = 0.55f, quarter = static_cast<float>(0.55 / (4 * n3)), normal = 0;
    float t = 0;
    lanzer(&normal, n, &lambda, &quarter, &t);
    EXPECT_NEAR(t, 1 - reference::incoherent(reference::fresnel(0, 1, 1.52).mean(), reference::fresnel(0, 1.52, 1.6).mean()), 2e-6);
    for (float d : {0.1f, 0.37f}) {
        const float theta = 0.7f;
        lanzer(&theta, same, &lambda, &d, &t);
        EXPECT_NEAR(t, 1 - reference::incoherent(reference::fresnel(0.7, 1, 1.52).mean(),
                                                 reference::incoherent(reference::fresnel(reference::refracted(0.7, 1, 1.52), 1.52, 1.6).mean(),
                                                                       reference::fresnel(reference::refracted(0.7, 1, 1.6), 1.6, 2.4).mean())),
                    2e-6) << d;
    }
}

TEST(GlazingOptics, ReflectancesAndTransmittancesStayWithinZeroAndOne) {
    // Indices from 0.5 (total reflection inside the stack) to 3, angles up to grazing.
    unsigned seed = 12345;
    const auto uniform = [&seed](float lo, float hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + (hi - lo) * static_cast<float>((seed >> 8) & 0xffff) / 65535.0f;
    };
    for (int k = 0; k < 2000; ++k) {
        const float theta = uniform(0, 1.5707964f), ratio = uniform(0.2f, 3), lambda = uniform(0.3f, 2), d = uniform(0, 1);
        const float n[5] = {1, uniform(0.5f, 3), uniform(0.5f, 3), uniform(0.5f, 3), uniform(0.5f, 3)};
        const float alpha[3] = {uniform(0, 50), uniform(0, 50), 0}, thickn[3] = {uniform(0, 0.01f), uniform(0, 0.01f), 0};
        float v[4] = {-1, -1, -1, -1};
        refls(&theta, &ratio, &v[0]);
        reflp(&theta, &ratio, &v[1]);
        krauter(&theta, n, alpha, thickn, &v[2]);
        lanzer(&theta, n, &lambda, &d, &v[3]);
        for (float x : v) ASSERT_TRUE(x >= 0 && x <= 1) << k << ": " << v[0] << " " << v[1] << " " << v[2] << " " << v[3];
    }
    // Below 1e-6 rad the Fresnel forms are 0/0: normal incidence instead.
    const float tiny = 1e-9f, ratio = 1 / 1.5f;
    float rs = 0, rp = 0;
    refls(&tiny, &ratio, &rs);
    reflp(&tiny, &ratio, &rp);
    EXPECT_FLOAT_EQ(rs, 0.04f);
    EXPECT_FLOAT_EQ(rp, 0.04f);
}

TEST(GlazingOptics, SkyRadianceAndSoiling) {
    // Tolerance 5e-4 relative: the routine rounds 1 - 16 exp(-3 pi/2) = 0.85627 to 0.856.
    for (float sunElevation : {5.0f, 30.0f, 60.0f, 85.0f})
        for (float sunAzimuth : {100.0f, 250.0f})
            for (float e = 2.5f; e < 90; e += 15)
                for (float a = 0; a < 360; a += 40) {
                    float l = 0;
                    lpdens(&sunAzimuth, &sunElevation, &a, &e, &l);
                    EXPECT_NEAR(l / reference::cieSkyType13(sunAzimuth, sunElevation, a, e), 1.0, 5e-4) << a << " " << e;
                }
    const float sunAzimuth = 180, sunElevation = 30, horizon = 0, tilt = 35, normal = 55;
    float l = -1;
    lpdens(&sunAzimuth, &sunElevation, &sunAzimuth, &horizon, &l);
    EXPECT_EQ(l, 0.0f);
    // The element along the surface normal: a cosine a rounding step above 1 is 0 degrees.
    incang(&sunAzimuth, &normal, &sunAzimuth, &tilt, &l);
    EXPECT_NEAR(l, 0.0f, 0.05f);
    for (float phi = 0; phi < 90; phi += 0.5f)
        for (float s : {0.0f, 0.05f, 0.3f}) {
            float f = -1;
            dirt(&s, &phi, &f);
            if (s == 0) {
                ASSERT_EQ(f, 1.0f) << phi;  // no soiling, no loss at any angle
            }
            ASSERT_NEAR(f, soilingFactor(s, phi), 2e-6) << s << " " << phi;
        }
}

TEST(Gtloss, SkyIntegrationIsTheRadianceWeightedMean) {
    // A horizontal surface sees every element at its zenith angle. Tolerance 1e-4: the
    // CIE weights of the test against the routine's rounded ones.
    const float b0 = 0.1f, loss = 0.05f;
    BlockInstance b = gtloss({1, 1, b0, 0, 0, 0, 36, 9}, 10);
    ASSERT_EQ(b.init(), 0);
    const auto out = b.step(inputs({.global = 300, .diffuse = 200, .tilt = 0, .sunAzimuth = 200, .sunElevation = 35,
                                    .incidence = 55, .soiling = loss}));
    double weights = 0, weighted = 0;
    for (double e = 5; e < 90; e += 10)
        for (double a = 5; a < 360; a += 10) {
            const double w = reference::cieSkyType13(200, 35, a, e) * std::cos((90 - e) * kDeg) * std::cos(e * kDeg);
            weights += w;
            weighted += w * ashraeModifier(b0, 90 - e) * soilingFactor(loss, 90 - e);
        }
    EXPECT_NEAR(out[2] / 200, weighted / weights, 1e-4);
    // Elements are spaced by the counts the loops run, the parameters rounded.
    BlockInstance rounded = gtloss({1, 1, b0, 0, 0, 0, 35.6f, 9.4f}, 10);
    ASSERT_EQ(rounded.init(), 0);
    EXPECT_EQ(rounded.step(b.IN)[2], out[2]);
    // Facing straight down, no element lies in front of the surface: nothing passes.
    EXPECT_EQ(b.step(inputs({.global = 300, .diffuse = 200, .tilt = 180, .incidence = 120}))[2], 0.0f);
}

TEST(Gtloss, PartsAndTheNormalIncidenceRatio) {
    const float b0 = 0.1f, loss = 0.02f, tilt = 30;
    BlockInstance b = gtloss({1, 0, b0}, 10), glass = gtloss({0, 0}, 11);
    ASSERT_EQ(b.init() + glass.init(), 0);
    const double sky = 59.68 - 0.1388 * tilt + 0.001497 * tilt * tilt, ground = 90 - 0.5788 * tilt + 0.002693 * tilt * tilt;
    const Scene s{.global = 1000, .beam = 600, .diffuse = 300, .ground = 100, .tilt = tilt, .incidence = 60, .soiling = loss};
    const auto out = b.step(inputs(s));
    const double parts[3] = {600 * 0.9 * soilingFactor(loss, 60),  // ASHRAE with b0 = 0.1 at 60 degrees: 0.9
                             300 * ashraeModifier(b0, sky) * soilingFactor(loss, sky),
                             100 * ashraeModifier(b0, ground) * soilingFactor(loss, ground)};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(out[i + 1], parts[i], 1e-3) << i;
    EXPECT_NEAR(out[0], parts[0] + parts[1] + parts[2], 2e-3);
    EXPECT_NEAR(out[4], out[0] / (600 * (1 - loss) + parts[1] + parts[2]), 1e-6);

    const auto at = [&](BlockInstance& block, float incidence, float global, const std::vector<float>& optical = {}) {
        Scene changed = s;
        changed.incidence = incidence;
        changed.global = global;
        return block.step(inputs(changed, optical));
    };
    const auto normal = at(b, 0, 1000);  // no model evaluated; the ratio is 1
    EXPECT_NEAR(normal[1], 600 * (1 - loss), 1e-4);
    EXPECT_EQ(normal[4], 1.0f);
    EXPECT_EQ(at(b, 90, 1000)[1], 0.0f);
    EXPECT_EQ(at(b, 60, 0)[4], 1.0f);
    // Radiation in total but none in the parts: no 0/0.
    EXPECT_EQ(b.step(inputs({.global = 50, .incidence = 40})), (std::vector<float>{0, 0, 0, 0, 1}));
    // Far below a degree the incidence is normal for the Fresnel forms, not 0/0.
    for (float tiny : {1e-7f, 1e-30f}) EXPECT_NEAR(at(glass, tiny, 1000, {1.526f})[1], 600 * (1 - loss), 1e-3) << tiny;
    // Inputs that are not numbers are no radiation to pass on; an index that describes no
    // glazing lets nothing through.
    EXPECT_EQ(at(b, NAN, 1000), (std::vector<float>{0, 0, 0, 0, 1}));
    EXPECT_EQ(at(glass, 60, 1000, {NAN})[0], 0.0f);
    EXPECT_EQ(at(glass, 60, 1000, {0.0f})[1], 0.0f);
}

TEST(Gtloss, InstancesKeepToThemselves) {
    BlockInstance first = gtloss({2, 1, 0, 0.003f, 0.001f, 0, 12, 6}, 16), second = gtloss({3, 0, 0, 0, 0, 0.2f}, 17);
    ASSERT_EQ(first.init() + second.init(), 0);
    const auto a = inputs({.global = 900, .beam = 500, .diffuse = 300, .ground = 100, .tilt = 40, .sunAzimuth = 160,
                           .sunElevation = 50, .incidence = 25, .soiling = 0.03f},
                          {1.5f, 1.4f, 1.6f, 1.3f, 20, 5});
    const auto alone = first.step(a);
    second.step(inputs({.global = 400, .beam = 100, .diffuse = 250, .ground = 50, .tilt = 70, .incidence = 70},
                       {1.3f, 1.7f, 2.0f, 1.5f, 0, 0, 0.6f}));
    EXPECT_EQ(first.step(a), alone);
}

TEST(Gtloss, InitialisationRefusesWhatItCannotCompute) {
    const auto sent = [](const std::vector<float>& parameters, int inputCount) {
        BlockInstance b = gtloss(parameters, inputCount);
        auto m = vireo_test::messagesOf([&] { b.init(); });
        if (!m.codes.empty()) {
            EXPECT_EQ(b.IP[0], m.codes[0]);  // the first error stays
        }
        return m;
    };
    const auto codes = [&](const std::vector<float>& parameters, int inputCount) { return sent(parameters, inputCount).codes; };
    EXPECT_EQ(codes({4, 2}, 17), (Codes{305137, 305138}));
    EXPECT_EQ(codes({1, 0, -0.1f}, 10), Codes{305139});
    EXPECT_EQ(codes({2, 0, 0, -1, -1, -1}, 16), (Codes{305142, 305140, 305141}));
    EXPECT_EQ(codes({3, 0, 0, 0, 0, -1}, 17), Codes{305142});
    // Zero intervals would pass a check for negative counts and give 0/0; a count that
    // keeps a step busy for hours is refused too. The equivalent angles need none.
    EXPECT_EQ(codes({1, 1, 0, 0, 0, 0, 0, 9}, 10), Codes{305143});
    EXPECT_EQ(codes({1, 1, 0, 0, 0, 0, 36, 1e9f}, 10), Codes{305143});
    EXPECT_EQ(codes({1, 0}, 10), Codes{});
    // The optical values come from connected inputs only; the message names the first
    // missing one, counted from 1.
    for (const auto& [parameters, inputCount, missing, name] :
         {std::tuple{std::vector<float>{0, 0}, 10, "11", "refractive index of medium 1"},
          std::tuple{std::vector<float>{2, 0}, 13, "14", "refractive index of medium 4"},
          std::tuple{std::vector<float>{7, 0}, 16, "17", "wavelength"}}) {
        const auto m = sent(parameters, inputCount);
        ASSERT_FALSE(m.records.empty());
        EXPECT_EQ(m.records.back().code(), 305144);
        EXPECT_EQ(m.records.back()["i11"], missing);
        EXPECT_EQ(m.records.back()["s0"], name);
    }
}
