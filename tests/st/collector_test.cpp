// The collectors through the block harness: SCETA against its balance solved here (in
// closed form where linear, by bisection in long double where quadratic), SCDYN against
// its segment balance stepped here, its no-flow decay, SCETA's balance as its steady
// state and the exponential outlet of a collector with distributed loss (Duffie and
// Beckman, Solar Engineering of Thermal Processes, ch. 6: T_o = T_a + S/U_L + (T_i - T_a
// - S/U_L) exp(-A U_L/(m c_p)), F' = 1) as its segments grow. Then all four blocks of the
// collector loop on inputs that are zero, negative, equal or not numbers.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

constexpr float kCp = 4186;

struct Curve {
    double area = 2, eta0 = 0.8, a1 = 3.5, a2 = 0.015;
};

BlockInstance sceta(const Curve& c, float series = 1, float rows = 1, float mode = 0) {
    BlockInstance b(block("st0008"),
                    {.inputs = 4,
                     .parameters = {static_cast<float>(c.area), static_cast<float>(c.eta0), static_cast<float>(c.a1),
                                    static_cast<float>(c.a2), kCp, series, rows, mode}});
    EXPECT_EQ(b.init(), 0);
    return b;
}

// The outlet (degC) of one collector: mcp (to - ti) = eta0 g - a1 (tm - ta) - a2 (tm - ta)^2,
// tm = (ti + to)/2, mcp per unit area. Bisection from the inlet towards where the gain
// or the loss drives it.
double balanceOutlet(const Curve& c, double ti, double ta, double g, double flow) {
    const long double mcp = static_cast<long double>(flow) * kCp / c.area;
    const auto f = [&](long double to) {
        const long double dt = (ti + to) / 2 - ta;
        return mcp * (to - ti) - c.eta0 * g + c.a1 * dt + c.a2 * dt * dt;
    };
    long double lo = ti, hi = ti;
    if (f(ti) < 0) hi = ti + 2000;
    else lo = ti - 2000;
    for (int i = 0; i < 200; ++i) {
        const long double mid = (lo + hi) / 2;
        (f(mid) < 0 ? lo : hi) = mid;
    }
    return static_cast<double>((lo + hi) / 2);
}

}  // namespace

TEST(Sceta, LinearAndQuadraticBalancesAndTheSeries) {
    struct Case {
        double ti, ta, g, flow;
    };
    const Case cases[] = {{20, 15, 800, 41.8 * 2 / kCp}, {60, 25, 950, 0.03}, {40, 0, 300, 0.1},
                          {80, 30, 0, 0.05},              {5, 20, 100, 0.01}};
    for (const double a2 : {0.0, 0.015, 1e-5}) {
        Curve c;
        c.a2 = a2;
        for (const Case& k : cases) {
            SCOPED_TRACE(testing::Message() << "a2 " << a2 << ", inlet " << k.ti << ", g " << k.g);
            BlockInstance b = sceta(c);
            const auto out = b.step({static_cast<float>(k.ti), static_cast<float>(k.flow), static_cast<float>(k.g),
                                     static_cast<float>(k.ta)});
            // The linear balance in closed form; both through the same bisection.
            const double mcp = k.flow * kCp / c.area;
            const double expected = a2 == 0 ? k.ti + (c.eta0 * k.g - c.a1 * (k.ti - k.ta)) / (mcp + c.a1 / 2)
                                            : balanceOutlet(c, k.ti, k.ta, k.g, k.flow);
            EXPECT_NEAR(out[0], expected, 1e-4);  // with a2 = 1e-5 a float root is kelvins off
            EXPECT_NEAR(out[0], balanceOutlet(c, k.ti, k.ta, k.g, k.flow), 1e-4);
            EXPECT_FLOAT_EQ(out[1], (out[0] + k.ti) / 2);
            EXPECT_NEAR(out[2], k.flow * kCp * (out[0] - k.ti), 1e-5 * std::fabs(out[2]) + 1e-3);
            EXPECT_NEAR(out[3], k.g > 0 ? out[2] / (c.area * k.g) : 0.0, 1e-6);
            EXPECT_NEAR(out[4], c.a1 + c.a2 * (out[1] - k.ta), 1e-5);
        }
        // Three in series give what three single collectors give one after the other.
        BlockInstance row = sceta(c, 3), one = sceta(c);
        const float flow = 0.02f;
        float t = 25;
        for (int i = 0; i < 3; ++i) t = one.step({t, flow, 700, 10})[0];
        EXPECT_NEAR(row.step({25, flow, 700, 10})[0], t, 2e-4) << a2;
        EXPECT_NEAR(row.OUT[3], row.OUT[2] / (3 * c.area * 700), 1e-6);
        // Two rows in parallel with twice the flow: each row as the single one.
        BlockInstance rows = sceta(c, 3, 2);
        EXPECT_FLOAT_EQ(rows.step({25, 2 * flow, 700, 10})[0], row.OUT[0]);
    }
}

