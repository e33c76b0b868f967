#include "heat_exchanger.h"

#include "Effectiveness.h"
#include "Numbers.h"
#include "Solve.h"
#include "steam.h"
#include "steam_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vireo::pp::exchanger {
namespace {

constexpr int kCells = 20;

// The cells have settled once every cell holds what it held two passes before: a cell at
// the end of evaporation can swing between two states from pass to pass for good, now and
// then the outlets with it (which then give the mean of the two). The outlets alone do
// not tell: they stand nearly still for many passes while the end of evaporation creeps
// through the cells. An oil by its temperature; water by its enthalpy, within a few
// tenths of a J/kg: the temperature of an enthalpy comes from an iteration that stops
// within a few mK, so that a cell's exchange can move its water by that much from one
// pass to the next.
constexpr double kSettledKelvin = 1e-5;
constexpr double kSettledJoulesPerKg = 0.5;

// Water on either side ends at most two phases in one exchange, each a piece of it.
constexpr int kPieces = 5;

// The share of an exchange's conductance that ends a phase, and of its heat where the
// streams meet, to far below anything an outlet shows: the heat of the smallest flow must
// leave its enthalpy where its temperature is.
constexpr block::SolveOptions kShare{.tolerance = 1e-12};

// The heat one exchange between the two streams passes from side 1 to side 2 at their
// capacity flows (W/K).
template <class Effectiveness>
double heatFlow(double t1, double t2, double c1, double c2, double ua, Effectiveness effectiveness) {
    const double cMin = c1 <= c2 ? c1 : c2;
    const double cMax = c2 <= c1 ? c1 : c2;
    // Both sides changing phase: neither temperature moves, and every W/K passes its
    // difference.
    if (std::isinf(cMin)) return (t1 - t2) * ua;
    return (t1 - t2) * effectiveness(ua / cMin, cMin / cMax) * cMin;
}

// A stream where it stands: its enthalpy (J/kg) and temperature (degC).
struct State {
    double h, t;
};

// A side as the exchanger carries it: by its enthalpy, so that every joule one side gives
// the other takes. Water's temperature follows from (p, h) as the liquid warms, evaporates
// at the saturation temperature and superheats (and back as it cools), its capacity flow
// that of its phase, without bound while it is wet; heat that ends a phase is where the
// capacity flow changes. An oil's enthalpy is the integral of its line from 0 degC, so
// that a line that rises with the temperature gives what it holds, not its heat capacity
// at one end of a step.
class Stream {
public:
    explicit Stream(const Side& s) : side_(s) {
        if (s.water) {
            ts_ = steam::saturationCelsius(s.pressure);
            hf_ = steam::saturatedLiquidEnthalpy(s.pressure);
            hg_ = hf_ + steam::evaporationEnthalpy(s.pressure);
        } else if (s.t2 != s.t1) {
            // The line as the oil's heat capacity draws it, in its precision.
            const float slope = (s.cp2 - s.cp1) / (s.t2 - s.t1);
            slope_ = slope;
            intercept_ = s.cp1 - slope * s.t1;
        } else {
            intercept_ = s.cp1;
        }
    }

