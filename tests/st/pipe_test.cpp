// The two pipes through the block harness: TUBLO against the exponential outlet of a pipe
// in a uniform ambient; TUBLOD's steady state against the fluid losing through the inner
// film and the wall loss in series, its plug moving one segment per residence time, its
// energy balance in every step, its cooling at standstill against the exponential decay
// of wall and fluid together, and its repeated calls.
#include "block_harness.h"
#include "message_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <span>
#include <string>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

constexpr double pi = std::numbers::pi;

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

// ---- TUBLO

BlockInstance tublo(float u, float surcharge, float cp, float length) {
    BlockInstance b(block("st0042"), {.inputs = 3, .parameters = {u, surcharge, cp, length}});
    EXPECT_EQ(b.init(), 0);
    return b;
}

// ---- TUBLOD

struct Pipe {
    float u = 0.3f, surcharge = 0, cp = 4186, length = 10, wallCp = 385, wallDensity = 8900, thickness = 0.001f,
          diameter = 0.016f, start = 20, density = 1000, segments = 10;
    std::vector<float> list() const {
        return {u, surcharge, cp, length, wallCp, wallDensity, thickness, diameter, start, density, segments};
    }
    int n() const { return static_cast<int>(segments); }
    double l() const { return static_cast<double>(length) / n(); }
    double fluidMass() const { return density * pi * diameter * diameter / 4 * l(); }  // per segment
    double wallCapacity() const {
        const double r = diameter / 2.0, outer = r + thickness;
        return wallCp * wallDensity * pi * (outer * outer - r * r) * l();
    }
    double film() const { return l() * pi * diameter * 300 / 2; }  // half the inner surface times 300 W/(m2 K)
    double lossPerSegment() const { return (u + u * surcharge / 100.0) * l(); }
};

BlockInstance tublod(const Pipe& p) {
    BlockInstance b(block("st0032"), {.inputs = 4, .parameters = p.list()});
    EXPECT_EQ(b.init(), 0);
    return b;
}

// The slots the block keeps: from RP 5 the wall temperatures, their copy at the step's
// start, the fluid temperatures at the segments' outlets, and their copy.
double wallContent(const BlockInstance& b, const Pipe& p) {
    double sum = 0;
    for (int i = 0; i < p.n(); ++i) sum += b.RP[static_cast<std::size_t>(5 + i)];
    return p.wallCapacity() * sum;
}
double fluidContent(const BlockInstance& b, const Pipe& p) {
    double sum = 0;
    for (int i = 0; i < p.n(); ++i) sum += b.RP[static_cast<std::size_t>(5 + 2 * p.n() + i)];
    return p.fluidMass() * p.cp * sum;
}

const std::vector<float>& call(BlockInstance& b, float tin, float flow, float ambient, float time) {
    return b.step({tin, flow, ambient, time});
}

}  // namespace

// A pipe in a uniform ambient loses T_a + (T_in - T_a) exp(-u L/(m cp)) at its outlet
// (Incropera, ch. 8). Each segment of length l takes its loss at its mean temperature,
// which multiplies the difference by (1 - x)/(1 + x) = exp(-2x - 2x^3/3 - ...) with x =
// u l/(2 m cp) instead of exp(-2x): the exponent errs by less than n x^3 over n segments.
// The loss is what the flow gives up.
TEST(Tublo, OutletAgainstTheExponentialSolution) {
    const float u = 0.3f, surcharge = 20, cp = 4186, tin = 70, ta = 5;
    const double ueff = u * 1.2;
    for (float length : {30.0f, 7.3f, 0.4f}) {
        BlockInstance b = tublo(u, surcharge, cp, length);
        for (float flow : {0.3f, 0.05f, 0.002f, 0.0005f}) {
            SCOPED_TRACE(::testing::Message() << length << " m, " << flow << " kg/s");
            const auto& out = b.step({tin, flow, ta});
            const double n = std::max(1.0, std::round(static_cast<double>(length))), x = ueff * length / n / (2.0 * flow * cp);
            const double exact = ta + (tin - ta) * std::exp(-ueff * length / (flow * cp));
            EXPECT_NEAR(out[0], exact, (tin - ta) * n * x * x * x + 1e-4);
            EXPECT_NEAR(out[1], flow * cp * (tin - static_cast<double>(out[0])), 1e-6 * out[1] + 1e-4);
        }
    }
    // Rounded to whole metres: 10.4 m are ten segments, as 10 m are.
    const double x = ueff * 1.04 / (2.0 * 0.0005 * cp);
    BlockInstance b = tublo(u, surcharge, cp, 10.4f);
    EXPECT_NEAR(b.step({tin, 0.0005f, ta})[0], ta + (tin - ta) * std::pow((1 - x) / (1 + x), 10), 1e-4);
}

