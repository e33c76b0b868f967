//#Block TUBLOD
//#Description
// A liquid pipe with the heat capacity of its wall and of its fluid, cut into segments
// through which the fluid moves as a plug, one segment per residence time; wall and fluid
// exchange heat inside, the wall loses heat to the ambient. The pipe is integrated over
// the time between calls, and a call at the same time repeats the current step.
//#Layout
//#Inputs 4
//#Outputs 4
//#Parameters 11
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature ($^\circ$C)
//#IN[1] Mass flow; 0 or a negative flow is none (kg/s)
//#IN[2] Ambient temperature ($^\circ$C)
//#IN[3] Time (s)
//#Outputs
//#OUT[0] Outlet temperature, of the fluid at the end of the last segment ($^\circ$C)
//#OUT[1] Heat loss to the ambient, mean power over the step (W)
//#OUT[2] Mass flow, as the block took it (kg/s)
//#OUT[3] Heat released by the wall, mean power over the step; without flow by wall and
// fluid together (W)
//#Parameters
//#BP[0] Heat-loss coefficient per metre of pipe, at least 0 (W/(m K))
//#BP[1] Additional heat loss in percent of the coefficient, at least -100 (\%)
//#BP[2] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#BP[3] Length of the pipe, above 0 (m)
//#BP[4] Specific heat capacity of the wall, at least 0 (J/(kg K))
//#BP[5] Density of the wall, at least 0 (kg/m$^3$)
//#BP[6] Wall thickness, at least 0 (m)
//#BP[7] Inner diameter, above 0 (m)
//#BP[8] Initial temperature of wall and fluid ($^\circ$C)
//#BP[9] Density of the fluid, above 0 (kg/m$^3$)
//#BP[10] Number of segments, at least 1 and below 999, truncated to a whole number from 1 to
// 998 (-)
//#Strings
//#None
//#Remarks
// With flow, the step runs in sub-steps of one residence time $\Delta t_s = \rho_w A_i
// l/\dot m$ (the fluid of one segment moves on by one segment) and a shorter rest, which
// moves it on by the rest's share of a segment (that share of each segment's fluid is
// replaced, the remainder stays), so the fluid's delay does not depend on the step. In
// each, a segment's wall and the fluid passing it exchange heat with an inner coefficient
// of 300 W/(m$^2$ K) over half the inner surface, and the wall loses heat at the mean of
// its start and end temperature (Crank--Nicolson). Where a sub-step is long against the
// wall's heat capacity, its end temperature weighs more in that mean, as much as keeps
// the wall from passing the inlet and ambient temperatures; where that film exceeds the
// capacity flow, the fluid leaves at the wall's temperature instead of passing it. So
// the outlet never lies beyond the temperatures in play. A step shorter than one residence
// time is reported once per block (306027): from half a residence time on it runs one
// whole residence time, and the mean powers, taken over the shorter step, are overstated
// by up to twice; below that it runs one sub-step of the step's length. A step within a
// millionth of a whole number of residence times runs that many equal sub-steps, without
// a rest. A step that would take more than $2\cdot10^6$ segment updates runs in as many
// equal sub-steps as keep within them instead.
//
// Without flow, the first such step mixes each segment's wall and fluid and evens out
// all segments; wall and fluid then cool as one towards the ambient, so output 4 equals
// output 2. Where the loss of a segment over the step exceeds its heat capacity, the step
// is split into equal parts that do not, so the pipe never cools past the ambient.
//
// A call within 0.001 s of the one before repeats the current step from its start,
// standstill included, with the inputs it is given; a call at an earlier time returns to
// the start of the current step and integrates nothing, nor does a repeat after it. The
// first call only takes its time and gives the initial temperature. An inlet or ambient
// temperature that is not a number leaves the pipe at the start of the step. The number
// of segments, which lays out the pipe's state, and the initial temperature take effect
// at initialisation only: a number of segments changed during the run is warned about and
// not taken.
//#end
#include "blocks.h"