// The stagnation temperature of the curve: eta0 g = a1 x + a2 x^2 at x = t - ta, solved
// here by the textbook root (-a1 + sqrt(a1^2 + 4 a2 eta0 g))/(2 a2).
double stagnationOf(const Curve& c, double ta, double g) {
    if (c.a2 == 0) return ta + c.eta0 * g / c.a1;
    return ta + (-c.a1 + std::sqrt(c.a1 * c.a1 + 4 * c.a2 * c.eta0 * g)) / (2 * c.a2);
}

// No outlet beyond the curve's stagnation temperature as seen from its inlet (157.07 degC
// for eta0 0.8, a1 3.5, a2 0.015 at 1000 W/m2 and 15 degC, not the linear 243.6): at a
// capacity flow below a1/2 the closed forms would overshoot it, and a warm inlet at a
// trickle flow at night would leave far below the ambient (with a2 outside the window
// of admissible roots). Either side, warmed or cooled, stops there, unwarned.
TEST(Sceta, OutletStaysOnItsInletsSideOfStagnation) {
    for (const double a2 : {0.0, 0.015}) {
        Curve c;
        c.a2 = a2;
        BlockInstance b = sceta(c);
        const auto m = messagesOf([&] {
            for (double flow = 1e-6; flow < 0.2; flow *= 1.5) {
                SCOPED_TRACE(testing::Message() << "a2 " << a2 << ", flow " << flow);
                const float night = b.step({60, static_cast<float>(flow), 0, 10})[0];
                EXPECT_GE(night, 10.0f);
                EXPECT_LE(night, 60.0f);
                const float day = b.step({10, static_cast<float>(flow), 800, 10})[0];
                EXPECT_GE(day, 10.0f);
                EXPECT_LE(day, stagnationOf(c, 10, 800) + 1e-3);
            }
        });
        // Random states on both sides of stagnation, down to a trickle: the balance's
        // outlet, or the stagnation temperature where it lies beyond; none warned about.
        std::mt19937 random(52);
        const auto draw = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
        std::vector<int> codes = m.codes;
        for (int n = 0; n < 200; ++n) {
            const float ti = float(draw(0, 120)), ta = float(draw(-10, 35)), g = float(draw(0, 1100)),
                        flow = float(std::exp(draw(std::log(1e-6), std::log(0.2))));
            std::vector<float> out;
            for (int code : messagesOf([&] { out = b.step({ti, flow, g, ta}); }).codes) codes.push_back(code);
            const double stagnant = stagnationOf(c, ta, g);
            SCOPED_TRACE(testing::Message() << "a2 " << a2 << ", in " << ti << " flow " << flow << " g " << g
                                            << " ambient " << ta << ": stagnation " << stagnant);
            const double lo = std::min<double>(ti, stagnant), hi = std::max<double>(ti, stagnant);
            EXPECT_NEAR(out[0], std::clamp(balanceOutlet(c, ti, ta, g, flow), lo, hi), 1e-3);
            EXPECT_GE(out[2] * (stagnant - ti), 0.0);
        }
        EXPECT_EQ(codes, std::vector<int>{}) << a2;
        // A trickle reaches stagnation.
        EXPECT_NEAR(b.step({10, 1e-6f, 800, 10})[0], stagnationOf(c, 10, 800), 1e-3) << a2;
        EXPECT_NEAR(b.step({15, 1e-4f, 1000, 15})[0], stagnationOf(c, 15, 1000), 1e-3) << a2;
        // More collectors in a row never give less heat: at a trickle the second one stays
        // at stagnation, at a flow it adds what its balance gives.
        for (const float flow : {1e-4f, 1e-3f, 0.01f, 0.05f}) {
            float previous = 0;
            for (const float series : {1.0f, 2.0f, 3.0f, 8.0f}) {
                BlockInstance row = sceta(c, series);
                const float heat = row.step({15, flow, 1000, 15})[2];
                EXPECT_GE(heat, previous * (1 - 1e-5f)) << a2 << " " << flow << " " << series;
                EXPECT_LE(row.OUT[0], stagnationOf(c, 15, 1000) + 1e-3);
                previous = heat;
            }
        }
        // A trickle at night cools to the ambient, and at 50 W/m2 to the stagnation.
        EXPECT_NEAR(b.step({60, 1e-6f, 0, 10})[0], 10.0f, 1e-3) << a2;
        EXPECT_NEAR(b.step({60, 2e-4f, 50, 20})[0], stagnationOf(c, 20, 50), 1e-3) << a2;
        EXPECT_LT(b.OUT[2], 0.0f);
    }
    // Random curves and rows, inlets from far below a warm night's ambient to 250 degC: each
    // collector in turn leaves at its balance's root between its inlet and the stagnation
    // temperature (by bisection here), or at the stagnation temperature without one, and
    // nothing is warned about. The window of admissible roots once missed them: an inlet
    // at the stagnation temperature (the next collector of a row that reached it), a hot
    // one at night (228 degC at -25 degC passed on unchanged where 210 was due), a cold
    // one at a trickle under a warm ambient (both roots admissible); each passed its inlet
    // on with a warning.
    std::mt19937 random(52);
    const auto draw = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const auto spread = [&](double lo, double hi) { return std::exp(draw(std::log(lo), std::log(hi))); };
    for (int n = 0; n < 300; ++n) {
        const Curve c{float(draw(1, 5)), float(draw(0.3, 0.9)), float(spread(0.3, 8)),
                      n % 2 ? 0.0f : float(spread(1e-4, 0.1))};
        const float series = std::round(float(draw(1, 8))), rows = std::round(float(draw(1, 4)));
        const float ti = float(draw(-20, 250)), ta = float(draw(-30, 45)), g = n % 5 ? float(draw(0, 1400)) : 0.0f,
                    flow = float(spread(1e-7, 20));
        BlockInstance b = sceta(c, series, rows);
        std::vector<float> out;
        const auto m = messagesOf([&] { out = b.step({ti, flow, g, ta}); });
        const long double mcp = static_cast<long double>(flow) / rows * kCp / c.area, gain = c.eta0 * g;
        long double t = ti;
        for (int k = 0; k < series; ++k) {
            const auto f = [&](long double to) {
                const long double x = (t + to) / 2 - ta;
                return mcp * (to - t) - gain + c.a1 * x + c.a2 * x * x;
            };
            const long double stagnant = stagnationOf(c, ta, g);
            long double lo = std::min(t, stagnant), hi = std::max(t, stagnant);
            if ((f(lo) > 0) == (f(hi) > 0)) {
                t = stagnant;
                continue;
            }
            for (int i = 0; i < 200; ++i) ((f((lo + hi) / 2) > 0) == (f(hi) > 0) ? hi : lo) = (lo + hi) / 2;
            t = (lo + hi) / 2;
        }
        SCOPED_TRACE(testing::Message() << "curve " << c.eta0 << " " << c.a1 << " " << c.a2 << ", " << series
                                        << " in series, in " << ti << " flow " << flow << " g " << g << " ambient "
                                        << ta);
        EXPECT_NEAR(out[0], double(t), 1e-3 + 1e-5 * std::fabs(double(t)));
        EXPECT_EQ(m.codes, std::vector<int>{});
    }
    // Without a linear loss there is no stagnation bound, and none that is not a number.
    for (const double a2 : {0.0, 0.015}) {
        const Curve c{2, 0.8, 0, a2};
        BlockInstance b = sceta(c);
        for (float g : {0.0f, 500.0f}) {
            const auto out = b.step({30, 0.02f, g, 10});
            for (float v : out) EXPECT_TRUE(std::isfinite(v)) << a2 << " " << g;
            EXPECT_NEAR(out[0], balanceOutlet(c, 30, 10, g, 0.02), 1e-3) << a2 << " " << g;
        }
    }
}

