// The block frame that every block library builds on: dispatch by call mode, the
// identification answer, the bounds of the array view, messages in records of their own,
// the status a call leaves, parameter rules, exceptions and unbuilt blocks.
#include "BlockFrame.h"
#include "ComponentInfo.h"
#include "Numbers.h"
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

using namespace vireo::block;
using vireo_test::BlockInstance;
using vireo_test::messagesOf;
using vireo_test::Placement;

namespace {

// Catalogue codes whose texts show what these tests look for: a text and a value, and
// a parameter rule's number, value and bounds.
constexpr Code kTextAndValue{305922, "s0 i8"};
constexpr Code kRuleCode{305127, kRuleFills};
constexpr Code kWarning{205924, "s0 i8"};
constexpr Code kNote{105927, "s0 i8"};

constexpr BlockIdentity kProbe{"xx0001", "PROBE ALIAS", 2, 1, 3, 2, 12, 1, 1, 0, 2, 0, 1, Group::standard};

// Records what the frame called.
struct probe_block {
    static inline std::vector<std::string> calls;
    static void init(View<kProbe>& b) {
        calls.push_back("init");
        b.ip<10>() = nearestInt(b.par(0), 1);
        b.rp<0>() = 1.5f;
        b.dp<0>() = 2.5;
    }
    static void step(View<kProbe>& b) {
        calls.push_back("step");
        b.out(0) = b.in(0) + b.in(1, 10.0f) + b.in(2, 100.0f);
        b.out(1) = static_cast<float>(b.inputCount());
    }
    static void last(View<kProbe>&) { calls.push_back("last"); }
};

// Reports at initialisation what its first parameter selects.
constexpr BlockIdentity kReporter{"xx0003", "REPORTER SECOND", 2, 0, 0, 0, 10, 0, 0, 1, 1, 0, 1, Group::standard};
struct reporter_block {
    static void init(View<kReporter>& b) {
        switch (b.whole(0)) {
            case 1: b.report(kTextAndValue, {.value = 12, .text = "data.csv"}), b.show(kNote); break;
            case 2: b.report(kTextAndValue), b.report(kWarning); break;
            case 3: b.report(kWarning), b.report(kTextAndValue); break;
            case 4: b.report(kTextAndValue), b.report(kRuleCode); break;
            case 5: b.show(kTextAndValue); break;
            default: break;
        }
    }
};

// Throws what its first parameter selects, at a step.
constexpr BlockIdentity kThrower{"xx0004", "THROWER", 1, 0, 0, 1, 10, 0, 0, 1, 1, 0, 0, Group::standard};
struct thrower_block {
    static void init(View<kThrower>&) { throw 7; }
    static void step(View<kThrower>& b) {
        b.out(0) = 1.0f;
        if (b.par(0) > 0.0f) throw std::runtime_error("the tank has no nodes");
    }
};

// Parameter rules: a mode, a positive length, an hour below 24, a tolerance.
constexpr BlockIdentity kRuled{"xx0005", "RULED", 1, 0, 0, 1, 11, 0, 0, 4, 4, 0, 0, Group::standard};
constexpr Rule kRules[] = {
    {.parameter = 0, .low = 0, .high = 2, .whole = true, .code = kRuleCode},
    {.parameter = 1, .low = 0, .high = std::numeric_limits<float>::max(), .code = kRuleCode, .aboveLow = true},
    {.parameter = 2, .low = 0, .high = 24, .code = kRuleCode, .belowHigh = true},
    {.parameter = 3, .low = 0, .high = std::numeric_limits<float>::infinity(), .code = kRuleCode},
};
struct ruled_block {
    static void init(View<kRuled>& b) {
        b.ip<10>() = b.check(kRules) ? 1 : 0;
        b.out(0) = static_cast<float>(b.mode(0, 3));
    }
};

// RULED's rules declared once in a parameter table, with an optional step count; its step
// shows the length and the count it reads, and how often it stepped.
constexpr BlockIdentity kTabled{"xx0008", "TABLED", 1, 0, 0, 3, 11, 0, 0, 4, 5, 0, 0, Group::standard};
struct tabled_block {
    struct P {
        enum : int { mode, length, hour, tolerance, steps };
        static constexpr Param table[] = {
            {"Mode", "-", vireo::block::mode(3), kRuleCode},
            {"Length", "m", above(0), kRuleCode},
            {"Hour", "h", Bound{.low = 0, .high = 24, .belowHigh = true}, kRuleCode},
            {"Tolerance", "-", Bound{.low = 0}, kRuleCode},
            {"Steps", "-", vireo::block::whole(1, 100), kRuleCode, orDefault(10)},
        };
    };
    using View = vireo::block::View<kTabled, P>;
    static void step(View& b) {
        b.out(0) = b.par<P::length>();
        b.out(1) = static_cast<float>(b.whole<P::steps>());
        b.out(2) += 1.0f;
    }
};

// One parameter that is a length above 0 under the main name and an angle from -90 to 90
// under the other, refused with a code whose text says the rule in words; its step shows it.
constexpr Code kWordedCode{305214, "i10 r0 s0"};
constexpr BlockIdentity kFormed{"xx0009", "LENGTHY ANGLED", 2, 0, 0, 1, 11, 0, 0, 1, 1, 0, 0, Group::standard};
struct formed_block {
    struct P {
        enum : int { size };
        static constexpr Param table[] = {{"Length", "m", above(0), kRuleCode}};
        static constexpr Param angled[] = {{"Angle", "degrees", within(-90, 90), kWordedCode}};
        static constexpr std::span<const Param> forms[] = {table, angled};
    };
    using View = vireo::block::View<kFormed, P>;
    static void step(View& b) { b.out(0) = b.par<P::size>(); }
};

// A run of four like parameters in one ranged row, then one of its own; its step sums the
// run as it reads it, place by place.
constexpr BlockIdentity kRun{"xx0010", "RUN", 1, 0, 0, 2, 10, 0, 0, 5, 5, 0, 0, Group::standard};
struct run_block {
    struct P {
        enum : int { speeds, factor };
        static constexpr Param table[] = {
            ranged(4, {"Speeds", "m/s", atLeast(0), kRuleCode}),
            {"Factor", "-", vireo::block::whole(1, 3), kRuleCode},
        };
    };
    using View = vireo::block::View<kRun, P>;
    static void step(View& b) {
        b.out(0) = 0.0f;
        for (int k = 0; k < 4; ++k) b.out(0) += b.par<P::speeds>(k) * static_cast<float>(k + 1);
        b.out(1) = b.par<P::factor>();
    }
};
static_assert(parameterCount<run_block::P>() == 5 && paramOffset<run_block::P>(run_block::P::factor) == 4);

// A band whose upper end must lie above its lower end: a tie the table cannot state. Its
// step shows the width and how often it stepped. A second row hands every call to it.
constexpr Code kTieCode{305125, "i10 i11 r0 r1"};
constexpr BlockIdentity kBand{"xx0012", "BAND", 1, 0, 0, 2, 10, 0, 0, 2, 2, 0, 0, Group::standard};
constexpr BlockIdentity kBandAgain{"xx0013", "BANDAGAIN", 1, 0, 0, 2, 10, 0, 0, 2, 2, 0, 0, Group::standard};
struct band_block {
    struct P {
        enum : int { low, high };
        static constexpr Param table[] = {{"Low", "K", finite(), kRuleCode}, {"High", "K", finite(), kRuleCode}};
    };
    using View = vireo::block::View<kBand, P>;
    static bool tiesHold(View& b) {
        if (b.par<P::high>() > b.par<P::low>()) return true;
        b.report(kTieCode, {.reals = {b.par<P::low>(), b.par<P::high>()}});
        return false;
    }
    static void step(View& b) {
        b.out(0) = b.par<P::high>() - b.par<P::low>();
        b.out(1) += 1.0f;
    }
};
struct band_again_block {
    using Wrapped = band_block;
    using View = band_block::View;
    static void step(View& b) { band_block::step(b); }
};
// A mode whose slot init derives, and a count its state is laid out by, which it keeps:
// its step shows the slot, the count kept and how often it stepped; IP[12] counts the
// changes taken.
constexpr BlockIdentity kKeeper{"xx0014", "KEEPER", 1, 0, 0, 3, 13, 0, 0, 2, 2, 0, 0, Group::standard};
struct keeper_block {
    struct P {
        enum : int { mode, count };
        static constexpr Param table[] = {{"Mode", "-", vireo::block::mode(3), kRuleCode},
                                          {"Count", "-", vireo::block::whole(1, 9), kRuleCode}};
    };
    using View = vireo::block::View<kKeeper, P>;
    static bool checksHold(View& b) {
        b.keepsFromInit<P::count>(static_cast<float>(b.ip<11>()), static_cast<float>(b.whole<P::count>()));
        return true;
    }
    static void init(View& b) {
        b.ip<10>() = b.whole<P::mode>(1);
        b.ip<11>() = b.whole<P::count>();
    }
    static void takeChange(View& b) {
        b.ip<10>() = b.whole<P::mode>(1);
        ++b.ip<12>();
    }
    static void step(View& b) {
        b.out(0) = static_cast<float>(b.ip<10>());
        b.out(1) = static_cast<float>(b.ip<11>());
        b.out(2) += 1.0f;
    }
};
// A block whose every parameter is taken at initialisation; its step shows the first.
constexpr BlockIdentity kStarter{"xx0015", "STARTER", 1, 0, 0, 2, 11, 0, 0, 1, 1, 0, 0, Group::standard};
struct starter_block {
    struct P {
        enum : int { start };
        static constexpr Param table[] = {{"Start", "m", above(0), kRuleCode}};
    };
    static constexpr const char* kTakesParametersAtInit = "its path is laid then";
    using View = vireo::block::View<kStarter, P>;
    static void init(View& b) { b.ip<10>() = b.whole<P::start>(); }
    static void step(View& b) {
        b.out(0) = static_cast<float>(b.ip<10>());
        b.out(1) += 1.0f;
    }
};
// Reaches past its identity when its first parameter says so.
constexpr BlockIdentity kReacher{"xx0006", "REACHER", 1, 0, 1, 1, 11, 2, 0, 1, 1, 0, 0, Group::standard};
struct reacher_block {
    static void step(View<kReacher>& b) {
        switch (b.whole(0)) {
            case 1: b.rp(2) = 9.0f; break;
            case 2: b.ip(9) = 9; break;
            case 3: b.out(1) = 9.0f; break;
            case 4: b.out(0) = b.par(1); break;
            case 5: b.out(0) = b.in(1); break;
            default: b.out(0) = b.rp(1) + b.in(0, 3.0f); break;
        }
    }
};

// A block of three names with a short SP row, a counted warning and its summary.
constexpr Code kSummary{205010, "i8"};
constexpr BlockIdentity kCounter{"xx0007", "COUNTER TALLY THIRD", 3, 1, 1, 1, 11, 0, 0, 0, 0, 0, 0,
                                 Group::standard, 80};
struct counter_block {
    static void init(View<kCounter>& b) { b.checkOpMode(); }
    static void step(View<kCounter>& b) {
        if (b.in(0) > 0.0f) b.countWarning(b.ip<10>(), kTextAndValue, {.value = 4, .text = std::string(100, 'x')});
        b.out(0) = static_cast<float>(b.ip<10>());
    }
    static void last(View<kCounter>& b) { b.reportCount(b.ip<10>(), kSummary); }
};

}  // namespace

