// The three controllers through the block harness as sequences of calls, each row the
// inputs of one call and the outputs it must give; the heat that hot water and heating
// take from their stores and from auxiliary heat against the demand; and all eight blocks
// of this group given zero, negative, equal and absurd inputs.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

BlockInstance placed(const char* routine, int inputs, const std::vector<float>& parameters) {
    BlockInstance b(block(routine), {.inputs = inputs, .parameters = parameters});
    EXPECT_EQ(b.init(), 0) << routine;
    return b;
}

// CTRL4DY: primary and secondary flow 0.1 and 0.08 kg/s, switch-on difference 5 K,
// minimum run time 300 s, pump powers 40 and 30 W, pumps one after the other, charging
// flow 0.2 kg/s, hot water at 45 degC, water 4186 J/(kg K), heating drop 10 K.
const std::vector<float> kPlant = {0.1f, 0.08f, 5, 300, 40, 30, 0, 0.2f, 45, 4186, 10};

struct PlantInputs {
    float tcol = 20, tcOut = 20, tstTop = 50, tstBot = 20, time = 0, twwTop = 50, twwBot = 50, draw = 0,
          tCold = 10, unused = 0, demand = 0, tSupply = 40;
    std::vector<float> list() const {
        return {tcol, tcOut, tstTop, tstBot, time, twwTop, twwBot, draw, tCold, unused, demand, tSupply};
    }
};

std::vector<float> loop(const std::vector<float>& out) { return {out[0], out[1], out[2], out[3]}; }

// CTRLDA: generator, absorber and evaporator flows 1, 2 and 1.5 kg/s; lowest generator
// temperature 70, start 80, lowest absorber inlet 27, cold supply 8 and return 14,
// lowest evaporator outlet 5 degC; pump powers 0.1, 0.2, 0.15, chiller 0.5,
// distribution pump 0.4 kW.
const std::vector<float> kChiller = {1, 2, 1.5f, 70, 80, 27, 8, 14, 5, 0.1f, 0.2f, 0.15f, 0.5f, 0.4f};

struct ChillerInputs {
    float tstTop = 85, tgOut = 65, teOut = 7, tcsTop = 9, tcsMid = 9, tcsBot = 10, demand = 0, tctw = 30;
    std::vector<float> list() const { return {tstTop, tgOut, teOut, tcsTop, tcsMid, tcsBot, demand, tctw}; }
};

// Generator, absorber, evaporator flow and the four chiller powers.
std::vector<float> chiller(const std::vector<float>& out) {
    return {out[0], out[1], out[2], out[7], out[8], out[9], out[10]};
}
const std::vector<float> kOff(7, 0.0f), kStarted = {1, 0, 0, 0.1f, 0, 0, 0}, kRunning = {1, 2, 1.5f, 0.1f, 0.2f, 0.15f, 0.5f};

}  // namespace

// On at x_max, off below x_max - dx; locked (off) from x_cr <= x_cr,min until x_cr
// reaches x_cr,min + dx. An input that is not a number changes nothing.
TEST(Ctrhys, SwitchingTable) {
    BlockInstance b = placed("st0036", 2, {60, 5, 10});
    struct Row {
        float x, xcr, y;
    };
    const Row rows[] = {{59.9f, 20, 0}, {60, 20, 1}, {55, 20, 1},   {54.9f, 20, 0}, {57, 20, 0},
                        {80, 10, 0},    {80, 14.9f, 0}, {80, 15, 1}, {80, 15, 1},   {80, 11, 1},
                        {80, 9, 0},     {NAN, NAN, 0},  {70, 20, 1}, {NAN, 20, 1},  {70, NAN, 1}};
    int k = 0;
    for (const Row& r : rows) EXPECT_EQ(b.step({r.x, r.xcr})[0], r.y) << "row " << k++;
    BlockInstance bad(block("st0036"), {.inputs = 2, .parameters = {60, -1, 10}});
    EXPECT_EQ(messagesOf([&] { bad.init(); }).codes, std::vector<int>{305366});
}