// Without loss the outlet is the inlet; without flow (or with a negative one) too, and
// nothing is lost. A flow so small that a segment's loss exceeds its capacity flow cuts
// the segment further: the outlet comes nearer the ambient as the flow falls, never past
// it (the segment's factor (1 - x)/(1 + x) alone would be negative there).
TEST(Tublo, NoLossNoFlowAndTinyFlows) {
    BlockInstance lossless = tublo(0, 50, 4186, 25);
    for (float flow : {0.05f, 1e-9f}) {
        const auto& out = lossless.step({63.7f, flow, -12});
        EXPECT_EQ(out[0], 63.7f);
        EXPECT_EQ(out[1], 0.0f);
    }
    BlockInstance b = tublo(0.3f, 0, 4186, 7);
    for (float flow : {0.0f, -0.2f}) {
        const auto& out = b.step({63.7f, flow, -12});
        EXPECT_EQ(out[0], 63.7f);
        EXPECT_EQ(out[1], 0.0f);
    }
    float last = 63.7f;
    for (float flow : {1e-2f, 1e-3f, 1e-4f, 3e-5f, 1e-5f, 1e-6f, 1e-9f, 1e-30f}) {
        const float out = b.step({63.7f, flow, -12})[0];
        EXPECT_LE(out, last) << flow;
        EXPECT_GE(out, -12.0f) << flow;
        last = out;
    }
    EXPECT_NEAR(last, -12.0f, 1e-4);
}

// Steady state, with every segment's wall between fluid and ambient: the fluid's mean
// temperature loses through the inner film (300 W/(m2 K) on half the inner surface, at
// the wall's side twice) and the wall's loss in series, U' = 1/(1/(2 hA) + 1/(u l)),
// each segment's outlet again from its mean temperature. Then the loss is what the
// flow gives up and the wall releases nothing.
TEST(Tublod, SteadyStateAgainstTheSeriesResistances) {
    Pipe p;
    BlockInstance b = tublod(p);
    const float flow = 0.02f, tin = 60, ta = 10;
    std::vector<float> out;
    for (int k = 0; k <= 300; ++k) out = call(b, tin, flow, ta, 60.0f * k);
    const double resistance = 1 / (2 * p.film()) + 1 / p.lossPerSegment();
    const double y = 1 / resistance / (2.0 * flow * p.cp);
    const double expected = ta + (tin - ta) * std::pow((1 - y) / (1 + y), p.n());
    EXPECT_NEAR(out[0], expected, 1e-3);
    // Against the continuous pipe within its one-metre segments' error (n y^3).
    EXPECT_NEAR(out[0], ta + (tin - ta) * std::exp(-2 * y * p.n()), (tin - ta) * p.n() * y * y * y + 1e-3);
    EXPECT_NEAR(out[1], flow * p.cp * (tin - out[0]), 1e-4 * out[1]);
    EXPECT_NEAR(out[2], flow, 0);
    EXPECT_NEAR(out[3], 0, 1e-3 * out[1]);
}