VIREO_BLOCK(xx0001, kProbe, probe_block)
VIREO_BLOCK(xx0002, kProbe, IdentifyOnly)
VIREO_BLOCK(xx0003, kReporter, reporter_block)
VIREO_BLOCK(xx0004, kThrower, thrower_block)
VIREO_BLOCK(xx0005, kRuled, ruled_block)
VIREO_BLOCK(xx0006, kReacher, reacher_block)
VIREO_BLOCK(xx0007, kCounter, counter_block)
VIREO_BLOCK(xx0008, kTabled, tabled_block)
VIREO_BLOCK(xx0009, kFormed, formed_block)
VIREO_BLOCK(xx0010, kRun, run_block)
VIREO_BLOCK(xx0012, kBand, band_block)
VIREO_BLOCK(xx0013, kBandAgain, band_again_block)
VIREO_BLOCK(xx0014, kKeeper, keeper_block)
VIREO_BLOCK(xx0015, kStarter, starter_block)

TEST(Frame, IdentificationComesFromTheTableAndWritesNothingElse) {
    float in = 0, out = 0;
    int ip[10] = {0, -1};
    char sp[1][1024];
    std::memset(sp, 0, sizeof sp);
    xx0001(&in, &out, ip, nullptr, nullptr, nullptr, sp);
    EXPECT_EQ(std::vector<int>(ip, ip + 10), (std::vector<int>{2, 1, 12, 0, 0, 1, 3, 1, 1, 2}));
    EXPECT_EQ(in, 3.0f);
    EXPECT_EQ(out, 2.0f);
    EXPECT_EQ(std::string(sp[0], 12), "PROBE ALIAS ");
    EXPECT_EQ(std::string(sp[0] + 11, 1013), std::string(1013, ' '));
    EXPECT_TRUE(probe_block::calls.empty());  // identification calls no physics
}