// The collector loop starts on the difference to the store's bottom, runs at least the
// minimum time from the call after its start, takes the secondary pump on the return's
// difference, and stops on the store's bottom against the return; above 95 degC at the
// store's top it stops until the top falls below 90, and then runs with its pump's power.
TEST(Ctrl4dy, CollectorLoopSwitchingTable) {
    BlockInstance b = placed("st0039", 12, kPlant);
    struct Row {
        float time, tcol, tcOut, tstTop, tstBot;
        std::vector<float> loop;
    };
    const std::vector<float> off = {0, 0, 0, 0}, primary = {0.1f, 0, 40, 0}, both = {0.1f, 0.08f, 40, 30};
    const Row rows[] = {
        {0, 40, 30, 50, 36, off},     {60, 42, 30, 50, 36, primary},   {120, 42, 30, 50, 36, primary},
        {180, 45, 42, 50, 36, both},  {240, 45, 42, 50, 43, off},      {300, 50, 44, 50, 45, off},
        {360, 51, 44, 50, 45, primary}, {420, 50, 44, 50, 45, primary}, {660, 50, 44, 50, 45, primary},
        {790, 50, 44, 50, 45, off},    {800, 60, 50, 60, 45, primary},  {820, 60, 50, 95, 45, primary},
        {880, 60, 50, 95.01f, 45, off}, {940, 60, 50, 92, 45, off},     {1000, 60, 50, 89.9f, 45, primary},
    };
    int k = 0;
    for (const Row& r : rows) {
        PlantInputs in;
        in.time = r.time, in.tcol = r.tcol, in.tcOut = r.tcOut, in.tstTop = r.tstTop, in.tstBot = r.tstBot;
        EXPECT_EQ(loop(b.step(in.list())), r.loop) << "row " << k++;
    }
    // With the option set both pumps start together.
    std::vector<float> together = kPlant;
    together[6] = 1.7f;
    BlockInstance c = placed("st0039", 12, together);
    PlantInputs in;
    in.tcol = 60, in.tstBot = 40;
    EXPECT_EQ(loop(c.step(in.list())), both);
}

// A made-up plant over two days of 60-s steps: a collector node of 4 m2 (optical
// efficiency 0.8, UL 16 W/K, 40 kJ/K) under a half-sine sun of 800 W/m2 from 06:00 to
// 18:00 and none else, in 15 degC ambient; an exchanger of effectiveness 0.6 while the
// secondary flows; a mixed store of 300 kg losing 2 W/K. The return is the collector's
// temperature less what the exchanger takes, after a return pipe whose fluid moves one
// step's worth while the primary flows and otherwise cools towards the ambient in an
// hour. Pumps started one after the other or together, the loop runs with the sun, not
// without it (at night the collector is colder than the store, so with the secondary
// running the return comes back no warmer than the store's bottom, which stops the
// loop), and it starts about once a day: a return still cold from the night does not
// stop a loop within its minimum run time.
TEST(Ctrl4dy, ACollectorLoopRunsWithTheSunAndStopsWithoutIt) {
    constexpr double cp = 4186, area = 4, optical = 0.8, ul = 16, collector = 40e3, ambient = 15;
    constexpr double exchanger = 0.6, store = 300 * cp, storeLoss = 2, dt = 60;
    struct Case {
        float together;
        std::size_t pipe;  // steps of flow the return lags
    };
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{0, 3}, Case{1, 3}}) {
        BlockInstance b = placed("st0039", 12, {0.1f, 0.1f, 6, 600, 50, 40, c.together, 0.05f, 45, 4186, 10});
        double tcol = 20, tst = 20;
        std::vector<double> returnPipe(c.pipe + 1, 20.0);  // the oldest at the front
        int daySteps = 0, nightSteps = 0, starts = 0;
        bool running = false;
        for (int k = 0; k < 2 * 24 * 60; ++k) {
            const double hour = std::fmod(k * dt / 3600, 24.0);
            const bool sunny = hour >= 6 && hour < 18;
            const double sun = sunny ? 800 * std::sin(std::numbers::pi * (hour - 6) / 12) : 0;
            PlantInputs in;
            in.time = float(k * dt), in.tcol = float(tcol), in.tcOut = float(returnPipe.front());
            in.tstTop = in.tstBot = float(tst);
            const auto& out = b.step(in.list());
            const double primary = out[0] * cp, secondary = out[1] * cp;
            const double q = primary > 0 && secondary > 0 ? exchanger * std::min(primary, secondary) * (tcol - tst) : 0;
            if (primary > 0) {
                returnPipe.erase(returnPipe.begin());
                returnPipe.push_back(tcol - q / primary);
            } else {
                for (double& t : returnPipe) t = ambient + (t - ambient) * std::exp(-dt / 3600);
            }
            tcol += dt / collector * (optical * sun * area - ul * (tcol - ambient) - q);
            tst += dt / store * (q - storeLoss * (tst - ambient));
            (sunny ? daySteps : nightSteps) += out[0] > 0;
            starts += out[0] > 0 && !running;
            running = out[0] > 0;
        }
        SCOPED_TRACE(::testing::Message() << "together " << c.together << ", return pipe " << c.pipe);
        EXPECT_EQ(nightSteps, 0);
        EXPECT_GT(daySteps * dt / 3600, 8.0);  // hours of the two days' sun the loop ran
        EXPECT_LE(starts, 4);
        EXPECT_GT(tst, 40.0);
    }
}

