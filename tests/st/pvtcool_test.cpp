// PVTCOOL through the block harness: an equilibrium that stays put, the clear night sky's
// long-wave balance -eps sigma (Ta^4 - Tsky^4), condensation below the dew point, and
// model 1's steady useful heat against the ISO 9806 equation of an uncovered collector,
// q = eta0 (1 - bu u) G'' - (b1 + b2 u)(tm - ta) with G'' = G + eps (E_L - sigma Ta^4)
// and tm the mean of inlet and outlet, within 5 %. Then the per-instance state (two
// areas side by side, the largest one under the sanitizers), what initialisation refuses
// or warns about, the iteration and sub-step limits, and inputs that are bad or missing.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using Codes = std::vector<int>;

namespace {

constexpr double kSigma = 5.67e-8;

// Parameters in model order: a 10 m2 collector of water, the coefficient between absorber
// and fluid from input 11 (so that initialisation stays silent unless a test asks).
struct Collector {
    std::vector<float> p = {1,    1,    2,     1,    10,   0,    0,   0.6f, 0.02f, 10,    1.5f, 0.9f, 0.9f, 10,  4.186f,
                            1,    1,    30,    0.9f, 0.9f, 0.9f, 1,   0.15f, 8.5f, 8,    37,   30,   -0.4f, 1,  0.9f};
    Collector& set(int i, float v) {
        p[static_cast<std::size_t>(i)] = v;
        return *this;
    }
};

// Inputs in model order (irradiances in kJ/(h m2), flow in kg/h).
struct Weather {
    float g = 0, beam = 0, theta = 30, zenith = 40, azimuth = 0, tu = 20, pu = 1013, rh = 50, sky = 20, wind = 2,
          ukon = 15, uint = 60, tfe = 20, flow = 100, pv = 1, ground = 20;
    std::vector<float> list() const {
        return {g, beam, theta, zenith, azimuth, tu, pu, rh, sky, wind, ukon, uint, tfe, flow, pv, ground};
    }
};

BlockInstance pvtcool(const Collector& c, int inputs = 16) {
    return BlockInstance(vireo_test::library("VireoST").block("st0044"), {.inputs = inputs, .parameters = c.p});
}

const std::vector<float>& run(BlockInstance& b, const Weather& w, int calls) {
    for (int i = 1; i < calls; ++i) b.step(w.list());
    return b.step(w.list());
}

}  // namespace

TEST(Pvtcool, EquilibriumNightAndDew) {
    for (int model = 1; model <= 4; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        // Everything at 20 degC, no sun, the sky at the ambient, horizontal: nothing moves.
        BlockInstance still = pvtcool(Collector{}.set(0, static_cast<float>(model)));
        ASSERT_EQ(still.init(), 0);
        const auto& out = run(still, Weather{}, 300);
        for (int i : {1, 3}) EXPECT_NEAR(out[static_cast<std::size_t>(i)], 20, 1e-5) << i;
        EXPECT_NEAR(out[5], model >= 3 ? 20 : -99, 1e-5);
        for (int i : {2, 4, 6, 9, 10, 11}) EXPECT_NEAR(out[static_cast<std::size_t>(i)], 0, 1e-6) << i;
        for (double t : still.DP) EXPECT_TRUE(t == 0 || std::fabs(t - 20) < 1e-9) << t;

        // A clear night: the net irradiance is the long-wave balance with the sky, and the
        // fluid leaves colder than it came.
        Weather night;
        night.tu = 10, night.sky = -20, night.tfe = 10, night.rh = 40;
        BlockInstance cold = pvtcool(Collector{}.set(0, static_cast<float>(model)));
        ASSERT_EQ(cold.init(), 0);
        const auto& dark = run(cold, night, 60);
        const double balance = -0.9 * kSigma * (std::pow(283.15, 4) - std::pow(253.15, 4));
        EXPECT_NEAR(dark[9], balance, 1e-4 * std::fabs(balance));
        EXPECT_NEAR(dark[10], dark[9], 1e-6 * std::fabs(balance));
        EXPECT_LT(dark[1], night.tfe - 0.5f);
        EXPECT_LT(dark[2], 0);
        EXPECT_GT(dark[11], 0);  // the fluid below the ambient gains from the air

        // Humid air over a surface below its dew point (13.4 degC at 15 degC and 90 %):
        // the models with condensation gain its heat.
        Weather dew = night;
        dew.tu = 15, dew.rh = 90, dew.sky = -30, dew.tfe = 6;
        BlockInstance wet = pvtcool(Collector{}.set(0, static_cast<float>(model)));
        ASSERT_EQ(wet.init(), 0);
        const auto& humid = run(wet, dew, 120);
        if (model == 2 || model == 4) EXPECT_GT(humid[4], 10);
        else EXPECT_EQ(humid[4], 0);
        EXPECT_EQ(humid[7] == -99, model == 1);
    }
}

