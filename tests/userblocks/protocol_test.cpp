// Identities and the run-time protocol of the user blocks, driven the way the engine
// drives them (harness.h), with the links wired as the sort wires them.
#include "harness.h"
#include "vireo_tools.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace {

// A test block that keeps the inputs of each of its steps.
Block recorder(int number, std::vector<Source> sources, std::vector<std::vector<float>>& rows) {
    return Block(number, 0, [&rows](Block& b) { rows.push_back(b.IN); }, std::move(sources));
}

}  // namespace

TEST(UserBlocks, IdentitiesAndComponentLine) {
    // The contract the model writers and the engine's developers rely on.
    struct Expected {
        BlockFunction fn;
        std::array<int, 12> ints;
        const char* names;
    };
    const Expected expected[] = {
        {ubcalendar, {1, 0, 4, 8, 13, 0, 3, 6, 6, 0, 0, 2}, "CALENDAR"},
        {ubcsvout, {1, 1, 100, 0, 12, 0, 1, 0, 0, 1, 2, 3}, "CSVOUT"},
        {ubcsvin, {1, 0, 0, 20, 38, 0, 3, 0, 1, 1, 2, 3}, "CSVIN"},
        {ubconst, {1, 0, 0, 20, 10, 0, 0, 1, 20, 0, 0, 1}, "CONST"},
        {ublooptop, {1, 1, 2, 2, 11, 0, 0, 0, 1, 0, 0, -4}, "LOOPTOP"},
        {ubloopctl, {1, 1, 1, 3, 12, 1, 0, 2, 2, 0, 0, 4}, "LOOPCTL"},
        {ubiterate, {1, 1, 1, 3, 11, 0, 0, 3, 3, 0, 0, 6}, "ITERATE"},
        {ubdelay, {1, 1, 1, 1, 10, 0, 0, 0, 1, 0, 0, 5}, "DELAY"},
    };
    for (const Expected& e : expected) {
        const Identity got = vireo_test::identify(e.fn);
        EXPECT_TRUE(got.answered) << e.names;
        EXPECT_EQ(got.nameList, e.names);
        EXPECT_EQ(got.ints, e.ints) << e.names;
    }
    char* line = info();
    EXPECT_EQ(std::string(line), "\tuserblocks_8.3.0" + std::string(19, ' ') + "libVireoUB");
    delete[] line;

    Block c(ubconst, 1, {}, {1.5f, -2.0f, 3.0f});
    c.init();
    bool stop = false;
    c.call(stop);
    EXPECT_EQ(std::vector<float>(c.OUT.begin(), c.OUT.begin() + 4), (std::vector<float>{1.5f, -2.0f, 3.0f, 0.0f}));
}

TEST(Calendar, FreeTimerStepsThroughALeapYearHourByHour) {
    Block cal(ubcalendar, 1, {}, {2024, 1, 1, 0, 8784, 1});
    std::vector<std::vector<float>> rows;
    Block rec = recorder(2, outputs(cal, 1, 8), rows);
    initAll({&cal, &rec});
    EXPECT_EQ(cal.IP[7], 8784);  // timerSteps, for the progress count
    chain({&cal, &rec});
    rec.next = &cal, cal.alt = &cal;
    EXPECT_GT(simulate({&cal, &rec}), 0);

    // Dates counted independently by the standard library's calendar.
    using namespace std::chrono;
    ASSERT_EQ(rows.size(), 8784u);
    const sys_days start = 2024y / January / 1;
    for (size_t k = 0; k < rows.size(); ++k) {
        const year_month_day d{start + days(k / 24)};
        const float doy = static_cast<float>((sys_days(d) - sys_days(d.year() / 1 / 1)).count() + 1);
        const std::vector<float> want{float(int(d.year())), float(unsigned(d.month())), float(unsigned(d.day())),
                                      float(k % 24), doy, float(k + 1), float(24 * (doy - 1) + k % 24), float(k)};
        ASSERT_EQ(rows[k], want) << "step " << k + 1;
    }
    EXPECT_EQ(rows[1416][1], 2.0f);  // 29 February
    EXPECT_EQ(rows[1416][2], 29.0f);
    EXPECT_EQ(cal.lastCalls, 1);  // the end it asked for is not withdrawn
    EXPECT_EQ(rec.lastCalls, 1);
}