// Each block keeps its own run-time clock: a loop started later is not stopped by the
// minimum run time of another block's earlier start.
TEST(Ctrl4dy, EachBlockKeepsItsOwnClock) {
    BlockInstance early = placed("st0039", 12, kPlant), late = placed("st0039", 12, kPlant);
    const auto call = [](BlockInstance& b, float time, float tcol) {
        PlantInputs in;
        in.time = time, in.tcol = tcol, in.tcOut = 44, in.tstBot = 45;
        return loop(b.step(in.list()));
    };
    const std::vector<float> off = {0, 0, 0, 0}, primary = {0.1f, 0, 40, 0};
    EXPECT_EQ(call(early, 0, 60), primary);
    EXPECT_EQ(call(early, 60, 60), primary);  // the clock starts
    EXPECT_EQ(call(late, 200, 40), off);
    EXPECT_EQ(call(late, 250, 60), primary);
    EXPECT_EQ(call(late, 300, 60), primary);  // the clock starts
    EXPECT_EQ(call(early, 400, 60), off);      // 340 s run
    EXPECT_EQ(call(late, 400, 60), primary);   // 100 s run
    EXPECT_EQ(call(late, 550, 60), primary);
    EXPECT_EQ(call(late, 601, 60), off);
}

// Heating and hot water take from their store what mixes to the supply temperature and
// auxiliary heat makes up the rest: store heat plus auxiliary heat is the demand, and the
// store gives no more than the demand's flow. A store no warmer than the heating return,
// or cold water no colder than the hot-water supply, gives nothing. Heating stays on
// through a demand of 0 once and ends with it; a negative demand ends it.
TEST(Ctrl4dy, HeatingAndHotWaterSplitTheDemand) {
    BlockInstance b = placed("st0039", 12, kPlant);
    const double cp = 4186, drop = 10, supplyHotWater = 45;
    std::mt19937 random(21);
    std::uniform_real_distribution<float> temperature(5, 95), demand(1, 20000), draw(0.001f, 0.3f);
    int fromStore = 0;
    for (int k = 0; k < 400; ++k) {
        PlantInputs in;
        in.time = 60.0f * k, in.tstTop = temperature(random), in.tSupply = temperature(random) / 2 + 20;
        in.demand = demand(random), in.twwTop = temperature(random), in.draw = draw(random);
        in.tCold = temperature(random) / 4;
        const auto& out = b.step(in.list());
        const double tReturn = in.tSupply - drop, flow = in.demand / (drop * cp);
        SCOPED_TRACE(::testing::Message() << "call " << k);
        EXPECT_FLOAT_EQ(out[9], static_cast<float>(tReturn));
        EXPECT_GE(out[8], 0.0f);
        EXPECT_LE(out[8], flow * (1 + 1e-6));
        const double store = out[8] > 0 ? out[8] * cp * (in.tstTop - tReturn) : 0.0;
        EXPECT_NEAR(store + out[10], in.demand, 1e-4 * in.demand);
        EXPECT_GE(store, 0.0);
        fromStore += out[8] > 0;

        const double needed = in.draw * cp * (supplyHotWater - in.tCold);
        const double storeWater = out[6] * cp * (in.twwTop - in.tCold);
        EXPECT_NEAR(storeWater + out[7], needed, 1e-4 * needed);
        EXPECT_LE(out[6], in.draw * (1 + 1e-6));
    }
    EXPECT_GT(fromStore, 200);

    PlantInputs in;
    in.demand = 4186, in.tSupply = 40;  // 0.1 kg/s, return at 30 degC
    const auto heating = [&](float tstTop, float demand) {
        in.tstTop = tstTop, in.demand = demand;
        const auto& out = b.step(in.list());
        return std::vector<float>{out[8], out[10]};
    };
    EXPECT_EQ(heating(40, 4186), (std::vector<float>{0.1f, 0}));
    EXPECT_EQ(heating(25, 4186), (std::vector<float>{0, 4186}));
    EXPECT_EQ(heating(30, 4186), (std::vector<float>{0, 4186}));
    EXPECT_EQ(heating(35, 4186), (std::vector<float>{0.1f, 2093}));
    EXPECT_EQ(heating(35, 0), (std::vector<float>{0, 0}));
    EXPECT_EQ(heating(35, 0), (std::vector<float>{0, 0}));
    EXPECT_EQ(heating(35, 4186), (std::vector<float>{0.1f, 2093}));
    EXPECT_EQ(heating(35, -1), (std::vector<float>{0, 0}));

    in.demand = 0, in.draw = 0.05f, in.tCold = 50, in.twwTop = 60;
    const auto& out = b.step(in.list());
    EXPECT_EQ(out[6], 0.0f);
    EXPECT_EQ(out[7], 0.0f);
}