TEST(Frame, DispatchesByCallModeAndReadsOnlyConnectedInputs) {
    probe_block::calls.clear();
    BlockInstance b(xx0001, Placement{.inputs = 1, .parameters = {1.4f}});
    b.init();
    EXPECT_EQ(b.IP[10], 2);
    EXPECT_EQ(b.RP[0], 1.5f);
    EXPECT_EQ(b.DP[0], 2.5);
    // One input connected: the second and third read as the step's defaults, whatever
    // lies behind IN (the sanitizers check that nothing is read there).
    EXPECT_EQ(b.step({1.0f}), (std::vector<float>{111.0f, 1.0f}));
    BlockInstance three(xx0001, Placement{.inputs = 3});
    three.init();
    EXPECT_EQ(three.step({1.0f, 2.0f, 3.0f}), (std::vector<float>{6.0f, 3.0f}));
    // inputCount beyond the identity's maximum reads no further than the maximum.
    three.IP[4] = 5;
    three.call(0);
    EXPECT_EQ(three.OUT[1], 3.0f);
    b.last();
    b.call(3);  // any other mode is a last call
    EXPECT_EQ(probe_block::calls,
              (std::vector<std::string>{"init", "step", "init", "step", "step", "last", "last"}));
}

// A block that is only declared must not start a run that would take its zeros for results.
TEST(Frame, AnUnbuiltBlockRefusesToStartAndComputesNothing) {
    BlockInstance b(xx0002, Placement{.inputs = 1, .opMode = 2, .number = 31});
    b.OUT = {1.0f, 2.0f};
    const auto m = messagesOf([&] { EXPECT_EQ(b.init(), frameCode::notAvailable.number); });
    ASSERT_EQ(m.codes, (std::vector<int>{309001}));
    EXPECT_EQ(m.records[0]["i3"], "31");
    EXPECT_EQ(m.records[0]["s1"], "ALIAS");  // the name the model used
    for (int mode : {0, 2}) {
        b.call(mode);
        EXPECT_EQ(b.OUT, (std::vector<float>{1.0f, 2.0f}));
        EXPECT_EQ(b.IP[0], 0);
    }
}