TEST(Sceta, CurveModeAndNoFlow) {
    const Curve c;
    BlockInstance curve = sceta(c, 4, 3, 1);
    auto out = curve.step({30, 50, 800, 20});  // mean temperature 50
    EXPECT_FLOAT_EQ(out[0], 70);
    EXPECT_FLOAT_EQ(out[1], 50);
    const double eta = 0.8 - 3.5 * 30 / 800.0 - 0.015 * 900 / 800.0;
    EXPECT_NEAR(out[3], eta, 1e-6);
    EXPECT_NEAR(out[2], 2 * eta * 800, 1e-3);  // one collector's area
    EXPECT_NEAR(out[4], 3.5 + 0.015 * 30, 1e-6);
    out = curve.step({30, 120, 200, 20});
    EXPECT_LT(out[3], 0);  // not limited
    EXPECT_LT(out[2], 0);
    out = curve.step({30, 50, -100, 20});
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[2], 0);

    BlockInstance field = sceta(c);
    for (float flow : {0.0f, -0.5f}) {
        out = field.step({35, flow, 800, 20});
        EXPECT_EQ(out[0], 35);
        EXPECT_EQ(out[1], 35);
        EXPECT_EQ(out[2], 0);
        EXPECT_EQ(out[3], 0);
        EXPECT_NEAR(out[4], 3.5 + 0.015 * 15, 1e-6);
    }
}