// The fluid advances one segment per residence time: a pipe at the inlet's former
// temperature keeps its outlet exactly until the n-th step of one residence time, when
// the new inlet temperature arrives, after the pipe's fluid volume over the volume flow.
// A step of 2.6 or 2.4 residence times runs two whole ones and the rest, three sub-steps,
// so it carries the front through three segments; one of 2.0 or 1.9 through two.
TEST(Tublod, TheFrontMovesOneSegmentPerResidenceTime) {
    Pipe p;
    const double residence = 8;
    const float flow = static_cast<float>(p.fluidMass() / residence);
    BlockInstance b = tublod(p);
    call(b, 60, flow, 20, 0);
    for (int k = 1; k < p.n(); ++k) EXPECT_EQ(call(b, 60, flow, 20, static_cast<float>(residence * k))[0], 20.0f) << k;
    EXPECT_GT(call(b, 60, flow, 20, static_cast<float>(residence * p.n()))[0], 25.0f);

    Pipe three = p;
    three.segments = 3, three.length = 3;
    for (double steps : {2.6, 2.4, 2.0, 1.9, 3.0}) {
        BlockInstance c = tublod(three);
        call(c, 60, flow, 20, 0);
        const float out = call(c, 60, flow, 20, static_cast<float>(residence * steps))[0];
        if (steps > 2.0) {
            EXPECT_GT(out, 25.0f) << steps;
        } else {
            EXPECT_EQ(out, 20.0f) << steps;
        }
    }
}

// The fluid takes length over velocity to pass the pipe, however the run cuts its time: an
// 8 m pipe of 8 segments with a transit time of 53.1 s, no loss and no wall, a step of
// 60 degC at the inlet. The outlet passes the middle of 20 and 60 degC within a step of
// the transit time at steps below half a residence time (one short sub-step each) and at
// steps of one to several residence times (whole sub-steps and a rest).
TEST(Tublod, TheFrontArrivesAfterTheTransitTimeAtAnyStep) {
    Pipe p;
    p.length = 8, p.segments = 8, p.u = 0, p.wallCp = 0;
    const double transit = 53.1;
    const float flow = static_cast<float>(p.n() * p.fluidMass() / transit);
    for (const double step : {3.0, 6.7, 10.0, 13.3, 20.0, 30.0}) {
        BlockInstance b = tublod(p);
        double arrival = -1;
        messagesOf([&] {
            call(b, 60, flow, 20, 0);
            for (int k = 1; k * step < 4 * transit && arrival < 0; ++k)
                if (call(b, 60, flow, 20, static_cast<float>(k * step))[0] >= 40.0f) arrival = k * step;
        });
        EXPECT_NEAR(arrival, transit, step) << step;
    }
}

// In every step of one residence time, what flows in at the inlet less what leaves at the
// outlet (the fluid that stood in the last segment, the previous outlet temperature) less
// the loss over the step is the change of what wall and fluid hold; the wall releases
// OUT 3 over the step. A step under half a residence time moves a share of each segment's
// fluid on, and that share of the last segment's leaves. At standstill (the first such
// step mixing wall and fluid) the loss is what wall and fluid release together, and OUT 3
// says so. Inlet, ambient, flow and step lengths vary from step to step.
TEST(Tublod, EveryStepBalancesTheFlowsTheLossAndTheContent) {
    Pipe p;
    BlockInstance b = tublod(p);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0, 1);
    float time = 1000;
    double outlet = call(b, 20, 0, 10, time)[0];
    int still = 0, flowing = 0, share = 0;
    for (int k = 0; k < 400; ++k) {
        const double kind = unit(random);
        const bool flows = kind < 0.7, part = kind < 0.2;
        const float next = time + static_cast<float>(5 + 300 * unit(random));
        const double dt = static_cast<double>(next) - time;
        const double moved = part ? 0.05 + 0.4 * unit(random) : 1.0;  // of a segment's fluid
        const float flow = flows ? static_cast<float>(moved * p.fluidMass() / dt) : 0.0f;
        const float tin = static_cast<float>(10 + 80 * unit(random)), ta = static_cast<float>(-10 + 40 * unit(random));
        const double wall = wallContent(b, p), before = wall + fluidContent(b, p);
        std::vector<float> out;
        messagesOf([&] { out = call(b, tin, flow, ta, next); });  // short steps are reported once
        const double wallAfter = wallContent(b, p), after = wallAfter + fluidContent(b, p);
        const double through = flow * p.cp * dt * (tin - outlet), lost = out[1] * dt;
        const double tolerance = 2e-6 * (std::fabs(before) + std::fabs(through) + std::fabs(lost)) + 1e-3;
        SCOPED_TRACE(::testing::Message() << "step " << k << (flows ? " flowing" : " standing"));
        EXPECT_NEAR(after - before, through - lost, tolerance);
        if (flows) {
            EXPECT_NEAR(wall - wallAfter, out[3] * dt, tolerance);
            ++flowing;
            share += part;
        } else {
            EXPECT_EQ(out[3], out[1]);
            ++still;
        }
        outlet = out[0];
        time = next;
    }
    EXPECT_GT(still, 50);
    EXPECT_GT(flowing, 200);
    EXPECT_GT(share, 50);
}