// The status of a call keeps its most severe code, the first among equals; a message
// that is only shown leaves it alone.
TEST(Frame, FirstErrorWins) {
    const std::vector<std::pair<float, int>> cases = {
        {1.0f, 305922},  // error, then a note shown
        {2.0f, 305922},  // error, then a warning reported
        {3.0f, 305922},  // warning, then an error
        {4.0f, 305922},  // two errors: the first stays
        {5.0f, 0},       // an error only shown
    };
    for (const auto& [scenario, status] : cases) {
        BlockInstance b(xx0003, Placement{.parameters = {scenario}});
        messagesOf([&] { EXPECT_EQ(b.init(), status) << "scenario " << scenario; });
    }
}

// A message travels in a record of its own: its values show in the trace, and not one
// slot of the block's arrays is written for it, however few the block has.
TEST(Frame, MessagesCarryTheirOwnValuesAndLeaveTheArraysAlone) {
    BlockInstance b(xx0003, Placement{.parameters = {1.0f}, .strings = {"model.txt"}, .opMode = 2, .number = 5});
    const auto sp = b.SP;
    const auto m = messagesOf([&] { b.init(); });
    ASSERT_EQ(m.codes, (std::vector<int>{305922, 105927}));
    EXPECT_EQ(m.records[0]["s0"], "data.csv");
    EXPECT_EQ(m.records[0]["i8"], "12");
    EXPECT_EQ(m.records[0]["s1"], "SECOND");
    EXPECT_EQ(m.records[0]["i3"], "5");
    EXPECT_EQ(m.records[1]["s0"], "");  // nothing left over from the message before
    EXPECT_EQ(b.IP[8], 0);
    EXPECT_EQ(b.SP, sp);
    EXPECT_NE(m.out.find("block SECOND 5"), std::string::npos);
}

// A warning condition is reported at its first step and only counted after that; the
// last call (any mode but identify, init and step) reports the count. The block's short
// SP row goes to id, which answers alike, and to msg, which cuts the text to it.
TEST(Frame, CountedWarningsAndTheirSummary) {
    const vireo_test::Identity id = vireo_test::identify(xx0007);
    EXPECT_EQ(id.ints, (std::array<int, 12>{3, 1, 1, 1, 11, 0, 0, 0, 0, 0, 0, 3}));
    EXPECT_EQ(id.nameList, "COUNTER TALLY THIRD");

    BlockInstance b(xx0007, Placement{.inputs = 1, .opMode = 2});
    auto m = messagesOf([&] {
        EXPECT_EQ(b.init(), 0);
        for (float x : {0.0f, 1.0f, 1.0f, 0.0f, 1.0f}) b.step({x});
    });
    ASSERT_EQ(m.codes, (std::vector<int>{305922}));
    EXPECT_EQ(m.records[0]["s0"], std::string(80, 'x'));
    EXPECT_EQ(m.records[0]["s1"], "TALLY");
    EXPECT_EQ(m.records[0]["i8"], "4");
    EXPECT_EQ(b.OUT[0], 3.0f);
    m = messagesOf([&] { b.call(7); });
    ASSERT_EQ(m.codes, (std::vector<int>{205010}));
    EXPECT_EQ(m.records[0]["i8"], "3");
    EXPECT_EQ(b.IP[0], 205010);

    BlockInstance quiet(xx0007, Placement{.inputs = 1});
    m = messagesOf([&] {
        quiet.init();
        quiet.step({0.0f});
        quiet.last();
    });
    EXPECT_EQ(m.codes, std::vector<int>{});
    EXPECT_EQ(quiet.IP[0], 0);
}

// A block that takes its form from its name refuses an opMode outside its name list.
TEST(Frame, OpModeOutsideTheNameList) {
    for (int opMode : {0, 4, -1}) {
        BlockInstance b(xx0007, Placement{.inputs = 1, .opMode = opMode});
        const auto m = messagesOf([&] { b.init(); });
        EXPECT_EQ(m.codes, std::vector<int>{305126}) << opMode;
        EXPECT_EQ(b.IP[0], 305126);
        EXPECT_EQ(m.records[0]["i2"], std::to_string(opMode));
    }
    BlockInstance b(xx0007, Placement{.inputs = 1, .opMode = 3});
    EXPECT_EQ(messagesOf([&] { b.init(); }).codes, std::vector<int>{});
}