TEST(Pvtcool, SteadyUsefulHeatOfTheUncoveredCollector) {
    struct Case {
        float g, tu, sky, wind, tfe, flow;
    };
    const Case cases[] = {{800, 25, 10, 2, 20, 500}, {600, 10, -5, 4, 30, 300}, {0, 15, -10, 1, 5, 400},
                          {950, 30, 15, 0.5f, 45, 800}};
    const Collector c = Collector{}.set(15, 1);  // the diffuse part counts as the beam, as the equation takes it
    const double eta0 = c.p[7], bu = c.p[8], b1 = c.p[9], b2 = c.p[10], eps = c.p[12], area = c.p[4];
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "G " << k.g << ", inlet " << k.tfe);
        Weather w;
        w.g = 3.6f * k.g, w.beam = 0.7f * w.g, w.tu = k.tu, w.sky = k.sky, w.wind = k.wind, w.tfe = k.tfe;
        w.flow = k.flow;
        BlockInstance b = pvtcool(c);
        ASSERT_EQ(b.init(), 0);
        const auto& out = run(b, w, 400);
        const double net = k.g + eps * kSigma * (std::pow(k.sky + 273.15, 4) - std::pow(k.tu + 273.15, 4));
        EXPECT_NEAR(out[9], net, 1e-4 * std::fabs(net));
        const double tm = (k.tfe + out[1]) / 2.0;
        const double iso = eta0 * (1 - bu * k.wind) * net - (b1 + b2 * k.wind) * (tm - k.tu);
        const double q = out[2] / 3.6 / area;
        EXPECT_NEAR(q, iso, 0.05 * std::fabs(iso));
        EXPECT_NEAR(out[2], (out[1] - k.tfe) * k.flow * 4.186, 1e-3 * std::fabs(out[2]) + 1e-3);
        // The block's mean goes over the nodes after the inlet, a twentieth of the rise
        // above the mean of inlet and outlet in a linear profile.
        const double loss = b1 + b2 * k.wind;
        EXPECT_NEAR(out[11], -(tm - k.tu) * loss, 0.1 * std::fabs(out[1] - k.tfe) * loss + 0.5);
    }
}

