//#Block HXCH
//#Description
// Heat exchanger between two streams, each water and steam or a thermal oil with a
// linear specific heat; the water of the second side may evaporate.
//#Layout
//#Inputs 6
//#Outputs 6
//#Parameters 14
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Side-1 inlet temperature (degC)
//#IN[1] Side-1 mass flow (kg/s)
//#IN[2] Side-1 pressure (Pa)
//#IN[3] Side-2 inlet temperature (degC)
//#IN[4] Side-2 mass flow (kg/s)
//#IN[5] Side-2 pressure (Pa)
//#Outputs
//#OUT[0] Side-1 outlet temperature (degC)
//#OUT[1] Side-1 pressure, input 3 (Pa)
//#OUT[2] Side-1 outlet enthalpy as water or steam (J/kg)
//#OUT[3] Side-2 outlet temperature (degC)
//#OUT[4] Side-2 pressure, input 6 (Pa)
//#OUT[5] Side-2 outlet enthalpy as water or steam (J/kg)
//#Parameters
//#BP[0] Model: 0 cells in counterflow, 1 segments in parallel flow (-)
//#BP[1] Heat-transfer coefficient (W/(m2 K))
//#BP[2] Heat-transfer area, above 0 (m2)
//#BP[3] Side-1 medium: 0 water and steam, otherwise oil (-)
//#BP[4] Side-1 oil: temperature of the first point (degC)
//#BP[5] Side-1 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[6] Side-1 oil: temperature of the second point (degC)
//#BP[7] Side-1 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[8] Side-2 medium: 0 water and steam, otherwise oil (-)
//#BP[9] Side-2 oil: temperature of the first point (degC)
//#BP[10] Side-2 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[11] Side-2 oil: temperature of the second point (degC)
//#BP[12] Side-2 oil: specific heat there, above 0 for oil (J/(kg K))
//#BP[13] Most passes of the cell model, which stops once its cells settle, 0 to 1000; or
// segments of the segment model, above 0 and up to 1000 (-)
//#Strings
//#None
//#Remarks
// The cell model puts 20 cells on each side, side 1 flowing from cell 1 to 20 and side 2
// back, and moves both fluids one cell on per pass; the outlets are the end cells after
// their exchange in the last pass. It passes until every cell holds what it held two
// passes before (within 1e-5 K), at most p14 times; a step that ends before is a warning,
// reported once and counted, the count given at the end of the run. Water on side 2
// evaporates at the saturation temperature of its pressure, taking the heat of
// evaporation from side 1, in both models. The segment model chains parallel-flow
// segments of area p3 / p14, as many as int(p3) holds whole multiples of int(p3 / p14):
// p3 = 10 and p14 = 4 run 5 segments of 2.5. Where p3 / p14 is below 1 it runs int(p14)
// segments; it keeps side-2 water as its enthalpy, so that its sides balance. Without
// flow on either side the inlet temperatures pass to the opposite outlets. Both
// enthalpies are those of water or steam at the outlet state whatever the medium; side-2
// water still evaporating at its outlet has the enthalpy of its quality on the wet line.
// Water on side 1 does not condense: it cools with its heat capacity. A water state
// outside the 1967 industrial formulation ends the whole run with a report on standard
// output.
//#end
#include "blocks.h"

#include "Effectiveness.h"
#include "Numbers.h"
#include "steam_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vireo::pp {
namespace {

constexpr int kCells = 20;
constexpr float kMostPasses = kMostIterations;
constexpr double kJoulePerKgKelvinInBtuPerLbmRankine = 4186.7998046875;
constexpr double kJoulePerKgInBtuPerLbm = 2326.0;

struct Side {
    bool water;
    float t1, cp1, t2, cp2;  // the oil line
    double pressure;
    double flow;

