// DECCTL and DECCTY through the block harness, each time step a sequence of passes of a
// loop whose plant the test computes: the supply temperature reached is a simple
// function of the controller's commands. Then all four blocks of this family given zero,
// negative, equal, absurd and missing values.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

constexpr int kBranch = 5, kStage = 10;
constexpr int kMostPasses = 60;

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

BlockInstance controller(const char* routine, const std::vector<float>& parameters, int expected = 0) {
    BlockInstance b(block(routine), {.inputs = routine == std::string("st0022") ? 5 : 7, .parameters = parameters});
    EXPECT_EQ(b.init(), expected) << routine;
    return b;
}

// DECCTL: minimum supply 16 degC, switch B above 50 degC, heater up to 70 degC with
// 3000 m3/h and at most 20 kW, search to 0.05 K in at most 30 steps, nominal flow
// 10000 m3/h, minimum 2000 m3/h.
std::vector<float> decctl(float heaterPower = 20, float steps = 30) {
    return {16, 50, 70, 10000, 3000, heaterPower, 0.05f, steps, 2000, 0};
}
// DECCTY: minimum supply 16 degC, heater up to 70 degC, nominal 10000, minimum 2000 and
// heater 3000 m3/h, at most 20 kW, level search to 0.05 K in at most 30 steps.
std::vector<float> deccty(float continuous = 0, float steps = 30) {
    return {16, 70, 0, 10000, 2000, 3000, 20, 0.05f, steps, continuous};
}

using Plant = std::function<float(const std::vector<float>& commands, int pass)>;

struct Sequence {
    int passes = 0;
    std::vector<int> stages;  // IP[10] after each call
    std::vector<float> out;
};

// One time step: the loop top passes the room temperature first, then what the plant
// made of the controller's commands; the loop runs until the controller leaves it.
Sequence timeStep(BlockInstance& c, std::vector<float> in, const Plant& plant) {
    Sequence s;
    in[3] = in[1];
    for (s.passes = 1; s.passes <= kMostPasses; ++s.passes) {
        s.out = c.step(in);
        s.stages.push_back(c.IP[kStage]);
        if (c.IP[kBranch] == 1) return s;
        EXPECT_EQ(c.IP[kBranch], 2);
        in[3] = plant(s.out, s.passes);
    }
    ADD_FAILURE() << "the loop did not end within " << kMostPasses << " passes";
    return s;
}

// Each stage cools by a fixed amount, the heater by its outlet's rise; the air flow does
// not change the supply temperature.
float stagedPlant(const std::vector<float>& out, float outdoor, float heaterInlet) {
    return outdoor - 3 * out[0] - 2.5f * out[1] - 1.5f * out[2] - 0.2f * (out[6] - heaterInlet);
}

void expectSharesWithin(const Sequence& s, double lowest) {
    EXPECT_GE(s.out[3], lowest - 1e-6);
    EXPECT_LE(s.out[3], 1.0f);
}

}  // namespace

TEST(Decctl, WithoutLoadTheSecondCallLeavesWithTheFirstCallsOutputs) {
    BlockInstance c = controller("st0022", decctl());
    const Sequence s = timeStep(c, {30, 26, 0, 0, 40}, [](auto&, int) { return 99.0f; });
    EXPECT_EQ(s.passes, 2);
    EXPECT_EQ(s.out, (std::vector<float>{0, 0, 0, 0, 26, 0, 40, 0}));
    EXPECT_EQ(c.IP[kStage], 0);
}

TEST(Decctl, CoolOutdoorAirLeavesOnTheThirdCallWithItsFlowWithinBounds) {
    BlockInstance c = controller("st0022", decctl());
    std::vector<Codes> codes;
    // 30 kW need 17.06 degC at the nominal flow: outdoor air at or below cools freely.
    for (const float outdoor : {16.5f, 12.0f, 12.0f}) {
        codes.push_back(messagesOf([&] {
            const Sequence s = timeStep(c, {outdoor, 26, 30, 0, 40}, [](auto&, int) { return 99.0f; });
            EXPECT_EQ(s.passes, 3);
            EXPECT_EQ(s.stages, (std::vector<int>{1, 2, 0}));
            EXPECT_EQ(s.out[4], outdoor);
            // 30 kW with 26 - outdoor K needs this share of 10000 m3/h.
            EXPECT_NEAR(s.out[3], 30 / (10000 * (26 - outdoor) * 0.0003357), 1e-5);
            EXPECT_NEAR(s.out[5], 30, 1e-3);
        }).codes);
    }
    // Outdoor air below the minimum supply temperature: reported once, then counted.
    EXPECT_EQ(codes, (std::vector<Codes>{{}, {205226}, {}}));
    EXPECT_EQ(c.IP[13], 2);
    EXPECT_EQ(messagesOf([&] { c.last(); }).codes, Codes{205227});
}

