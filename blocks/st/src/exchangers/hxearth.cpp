//#Block HXEARTH
//#Description
// Earth-to-air heat exchanger: air drawn through one or more parallel pipes buried in
// the soil, cut into segments that each exchange heat with the soil through the air's
// film coefficient and a soil shape factor. The undisturbed soil temperature at pipe
// depth follows the ambient temperature with an annual damping and an optional
// building's influence; a fan's heat can enter before or after the pipe.
//#Layout
//#Inputs 5
//#Outputs 2
//#Parameters 18
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Not used (-)
//#IN[1] Fan pressure rise (Pa)
//#IN[2] Air inlet (ambient) temperature ($^\circ$C)
//#IN[3] Total air volume flow; its magnitude is taken (m$^3$/s)
//#IN[4] Undisturbed mean soil temperature ($^\circ$C)
//#Outputs
//#OUT[0] Air outlet temperature ($^\circ$C)
//#OUT[1] Heat taken up from the soil, the fan's heat not included (W)
//#Parameters
//#BP[0] Pipe depth, above the pipe radius (m)
//#BP[1] Soil density, above 0 (kg/m$^3$)
//#BP[2] Soil specific heat capacity, above 0 (J/(kg K))
//#BP[3] Soil thermal conductivity, above 0 (W/(m K))
//#BP[4] Pipe radius, above 0 (m)
//#BP[5] Pipe length, above 0 (m)
//#BP[6] Fan efficiency, above 0 unless parameter 8 is 2 (-)
//#BP[7] Fan position: 0 before the pipe, 1 after it, 2 no fan heat (-)
//#BP[8] Damping length of the ambient influence, above 0 (m)
//#BP[9] Number of segments, 0 to 10000 (-)
//#BP[10] Spacing in the surface shape factor (m)
//#BP[11] Building coupling resistance; 0 or below: no building (-)
//#BP[12] Building temperature, of its cellar ($^\circ$C)
//#BP[13] Distance from the building, 0 or more with a building (m)
//#BP[14] Number of parallel pipes, above 0 (-)
//#BP[15] Distance between parallel pipes, at least the pipe diameter with more than one pipe (m)
//#BP[16] Soil-to-pipe weighting factor, at least 0 (-)
//#BP[17] Not used (-)
//#Strings
//#None
//#Remarks
// The film coefficient follows Nu = 0.87686557 $\cdot$ 0.0214 (Re$^{0.8}$ - 100), at least
// the laminar 3.66, with the air's conductivity 0.025 W/(m K); the air's viscosity,
// density (at 101 300 Pa) and heat capacity are taken at the inlet temperature. The soil
// temperature at pipe depth damps the ambient's departure from the mean soil temperature
// by exp(-$\xi$ z / L), $\xi$ = z $\sqrt{\pi \rho c / (\lambda\, \mathrm{year})}$, and
// adds a building's influence damped with its distance. The soil's resistance comes from
// the shape factor of a pipe below a surface, whose argument must lie above 1. Parallel
// pipes closer than the critical spacing share the soil and exchange less. A segment
// whose transfer units exceed 1 is computed as equal parts that each stay below 1, so
// that the air never passes the soil-side temperature. Without air flow, or without
// segments, the air leaves at its inlet temperature (with the fan's heat). A step with
// an input that is not a finite number changes no output and is warned about.
//#end
#include "blocks.h"

#include "finite.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo::st {
namespace {

constexpr double kTwoPi = 6.2831855, kPi = 3.1415927;
constexpr double kSecondsPerYear = 3.1536e7;
constexpr double kAirConductivity = 0.025;  // W/(m K)
constexpr double kPrandtlFactor = 0.87686557;
constexpr double kLaminarNusselt = 3.66;
constexpr float kAirPressure = 101300.0f;

using P = hxearth_block::P;

enum FanPosition { kBeforePipe = 0, kAfterPipe = 1, kNoFanHeat = 2 };

struct Geometry {
    double depth, radius;
    double shapeArgument(double spacing) const {
        return std::sin(kPi * depth / spacing) * (spacing / (kPi * radius)) *
               (std::pow(kPi * radius / (2.0 * spacing), 2) + 1.0);
    }
    // The spacing below which parallel pipes share the soil.
    double criticalSpacing() const {
        const double a = depth / radius;
        return kTwoPi * depth / std::log(a + std::sqrt(a * a - 1.0));
    }
};

Geometry geometry(const hxearth_block::View& b) { return {b.par<P::depth>(), b.par<P::radius>()}; }

// A bound that a parameter keeps only where another one says so.
template <int I>
bool checkWhere(hxearth_block::View& b, block::Bound bound, block::Code code) {
    return b.check({.parameter = I, .low = bound.low, .high = bound.high, .code = code, .aboveLow = bound.aboveLow},
                   b.par<I>());
}

// The rules that tie parameters together, after the table's own.
}  // namespace