TEST(Frame, ParameterRulesReportEveryRefusedValue) {
    const float nan = std::nanf("");
    struct Case {
        std::vector<float> parameters;
        std::vector<int> refused;  // 1-based parameter numbers
    };
    const std::vector<Case> cases = {
        {{2.4f, 1.0f, 0.0f, 0.0f}, {}},                   // 2.4 rounds to 2; bounds that are included
        {{2.5f, 0.0f, 24.0f, -1.0f}, {1, 2, 3, 4}},       // 2.5 rounds to 3; excluded bounds; below
        {{-0.4f, 1e-30f, 23.99f, INFINITY}, {}},          // -0.4 rounds to 0; an infinite tolerance
        {{nan, nan, nan, nan}, {1, 2, 3, 4}},             // NaN never passes
        {{-0.5f, INFINITY, -INFINITY, 0.0f}, {1, 2, 3}},  // halves away from zero
    };
    for (const Case& c : cases) {
        BlockInstance b(xx0005, Placement{.parameters = c.parameters});
        const auto m = messagesOf([&] { b.init(); });
        std::vector<int> refused;
        for (const auto& r : m.records) refused.push_back(std::stoi(r["i10"]));
        EXPECT_EQ(refused, c.refused) << c.parameters[0];
        EXPECT_EQ(b.IP[10], c.refused.empty() ? 1 : 0);
        EXPECT_EQ(b.IP[0], c.refused.empty() ? 0 : kRuleCode.number);
    }
    BlockInstance b(xx0005, Placement{.parameters = {-3.0f, 1.0f, 0.0f, 0.0f}});
    const auto m = messagesOf([&] { b.init(); });
    ASSERT_EQ(m.records.size(), 1u);
    EXPECT_EQ(m.records[0]["r0"], "-3");
    EXPECT_EQ(m.records[0]["r1"], "0");
    EXPECT_EQ(m.records[0]["r2"], "2");
    EXPECT_EQ(b.OUT[0], 0.0f);  // mode() holds a refused value within the modes
}

// A table's bounds report exactly as the same rules written by hand; a block refused at
// initialisation never steps; a change marked as the engine marks it is checked before
// the next step, refused with one counted error, kept refused silently, and stepped on
// again once mended.
TEST(Frame, AParameterTableChecksAtInitAndAfterEveryChange) {
    const float nan = std::nanf("");
    const std::vector<std::vector<float>> cases = {
        {2.4f, 1.0f, 0.0f, 0.0f},  {2.5f, 0.0f, 24.0f, -1.0f}, {-0.4f, 1e-30f, 23.99f, INFINITY},
        {nan, nan, nan, nan},      {-0.5f, INFINITY, -INFINITY, 0.0f}, {-3.0f, FLT_MAX, -0.0f, 1e38f},
    };
    auto fields = [](const vireo_test::Messages& m) {
        std::vector<std::string> f;
        for (const auto& r : m.records) f.push_back(std::to_string(r.code()) + " " + r["i10"] + " " + r["r0"] + " " + r["r1"] + " " + r["r2"]);
        return f;
    };
    for (const auto& c : cases) {
        BlockInstance byHand(xx0005, Placement{.parameters = c});
        BlockInstance tabled(xx0008, Placement{.parameters = c});
        const auto expected = messagesOf([&] { byHand.init(); });
        const auto got = messagesOf([&] { tabled.init(); });
        EXPECT_EQ(fields(got), fields(expected)) << c[0];
        EXPECT_EQ(tabled.IP[0], byHand.IP[0]);
        // Refused: no step, ever; accepted: the left-out count reads as its default.
        EXPECT_TRUE(messagesOf([&] { tabled.step(); }).records.empty());
        EXPECT_EQ(tabled.OUT[2], expected.records.empty() ? 1.0f : 0.0f) << c[0];
        EXPECT_EQ(tabled.OUT[1], expected.records.empty() ? 10.0f : 0.0f);
    }

    BlockInstance b(xx0008, Placement{.parameters = {1, 2, 3, 4, 50}});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.step()[1], 50.0f);
    b.changeParameter(1, -2.0f);
    auto m = messagesOf([&] { b.step(); });
    ASSERT_EQ(m.records.size(), 1u);
    EXPECT_EQ(m.records[0].code(), kRuleCode.number);
    EXPECT_EQ(m.records[0]["i10"], "2");
    EXPECT_EQ(m.records[0]["r0"], "-2");
    EXPECT_EQ(b.IP[0], kRuleCode.number);  // counted
    EXPECT_EQ(b.OUT[0], 2.0f);            // not stepped on
    EXPECT_TRUE(messagesOf([&] { b.step(); }).records.empty());
    EXPECT_EQ(b.OUT[2], 1.0f);
    b.changeParameter(4, 1e9f);  // another change, the length still broken: both reported
    m = messagesOf([&] { b.step(); });
    ASSERT_EQ(m.records.size(), 2u);
    EXPECT_EQ(m.records[1]["i10"], "5");
    b.changeParameter(1, 7.0f);
    b.changeParameter(4, 0.0f);  // left out again: its default
    EXPECT_TRUE(messagesOf([&] { b.step(); }).records.empty());
    EXPECT_EQ(b.OUT[0], 7.0f);
    EXPECT_EQ(b.OUT[1], 10.0f);
    EXPECT_EQ(b.OUT[2], 2.0f);
    // Each instance keeps its own refusal.
    BlockInstance other(xx0008, Placement{.parameters = {1, 2, 3, 4}});
    ASSERT_EQ(other.init(), 0);
    b.changeParameter(0, 3e9f);
    messagesOf([&] { b.step(); });
    EXPECT_EQ(other.step()[2], 1.0f);
    EXPECT_EQ(b.OUT[2], 2.0f);
}