// Parameters at initialisation, each refused one reported with its number; the balances
// with no or two admissible roots of a curve whose loss shrinks as it warms (a1 or a2
// below 0) warned once each and counted in the last call. One whose loss grows moves
// towards its stagnation temperature instead, unwarned: with a2 = 1 a cold inlet's
// balance has no real root, and at a trickle it leaves at the ambient.
TEST(Sceta, RefusedParametersAndCountedBalances) {
    struct Case {
        std::vector<float> parameters;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {{0, 0.8f, 3.5f, 0.015f, kCp, 0.4f, 0.4f, 2}, {305187, 305185, 305186, 305011}},
        {{2, 0.8f, 3.5f, 0.015f, kCp, 10001, 1, -1}, {305185, 305011}},
        {{2, NAN, 3.5f, 0.015f, 0, 1, 1}, {305189, 305193}},
        {{2, 0.8f, 3.5f, 0.015f, kCp, 1, 1}, {}},  // mode left out: 0
    };
    for (const Case& k : cases) {
        BlockInstance b(block("st0008"), {.inputs = 4, .parameters = k.parameters});
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, k.codes);
    }

    const float trickle = 2.0f / kCp;  // 1 W/(m2 K)
    BlockInstance steep = sceta({2, 0.8, 3.5, 1});
    EXPECT_EQ(messagesOf([&] { EXPECT_NEAR(steep.step({0, trickle, 0, 20})[0], 20, 1e-3); }).codes,
              std::vector<int>{});
    BlockInstance b = sceta({2, 0.8, -3.5, 0});
    const auto m = messagesOf([&] {
        for (int i = 0; i < 3; ++i) b.step({0, trickle, 0, 20});  // a1 below 0: no solution at a trickle
        EXPECT_EQ(b.OUT[0], 0);  // the inlet passed on
        b.step({20, 0.02f, 800, 15});  // one admissible root
    });
    ASSERT_EQ(m.codes, std::vector<int>{205219});
    EXPECT_EQ(m.records[0]["r0"], "0");
    EXPECT_NEAR(b.OUT[0], balanceOutlet({2, 0.8, -3.5, 0}, 20, 15, 800, 0.02), 1e-4);
    BlockInstance two = sceta({2, 0.8, 3.5, -0.05});
    const auto m2 = messagesOf([&] {
        for (int i = 0; i < 2; ++i) EXPECT_EQ(two.step({20, 5 * trickle, 800, 15})[0], 20);
    });
    EXPECT_EQ(m2.codes, std::vector<int>{205220});
    const auto last = messagesOf([&] {
        b.last();
        two.last();
    });
    ASSERT_EQ(last.codes, (std::vector<int>{205221, 205222}));
    EXPECT_EQ(last.records[0]["i8"], "3");
    EXPECT_EQ(last.records[1]["i8"], "2");
}