    double heatCapacity(double t) const {
        if (water) return steam::steamHeatCapacity(t, pressure);
        const float tf = static_cast<float>(t);
        return oilcp_(&cp1, &t1, &cp2, &t2, &tf);
    }
};

using View = hxch_block::View;
using P = hxch_block::P;

// A side's medium parameter and its oil line in the four after it.
template <int Medium>
Side side(const View& b, int pressure, int flow) {
    return {b.par<Medium>() == 0.0f, b.par<Medium + 1>(), b.par<Medium + 2>(), b.par<Medium + 3>(),
            b.par<Medium + 4>(), b.in(pressure), b.in(flow)};
}

double saturationCelsius(double pPascal) {
    const double psia = pa2psi_(&pPascal);
    const double t = steam::saturationTemperature(psia);
    return tf2tc_(&t);
}

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

struct Outlets {
    double t1, t2;
    double x2 = 1.0;       // side-2 quality; below 1 at the saturation temperature: wet
    bool settled = true;
};

// The cells have settled once every cell holds what it held two passes before: a cell at
// the front of evaporation can swing between two states from pass to pass for good while
// the outlets stand. The outlets alone do not tell: they stand still while the fill of
// the first pass flows out, and for many passes while a front of evaporation travels
// through the cells.
constexpr double kSettledKelvin = 1e-5;
constexpr double kSettledQuality = 1e-7;

// Side-2 water still wet at its outlet has the enthalpy of its quality on the wet line.
double side2Enthalpy(const Side& s2, double t, double x) {
    if (s2.water && x < 1.0) {
        const double ts = saturationCelsius(s2.pressure);
        if (t >= ts) {
            double psia = pa2psi_(&s2.pressure);
            const double liquid = hfp_(&psia) * kJoulePerKgInBtuPerLbm;
            return liquid + x * steam::evaporationEnthalpy(s2.pressure);
        }
    }
    return steam::steamEnthalpy(static_cast<float>(t), s2.pressure);
}

Outlets cellModel(const View& b, const Side& s1, const Side& s2, double in1, double in2) {
    const bool evaporating = s2.water;
    const double ts = evaporating ? saturationCelsius(s2.pressure) : 0.0;
    const double hv = evaporating ? steam::evaporationEnthalpy(s2.pressure) : 0.0;
    const double latent = hv * s2.flow;
    const double ua = b.par<P::area>() / kCells * b.par<P::transferCoefficient>();
    const auto inletQuality = [&](double t) { return evaporating && t > ts ? 1.0 : 0.0; };

    std::array<double, kCells> rohr1, rohr2, rohr2x;
    rohr1.fill(in1);
    rohr2.fill(in2);
    rohr2x.fill(inletQuality(in2));
    // Parameter 14 is the most passes a step may take; the cells stop once they settle.
    const int passes = block::toInt(b.par<P::passes>());
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
                    const double psia = pa2psi_(&s2.pressure);
                    const double tf = tc2tf_(&t2);
                    cp2 = steam::vapourHeatCapacity(psia, tf) * kJoulePerKgKelvinInBtuPerLbmRankine;
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

// Water on side 2 of the segment model, kept as its enthalpy so that every joule one
// side gives the other takes: its temperature and quality follow from (p, h), warming
// the liquid, evaporating at the saturation temperature and superheating the vapour.
struct Water {
    double psia, ts, liquid, vapour;  // saturation temperature (degC), hf and hg (J/kg)
    explicit Water(double pPascal)
        : psia(pa2psi_(&pPascal)), ts(saturationCelsius(pPascal)), liquid(hfp_(&psia) * kJoulePerKgInBtuPerLbm),
          vapour(liquid + steam::evaporationEnthalpy(pPascal)) {}
    double quality(double h) const { return std::clamp((h - liquid) / (vapour - liquid), 0.0, 1.0); }
    double temperature(double h) const {
        if (h >= liquid && h <= vapour) return ts;
        double hBtu = h / kJoulePerKgInBtuPerLbm;
        const double tf = h < liquid ? tphl_(&psia, &hBtu) : tph_(&psia, &hBtu);
        return tf2tc_(&tf);
    }
};

Outlets segmentModel(const View& b, const Side& s1, const Side& s2, double t1, double t2) {
    const double area = static_cast<double>(b.par<P::area>()) / b.par<P::passes>();
    const int step = block::toInt(area);
    // A segment smaller than 1 would step the count by 0: then every segment is one.
    const int segments = step >= 1 ? block::toInt(b.par<P::area>()) / step : block::toInt(b.par<P::passes>());
    const double ua = area * b.par<P::transferCoefficient>();
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

void writeOutlets(BlockView& b, double t1, double t2, double h2) {
    const double p1 = b.in(2), p2 = b.in(5);
    b.out(0) = static_cast<float>(t1);
    b.out(1) = static_cast<float>(p1);
    b.out(2) = static_cast<float>(steam::steamEnthalpy(static_cast<float>(t1), p1));
    b.out(3) = static_cast<float>(t2);
    b.out(4) = static_cast<float>(p2);
    b.out(5) = static_cast<float>(h2);
}

void writeOutlets(BlockView& b, double t1, double t2) {
    writeOutlets(b, t1, t2, steam::steamEnthalpy(static_cast<float>(t2), static_cast<double>(b.in(5))));
}

}  // namespace

// The bounds that depend on another parameter (the model, a side's medium) stay here.
void hxch_block::init(View& b) {
    const Rule passes = b.par<P::model>() == 1.0f ? Rule{.parameter = P::passes, .low = 0.0f, .high = kMostPasses,
                                                         .code = code::badSegments, .aboveLow = true}
                                                  : Rule{.parameter = P::passes, .low = 0.0f, .high = kMostPasses,
                                                         .code = code::badIterations};
    b.check(passes, b.par<P::passes>());
    // An oil line that reaches 0 at a point divides by its capacity rate there.
    const auto positive = [](int parameter) {
        return Rule{.parameter = parameter, .low = 0.0f, .high = kLargest, .code = code::badHeatCapacity, .aboveLow = true};
    };
    if (b.par<P::medium1>() != 0.0f) {
        const Rule line[] = {positive(P::cp1a), positive(P::cp1b)};
        b.check(line);
    }
    if (b.par<P::medium2>() != 0.0f) {
        const Rule line[] = {positive(P::cp2a), positive(P::cp2b)};
        b.check(line);
    }
}

void hxch_block::step(View& b) {
    const double in1 = b.in(0), in2 = b.in(3);
    if (b.in(4) <= 0.0f || b.in(1) <= 0.0f) {
        writeOutlets(b, in2, in1);
        return;
    }
    const Side s1 = side<P::medium1>(b, 2, 1);
    const Side s2 = side<P::medium2>(b, 5, 4);
    if (b.par<P::model>() == 0.0f) {
        const Outlets o = cellModel(b, s1, s2, in1, in2);
        writeOutlets(b, o.t1, o.t2, side2Enthalpy(s2, o.t2, o.x2));
        if (!o.settled) b.countWarning(b.ip<10>(), code::cellsNotSettled, {.reals = {b.par<P::passes>()}});
    } else if (b.par<P::model>() == 1.0f) {
        const Outlets o = segmentModel(b, s1, s2, in1, in2);
        writeOutlets(b, o.t1, o.t2, side2Enthalpy(s2, o.t2, o.x2));
    }
}

void hxch_block::last(View& b) { b.reportCount(b.ip<10>(), code::countedCellsNotSettled); }

}  // namespace vireo::pp
