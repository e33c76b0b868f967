// What no model may bring about: parameters that would divide by zero, reach past a
// block's arrays, loop without end or start from an impossible state are refused at
// initialisation, each named; inputs
// at the ends of their ranges give finite outputs; a block repeated at the same time
// gives the same outputs and keeps the state of one call.
#include "message_capture.h"
#include "pp_blocks.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

using pp_test::instance;
using vireo_test::BlockInstance;

namespace {

struct Refusal {
    const char* routine;
    std::vector<float> parameters;
    std::vector<int> codes;       // in order
    std::vector<int> parameters1; // the 1-based parameter each names
};

const Refusal kRefusals[] = {
    {"pp0002", {0, -1, 0, 0, 0.9f, 0}, {308001, 308001, 308001, 308006}, {1, 2, 3, 6}},
    // A rim angle of 180 degrees or more, or below 0, leaves the trough without a focal
    // line in front of it.
    {"pp0002", {545, 5.76f, 20, 0, 0.9f, 180}, {308006}, {6}},
    {"pp0002", {545, 5.76f, 20, 0, 0.9f, -10}, {308006}, {6}},
    {"pp0003", {0, 0, 0.5f, 0.1f, 1, 1, 5000, 0, -1}, {308001, 308002, 308004, 308002, 308003}, {1, 2, 7, 8, 9}},
    {"pp0003", {20, 2300, 0.5f, 0.1f, 1, 1, -1, 5e5f, 10}, {308004}, {7}},
    // A negative loss coefficient or emittance makes the receiver gain the more the hotter
    // it is: without a temperature where it stops, the fluid ran up to millions of degrees.
    {"pp0003", {20, 2300, -0.5f, -0.1f, 1, 1, 5, 5e5f, 10}, {308003, 308012}, {3, 4}},
    {"pp0005", {0.3f, 0, 1, 0}, {308001, 308002}, {2, 4}},
    // A negative diameter or loss coefficient would warm the fluid away from ambient.
    {"pp0005", {-0.3f, 200, -1, 300}, {308001, 308003}, {1, 3}},
    {"pp0008", {0, 0.5f, 0, 0, 0, -1, 1e9f, 20}, {308001, 308005, 308001, 308002, 308002, 308003, 308004},
     {1, 2, 3, 4, 5, 6, 7}},
    {"pp0008", {100, 201, 5, 4000, 1000, 0, 1, 20}, {308005}, {2}},
    {"pp0009", {0, 0, 0, 0, -1, 20, 0, -1}, {308001, 308001, 308002, 308002, 308003, 308003}, {1, 2, 3, 4, 5, 8}},
    {"pp0009", {500, 8, 2300, 800, 0.5f, 20, -300}, {308009}, {7}},  // below absolute zero
    {"pp0010", {390, 5, 1, 0.5f, 20, -1}, {308007}, {6}},
    {"pp0010", {390, 5, 1, 0.5f, 20, 1e6f}, {308007}, {6}},
};

// Parameters a block runs with, and which of its inputs is the model time.
struct Running {
    const char* routine;
    std::vector<float> parameters;
    int timeInput;  // -1: none
};

const Running kRunning[] = {
    {"pp0001", {0, 5, 60, 300, 50, 80, 170, 10}, -1},
    {"pp0001", {2, 5, 60, 300, 50, 80, 170, 10}, -1},
    {"pp0002", {545, 5.76f, 20, 0, 0.9f, 80}, -1},
    {"pp0003", {20, 2300, 0.5f, 0.1f, 0.95f, 0.96f, 5, 5e5f, 10}, 4},
    {"pp0004", {17, 5.76f, 100}, -1},
    {"pp0005", {0.3f, 200, 1, 2300}, -1},
    {"pp0006", {}, -1},
    {"pp0007", {}, -1},
    {"pp0008", {500, 10, 8, 2300, 800, 0.5f, 2, 290}, 5},
    {"pp0009", {500, 8, 2300, 800, 0.5f, 290, 300, 0.2f}, 5},
    {"pp0010", {390, 5, 1, 0.5f, 20}, -1},
    {"pp0011", {}, -1},
    {"pp0012", {}, -1},
    {"pp0017", {0, 1, 300, 200, 0}, -1},
    {"pp0018", {2000, 1e9f, 8e8f, 1e-4f, 1e-9f}, 2},
};

std::vector<float> stateOf(const BlockInstance& b) {
    std::vector<float> s = b.RP;
    for (std::size_t i = 10; i < b.IP.size(); ++i) s.push_back(static_cast<float>(b.IP[i]));
    return s;
}

}  // namespace

