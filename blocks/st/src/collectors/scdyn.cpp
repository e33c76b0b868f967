//#Block SCDYN
//#Description
// A field of liquid collectors with thermal capacity: each row of collectors in series
// is cut into segments along the flow, and every segment's mean temperature is advanced
// in time by an energy balance implicit in its linear terms, with the collector's
// efficiency parameters, its effective heat capacity per unit area and the capacity flow
// through it.
//#Layout
//#Inputs 7
//#Outputs 4
//#Parameters 11
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature of the field ($^\circ$C)
//#IN[1] Total mass flow of the field; a negative flow is none (kg/s)
//#IN[2] Beam irradiance on the collector plane; a negative value is taken as 0 (W/m$^2$)
//#IN[3] Diffuse irradiance on the collector plane; a negative value is taken as 0 (W/m$^2$)
//#IN[4] Ambient temperature ($^\circ$C)
//#IN[5] Incidence angle, not used: the beam incidence-angle factor is 1 (degrees)
//#IN[6] Time (s)
//#Outputs
//#OUT[0] Outlet temperature of a row ($^\circ$C)
//#OUT[1] Mean collector temperature, over the segments of a row ($^\circ$C)
//#OUT[2] Useful heat flow of the field (W)
//#OUT[3] Efficiency, the heat over the irradiance on the whole area; 0 without
// irradiance (-)
//#Parameters
//#BP[0] Area of one collector, above 0 (m$^2$)
//#BP[1] Optical efficiency $\eta_0$ (-)
//#BP[2] Linear heat-loss coefficient $a_1$ (W/(m$^2$ K))
//#BP[3] Quadratic heat-loss coefficient $a_2$ (W/(m$^2$ K$^2$))
//#BP[4] Incidence-angle factor of the diffuse irradiance (-)
//#BP[5] Effective heat capacity per unit collector area, at least 0 (J/(m$^2$ K))
//#BP[6] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#BP[7] Collectors in series per row, at least 1 when rounded (-)
//#BP[8] Rows in parallel, at least 1 when rounded (-)
//#BP[9] Initial temperature of all segments, also after a reset ($^\circ$C)
//#BP[10] Segments per collector, a real number; times the collectors in series and
// truncated it gives the segments per row, from 1 to 995 (-)
//#Strings
//#None
//#Remarks
// Each segment follows $c_{eff}\, dT/dt = \eta_0 (G_b + k_d G_d) - a_1 (T - t_a) - a_2 (T -
// t_a)^2 + 2 \dot m c_p (t_{in} - T)/A$, with its area $A$, its mean temperature $T$, its
// inlet $t_{in}$ and its outlet $2 T - t_{in}$, the quadratic loss taken at the start of
// a sub-step; where that would send the segment beyond the temperatures in play (a field
// of little or no capacity far above the ambient), at its new temperature and above the
// ambient only. Where the outlet would lie beyond the temperatures in play, the inlet, the
// segment's own at the sub-step's start, the ambient and the stagnation temperature (as
// where cold fluid meets a segment standing hot), it is held at the nearest of them and
// the segment keeps what the fluid leaves. Steps longer than 60 s run in sub-steps of
// 60 s and a remainder. Without flow the row ends each step mixed to its mean
// temperature, which is then also the outlet.
//
// A call within 0.001 s of the one before repeats the current step from its start with
// the inputs it is given; a call at an earlier time resets the field to its initial
// temperature. The first call only takes its time and gives the initial state. Inputs
// that are not numbers: a flow or irradiance is none, a time repeats the current step,
// a temperature keeps the field at the start of the step.
//#end
#include "blocks.h"

#include "Stepping.h"
#include "collector_curve.h"
#include "values.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>

