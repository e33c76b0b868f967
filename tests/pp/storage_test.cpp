// The storage blocks and the plug-flow model: exact plug transport, the energy balance of
// both tanks, sub-steps, losses towards a closed form, the mends of the stack's walk and
// the tank's first step.
#include "message_capture.h"
#include "plugflow.h"
#include "pp_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>
#include <string>

using pp_test::instance;
using vireo::pp::plugflow;

namespace {

// A stack given as (temperature, mass) pairs, padded to its 100 places.
struct Stack {
    std::array<float, 200> values{};
    int n = 0;
    explicit Stack(std::initializer_list<std::pair<float, float>> plugs) {
        for (const auto& [t, m] : plugs) {
            values[2 * n] = t;
            values[2 * n + 1] = m;
            ++n;
        }
    }
    float t(int plug) const { return values[2 * (plug - 1)]; }
    float m(int plug) const { return values[2 * (plug - 1) + 1]; }
    double mass() const {
        double sum = 0;
        for (int k = 1; k <= n; ++k) sum += m(k);
        return sum;
    }
    float move(float dm, float tin) { return plugflow(values, n, dm, tin); }
};

}  // namespace

TEST(PlugFlow, MovesWholePlugsAndSplitsTheLast) {
    Stack still({{80, 10}, {60, 10}, {40, 10}});
    EXPECT_EQ(still.move(0, 35), 80.0f);  // entering no warmer than the bottom: the top's temperature
    EXPECT_EQ(still.move(0, 45), 40.0f);
    EXPECT_EQ(still.n, 3);

    Stack down({{80, 10}, {60, 10}, {40, 10}});
    EXPECT_FLOAT_EQ(down.move(15, 90), (40 * 10 + 60 * 5) / 15.0f);
    ASSERT_EQ(down.n, 3);
    EXPECT_EQ(down.t(1), 90.0f);
    EXPECT_EQ(down.m(1), 15.0f);
    EXPECT_EQ(down.t(3), 60.0f);
    EXPECT_EQ(down.m(3), 5.0f);

    // Exactly the mass of the first two plugs: both leave whole, the next stays as it was.
    Stack up({{80, 10}, {60, 10}, {40, 10}});
    EXPECT_FLOAT_EQ(up.move(-20, 30), 70.0f);
    ASSERT_EQ(up.n, 2);
    EXPECT_EQ(up.t(1), 40.0f);
    EXPECT_EQ(up.m(1), 10.0f);
    EXPECT_EQ(up.t(2), 30.0f);
    EXPECT_EQ(up.m(2), 20.0f);
}

TEST(PlugFlow, KeepsAtMostAHundredPlugsAndItsMass) {
    Stack s({{50, 1000}});
    std::mt19937 random(7);
    std::uniform_real_distribution<float> step(-30, 30), temperature(20, 90);
    for (int i = 0; i < 400; ++i) {
        s.move(step(random), temperature(random));
        ASSERT_GE(s.n, 1);
        ASSERT_LE(s.n, 100);
        ASSERT_NEAR(s.mass(), 1000, 1e-3);
    }
    // A full stack takes a new plug by merging its two bottom ones, by mass.
    Stack full({{0, 1}});
    for (int k = 0; k < 100; ++k) {
        full.values[2 * k] = static_cast<float>(k);
        full.values[2 * k + 1] = 1;
    }
    full.n = 100;
    full.move(-1, 500);
    EXPECT_EQ(full.n, 99);
    EXPECT_EQ(full.t(98), 98.5f);
    EXPECT_EQ(full.m(98), 2.0f);
    EXPECT_EQ(full.t(99), 500.0f);
}

TEST(PlugFlow, AMoveLargerThanTheTankLeavesOnePlugOfTheTanksMass) {
    // The walk used to run past the stack when the moved mass reached the whole tank.
    for (float dm : {3.0f, -3.0f, 1e9f, -1e9f}) {
        Stack s({{80, 0.5f}, {60, 0.5f}});
        const float out = s.move(dm, 20);
        ASSERT_EQ(s.n, 1) << dm;
        EXPECT_EQ(s.t(1), 20.0f);
        EXPECT_EQ(s.m(1), 1.0f);
        EXPECT_NEAR(out, (80 * 0.5 + 60 * 0.5 + (std::fabs(dm) - 1) * 20) / std::fabs(dm), 1e-5);
    }
}

