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
// the end of evaporation can swing between two states from pass to pass for good while
// the outlets stand. The outlets alone do not tell: they stand nearly still for many
// passes while the end of evaporation creeps through the cells. Water by its enthalpy,
// within a few tenths of a J/kg: the temperature of an enthalpy comes from an iteration
// that stops within a few mK, so that a cell's exchange can move its water by that much
// from one pass to the next.
constexpr double kSettledKelvin = 1e-5;
constexpr double kSettledJoulesPerKg = 0.5;

// The heat one exchange between the two streams passes from side 1 to side 2 at their
// capacity flows (W/K).
template <class Effectiveness>
double heatFlow(double t1, double t2, double c1, double c2, double ua, Effectiveness effectiveness) {
    const double cMin = c1 <= c2 ? c1 : c2;
    const double cMax = c2 <= c1 ? c1 : c2;
    return (t1 - t2) * effectiveness(ua / cMin, cMin / cMax) * cMin;
}

// Side 2 as the exchanger carries it: an oil by its temperature; water by its enthalpy,
// its temperature following from (p, h) as the liquid warms, evaporates at the saturation
// temperature and superheats, and its capacity flow that of its phase, without bound
// while it is wet. Heat that ends a phase is where the capacity flow changes.
class Stream {
public:
    explicit Stream(const Side& s) : side_(s) {
        if (!s.water) return;
        ts_ = steam::saturationCelsius(s.pressure);
        hf_ = steam::saturatedLiquidEnthalpy(s.pressure);
        hg_ = hf_ + steam::evaporationEnthalpy(s.pressure);
    }

    // The state of the fluid entering at temperature t.
    double enter(double t) const { return side_.water ? steam::steamEnthalpy(t, side_.pressure) : t; }
    double temperature(double x) const {
        if (!side_.water) return x;
        if (x < hf_) return steam::liquidTemperatureCelsius(side_.pressure, x);
        return x > hg_ ? steam::steamTemperatureCelsius(side_.pressure, x) : ts_;
    }
    double enthalpy(double x, double t) const {
        return side_.water ? x : steam::steamEnthalpy(static_cast<float>(t), side_.pressure);
    }
    double settledWithin() const { return side_.water ? kSettledJoulesPerKg : kSettledKelvin; }