namespace vireo::st {

using block::Call, block::CallTime, block::classifyCall;

namespace {

constexpr int kMaxSegments = 995;
constexpr double kSubStep = 60.0;
// Sub-steps of one call at most: a step beyond two weeks takes longer sub-steps, which
// the implicit balance keeps stable.
constexpr double kMaxSubSteps = 20000.0;
constexpr float kSameTime = 0.001f;

// IP[10]: segments per row n, from initialisation; IP[11]: 1 once the first step has
// taken its time; IP[12]: cleared at initialisation. RP[0]: the time of the last call;
// RP[1], RP[2]: the mean collector temperature now and at the start of the current step;
// RP[3]: the length of the current step; RP[4..3+n], RP[4+n..3+2n]: the segment
// temperatures now and at the start of the step, segment 1 at the row's inlet.
struct State {
    int& segments;
    int& started;
    int& unused;
    float& previousTime;
    float& mean;
    float& startMean;
    float& stepLength;
    std::span<float, 2 * kMaxSegments> store;
    explicit State(scdyn_block::View& b)
        : segments(b.ip<10>()), started(b.ip<11>()), unused(b.ip<12>()), previousTime(b.rp<0>()), mean(b.rp<1>()),
          startMean(b.rp<2>()), stepLength(b.rp<3>()), store(b.rp<4, 2 * kMaxSegments>()) {}
    std::span<float> now() { return store.first(static_cast<std::size_t>(segments)); }
    std::span<float> atStart() {
        return store.subspan(static_cast<std::size_t>(segments), static_cast<std::size_t>(segments));
    }
};

using P = scdyn_block::P;

// Applied to the segments per row that BP 10 gives with the rounded series count.
constexpr Rule kAtLeastOneSegment{.parameter = P::segments, .low = 1, .high = FLT_MAX, .code = code::tooFewSegments};
constexpr Rule kSegmentStore{
    .parameter = P::segments, .low = -FLT_MAX, .high = kMaxSegments, .code = code::tooManySegments};

// What a step takes from the parameters.
struct Field {
    double area, eta0, a1, a2, kd, ceff, cp, series, rows, initial;
};
Field fieldOf(const scdyn_block::View& b) {
    return {b.par<P::area>(), b.par<P::eta0>(), b.par<P::a1>(), b.par<P::a2>(), b.par<P::diffuseFactor>(),
            b.par<P::capacity>(), b.par<P::cp>(), std::round(b.par<P::series>()), std::round(b.par<P::rows>()),
            b.par<P::initial>()};
}

void writeOutputs(scdyn_block::View& b, float outlet, float mean, float heat, float efficiency) {
    b.out(0) = outlet;
    b.out(1) = mean;
    b.out(2) = heat;
    b.out(3) = efficiency;
}

// The row over one step of `length` seconds from the segment temperatures t; returns the
// outlet and leaves the row's new temperatures in t.
double advanceRow(std::span<double> t, const Field& f, double segmentArea, double flow, double length, double tin,
                  double ta, double absorbed) {
    double whole = 0.0, h = length, rest = length;
    if (length >= kSubStep) {
        whole = std::floor(length / kSubStep);
        rest = length - kSubStep * whole;
        h = kSubStep;
        if (whole > kMaxSubSteps) whole = kMaxSubSteps, h = length / whole, rest = 0.0;
    }
    // Twice the capacity flow per unit segment area: the segment's mean temperature lies
    // halfway between its inlet and its outlet.
    const double capacityFlow = 2.0 * flow / f.rows * f.cp / segmentArea;
    const auto n = static_cast<double>(t.size());
    const double hottest = collector::stagnation(ta, absorbed, f.a1, f.a2);
    double outlet = 0.0;
    const auto subStep = [&](double dt) {
        const double through = capacityFlow * dt;
        double inlet = tin, sum = 0.0;
        for (double& tk : t) {
            const double start = tk, from = flow > 0.0 ? inlet : start;  // no flow brings nothing
            const double lowest = std::min({from, start, ta}), highest = std::max({from, start, hottest});
            // The segment's balance with `coupled` of the flow's capacity on its new
            // temperature and `brought` what the flow brings besides, the quadratic loss
            // taken at the sub-step's start. Where that loss outweighs the capacity (little
            // or none, far above the ambient) the step overshoots beyond the temperatures
            // in play, and again the next, swinging without bound (a field without
            // capacity near stagnation went to -300 degC); there the loss is taken at the
            // new temperature, above the ambient only, whose balance has its one root
            // between them. No capacity, loss or flow to hold the balance: the segment
            // stays as it is.
            const auto settle = [&](double coupled, double brought) {
                const double b = f.ceff + f.a1 * dt + coupled, y0 = start - ta;
                if (!(b > 0.0)) return start;
                const double explicitly = (f.ceff * start + dt * (absorbed + f.a1 * ta - f.a2 * y0 * y0) + brought) / b;
                if ((explicitly >= lowest && explicitly <= highest) || !(f.a2 > 0.0)) return bounded(explicitly);
                const double c = f.ceff * y0 + dt * absorbed + brought - coupled * ta;
                const double y = c > 0.0 ? 2.0 * c / (b + std::sqrt(b * b + 4.0 * f.a2 * dt * c)) : c / b;
                return bounded(ta + y);
            };
            tk = settle(through, through * inlet);
            double out = bounded(2.0 * tk - inlet);
            // The outlet as far beyond the segment's mean as its inlet lies below: where
            // fluid meets a segment far from its own temperature (cold water into a
            // collector standing hot) that puts out more than anything in play. The
            // outlet then stays within the inlet, the segment's start, the ambient and
            // the stagnation temperature, and the segment keeps what the fluid leaves.
            if (flow > 0.0 && !(out >= lowest && out <= highest)) {
                out = std::clamp(out, lowest, highest);
                if (f.ceff + f.a1 * dt > 0.0) tk = settle(0.0, through / 2.0 * (inlet - out));
            }
            sum += tk;
            inlet = out;
        }
        outlet = flow > 0.0 ? inlet : sum / n;
    };
    for (double k = 0; k < whole; ++k) subStep(h);
    if (rest > 0.0) subStep(rest);
    if (!(flow > 0.0)) std::fill(t.begin(), t.end(), outlet);
    return outlet;
}

double segmentsPerRow(const scdyn_block::View& b) {
    return static_cast<double>(b.par<P::segments>()) * fieldOf(b).series;
}

}  // namespace

bool scdyn_block::tiesHold(View& b) {
    const auto perRow = static_cast<float>(segmentsPerRow(b));
    return b.check(kAtLeastOneSegment, perRow) && b.check(kSegmentStore, perRow);
}

void scdyn_block::init(View& b) {
    State s(b);
    s.segments = s.started = s.unused = 0;
    s.stepLength = 0.0f;
    if (refused(b)) return;
    s.mean = s.startMean = b.par<P::initial>();
    writeOutputs(b, s.mean, s.mean, 0.0f, 0.0f);
    s.segments = static_cast<int>(segmentsPerRow(b));
    std::fill_n(s.store.begin(), 2 * s.segments, b.par<P::initial>());
}

void scdyn_block::step(View& b) {
    State s(b);
    const Field f = fieldOf(b);
    if (s.segments < 1 || s.segments > kMaxSegments) return;  // the store's bounds, whatever the slot holds
    const auto reset = [&] {
        s.mean = s.startMean = stored(f.initial);
        std::fill(s.store.begin(), s.store.begin() + 2 * s.segments, s.mean);
        s.stepLength = 0.0f;
    };
    const CallTime c = classifyCall(b.in(6), s.previousTime, s.started != 0, kSameTime);
    s.previousTime = c.reference;
    switch (c.call) {
        case Call::first:
            s.started = 1;
            [[fallthrough]];
        case Call::repeat:
            s.mean = s.startMean;
            std::copy_n(s.atStart().begin(), s.segments, s.now().begin());
            break;
        case Call::back:
            reset();
            break;
        case Call::next:
            s.stepLength = stored(c.step);
            s.startMean = s.mean;
            std::copy_n(s.now().begin(), s.segments, s.atStart().begin());
            break;
    }
    const float tin = b.in(0), ta = b.in(4);
    if (c.call == Call::back || !(s.stepLength > 0.0f) || !allFinite({tin, ta})) {
        writeOutputs(b, s.mean, s.mean, 0.0f, 0.0f);
        return;
    }

    const double flow = positivePart(b.in(1));
    const double beam = positivePart(b.in(2)), diffuse = positivePart(b.in(3));
    const double totalArea = f.series * f.area * f.rows;
    std::array<double, kMaxSegments> t{};
    const std::span<double> row(t.data(), static_cast<std::size_t>(s.segments));
    std::copy_n(s.now().begin(), s.segments, row.begin());
    const double outlet = advanceRow(row, f, totalArea / (s.segments * f.rows), flow, s.stepLength, tin, ta,
                                     f.eta0 * (beam + f.kd * diffuse));
    double sum = 0.0;
    for (std::size_t k = 0; k < row.size(); ++k) sum += s.now()[k] = stored(row[k]);
    s.mean = stored(sum / s.segments);

    const float out = stored(outlet);
    const double heat = flow * f.cp * (static_cast<double>(out) - tin);
    const double irradiance = beam + diffuse;
    writeOutputs(b, out, s.mean, stored(heat), irradiance > 0.0 ? stored(heat / (totalArea * irradiance)) : 0.0f);
}

}  // namespace vireo::st