    double flow() const { return side_.flow; }
    // The state it enters with at temperature t; a state of the same enthalpy has that
    // temperature, not the iteration's answer a few mK off it.
    State enter(double t) {
        inlet_ = {enthalpy(t), t};
        return inlet_;
    }
    double enthalpy(double t) const {
        return side_.water ? steam::steamEnthalpy(t, side_.pressure) : (intercept_ + 0.5 * slope_ * t) * t;
    }
    double temperature(double h) const {
        if (h == inlet_.h) return inlet_.t;
        if (side_.water) {
            if (h < hf_) return steam::liquidTemperatureCelsius(side_.pressure, h);
            return h > hg_ ? steam::steamTemperatureCelsius(side_.pressure, h) : ts_;
        }
        if (slope_ == 0.0) return h / intercept_;
        // The root on which the heat capacity, the square root, is positive, written
        // where the two terms do not cancel; a line that reaches 0 stops there.
        const double root = std::sqrt(std::fmax(intercept_ * intercept_ + 2.0 * slope_ * h, 0.0));
        return intercept_ > 0.0 ? 2.0 * h / (intercept_ + root) : (root - intercept_) / slope_;
    }
    // Its enthalpy as water or steam: water's own; an oil's that of water at its temperature.
    double asWater(const State& x) const {
        return side_.water ? x.h : steam::steamEnthalpy(static_cast<float>(x.t), side_.pressure);
    }
    bool same(const State& a, const State& b) const {
        return side_.water ? std::fabs(a.h - b.h) <= kSettledJoulesPerKg : std::fabs(a.t - b.t) <= kSettledKelvin;
    }
    // The state between a and b, a where they are the same.
    State mean(const State& a, const State& b) const {
        if (same(a, b)) return a;
        const double h = 0.5 * (a.h + b.h);
        return {h, std::clamp(temperature(h), std::fmin(a.t, b.t), std::fmax(a.t, b.t))};
    }
    // Its enthalpy at temperature t, warming to it (up) or cooling: water's on the side of
    // its saturation temperature that t lies on, and at that temperature the saturated
    // liquid's warming and the vapour's cooling (a phase changes over a difference). The
    // routines may put a state a hair from saturation on the other side.
    double reach(double t, bool up) const {
        const double h = enthalpy(t);
        if (!side_.water) return h;
        return t < ts_ || (t == ts_ && up) ? std::fmin(h, hf_) : std::fmax(h, hg_);
    }
    // The temperatures in play, those of the two inlets: no exchange leaves them. Where the
    // water and steam routines answer at both, every temperature between has an enthalpy,
    // and an enthalpy beyond theirs is beyond every temperature in play, asked no
    // temperature: the routines would end the run for a state the heat exchanged taken
    // at one capacity flow overshoots (a vapour's near the critical point).
    void play(double coldest, double hottest) {
        if (!side_.water) return;
        bounded_ = steam::steamStateAccepts(coldest, side_.pressure) &&
                   steam::steamStateAccepts(hottest, side_.pressure);
        if (!bounded_) return;
        coldest_ = reach(coldest, false);
        hottest_ = reach(hottest, true);
    }
    // Whether it passes temperature t at enthalpy h, warming (up) or cooling; its
    // temperature there in at, where that is asked.
    bool passes(double h, double t, bool up, double& at) const {
        if (bounded_ && (up ? h > hottest_ : h < coldest_)) return true;
        at = temperature(h);
        return up ? at > t : at < t;
    }
    // Whether it has an enthalpy at temperature t.
    bool reaches(double t) const {
        return !side_.water || bounded_ || steam::steamStateAccepts(t, side_.pressure);
    }

    // Warming (up) or cooling: at the saturated liquid's enthalpy warming water
    // evaporates, at the saturated vapour's cooling steam condenses.
    double capacity(const State& x, bool up) const {
        if (!side_.water) return side_.oilHeatCapacity(x.t) * side_.flow;
        switch (phase(x.h, up)) {
            case Phase::liquid: return steam::liquidHeatCapacityCelsius(x.t, side_.pressure) * side_.flow;
            case Phase::vapour: return steam::vapourHeatCapacityCelsius(x.t, side_.pressure) * side_.flow;
            case Phase::wet: break;
        }
        return std::numeric_limits<double>::infinity();
    }
    // Where its phase ends on the way, if it ends there.
    bool phaseEnd(double h, bool up, double& end) const {
        if (!side_.water) return false;
        switch (phase(h, up)) {
            case Phase::liquid: end = hf_; return up;
            case Phase::vapour: end = hg_; return !up;
            case Phase::wet: end = up ? hg_ : hf_; return true;
        }
        return false;
    }

private:
    enum class Phase { liquid, wet, vapour };
    Phase phase(double h, bool up) const {
        if (up ? h < hf_ : h <= hf_) return Phase::liquid;
        if (up ? h >= hg_ : h > hg_) return Phase::vapour;
        return Phase::wet;
    }

    Side side_;
    double ts_ = 0.0, hf_ = 0.0, hg_ = 0.0;  // saturation temperature (degC), hf and hg (J/kg)
    double intercept_ = 0.0, slope_ = 0.0;   // the oil line: J/(kg K) at 0 degC, J/(kg K2)
    State inlet_{std::numeric_limits<double>::quiet_NaN(), 0.0};
    bool bounded_ = false;                   // water whose temperatures in play all have an enthalpy
    double coldest_ = 0.0, hottest_ = 0.0;   // its enthalpies at the ends of play (J/kg)
};

// A cell's capacity flows where they were last taken: a pass exchanges each cell twice,
// and the second exchange starts from the side-1 state of the first, the first of the
// next pass from the side-2 state of the second.
struct Remembered {
    State x{std::numeric_limits<double>::quiet_NaN(), 0.0};
    bool up = false;
    double c = 0.0;