// The hot-water store charges while it is below the supply temperature and the heat store
// above it, until its bottom passes either; initialisation clears the block's own slots
// (no more: the harness's IP has exactly 18, so a write past them shows in the
// sanitizer build).
TEST(Ctrl4dy, ChargingAndInitialisation) {
    BlockInstance b(block("st0039"), {.inputs = 12, .parameters = kPlant});
    for (std::size_t i = 10; i < b.IP.size(); ++i) b.IP[i] = 7;
    EXPECT_EQ(b.init(), 0);
    EXPECT_EQ(std::vector<int>(b.IP.begin() + 11, b.IP.end()), std::vector<int>(7, 0));
    struct Row {
        float twwTop, twwBot, tstTop, charge;
    };
    const Row rows[] = {{50, 30, 60, 0}, {40, 30, 44, 0}, {40, 30, 60, 0.2f},
                        {50, 44, 60, 0.2f}, {50, 46, 60, 0}, {40, 30, 46, 0.2f}, {40, 47, 46, 0}};
    int k = 0;
    for (const Row& r : rows) {
        PlantInputs in;
        in.twwTop = r.twwTop, in.twwBot = r.twwBot, in.tstTop = r.tstTop;
        EXPECT_EQ(b.step(in.list())[5], r.charge) << "row " << k++;
    }
    std::vector<float> bad = kPlant;
    bad[10] = 0;
    BlockInstance refused(block("st0039"), {.inputs = 12, .parameters = bad});
    EXPECT_EQ(messagesOf([&] { refused.init(); }).codes, std::vector<int>{305367});
}

// The cold distribution: a store colder than the supply covers the demand mixed with the
// return, the heat it takes (flow times 4.19 kJ/(kg K) times the rise to the return) being
// the demand; a store between supply and return covers what it can, the rest uncovered;
// one above the return covers nothing. The pump's power goes with the cube of the flow
// through the consumers over the design flow, 35 kW at the design difference.
TEST(Ctrlda, DistributionAgainstItsHeatBalance) {
    BlockInstance b = placed("st0040", 8, kChiller);
    const double water = 4.19, design = 35 / (water * 6);
    ChillerInputs in;
    in.demand = 20;
    for (float bottom : {6.0f, 8.0f, 11.0f, 16.0f}) {
        in.tcsBot = bottom;
        const auto& out = b.step(in.list());
        const double consumers = 20 / (water * 6);
        SCOPED_TRACE(bottom);
        if (bottom <= 8) {
            EXPECT_NEAR(out[3] * water * (14 - bottom), 20, 1e-4);
            EXPECT_EQ(out[5], 0.0f);
            EXPECT_NEAR(out[11], 0.4 * std::pow(consumers / design, 3), 1e-6);
        } else if (bottom <= 14) {
            EXPECT_NEAR(out[3], consumers, 1e-6);
            EXPECT_NEAR(out[5], 20 - out[3] * water * (14 - bottom), 1e-4);
            EXPECT_NEAR(out[11], 0.4 * std::pow(consumers / design, 3), 1e-6);
        } else {
            EXPECT_EQ(out[3], 0.0f);
            EXPECT_EQ(out[5], 20.0f);
            EXPECT_EQ(out[11], 0.4f);
        }
        EXPECT_EQ(out[6], 14.0f);
        EXPECT_EQ(out[4], 30.0f);
    }
    in.demand = 0, in.tctw = 20;
    const auto& out = b.step(in.list());
    EXPECT_EQ(out[3], 0.0f);
    EXPECT_EQ(out[5], 0.0f);
    EXPECT_EQ(out[11], 0.0f);
    EXPECT_EQ(out[4], 27.0f);
}