// The balance of the segments from their start at 20 degC through half an hour of sun
// and of a clear, dewy night, in every model: the heat taken in (eta0 (1 - bu u) times
// the net irradiance, the dew's heat, less the electricity taken off) is the useful heat,
// the loss (b1 + b2 u)(tf - tu) the block reports and what the fluid stores (ceff A times
// the rise of the mean segment temperature in the state), within 1.5 % of the largest:
// the explicit sub-steps take the loss and the inflow at their start and the block
// reports them at their end, which a step from 20 degC to the night's inlet shows.
// Dew and electricity are a fifth or more of the largest term here.
TEST(Pvtcool, HeatTakenInIsUsefulHeatLossAndStored) {
    Weather day;
    day.g = 3.6f * 800, day.beam = 0.7f * day.g, day.tu = 25, day.sky = 10, day.tfe = 15, day.flow = 150;
    Weather night;
    night.tu = 15, night.rh = 90, night.sky = -30, night.tfe = 12, night.flow = 50, night.wind = 1;
    for (const Weather& w : {day, night})
        for (int model = 1; model <= 4; ++model) {
            SCOPED_TRACE(testing::Message() << "model " << model << ", G " << w.g);
            const Collector c = Collector{}.set(0, static_cast<float>(model));
            const double area = c.p[4], capacity = c.p[13] * 1000.0 * area;
            const double eta = c.p[7] * (1 - c.p[8] * w.wind);
            BlockInstance b = pvtcool(c);
            ASSERT_EQ(b.init(), 0);
            const auto segments = [&] {  // mean fluid temperature of nodes 1..100
                double sum = 0;
                for (std::size_t j = 0; j < 100; ++j) sum += b.DP[101 + j];
                return sum / 100;
            };
            double in = 0, useful = 0, lost = 0, stored = 0, dew = 0;
            for (int call = 0; call < 30; ++call) {
                const double before = segments();
                const std::vector<float> out = b.step(w.list());
                in += (eta * out[9] * area + out[4] / 3.6 - out[6]) * 60;
                dew += out[4] / 3.6 * 60;
                useful += out[2] / 3.6 * 60;
                lost -= out[11] * area * 60;
                stored += capacity * (segments() - before);
            }
            const double largest = std::max({std::fabs(in), std::fabs(useful), std::fabs(lost), std::fabs(stored)});
            EXPECT_NEAR(in, useful + lost + stored, 0.015 * largest)
                << "in " << in << " useful " << useful << " lost " << lost << " stored " << stored;
            EXPECT_GT(std::fabs(stored), 0.05 * largest);  // a transient, not a steady state
            if (w.g == 0 && (model == 2 || model == 4)) {
                EXPECT_GT(dew, 0.2 * largest);
            }
        }
}

// The exact steady state of a collector with a linear loss (Duffie and Beckman, Solar
// Engineering of Thermal Processes, ch. 6, F' = 1): the fluid approaches T* = tu + S/U
// as T* + (tin - T*) exp(-U A/(m cp)), S = eta0 (1 - bu u) G - P/A the heat the absorber
// takes in less the electricity it gives off, U = b1 + b2 u. The useful heat lies within
// 1 % of it at any area and flow (NTU 0.2 to 3), and in the PV models the electricity
// leaves the balance whole: heat plus electricity is what the absorber takes in less the
// loss the block reports, within 1 %.
TEST(Pvtcool, SteadyHeatAgainstTheExactSolutionAtAnyArea) {
    Weather w;
    w.g = 3.6f * 1000, w.beam = w.g, w.theta = 0, w.tu = 20, w.sky = 20, w.ground = 20, w.wind = 2, w.tfe = 15;
    for (const float model : {1.0f, 3.0f, 4.0f})
        for (const float area : {0.5f, 1.0f, 2.0f, 10.0f, 150.0f})
            for (const double ntu : {0.2, 1.0, 3.0}) {
                SCOPED_TRACE(testing::Message() << "model " << model << ", " << area << " m2, NTU " << ntu);
                const Collector c = Collector{}.set(0, model).set(4, area).set(12, 0);  // no long-wave balance
                const double eta0 = c.p[7] * (1 - c.p[8] * w.wind), loss = c.p[9] + c.p[10] * w.wind;
                const double capacity = loss * area / ntu;  // W/K
                w.flow = static_cast<float>(capacity * 3600 / (c.p[14] * 1000));
                BlockInstance b = pvtcool(c);
                ASSERT_EQ(b.init(), 0);
                const auto& out = run(b, w, 120);
                const double electricity = out[6], taken = eta0 * 1000 * area;
                EXPECT_EQ(electricity > 0, model >= 3);
                EXPECT_EQ(out[4], 0);  // no dew on a warm collector
                const double star = w.tu + (taken - electricity) / area / loss;
                const double exact = capacity * (star - w.tfe) * (1 - std::exp(-ntu));
                const double heat = out[2] / 3.6;  // W
                EXPECT_NEAR(heat, exact, 0.01 * exact);
                EXPECT_NEAR(heat + electricity, taken + area * out[11], 0.01 * taken);
            }
}