    // At state x and temperature t, warming (up) or cooling: at the saturated liquid's
    // enthalpy warming water evaporates, at the saturated vapour's cooling steam condenses.
    double capacity(double x, double t, bool up) const {
        if (!side_.water) return side_.heatCapacity(t) * side_.flow;
        switch (phase(x, up)) {
            case Phase::liquid: return steam::liquidHeatCapacityCelsius(t, side_.pressure) * side_.flow;
            case Phase::vapour: return steam::vapourHeatCapacityCelsius(t, side_.pressure) * side_.flow;
            case Phase::wet: break;
        }
        return std::numeric_limits<double>::infinity();
    }
    // The state heat q leaves it in at capacity flow c, and the heat that takes it to y.
    double after(double x, double q, double c) const { return x + q / (side_.water ? side_.flow : c); }
    double heatTo(double x, double y, double c) const { return (y - x) * (side_.water ? side_.flow : c); }
    // Where its phase ends on the way, if it ends there.
    bool phaseEnd(double x, bool up, double& end) const {
        if (!side_.water) return false;
        switch (phase(x, up)) {
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
};

// Side 1 at t1 and side 2 in state x at temperature t2 exchange over a conductance ua,
// both updated. Where side-2 water ends a phase the exchange goes on over the rest of ua
// with the next phase's capacity flow: ua's share up to there is the one whose heat
// ends the phase. Side 2 never passes side 1 (in parallel flow the temperature side 1
// leaves with, in counterflow the one it comes with): where the capacity flow taken at
// the start would carry it further (a vapour's falls as it superheats), the heat is the
// one that brings side 2 to that temperature, and the streams have met.
template <class Effectiveness>
void exchange(const Side& s1, const Stream& s2, double ua, Effectiveness effectiveness, bool parallel, double& t1,
              double& x, double& t2) {
    for (int piece = 0; piece < 3 && ua > 0.0; ++piece) {
        if (!(t1 > t2) && !(t1 < t2)) return;
        const bool up = t1 > t2;
        const double c1 = s1.heatCapacity(t1) * s1.flow, c2 = s2.capacity(x, t2, up);
        const auto heat = [&](double u) { return heatFlow(t1, t2, c1, c2, u, effectiveness); };
        double q = heat(ua), used = ua, end = 0.0;
        double next = s2.after(x, q, c2);
        if (s2.phaseEnd(x, up, end) && (up ? next > end : next < end)) {
            q = s2.heatTo(x, end, c2);
            used = block::solve([&](double u) { return heat(u) - q; }, 0.0, ua).x;
            next = end;
        }
        const double sign = up ? 1.0 : -1.0;
        const auto gap = [&](double given, double t) { return sign * ((parallel ? t1 - given / c1 : t1) - t); };
        double tNext = s2.temperature(next);
        if (gap(q, tNext) < 0.0) {
            if (parallel) {
                q = block::solve([&](double h) { return gap(h, s2.temperature(s2.after(x, h, c2))); }, 0.0, q).x;
            } else {
                // Its state at side 1's temperature, asked directly rather than searched
                // through that iteration.
                const double reach = s2.heatTo(x, s2.enter(t1), c2);
                q = up ? std::clamp(reach, 0.0, q) : std::clamp(reach, q, 0.0);
            }
            next = s2.after(x, q, c2);
            tNext = parallel ? t1 - q / c1 : t1;
            used = ua;
        }
        t1 -= q / c1;
        x = next;
        t2 = tNext;
        ua -= used;
    }
}

}  // namespace

double Side::heatCapacity(double t) const {
    if (water) return steam::steamHeatCapacity(t, pressure);
    const float tf = static_cast<float>(t);
    return oilcp_(&cp1, &t1, &cp2, &t2, &tf);
}

Outlets cellModel(const Exchanger& ex, const Side& s1, const Side& side2, double in1, double in2) {
    const Stream s2(side2);
    const double ua = ex.area / kCells * ex.transferCoefficient;
    const double entering = s2.enter(in2);

    // What each cell passes on after its exchange: side 1's temperature, side 2's state
    // and temperature.
    std::array<double, kCells> rohr1, rohr2, rohr2t;
    rohr1.fill(in1);
    rohr2.fill(entering);
    rohr2t.fill(in2);
    const auto exchangeIn = [&](int i) {
        double t1 = i == 0 ? in1 : rohr1[i - 1];
        double x2 = i == kCells - 1 ? entering : rohr2[i + 1];
        double t2 = i == kCells - 1 ? in2 : rohr2t[i + 1];
        exchange(s1, s2, ua, block::counterflowEffectiveness, false, t1, x2, t2);
        rohr1[i] = t1;
        rohr2[i] = x2;
        rohr2t[i] = t2;
    };
    // The most passes a step may take; the cells stop once they settle.
    const int passes = block::toInt(ex.passes);
    bool settled = passes == 0;
    struct Cells {
        std::array<double, kCells> t1, x2;
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
                settled = std::fabs(rohr1[i] - before.t1[i]) <= kSettledKelvin &&
                          std::fabs(rohr2[i] - before.x2[i]) <= s2.settledWithin();
        }
        before = {rohr1, rohr2};
    }
    if (pass == 0) return {in1, in2, s2.enthalpy(entering, in2), settled};
    return {rohr1[kCells - 1], rohr2t[0], s2.enthalpy(rohr2[0], rohr2t[0]), settled};
}

Outlets segmentModel(const Exchanger& ex, const Side& s1, const Side& side2, double t1, double t2) {
    const Stream s2(side2);
    const double area = static_cast<double>(ex.area) / ex.passes;
    const int step = block::toInt(area);
    // A segment smaller than 1 would step the count by 0: then every segment is one.
    const int segments = step >= 1 ? block::toInt(ex.area) / step : block::toInt(ex.passes);
    const double ua = area * ex.transferCoefficient;
    double x = s2.enter(t2);
    for (int i = 0; i < segments; ++i) exchange(s1, s2, ua, block::parallelFlowEffectiveness, true, t1, x, t2);
    return {t1, t2, s2.enthalpy(x, t2)};
}

}  // namespace vireo::pp::exchanger