TEST(PlugTank, WithoutLossesTransportsPlugsExactly) {
    // 8000 kg in the tank, 1000 kg a step: what leaves at the bottom is what entered at
    // the top eight steps before, to the last bit (the values chosen exact in floats).
    auto b = instance("pp0009", {10, 2, 2000, 800, 0, 290});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.BP[6], 290.0f);  // the initial temperature filled in from the reference
    std::vector<float> entered;
    b.step({300, 2, 280, 0, 20, 0});
    for (int k = 1; k <= 40; ++k) {
        const float in = 300.0f + 7.25f * static_cast<float>(k % 5) + static_cast<float>(k);
        entered.push_back(in);
        const auto out = b.step({in, 2, 280, 0, 20, 500.0f * static_cast<float>(k)});
        EXPECT_EQ(out[0], k <= 8 ? 290.0f : entered[k - 9]) << k;
        EXPECT_EQ(out[2], b.RP[0]);  // no discharge: the top plug
        if (k >= 8) {
            double stored = 0;
            for (int j = k - 8; j < k; ++j) stored += 2000.0 * (entered[j] - 290) * 1000;
            EXPECT_NEAR(out[4], stored, 1e-6 * stored);
        }
    }
}

TEST(PlugTank, EqualFlowsPassStraightThrough) {
    auto b = instance("pp0009", {10, 2, 2000, 800, 0, 290, 310});
    ASSERT_EQ(b.init(), 0);
    b.step({390, 3, 280, 3, 20, 0});
    const auto out = b.step({390, 3, 280, 3, 20, 600});
    EXPECT_FLOAT_EQ(out[0], 280);
    EXPECT_EQ(out[2], 390.0f);
    EXPECT_EQ(b.IP[11], 1);
    EXPECT_EQ(b.RP[0], 310.0f);
}

TEST(PlugTank, LosesHeatThroughWallAndEndFaceAndConducts) {
    // One plug filling the tank, no flow: it cools towards ambient with the time constant
    // m cp / (U A), A the wall and one end face. Steps of a 1400th of the time constant:
    // explicit Euler within 1e-3.
    const float volume = 10, diameter = 2, cp = 2000, density = 800, u = 5;
    auto b = instance("pp0009", {volume, diameter, cp, density, u, 0, 90});
    ASSERT_EQ(b.init(), 0);
    b.step({0, 0, 0, 0, 20, 0});
    const double face = std::numbers::pi * diameter * diameter / 4, height = volume / face;
    const double tau = volume * density * cp / (u * (face + std::numbers::pi * diameter * height));
    float t = 0;
    std::vector<float> out;
    for (int k = 1; k <= 1200; ++k) out = b.step({0, 0, 0, 0, 20, t = 100.0f * k});
    const double expected = 20 + 70 * std::exp(-t / tau);
    EXPECT_NEAR(b.RP[0], expected, 1e-3 * (expected - 20));

    // Two plugs, no loss: conduction brings them towards each other, never past.
    auto c = instance("pp0009", {volume, diameter, cp, density, 0, 0, 20, 50});
    ASSERT_EQ(c.init(), 0);
    c.step({80, 2, 0, 0, 20, 0});
    c.step({80, 2, 0, 0, 20, 1000});  // a quarter of the tank at 80 on top
    ASSERT_EQ(c.IP[11], 2);
    float top = c.RP[0], bottom = c.RP[2];
    for (int k = 2; k <= 30; ++k) {
        c.step({0, 0, 0, 0, 20, 1000.0f * k});
        EXPECT_LT(c.RP[0], top);
        EXPECT_GT(c.RP[2], bottom);
        EXPECT_GT(c.RP[0], c.RP[2]);
        top = c.RP[0], bottom = c.RP[2];
    }
}