TEST(Calendar, FractionalStepsCrossDayAndYearWithoutDrift) {
    Block cal(ubcalendar, 1, {}, {2023, 12, 31, 22.5f, 8761, 0.1f});
    cal.init();
    bool stop = false;
    std::vector<std::vector<float>> seen;
    for (int k = 1; k <= 8761; ++k) cal.call(stop), seen.push_back(cal.OUT);
    EXPECT_EQ(seen[14], (std::vector<float>{2023, 12, 31, 23.9f, 365, 15, 24 * 364 + 23.9f, 1.4f}));
    EXPECT_EQ(seen[15], (std::vector<float>{2024, 1, 1, 0, 1, 16, 0, 1.5f}));
    // 876 hours later the hour is still a whole tenth.
    EXPECT_EQ(seen[8760][3], 10.5f);
    EXPECT_EQ(seen[8760][1], 2.0f);  // 6 February 2024
    EXPECT_EQ(seen[8760][2], 6.0f);
    EXPECT_FALSE(stop);
    cal.call(stop);
    EXPECT_TRUE(stop);
}

TEST(Calendar, AYearOfMinuteStepsEndsAtTheLastMinuteOfTheYear) {
    // Step lengths as a model gives them: written as decimals to the digits a float
    // holds, and as the float nearest to the exact fraction of an hour.
    struct Case {
        int minutes;
        float written;
    };
    for (const Case c : {Case{1, 0.0166667f}, Case{5, 0.0833333f}, Case{10, 0.166667f}, Case{15, 0.25f},
                         Case{60, 1.0f}}) {
        for (const float length : {c.written, static_cast<float>(c.minutes / 60.0)}) {
            const int steps = 525600 / c.minutes;
            Block cal(ubcalendar, 1, {}, {2023, 1, 1, 0, static_cast<float>(steps), length});
            cal.init();
            bool stop = false;
            for (int k = 0; k < steps; ++k) cal.call(stop);
            const float hour = static_cast<float>((1440 - c.minutes) / 60.0);
            const float since = static_cast<float>((steps - 1.0) * c.minutes / 60.0);
            EXPECT_EQ(cal.OUT, (std::vector<float>{2023, 12, 31, hour, 365, float(steps), 24 * 364 + hour, since}))
                << c.minutes << " minutes written as " << length;
            EXPECT_FALSE(stop);
            cal.call(stop);
            EXPECT_TRUE(stop);
        }
    }
    // A length that is no whole number of seconds to those digits is taken as written:
    // 0.016667 h is 60.0012 s, a minute more every 50000 steps.
    Block cal(ubcalendar, 1, {}, {2023, 1, 1, 0, 50001, 0.016667f});
    cal.init();
    bool stop = false;
    for (int k = 0; k <= 50000; ++k) cal.call(stop);
    const double seconds = 50000 * static_cast<double>(0.016667f) * 3600;
    // 50000 minutes after midnight of 1 January is 17:20 on 4 February; a minute later here.
    EXPECT_EQ(cal.OUT[1], 2.0f);
    EXPECT_EQ(cal.OUT[2], 4.0f);
    EXPECT_EQ(cal.OUT[3], static_cast<float>((seconds - 34 * 86400) / 3600));
    EXPECT_GT(cal.OUT[3], 17.0f + 20.5f / 60);
}

TEST(Calendar, SubModelTimerRepeatsItsSubModelOnEachVisit) {
    // Free timer F, sub-model timer T started from F's date and hour, member M.
    Block f(ubcalendar, 1, {}, {2024, 3, 1, 0, 3, 1});
    Block t(ubcalendar, 2, outputs(f, 1, 4), {2000, 1, 1, 0, 4, 0.25f});
    std::vector<std::vector<float>> rows;
    Block m = recorder(3, {{&f, 4}, {&t, 3}, {&t, 4}, {&t, 6}}, rows);
    initAll({&f, &t, &m});
    EXPECT_EQ(t.IP[7], 4);
    f.next = &t, f.alt = &f, t.alt = &m, m.next = &t, t.next = &f;
    EXPECT_GT(simulate({&f, &t, &m}), 0);
    ASSERT_EQ(rows.size(), 12u);
    for (size_t i = 0; i < rows.size(); ++i) {
        const float hour = float(i / 4) + 0.25f * float(i % 4);
        EXPECT_EQ(rows[i], (std::vector<float>{float(i / 4), 1, hour, float(i % 4 + 1)})) << i;
    }
    EXPECT_EQ(t.lastCalls, 1);

    // Its steps and their length changed during the first visit hold from the next one
    // on: two steps of half an hour.
    Block f2(ubcalendar, 1, {}, {2024, 3, 1, 0, 3, 1});
    Block t2(ubcalendar, 2, outputs(f2, 1, 4), {2000, 1, 1, 0, 4, 0.25f});
    rows.clear();
    Block m2(3, 0, [&](Block& b) {
        rows.push_back({b.IN[0], b.IN[1]});
        if (rows.size() == 2) t2.changeParameter(4, 2), t2.changeParameter(5, 0.5f);
    }, {{&t2, 4}, {&t2, 6}});
    initAll({&f2, &t2, &m2});
    f2.next = &t2, f2.alt = &f2, t2.alt = &m2, m2.next = &t2, t2.next = &f2;
    EXPECT_GT(simulate({&f2, &t2, &m2}), 0);
    EXPECT_EQ(rows, (std::vector<std::vector<float>>{{0, 1}, {0.25f, 2}, {0.5f, 3}, {0.75f, 4},
                                                     {1, 1}, {1.5f, 2}, {2, 1}, {2.5f, 2}}));
}