// The chiller starts on the cold store's middle and the hot store, takes its circuits on
// the generator outlet, runs on with the evaporator outlet equal to the cold store's top,
// and stops on the hot store below the lowest generator temperature or on the
// evaporator outlet below its lowest; started and stopped in one call, it runs nothing.
TEST(Ctrlda, ChillerSwitchingTable) {
    BlockInstance b = placed("st0040", 8, kChiller);
    struct Row {
        float tstTop, tgOut, teOut, tcsTop, tcsMid;
        std::vector<float> chiller;
    };
    const Row rows[] = {
        {85, 65, 7, 9, 9.9f, kOff},    {80, 65, 7, 9, 10, kOff},    {85, 65, 7, 9, 10, kStarted},
        {85, 65, 7, 9, 5, kStarted},   {85, 75, 7, 9, 5, kRunning}, {85, 75, 7, 9, 5, kRunning},
        {85, 75, 9, 9, 5, kRunning},   {85, 75, 9, 9, 10, kRunning}, {69, 75, 9, 8, 10, kOff},
        {85, 65, 7, 9, 10, kStarted},  {85, 65, 4, 9, 10, kOff},    {85, 75, 4.9f, 9, 10, kOff},
    };
    int k = 0;
    for (const Row& r : rows) {
        ChillerInputs in;
        in.tstTop = r.tstTop, in.tgOut = r.tgOut, in.teOut = r.teOut, in.tcsTop = r.tcsTop, in.tcsMid = r.tcsMid;
        EXPECT_EQ(chiller(b.step(in.list())), r.chiller) << "row " << k++;
    }
    // A start temperature below the lowest generator temperature: started and stopped.
    std::vector<float> low = kChiller;
    low[4] = 60;
    BlockInstance c = placed("st0040", 8, low);
    ChillerInputs in;
    in.tstTop = 65, in.tgOut = 75, in.tcsMid = 12;
    EXPECT_EQ(chiller(c.step(in.list())), kOff);

    std::vector<float> bad = kChiller;
    bad[7] = 8;
    BlockInstance refused(block("st0040"), {.inputs = 8, .parameters = bad});
    const auto m = messagesOf([&] { refused.init(); });
    ASSERT_EQ(m.codes, std::vector<int>{305368});
    EXPECT_EQ(m.records[0]["i10"], "8");
}