TEST(Tanks, WithoutWallLossStoreWhatTheStreamsBring) {
    // Both tanks over random cycles of charging, discharging and both at once: the stored
    // energy changes by what the net stream brings in less what leaves at the other end,
    // summed in double, within 1e-5 of what passed (single-precision nodes); no node and
    // no outlet leaves the temperatures in play. The node tank at every iteration count
    // (0 used to store nothing, each further one to add the sub-step again), its steps
    // within one node mass so that what leaves is its end node at the step's start (the
    // outputs of the call before); the plug tank with and without conduction (strong
    // enough to take the implicit step), whose outlets carry the mixed streams exactly.
    // First the charge of a 100 m3 tank at 290 degC with 20 kg/s at 390 degC over 600 s in
    // two sub-steps, which reaches no outlet: it stores 2.4e9 J, no more.
    struct Case {
        const char* routine;
        std::vector<float> parameters;
    };
    const float cp = 2000, nodeMass = 1e4f;
    const Case cases[] = {{"pp0008", {100, 10, 5, cp, 1000, 0, 0, 290}},    {"pp0008", {100, 10, 5, cp, 1000, 0, 1, 290}},
                          {"pp0008", {100, 10, 5, cp, 1000, 0, 2, 290}},    {"pp0008", {100, 10, 5, cp, 1000, 0, 5, 290}},
                          {"pp0008", {100, 10, 5, cp, 1000, 0, 1000, 290}}, {"pp0009", {100, 5, cp, 1000, 0, 290, 0, 0}},
                          {"pp0009", {100, 5, cp, 1000, 0, 290, 0, 0.5f}},  {"pp0009", {100, 5, cp, 1000, 0, 290, 0, 1e3f}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.parameters));
        const bool nodes = std::string(c.routine) == "pp0008";
        auto charged = instance(c.routine, c.parameters);
        ASSERT_EQ(charged.init(), 0);
        charged.step({390, 20, 290, 0, 20, 0});
        EXPECT_NEAR(charged.step({390, 20, 290, 0, 20, 600})[4], 2.4e9, 1e-5 * 2.4e9);

        auto b = instance(c.routine, c.parameters);
        ASSERT_EQ(b.init(), 0);
        auto before = b.step({390, 0, 290, 0, 20, 0});
        std::mt19937 random(52);
        auto uniform = [&](double low, double high) {
            return float(std::uniform_real_distribution<double>(low, high)(random));
        };
        double brought = 0, passed = 0, time = 0, worst = 0;
        int outside = 0;
        for (int k = 1; k <= 200; ++k) {
            const float ts = float(std::array{60, 300, 600, 900}[k % 4]);
            const int phase = (k / 15) % 3;  // charging, discharging, both
            const float most = nodeMass / ts;
            const float charge = phase != 1 ? uniform(0.05, 1) * most : 0;
            const float discharge = phase != 0 ? uniform(0.05, 1) * most : 0;
            const float chargeIn = uniform(250, 400), dischargeIn = uniform(250, 400);
            const std::vector<float> in = {chargeIn, charge, dischargeIn, discharge, 20, float(time += ts)};
            const auto out = b.step(in);
            double h;
            if (nodes) {  // only the net stream moves through the nodes
                const double net = double(charge) - discharge;
                h = cp * ts * (std::max(net, 0.0) * (in[0] - before[0]) + std::max(-net, 0.0) * (in[2] - before[2]));
            } else {
                h = cp * ts * (double(charge) * (in[0] - out[0]) + double(discharge) * (in[2] - out[2]));
            }
            brought += h;
            passed += std::fabs(h);
            worst = std::max(worst, std::fabs(out[4] - brought) / passed);
            std::vector<float> temperatures = {out[0], out[2]};
            for (int i = 0; i < (nodes ? 10 : b.IP[11]); ++i) temperatures.push_back(b.RP[nodes ? i : 2 * i]);
            for (float t : temperatures) outside += !(t >= 250 && t <= 400);
            before = out;
        }
        EXPECT_LE(worst, 1e-5);
        EXPECT_EQ(outside, 0);
        EXPECT_GT(passed, 1e10);
    }
}

TEST(NodeTank, SubStepsAndTheSingleMixedNode) {
    // One node, a step moving 3.5 node masses: four sub-steps of a quarter, each taking
    // 0.875 of the way to the inlet.
    auto b = instance("pp0008", {1, 1, 1, 1000, 1000, 0, 1, 20});
    ASSERT_EQ(b.init(), 0);
    b.step({100, 0, 20, 0, 20, 0});
    const auto out = b.step({100, 350, 20, 0, 20, 10});
    EXPECT_NEAR(out[0], 100 - 80 * std::pow(0.125, 4), 1e-4);
    EXPECT_EQ(out[0], out[2]);
    // Discharging the single node brings it to the bottom inlet the same way.
    const auto back = b.step({100, 0, 20, 1, 20, 11});
    EXPECT_NEAR(back[0], out[0] + (20 - out[0]) * 0.001, 1e-4);

    // Two nodes: no middle node, the charge reaches the bottom through the top, a node a
    // sub-step.
    auto two = instance("pp0008", {2, 2, 1, 1000, 1000, 0, 1, 20});
    ASSERT_EQ(two.init(), 0);
    two.step({100, 0, 20, 0, 20, 0});
    EXPECT_EQ(two.step({100, 0.5f, 20, 0, 20, 1000})[0], 20.0f);
    const auto charged = two.step({100, 0.5f, 20, 0, 20, 2000});
    EXPECT_GT(charged[2], charged[0]);
    EXPECT_GT(charged[0], 20.0f);
}