namespace {

struct Dynamic {
    double area = 2, eta0 = 0.8, a1 = 3.5, a2 = 0.015, kd = 0.9, ceff = 7000;
    double series = 2, rows = 1, initial = 20, perCollector = 3;
    std::vector<float> list() const {
        return {static_cast<float>(area), static_cast<float>(eta0), static_cast<float>(a1), static_cast<float>(a2),
                static_cast<float>(kd),   static_cast<float>(ceff), kCp,
                static_cast<float>(series), static_cast<float>(rows), static_cast<float>(initial),
                static_cast<float>(perCollector)};
    }
};

BlockInstance scdyn(const Dynamic& d) {
    BlockInstance b(block("st0027"), {.inputs = 7, .parameters = d.list()});
    EXPECT_EQ(b.init(), 0);
    return b;
}

struct Weather {
    double inlet, flow, beam, diffuse, ambient;
};

const std::vector<float>& call(BlockInstance& b, const Weather& w, double time) {
    return b.step({static_cast<float>(w.inlet), static_cast<float>(w.flow), static_cast<float>(w.beam),
                   static_cast<float>(w.diffuse), static_cast<float>(w.ambient), 33.0f, static_cast<float>(time)});
}

// A row of segments, each with ceff (T' - T)/dt = a0 - a1 (T' - ta) - a2 (T - ta)^2 +
// 2 mcp (tin - T')/A over its area A, its outlet 2 T' - tin the next one's inlet.
struct ReferenceRow {
    Dynamic d;
    std::vector<double> t;
    double outlet = 0;
    void step(const Weather& w, const std::vector<double>& subSteps) {
        const double segmentArea = d.area * d.series / t.size();
        const double mcp = w.flow / d.rows * kCp;
        for (double dt : subSteps) {
            double tin = w.inlet;
            for (double& tk : t) {
                const double gain = d.eta0 * (w.beam + d.kd * w.diffuse) + d.a1 * w.ambient -
                                    d.a2 * (tk - w.ambient) * (tk - w.ambient);
                const double through = 2 * mcp / segmentArea;
                tk = (d.ceff / dt * tk + gain + through * tin) / (d.ceff / dt + d.a1 + through);
                tin = 2 * tk - tin;
            }
            outlet = tin;
        }
    }
};

}  // namespace

// Steps longer than 60 s run as sub-steps of 60 s and the remainder.
TEST(Scdyn, SubStepsOfSixtySecondsAndTheRemainder) {
    const Dynamic d;
    const Weather w{30, 0.03, 600, 150, 12};
    for (const auto& [seconds, parts] : {std::pair{150.0, std::vector<double>{60, 60, 30}},
                                         std::pair{120.0, std::vector<double>{60, 60}},
                                         std::pair{59.0, std::vector<double>{59}}}) {
        BlockInstance b = scdyn(d);
        const auto first = call(b, w, 1000);
        EXPECT_EQ(first, (std::vector<float>{20, 20, 0, 0}));
        const auto out = call(b, w, 1000 + seconds);
        ReferenceRow r{d, std::vector<double>(6, 20.0)}, whole{d, std::vector<double>(6, 20.0)};
        r.step(w, parts);
        whole.step(w, {seconds});
        EXPECT_NEAR(out[0], r.outlet, 1e-4) << seconds;
        double mean = 0;
        for (double t : r.t) mean += t / 6;
        EXPECT_NEAR(out[1], mean, 1e-4) << seconds;
        EXPECT_NEAR(out[2], 0.03 * kCp * (out[0] - 30), 1e-3);
        EXPECT_NEAR(out[3], out[2] / (2 * 2 * 750.0), 1e-6);
        if (parts.size() > 1) {
            EXPECT_GT(std::fabs(whole.outlet - r.outlet), 1e-3) << seconds;
        }
    }
}

