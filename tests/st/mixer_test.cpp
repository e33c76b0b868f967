// The mixers and the three-way valve through the block harness: mass and energy over
// every mix, the auxiliary power included; the valve's travel at its actuator's speed,
// its split against the cosine characteristic and its repeated calls.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

BlockInstance mixqhc(float limit, float unused, float cp) {
    BlockInstance b(block("st0011"), {.inputs = 4, .parameters = {limit, unused, cp}});
    EXPECT_EQ(b.init(), 0);
    return b;
}

BlockInstance threev(float runningTime) {
    BlockInstance b(block("st0041"), {.inputs = 5, .parameters = {runningTime}});
    EXPECT_EQ(b.init(), 0);
    return b;
}

// THREEV's inputs: flow, the two inlet temperatures, the set position in percent, time.
const std::vector<float>& valve(BlockInstance& b, float flow, float set, float time) {
    return b.step({flow, 20, 80, set, time});
}

}  // namespace

// Mass: the two flows make the total. Energy: what the supplies bring plus the heater's
// power (less the cooler's) is what leaves at the outlet temperature. The set temperature
// is met wherever the power suffices, and the power never exceeds parameter 1 (parameter
// 2, larger here, is not a second limit).
TEST(Mixqhc, MassAndEnergyWithTheAuxiliaryPower) {
    const float limit = 3000, cp = 4186;
    BlockInstance b = mixqhc(limit, 9000, cp);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> temperature(5, 95), flow(0.005f, 0.3f);
    int heated = 0, cooled = 0, limited = 0;
    for (int k = 0; k < 500; ++k) {
        const float t1 = temperature(random), t2 = temperature(random), t = temperature(random), m = flow(random);
        const auto& out = b.step({t1, t2, t, m});
        SCOPED_TRACE(::testing::Message() << t1 << " " << t2 << " " << t << " " << m);
        EXPECT_NEAR(out[0] + out[1], m, 1e-6 * m);
        EXPECT_GE(std::min(out[0], out[1]), 0.0f);
        const double sign = t > std::max(t1, t2) ? 1 : (t < std::min(t1, t2) ? -1 : 0);
        const double in = cp * (static_cast<double>(out[0]) * t1 + static_cast<double>(out[1]) * t2);
        EXPECT_NEAR(in + sign * out[3], cp * m * out[2], 1e-5 * cp * m * 100);
        EXPECT_LE(out[3], limit);
        if (out[3] < limit) {
            EXPECT_NEAR(out[2], t, 1e-4);
        }
        heated += sign > 0, cooled += sign < 0, limited += out[3] == limit;
        EXPECT_EQ(out[4], 0.0f);
    }
    EXPECT_GT(heated, 50);
    EXPECT_GT(cooled, 50);
    EXPECT_GT(limited, 50);
}

TEST(Mixqhc, SplitsLimitsAndNoFlow) {
    BlockInstance b = mixqhc(1000, 50000, 4000);
    // Halfway between the supplies: half and half, also with both at the set temperature.
    EXPECT_EQ(b.step({70, 30, 50, 0.2f}), (std::vector<float>{0.1f, 0.1f, 50, 0, 0}));
    EXPECT_EQ(b.step({45, 45, 45, 0.2f}), (std::vector<float>{0.1f, 0.1f, 45, 0, 0}));
    // Heating beyond the limit: the warmer supply (1 at equality) carries the flow and
    // reaches T_warm + Q_max/(m cp), below the set temperature.
    EXPECT_EQ(b.step({40, 30, 60, 0.1f}), (std::vector<float>{0.1f, 0, 42.5f, 1000, 0}));
    EXPECT_EQ(b.step({30, 30, 60, 0.1f}), (std::vector<float>{0.1f, 0, 32.5f, 1000, 0}));
    // Cooling with supply 2 the colder: parameter 1 limits, not parameter 2.
    EXPECT_EQ(b.step({40, 30, 20, 0.1f}), (std::vector<float>{0, 0.1f, 27.5f, 1000, 0}));
    EXPECT_EQ(b.step({40, 30, 29, 0.1f}), (std::vector<float>{0, 0.1f, 29, 400, 0}));
    // No flow: nothing flows and no power is used; the outlet is the set temperature
    // held within the supplies.
    for (float m : {0.0f, -0.5f}) {
        EXPECT_EQ(b.step({40, 30, 20, m}), (std::vector<float>{0, 0, 30, 0, 0}));
        EXPECT_EQ(b.step({40, 30, 35, m}), (std::vector<float>{0, 0, 35, 0, 0}));
    }
    for (auto [parameters, code] : {std::pair{std::vector<float>{-1, 0, 4000}, 305365},
                                    std::pair{std::vector<float>{1000, 0, 0}, 305193}}) {
        BlockInstance bad(block("st0011"), {.inputs = 4, .parameters = parameters});
        EXPECT_EQ(messagesOf([&] { bad.init(); }).codes, std::vector<int>{code});
    }
}