// At constant inputs no controller switches an output at every call, also where its
// inputs lie on its switching rules' boundaries: each input drawn (seeded) from values
// that meet the parameters and one another exactly, and held for a dozen calls. CTRLDA
// with the evaporator outlet at the cold store's top keeps the chiller as it is.
TEST(Controllers, ConstantInputsOnTheBoundariesSwitchNothingAtEveryCall) {
    struct Controller {
        const char* routine;
        std::vector<float> parameters;
        std::vector<std::vector<float>> values;  // per input, those it is drawn from
        int time = -1;                           // the time input, moved on by 60 s a call
    };
    std::vector<float> together = kPlant;
    together[6] = 1;
    const std::vector<std::vector<float>> plant = {{40, 45, 50}, {40, 45, 50}, {50, 95}, {40, 45}, {0}, {40, 45, 50},
                                                   {40, 45, 50}, {0, 0.1f}, {10}, {0}, {0, 4186}, {40}};
    const Controller controllers[] = {
        {"st0036", {60, 5, 10}, {{55, 60, 65}, {10, 15}}},
        {"st0036", {60, 0, 10}, {{59, 60}, {10, 11}}},
        {"st0039", kPlant, plant, 4},
        {"st0039", together, plant, 4},
        {"st0040", {1, 2, 1.5f, 70, 80, 27, 12, 18, 5, .1f, .2f, .15f, .3f, .5f},
         {{69, 70, 80, 85}, {70, 78}, {5, 14}, {5, 14}, {14, 16}, {12, 13, 18}, {0, 20}, {27, 29}}},
    };
    std::mt19937 random(54);
    for (const Controller& c : controllers) {
        SCOPED_TRACE(c.routine);
        int chatter = 0;
        for (int draw = 0; draw < 200; ++draw) {
            BlockInstance b = placed(c.routine, int(c.values.size()), c.parameters);
            std::vector<float> in;
            for (const auto& v : c.values) in.push_back(v[random() % v.size()]);
            std::vector<std::vector<float>> outs;
            for (int k = 0; k < 12; ++k) {
                if (c.time >= 0) in[std::size_t(c.time)] = 60.0f * k;
                outs.push_back(b.step(in));
            }
            for (std::size_t k = 3; k < outs.size(); ++k)
                for (std::size_t i = 0; i < outs[k].size(); ++i)
                    chatter += outs[k][i] == outs[k - 2][i] && outs[k - 1][i] == outs[k - 3][i] &&
                               outs[k][i] != outs[k - 1][i];
        }
        EXPECT_EQ(chatter, 0);
    }
    // The case found: chiller, absorber and evaporator run on at every call.
    BlockInstance b = placed("st0040", 8, {1, 2, 1.5f, 70, 80, 27, 12, 18, 5, .1f, .2f, .15f, .3f, .5f});
    const std::vector<float> running = {1, 2, 1.5f, .1f, .2f, .15f, .3f};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(chiller(b.step({85, 78, 14, 14, 16, 13, 20, 29})), running) << k;
}

// Zero, negative, equal and absurd inputs, and times standing, going back and not a
// number: every output of the eight blocks stays a finite number.
TEST(FlowBlocks, EveryOutputStaysFiniteWhateverTheInputs) {
    struct Block {
        const char* routine;
        int inputs;
        std::vector<float> parameters;
    };
    const Block blocks[] = {
        {"st0032", 4, {0.3f, 0, 4186, 10, 385, 8900, 0.001f, 0.016f, 20, 1000, 10}},
        {"st0042", 3, {0.3f, 0, 4186, 10}},
        {"st0011", 4, {1000, 0, 4186}},
        {"st0034", 4, {}},
        {"st0041", 5, {100}},
        {"st0036", 2, {60, 5, 10}},
        {"st0039", 12, kPlant},
        {"st0040", 8, kChiller},
    };
    const float values[] = {0, -1, 50, 50, NAN, INFINITY, -INFINITY, 3e38f, -3e38f, 1e-40f, 1e30f, 0, 7};
    std::mt19937 random(31);
    for (const Block& row : blocks) {
        SCOPED_TRACE(row.routine);
        BlockInstance b = placed(row.routine, row.inputs, row.parameters);
        std::vector<std::string> faults;  // gathered, as the messages' capture takes standard output
        const auto check = [&](const std::vector<float>& in) {
            const auto& out = b.step(in);
            for (std::size_t i = 0; i < out.size(); ++i) {
                if (std::isfinite(out[i])) continue;
                std::string inputs;
                for (float v : in) inputs += std::to_string(v) + " ";
                faults.push_back("OUT " + std::to_string(i) + " after " + inputs);
            }
        };
        messagesOf([&] {
            for (float all : values) check(std::vector<float>(static_cast<std::size_t>(row.inputs), all));
            for (int k = 0; k < 300; ++k) {
                std::vector<float> in(static_cast<std::size_t>(row.inputs));
                for (float& v : in) v = values[random() % std::size(values)];
                check(in);
            }
        });
        EXPECT_EQ(faults, std::vector<std::string>{});
    }
}