#include "Stepping.h"
#include "pipe.h"
#include "values.h"

#include "Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace vireo::st {

using block::Call, block::CallTime, block::classifyCall;

namespace {

using P = tublod_block::P;
constexpr int kMaxSegments = P::kMostSegments;
constexpr float kSameTime = 0.001f;
// Segment updates of one call at most: an ordinary pipe takes a few thousand per step;
// a huge flow through tiny segments over a long step must not hang the run.
constexpr double kMaxUpdates = 2e6;
constexpr double kInnerCoefficient = 300.0;  // W/(m2 K), fluid to wall
// A step this close to a whole number of residence times, relative to its length, is one.
constexpr double kRounding = 1e-6;

// IP[11]: 1 once the first step has taken its time; IP[12]: 1 while the fluid stands
// still and the segments have been mixed; IP[13]: the number of segments n, from
// initialisation; IP[14]: 1 once a short step has been reported. RP[0]: the time of the
// previous call; RP[1]: IP[12] at the start of the current step; RP[3]: the length of
// the current step; from RP[5] four blocks of n: the wall temperatures now and at the
// start of the step, the fluid temperatures at each segment's outlet now and at the
// start of the step, segment 1 at the inlet.
struct State {
    int& started;
    int& still;
    int& segments;
    int& reported;
    float& previousTime;
    float& stillAtStart;
    float& stepLength;
    std::span<float, 4 * kMaxSegments> store;
    explicit State(tublod_block::View& b)
        : started(b.ip<11>()), still(b.ip<12>()), segments(b.ip<13>()), reported(b.ip<14>()),
          previousTime(b.rp<0>()), stillAtStart(b.rp<1>()), stepLength(b.rp<3>()),
          store(b.rp<5, 4 * kMaxSegments>()) {}
    std::span<float> block(int k) {
        return store.subspan(static_cast<std::size_t>(k * segments), static_cast<std::size_t>(segments));
    }
    std::span<float> wall() { return block(0); }
    std::span<float> wallAtStart() { return block(1); }
    std::span<float> fluid() { return block(2); }
    std::span<float> fluidAtStart() { return block(3); }
    void toStart() {
        std::ranges::copy(wall(), wallAtStart().begin());
        std::ranges::copy(fluid(), fluidAtStart().begin());
        stillAtStart = static_cast<float>(still);
    }
    void fromStart() {
        std::ranges::copy(wallAtStart(), wall().begin());
        std::ranges::copy(fluidAtStart(), fluid().begin());
        still = stillAtStart != 0.0f ? 1 : 0;
    }
};

// One segment, from the parameters at this call; none where their products leave the
// range of a double or the fluid's mass comes out as nothing.
struct Segment {
    double loss;          // u_eff·l (W/K)
    double heatCapacity;  // of the fluid (J/(kg K))
    double wall;          // heat capacity of the wall C (J/K)
    double film;          // half the inner surface times the inner coefficient (W/K)
    double fluid;         // mass of the fluid (kg)
};
std::optional<Segment> segmentOf(const tublod_block::View& b, int n) {
    const pipe::Common common = pipe::commonOf(b);
    const double cWall = b.par<P::wallHeatCapacity>(), rhoWall = b.par<P::wallDensity>(),
                 thickness = b.par<P::wallThickness>(), d = b.par<P::diameter>(), rho = b.par<P::density>();
    constexpr double pi = std::numbers::pi;
    const double l = common.length / n;
    const Segment s{common.loss * l, common.heatCapacity,
                    cWall * rhoWall * pi * thickness * (thickness + d) * l,  // the annulus (s + d/2)² - (d/2)²
                    l * pi * d * kInnerCoefficient / 2.0, rho * l * pi * d * d / 4.0};
    for (double v : {s.loss, s.wall, s.film, s.fluid})
        if (!std::isfinite(v)) return std::nullopt;
    if (!(s.fluid > 0.0)) return std::nullopt;
    return s;
}

using Temperatures = std::array<double, kMaxSegments>;

struct Powers {
    double loss;      // to the ambient
    double released;  // by the wall (by wall and fluid without flow)
};

// The plug flow over a step of dt seconds: walls and outlets of the n segments.
Powers flowing(tublod_block::View& b, State& s, const Segment& g, double flow, double dt, double tin, double ta,
               Temperatures& wall, Temperatures& outlet) {
    const int n = s.segments;
    const double residence = g.fluid / flow;
    double whole = std::round(dt / residence), h = residence, rest = 0.0;
    if (whole >= 1.0 && std::fabs(dt - whole * residence) <= kRounding * dt) {
        // Whole residence times but for rounding: a rest sub-step, however short, would move
        // the fluid on by one more segment.
        h = dt / whole;
    } else {
        if (dt < residence) {
            if (s.reported == 0) {
                s.reported = 1;
                b.report(code::stepShorterThanSegment,
                         {.reals = {static_cast<float>(dt), static_cast<float>(residence),
                                    static_cast<float>(whole > 0.0 ? residence : dt)}});
            }
        } else if (whole * residence > dt) {
            whole -= 1.0;
        }
        rest = dt - whole * residence;  // below 0 when a short step runs a whole residence time
    }
    const double most = std::max(1.0, std::floor(kMaxUpdates / n));
    if (whole + (rest > 0.0 ? 1.0 : 0.0) > most) whole = most, h = dt / most, rest = 0.0;

    const double capacity = flow * g.heatCapacity;
    // The fluid passing the wall leaves at z1 of its inlet and 2 z2 of the wall's mean
    // temperature, the wall taking `film` = 2 z2 capacity (W/K) times their difference. A
    // film beyond the capacity flow would take the fluid past the wall's temperature (z1
    // below 0): there the fluid leaves at the wall's temperature.
    const double hA = std::min(g.film, capacity);
    const double z1 = (capacity - hA) / (hA + capacity), z2 = hA / (hA + capacity), film = 2.0 * z2 * capacity;
    Powers sum{0.0, 0.0};
    // A sub-step shorter than a residence time moves the fluid on by its share of a
    // segment: that share of each segment's fluid is replaced by what passed the wall,
    // the rest stays, so the front travels as far as the fluid does.
    const auto subStep = [&](double length, double share) {
        const double c = g.wall / length, pulls = film + g.loss;
        // The wall meets fluid and ambient at its mean temperature over the sub-step,
        // theta of its end and the rest of its start: Crank-Nicolson (theta 1/2) as long
        // as the start keeps a weight of at least 0; a sub-step long against the wall's
        // capacity takes the end more, so the wall's new temperature never passes the
        // inlet's or the ambient's (a wall of no capacity takes the end alone).
        const double theta = std::max(0.5, 1.0 - c / pulls);
        double inlet = tin;
        for (int i = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            const double tw = wall[k];
            const double tw1 =
                bounded((g.loss * ta + film * inlet + (c - (1.0 - theta) * pulls) * tw) / (c + theta * pulls));
            const double tout = bounded(z1 * inlet + 2.0 * z2 * ((1.0 - theta) * tw + theta * tw1));
            sum.loss += capacity * (inlet - tout) * length - (tw1 - tw) * g.wall;
            sum.released += g.wall * (tw - tw1);
            wall[k] = tw1;
            inlet = outlet[k];  // the fluid that stood in this segment moves on to the next
            outlet[k] = share * tout + (1.0 - share) * outlet[k];
        }
    };
    for (int k = block::toInt(whole); k > 0; --k) subStep(h, 1.0);
    if (rest > 0.0) subStep(rest, std::min(rest / residence, 1.0));
    // The sub-steps' lengths less a negative rest add up to the step.
    return {sum.loss / dt, sum.released / dt};
}

// Standing fluid over a step of dt seconds: wall and fluid of each segment as one.
Powers standing(State& s, const Segment& g, double dt, double ta, Temperatures& wall, Temperatures& fluid) {
    const int n = s.segments;
    const double c1 = g.wall + g.fluid * g.heatCapacity;
    if (s.still == 0) {
        double sum = 0.0;
        for (int k = 0; k < n; ++k) sum += (wall[k] * g.wall + g.fluid * g.heatCapacity * fluid[k]) / c1;
        std::fill_n(wall.begin(), n, sum / n);
        s.still = 1;
    }
    // Crank-Nicolson: the heat released equals the loss at the mean of the start and end
    // temperature. A part may lose no more than its heat capacity, or the segment would
    // end beyond the ambient.
    const double c2 = dt * g.loss / 2.0;
    const double parts = c2 > c1 ? std::ceil(c2 / c1) : 1.0;
    const double factor = std::pow((c1 - c2 / parts) / (c1 + c2 / parts), parts);
    double released = 0.0;
    for (int k = 0; k < n; ++k) {
        const double t = wall[k], t1 = ta + (t - ta) * factor;
        released += c1 * (t - t1);
        wall[k] = fluid[k] = t1;
    }
    return {released / dt, released / dt};
}

}  // namespace