// The name a block is placed under picks the table checked, at initialisation and after a
// change (the main name's for an opMode outside the list); a code whose text says what a
// parameter must be gets the rule in words.
TEST(Frame, EachNameHasItsParametersCheckedByItsOwnTable) {
    struct Case {
        int opMode;
        float value;
        int refused;  // the code, 0 when accepted
    };
    for (const Case& c : {Case{1, -45, kRuleCode.number}, Case{2, -45, 0}, Case{2, 100, kWordedCode.number},
                          Case{1, 100, 0}, Case{3, -45, kRuleCode.number}}) {
        BlockInstance b(xx0009, Placement{.parameters = {c.value}, .opMode = c.opMode});
        const auto m = messagesOf([&] { b.init(); });
        EXPECT_EQ(m.codes, c.refused == 0 ? std::vector<int>{} : std::vector<int>{c.refused}) << c.opMode << " " << c.value;
        EXPECT_EQ(b.step()[0], c.refused == 0 ? c.value : 0.0f);
    }
    BlockInstance angled(xx0009, Placement{.parameters = {10}, .opMode = 2});
    ASSERT_EQ(angled.init(), 0);
    angled.changeParameter(0, -10);  // no length, but an angle
    EXPECT_TRUE(messagesOf([&] { angled.step(); }).records.empty());
    EXPECT_EQ(angled.OUT[0], -10.0f);
    angled.changeParameter(0, 95);
    const auto m = messagesOf([&] { angled.step(); });
    ASSERT_EQ(m.codes, std::vector<int>{kWordedCode.number});
    EXPECT_EQ(m.records[0]["s0"], "a number from -90 to 90");
    EXPECT_EQ(m.records[0]["i10"], "1");
    EXPECT_EQ(angled.OUT[0], -10.0f);
}

// A ranged row is checked parameter by parameter, each refusal naming its own number, at
// initialisation and after a change; the row after it reads from the run's end on.
TEST(Frame, ARangedRowChecksAndReadsEveryParameterOfItsRun) {
    BlockInstance refused(xx0010, Placement{.parameters = {1, -1, 2, -2, 4}});
    const auto m = messagesOf([&] { refused.init(); });
    std::vector<std::string> named;
    for (const auto& r : m.records) named.push_back(r["i10"] + " " + r["r0"]);
    EXPECT_EQ(named, (std::vector<std::string>{"2 -1", "4 -2", "5 4"}));
    EXPECT_TRUE(messagesOf([&] { refused.step(); }).records.empty());
    EXPECT_EQ(refused.OUT[0], 0.0f);

    BlockInstance b(xx0010, Placement{.parameters = {1, 2, 3, 4, 3}});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.step()[0], 1.0f + 4.0f + 9.0f + 16.0f);
    EXPECT_EQ(b.OUT[1], 3.0f);
    b.changeParameter(2, std::nanf(""));
    const auto changed = messagesOf([&] { b.step(); });
    ASSERT_EQ(changed.records.size(), 1u);
    EXPECT_EQ(changed.records[0]["i10"], "3");
    EXPECT_EQ(b.OUT[0], 30.0f);  // not stepped on
    b.changeParameter(2, 0.5f);
    EXPECT_EQ(b.step()[0], 1.0f + 4.0f + 1.5f + 16.0f);
}

