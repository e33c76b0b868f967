// The storage tanks through the block harness, against a stratified tank written here
// on its own as mass flows across the interfaces between nodes (upwind, explicit), and
// TANKFM against the exact solution of its linear equation.
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

struct TankParameters {
    float volume = 0.3f, nodes = 10, diameter = 0.6f, cp = 4186, density = 1000, loss = 0.8f, lambda = 0.6f,
          start = 20;
    std::vector<float> list() const { return {volume, nodes, diameter, cp, density, loss, lambda, start}; }
};

BlockInstance tankst(const TankParameters& p) {
    BlockInstance b(block("st0003"), {.inputs = 6, .parameters = p.list()});
    EXPECT_EQ(b.init(), 0);
    return b;
}

struct Inputs {
    double chargeT, charge, loadT, load, ambient;
};

// The tank as mass flows across the n-1 interfaces: below the charging inlet the
// charging flow passes down, above the discharging inlet the discharging flow passes
// up; each node takes from each inflow (across an interface or from a stream) at the
// inflow's temperature, conducts to its neighbours and loses through its surface.
struct ReferenceTank {
    TankParameters p;
    std::vector<double> t;

    void step(const Inputs& in, double seconds, int subSteps) {
        const int n = static_cast<int>(t.size());
        const double area = std::numbers::pi * p.diameter * p.diameter / 4, m = p.density * p.volume / n;
        const double height = p.volume / area / n, mantle = std::numbers::pi * p.diameter * height;
        const double g = p.lambda * area / height / p.cp;
        for (int s = 0; s < subSteps; ++s) {
            const auto inlet = [&](double temperature) {
                for (int k = 0; k < n; ++k)
                    if (t[k] <= temperature) return k;
                return n - 1;
            };
            const int ic = inlet(in.chargeT), il = inlet(in.loadT);
            std::vector<double> next = t;
            for (int k = 0; k < n; ++k) {
                const auto down = [&](int i) { return (i >= ic ? in.charge : 0.0) - (i < il ? in.load : 0.0); };
                double rate = (k == ic ? in.charge * (in.chargeT - t[k]) : 0.0) +
                              (k == il ? in.load * (in.loadT - t[k]) : 0.0);
                if (k > 0) rate += std::max(down(k - 1), 0.0) * (t[k - 1] - t[k]) + g * (t[k - 1] - t[k]);
                if (k < n - 1) rate += std::max(-down(k), 0.0) * (t[k + 1] - t[k]) + g * (t[k + 1] - t[k]);
                const double surface = mantle + (k == 0 || k == n - 1 ? area : 0.0);
                rate += p.loss * surface / p.cp * (in.ambient - t[k]);
                next[k] = t[k] + seconds / subSteps / m * rate;
            }
            t = next;
        }
    }
};

const std::vector<float>& call(BlockInstance& b, const Inputs& in, float time) {
    return b.step({static_cast<float>(in.chargeT), static_cast<float>(in.charge), static_cast<float>(in.loadT),
                   static_cast<float>(in.load), static_cast<float>(in.ambient), time});
}

void expectNodes(const std::vector<float>& out, const std::vector<double>& expected, double tolerance) {
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_NEAR(out[k], expected[k], tolerance) << "node " << k + 1;
}

double energy(const std::vector<float>& out, int n, const TankParameters& p) {
    double sum = 0;
    for (int k = 0; k < n; ++k) sum += out[static_cast<std::size_t>(k)];
    return sum * p.cp * p.density * p.volume / n;
}

}  // namespace