TEST(Calendar, SubModelWithoutFreeTimerRunsItsStepsHoweverItIsWired) {
    // The first timer of a model without free timer may keep the links it got when it
    // was placed: then its member leads nowhere and the timer repeats by withdrawing.
    for (const bool rewired : {false, true}) {
        Block c(ubconst, 1, {}, {2024, 5, 1, 6});
        Block t(ubcalendar, 2, outputs(c, 1, 4), {2000, 1, 1, 0, 3, 1});
        std::vector<std::vector<float>> rows;
        Block m = recorder(3, {{&t, 4}}, rows);
        initAll({&c, &t, &m});
        chain({&c, &t, &m});
        t.alt = &m;
        if (rewired) t.next = nullptr, m.next = &t;
        EXPECT_GT(simulate({&c, &t, &m}), 0);
        EXPECT_EQ(rows, (std::vector<std::vector<float>>{{6}, {7}, {8}})) << rewired;
        EXPECT_EQ(m.lastCalls, 1);
    }

    // Once its sub-model has led back to it, a last call is a request to end the run:
    // a member asking to stop is not overruled.
    Block c(ubconst, 1, {}, {2024, 5, 1, 6});
    Block t(ubcalendar, 2, outputs(c, 1, 4), {2000, 1, 1, 0, 5, 1});
    int calls = 0;
    Block m(3, 0, [&calls](Block& b) { b.IP[1] = ++calls == 2 ? 2 : 0; }, {{&t, 4}});
    initAll({&c, &t, &m});
    chain({&c, &t, &m});
    t.alt = &m, t.next = nullptr, m.next = &t;
    EXPECT_GT(simulate({&c, &t, &m}), 0);
    EXPECT_EQ(calls, 2);
}

TEST(UserBlocks, BadParametersAreCountedErrors) {
    struct Case {
        BlockFunction fn;
        std::vector<float> parameters;
        std::vector<int> codes;
    };
    const std::vector<Case> cases = {
        {ubcalendar, {2024, 13, 1, 0, 10, 1}, {305902}},
        {ubcalendar, {2023, 2, 29, 0, 10, 1}, {305903}},
        {ubcalendar, {0, 1, 1, 24, 10, 1}, {305901, 305904}},
        {ubcalendar, {2024, 1, 1, 0, 0, 1}, {305905}},
        {ubcalendar, {2024, 1, 1, 0, 10, 0}, {305906}},
        {ubcalendar, {2024, 1, 1, 0, 10, -1}, {305906}},
        {ubcalendar, {2024, 1, 1, NAN, 10, INFINITY}, {305904, 305906}},
        {ubcalendar, {9999, 12, 31, 0, 25, 1}, {305907}},
        {ubloopctl, {-1e-3f, 0.4f}, {305930, 305931}},
        {ubiterate, {0, NAN, 3e9f}, {305930, 305931}},
    };
    for (const auto& [fn, parameters, codes] : cases) {
        const MessageCapture trace;
        vireo_tools_reset_error_count();
        Block b(fn, 7, {}, parameters);
        b.init();
        EXPECT_EQ(trace.codes(), codes) << parameters[1];
        EXPECT_EQ(b.IP[0], codes.front());  // the engine counts the call's first error from status
        EXPECT_EQ(trace.records().front()["i3"], "7");
        EXPECT_EQ(vireo_tools_error_count(), static_cast<int>(codes.size()));
    }
    const MessageCapture trace;
    Block cal(ubcalendar, 7, {}, {2024, 13, 1, 0, 10, 1});
    cal.init();
    EXPECT_EQ(trace.records().front()["r0"], "13");
}