// A tie between parameters lives as a rule does: denied at initialisation it refuses the
// block for good; broken by a change it is one counted error and no step, kept refused
// silently, until a later change mends it. A wrapper's calls are held to the wrapped
// block's ties. Ties are asked only of values the table lets through.
TEST(Frame, TiesBetweenParametersAreCheckedWhereTheTableIs) {
    for (auto routine : {xx0012, xx0013}) {
        BlockInstance denied(routine, Placement{.parameters = {5, 5}});
        auto m = messagesOf([&] { denied.init(); });
        EXPECT_EQ(m.codes, std::vector<int>{kTieCode.number});
        EXPECT_EQ(denied.IP[0], kTieCode.number);
        EXPECT_TRUE(messagesOf([&] { denied.step(); }).records.empty());
        EXPECT_EQ(denied.OUT[1], 0.0f);
        denied.changeParameter(1, 6);  // refused at initialisation: a change does not revive it
        denied.step();
        EXPECT_EQ(denied.OUT[1], 0.0f);

        BlockInstance notAsked(routine, Placement{.parameters = {NAN, 5}});
        EXPECT_EQ(messagesOf([&] { notAsked.init(); }).codes, std::vector<int>{kRuleCode.number});

        BlockInstance b(routine, Placement{.parameters = {5, 7}});
        ASSERT_EQ(b.init(), 0);
        EXPECT_EQ(b.step(), (std::vector<float>{2, 1}));
        b.changeParameter(0, 8);
        m = messagesOf([&] { b.step(); });
        ASSERT_EQ(m.codes, std::vector<int>{kTieCode.number});
        EXPECT_EQ(m.records[0]["r0"], "8");
        EXPECT_EQ(b.IP[0], kTieCode.number);  // counted
        EXPECT_EQ(b.OUT[1], 1.0f);            // not stepped on
        EXPECT_TRUE(messagesOf([&] { b.step(); }).records.empty());
        EXPECT_EQ(b.OUT[1], 1.0f);
        b.changeParameter(1, 9);
        EXPECT_TRUE(messagesOf([&] { b.step(); }).records.empty());
        EXPECT_EQ(b.OUT[0], 1.0f);
        EXPECT_EQ(b.OUT[1], 2.0f);
    }
}

// What init derives from the parameters a change makes again, once, before the step on it
// (never for a change refused, nor for a step without a change); a parameter the block
// keeps from initialisation is warned about and not taken, at every change while it
// differs, as is any change of a block that takes all its parameters at initialisation,
// which goes on stepping. A value its rule refuses is refused all the same, without a
// word about its not being taken.
TEST(Frame, AChangeIsTakenAtTheNextStepOrSaidToBeNotTaken) {
    struct Case {
        int parameter;  // 0-based
        float value;
        std::vector<int> codes;
        std::vector<float> out;  // after the step: slot, count kept, steps
        int taken;               // the changes taken so far
    };
    BlockInstance b(xx0014, Placement{.parameters = {0, 3}});
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.step(), (std::vector<float>{1, 3, 1}));
    for (const Case& c : {Case{0, 2, {}, {3, 3, 2}, 1}, Case{-1, 0, {}, {3, 3, 3}, 1},
                          Case{1, 5, {209004}, {3, 3, 4}, 2}, Case{0, 7, {kRuleCode.number, 209004}, {3, 3, 4}, 2},
                          Case{0, 1, {209004}, {2, 3, 5}, 3}, Case{1, 3, {}, {2, 3, 6}, 4},
                          Case{1, 12, {kRuleCode.number}, {2, 3, 6}, 4}, Case{1, 3.4f, {}, {2, 3, 7}, 5}}) {
        SCOPED_TRACE(testing::Message() << "parameter " << c.parameter + 1 << " to " << c.value);
        if (c.parameter >= 0) b.changeParameter(c.parameter, c.value);
        const auto m = messagesOf([&] { b.step(); });
        EXPECT_EQ(m.codes, c.codes);
        EXPECT_EQ(b.OUT, c.out);
        EXPECT_EQ(b.IP[12], c.taken);
        if (c.codes == std::vector<int>{209004}) {
            EXPECT_EQ(m.records[0]["i10"], "2");
            EXPECT_EQ(m.records[0]["s2"], "Count");
            EXPECT_EQ(m.records[0]["r0"], "5");
            EXPECT_EQ(m.records[0]["r1"], "3");
            EXPECT_EQ(b.IP[0], 209004);  // counted
        }
    }

    BlockInstance starter(xx0015, Placement{.parameters = {4}});
    ASSERT_EQ(starter.init(), 0);
    starter.step();
    starter.changeParameter(0, 6);
    auto m = messagesOf([&] { starter.step(); });
    ASSERT_EQ(m.codes, std::vector<int>{209005});
    EXPECT_EQ(m.records[0]["s0"], "its path is laid then");
    EXPECT_EQ(starter.OUT, (std::vector<float>{4, 2}));
    starter.changeParameter(0, -1);
    EXPECT_EQ(messagesOf([&] { starter.step(); }).codes, std::vector<int>{kRuleCode.number});
    EXPECT_EQ(starter.OUT, (std::vector<float>{4, 2}));
    EXPECT_TRUE(messagesOf([&] { starter.step(); }).codes.empty());
}

// Whatever a routine throws ends at the frame: a fatal error naming the block, and the
// run is asked to stop; at initialisation the error keeps the run from starting.
TEST(Frame, AnExceptionBecomesAFatalErrorAndAStop) {
    BlockInstance b(xx0004, Placement{.parameters = {1.0f}, .number = 12});
    auto m = messagesOf([&] { EXPECT_EQ(b.init(), 409002); });
    ASSERT_EQ(m.codes, (std::vector<int>{409002}));
    EXPECT_EQ(m.records[0]["s0"], "an exception of unknown type");
    m = messagesOf([&] { b.step(); });
    ASSERT_EQ(m.codes, (std::vector<int>{409002}));
    EXPECT_EQ(m.records[0]["s0"], "the tank has no nodes");
    EXPECT_EQ(m.records[0]["s1"], "THROWER");
    EXPECT_EQ(b.IP[1], 2);  // stop
    EXPECT_EQ(b.IP[0], 409002);
    EXPECT_EQ(b.OUT[0], 1.0f);
}