// One sub-step (at most 360 s, one node mass, no coefficient below 0): the stored energy
// changes by exactly what crosses the tank's boundary at the start-of-step temperatures,
// and the nodes are the reference tank's, whichever nodes the streams enter.
TEST(Tankst, OneSubStepAgainstTheReferenceAndTheBoundary) {
    std::mt19937 random(3);
    // Flows of at most 0.04 kg/s: even a node that both streams enter keeps its own
    // coefficient above 0 over 360 s.
    std::uniform_real_distribution<double> temperature(10, 80), flow(0, 0.04), seconds(1, 360);
    const TankParameters p;
    const int n = 10;
    const double area = std::numbers::pi * 0.36 / 4, mantle = 0.3 / (0.6 * n * 0.25);
    for (int c = 0; c < 200; ++c) {
        BlockInstance b = tankst(p);
        std::vector<double> start(n);
        for (int k = 0; k < n; ++k) b.OUT[k] = static_cast<float>(start[k] = static_cast<float>(temperature(random)));
        call(b, {}, 1000.0f);  // the first call takes the time only
        for (int k = 0; k < n; ++k) b.OUT[k] = static_cast<float>(start[k]);  // the next step starts here
        const Inputs in{temperature(random), c % 7 ? flow(random) : 0.0, temperature(random),
                        c % 5 ? flow(random) : 0.0, temperature(random)};
        const double ts = seconds(random);
        const auto& out = call(b, in, static_cast<float>(1000.0 + ts));
        SCOPED_TRACE(testing::Message() << "case " << c);
        ReferenceTank r{p, start};
        r.step(in, ts, 1);
        expectNodes(out, r.t, 1e-4);
        double loss = 0;
        for (int k = 0; k < n; ++k)
            loss += p.loss * (mantle + (k == 0 || k == n - 1 ? area : 0)) * (start[k] - in.ambient);
        const double boundary =
            p.cp * in.charge * (in.chargeT - start[n - 1]) + p.cp * in.load * (in.loadT - start[0]) - loss;
        double before = 0;
        for (double t : start) before += t;
        before *= p.cp * p.density * p.volume / n;
        // Rounding: the energy output and every node are floats.
        EXPECT_NEAR(out[n] - before, ts * boundary, 2e-7 * before + 8.0);
        EXPECT_NEAR(out[n], energy(out, n, p), 1e-7 * out[n]);
    }
}

// Steps are cut into parts of at most 360 s (the nearest whole number of them) and of at
// most one node mass moved.
TEST(Tankst, SubStepsByTimeAndByMass) {
    TankParameters p;
    p.lambda = 20;  // conduction strong enough to tell the sub-step counts apart, weak enough for each
    const std::vector<double> stratified{70, 65, 60, 52, 45, 38, 30, 25, 20, 15};
    struct Case {
        double seconds;
        Inputs in;
        int subSteps;
    };
    const double nodeMass = 30;
    const Case cases[] = {
        {1000, {40, 0.001, 10, 0.001, 20}, 3},          // 1000/360 = 2.78 rounds to 3
        {500, {40, 0.001, 10, 0.001, 20}, 1},           // 1.39 rounds to 1
        {300, {75, 2.5 * nodeMass / 300, 10, 0, 20}, 3},  // 2.5 node masses: 3 parts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        BlockInstance b = tankst(p);
        call(b, c.in, 0.0f);
        std::copy(stratified.begin(), stratified.end(), b.OUT.begin());
        const auto out = call(b, c.in, static_cast<float>(c.seconds));
        ReferenceTank r{p, stratified}, other{p, stratified};
        r.step(c.in, c.seconds, c.subSteps);
        other.step(c.in, c.seconds, c.subSteps == 1 ? 2 : 1);
        expectNodes(out, r.t, 1e-4);
        double apart = 0;
        for (int k = 0; k < 10; ++k) apart = std::max(apart, std::fabs(other.t[k] - r.t[k]));
        EXPECT_GT(apart, 0.01);  // the case tells the counts apart
    }
}