TEST(Decctl, StagesRunOnceMoreFromThreeAndEndWhereTheHeaterCannotHelp) {
    BlockInstance c = controller("st0022", decctl(0));
    const auto never = [](auto&, int) { return 40.0f; };
    Sequence s;
    const auto m = messagesOf([&] { s = timeStep(c, {30, 26, 30, 0, 40}, never); });
    EXPECT_EQ(s.stages, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_EQ(m.codes, Codes{});
    // The next time step opens a fresh sequence and restarts once again.
    EXPECT_EQ(timeStep(c, {30, 26, 30, 0, 40}, never).passes, 15);
}

TEST(Decctl, HeaterSearchBisectsTheOutletToTheSetValue) {
    BlockInstance c = controller("st0022", decctl());
    // The stages alone reach 30 - 3 - 7.5 - 1.5 = 18 degC; the set value needs more.
    const auto plant = [](const std::vector<float>& out, int) { return stagedPlant(out, 30, 40); };
    const Sequence s = timeStep(c, {30, 26, 30, 0, 40}, plant);
    EXPECT_EQ(s.out[2], 1.0f);
    EXPECT_NEAR(stagedPlant(s.out, 30, 40), s.out[4], 0.05);
    EXPECT_NEAR(s.out[7], 0.0003357 * (s.out[6] - 40) * 3000, 1e-4);
    EXPECT_LT(s.passes, 40);
    EXPECT_EQ(c.IP[14], 0);
    EXPECT_EQ(c.IP[16], 0);

    // A search of two steps stops at its limit: reported once, counted, summed at the end.
    BlockInstance brief = controller("st0022", decctl(20, 2));
    EXPECT_EQ(messagesOf([&] { timeStep(brief, {30, 26, 30, 0, 40}, plant); }).codes, Codes{305098});
    EXPECT_EQ(messagesOf([&] { timeStep(brief, {30, 26, 30, 0, 40}, plant); }).codes, Codes{});
    const auto last = messagesOf([&] { brief.last(); });
    ASSERT_EQ(last.codes, Codes{205097});
    EXPECT_EQ(last.records[0]["i8"], "2");
}

TEST(Decctl, APlantThatMeetsTheSetValueEveryOtherPassEndsAfterStageTen) {
    BlockInstance c = controller("st0022", decctl(0));
    // Met at stages 9 and 10 only (after the restart): fewer than five met passes, and
    // no stage after 10 changes anything.
    const auto flicker = [](const std::vector<float>& out, int pass) {
        return pass == 14 || pass == 15 ? out[4] - 1 : out[4] + 1;
    };
    const Sequence s = timeStep(c, {30, 26, 30, 0, 40}, flicker);
    EXPECT_EQ(s.passes, 17);
    EXPECT_EQ((std::vector<int>(s.stages.end() - 3, s.stages.end())), (std::vector<int>{9, 10, 0}));
    EXPECT_EQ(c.IP[kStage], 0);
    EXPECT_EQ(c.IP[11], 0);
}

TEST(Decctl, AirFlowStaysWithinTheMinimumAndTheNominalFlow) {
    BlockInstance c = controller("st0022", decctl());
    // A room colder than the minimum supply, a load beyond the nominal flow, and a plant
    // that overshoots to a supply warmer than the room.
    const auto warm = [](auto&, int) { return 30.0f; };
    expectSharesWithin(timeStep(c, {30, 15, 30, 0, 40}, warm), 0.2);
    expectSharesWithin(timeStep(c, {30, 26, 3000, 0, 40}, warm), 0.2);
    const auto overshoot = [](const std::vector<float>& out, int) { return out[4] - 12; };
    // A supply below the minimum holds the set value there: reported once, then counted.
    EXPECT_EQ(messagesOf([&] { expectSharesWithin(timeStep(c, {30, 26, 5, 0, 40}, overshoot), 0.2); }).codes,
              Codes{205224});
    expectSharesWithin(timeStep(c, {20, 26, 1, 0, 40}, overshoot), 0.2);
}

TEST(Deccty, TheContinuousLevelSearchRunsFromStageFiveAndGoesOnAtStageEight) {
    BlockInstance c = controller("st0038", deccty(1));
    const auto plant = [](const std::vector<float>& out, int) { return 30 - 3 * out[0] - 15 * out[1]; };
    const Sequence s = timeStep(c, {30, 26, 30, 0, 20, 22, 0}, plant);
    // Open, stage 2 and 3, switch A at 4, the search at 7 (0.2, 1, then bisection), 8, 9.
    ASSERT_GE(s.stages.size(), 8u);
    EXPECT_EQ((std::vector<int>(s.stages.begin(), s.stages.begin() + 5)), (std::vector<int>{1, 2, 3, 4, 7}));
    const auto afterSearch = std::find(s.stages.begin() + 5, s.stages.end(), 8);
    ASSERT_NE(afterSearch, s.stages.end());
    EXPECT_TRUE(std::all_of(s.stages.begin() + 4, afterSearch, [](int k) { return k == 7; }));
    EXPECT_EQ(s.stages.back(), 0);
    EXPECT_LT(s.passes, 30);
    // Stepped levels without the search.
    BlockInstance stepped = controller("st0038", deccty(0));
    const auto levels = [](const std::vector<float>& out, int) { return 30 - 3 * out[0] - 4 * out[1]; };
    const Sequence t = timeStep(stepped, {30, 26, 30, 0, 20, 22, 0}, levels);
    EXPECT_EQ(t.stages, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_EQ(t.out[1], 3.0f);
}

// Where no level reaches the set value and the heater inlet is too cold to regenerate,
// the sequence ends with the highest level it tried, stepped or searched: the plant then
// supplies what that level gives (22.5 and 25.5 degC here), not the 27 degC of no level.
TEST(Deccty, ATooColdHeaterInletKeepsTheLevelReached) {
    struct Case {
        float continuous, level;
    };
    for (const Case k : {Case{0, 3}, Case{1, 1}}) {
        BlockInstance c = controller("st0038", deccty(k.continuous));
        const auto plant = [](const std::vector<float>& out, int) { return 30 - 3 * out[0] - 1.5f * out[1]; };
        Sequence s;
        messagesOf([&] { s = timeStep(c, {30, 26, 30, 0, 20, 22, 0}, plant); });
        EXPECT_EQ(s.stages.back(), 0) << k.continuous;
        EXPECT_EQ(s.out[0], 1.0f);
        EXPECT_EQ(s.out[1], k.level) << k.continuous;
        EXPECT_FLOAT_EQ(plant(s.out, 0), 27 - 1.5f * k.level) << k.continuous;
    }
}

TEST(Deccty, TheLevelSearchStopsAtItsLimitAndTheOverloadIsCounted) {
    BlockInstance c = controller("st0038", deccty(1, 4));
    const auto plant = [](const std::vector<float>& out, int) { return 30 - 3 * out[0] - 15 * out[1]; };
    // 80 kW at 10 K below the room needs more than the nominal flow.
    const auto m = messagesOf([&] {
        const Sequence s = timeStep(c, {30, 26, 80, 0, 20, 22, 0}, plant);
        EXPECT_EQ(s.out[3], 1.0f);
    });
    EXPECT_EQ(m.codes, (Codes{206027, 305098}));
    timeStep(c, {30, 26, 80, 0, 20, 22, 0}, plant);
    const auto last = messagesOf([&] { c.last(); });
    ASSERT_EQ(last.codes, (Codes{205097, 206027}));
    EXPECT_EQ(last.records[0]["i8"], "2");
    EXPECT_EQ(last.records[1]["i8"], "4");  // twice a step: at stage 2 and at the set value
}

TEST(Deccty, FreeCoolingAndTheSwitchingQuantity) {
    BlockInstance c = controller("st0038", deccty());
    const auto none = [](auto&, int) { return 99.0f; };
    // Outdoor air at 12 degC cools freely: done at stage 3, out at 4, the share at most 1.
    Sequence s;
    messagesOf([&] { s = timeStep(c, {12, 26, 3000, 0, 20, 22, 0}, none); });
    EXPECT_EQ(s.stages, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(s.out[4], 12.0f);
    EXPECT_EQ(s.out[3], 1.0f);
    // A switching quantity above 10 with a warm heater inlet passes it through and
    // starts the level search at once.
    s = timeStep(c, {12, 26, 30, 0, 40, 22, 11}, none);
    EXPECT_EQ(s.out[0], 1.0f);
    EXPECT_EQ(s.out[2], 1.0f);
    EXPECT_EQ(s.out[6], 40.0f);
    EXPECT_EQ(c.IP[19], 0);  // cleared on leaving
    // The next step passes the heater outlet of its input 5 on again.
    c.step({30, 26, 30, 26, 40, 22, 0});
    c.step({30, 26, 30, 26, 40, 22, 0});
    EXPECT_EQ(c.OUT[6], 22.0f);
}

// A plant that never reaches the set value (the supply stays at 28 degC): after switch A,
// the levels (stepped or searched) and stage 8's test of the heater inlet (at 30 degC too
// cold against 32 degC outdoors, at 50 degC passed through with a level search), the
// heater runs at its limit: 3000 m3/h heated towards 70 degC with at most 20 kW. A heater
// without air flow heats nothing: no outlet at the limit for 0 kW; the heater's outlet
// stays what stage 8 left (input 5, or the heater inlet passed through).
TEST(Deccty, WhereStageEightFallsShortTheHeaterRunsAtItsLimit) {
    for (const float heaterFlow : {3000.0f, 0.0f, -100.0f}) {
        for (const float continuous : {0.0f, 1.0f}) {
            for (const float inlet : {30.0f, 50.0f}) {
                SCOPED_TRACE(::testing::Message() << "heater air " << heaterFlow << " m3/h, continuous " << continuous
                                                  << ", inlet " << inlet);
                std::vector<float> parameters = deccty(continuous);
                parameters[5] = heaterFlow;
                BlockInstance c = controller("st0038", parameters);
                Sequence s;
                messagesOf([&] { s = timeStep(c, {32, 26, 30, 0, inlet, 22, 0}, [](auto&, int) { return 28.0f; }); });
                EXPECT_NE(std::find(s.stages.begin(), s.stages.end(), 9), s.stages.end());
                EXPECT_EQ(s.stages.back(), 0);
                if (heaterFlow > 0) {
                    const double power = std::min(20.0, 0.000335 * (70 - inlet) * heaterFlow);
                    EXPECT_NEAR(s.out[7], power, 1e-4);
                    EXPECT_NEAR(s.out[6], inlet + power / (0.000335 * heaterFlow), 1e-3);
                    EXPECT_EQ(s.out[2], 1.0f);
                } else {
                    const bool passedThrough = inlet > 32 + 5;
                    EXPECT_EQ(s.out[7], 0.0f);
                    EXPECT_EQ(s.out[6], passedThrough ? inlet : 22.0f);
                    EXPECT_EQ(s.out[2], passedThrough ? 1.0f : 0.0f);
                }
            }
        }
    }
}

// Random plausible time steps (seeded): outdoor and room air, loads, heater inlets,
// switching quantities and a plant whose supply falls with each command by random
// amounts, under random parameters. Every sequence ends within the passes its stages and
// two searches take, with outputs within their bounds: the air flow between the minimum
// share and 1, the heater's power within 0 and its maximum and what its air flow can take
// up to its outlet limit, its outlet between its inlet and that limit or one of the
// temperatures put through. The heater stage runs in some.
TEST(Deccty, RandomSequencesEndWithOutputsWithinTheirBounds) {
    std::mt19937 random(54);
    std::uniform_real_distribution<float> unit(0, 1);
    const auto between = [&](float low, float high) { return low + (high - low) * unit(random); };
    int heated = 0;
    for (int run = 0; run < 150; ++run) {
        const float steps = std::floor(between(3, 30)), heaterPower = between(0, 30), heaterFlow = between(500, 5000);
        const float nominal = between(3000, 20000), minimum = between(0, 0.5f) * nominal, limit = between(40, 90);
        const std::vector<float> parameters = {between(12, 18), limit, 0, nominal, minimum, heaterFlow, heaterPower,
                                               between(0.02f, 0.5f), steps, unit(random) < 0.5f ? 0.0f : 1.0f};
        BlockInstance c = controller("st0038", parameters);
        const float a = between(0, 5), level = between(0, 4), bSwitch = between(0, 3), heater = between(0, 0.3f);
        const float lowest = minimum > 0 ? minimum / nominal : 0.001f;
        for (int t = 0; t < 4; ++t) {
            const float outdoor = between(15, 38), inlet = between(15, 80), through = between(15, 40);
            const std::vector<float> in = {outdoor, between(20, 28), between(-2, 60), 0, inlet, through,
                                           between(0, 20)};
            const auto plant = [&](const std::vector<float>& out, int) {
                return outdoor - a * out[0] - level * out[1] - bSwitch * out[2] - heater * (out[6] - inlet);
            };
            SCOPED_TRACE(::testing::Message() << "run " << run << ", step " << t);
            Sequence s;
            messagesOf([&] { s = timeStep(c, in, plant); });
            EXPECT_LE(s.passes, 2 * (int(steps) + 2) + 12);
            EXPECT_EQ(c.IP[kStage], 0);
            for (const float v : s.out) EXPECT_TRUE(std::isfinite(v));
            EXPECT_TRUE(s.out[0] == 0 || s.out[0] == 1);
            EXPECT_TRUE(s.out[2] == 0 || s.out[2] == 1);
            EXPECT_GE(s.out[1], 0.0f);
            EXPECT_LE(s.out[1], 3.0f);
            if (in[2] > 0) expectSharesWithin(s, lowest);
            EXPECT_GE(s.out[7], 0.0f);
            EXPECT_LE(s.out[7], heaterPower);
            EXPECT_LE(s.out[7], 0.000335 * std::max(0.0f, limit - inlet) * heaterFlow * (1 + 1e-6) + 1e-6);
            if (s.out[7] > 0) {
                ++heated;
                EXPECT_GE(s.out[6], inlet);
                EXPECT_LE(s.out[6], limit * (1 + 1e-6));
                EXPECT_NEAR(s.out[7], 0.000335 * (s.out[6] - inlet) * heaterFlow, 1e-4 * s.out[7] + 1e-5);
            } else {
                EXPECT_TRUE(s.out[6] == inlet || s.out[6] == through || s.out[6] == limit) << s.out[6];
            }
        }
    }
    EXPECT_GT(heated, 50);
}

TEST(DesiccantCoolingFamily, ZeroNegativeEqualAndAbsurdValuesGiveFiniteOutputsAndEveryLoopEnds) {
    const std::vector<std::vector<float>> inputs = {
        std::vector<float>(7, 0.0f),   std::vector<float>(7, -1.0f),  std::vector<float>(7, 20.0f),
        std::vector<float>(7, 1e30f),  std::vector<float>(7, -1e30f), {30, NAN, 30, 0, 40, 22, 0},
        {INFINITY, 26, 30, 0, 40, 22, 0}};
    for (const char* routine : {"st0022", "st0038"}) {
        for (const auto& parameters : {decctl(), std::vector<float>(10, 0.0f), std::vector<float>(10, 20.0f)}) {
            BlockInstance c(block(routine), {.inputs = routine == std::string("st0022") ? 5 : 7, .parameters = parameters});
            if (c.init() != 0) continue;
            for (const auto& in : inputs) {
                std::vector<float> x(in.begin(), in.begin() + c.inputCount());
                messagesOf([&] {
                    const Sequence s = timeStep(c, x, [](const std::vector<float>& out, int) { return out[4] + 0.5f; });
                    for (const float v : s.out) EXPECT_TRUE(std::isfinite(v)) << routine;
                });
            }
        }
    }
    BlockInstance tower(block("st0030"), {.inputs = 5, .parameters = {300, 35, 29, 10, 30, 24, 5, 1.5f, 0.5f, 0.3f}});
    ASSERT_EQ(tower.init(), 0);
    BlockInstance earth(block("st0031"),
                        {.inputs = 5, .parameters = {2, 1800, 1000, 1.5f, 0.1f, 40, 0.5f, 0, 2, 20, 10, 0, 20, 5, 1, 0, 1, 0}});
    ASSERT_EQ(earth.init(), 0);
    for (const auto& in : inputs) {
        const std::vector<float> x(in.begin(), in.begin() + 5);
        messagesOf([&] {
            for (const float v : tower.step(x)) EXPECT_TRUE(std::isfinite(v));
            for (const float v : earth.step(x)) EXPECT_TRUE(std::isfinite(v));
        });
    }
    // Zero parameters are refused, not computed with.
    BlockInstance zeroTower(block("st0030"), {.inputs = 5, .parameters = std::vector<float>(10, 0.0f)});
    EXPECT_NE(messagesOf([&] { EXPECT_NE(zeroTower.init(), 0); }).codes, Codes{});
    BlockInstance zeroEarth(block("st0031"), {.inputs = 5, .parameters = std::vector<float>(18, 0.0f)});
    EXPECT_NE(messagesOf([&] { EXPECT_NE(zeroEarth.init(), 0); }).codes, Codes{});
}
