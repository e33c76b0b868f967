//#Block RECEIV
//#Description
// Heat balance of a receiver tube with the thermal mass of its wall: the outlet
// temperature of the fluid and the temperature of the mass.
//#Layout
//#Inputs 5
//#Outputs 3
//#Parameters 9
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Irradiance on the receiver (W/m$^2$)
//#IN[1] Inlet temperature ($^\circ$C)
//#IN[2] Mass flow (kg/s)
//#IN[3] Ambient temperature ($^\circ$C)
//#IN[4] Model time (s)
//#Outputs
//#OUT[0] Outlet temperature ($^\circ$C)
//#OUT[1] Mass flow, input 3 (kg/s)
//#OUT[2] Temperature of the thermal mass ($^\circ$C)
//#Parameters
//#BP[0] Receiver area, above 0 (m$^2$)
//#BP[1] Specific heat of the fluid, above 0 (J/(kg K))
//#BP[2] Linear heat-loss coefficient, at least 0 (W/(m$^2$ K))
//#BP[3] Emittance, at least 0 (-)
//#BP[4] First efficiency factor (-)
//#BP[5] Second efficiency factor (-)
//#BP[6] Number of iterations per step, 0 to 1000: with 0 a flowing fluid passes
// unchanged and the mass stays; any other count solves the step's balance to convergence (-)
//#BP[7] Heat capacity of the thermal mass, above 0 (J/K)
//#BP[8] Heat-transfer coefficient between fluid and mass, at least 0 (W/(m$^2$ K))
//#Strings
//#None
//#Remarks
// The receiver gains the absorbed irradiance less its linear and radiation losses, both
// at the mean of inlet and outlet temperature (the radiation by the Stefan-Boltzmann law
// in kelvin). The fluid takes that gain and what the mass gives it through p9; the mass
// takes the rest, ending each step where that exchange leaves it, so in every step the
// gain is what the fluid takes plus what the mass stores, and no step length carries the
// mass past the fluid. While the receiver gains, a mass too cold to let the fluid take
// any of it takes the whole gain and the fluid passes unchanged. Where the flow is too
// small for the mean of inlet and outlet to stand for the fluid in the tube, the fluid
// leaves at the temperature where it stops taking (or giving) heat: outlet and mass stay
// between the inlet, ambient, the mass's start and the temperature at which the receiver
// gains nothing. Without flow the mass relaxes towards ambient through p9 and the outlet
// is the mass temperature; a step too long for that stops it at ambient. A call at the
// time of the call before repeats the step from the state at its start, so the block may
// sit in a loop; an earlier time integrates from the start of the current step to it
// (nothing where it lies before that start). A time that is not a number repeats the
// step and is not kept. A step the receiver cannot compute (inputs that are no numbers,
// or beyond the float range) passes the fluid unchanged and keeps the state it found, its
// time included: the next call goes on from there.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "Solve.h"

#include <algorithm>
#include <cmath>

namespace vireo::pp {
namespace {

struct State {
    int& started;           // IP[10] 1 once the first step has run
    float& lastTime;        // RP[0] time of the last call
    float& stepStart;       // RP[1] start time of the current time step
    float& mass;            // RP[2] mass temperature after the last call
    float& massAtStepStart; // RP[3] mass temperature at the start of the current time step
    explicit State(receiv_block::View& b)
        : started(b.ip<10>()), lastTime(b.rp<0>()), stepStart(b.rp<1>()), mass(b.rp<2>()),
          massAtStepStart(b.rp<3>()) {}
};

constexpr double kSigma = 5.67e-08;
constexpr double kZeroCelsius = 273.15;

double fourth(double x) {
    const double square = x * x;
    return square * square;
}

// The receiver over one step with flow, in double precision: its gain at a mean fluid
// temperature, and what of it the fluid takes while the mass, coupled to the fluid, ends
// the step where that exchange leaves it (implicitly, so that no step length makes it
// overshoot).
struct Receiver {
    double absorbed;    // W: both efficiency factors times area times irradiance
    double lossRate;    // W/K: linear loss coefficient times area
    double radiation;   // W/K4: area times emittance times sigma
    double ambient;     // degC
    double massStart;   // degC
    double exchange;    // W/K between fluid and mass over the step
    double massShare;   // of the way from its start to the fluid that the mass goes