// A call at the time of the one before integrates the current step again from its start
// with its own inputs and the step's length; the next step starts from its result. A
// time that went back returns to the step's start and integrates nothing.
TEST(Tankst, RepeatedCallsAndTimeGoingBack) {
    const TankParameters p;
    const Inputs first{60, 0.05, 10, 0.01, 15}, second{45, 0.03, 12, 0.02, 18}, third{70, 0.04, 10, 0, 20};
    BlockInstance repeated = tankst(p), single = tankst(p);
    for (BlockInstance* b : {&repeated, &single}) {
        call(*b, first, 0);
        call(*b, first, 360);
    }
    const std::vector<float> startOfStep = repeated.OUT;
    call(repeated, first, 720);
    call(repeated, second, 720);
    call(single, second, 720);
    EXPECT_EQ(repeated.OUT, single.OUT);
    EXPECT_NE(repeated.OUT, startOfStep);
    call(repeated, third, 1080);
    call(single, third, 1080);
    EXPECT_EQ(repeated.OUT, single.OUT);

    const std::vector<float> before = repeated.OUT;  // the start of the step to 1440
    call(repeated, third, 1440);
    EXPECT_EQ(call(repeated, third, 900), before);  // back: the start of the step
    EXPECT_EQ(call(repeated, third, 900), before);  // and a repetition there integrates nothing
    // 540 s from the start state, as from the same state at 1080 to 1620.
    EXPECT_EQ(call(repeated, third, 1440), call(single, third, 1620));
    EXPECT_NE(single.OUT, before);

    // The first call returns the initial state and T0 cp m n.
    BlockInstance fresh = tankst(p);
    const auto out = call(fresh, first, 5000);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 10), std::vector<float>(10, 20.0f));
    EXPECT_NEAR(out[10], 20.0 * 4186 * 1000 * 0.3, 1.0);
    // Negative flows are none.
    const auto still = call(fresh, {60, 0, 10, 0, 15}, 5360);
    EXPECT_EQ(call(fresh, {60, -0.5, 10, -2, 15}, 5360), still);
}

// 200 nodes of 1.5 kg with water's conductivity, at hourly steps: a step of one sub-step
// per 360 s would take 3.6 times a node's content by conduction alone. The split keeps
// every node within the temperatures that enter, and the exchanges balance.
TEST(Tankst, FineNodesStayBounded) {
    TankParameters p;
    p.nodes = 200;
    BlockInstance b = tankst(p);
    const Inputs days[] = {{85, 0.06, 10, 0.02, 20}, {15, 0.3, 90, 0.3, 20}, {50, 0.0, 10, 0.0, -5}};
    float time = 0;
    for (int h = 0; h < 72; ++h) {
        const Inputs& in = days[h / 24];
        const auto& out = call(b, in, time += 3600.0f);
        for (int k = 0; k < 200; ++k) {
            ASSERT_GE(out[k], -5.0f - 1e-3f) << h << " " << k;
            ASSERT_LE(out[k], 90.0f + 1e-3f) << h << " " << k;
        }
    }
}

// Without conduction and loss a charge front moves at the volume flow over the
// cross-section: after the charging flow has carried a node mass k times, the front
// stands at node k.
TEST(Tankst, FrontTravelsAtTheVolumeFlowOverTheSection) {
    TankParameters p;
    p.nodes = 200;
    p.lambda = 0;
    p.loss = 0;
    BlockInstance b = tankst(p);
    const double nodeMass = 1000 * 0.3 / 200;
    const Inputs in{60, nodeMass / 120, 10, 0, 20};  // half a node mass per minute
    call(b, in, 0);
    for (int minute = 1; minute <= 200; ++minute) call(b, in, minute * 60.0f);
    const auto warm = std::find_if(b.OUT.begin(), b.OUT.begin() + 200, [](float t) { return t < 40.0f; });
    EXPECT_NEAR(warm - b.OUT.begin(), 100, 2);  // 200 minutes, half a node each
}

