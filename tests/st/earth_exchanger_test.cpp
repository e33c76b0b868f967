// HXEARTH through the block harness: the pipe against the exponential solution of a
// uniform wall temperature, computed here from the film and shape-factor relations; the
// soil term against Kusuda and Achenbach's damping of the annual wave; the fan's heat;
// and the outlet bounded by inlet and soil over random inputs.
#include "block_harness.h"
#include "message_capture.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

enum Bp { kDepth, kDensity, kCapacity, kConductivity, kRadius, kLength, kFanEfficiency, kFanPosition, kDamping,
          kSegments, kSpacing, kBuildingResistance, kBuildingTemperature, kBuildingDistance, kPipes, kPipeDistance,
          kWeight, kUnused };

// One pipe of 0.1 m radius, 40 m long at 2 m depth in soil of 1800 kg/m3, 1000 J/(kg K)
// and 1.5 W/(m K); no fan heat, no building.
std::vector<float> pipe() { return {2, 1800, 1000, 1.5f, 0.1f, 40, 0.5f, 2, 2, 20, 10, 0, 20, 5, 1, 0, 1, 0}; }

BlockInstance exchanger(const std::vector<float>& p) {
    BlockInstance b(vireo_test::library("VireoST").block("st0031"), {.inputs = 5, .parameters = p});
    EXPECT_EQ(b.init(), 0);
    return b;
}

float air(float (*property)(const float*), float t) { return property(&t); }
float density(float t) {
    const float p = 101300;
    return airrho(&t, &p);
}

// The pipe's transfer units from the relations of a turbulent film (Nu with the laminar
// 3.66 as floor) and the shape factor of a buried cylinder.
double transferUnits(const std::vector<float>& p, double flow, double t) {
    const double pi = std::numbers::pi, r = p[kRadius], depth = p[kDepth], spacing = p[kSpacing];
    const double perPipe = flow / p[kPipes];
    const double re = perPipe / (pi * r * r) * 2.0 * r / air(airvis, float(t));
    const double nu = std::max(0.87686557 * 0.0214 * (std::pow(re, 0.8) - 100.0), 3.66);
    const double perMetre = 0.025 * nu * pi;  // W/(m K): h times the circumference
    const double z = std::sin(pi * depth / spacing) * spacing / (pi * r) * (std::pow(pi * r / (2 * spacing), 2) + 1);
    const double soil = 2 * pi * p[kConductivity] / perMetre / std::acosh(z);
    const double wall = soil / (soil + p[kWeight]);
    return wall * perMetre * p[kLength] / (perPipe * density(float(t)) * air(aircp, float(t)));
}

}  // namespace

TEST(EarthExchanger, ManySegmentsApproachTheExponentialOfAUniformWall) {
    std::vector<float> p = pipe();
    p[kDamping] = 1e-6f;  // no ambient influence: the soil stays at its mean
    p[kSegments] = 5000;
    for (const float flow : {0.05f, 0.3f, -0.3f, 1.5f}) {
        BlockInstance b = exchanger(p);
        const float tin = 30, tsoil = 10;
        const auto& out = b.step({0, 0, tin, flow, tsoil});
        const double ntu = transferUnits(p, std::fabs(flow), tin);
        const double expected = tsoil + (tin - tsoil) * std::exp(-ntu);
        // (1 - K/N)^N departs from exp(-K) by about K^2/(2N) of it.
        EXPECT_NEAR(out[0], expected, 1e-3 * (tin - tsoil) + (tin - tsoil) * ntu * ntu / 5000) << flow;
    }
}

TEST(EarthExchanger, FewSegmentsNeverCarryTheAirPastTheSoil) {
    std::vector<float> p = pipe();
    p[kDamping] = 1e-6f;
    p[kLength] = 400;
    for (const float segments : {1.0f, 2.0f, 3.0f}) {
        p[kSegments] = segments;
        BlockInstance b = exchanger(p);
        const auto& out = b.step({0, 0, 30, 0.02f, 10});
        EXPECT_GE(out[0], 10.0f) << segments;
        EXPECT_LT(out[0], 10.5f) << segments;  // some 20 transfer units: at the soil
    }
}

TEST(EarthExchanger, SoilTermDampsTheAnnualWaveAsKusudaAndAchenbach) {
    // Kusuda and Achenbach (1965): the annual wave's amplitude at depth z is damped by
    // exp(-z sqrt(pi / (365 days alpha))), alpha = k/(rho c) in m2/day. With the damping
    // length at the pipe's depth the block takes that ratio of the ambient's departure;
    // with no soil-side resistance the air leaves at the soil temperature.
    for (const float depth : {1.0f, 2.0f, 4.0f}) {
        std::vector<float> p = pipe();
        p[kDepth] = depth;
        p[kDamping] = depth;
        p[kWeight] = 0;
        p[kLength] = 2000;
        BlockInstance b = exchanger(p);
        const double alphaPerDay = 1.5 / (1800.0 * 1000.0) * 86400.0;
        const double damping = std::exp(-depth * std::sqrt(std::numbers::pi / (365.0 * alphaPerDay)));
        const float mean = 12, ambient = -5;
        const auto& out = b.step({0, 0, ambient, 0.01f, mean});
        EXPECT_NEAR(out[0], mean + (ambient - mean) * damping, 1e-3) << depth;
    }
}