TEST(Pvtcool, SentinelsStandingFluidAndPvPower) {
    Weather sun;
    sun.g = 3.6f * 700, sun.beam = 0.6f * sun.g, sun.tu = 25, sun.tfe = 22;
    for (int model = 1; model <= 4; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        BlockInstance b = pvtcool(Collector{}.set(0, static_cast<float>(model)));
        ASSERT_EQ(b.init(), 0);
        const auto& out = run(b, sun, 5);
        EXPECT_EQ(out[5] == -99, model <= 2);
        EXPECT_EQ(out[7] == -99, model == 1);
        EXPECT_EQ(out[6] > 0, model >= 3);
        if (model >= 3) {
            EXPECT_NEAR(out[6], 0.15 * 700 * 10, 0.3 * 0.15 * 700 * 10);
        }
        EXPECT_EQ(out[0], 100);
        EXPECT_EQ(out[8], 60);
    }
    // Without its switch the PV layer gives no power, and a beam from behind the plane
    // counts for nothing in the modified irradiance.
    BlockInstance off = pvtcool(Collector{}.set(0, 3));
    ASSERT_EQ(off.init(), 0);
    Weather w = sun;
    w.pv = 0;
    EXPECT_EQ(run(off, w, 3)[6], 0);
    BlockInstance behind = pvtcool(Collector{}.set(0, 1).set(15, 0.5f));
    ASSERT_EQ(behind.init(), 0);
    w.theta = 95;
    const auto& out = run(behind, w, 1);
    EXPECT_NEAR(out[10], out[9] * 0.5 * 0.4, 1e-3 * std::fabs(out[9]));  // only the diffuse 40 %
    // No flow: the outlet is the last segment's node, the useful heat 0.
    BlockInstance standing = pvtcool(Collector{});
    ASSERT_EQ(standing.init(), 0);
    w.flow = 0;
    const auto& still = run(standing, w, 10);
    const int nj = 101;  // 100 segments at any area
    EXPECT_EQ(still[1], static_cast<float>(standing.DP[nj + nj - 2]));
    EXPECT_EQ(still[2], 0);
    EXPECT_GT(still[1], 25);  // warmer than the air it started from
    w.flow = -50;  // a negative flow is none
    EXPECT_EQ(standing.step(w.list())[0], 0);
}

// Segment count and computed coefficient belong to each instance: a second collector of
// another area never changes how the first reads its state. Every area has 101 nodes and
// fills the declared 303 doubles from index 0.
TEST(Pvtcool, InstancesOfDifferentAreasEachAsAlone) {
    Weather w;
    w.g = 3.6f * 600, w.beam = 0.5f * w.g, w.tu = 18, w.sky = 5, w.tfe = 15, w.flow = 900;
    const auto collector = [](float area, float model) {
        return Collector{}.set(4, area).set(0, model).set(3, 2).set(10, 0).set(8, 0);
    };
    for (float model : {1.0f, 4.0f}) {
        BlockInstance small = pvtcool(collector(10, model)), large = pvtcool(collector(150, model));
        BlockInstance alone = pvtcool(collector(10, model));
        ASSERT_EQ(small.init(), 0);
        ASSERT_EQ(large.init(), 0);
        ASSERT_EQ(alone.init(), 0);
        EXPECT_EQ(large.DP.size(), 303u);
        for (double t : large.DP) EXPECT_EQ(t, 20);
        for (double t : small.DP) EXPECT_EQ(t, 20);
        // The sawtooth inlet leaves the fluid colder downstream at times, where the absorber
        // taken as steady may drop below the dew point and the iteration not settle.
        messagesOf([&] {
            for (int call = 0; call < 30; ++call) {
                w.tfe = 15 + static_cast<float>(call % 7);
                large.step(w.list());
                ASSERT_EQ(small.step(w.list()), alone.step(w.list())) << call;
            }
        });
        EXPECT_EQ(small.RP[0], alone.RP[0]);
        for (float v : large.OUT) EXPECT_TRUE(std::isfinite(v));
        EXPECT_GT(large.OUT[2], small.OUT[2]);
        EXPECT_GT(large.OUT[1], small.OUT[1]);
    }
}