// TANKFM's tank temperature follows dT/dt = (C/m) (T_inf - T), with C the two flows and
// U a/cp. In steps of C dt/m = x = 0.006 explicit Euler stays within x/2e of the 50 K
// it falls (0.06 K) of it; in hourly steps with
// C dt/m of 4.3 (where one explicit step would overshoot) the tank approaches T_inf
// monotonically, never past it, and never slower than the exact solution.
TEST(Tankfm, FollowsTheExactSolutionOfItsEquation) {
    const float volume = 0.2f, diameter = 0.5f, cp = 4186, density = 1000, u = 1.5f;
    const double m = density * volume, ends = std::numbers::pi * diameter * diameter / 4;
    const double surface = volume / ends * diameter * std::numbers::pi + 2 * ends;
    for (const auto& [flow, step, steps, tolerance] :
         {std::tuple{0.02, 30.0, 1200, 0.1}, std::tuple{0.12, 3600.0, 6, -1.0}}) {
        BlockInstance b(block("st0028"), {.inputs = 6, .parameters = {volume, diameter, cp, density, u, 70}});
        ASSERT_EQ(b.init(), 0);
        const double c = 2 * flow + u * surface / cp;
        const double tInf = (flow * 10 + flow * 30 + u * surface / cp * 20) / c;
        b.step({10, static_cast<float>(flow), 30, static_cast<float>(flow), 20, 0});
        for (int k = 1; k <= steps; ++k) {
            const double exact = tInf + (70 - tInf) * std::exp(-c * step * k / m);
            const float t = b.step({10, static_cast<float>(flow), 30, static_cast<float>(flow), 20,
                                    static_cast<float>(step * k)})[0];
            if (tolerance > 0) {
                ASSERT_NEAR(t, exact, tolerance) << k;
            } else {
                ASSERT_GE(t, tInf - 1e-4) << k;
                ASSERT_LE(t, exact + 1e-4) << k;
            }
            EXPECT_NEAR(b.OUT[1], t * cp * m, 1e-6 * std::fabs(t * cp * m) + 1);
        }
    }
}

TEST(Tanks, ParametersRefusedAtInitialisation) {
    struct Case {
        const char* routine;
        std::vector<float> parameters;
        std::vector<int> codes;
        std::vector<std::string> parameterNumbers;
    };
    const Case cases[] = {
        {"st0003", {0.3f, 1, 0.6f, 4186, 1000, 0.8f, 0.6f, 20}, {305191}, {"2"}},
        {"st0003", {0.3f, 200.6f, 0.6f, 4186, 1000, 0.8f, 0.6f, 20}, {305191}, {"2"}},
        {"st0003", {0, 10, -0.6f, 0, 0, -1, -0.1f, NAN}, {305190, 305192, 305193, 305194, 305195, 305196, 305189},
         {"1", "3", "4", "5", "6", "7", "8"}},
        {"st0028", {-1, 0, 4186, NAN, 0.8f, 20}, {305190, 305192, 305194}, {"1", "2", "4"}},
        {"st0028", {0.3f, 0.6f, 0, 1000, -0.8f, INFINITY}, {305193, 305195, 305189}, {"3", "5", "6"}},
    };
    for (const Case& c : cases) {
        BlockInstance b(block(c.routine), {.inputs = 6, .parameters = c.parameters});
        const auto m = messagesOf([&] { b.init(); });
        EXPECT_EQ(m.codes, c.codes) << c.routine;
        for (std::size_t i = 0; i < m.records.size() && i < c.parameterNumbers.size(); ++i) {
            EXPECT_EQ(m.records[i]["i10"], c.parameterNumbers[i]);
            EXPECT_EQ(m.records[i]["s1"], c.routine == std::string("st0003") ? "TANKST" : "TANKFM");
        }
        // A step after a refused initialisation changes nothing.
        const auto out = b.OUT;
        b.step({50, 1, 10, 1, 20, 100});
        b.step({50, 1, 10, 1, 20, 200});
        EXPECT_EQ(b.OUT, out);
    }
}