TEST(EarthExchanger, HeatFromTheSoilIsWhatWarmsTheAirAndTheFanAddsItsOwn) {
    std::vector<float> p = pipe();
    BlockInstance noFan = exchanger(p);
    const float tin = 28, flow = 0.4f;
    const std::vector<float> cool = noFan.step({0, 250, tin, flow, 10});
    EXPECT_NEAR(cool[1], density(tin) * air(aircp, tin) * flow * (cool[0] - tin), 1e-4 * std::fabs(cool[1]));
    EXPECT_LT(cool[1], 0.0f);

    // Without pressure rise the fan's position changes nothing.
    p[kFanPosition] = 0;
    BlockInstance before = exchanger(p);
    EXPECT_EQ(before.step({0, 0, tin, flow, 10}), noFan.step({0, 0, tin, flow, 10}));
    // With it, a fan after the pipe adds its rise dp/(eta rho cp) to the outlet.
    p[kFanPosition] = 1;
    BlockInstance after = exchanger(p);
    const double rise = 250.0 / (0.5 * density(tin) * air(aircp, tin));
    EXPECT_NEAR(after.step({0, 250, tin, flow, 10})[0], cool[0] + rise, 1e-4);
    EXPECT_EQ(after.OUT[1], cool[1]);
}

TEST(EarthExchanger, OutletLiesBetweenInletAndSoilOverRandomInputs) {
    std::mt19937 random(24);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int k = 0; k < 300; ++k) {
        std::vector<float> p = pipe();
        p[kDamping] = 1e-6f;
        p[kRadius] = 0.02f + 0.3f * unit(random);
        p[kDepth] = p[kRadius] + 0.5f + 3 * unit(random);
        p[kLength] = 1 + 200 * unit(random);
        p[kSegments] = std::floor(40 * unit(random));
        p[kConductivity] = 0.2f + 3 * unit(random);
        p[kWeight] = 3 * unit(random);
        p[kPipes] = 1 + std::floor(4 * unit(random));
        p[kPipeDistance] = 2 * p[kRadius] + 3 * unit(random);
        // Down to laminar flow, where the turbulent fit alone would turn negative.
        const float flow = (unit(random) - 0.3f) * std::pow(10.0f, -5 + 5 * unit(random));
        const float tin = -20 + 60 * unit(random), tsoil = 5 + 10 * unit(random);
        BlockInstance b = exchanger(p);
        const auto& out = b.step({0, 0, tin, flow, tsoil});
        SCOPED_TRACE(testing::Message() << "case " << k << " flow " << flow);
        EXPECT_GE(out[0], std::min(tin, tsoil) - 1e-4f);
        EXPECT_LE(out[0], std::max(tin, tsoil) + 1e-4f);
        if (p[kSegments] == 0 || std::fabs(flow) < 1e-20f) {
            EXPECT_EQ(out[0], tin);
        }
    }
}

TEST(EarthExchanger, InstancesKeepTheirOwnLengths) {
    std::vector<float> shortPipe = pipe(), longPipe = pipe();
    shortPipe[kLength] = 10;
    longPipe[kLength] = 50;
    BlockInstance a = exchanger(shortPipe);
    BlockInstance b = exchanger(longPipe);
    const std::vector<float> in = {0, 0, 30, 0.3f, 10};
    const std::vector<float> first = a.step(in);
    EXPECT_LT(b.step(in)[0], first[0]);
    BlockInstance again = exchanger(shortPipe);
    EXPECT_EQ(again.step(in), first);
    EXPECT_EQ(a.step(in), first);
}

TEST(EarthExchanger, RefusesAGeometryWithoutAShapeFactor) {
    struct Case {
        int parameter;
        float value;
        int code;
    };
    for (const Case& c : {Case{kDepth, 0.1f, 305703}, Case{kSpacing, 0.25f, 305704}, Case{kConductivity, 0, 305297},
                          Case{kSegments, -1, 305706}, Case{kPipes, 0, 305700}, Case{kWeight, -1, 305705},
                          Case{kLength, NAN, 305700}, Case{kDepth, NAN, 305189}}) {
        std::vector<float> p = pipe();
        p[c.parameter] = c.value;
        BlockInstance b(vireo_test::library("VireoST").block("st0031"), {.inputs = 5, .parameters = p});
        const auto m = messagesOf([&] { EXPECT_EQ(b.init(), c.code) << c.parameter; });
        EXPECT_EQ(m.codes, Codes{c.code}) << c.parameter;
    }
    // Parallel pipes closer than a diameter are refused; a single one whatever its spacing.
    std::vector<float> p = pipe();
    p[kPipes] = 3;
    p[kPipeDistance] = 0.1f;
    BlockInstance close(vireo_test::library("VireoST").block("st0031"), {.inputs = 5, .parameters = p});
    EXPECT_EQ(messagesOf([&] { EXPECT_EQ(close.init(), 305702); }).codes, Codes{305702});
    p[kPipes] = 1;
    exchanger(p);
}