    double gain(double t) const {
        return absorbed - lossRate * (t - ambient) -
               radiation * (fourth(t + kZeroCelsius) - fourth(ambient + kZeroCelsius));
    }
    // What the fluid at mean temperature t takes: the gain and what the mass gives it.
    double toFluid(double t) const { return gain(t) + exchange * (massStart - t); }
};

struct Result {
    double outlet;
    double mass;
};

// The fluid from `inlet` at the capacity rate `rate` (W/K) through the receiver: the mean
// temperature of inlet and outlet at which what the fluid takes is what the receiver
// gives it. Solved to convergence: a plain iteration swings ever wider at small flows.
Result withFlow(const Receiver& r, double inlet, double rate, double ts, double capacity) {
    const double atInlet = r.toFluid(inlet), gainAtInlet = r.gain(inlet);
    // A cold mass takes the gain first: the fluid gives it nothing while the receiver gains.
    if (atInlet <= 0.0 && gainAtInlet > 0.0) return {inlet, r.massStart + gainAtInlet * ts / capacity};

    // The temperature the fluid heads for: where it stops taking heat or, losing heat,
    // where it stops giving any (its loss ends, or a cold mass starts to take the gain
    // alone). It lies within what the inlet's heat moves the fluid at this flow and what
    // the linear terms alone allow; the radiation only brings it closer.
    const bool heating = atInlet > 0.0;
    const auto settles = [&](double t) { return heating ? r.toFluid(t) : std::max(r.toFluid(t), r.gain(t)); };
    double far = inlet + atInlet / rate;
    const double linear = r.lossRate + r.exchange;
    if (linear > 0.0) {
        const double linearEnd = inlet + atInlet / linear;
        far = heating ? std::min(far, linearEnd) : std::max(far, linearEnd);
    }
    if (heating && r.radiation > 0.0)
        far = std::min(far, std::pow(fourth(inlet + kZeroCelsius) + atInlet / r.radiation, 0.25) - kZeroCelsius);
    if (!heating) far = std::max(far, -kZeroCelsius);
    double end = far;
    if ((settles(far) > 0.0) != heating) end = block::solve(settles, inlet, far, {.tolerance = 1e-7}).x;

    // Where the flow is too small for the mean of inlet and outlet to stand for the fluid
    // in the tube, the fluid reaches that temperature inside and leaves at it.
    const double low = std::min(inlet, end), high = std::max(inlet, end);
    const auto outletOf = [&](double mean) { return std::clamp(2.0 * mean - inlet, low, high); };
    const auto residual = [&](double mean) { return rate * (outletOf(mean) - inlet) - r.toFluid(mean); };
    const block::Root mean = block::solve(residual, inlet, end, {.tolerance = 1e-7});
    if (mean.converged) return {outletOf(mean.x), r.massStart + r.massShare * (mean.x - r.massStart)};
    // No sign change: the losing fluid reaches the temperature where the gain ends and the
    // cold mass starts to take it alone; the mass takes what the fluid gives.
    const double taken = rate * (end - inlet);
    return {end, r.massStart + (r.gain(end) - taken) * ts / capacity};
}

}  // namespace

void receiv_block::init(View& b) {
    if (refused(b)) return;  // a refused block starts nothing
    State s(b);
    s.lastTime = s.stepStart = 0.0f;
    s.mass = s.massAtStepStart = 20.0f;
}

void receiv_block::step(View& b) {
    State s(b);
    const float irradiance = b.in(0), inlet = b.in(1), flow = b.in(2), ambient = b.in(3);
    const float area = b.par<P::area>(), capacity = b.par<P::capacity>(), coupling = b.par<P::coupling>();

    // A time that is no number repeats the current step and is not kept: kept, it would
    // make the next step count from it and integrate nothing.
    const bool timed = std::isfinite(b.in(4));
    const bool first = s.started == 0;
    const float time = timed ? b.in(4) : s.lastTime;
    // The state the call goes on from, kept below only where the call computes one.
    float lastTime = first ? time : s.lastTime, stepStart = first ? time : s.stepStart;
    float massAtStepStart = first ? ambient : s.massAtStepStart;
    float mass;
    float ts;
    if (time <= lastTime) {
        mass = massAtStepStart;
        ts = time - stepStart;
    } else {
        mass = s.mass;
        massAtStepStart = s.mass;
        ts = time - lastTime;
        stepStart = lastTime;
    }
    lastTime = time;
    ts = forwardOnly(ts);

    double outlet = inlet, end = mass;
    if (!(flow > 0.0f)) {
        // Still fluid: the mass relaxes towards ambient; a step too long for that stops it there.
        const float pull = area * coupling * ts / capacity;
        end = withinOneStep({{pull, 0.0f}}) ? mass + (ambient - mass) * area * coupling * ts / capacity : ambient;
        outlet = end;
    } else if (block::toInt(b.par<P::iterations>()) > 0) {
        const double share = static_cast<double>(area) * coupling * ts / capacity;
        const Receiver r{.absorbed = static_cast<double>(b.par<P::efficiency2>()) * area * irradiance *
                                     b.par<P::efficiency1>(),
                         .lossRate = static_cast<double>(b.par<P::lossCoefficient>()) * area,
                         .radiation = static_cast<double>(area) * b.par<P::emittance>() * kSigma,
                         .ambient = ambient,
                         .massStart = mass,
                         .exchange = static_cast<double>(area) * coupling / (1.0 + share),
                         .massShare = share / (1.0 + share)};
        const Result x = withFlow(r, inlet, static_cast<double>(flow) * b.par<P::cp>(), ts, capacity);
        outlet = x.outlet;
        end = x.mass;
        // Rounding aside, the mass ends between its start, the inlet and the outlet; held
        // there where the step computed both, so that the bound hides no mass it could not.
        if (std::isfinite(outlet) && std::isfinite(end))
            end = std::clamp(end, std::min({r.massStart, static_cast<double>(inlet), outlet}),
                             std::max({r.massStart, static_cast<double>(inlet), outlet}));
    }
    // A step the receiver cannot compute (inputs that are no numbers, or beyond what a
    // float holds) passes the fluid unchanged and keeps the state it found, its time
    // included: kept, a NaN would stay for the rest of the run, and the next call goes on
    // from the last one that computed.
    const bool computed = std::isfinite(static_cast<float>(outlet)) && std::isfinite(static_cast<float>(end));
    b.out(0) = computed ? static_cast<float>(outlet) : (flow > 0.0f ? inlet : mass);
    b.out(1) = flow;
    b.out(2) = computed ? static_cast<float>(end) : mass;
    if (!computed) return;
    s.mass = static_cast<float>(end);
    s.lastTime = lastTime;
    s.stepStart = stepStart;
    s.massAtStepStart = massAtStepStart;
    if (timed) s.started = 1;
}

}  // namespace vireo::pp