// A call at the same time repeats the step from its start with the new inputs; a time
// that goes back resets the field, the copies of the step's start with it, so that a
// repetition there gives the reset state, and the next step starts from it.
TEST(Scdyn, RepetitionAndReset) {
    const Dynamic d;
    const Weather sunny{30, 0.03, 700, 100, 15}, cloudy{25, 0.01, 50, 200, 10};
    BlockInstance repeated = scdyn(d), single = scdyn(d);
    for (BlockInstance* b : {&repeated, &single}) {
        call(*b, sunny, 0);
        call(*b, sunny, 600);
    }
    call(repeated, sunny, 1200);
    call(repeated, cloudy, 1200.0004);
    EXPECT_EQ(call(single, cloudy, 1200), repeated.OUT);
    EXPECT_EQ(call(repeated, sunny, 1800), call(single, sunny, 1800));

    EXPECT_EQ(call(repeated, sunny, 900), (std::vector<float>{20, 20, 0, 0}));
    EXPECT_EQ(call(repeated, sunny, 900), (std::vector<float>{20, 20, 0, 0}));
    BlockInstance fresh = scdyn(d);
    call(fresh, cloudy, 0);
    EXPECT_EQ(call(repeated, sunny, 1500), call(fresh, sunny, 600));
}

// Without flow, sun or quadratic loss each sub-step takes the field's excess over the
// ambient down by 1 + a1 dt/ceff; the outlet is the row's mean, and no heat is given.
TEST(Scdyn, NoFlowDecay) {
    Dynamic d;
    d.a2 = 0;
    d.initial = 70;
    for (const double flow : {0.0, -0.02}) {
        BlockInstance b = scdyn(d);
        call(b, {40, flow, 0, 0, 10}, 0);
        const auto out = call(b, {40, flow, 0, 0, 10}, 600);
        const double expected = 10 + 60 * std::pow(1 + 3.5 * 60 / 7000, -10);
        EXPECT_NEAR(out[0], expected, 1e-4);
        EXPECT_NEAR(out[1], expected, 1e-4);
        EXPECT_EQ(out[2], 0);
        EXPECT_EQ(out[3], 0);
    }
}

// In the steady state one segment per collector is SCETA's balance, also where a
// fractional segment count leaves one segment per collector; as the segments grow the
// outlet tends to that of the distributed loss. Without capacity a step reaches it.
TEST(Scdyn, SteadyStatesOfSegmentRows) {
    Dynamic d;
    d.ceff = 0;
    const Weather w{25, 0.0125, 600, 200, 10};
    BlockInstance field = sceta({d.area, d.eta0, d.a1, d.a2}, 2);
    const float balance = field.step({25, 0.0125f, 600 + 0.9f * 200, 10})[0];
    for (double perCollector : {1.0, 1.2}) {
        d.perCollector = perCollector;
        BlockInstance b = scdyn(d);
        call(b, w, 0);
        EXPECT_NEAR(call(b, w, 3600)[0], balance, 1e-3) << perCollector;
    }

    d.a2 = 0;
    d.kd = 1;
    const double flow = 3.5 * 4 / kCp;  // A U_L/(m c_p) = 1
    const double s = 0.8 * 800 / 3.5;
    const double exponential = 10 + s + (25 - 10 - s) * std::exp(-1.0);
    double previous = 1e9;
    for (double perCollector : {1, 4, 16, 64}) {
        d.perCollector = perCollector;
        BlockInstance b = scdyn(d);
        call(b, {25, flow, 600, 200, 10}, 0);
        const double error = std::fabs(call(b, {25, flow, 600, 200, 10}, 600)[0] - exponential);
        EXPECT_LT(error, previous / 3) << perCollector;
        previous = error;
    }
    EXPECT_LT(previous, 0.02);
}