TEST(PowerPlantInit, RefusesParametersThatCannotBeComputed) {
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.routine);
        auto b = instance(r.routine, r.parameters);
        const auto rp = b.RP;
        int status = 0;
        const auto m = vireo_test::messagesOf([&] { status = b.init(); });
        EXPECT_EQ(m.codes, r.codes);
        EXPECT_EQ(status, r.codes.front());
        std::vector<int> named;
        for (const auto& record : m.records) {
            if (record.isCall()) continue;
            named.push_back(std::stoi(record["i10"]));
            EXPECT_EQ(record["s1"], vireo_test::identify(pp_test::pp(r.routine)).nameList);
        }
        EXPECT_EQ(named, r.parameters1);
        EXPECT_EQ(b.RP, rp);  // a refused block starts nothing
    }
    // The edges that pass: a node count whose whole part is 200, a rim angle just below
    // 180 degrees, no passes given.
    for (const auto& [routine, parameters] : {std::pair<const char*, std::vector<float>>{"pp0008", {100, 200.9f, 5, 4000, 1000, 0, 0, 20}},
                                              {"pp0002", {545, 5.76f, 20, 0, 0.9f, 179.9f}},
                                              {"pp0010", {390, 5, 1, 0.5f, 20, 0}}}) {
        auto b = instance(routine, parameters);
        EXPECT_EQ(vireo_test::messagesOf([&] { b.init(); }).codes, std::vector<int>{}) << routine;
    }
}

TEST(PowerPlantInputs, ExtremeFiniteInputsGiveFiniteOutputs) {
    // Every input from the same set of magnitudes, times that jump, stand or run back.
    const float values[] = {0, 1e-3f, -1e-3f, 1, -1, 90, 180, 1e3f, -1e3f, 1e5f, -1e5f};
    const float timeSteps[] = {0, 1, 600, 1e5f, -600};
    std::mt19937 random(19);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(values) - 1), pickStep(0, std::size(timeSteps) - 1);
    for (const Running& r : kRunning) {
        SCOPED_TRACE(r.routine);
        auto b = instance(r.routine, r.parameters);
        ASSERT_EQ(b.init(), 0);
        float time = 0;
        for (int k = 0; k < 150; ++k) {
            std::vector<float> in(b.IN.size());
            for (float& v : in) v = values[pick(random)];
            if (r.timeInput >= 0) in[static_cast<std::size_t>(r.timeInput)] = time += timeSteps[pickStep(random)];
            const auto out = b.step(in);
            ASSERT_TRUE(pp_test::allFinite(out)) << "step " << k << ", inputs " << ::testing::PrintToString(in);
            ASSERT_TRUE(pp_test::allFinite(b.RP)) << "step " << k;
        }
    }
}

// A tie between parameters that initialisation refuses, broken by the editor during the
// run, is refused as at initialisation, naming the parameter, and the block does not step
// on it until a later change mends it: an exchanger with passes beyond its most, oil
// without heat capacity or a model it does not have, a tank whose mass leaves the float
// range.
TEST(PowerPlantChange, ATieBrokenDuringTheRunIsRefusedBeforeTheStep) {
    struct Change {
        const char* routine;
        std::vector<float> parameters;
        int parameter;  // 0-based
        float value;
        int code;
    };
    const std::vector<float> oil = {0, 500, 40, 1, 0, 2300, 400, 2300, 1, 0, 4000, 400, 4000, 40};
    const Change changes[] = {
        {"pp0015", oil, 13, 1e9f, 308004}, {"pp0015", oil, 5, 0, 308002}, {"pp0015", oil, 0, 2, 308011},
        {"pp0008", {500, 10, 8, 2300, 800, 0.5f, 2, 290}, 0, 3e38f, 308010},
        {"pp0009", {500, 8, 2300, 800, 0.5f, 290, 300, 0.2f}, 0, 3e38f, 308010}};
    for (const Change& c : changes) {
        SCOPED_TRACE(c.routine);
        auto b = instance(c.routine, c.parameters);
        ASSERT_EQ(b.init(), 0);
        std::vector<float> in(b.IN.size(), 300.0f);
        const auto before = b.step(in);
        b.changeParameter(c.parameter, c.value);
        for (float& v : in) v += 20.0f;
        const auto m = vireo_test::messagesOf([&] { b.step(in); });
        ASSERT_EQ(m.codes, std::vector<int>{c.code});
        EXPECT_EQ(m.records.back()["i10"], std::to_string(c.parameter + 1));
        EXPECT_EQ(b.OUT, before);
        b.changeParameter(c.parameter, c.parameters[static_cast<std::size_t>(c.parameter)]);
        EXPECT_TRUE(vireo_test::messagesOf([&] { b.step(in); }).codes.empty());
        EXPECT_NE(b.OUT, before);
    }
}