TEST(Pvtcool, InitialisationRefusesAndWarns) {
    struct Case {
        std::vector<double> changes;  // index, value, ...
        Codes codes;
    };
    const Case cases[] = {
        {{4, 0.49f}, {305731}},
        {{0, 0.9f, 13, 0, 14, -1}, {305011, 308002, 308002}},
        {{0, 5}, {305011}},
        {{0, 3, 1, 3}, {305011}},
        {{0, 1, 1, 3}, {}},  // the PV model is not read by model 1
        {{0, 4.9f, 1, 2, 23, 0, 26, -1}, {305732, 305732}},
        {{0, 3, 1, 1, 23, 0}, {}},
        {{20, NAN, 29, INFINITY}, {305189, 305189}},
        {{4, 1e6}, {}},  // at most 100 segments
    };
    for (const Case& c : cases) {
        Collector k;
        for (std::size_t i = 0; i < c.changes.size(); i += 2)
            k.set(static_cast<int>(c.changes[i]), static_cast<float>(c.changes[i + 1]));
        BlockInstance b = pvtcool(k);
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, c.codes) << c.changes[0] << " " << c.changes[1];
        const auto out = b.OUT;
        Weather w;
        w.g = 2000;
        b.step(w.list());
        if (!c.codes.empty()) EXPECT_EQ(b.OUT, out);
        else EXPECT_NE(b.OUT, out);
    }
    // Every model reads inputs 1 to 14; 15 and 16 read 0 when left out.
    BlockInstance few = pvtcool(Collector{}, 13);
    const auto m = messagesOf([&] { few.init(); });
    ASSERT_EQ(m.codes, Codes{305730});
    EXPECT_EQ(m.records[0]["i10"], "13");
    few.step();
    for (float v : few.OUT) EXPECT_EQ(v, 0);
    BlockInstance fourteen = pvtcool(Collector{}.set(0, 3), 14), sixteen = pvtcool(Collector{}.set(0, 3));
    ASSERT_EQ(fourteen.init(), 0);
    ASSERT_EQ(sixteen.init(), 0);
    Weather w;
    w.g = 3000, w.pv = 0, w.ground = 0;
    const auto list = w.list();
    EXPECT_EQ(fourteen.step({list.begin(), list.begin() + 14}), sixteen.step(list));

    // The coefficient from the efficiency curve: an ordinary uncovered collector's misses
    // the curve by more than a fifth at some wind, which is a warning; the temperatures
    // start at 20 degC all the same. Without wind dependence it is silent.
    BlockInstance ordinary = pvtcool(Collector{}.set(3, 2));
    const auto warned = messagesOf([&] { ordinary.init(); });
    ASSERT_EQ(warned.codes, Codes{205730});
    EXPECT_GT(ordinary.RP[0], 0);
    for (std::size_t i = 0; i < 33; ++i) EXPECT_EQ(ordinary.DP[i], 20);
    BlockInstance calm = pvtcool(Collector{}.set(3, 2).set(8, 0).set(10, 0));
    EXPECT_EQ(messagesOf([&] { calm.init(); }).codes, Codes{});
    EXPECT_NEAR(calm.RP[0], 10 / (1 - 0.6 / 0.9), 1e-4);
    EXPECT_EQ(calm.step(Weather{}.list())[8], calm.RP[0]);
    // A second initialisation starts from a clean flag.
    EXPECT_EQ(messagesOf([&] { calm.init(); }).codes, Codes{});
}