// The segments lay out the state: a change of their number during the run is not taken.
bool tublod_block::checksHold(View& b) {
    b.keepsFromInit<P::segments>(static_cast<float>(State(b).segments),
                                 static_cast<float>(block::toInt(b.par<P::segments>())));
    return true;
}

void tublod_block::init(View& b) {
    State s(b);
    s.started = s.still = s.segments = s.reported = 0;
    if (refused(b)) return;
    s.segments = block::toInt(b.par<P::segments>());
    std::ranges::fill(s.store.first(static_cast<std::size_t>(4 * s.segments)), b.par<P::startTemperature>());
}

void tublod_block::step(View& b) {
    State s(b);
    const int n = s.segments;
    const auto segment = segmentOf(b, n);
    if (!segment) return;
    const CallTime c = classifyCall(b.in(3), s.previousTime, s.started != 0, kSameTime);
    s.previousTime = c.reference;
    switch (c.call) {
        case Call::first:
            s.started = 1;
            s.still = 0;
            s.stillAtStart = b.rp<2>() = s.stepLength = 0.0f;
            std::ranges::fill(s.store.first(static_cast<std::size_t>(4 * n)), b.par<P::startTemperature>());
            b.out(0) = b.par<P::startTemperature>();
            b.out(1) = 0.0f;
            return;
        case Call::back:
            s.stepLength = 0.0f;
            s.fromStart();
            break;
        case Call::repeat:
            s.fromStart();
            break;
        case Call::next:
            s.stepLength = stored(c.step);
            s.toStart();
            break;
    }
    const double dt = s.stepLength;
    const float tin = b.in(0), ta = b.in(2);
    if (!(dt > 0.0) || !allFinite({tin, ta})) {
        b.out(0) = s.fluid().back();
        b.out(1) = b.out(3) = 0.0f;
        return;
    }

    Temperatures wall{}, fluid{};
    std::ranges::copy(s.wall(), wall.begin());
    std::ranges::copy(s.fluid(), fluid.begin());
    const double flow = positivePart(b.in(1));
    Powers p{};
    if (flow > 0.0) {
        s.still = 0;
        p = flowing(b, s, *segment, flow, dt, tin, ta, wall, fluid);
    } else {
        p = standing(s, *segment, dt, ta, wall, fluid);
    }
    const auto count = static_cast<std::size_t>(n);
    std::ranges::transform(std::span(wall).first(count), s.wall().begin(), stored);
    std::ranges::transform(std::span(fluid).first(count), s.fluid().begin(), stored);
    b.out(0) = s.fluid().back();
    b.out(1) = stored(p.loss);
    b.out(2) = stored(flow);
    b.out(3) = stored(p.released);
}

}  // namespace vireo::st