TEST(PowerPlantRepetition, ACallAtTheSameTimeRepeatsTheStep) {
    struct Case {
        const char* routine;
        std::vector<float> parameters;
        std::vector<float> first, inputs, other;  // the time input last
    };
    const Case cases[] = {
        {"pp0003", {20, 2300, 0.5f, 0.1f, 0.95f, 0.96f, 5, 5e5f, 10}, {30000, 290, 3, 25, 0}, {30000, 290, 3, 25, 600},
         {50000, 250, 6, 25, 600}},
        {"pp0008", {500, 10, 8, 2300, 800, 0.5f, 2, 290}, {390, 3, 290, 1, 25, 0}, {390, 30, 290, 1, 25, 600},
         {350, 3, 280, 40, 25, 600}},
        {"pp0009", {500, 8, 2300, 800, 0.5f, 290, 300, 0.2f}, {390, 3, 290, 1, 25, 0}, {390, 3, 290, 1, 25, 600},
         {350, 1, 280, 4, 25, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        auto once = instance(c.routine, c.parameters);
        auto often = instance(c.routine, c.parameters);
        ASSERT_EQ(once.init(), 0);
        ASSERT_EQ(often.init(), 0);
        once.step(c.first);
        often.step(c.first);
        const auto expected = once.step(c.inputs);
        // Other passes of a loop at the same time, then the last with the same inputs.
        often.step(c.inputs);
        for (int pass = 0; pass < 3; ++pass) often.step(c.other);
        EXPECT_EQ(often.step(c.inputs), expected);
        EXPECT_EQ(stateOf(often), stateOf(once));
        // And the next time step goes on from the same state.
        auto later = c.inputs;
        later.back() += 600;
        EXPECT_EQ(often.step(later), once.step(later));
    }
}

TEST(PowerPlantInputs, ACallThatGivesNoNumbersLeavesTheStateForTheNextCall) {
    // An input that is no number or infinite (or beyond what the block's state can hold)
    // for one call of a block that integrates over time: its state stays finite, so the
    // run goes on. Where the call could not compute a state (an ambient temperature of
    // that kind reaches every state), or its time was no number, the call takes nothing
    // and keeps no time: the block then ends as one that never had the call. These used
    // to keep NaN or infinity in the state for the rest of the run (a receiver without
    // flow, both tanks), or to integrate the next step over the time since the bad call
    // only (the receiver).
    struct Case {
        const char* routine;
        std::vector<float> parameters;
        std::vector<float> inputs;  // the ambient temperature last but one, the time last
    };
    const Case cases[] = {
        {"pp0003", {76, 2300, 0.3f, 0.1f, 0.95f, 0.96f, 10, 1e6f, 10}, {20000, 290, 2, 25, 0}},
        {"pp0003", {76, 2300, 0.3f, 0.1f, 0.95f, 0.96f, 10, 1e6f, 10}, {20000, 290, 0, 25, 0}},
        {"pp0008", {100, 10, 5, 4000, 1000, 0.5f, 1, 50}, {90, 2, 10, 1, 20, 0}},
        {"pp0008", {100, 200, 5, 4000, 1000, 0.5f, 1, 50}, {90, 2, 10, 1, 20, 0}},  // node 200 kept in OUT[0]
        {"pp0009", {100, 5, 4000, 1000, 0.5f, 50, 0, 0.2f}, {90, 2, 10, 1, 20, 0}},
        {"pp0009", {100, 5, 4000, 1000, 0.5f, 50, 0, 0.2f}, {90, 1, 10, 2, 20, 0}},
    };
    const auto at = [](std::vector<float> in, float time) {
        in.back() = time;
        return in;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.inputs) + " " + c.routine);
        const std::size_t time = c.inputs.size() - 1, ambient = time - 1;
        auto plain = instance(c.routine, c.parameters);
        ASSERT_EQ(plain.init(), 0);
        for (float t : {0.0f, 3600.0f}) plain.step(at(c.inputs, t));
        const auto expected = plain.step(at(c.inputs, 7200));
        for (float bad : {NAN, INFINITY, -INFINITY, 3e38f}) {
            for (std::size_t i = 0; i <= time; ++i) {
                if (i == time && std::isfinite(bad)) continue;  // a time far on is a time
                SCOPED_TRACE(::testing::Message() << "input " << i + 1 << " = " << bad);
                auto b = instance(c.routine, c.parameters);
                ASSERT_EQ(b.init(), 0);
                for (float t : {0.0f, 3600.0f}) b.step(at(c.inputs, t));
                auto troubled = at(c.inputs, 5400);
                troubled[i] = bad;
                vireo_test::messagesOf([&] { b.step(troubled); });  // an overflow is warned of
                ASSERT_TRUE(pp_test::allFinite(b.RP));
                const auto out = b.step(at(c.inputs, 7200));
                ASSERT_TRUE(pp_test::allFinite(out));
                ASSERT_TRUE(pp_test::allFinite(b.RP));
                if ((i == ambient && bad != 3e38f) || (i == time && !std::isfinite(bad))) {
                    EXPECT_EQ(out, expected);
                    EXPECT_EQ(b.RP, plain.RP);
                    EXPECT_EQ(b.IP, plain.IP);
                }
            }
        }
    }
}