// The mixed flow is the sum of the flows, and it carries what the two streams bring; a
// negative flow is none, so it takes nothing from the other stream. Without flow the
// outlet is the mean temperature; a stream without flow adds nothing, whatever its
// temperature.
TEST(Mixer, MassAndEnergyAndStreamsWithoutFlow) {
    BlockInstance b(block("st0034"), {.inputs = 4});
    EXPECT_EQ(b.init(), 0);
    std::mt19937 random(12);
    std::uniform_real_distribution<float> temperature(-20, 120), flow(-0.1f, 0.5f);
    for (int k = 0; k < 300; ++k) {
        const float t1 = temperature(random), m1 = flow(random), t2 = temperature(random), m2 = flow(random);
        const auto& out = b.step({t1, m1, t2, m2});
        const double f1 = std::max(m1, 0.0f), f2 = std::max(m2, 0.0f);
        EXPECT_NEAR(out[1], f1 + f2, 1e-7);
        if (out[1] > 0) {
            EXPECT_NEAR(out[0] * static_cast<double>(out[1]), f1 * t1 + f2 * t2, 1e-5 * (f1 + f2) * 120);
        } else {
            EXPECT_FLOAT_EQ(out[0], (t1 + t2) / 2);
        }
    }
    EXPECT_EQ(b.step({30, 0, 60, 0}), (std::vector<float>{45, 0}));
    EXPECT_EQ(b.step({30, 1, 60, -2}), (std::vector<float>{30, 1}));
    EXPECT_EQ(b.step({30, -0.5f, 60, 0.2f}), (std::vector<float>{60, 0.2f}));
    EXPECT_EQ(b.step({NAN, 0, 60, 0.2f}), (std::vector<float>{60, 0.2f}));
}

// The valve starts at 0 with all flow through inlet 1 and moves by the step over the
// running time (1 % per second for 100 s) until it reaches the set point; at every
// position inlet 2 takes (1 - cos(pi p))/2 of the flow, and the outlet carries what the
// two inlets bring. Within 1 % of the set point it takes the set point at once.
TEST(Threev, TravelAtTheActuatorSpeedAndTheCosineSplit) {
    BlockInstance b = threev(100);
    EXPECT_EQ(valve(b, 0.4f, 100, 0), (std::vector<float>{20, 0.4f, 0, 0}));
    const float expected[] = {30, 60, 90, 100, 100};
    float time = 0;
    for (float position : expected) {
        time += 30;
        const auto& out = valve(b, 0.4f, 100, time);
        EXPECT_NEAR(out[3], position, 1e-4) << time;
        const double p = position / 100.0, two = 0.4 * (1 - std::cos(std::numbers::pi * p)) / 2;
        EXPECT_NEAR(out[2], two, 1e-6);
        EXPECT_NEAR(out[1], 0.4 - two, 1e-6);
        EXPECT_NEAR(out[0] * 0.4, out[1] * 20.0 + out[2] * 80.0, 1e-4);
    }
    EXPECT_EQ(valve(b, 0.4f, 100, time += 30), (std::vector<float>{80, 0, 0.4f, 100}));
    EXPECT_EQ(valve(b, 0.4f, 50, time += 50), (std::vector<float>{50, 0.2f, 0.2f, 50}));
    EXPECT_NEAR(valve(b, 0.4f, 50.9f, time += 0.01f)[3], 50.9f, 1e-4);
    const auto still = valve(b, 0, 50.9f, time += 10);
    EXPECT_EQ(std::vector<float>(still.begin(), still.begin() + 3), (std::vector<float>{20, 0, 0}));
    EXPECT_NEAR(still[3], 50.9f, 1e-4);
    // Set points beyond the stroke are held at its ends.
    EXPECT_EQ(valve(b, 0.4f, 150, time += 1000)[3], 100.0f);
    EXPECT_EQ(valve(b, 0.4f, -20, time += 1000)[3], 0.0f);
    // A running time of 0 or less moves at once.
    for (float runningTime : {0.0f, -5.0f}) {
        BlockInstance fast = threev(runningTime);
        valve(fast, 0.4f, 70, 0);
        EXPECT_EQ(valve(fast, 0.4f, 70, 1)[3], 70.0f);
    }
}

// A repeated call starts again from the position at the step's start, towards the set
// point it is given (also when that lies the other way from where the first call took
// the valve), so it equals the first call with the same inputs, with or without flow. A
// time that went back returns to that position and moves nothing, nor a repeat after it.
TEST(Threev, RepeatedCallsAndTimeGoingBack) {
    BlockInstance b = threev(100), fresh = threev(100);
    for (BlockInstance* v : {&b, &fresh}) {
        valve(*v, 0.4f, 100, 0);
        valve(*v, 0.4f, 100, 30);
    }
    EXPECT_NEAR(valve(b, 0.4f, 100, 60)[3], 60.0f, 1e-4);
    EXPECT_NEAR(valve(b, 0.4f, 20, 60)[3], 20.0f, 1e-5);
    EXPECT_EQ(valve(b, 0, 0, 60)[3], 0.0f);
    valve(b, 0.4f, 45, 60);
    valve(fresh, 0.4f, 45, 60);
    EXPECT_EQ(b.OUT, fresh.OUT);
    EXPECT_EQ(b.RP, fresh.RP);
    EXPECT_NEAR(b.OUT[3], 45.0f, 1e-5);

    valve(b, 0.4f, 100, 90);
    for (int k = 0; k < 2; ++k) EXPECT_NEAR(valve(b, 0.4f, 100, 75)[3], 45.0f, 1e-5);  // back, then a repeat
    EXPECT_NEAR(valve(b, 0.4f, 100, 85)[3], 55.0f, 1e-4);
}