// Over random pipes (the wall light or heavy, one to fifty segments) and random steps
// (half a second to an hour, flowing at 1 g/s to 0.5 kg/s or standing, inlets of 20, 60
// and 80 degC, ambients of 0 to 20 degC), the outlet and every wall and fluid temperature
// stay within the temperatures in play: a long sub-step against a light wall, or a film
// that outruns a small flow, must not carry them past the inlet, the wall or the ambient.
// The first pipe is a 16 m steel pipe of one segment at a step where this was found.
TEST(Tublod, TemperaturesStayWithinThoseInPlayAtAnyWallAndStep) {
    std::mt19937 random(54);
    std::uniform_real_distribution<double> unit(0, 1);
    const float inlets[] = {20, 60, 80};
    std::vector<std::string> outside;
    for (int k = 0; k < 60; ++k) {
        Pipe p;
        if (k == 0) {
            p = {0.438f, 0, 4186, 15.95f, 545.9f, 3747.5f, 0.00242f, 0.0317f, 20, 1000, 1};
        } else {
            const float segments[] = {1, 2, 5, 50};
            p.segments = segments[random() % 4], p.length = float(5 + 45 * unit(random));
            p.diameter = float(0.01 + 0.04 * unit(random)), p.thickness = float(0.0005 + 0.0045 * unit(random));
            p.wallDensity = unit(random) < 0.5 ? float(10 * unit(random)) : float(2700 + 6000 * unit(random));
            p.u = float(0.1 + 2 * unit(random));
        }
        BlockInstance b = tublod(p);
        float time = 0, low = 20, high = 20;
        call(b, 20, 0, 10, time);
        messagesOf([&] {  // short steps are reported once
            for (int step = 0; step < 40; ++step) {
                time += float(std::exp(std::log(0.5) + std::log(7200.0) * unit(random)));
                const float flow = unit(random) < 0.2 ? 0.0f : float(0.001 + 0.5 * unit(random));
                const float tin = inlets[random() % 3], ta = float(20 * unit(random));
                low = std::min({low, tin, ta}), high = std::max({high, tin, ta});
                call(b, tin, flow, ta, time);
                const auto held = std::span(b.RP).subspan(5, std::size_t(4 * p.n()));
                const auto [coldest, hottest] = std::minmax_element(held.begin(), held.end());
                if (*coldest < low - 1e-3f || *hottest > high + 1e-3f || b.OUT[0] < low - 1e-3f ||
                    b.OUT[0] > high + 1e-3f)
                    outside.push_back("pipe " + std::to_string(k) + " step " + std::to_string(step) + ": " +
                                      std::to_string(*coldest) + " to " + std::to_string(*hottest) + ", outlet " +
                                      std::to_string(b.OUT[0]) + ", in play " + std::to_string(low) + " to " +
                                      std::to_string(high));
            }
        });  // gathered, as the messages' capture takes standard output
    }
    EXPECT_EQ(outside, std::vector<std::string>{});
}