// Random fields, states and weather over one sub-step, a hot collector fed cold water
// among them: what the sun brings less what the curve loses (its linear loss at a
// segment's new temperature, the quadratic one at its start, as the balance is stepped)
// is what the fluid takes away and the segments store, within 0.5 % of the largest of
// these. No outlet lies beyond the temperatures in play: the inlet, the ambient, the
// collector's own and its stagnation temperature. Every sixth field holds little or no
// heat (a capacity below 300 J/(m2 K)), whose quadratic loss from the sub-step's start
// overshoots: a field without capacity near stagnation went below the ambient, then
// further each sub-step, to -300 degC. Its segments stay within those temperatures too,
// and its quadratic loss is the curve's at a temperature each passed through (at the
// end, above the ambient, where the start's would overshoot).
TEST(Scdyn, SweptStatesBalanceAndBoundTheOutlet) {
    std::mt19937 random(52);
    const auto draw = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    for (int n = 0; n < 150; ++n) {
        Dynamic d;
        d.area = draw(1, 3);
        d.eta0 = draw(0.6, 0.85);
        d.a1 = draw(1, 5);
        d.a2 = n % 3 == 0 ? 0 : draw(0, 0.03);
        d.kd = draw(0.8, 1);
        d.ceff = draw(2000, 20000);
        d.series = std::round(draw(1, 3));
        d.rows = std::round(draw(1, 2));
        d.initial = draw(0, 180);
        d.perCollector = std::round(draw(1, 4));
        Weather w{draw(5, 95), n % 5 == 0 ? 0.0 : draw(0, 0.1), draw(0, 900), draw(0, 300), draw(-10, 35)};
        float dt = float(draw(10, 60));
        if (n % 4 == 1) {  // cold water into a collector standing hot
            d.initial = draw(120, 180);
            w.inlet = draw(5, 40);
            w.beam = 0;
        } else if (n % 4 == 2) {  // and hot water into a cold one
            d.initial = draw(-10, 10);
            w.inlet = draw(70, 95);
        }
        const bool light = n % 6 == 5;
        if (light) {
            d.ceff = n % 12 == 5 ? 0.0 : draw(0, 300);
            d.a2 = draw(0.005, 0.03);
            d.initial = draw(60, 180);
            w.flow = std::exp(draw(std::log(1e-5), std::log(0.05)));
        }
        if (n == 0) {  // the field of 2 m2 at 153.6 degC fed 32 degC water without sun
            d = {2, 0.8, 2.256, 0, 0.95, 8731, 1, 1, 153.6, 1};
            w = {32, 0.0202, 0, 0, 15.7};
            dt = 60;
        }
        BlockInstance b = scdyn(d);
        call(b, w, 0);
        const auto segments = static_cast<std::size_t>(b.IP[10]);
        const std::vector<double> start(b.RP.begin() + 4, b.RP.begin() + 4 + std::ptrdiff_t(segments));
        const std::vector<float> out = call(b, w, dt);
        SCOPED_TRACE(testing::Message() << "state " << n << ": " << segments << " segments from " << d.initial
                                        << " degC, inlet " << w.inlet << " flow " << w.flow << " out "
                                        << testing::PrintToString(out));
        const double a = d.area * d.series * d.rows / double(segments);  // a segment of every row
        const double sun = d.eta0 * (w.beam + d.kd * w.diffuse);
        double gain = 0, loss = 0, stored = 0, coldest = std::min(w.inlet, w.ambient), hottest = w.inlet;
        double least = 0, most = 0;  // the quadratic loss at the temperatures each segment passed through
        for (std::size_t k = 0; k < segments; ++k) {
            const double t0 = start[k], t1 = b.RP[4 + k], x0 = t0 - w.ambient, x1 = t1 - w.ambient;
            gain += a * sun * dt;
            loss += a * (d.a1 * x1 + (light ? 0.0 : d.a2 * x0 * x0)) * dt;
            least += a * d.a2 * std::pow(std::max(std::min(x0, x1), 0.0), 2) * dt;
            most += a * d.a2 * std::max(x0 * x0, x1 * x1) * dt;
            stored += a * d.ceff * (t1 - t0);
            coldest = std::min(coldest, t0);
            hottest = std::max(hottest, t0);
        }
        const double useful = double(out[2]) * dt;
        const double largest = std::max({gain, std::fabs(loss), std::fabs(stored), std::fabs(useful), most});
        if (light) {
            EXPECT_GE(gain - loss - useful - stored, least - 0.005 * largest);
            EXPECT_LE(gain - loss - useful - stored, most + 0.005 * largest);
        } else {
            EXPECT_NEAR(gain - loss, useful + stored, 0.005 * largest);
        }
        hottest = std::max(hottest, stagnationOf({d.area, d.eta0, d.a1, d.a2}, w.ambient, w.beam + d.kd * w.diffuse));
        EXPECT_GE(out[0], coldest - 1e-3);
        EXPECT_LE(out[0], hottest + 1e-3);
        for (std::size_t k = 0; k < segments; ++k) {
            EXPECT_GE(b.RP[4 + k], coldest - 1e-3) << k;
            EXPECT_LE(b.RP[4 + k], hottest + 1e-3) << k;
        }
    }
}

