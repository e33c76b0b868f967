//#Block SCETA
//#Description
// A field of liquid flat-plate collectors described by the efficiency curve
// $\eta_0 - a_1 (t_m - t_a)/G - a_2 (t_m - t_a)^2/G$, referred to the mean fluid
// temperature $t_m$: collectors of one area in series, the rows in parallel. Mode 0 solves
// each collector's steady energy balance for its outlet temperature; mode 1 takes the
// mean fluid temperature as given and evaluates the curve.
//#Layout
//#Inputs 4
//#Outputs 5
//#Parameters 7--8
//#Strings 0--1
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature of the field ($^\circ$C)
//#IN[1] Mode 0: total mass flow of the field, a negative flow is none (kg/s); mode 1:
// mean fluid temperature ($^\circ$C)
//#IN[2] Irradiance on the collector plane; a negative value is taken as 0 (W/m$^2$)
//#IN[3] Ambient temperature ($^\circ$C)
//#Outputs
//#OUT[0] Outlet temperature of the field ($^\circ$C)
//#OUT[1] Mean fluid temperature, the mean of inlet and outlet ($^\circ$C)
//#OUT[2] Useful heat flow: of the field in mode 0, of one collector in mode 1 (W)
//#OUT[3] Efficiency (-)
//#OUT[4] Effective loss coefficient $a_1 + a_2$ (output 2 - input 4) (W/(m$^2$ K))
//#Parameters
//#BP[0] Area of one collector, above 0 (m$^2$)
//#BP[1] Optical efficiency $\eta_0$ (-)
//#BP[2] Linear heat-loss coefficient $a_1$ (W/(m$^2$ K))
//#BP[3] Quadratic heat-loss coefficient $a_2$; 0 selects the linear curve (W/(m$^2$ K$^2$))
//#BP[4] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#BP[5] Collectors in series, a whole number from 1 to 10000 (-)
//#BP[6] Rows in parallel, at least 1 when rounded; the flow is divided by the value as
// given (-)
//#BP[7] Mode, 0 to 1 (-): 0 outlet temperature, 1 the curve at a given mean temperature;
// optional, 0 when left out
//#Strings
//#SP[0] Not read (-)
//#Remarks
// In mode 0 each collector's balance $\dot m c_p (t_o - t_i)/A = \eta_0 G - a_1 (t_m - t_a)
// - a_2 (t_m - t_a)^2$ with $t_m = (t_i + t_o)/2$ is solved in closed form, and its outlet
// passes on to the next collector of the row. No outlet lies beyond the stagnation
// temperature of the curve, where $\eta_0 G$ meets the loss $a_1 (t - t_a) + a_2 (t -
// t_a)^2$, as seen from its inlet, warmed or cooled (where the closed form would
// overshoot it, at a trickle flow, the outlet is the stagnation temperature). Of the two
// roots of the quadratic balance one must lie between the lower of inlet and ambient and
// twice the higher of ambient and stagnation temperature (in kelvin); where none or both
// do, the outlet is the root between the inlet and the stagnation temperature or, without
// one there, the stagnation temperature. Only a curve whose loss does not grow with the
// temperature ($a_1$ or $a_2$ below 0, where the linear balance may have no solution or
// the stagnation temperature no bound) passes its inlet temperature on there, with a
// warning the first time and a count of all such solutions at the end of the run.
// Without flow the outlet is the inlet and the heat 0.
//
// Mode 1 gives as outlet twice the mean less the inlet, and the heat of one collector;
// the efficiency is not limited to 0 or above. With no irradiance the efficiency is 0
// in both modes. A step whose temperatures are not numbers leaves the outputs as they
// were.
//#end
#include "blocks.h"

