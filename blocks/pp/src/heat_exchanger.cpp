#include "heat_exchanger.h"

#include "Effectiveness.h"
#include "Numbers.h"
#include "steam.h"
#include "steam_values.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vireo::pp::exchanger {
namespace {

constexpr int kCells = 20;

struct Exchange {
    double q;        // W, from side 1 to side 2
    double epsilon;
};

// One exchange between the two streams at their capacity rates.
template <class Effectiveness>
Exchange exchange(double t1, double t2, double c1, double c2, double ua, Effectiveness effectiveness) {
    const double cMin = c1 <= c2 ? c1 : c2;
    const double cMax = c2 <= c1 ? c1 : c2;
    const double epsilon = effectiveness(ua / cMin, cMin / cMax);
    return {(t1 - t2) * epsilon * cMin, epsilon};
}

// The cells have settled once every cell holds what it held two passes before: a cell at
// the front of evaporation can swing between two states from pass to pass for good while
// the outlets stand. The outlets alone do not tell: they stand still while the fill of
// the first pass flows out, and for many passes while a front of evaporation travels
// through the cells.
constexpr double kSettledKelvin = 1e-5;
constexpr double kSettledQuality = 1e-7;

// Water on side 2 of the segment model, kept as its enthalpy so that every joule one
// side gives the other takes: its temperature and quality follow from (p, h), warming
// the liquid, evaporating at the saturation temperature and superheating the vapour.
struct Water {
    double pressure, ts, liquid, vapour;  // saturation temperature (degC), hf and hg (J/kg)
    explicit Water(double pPascal)
        : pressure(pPascal), ts(steam::saturationCelsius(pPascal)), liquid(steam::saturatedLiquidEnthalpy(pPascal)),
          vapour(liquid + steam::evaporationEnthalpy(pPascal)) {}
    double quality(double h) const { return std::clamp((h - liquid) / (vapour - liquid), 0.0, 1.0); }
    double temperature(double h) const {
        if (h >= liquid && h <= vapour) return ts;
        return h < liquid ? steam::liquidTemperatureCelsius(pressure, h) : steam::steamTemperatureCelsius(pressure, h);
    }
};

}  // namespace

double Side::heatCapacity(double t) const {
    if (water) return steam::steamHeatCapacity(t, pressure);
    const float tf = static_cast<float>(t);
    return oilcp_(&cp1, &t1, &cp2, &t2, &tf);
}

double side2Enthalpy(const Side& s2, double t, double x) {
    if (s2.water && x < 1.0) {
        const double ts = steam::saturationCelsius(s2.pressure);
        if (t >= ts) return steam::saturatedLiquidEnthalpy(s2.pressure) + x * steam::evaporationEnthalpy(s2.pressure);
    }
    return steam::steamEnthalpy(static_cast<float>(t), s2.pressure);
}