// At standstill wall and fluid, mixed at the first such step and evened out over the
// segments, cool as one towards the ambient: c dT/dt = -u l (T - T_a) with c = C + m cp,
// whose exponential the steps follow within their Crank-Nicolson error. A thin pipe
// without wall over an hour loses many times its heat capacity: it ends at the ambient
// and never below it (one Crank-Nicolson step would overshoot to the other side).
TEST(Tublod, StandstillCoolsMonotonouslyTowardsTheAmbient) {
    Pipe p;
    BlockInstance b = tublod(p);
    call(b, 20, 0.05f, 5, 0);
    call(b, 80, 0.05f, 5, 600);
    const double c = p.wallCapacity() + p.fluidMass() * p.cp;
    const double mixed = (wallContent(b, p) + fluidContent(b, p)) / (c * p.n());
    float last = 80;
    for (int k = 1; k <= 48; ++k) {
        const float out = call(b, 80, 0, 5, 600.0f + 300.0f * k)[0];
        const double x = 300 * p.lossPerSegment() / (2 * c);
        const double exact = 5 + (mixed - 5) * std::exp(-p.lossPerSegment() * 300 * k / c);
        EXPECT_NEAR(out, exact, (mixed - 5) * k * x * x * x + 1e-4) << k;
        EXPECT_LT(out, last);
        EXPECT_GT(out, 5.0f);
        last = out;
    }

    Pipe thin;
    thin.diameter = 0.004f, thin.wallDensity = 0, thin.u = 1;
    BlockInstance t = tublod(thin);
    call(t, 20, 0.001f, 0, 0);
    call(t, 70, 0.001f, 0, 600);
    const double before = fluidContent(t, thin);
    const auto& out = call(t, 70, 0, 0, 4200);
    EXPECT_GE(out[0], 0.0f);
    EXPECT_LT(out[0], 0.01f);
    EXPECT_NEAR(out[1] * 3600.0, before - fluidContent(t, thin), 1e-5 * before);
}

// A repeated call equals the first call at that time, whatever calls at that time came
// between: flowing, and at standstill, where the first standstill step mixes the pipe
// (a repeat that forgot the mixing had happened would skip it).
TEST(Tublod, RepeatedCallsEqualTheFirstCall) {
    Pipe p;
    struct Call {
        float tin, flow;
    };
    const Call flowing{55, 0.03f}, standing{55, 0}, other{30, 0.08f};
    for (const Call& c : {flowing, standing}) {
        BlockInstance once = tublod(p), repeated = tublod(p);
        for (BlockInstance* b : {&once, &repeated}) {
            call(*b, 20, 0.02f, 8, 0);
            call(*b, 70, 0.02f, 8, 900);
        }
        call(once, c.tin, c.flow, 8, 1800);
        for (const Call& between : {c, other, standing, c}) call(repeated, between.tin, between.flow, 8, 1800);
        EXPECT_EQ(repeated.OUT, once.OUT) << c.flow;
        EXPECT_EQ(repeated.RP, once.RP) << c.flow;
        EXPECT_EQ(repeated.IP, once.IP) << c.flow;
    }
}

// A time that went back returns to the start of the current step and integrates nothing,
// nor does a repeat at that time; the first call gives the initial temperature and no
// loss; a step shorter than a residence time is reported once, the first time.
TEST(Tublod, FirstCallTimeGoingBackAndShortSteps) {
    Pipe p;
    BlockInstance b = tublod(p);
    auto out = call(b, 60, 0.02f, 10, 0);
    EXPECT_EQ(out[0], 20.0f);
    EXPECT_EQ(out[1], 0.0f);
    out = call(b, 60, 0.02f, 10, 600);
    const auto start = std::vector<float>(b.RP.begin() + 5 + 2 * p.n(), b.RP.begin() + 5 + 3 * p.n());
    call(b, 60, 0.02f, 10, 1200);
    for (int k = 0; k < 2; ++k) {
        out = call(b, 60, 0.02f, 10, 900);  // back, then a repeat
        EXPECT_EQ(out[0], start.back());
        EXPECT_EQ(out[1], 0.0f);
        EXPECT_EQ(out[3], 0.0f);
        EXPECT_EQ(std::vector<float>(b.RP.begin() + 5 + 2 * p.n(), b.RP.begin() + 5 + 3 * p.n()), start);
    }
    const double residence = p.fluidMass() / 0.02;
    const auto m = messagesOf([&] {
        call(b, 60, 0.02f, 10, static_cast<float>(900 + 0.3 * residence));
        call(b, 60, 0.02f, 10, static_cast<float>(900 + 0.6 * residence));
    });
    ASSERT_EQ(m.codes, std::vector<int>{306027});
    EXPECT_NEAR(std::stod(m.records[0]["r1"]), residence, 1e-3);
    EXPECT_EQ(m.records[0]["s1"], "TUBLOD");
}