TEST(Scdyn, RefusedParameters) {
    struct Case {
        std::vector<double> changes;  // index, value, ...
        std::vector<int> codes;
        int segments;
    };
    const Case cases[] = {
        {{0, 0, 5, -1, 7, 0.4, 8, 0.4}, {305187, 305197, 305185, 305186}, 0},
        {{6, 0, 1, NAN}, {305189, 305193}, 0},
        {{7, 2, 10, 0.3}, {305198}, 0},     // 0.6 segments per row
        {{7, 1, 10, 995}, {}, 995},         // the store's size
        {{7, 1, 10, 995.5}, {306028}, 0},   // beyond it, though 995 when truncated
        {{7, 2.5, 10, 390}, {306028}, 0},   // 3 in series: 1170
        {{7, 2.4, 10, 400}, {}, 800},       // 2 in series
    };
    for (const Case& c : cases) {
        std::vector<float> p = Dynamic{}.list();
        for (std::size_t i = 0; i < c.changes.size(); i += 2)
            p[static_cast<std::size_t>(c.changes[i])] = static_cast<float>(c.changes[i + 1]);
        BlockInstance b(block("st0027"), {.inputs = 7, .parameters = p});
        const auto m = messagesOf([&] { b.init(); });
        EXPECT_EQ(m.codes, c.codes) << c.changes[1];
        EXPECT_EQ(b.IP[10], c.segments);
        const auto out = b.OUT;
        call(b, {30, 0.02, 500, 100, 10}, 0);
        call(b, {30, 0.02, 500, 100, 10}, 600);
        if (!c.codes.empty()) {
            EXPECT_EQ(b.OUT, out);
        }
        for (float v : b.OUT) EXPECT_TRUE(std::isfinite(v));
    }
}

// All four blocks of the collector loop on inputs that are zero, negative, equal to one
// another, huge or not numbers, in every slot and as the time: outputs stay finite.
TEST(CollectorLoopBlocks, StayFiniteOnBadInputs) {
    const float inf = std::numeric_limits<float>::infinity(), huge = 3e38f;
    const std::vector<float> values = {0, -1, -1e6f, 20, 20, 1e6f, huge, -huge, inf, -inf, NAN};
    struct Block {
        const char* routine;
        std::vector<float> parameters;
    };
    const Block blocks[] = {
        {"st0003", {0.3f, 10, 0.6f, 4186, 1000, 0.8f, 0.6f, 20}},
        {"st0028", {0.3f, 0.6f, 4186, 1000, 0.8f, 20}},
        {"st0008", {2, 0.8f, 3.5f, 0.015f, 4186, 2, 1, 0}},
        {"st0008", {2, 0.8f, 3.5f, 0.0f, 4186, 2, 1, 1}},
        {"st0027", Dynamic{}.list()},
    };
    for (const Block& k : blocks) {
        const auto id = vireo_test::identify(block(k.routine));
        BlockInstance b(block(k.routine), {.inputs = id.maxInputs(), .parameters = k.parameters});
        const auto n = static_cast<std::size_t>(id.maxInputs());
        const auto outputs = k.routine == std::string("st0003") ? 11 : id.outputCount();
        std::string failure;  // gtest writes to the standard output that the capture holds
        messagesOf([&] {
            if (b.init() != 0) failure = "refused at initialisation";
            float time = 0;
            for (float v : values) {
                for (std::size_t slot = 0; slot <= n; ++slot) {
                    // v in one slot (time moving on), then in all of them at once.
                    std::vector<float> in = {40, 0.02f, 500, 10, 15, 30, 0};
                    in.resize(n);
                    if (slot < n) in[slot] = v;
                    else in.assign(n, v);
                    if (slot != n - 1 && slot < n) in[n - 1] = time += 300;
                    const auto& out = b.step(in);
                    for (int o = 0; o < outputs; ++o)
                        if (!std::isfinite(out[static_cast<std::size_t>(o)]) && failure.empty())
                            failure = "output " + std::to_string(o) + " with " + std::to_string(v) + " in slot " +
                                      std::to_string(slot);
                }
            }
        });
        EXPECT_EQ(failure, "") << k.routine;
    }
}