// An index outside the identity is a fault of the block: checked builds stop naming
// block and index, release builds read 0 and write into a sink.
TEST(FrameDeathTest, SlotsOutsideTheIdentity) {
    auto reach = [](float how) {
        BlockInstance b(xx0006, Placement{.inputs = 1, .parameters = {how}});
        b.init();
        b.RP = {4.0f, 5.0f};
        b.step({1.0f});
        return b;
    };
    EXPECT_EQ(reach(0.0f).OUT[0], 6.0f);
#ifdef VIREO_CHECKED_SLOTS
    EXPECT_DEATH(reach(1.0f), "block REACHER \\(xx0006\\): RP index 2 outside its 2 slots");
    EXPECT_DEATH(reach(2.0f), "IP index 9");
    EXPECT_DEATH(reach(3.0f), "OUT index 1");
    EXPECT_DEATH(reach(4.0f), "BP index 1");
    EXPECT_DEATH(reach(5.0f), "IN index 1");
#else
    for (float how : {1.0f, 2.0f, 3.0f}) {
        const BlockInstance b = reach(how);
        EXPECT_EQ(b.RP, (std::vector<float>{4.0f, 5.0f}));
        EXPECT_EQ(b.IP[9], 0);
    }
    EXPECT_EQ(reach(4.0f).OUT[0], 0.0f);
    EXPECT_EQ(reach(5.0f).OUT[0], 0.0f);
#endif
}

TEST(Numbers, RoundingAndConversionsAreNeverUndefined) {
    EXPECT_EQ(roundHalfAway(2.5f), 3.0f);
    EXPECT_EQ(roundHalfAway(-2.5f), -3.0f);
    EXPECT_EQ(roundHalfAway(0.49999997f), 0.0f);
    EXPECT_EQ(nearestInt(12.5), 13);
    EXPECT_EQ(nearestInt(-0.5), -1);
    EXPECT_EQ(nearestInt(NAN), 0);
    EXPECT_EQ(nearestInt(1e10), INT_MAX);
    EXPECT_EQ(nearestInt(-1e10), INT_MIN);
    EXPECT_EQ(nearestInt(INFINITY, 1), INT_MAX);
    EXPECT_EQ(nearestInt(2147483520.0f, 1000), INT_MAX);  // the offset saturates too
    EXPECT_EQ(nearestInt(2.0, 1), 3);
    EXPECT_EQ(toInt(-2.7), -2);
    EXPECT_EQ(toInt(2.7), 2);
    EXPECT_EQ(toInt(-INFINITY), INT_MIN);
    EXPECT_EQ(acosClamped(1.0000001f), 0.0f);
    EXPECT_FLOAT_EQ(asinClamped(-1.5f), -1.5707964f);
    EXPECT_TRUE(std::isnan(acosClamped(NAN)));
}

TEST(Frame, ProtocolAnswersAndTrimmedTexts) {
    int ip[12] = {0, 2, 1, 5, 0, 2};
    char sp[1][1024];
    std::memset(sp, ' ', sizeof sp);
    std::memcpy(sp[0], "  out.csv", 9);
    sp[0][1023] = '\0';  // a row may end with NULs as well
    BlockView v(kProbe, BlockArrays{nullptr, nullptr, ip, nullptr, nullptr, nullptr, sp});
    v.withdrawEnd();
    v.takeAlternativeLink();
    v.setTimerSteps(8760);
    EXPECT_EQ(ip[1], 1);
    EXPECT_EQ(ip[5], 1);
    EXPECT_EQ(ip[7], 8760);
    EXPECT_EQ(v.trimmedText(0), "out.csv");
    EXPECT_EQ(v.name(), "PROBE");
    ip[2] = 2;
    EXPECT_EQ(v.name(), "ALIAS");
    ip[2] = 3;  // no such name: the main name stands
    EXPECT_EQ(v.name(), "PROBE");
}

TEST(ComponentLine, PaddedNeverCut) {
    char* line = componentInfo("development_1", "libX");
    EXPECT_EQ(std::string(line), "\tdevelopment_1" + std::string(22, ' ') + "libX      ");
    delete[] line;
    const std::string longTag(40, 't');
    line = componentInfo(longTag.c_str(), "libVeryLongName");
    EXPECT_EQ(std::string(line), "\t" + longTag + "libVeryLongName");
    delete[] line;
}

TEST(Identity, WellFormedNameLists) {
    BlockIdentity b = kProbe;
    EXPECT_TRUE(wellFormed(b));
    b.names = "PROBE  ALIAS";  // two blanks: the engine would not find the alias
    EXPECT_FALSE(wellFormed(b));
    b.names = "PROBE";  // one name where two are declared
    EXPECT_FALSE(wellFormed(b));
}