// Each instance keeps its own temperatures: two pipes of different segment counts called
// in turn give what each gives alone.
TEST(Tublod, InstancesWithDifferentSegmentCountsKeepApart) {
    Pipe four, many;
    four.segments = 4, many.segments = 25, many.length = 40;
    BlockInstance a = tublod(four), b = tublod(many), aloneA = tublod(four), aloneB = tublod(many);
    const auto run = [](BlockInstance* one, BlockInstance* other) {
        for (int k = 0; k < 30; ++k) {
            const float tin = 20 + (k % 7) * 9.0f, flow = k % 5 == 0 ? 0.0f : 0.04f;
            if (one) call(*one, tin, flow, 5, 120.0f * k);
            if (other) call(*other, 90 - tin, flow, 5, 120.0f * k);
        }
    };
    run(&a, &b);
    run(&aloneA, nullptr);
    run(nullptr, &aloneB);
    EXPECT_EQ(a.RP, aloneA.RP);
    EXPECT_EQ(b.RP, aloneB.RP);
    EXPECT_EQ(a.OUT, aloneA.OUT);
    EXPECT_EQ(b.OUT, aloneB.OUT);
}

// Parameters that give no pipe are errors at initialisation naming the parameter.
TEST(Pipes, ParametersThatGiveNoPipeAreRefused) {
    struct Case {
        int parameter;
        float value;
        int code;
    };
    const Case tublodCases[] = {{0, -0.1f, 305195}, {1, -101, 305364}, {2, 0, 305193},  {3, 0, 305361},
                                {4, -1, 305363},    {5, -1, 305363},   {6, -1e-3f, 305363}, {7, 0, 305362},
                                {8, NAN, 305189},   {9, 0, 305194},    {10, 0.9f, 305360}, {10, 999, 305360},
                                {10, NAN, 305360}};
    for (const Case& c : tublodCases) {
        std::vector<float> parameters = Pipe{}.list();
        parameters[static_cast<std::size_t>(c.parameter)] = c.value;
        BlockInstance b(block("st0032"), {.inputs = 4, .parameters = parameters});
        const auto m = messagesOf([&] { b.init(); });
        ASSERT_EQ(m.codes, std::vector<int>{c.code}) << c.parameter << " " << c.value;
        EXPECT_EQ(m.records[0]["i10"], std::to_string(c.parameter + 1));
        // The block refused runs nothing.
        EXPECT_EQ(b.step({60, 0.1f, 10, 0}), std::vector<float>(4, 0.0f));
    }
    std::vector<float> most = Pipe{}.list();
    most[10] = 998.9f;  // truncated
    BlockInstance largest(block("st0032"), {.inputs = 4, .parameters = most});
    EXPECT_EQ(largest.init(), 0);
    EXPECT_EQ(largest.step({60, 0.1f, 10, 0})[0], 20.0f);

    const Case tubloCases[] = {{0, -1, 305195}, {1, -100.5f, 305364}, {2, -4186, 305193}, {3, 0, 305361}};
    for (const Case& c : tubloCases) {
        std::vector<float> parameters = {0.3f, 0, 4186, 10};
        parameters[static_cast<std::size_t>(c.parameter)] = c.value;
        BlockInstance b(block("st0042"), {.inputs = 3, .parameters = parameters});
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, std::vector<int>{c.code}) << c.parameter;
    }
}