#include "collector_curve.h"
#include "values.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vireo::st {
namespace {

using P = sceta_block::P;

// IP[12], IP[13]: the counts of balances with no and with two admissible roots. Series and
// mode are read at every step, so that a change the editor makes during the run holds for
// the whole step.
struct State {
    int& noRoot;
    int& twoRoots;
    explicit State(sceta_block::View& b) : noRoot(b.ip<12>()), twoRoots(b.ip<13>()) {}
};

constexpr double kKelvin = 273.15;

struct Curve {
    double eta0, a1, a2;
};

double stagnation(double ta, double gain, const Curve& c) { return collector::stagnation(ta, gain, c.a1, c.a2); }

// The two roots of x^2 + 2 p x + q = 0, the larger one first: the one with the sign of
// -p from the sum, the other from their product q, so that neither is a difference of
// nearly equal numbers (with a small a2, p and q are large and the outlet is not).
struct Roots {
    bool real;
    double upper, lower;  // sqrt(p^2 - q) - p and -p - sqrt(p^2 - q)
};
Roots quadraticRoots(double p, double q) {
    const double d = p * p - q;
    if (!(d >= 0.0)) return {false, 0.0, 0.0};
    const double s = std::sqrt(d);
    if (p > 0.0) {
        const double lower = -(p + s);
        return {true, q / lower, lower};
    }
    const double upper = s - p;
    return {true, upper, upper != 0.0 ? q / upper : -p - s};
}

// The collector's balance at an outlet to (kelvin): what the flow takes up less what the
// curve gives at the mean of inlet and outlet, per unit area.
double residual(double to, double ti, double ta, double g, double mcp, const Curve& c) {
    const double x = (ti + to) / 2.0 - ta;
    return mcp * (to - ti) - (c.eta0 * g - c.a1 * x - c.a2 * x * x);
}

// The two outlets (kelvin) of the quadratic balance, a2 above 0.
Roots quadraticOutlets(double ti, double ta, double g, double mcp, const Curve& c) {
    const double p = c.a1 / c.a2 + ti - 2.0 * ta + 2.0 * mcp / c.a2;
    const double q = ti * (ti + 2.0 * c.a1 / c.a2 - 4.0 * ta - 4.0 * mcp / c.a2) -
                     4.0 * (ta * c.a1 / c.a2 + g * c.eta0 / c.a2 - ta * ta);
    return quadraticRoots(p, q);
}

// The outlet of one collector (kelvin), or none when its balance has no usable solution
// (the block then passes the inlet on). mcp is the capacity flow per unit collector area.
enum class Solution { one, none, two };
Solution collectorOutlet(double ti, double ta, double g, double mcp, const Curve& c, double tmin, double tmax,
                         double& to) {
    if (c.a2 == 0.0) {
        const double denominator = mcp + c.a1 / 2.0;
        if (!(denominator > 0.0)) return Solution::none;
        to = (c.eta0 * g + c.a1 * (ta - ti / 2.0) + mcp * ti) / denominator;
        return Solution::one;
    }
    const Roots r = quadraticOutlets(ti, ta, g, mcp, c);
    const auto admissible = [&](double x) { return r.real && x >= tmin && x <= 2.0 * tmax; };
    const int count = admissible(r.upper) + admissible(r.lower);
    if (count != 1) return count == 0 ? Solution::none : Solution::two;
    to = admissible(r.upper) ? r.upper : r.lower;
    return Solution::one;
}

// The outlet of a quadratic balance between the inlet and the stagnation temperature,
// which the fluid moves towards: the balance's root there, or the stagnation temperature
// where it has none between them (a warm inlet at a trickle flow, carried past it).
double towardsStagnation(double ti, double stagnant, double ta, double g, double mcp, const Curve& c) {
    if (residual(ti, ti, ta, g, mcp, c) * residual(stagnant, ti, ta, g, mcp, c) > 0.0) return stagnant;
    const Roots r = quadraticOutlets(ti, ta, g, mcp, c);
    if (!r.real) return stagnant;
    const double lo = std::min(ti, stagnant), hi = std::max(ti, stagnant);
    // The root there, as near as rounding leaves it.
    const auto off = [&](double x) { return std::max({lo - x, x - hi, 0.0}); };
    return std::clamp(off(r.upper) <= off(r.lower) ? r.upper : r.lower, lo, hi);
}

void stepCurve(sceta_block::View& b, const Curve& c, double g) {
    const double ti = b.in(0), tm = b.in(1), ta = b.in(3);
    b.out(0) = stored(2.0 * tm - ti);
    b.out(1) = stored(tm);
    const double eta = g > 0.0 ? c.eta0 - c.a1 * (tm - ta) / g - c.a2 * (tm - ta) * (tm - ta) / g : 0.0;
    b.out(2) = stored(b.par<P::area>() * eta * g);
    b.out(3) = stored(eta);
}

void stepField(sceta_block::View& b, const Curve& c, double g) {
    State s(b);
    const double flow = positivePart(b.in(1)), cp = b.par<P::heatCapacity>(), area = b.par<P::area>(),
                 rows = b.par<P::rows>();
    const double mdot = flow / rows;
    if (!(mdot > 0.0) || !std::isfinite(mdot)) {
        b.out(0) = b.out(1) = b.in(0);
        b.out(2) = b.out(3) = 0.0f;
        return;
    }
    const double mcp = mdot * cp / area;
    const double ta = b.in(3) + kKelvin;
    double ti = b.in(0) + kKelvin;
    const double stagnant = stagnation(ta, c.eta0 * g, c);
    // The window of admissible roots is that of the linear curve's stagnation, as the
    // balance has always been read.
    const double unbounded = std::numeric_limits<double>::infinity();
    const double linear = c.a1 > 0.0 ? ta + c.eta0 * g / c.a1 : (c.eta0 * g > 0.0 ? unbounded : ta);
    const double tmin = std::min(ti, ta), tmax = std::max(linear, ta);
    const int series = b.whole<P::series>();
    for (int k = 0; k < series; ++k) {
        const block::Values said{.reals = {stored(ti - kKelvin), stored(g), stored(mdot)}};
        double to = ti;
        const Solution solution = collectorOutlet(ti, ta, g, mcp, c, tmin, tmax, to);
        switch (solution) {
            case Solution::one:
                // At a capacity flow below a1/2 the closed forms overshoot the stagnation
                // temperature: a warm inlet at a trickle flow at night would leave far below
                // the ambient.
                if ((to - stagnant) * (ti - stagnant) < 0.0) to = stagnant;
                break;
            case Solution::none:
            case Solution::two:
                // The window can miss the outlet that lies between the inlet and the
                // stagnation temperature, or hold both roots: a warm inlet at a trickle
                // flow, whose closed form lies far below the ambient; an inlet above twice
                // the ambient in kelvin, hot at night (228 degC at -25 degC); a cold one at
                // a trickle below a warm ambient; one at the stagnation temperature itself,
                // by rounding (the next collector of a row that reached it).
                if (c.a2 > 0.0 && std::isfinite(stagnant)) {
                    to = towardsStagnation(ti, stagnant, ta, g, mcp, c);
                    break;
                }
                if (solution == Solution::none) b.countWarning(s.noRoot, code::noAdmissibleRoot, said);
                else b.countWarning(s.twoRoots, code::twoAdmissibleRoots, said);
                break;
        }
        ti = to;
    }
    const float inlet = b.in(0);
    const float outlet = b.out(0) = stored(ti - kKelvin);
    b.out(1) = stored((static_cast<double>(outlet) + inlet) / 2.0);
    const double heat = flow * cp * (static_cast<double>(outlet) - inlet);
    b.out(2) = stored(heat);
    const double aperture = area * g * b.par<P::series>() * rows;
    b.out(3) = aperture > 0.0 ? stored(heat / aperture) : 0.0f;
}

}  // namespace

void sceta_block::step(View& b) {
    const bool curveOnly = b.whole<P::mode>() == 1;
    if (!allFinite({b.in(0), b.in(3)}) || (curveOnly && !std::isfinite(b.in(1)))) return;
    const Curve c{b.par<P::eta0>(), b.par<P::a1>(), b.par<P::a2>()};
    const double g = positivePart(b.in(2));
    if (curveOnly) stepCurve(b, c, g);
    else stepField(b, c, g);
    b.out(4) = stored(c.a1 + c.a2 * (static_cast<double>(b.out(1)) - b.in(3)));
}

void sceta_block::last(View& b) {
    State s(b);
    b.reportCount(s.noRoot, code::noAdmissibleRootCount);
    b.reportCount(s.twoRoots, code::twoAdmissibleRootsCount);
}

}  // namespace vireo::st