Outlets cellModel(const Exchanger& ex, const Side& s1, const Side& s2, double in1, double in2) {
    const bool evaporating = s2.water;
    const double ts = evaporating ? steam::saturationCelsius(s2.pressure) : 0.0;
    const double hv = evaporating ? steam::evaporationEnthalpy(s2.pressure) : 0.0;
    const double latent = hv * s2.flow;
    const double ua = ex.area / kCells * ex.transferCoefficient;
    const auto inletQuality = [&](double t) { return evaporating && t > ts ? 1.0 : 0.0; };

    std::array<double, kCells> rohr1, rohr2, rohr2x;
    rohr1.fill(in1);
    rohr2.fill(in2);
    rohr2x.fill(inletQuality(in2));
    // The most passes a step may take; the cells stop once they settle.
    const int passes = block::toInt(ex.passes);
    Outlets outlets{in1, in2, inletQuality(in2)};
    bool settled = passes == 0;
    struct Cells {
        std::array<double, kCells> t1, t2, x2;
    };
    std::array<Cells, 2> history{};  // the cells after the exchange of the last two passes
    for (int pass = 0; pass < passes && !settled; ++pass) {
        rohr1[0] = in1;
        rohr2[kCells - 1] = in2;
        // Fresh water enters with the inlet's quality, not what the cell held before.
        rohr2x[kCells - 1] = inletQuality(in2);
        for (int i = 0; i < kCells; ++i) {
            double t1 = rohr1[i], t2 = rohr2[i], x = rohr2x[i];
            double cp1 = s1.heatCapacity(t1), cp2 = s2.heatCapacity(t2);
            Exchange e = exchange(t1, t2, cp1 * s1.flow, cp2 * s2.flow, ua, block::counterflowEffectiveness);
            // The heat that finishes an evaporation leaves side 1 but does not warm side 2.
            double sensible = e.q;
            if (t2 < t1 && x > 0.0 && x < 1.0) {
                const double rest = (1.0 - x) * latent;
                if (e.q >= rest) {
                    sensible = e.q - rest;
                    x = 1.0;
                } else {
                    x += e.q / latent;
                    sensible = 0.0;
                }
            }
            const double t1Old = t1, t2Old = t2;
            t1 -= e.q / (cp1 * s1.flow);
            t2 += sensible / (cp2 * s2.flow);
            if (evaporating && t2 > ts && x < 0.05) {
                // Side 2 reached saturation in this cell: side 1 gives the heat to get
                // there, then as much evaporation as it has heat for above ts.
                const double toSaturation = (ts - t2Old) * cp2 * s2.flow;
                t2 = ts;
                double tOil = t1Old - toSaturation / (cp1 * s1.flow);
                cp1 = s1.heatCapacity(tOil);
                const double available = (tOil - ts) * cp1 * s1.flow;
                if (available <= latent) {
                    x = available / latent;
                    tOil = ts;
                } else {
                    x = 1.0;
                    tOil -= latent / (cp1 * s1.flow);
                }
                t1 = tOil;
                if (t2 < t1) {
                    // Superheating in the same cell, with the vapour's heat capacity.
                    cp1 = s1.heatCapacity(t1);
                    cp2 = steam::vapourHeatCapacityCelsius(t2, s2.pressure);
                    e = exchange(t1, t2, cp1 * s1.flow, cp2 * s2.flow, ua, block::counterflowEffectiveness);
                    t1 -= e.q / (cp1 * s1.flow);
                    t2 += e.q / (cp2 * s2.flow);
                }
            }
            rohr1[i] = t1;
            rohr2[i] = t2;
            rohr2x[i] = x;
        }
        // The fluid in the end cells has had its exchange: it leaves before the move.
        outlets = {rohr1[kCells - 1], rohr2[0], rohr2x[0]};
        Cells& before = history[pass % 2];
        if (pass >= 2) {
            settled = true;
            for (int i = 0; i < kCells && settled; ++i)
                settled = std::fabs(rohr1[i] - before.t1[i]) <= kSettledKelvin &&
                          std::fabs(rohr2[i] - before.t2[i]) <= kSettledKelvin &&
                          std::fabs(rohr2x[i] - before.x2[i]) <= kSettledQuality;
        }
        before = {rohr1, rohr2, rohr2x};
        for (int i = kCells - 1; i > 0; --i) rohr1[i] = rohr1[i - 1];
        for (int i = 0; i < kCells - 1; ++i) {
            rohr2[i] = rohr2[i + 1];
            rohr2x[i] = rohr2x[i + 1];
        }
    }
    outlets.settled = settled;
    return outlets;
}

Outlets segmentModel(const Exchanger& ex, const Side& s1, const Side& s2, double t1, double t2) {
    const double area = static_cast<double>(ex.area) / ex.passes;
    const int step = block::toInt(area);
    // A segment smaller than 1 would step the count by 0: then every segment is one.
    const int segments = step >= 1 ? block::toInt(ex.area) / step : block::toInt(ex.passes);
    const double ua = area * ex.transferCoefficient;
    if (!s2.water) {
        for (int i = 0; i < segments; ++i) {
            const double cp1 = s1.heatCapacity(t1), cp2 = s2.heatCapacity(t2);
            const Exchange e = exchange(t1, t2, cp1 * s1.flow, cp2 * s2.flow, ua, block::parallelFlowEffectiveness);
            t1 -= e.q / (cp1 * s1.flow);
            t2 += e.q / (cp2 * s2.flow);
        }
        return {t1, t2};
    }
    // Water on side 2 takes the heat of evaporation at its saturation temperature; while
    // it is wet its capacity flow has no bound.
    const Water w(s2.pressure);
    double h2 = steam::steamEnthalpy(t2, s2.pressure);
    for (int i = 0; i < segments; ++i) {
        const double cp1 = s1.heatCapacity(t1);
        const bool wet = h2 > w.liquid && h2 < w.vapour;
        const double c2 = wet ? std::numeric_limits<double>::infinity() : s2.heatCapacity(t2) * s2.flow;
        const Exchange e = exchange(t1, t2, cp1 * s1.flow, c2, ua, block::parallelFlowEffectiveness);
        t1 -= e.q / (cp1 * s1.flow);
        h2 += e.q / s2.flow;
        t2 = w.temperature(h2);
    }
    return {t1, t2, w.quality(h2)};
}

}  // namespace vireo::pp::exchanger