TEST(UserBlocks, AParameterBrokenDuringTheRunIsReportedAndNeverUsed) {
    // The editor changes one parameter between steps; the block reports the broken rule
    // once and neither steps nor, for ITERATE, repeats on it, until a later change mends it.
    // A sub-model calendar's start and run, which it takes at its next entry, are held
    // together as at initialisation: a day its month does not have, a last step after the
    // year 9999 by its count or its length.
    struct Case {
        BlockFunction fn;
        std::vector<float> parameters;
        int changed;
        float broken;
        int code;
        int counter;  // the output that moves when the block steps (ITERATE: at its last call)
        bool fed = true;  // a calendar with an input is a sub-model timer, its year the input's
    };
    const std::vector<Case> cases = {
        {ubloopctl, {0.0f, 5.0f}, 1, 0.0f, 305931, 1},
        {ubloopctl, {0.0f, 5.0f}, 0, -1.0f, 305930, 1},
        {ubiterate, {0.0f, 0.0f, 5.0f}, 2, 3e9f, 305931, 1},
        {ubiterate, {0.0f, 0.0f, 5.0f}, 1, NAN, 305930, 1},
        {ubcalendar, {2024, 1, 1, 0, 10, 1}, 5, -1.0f, 305906, 5, false},
        {ubcalendar, {2023, 2, 1, 0, 10, 1}, 2, 30.0f, 305903, 5},
        {ubcalendar, {2024, 1, 1, 0, 10, 1}, 4, 1e9f, 305907, 5},
        {ubcalendar, {2024, 1, 1, 0, 10, 1}, 5, 1e9f, 305907, 5},
    };
    for (const auto& c : cases) {
        Block src(2, 1, [](Block& b) { b.OUT[0] = 3.0f; });
        const bool fed = c.fed;
        Block b(c.fn, 7, fed ? std::vector<Source>{{&src, 1}} : std::vector<Source>{}, c.parameters);
        b.init();
        bool stop = false;
        src.call(stop);
        const MessageCapture trace;
        b.changeParameter(c.changed, c.broken);
        b.call(stop);
        stop = true;
        b.call(stop);  // ITERATE's repetitions are made here
        EXPECT_EQ(trace.codes(), std::vector<int>{c.code}) << c.changed;
        EXPECT_EQ(b.OUT[c.counter], 0.0f) << c.changed;
        b.changeParameter(c.changed, c.parameters[c.changed]);
        stop = false;
        b.call(stop);
        EXPECT_EQ(trace.codes(), std::vector<int>{c.code}) << c.changed;  // mended: nothing more to say
        if (c.fn != ubiterate) {
            EXPECT_EQ(b.OUT[c.counter], 1.0f) << c.changed;
        }
    }
}

TEST(UserBlocks, AFreeTimersClockIsTheOneItStartedWith) {
    // The run's progress counts a free timer's steps, and a clock whose start or step
    // length moved would jump: a change of any of its parameters during the run is warned
    // about, naming the parameter and the value the clock goes on with, and the clock
    // goes on as it started. A value its rule refuses is refused as at initialisation.
    const std::vector<float> placed = {2024, 1, 31, 6, 10, 1};
    struct Case {
        int changed;
        float value;
        std::vector<int> codes;
        const char* kept;  // the value the clock goes on with, as the message shows it
    };
    for (const Case& c : {Case{0, 2025, {209004}, "2024"}, Case{1, 2, {209004}, "1"}, Case{2, 30, {209004}, "31"},
                          Case{3, 12.5f, {209004}, "6"}, Case{4, 20, {209004}, "10"},
                          Case{5, 0.5f, {209004}, "1"}, Case{4, 10.3f, {}, ""}}) {
        SCOPED_TRACE(c.changed);
        Block changed(ubcalendar, 7, {}, placed), unchanged(ubcalendar, 8, {}, placed);
        changed.init();
        unchanged.init();
        bool stop = false;
        changed.call(stop);
        unchanged.call(stop);
        changed.changeParameter(c.changed, c.value);
        const MessageCapture trace;
        changed.call(stop);
        unchanged.call(stop);
        EXPECT_EQ(trace.codes(), c.codes);
        if (!c.codes.empty()) {
            EXPECT_EQ(trace.records().front()["i10"], std::to_string(c.changed + 1));
            EXPECT_EQ(trace.records().front()["r1"], c.kept);
        }
        EXPECT_EQ(changed.OUT, unchanged.OUT);
        EXPECT_FALSE(stop);
    }
}