TEST(Pvtcool, IterationAndSubStepLimitsAreReported) {
    // Relaxing by 2 from a fixed point's far side swings between two values for ever.
    BlockInstance swinging = pvtcool(Collector{}.set(0, 2).set(28, 2));
    ASSERT_EQ(swinging.init(), 0);
    Weather w;
    w.g = 3000, w.tu = 30;
    EXPECT_EQ(messagesOf([&] { swinging.step(w.list()); }).codes, Codes{205098});
    EXPECT_EQ(swinging.IP[0], 205098);
    EXPECT_EQ(messagesOf([&] { run(swinging, w, 3); }).codes, Codes{});
    for (float v : swinging.OUT) EXPECT_TRUE(std::isfinite(v));
    const int counted = swinging.IP[10];
    EXPECT_GE(counted, 4);
    const auto summary = messagesOf([&] { swinging.last(); });
    ASSERT_EQ(summary.codes, Codes{205062});
    EXPECT_EQ(summary.records[0]["i8"], std::to_string(counted));

    // A flow that would need more than 6000 sub-steps leaves the step out.
    BlockInstance flood = pvtcool(Collector{});
    ASSERT_EQ(flood.init(), 0);
    const auto before = flood.step(w.list());
    const auto dp = flood.DP;
    w.flow = 1e7f;
    EXPECT_EQ(messagesOf([&] { flood.step(w.list()); }).codes, Codes{205731});
    EXPECT_EQ(messagesOf([&] { flood.step(w.list()); }).codes, Codes{});
    EXPECT_EQ(flood.OUT, before);
    EXPECT_EQ(flood.DP, dp);
    const auto left = messagesOf([&] { flood.last(); });
    ASSERT_EQ(left.codes, Codes{205732});
    EXPECT_EQ(left.records[0]["i8"], "2");
    w.flow = 1e4f;  // 1 000 kg/(h m2) still runs
    EXPECT_EQ(messagesOf([&] { flood.step(w.list()); }).codes, Codes{});
    EXPECT_NEAR(flood.OUT[1], w.tfe, 1.0);  // flushing what the first step warmed
}

// Inputs that are zero, negative, equal, huge or not numbers, in every slot and all at
// once, in every model and at the largest area: outputs stay finite.
TEST(Pvtcool, StaysFiniteOnBadInputs) {
    const float inf = std::numeric_limits<float>::infinity(), huge = 3e38f;
    const std::vector<float> values = {0, -1, -1e6f, 20, 1e6f, huge, -huge, inf, NAN};
    for (float model : {1.0f, 2.0f, 3.0f, 4.0f}) {
        Collector c = Collector{}.set(0, model).set(4, model == 4 ? 150 : 10);
        if (model == 3) c.set(1, 2).set(2, 1).set(3, 2);
        BlockInstance b = pvtcool(c);
        std::string failure;
        messagesOf([&] {
            b.init();
            for (float v : values)
                for (std::size_t slot = 0; slot <= 16; ++slot) {
                    std::vector<float> in = Weather{}.list();
                    if (slot < 16) in[slot] = v;
                    else in.assign(16, v);
                    const auto& out = b.step(in);
                    for (std::size_t o = 0; o < out.size(); ++o)
                        if (!std::isfinite(out[o]) && failure.empty())
                            failure = "output " + std::to_string(o) + " with " + std::to_string(v) + " in slot " +
                                      std::to_string(slot);
                }
            for (double t : b.DP)
                if (!std::isfinite(t) && failure.empty()) failure = "state";
            b.last();
        });
        EXPECT_EQ(failure, "") << model;
    }
}