    double capacity(const Stream& s, const State& at, bool warming) {
        if (!(at.h == x.h && at.t == x.t && warming == up)) *this = {at, warming, s.capacity(at, warming)};
        return c;
    }
};

// Side 1 in state one and side 2 in state two exchange over a conductance ua, both
// updated. Where water on either side ends a phase the exchange goes on over the rest of
// ua with the next phase's capacity flow: ua's share up to there is the one whose heat
// ends the phase. Neither side passes the temperature the other comes with, and in
// parallel flow side 2 leaves at most at side 1's outlet temperature: where the capacity
// flows taken at the start would carry a side further (a vapour's falls as it superheats,
// an oil line's as it cools), the heat is the one that brings it to that temperature, and
// the streams have met. The bounds are taken on the enthalpies, before a temperature is
// asked of a state they may leave beyond the water and steam routines' range.
template <class Effectiveness>
void exchange(const Stream& s1, const Stream& s2, double ua, Effectiveness effectiveness, bool parallel, State& one,
              State& two, Remembered* at1 = nullptr, Remembered* at2 = nullptr) {
    for (int piece = 0; piece < kPieces && ua > 0.0; ++piece) {
        if (!(one.t > two.t) && !(one.t < two.t)) return;
        const bool up = one.t > two.t;  // side 2 warms
        const double c1 = piece == 0 && at1 ? at1->capacity(s1, one, !up) : s1.capacity(one, !up);
        const double c2 = piece == 0 && at2 ? at2->capacity(s2, two, up) : s2.capacity(two, up);
        const auto heat = [&](double share) { return heatFlow(one.t, two.t, c1, c2, share * ua, effectiveness); };
        // Whether heat q goes beyond heat limit in the direction it flows.
        const auto beyond = [up](double q, double limit) { return up ? q > limit : q < limit; };
        // Side 1's and side 2's heat to reach enthalpies h1 and h2.
        const auto given = [&](double h1) { return (one.h - h1) * s1.flow(); };
        const auto taken = [&](double h2) { return (h2 - two.h) * s2.flow(); };

        double q = heat(1.0), share = 1.0, end = 0.0;
        State next1{one.h - q / s1.flow(), 0.0}, next2{two.h + q / s2.flow(), 0.0};
        bool ends1 = false, ends2 = false;
        if (s2.phaseEnd(two.h, up, end) && beyond(q, taken(end))) {
            q = taken(end);
            next2.h = end;
            ends2 = true;
        }
        if (s1.phaseEnd(one.h, !up, end) && beyond(q, given(end))) {
            q = given(end);
            next1.h = end;
            ends1 = true;
            ends2 = false;
        }
        if (ends1 || ends2) {
            share = block::solve([&](double s) { return heat(s) - q; }, 0.0, 1.0, kShare).x;
            if (!ends1) next1.h = one.h - q / s1.flow();
            if (!ends2) next2.h = two.h + q / s2.flow();
        }

        // Neither side passes the temperature the other comes with; where the routines'
        // side of a state near saturation puts that on the wrong side of where a side
        // stands, the streams have met already.
        const auto meet = [&](double limit) {
            if (!beyond(q, limit)) return false;
            q = beyond(0.0, limit) ? 0.0 : limit;
            return true;
        };
        bool met1 = false, met2 = false;
        if (s2.passes(next2.h, one.t, up, next2.t) && s2.reaches(one.t)) {
            const double reach = s2.reach(one.t, up);
            if (meet(taken(reach))) {
                met2 = true;
                next2 = {q != 0.0 ? reach : two.h, one.t};
                next1.h = one.h - q / s1.flow();
            }
        }
        if (s1.passes(next1.h, two.t, !up, next1.t) && s1.reaches(two.t)) {
            const double reach = s1.reach(two.t, !up);
            if (meet(given(reach))) {
                met1 = true;
                next1 = {q != 0.0 ? reach : one.h, two.t};
                next2.h = two.h + q / s2.flow();
                next2.t = s2.temperature(next2.h);
                met2 = false;
            }
        }
        // The temperature of a water's enthalpy comes from an iteration that stops within
        // a few mK: each side's stays between where it was and the other's, as its
        // enthalpy does.
        const double low = up ? two.t : one.t, high = up ? one.t : two.t;
        next1.t = std::clamp(next1.t, low, high);
        next2.t = std::clamp(next2.t, low, high);
        const double sign = up ? 1.0 : -1.0;
        if (parallel && sign * (next1.t - next2.t) < 0.0) {
            const auto apart = [&](double f) {
                return sign * (s1.temperature(one.h - f * q / s1.flow()) - s2.temperature(two.h + f * q / s2.flow()));
            };
            q *= block::solve(apart, 0.0, 1.0, kShare).x;
            next1.h = one.h - q / s1.flow();
            next2.h = two.h + q / s2.flow();
            next1.t = std::clamp(s1.temperature(next1.h), low, high);
            next2.t = next1.t;
            met1 = true;
        }
        one = next1;
        two = next2;
        if (met1 || met2) return;
        ua -= share * ua;
    }
}

}  // namespace