TEST(Iterate, WithdrawsTheEndUntilTheFedBackValueSettles) {
    // x = x / 2 + 1 has the fixed point 2; the estimate starts at 0.
    for (const auto& [tolerance, maximum] : {std::pair{1e-4f, 100.0f}, std::pair{0.0f, 5.0f}}) {
        const MessageCapture trace;
        Block it(ubiterate, 1, {}, {0.0f, tolerance, maximum});
        Block g(2, 1, [](Block& b) { b.OUT[0] = b.IN[0] / 2 + 1; }, {{&it, 1}});
        it.connect({{&g, 1}});
        initAll({&it, &g});
        it.alt = &g;  // iteration first, no free timer: the sub-model ends the list
        EXPECT_GT(simulate({&it, &g}), 0);

        float x = 0.0f;
        int repeats = 0;
        while (std::fabs(x / 2 + 1 - x) > tolerance && repeats < maximum) x = x / 2 + 1, ++repeats;
        EXPECT_EQ(it.OUT[0], x);
        EXPECT_EQ(it.OUT[1], float(repeats));
        EXPECT_EQ(it.lastCalls, repeats + 1);
        EXPECT_EQ(g.lastCalls, 1);
        if (maximum == 5.0f) {
            EXPECT_EQ(trace.codes(), std::vector<int>{205933});
            EXPECT_EQ(trace.records().front()["i8"], "5");
        } else {
            EXPECT_EQ(trace.codes(), std::vector<int>{});
        }
    }
}

TEST(Loop, ControllerRepeatsAndTopRestartsAfterEachLoopEnd) {
    // Newton's iteration for the root of 2 inside a loop, run for three time steps.
    for (const float maximum : {50.0f, 3.0f}) {
        const MessageCapture trace;
        Block f(ubcalendar, 1, {}, {2024, 1, 1, 0, 3, 1});
        Block top(ublooptop, 2, {}, {1.0f});
        std::vector<float> guesses;
        Block g(3, 1, [&](Block& b) { guesses.push_back(b.IN[0]), b.OUT[0] = (b.IN[0] + 2 / b.IN[0]) / 2; },
                {{&top, 1}});
        Block ctl(ubloopctl, 4, {{&g, 1}}, {1e-6f, maximum});
        top.connect({{&ctl, 1}});
        std::vector<std::vector<float>> rows;
        Block rec = recorder(5, outputs(ctl, 1, 3), rows);
        const std::vector<Block*> list{&f, &top, &g, &ctl, &rec};
        initAll(list);
        chain(list);
        f.alt = &f, ctl.next = &top, ctl.alt = &rec, rec.next = &f;
        EXPECT_GT(simulate(list), 0);

        ASSERT_EQ(rows.size(), 3u);
        const size_t passes = guesses.size() / 3;
        for (const auto& row : rows) EXPECT_EQ(row[1], float(passes)) << "every step starts from 1";
        EXPECT_EQ(guesses[0], 1.0f);
        EXPECT_EQ(guesses[passes], 1.0f);
        if (maximum == 50.0f) {
            EXPECT_NEAR(rows[2][0], std::sqrt(2.0f), 1e-6f);
            EXPECT_EQ(rows[2][2], 1.0f);
            EXPECT_EQ(trace.codes(), std::vector<int>{});
        } else {
            EXPECT_EQ(passes, 3u);
            EXPECT_EQ(rows[2][2], 0.0f);
            EXPECT_EQ(trace.codes(), std::vector<int>{205932});  // once per run
        }
    }

    // The two-input top takes its start from input 1.
    Block start(1, 1, [](Block& b) { b.OUT[0] = 5; });
    Block back(2, 1, [](Block& b) { b.OUT[0] = 7; });
    Block top(ublooptop, 3, {{&start, 1}, {&back, 1}});
    initAll({&start, &back, &top});
    bool stop = false;
    std::vector<float> seen;
    for (int i = 0; i < 3; ++i) {
        start.call(stop), back.call(stop), top.call(stop);
        seen.push_back(top.OUT[0]);
        if (i == 1) top.IP[10] = 0;
    }
    EXPECT_EQ(seen, (std::vector<float>{5, 7, 5}));
}

TEST(Delay, ReadersSeeTheInputOfTheStepBefore) {
    // A reads the delay D, D reads A: the sort puts A first, and A = D + 1.
    Block f(ubcalendar, 1, {}, {2024, 1, 1, 0, 4, 1});
    std::vector<float> seen;
    Block a(2, 1, [&](Block& b) { seen.push_back(b.IN[0]), b.OUT[0] = b.IN[0] + 1; });
    Block d(ubdelay, 3, {{&a, 1}}, {10.0f});
    a.connect({{&d, 1}});
    const std::vector<Block*> list{&f, &a, &d};
    initAll(list);
    chain(list);
    f.alt = &f, d.next = &f;
    EXPECT_GT(simulate(list), 0);
    EXPECT_EQ(seen, (std::vector<float>{10, 11, 12, 13}));
}