TEST(NodeTank, StillTankLosesOnlyThroughTheWallAndItsFirstStepWaits) {
    // The first step, at whatever time, integrates nothing: a tank initialised at 0 s and
    // first called at an hour takes in no hour of flow.
    auto b = instance("pp0008", {100, 10, 5, 4000, 1000, 0, 1, 50});
    ASSERT_EQ(b.init(), 0);
    auto out = b.step({90, 10, 10, 0, 20, 3600});
    EXPECT_EQ(out[0], 50.0f);
    EXPECT_EQ(out[2], 50.0f);
    EXPECT_EQ(out[4], 0.0f);
    // No flow and no wall loss: nothing changes.
    out = b.step({90, 0, 10, 0, 20, 7200});
    for (int i = 0; i < 10; ++i) EXPECT_EQ(b.RP[i], 50.0f);
    EXPECT_EQ(out[4], 0.0f);
    EXPECT_EQ(out[5], 0.0f);
    // With a wall loss every node cools alike.
    b.BP[5] = 2;
    b.step({90, 0, 10, 0, 20, 10800});
    for (int i = 1; i < 10; ++i) EXPECT_EQ(b.RP[i], b.RP[0]);
    EXPECT_LT(b.RP[0], 50.0f);
    EXPECT_GT(b.RP[0], 20.0f);
}

TEST(Tanks, StepsThatWouldOvershootStopAtWhatTheyMoveTowards) {
    // A wall loss far too large for an explicit step: every node goes to ambient, none
    // past it. A flow drawn back (negative) moves more than the sub-steps allow for:
    // the nodes stay between the temperatures that meet.
    auto node = instance("pp0008", {1, 4, 1, 1000, 1000, 1e6f, 1, 50});
    ASSERT_EQ(node.init(), 0);
    node.step({90, 0, 10, 0, 20, 0});
    node.step({90, 0, 10, 0, 20, 600});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(node.RP[i], 20.0f);
    node.BP[5] = 0;
    for (int k = 2; k < 20; ++k) {
        const auto out = node.step({90, 5, 10, -5, 20, 600.0f * k});
        for (int i = 0; i < 4; ++i) {
            EXPECT_GE(node.RP[i], 10.0f);
            EXPECT_LE(node.RP[i], 90.0f);
        }
        EXPECT_TRUE(pp_test::allFinite(out));
    }
    // A time that runs back integrates nothing: the state of the call before stays.
    const auto before = node.RP;
    node.step({90, 5, 10, 0, 20, 0});
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 4, node.RP.begin()));

    // Small plugs with a strong conduction between them: neighbours meet, never cross.
    auto plugs = instance("pp0009", {1, 1, 1000, 1000, 0, 0, 20, 1e4f});
    ASSERT_EQ(plugs.init(), 0);
    plugs.step({80, 0, 0, 0, 20, 0});
    for (int k = 1; k <= 20; ++k) {
        plugs.step({k % 2 ? 80.0f : 30.0f, 0.01f, 0, 0, 20, static_cast<float>(k)});
        for (int p = 0; p < plugs.IP[11]; ++p) {
            EXPECT_GE(plugs.RP[2 * p], 20.0f);
            EXPECT_LE(plugs.RP[2 * p], 80.0f);
        }
    }
}

TEST(Tanks, ATimeThatIsNoNumberRepeatsTheStep) {
    // A call whose time is not a number (or infinite) repeats the current step and leaves
    // the time the next step counts from: a tank that saw such calls ends as one that did
    // not, instead of integrating the next step from time 0 or over the float range.
    const std::pair<const char*, std::vector<float>> tanks[] = {{"pp0008", {100, 10, 5, 4000, 1000, 0.5f, 1, 50}},
                                                                {"pp0009", {100, 5, 4000, 1000, 0.5f, 50, 0, 0}}};
    for (const auto& [routine, parameters] : tanks) {
        auto plain = instance(routine, parameters), troubled = instance(routine, parameters);
        ASSERT_EQ(plain.init(), 0);
        ASSERT_EQ(troubled.init(), 0);
        for (auto* b : {&plain, &troubled}) {
            b->step({90, 2, 10, 0, 20, 0});
            b->step({90, 2, 10, 0, 20, 3600});
        }
        for (float bad : {NAN, INFINITY, -INFINITY}) troubled.step({90, 2, 10, 0, 20, bad});
        const auto expected = plain.step({90, 2, 10, 1, 20, 7200});
        EXPECT_EQ(troubled.step({90, 2, 10, 1, 20, 7200}), expected) << routine;
        EXPECT_EQ(troubled.RP, plain.RP) << routine;
    }
}