double Side::oilHeatCapacity(double t) const {
    const float tf = static_cast<float>(t);
    return oilcp_(&cp1, &t1, &cp2, &t2, &tf);
}

Outlets cellModel(const Exchanger& ex, const Side& side1, const Side& side2, double in1, double in2) {
    Stream s1(side1), s2(side2);
    const double ua = ex.area / kCells * ex.transferCoefficient;
    const State entering1 = s1.enter(in1), entering2 = s2.enter(in2);
    s1.play(std::fmin(in1, in2), std::fmax(in1, in2));
    s2.play(std::fmin(in1, in2), std::fmax(in1, in2));

    // What each cell passes on after its exchange.
    std::array<State, kCells> rohr1, rohr2;
    rohr1.fill(entering1);
    rohr2.fill(entering2);
    // What each cell took in at its last exchange, and the capacity flows taken there: a
    // cell whose inlets have not changed since passes on what it did.
    std::array<State, kCells> took1, took2;
    took1.fill({std::numeric_limits<double>::quiet_NaN(), 0.0});
    took2 = took1;
    std::array<Remembered, kCells> at1, at2;
    const auto exchangeIn = [&](int i) {
        State one = i == 0 ? entering1 : rohr1[i - 1];
        State two = i == kCells - 1 ? entering2 : rohr2[i + 1];
        if (one.h == took1[i].h && one.t == took1[i].t && two.h == took2[i].h && two.t == took2[i].t) return;
        took1[i] = one;
        took2[i] = two;
        exchange(s1, s2, ua, block::counterflowEffectiveness, false, one, two, &at1[i], &at2[i]);
        rohr1[i] = one;
        rohr2[i] = two;
    };
    // The most passes a step may take; the cells stop once they settle.
    const int passes = block::toInt(ex.passes);
    bool settled = passes == 0;
    struct Cells {
        std::array<State, kCells> one, two;
    };
    std::array<Cells, 2> history{};  // the cells after the last two passes
    int pass = 0;
    for (; pass < passes && !settled; ++pass) {
        // Side 1 through the cells as side 2 left them, then side 2 back through them as
        // side 1 now leaves them: what a cell does reaches both ends within a pass. With
        // both fluids moved one cell a pass, the end of evaporation crept through the
        // cells for hundreds of passes once the water took the oil's heat as it does.
        for (int i = 0; i < kCells; ++i) exchangeIn(i);
        for (int i = kCells - 1; i >= 0; --i) exchangeIn(i);
        Cells& before = history[pass % 2];
        if (pass >= 2) {
            settled = true;
            for (int i = 0; i < kCells && settled; ++i)
                settled = s1.same(rohr1[i], before.one[i]) && s2.same(rohr2[i], before.two[i]);
        }
        before = {rohr1, rohr2};
    }
    if (pass == 0) return {in1, in2, s1.asWater(entering1), s2.asWater(entering2), settled};
    // Cells that settled into a swing between two states may swing at the outlets too, one
    // side leaving colder after one pass and warmer after the next: each pass then misses
    // the balance by nearly as much as the other makes up for (no relaxation of the passes
    // settles them), and the outlets are the mean of the two.
    const Cells& before = history[pass % 2];
    const State out1 = settled ? s1.mean(rohr1[kCells - 1], before.one[kCells - 1]) : rohr1[kCells - 1];
    const State out2 = settled ? s2.mean(rohr2[0], before.two[0]) : rohr2[0];
    return {out1.t, out2.t, s1.asWater(out1), s2.asWater(out2), settled};
}

Outlets segmentModel(const Exchanger& ex, const Side& side1, const Side& side2, double t1, double t2) {
    Stream s1(side1), s2(side2);
    s1.play(std::fmin(t1, t2), std::fmax(t1, t2));
    s2.play(std::fmin(t1, t2), std::fmax(t1, t2));
    const double area = static_cast<double>(ex.area) / ex.passes;
    const int step = block::toInt(area);
    // A segment smaller than 1 would step the count by 0: then every segment is one.
    const int segments = step >= 1 ? block::toInt(ex.area) / step : block::toInt(ex.passes);
    const double ua = area * ex.transferCoefficient;
    State one = s1.enter(t1), two = s2.enter(t2);
    for (int i = 0; i < segments; ++i) exchange(s1, s2, ua, block::parallelFlowEffectiveness, true, one, two);
    return {one.t, two.t, s1.asWater(one), s2.asWater(two)};
}

}  // namespace vireo::pp::exchanger
