// The mechanics the blocks that integrate over time share: which call a time makes, the
// step a repeated call integrates again, the update that never overshoots, and sub-steps
// cut by the mass that passes.
#include "Stepping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>

using namespace vireo::block;

TEST(Stepping, CallsByTheirTime) {
    EXPECT_EQ(classifyCall(50.0f, 0.0f, false, 0.001f).call, Call::first);
    const auto next = classifyCall(3.6e7f, 3.6e7f - 360.0f, true, 0.0f);
    EXPECT_EQ(next.call, Call::next);
    EXPECT_EQ(next.step, 360.0);  // exact at the end of a year in seconds
    EXPECT_EQ(classifyCall(100.0f, 100.0f, true, 0.0f).call, Call::repeat);
    EXPECT_EQ(classifyCall(100.0005f, 100.0f, true, 0.001f).call, Call::repeat);
    EXPECT_EQ(classifyCall(100.002f, 100.0f, true, 0.001f).call, Call::next);
    const auto back = classifyCall(99.0f, 100.0f, true, 0.001f);
    EXPECT_EQ(back.call, Call::back);
    EXPECT_EQ(back.step, -1.0);
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        const auto c = classifyCall(bad, 100.0f, true, 0.001f);
        EXPECT_EQ(c.call, Call::repeat);
        EXPECT_EQ(c.reference, 100.0f);  // the next call still measures from the last time
        EXPECT_EQ(classifyCall(bad, 0.0f, false, 0.0f).call, Call::repeat);
    }
}

TEST(Stepping, ARepeatIntegratesTheCurrentStepAgain) {
    // A float time and a slot for the length.
    float previous = 0;
    int slot = 0;
    auto s = stepOf(3600, previous, slot);
    EXPECT_EQ(s.length, 0.0);  // the first call only takes its time
    EXPECT_FALSE(s.isNew);
    s = stepOf(3600, previous, slot);
    EXPECT_EQ(s.length, 0.0);  // a step of 0 is kept as one, not as "no step yet"
    EXPECT_NE(slot, 0);
    s = stepOf(3960, previous, slot);
    EXPECT_EQ(s.length, 360.0);
    EXPECT_TRUE(s.isNew);
    s = stepOf(3960, previous, slot);
    EXPECT_EQ(s.length, 360.0);
    EXPECT_FALSE(s.isNew);
    s = stepOf(0, previous, slot);  // back: nothing, and the step's start again
    EXPECT_EQ(s.length, 0.0);
    EXPECT_FALSE(s.isNew);
    stepOf(-FLT_MAX, previous, slot);
    s = stepOf(FLT_MAX, previous, slot);  // a length past the float range is kept as the largest
    EXPECT_EQ(s.length, 2.0 * FLT_MAX);
    EXPECT_TRUE(s.isNew);
    EXPECT_EQ(stepOf(FLT_MAX, previous, slot).length, static_cast<double>(FLT_MAX));

    // A whole-number time and a float length: the same cases.
    EXPECT_EQ(wholeTimeStepOf(3600, 0, false, 99).length, 0.0f);
    EXPECT_FALSE(wholeTimeStepOf(3600, 0, false, 99).isNew);
    EXPECT_EQ(wholeTimeStepOf(3600, 3600, true, 360).length, 360.0f);
    EXPECT_FALSE(wholeTimeStepOf(3600, 3600, true, 360).isNew);
    EXPECT_EQ(wholeTimeStepOf(3960, 3600, true, 0).length, 360.0f);
    EXPECT_TRUE(wholeTimeStepOf(3960, 3600, true, 0).isNew);
    EXPECT_EQ(wholeTimeStepOf(3960.7f, 3600, true, 0).lastTime, 3960);
    EXPECT_EQ(wholeTimeStepOf(0, 3600, true, 360).length, 0.0f);
    EXPECT_EQ(wholeTimeStepOf(FLT_MAX, -2147483647 - 1, true, 0).length, FLT_MAX);
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        const auto repeat = wholeTimeStepOf(bad, 3600, true, 360);
        EXPECT_EQ(repeat.length, 360.0f);
        EXPECT_FALSE(repeat.isNew);
        EXPECT_EQ(repeat.lastTime, 3600);  // the next step still counts from the last time
        EXPECT_FALSE(wholeTimeStepOf(bad, 0, false, 0).started);
    }
}

TEST(Stepping, TheLimitedUpdateNeverPassesWhatItMovesTowards) {
    // Against the update written here: T + sum w (toward - T) while the weights add up to
    // at most 1, else the weighted mean; for any weights the result stays between T and
    // the temperatures pulled towards.
    std::mt19937 random(11);
    std::uniform_real_distribution<float> temperature(-50, 400);
    std::uniform_real_distribution<float> logWeight(-6, 6);
    for (int k = 0; k < 2000; ++k) {
        const float t = temperature(random);
        const Pull a{std::pow(10.0f, logWeight(random)), temperature(random)};
        const Pull b{std::pow(10.0f, logWeight(random)), temperature(random)};
        const float updated = limitedUpdate(t, {a, b});
        const double sum = static_cast<double>(a.weight) + b.weight;
        const double mean = (static_cast<double>(a.weight) * a.toward + static_cast<double>(b.weight) * b.toward) / sum;
        const double expected = sum <= 1.0 ? t + a.weight * (a.toward - static_cast<double>(t)) +
                                                 b.weight * (b.toward - static_cast<double>(t))
                                           : mean;
        EXPECT_NEAR(updated, expected, 1e-4 * (1.0 + std::fabs(expected)));
        EXPECT_GE(updated, std::min({t, a.toward, b.toward}));
        EXPECT_LE(updated, std::max({t, a.toward, b.toward}));
        EXPECT_EQ(withinOneStep({a, b}), a.weight + b.weight <= 1.0f);
    }
    // Pulls of no weight, NaN or away pull nothing; infinite ones share alike.
    EXPECT_EQ(limitedUpdate(20, {{0, 90}, {NAN, 90}, {-1, 90}}), 20.0f);
    EXPECT_EQ(limitedUpdate(20, {{INFINITY, 90}, {1e30f, 0}, {INFINITY, 10}}), 50.0f);
}

TEST(Stepping, SubStepsByMassMoveLessThanACellEach) {
    // A step moving 3.5 cells runs 4 sub-steps; exactly 2 cells 3, since each must move
    // less than one; up to one cell, and NaN, one.
    EXPECT_EQ(subStepsByMass(3.5f, 1.0f), 4.0f);
    EXPECT_EQ(subStepsByMass(2.0, 1.0), 3.0);
    EXPECT_EQ(subStepsByMass(1.0, 1.0), 1.0);
    EXPECT_EQ(subStepsByMass(0.2, 1.0), 1.0);
    EXPECT_EQ(subStepsByMass(std::nan(""), 1.0), 1.0);
    for (double moved : {1.5, 17.0, 123.456, 1e5})
        EXPECT_LT(moved / subStepsByMass(moved, 1.0), 1.0) << moved;
}