bool hxearth_block::tiesHold(View& b) {
    bool passed = true;
    // A fan whose heat counts needs an efficiency; a building, a distance from it.
    if (b.whole<P::fanPosition>() != kNoFanHeat)
        passed = checkWhere<P::fanEfficiency>(b, block::above(0), code::parameterNotAbove) && passed;
    if (b.par<P::buildingResistance>() > 0.0f)
        passed = checkWhere<P::buildingDistance>(b, block::atLeast(0), code::parameterBelow) && passed;
    if (!passed) return false;
    const Geometry g = geometry(b);
    if (!(g.depth > g.radius)) {
        b.report(code::depthNotBelowRadius, {.reals = {b.par<P::depth>(), b.par<P::radius>()}});
        return false;
    }
    const float spacing = b.par<P::shapeSpacing>();
    const double z = g.shapeArgument(spacing);
    if (!(z > 1.0)) {
        b.report(code::shapeFactorOutside, {.reals = {spacing, toOutput(z)}, .ints = {P::shapeSpacing + 1}});
        passed = false;
    }
    // A single pipe shares its soil with none, whatever spacing is left in the model.
    const float distance = b.par<P::pipeDistance>(), diameter = 2.0f * b.par<P::radius>();
    if (b.par<P::pipes>() > 1.0f && distance < diameter) {
        b.report(code::pipesTooClose, {.reals = {distance, diameter}, .ints = {P::pipeDistance + 1}});
        passed = false;
    }
    return passed;
}

void hxearth_block::init(View& b) {
    b.ip<11>() = b.whole<P::fanPosition>();
    b.ip<12>() = b.whole<P::segments>();
}

void hxearth_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const float tin = b.in(2);
    const double vis = airvis(&tin), rho = airrho(&tin, &kAirPressure), cpair = aircp(&tin);
    b.out(1) = 0.0f;
    const double flow = std::fabs(double(b.in(3)));
    if (flow < 1e-20) {
        b.out(0) = b.in(2);
        return;
    }
    const Geometry g = geometry(b);
    const double depth = g.depth, radius = g.radius;
    const double conductivity = b.par<P::soilConductivity>(), pipes = b.par<P::pipes>();
    const int position = b.ip<11>(), segments = b.ip<12>();

    // Per pipe: the film and its conductance per metre.
    const double vdot1 = flow / pipes;
    const double re = 2.0 * vdot1 / (vis * radius * kPi);
    const double nu = std::max(kPrandtlFactor * (std::pow(re, 0.8) - 100.0) * 0.0214, kLaminarNusselt);
    const double ul = kAirConductivity * nu / (2.0 * radius) * radius * kTwoPi;

    // The soil.
    const double heatCapacity = b.par<P::soilHeatCapacity>();
    const double xi = std::sqrt(heatCapacity * b.par<P::soilDensity>() * kPi / (kSecondsPerYear * conductivity)) * depth;
    const double z = g.shapeArgument(b.par<P::shapeSpacing>());
    const double ustar = (conductivity / ul) * kTwoPi / std::log(z + std::sqrt(z * z - 1.0));
    double tsoil = b.in(4) + (double(b.in(2)) - b.in(4)) * std::exp(-xi * depth / b.par<P::dampingLength>());
    if (b.par<P::buildingResistance>() > 0.0f) {
        const double ustarb = (conductivity / depth) / (b.par<P::buildingResistance>() / xi);
        const double tsbui = (b.par<P::buildingTemperature>() + b.in(4) * ustarb) / (ustarb + 1.0);
        tsoil += (tsbui - b.in(4)) * std::exp(-xi * b.par<P::buildingDistance>() / depth);
    }

    // The fan's heat, as a temperature rise of the air.
    const bool fanHeat = position == kBeforePipe || position == kAfterPipe;
    const double dT = fanHeat ? double(b.in(1)) / (b.par<P::fanEfficiency>() * rho * cpair) : 0.0;

    // Parallel pipes closer than the critical spacing share the soil.
    double share = 1.0;
    const double b0 = g.criticalSpacing(), spacing = b.par<P::pipeDistance>();
    if (spacing < b0 && pipes > 1.0) share = (pipes - std::pow(1.0 - spacing / b0, 2) * (pipes - 1.0)) / pipes;

    // Each segment moves the air towards the soil-side temperature `tside` by the share
    // ntu of the difference; split into equal parts below 1 the air approaches it but
    // never passes it.
    const double capacity = vdot1 * rho * cpair;
    const double weight = b.par<P::weight>();
    const double tside = tsoil;
    const double ntu =
        segments > 0 ? (ustar / (ustar + weight)) * (b.par<P::length>() / segments) * ul * share / capacity : 0.0;
    const double parts = std::floor(ntu) + 1.0;
    const double keep = std::pow(1.0 - ntu / parts, parts);
    double tasi = position == kBeforePipe ? tin + dT : double(tin);
    double heat = 0.0;
    for (int k = 0; k < segments; ++k) {
        const double taso = tside - (tside - tasi) * keep;
        heat += (taso - tasi) * capacity * pipes;
        tasi = taso;
    }
    if (position == kAfterPipe) tasi += dT;
    // Parameters changed during the run are checked again only each on its own.
    if (!fitFloats({tasi, heat})) {
        b.report(code::noFiniteResult, {.reals = {b.in(2), b.in(3)}});
        return;
    }
    b.out(1) = float(heat);
    if (fanHeat || position == kNoFanHeat) b.out(0) = float(tasi);
}

}  // namespace vireo::st
