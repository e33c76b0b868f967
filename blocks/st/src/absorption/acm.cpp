//#Block ACM
//#Description
// Single-effect lithium-bromide/water absorption chiller by the characteristic
// temperature-difference method: the generator, absorber, condenser and evaporator are
// solved together for their mean external temperatures by closed formulas, and the four
// internal temperatures are refined in ten passes.
//#Layout
//#Inputs 6
//#Outputs 10
//#Parameters 15
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Generator (driving hot water) inlet temperature ($^\circ$C)
//#IN[1] Generator mass flow (kg/s)
//#IN[2] Cooling-water inlet temperature, absorber inlet ($^\circ$C)
//#IN[3] Cooling-water mass flow, through absorber and then condenser (kg/s)
//#IN[4] Chilled-water (evaporator) inlet temperature ($^\circ$C)
//#IN[5] Chilled-water mass flow (kg/s)
//#Outputs
//#OUT[0] Cooling power of the evaporator (kW)
//#OUT[1] Generator power (kW)
//#OUT[2] Absorber power (kW)
//#OUT[3] Condenser power (kW)
//#OUT[4] Chilled-water outlet temperature ($^\circ$C)
//#OUT[5] Generator outlet temperature ($^\circ$C)
//#OUT[6] Absorber outlet temperature, condenser inlet ($^\circ$C)
//#OUT[7] Condenser outlet temperature ($^\circ$C)
//#OUT[8] Coefficient of performance, cooling over generator power (-)
//#OUT[9] Characteristic temperature difference (K)
//#Parameters
//#BP[0] Start value of the internal generator temperature ($^\circ$C)
//#BP[1] Start value of the internal condenser temperature ($^\circ$C)
//#BP[2] Start value of the internal absorber temperature ($^\circ$C)
//#BP[3] Start value of the internal evaporator temperature, other than that of the
// condenser ($^\circ$C)
//#BP[4] UA value of the generator, above 0 (kW/K)
//#BP[5] UA value of the condenser, above 0 (kW/K)
//#BP[6] UA value of the absorber, above 0 (kW/K)
//#BP[7] UA value of the evaporator, above 0 (kW/K)
//#BP[8] Solution mass flow through the solution heat exchanger (kg/s)
//#BP[9] Solution heat-exchanger coefficient (-)
//#BP[10] Specific heat capacity of the generator fluid, above 0 (kJ/(kg K))
//#BP[11] Specific heat capacity of the cooling water, above 0 (kJ/(kg K))
//#BP[12] Specific heat capacity of the chilled water, above 0 (kJ/(kg K))
//#BP[13] Start value of the temperature ratio, generator less absorber over condenser less evaporator (-)
//#BP[14] Design cooling power, not used by the computation (kW)
//#Strings
//#None
//#Remarks
// The units of flows, heat capacities and UA values are free as long as they agree; the
// powers come out in the unit of UA times kelvin (the units shown are one consistent
// choice; the solution heat exchanger's share is in kW when its flow is in kg/s).
// The machine runs when the chilled water enters above 7 $^\circ$C and all three flows are
// above 0. Otherwise, and when a pass finds no generator power, an absorber at or above
// the generator, an evaporator below 1 $^\circ$C, or after the tenth pass a negative cooling
// power, the block is off: no powers, the outlets at their inlet temperatures (the
// condenser's at the cooling-water inlet), COP 0, and the characteristic temperature
// difference of its last computation. A start ratio that differs from the ratio of the
// start temperatures is warned about at initialisation, and the passes start from the
// latter. Steps without a solution (no concentration, a closed formula without a value)
// end in the off state, and steps whose last two passes still differ by more than 1e-3 in
// the cooling power, or whose heat does not balance (generator and evaporator against
// condenser and absorber, more than 2.5 per cent apart, as the method gives away from its
// design point), keep their result; the first of either is warned about and the end of
// the run reports how many there were. A step with an input that is not a finite number
// changes no output and counts as one without a solution. RP holds the last solution: the
// four internal temperatures, the ratio and the ten outputs.
//#end
#include "blocks.h"

#include "solution.h"
#include "water_air_fits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vireo::st {
namespace {

// IP[10]: steps that ended unsettled or without a solution. RP[0..14]: the last solution.
struct State {
    int& troubled;
    std::span<float, 15> solution;
    explicit State(acm_block::View& b) : troubled(b.ip<10>()), solution(b.rp<0, 15>()) {}
};

// The closed formulas balance the machine's heat only near the point they are set up at;
// further off they miss by several per cent, which a user has to hear of.
constexpr double kBalanceMiss = 0.025;

// Water and vapour in the machine, T in degC: saturation pressure (Pa), enthalpy of the
// vapour and of the liquid (kJ/kg), heat capacity of the solution at mass fraction x.
using fits::liquidEnthalpy;
using fits::saturationPressure;
using fits::vapourEnthalpy;
double solutionHeatCapacity(double x, double t) {
    const double percent = 100.0 * x;
    return (3.462023 - 0.02679895 * percent) + (0.0013499 - 6.55e-6 * percent) * t;
}

struct Machine {
    double uag, uac, uaa, uae, mrs, flwt, cpg, cpa, cpe;
};
struct Streams {
    double tgin, mdotg, tain, mdota, tein, mdote;
};
// The internal temperatures and their ratio (generator - absorber)/(condenser - evaporator).
struct Internal {
    double tg, tc, ta, te, b;
};
struct Outputs {
    double qe, qg, qa, qc, teout, tgout, taout, tcout, cop, ddt;
};

// Where a pass ends: on to the next, in the off state the machine's rules name, or
// without a solution (its reason).
struct PassEnd {
    enum Kind { next, off, unsolved } kind;
    const char* reason = "";
};

// Division that marks the pass unsolved on a zero or non-finite divisor, so that no
// infinity can vanish into a finite value further on.
class Quotients {
public:
    double operator()(double n, double d) {
        if (d == 0.0 || !std::isfinite(d)) {
            ok_ = false;
            return 0.0;
        }
        return n / d;
    }
    bool ok() const { return ok_; }

private:
    bool ok_ = true;
};

// Finite, and finite still in the single precision of the block's arrays.
bool allFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(),
                       [](double v) { return std::fabs(v) <= std::numeric_limits<float>::max(); });
}

PassEnd pass(const Machine& m, const Streams& s, Internal& in, Outputs& o) {
    const auto concentration = [](double p, double t) {
        return solution::concentration(static_cast<float>(p), static_cast<float>(t));
    };
    const auto weak = concentration(saturationPressure(in.tc), in.tg);
    const auto rich = concentration(saturationPressure(in.te), in.ta);
    if (!weak.found() || !rich.found())
        return {PassEnd::unsolved,
                "the solution concentration has no root at the internal temperatures; the step ends in the off state"};
    const double xweak = weak.value, xrich = rich.value;

    Quotients div;
    const double h10 = vapourEnthalpy(in.te), h7 = vapourEnthalpy(in.tg), h9 = liquidEnthalpy(in.tc), h8 = h9;
    const double h1 = solution::enthalpy(xweak, in.tg), h4 = solution::enthalpy(xrich, in.ta);
    const double crich = solutionHeatCapacity(xrich, in.ta), cweak = solutionHeatCapacity(xweak, in.tg);
    const double t6 = in.ta + div((in.tg - in.ta) * cweak * div(xrich * m.flwt, xweak), crich);
    const double h6 = solution::enthalpy(xrich, t6);
    const double t3 = in.tg - m.flwt * (in.tg - in.ta);
    const double h3 = solution::enthalpy(xweak, t3);

    const double qvspez = h10 - h9;
    const double c = div(h7 - h8, qvspez), a = div(h10 - h3, qvspez), g = div(h7 - h1, qvspez);
    const double qxa = m.mrs * (h3 - h4), qxg = m.mrs * (h1 - h6);
    const double b = in.b;
    const double se = div(1.0, div(a, m.uaa) + div(g, m.uag) + (div(c, m.uac) + div(1.0, m.uae)) * b);
    const double ddtmin = div(qxg, m.uag) + div(qxa, m.uaa);

    // The condenser is cooled by the water leaving the absorber.
    const double mdotc = s.mdota, cpc = m.cpa;
    const double we = div(2.0 * s.mdote * m.cpe, se), wc = div(2.0 * mdotc * cpc, se * c);
    const double wa = div(2.0 * s.mdota * m.cpa, se * a), wg = div(2.0 * s.mdotg * m.cpg, se * g);
    const double z1 = b + we, z2 = ddtmin + s.tein * we, z3 = 1.0 - 2.0 * wc, z4 = b + wc;
    const double z5 = ddtmin + s.tain * wc, z6 = 1.0 + wa, z7 = ddtmin - s.tain * wa - div(qxa, se * a);
    const double z8 = 1.0 + wg, z9 = ddtmin + s.tgin * wg - div(qxg, se * g);

    const double u1 = div(z5 - z2, 1.0 - z3), u2 = div(b - z4, 1.0 - z3), u3 = div(z1 - b, 1.0 - z3);
    const double kd = div((z6 - 1.0) * (b - z4), 1.0 - z3);
    const double k1 = div(z7 - z2 - div((z6 - 1.0) * (z2 - z5), 1.0 - z3), kd);
    const double k2 = div(div((z6 - 1.0) * (z1 - b), 1.0 - z3) + (z1 - b), kd);
    const double extte = div(z9 - z8 * z2 - u1 * z8 + z8 * k1 * u2 + u1 - b * z8 * k1 + k1 * b - k1 * u2,
                             b + z8 * u3 - k2 * u2 * z8 + k2 * b * z8 + u2 * k2 - z1 * z8 - u3 - b * k2);
    const double exttc = k1 + extte * k2;
    const double extta = u3 * extte + u1 - exttc * u2;
    const double exttg = exttc * b + z2 + extta - z1 * extte;

    // The external mean temperature is the mean of inlet and outlet.
    o.ddt = exttg - extta - (exttc - extte) * b;
    o.teout = 2.0 * extte - s.tein;
    o.tgout = 2.0 * exttg - s.tgin;
    o.taout = 2.0 * extta - s.tain;
    o.tcout = 2.0 * exttc - o.taout;
    o.qe = (s.tein - extte) * 2.0 * s.mdote * m.cpe;
    o.qg = (s.tgin - exttg) * 2.0 * s.mdotg * m.cpg;
    o.qa = (extta - s.tain) * 2.0 * s.mdota * m.cpa;
    o.qc = (exttc - o.taout) * 2.0 * mdotc * cpc;

    // The ratio follows the internal temperatures one pass behind.
    const double ratio = div(in.tg - in.ta, in.tc - in.te);
    in = {exttg - div(o.qg, m.uag), exttc + div(o.qc, m.uac), extta + div(o.qa, m.uaa), extte - div(o.qe, m.uae),
          ratio};
    o.cop = o.qg != 0.0 ? o.qe / o.qg : 0.0;
    if (!div.ok() || !allFinite({o.ddt, o.teout, o.tgout, o.taout, o.tcout, o.qe, o.qg, o.qa, o.qc, o.cop, in.tg,
                                 in.tc, in.ta, in.te, in.b}))
        return {PassEnd::unsolved,
                "a closed formula of the chiller has no finite value; the step ends in the off state"};
    if (o.qg == 0.0 || in.ta >= in.tg || in.te < 1.0) return {PassEnd::off};
    return {PassEnd::next};
}

Machine machineOf(const acm_block::View& b) {
    using P = acm_block::P;
    return {b.par<P::uaGenerator>(),  b.par<P::uaCondenser>(),  b.par<P::uaAbsorber>(),
            b.par<P::uaEvaporator>(), b.par<P::solutionFlow>(), b.par<P::exchangerCoefficient>(),
            b.par<P::cpGenerator>(),  b.par<P::cpCooling>(),    b.par<P::cpChilled>()};
}

// The start values of the internal temperatures: generator, condenser, absorber, evaporator.
std::array<float, 4> startTemperatures(const acm_block::View& b) {
    using P = acm_block::P;
    return {b.par<P::generatorStart>(), b.par<P::condenserStart>(), b.par<P::absorberStart>(),
            b.par<P::evaporatorStart>()};
}

// The ratio the passes start from: BP 13 when it agrees with the start temperatures,
// else theirs. The passes carry the ratio of the temperatures they start from, so a start
// value that differs from it would swing between the two for good.
struct StartRatio {
    double value;
    double fromTemperatures;
    bool agrees;
};
StartRatio startRatio(const acm_block::View& b) {
    const double given = b.par<acm_block::P::ratioStart>();
    const auto [tg, tc, ta, te] = startTemperatures(b);
    const double r = (static_cast<double>(tg) - ta) / (static_cast<double>(tc) - te);
    const bool agrees = std::fabs(given - r) <= 1e-3 * std::fabs(r);
    return {agrees ? given : r, r, agrees};
}

void put(acm_block::View& b, const Outputs& o) {
    const double values[10] = {o.qe, o.qg, o.qa, o.qc, o.teout, o.tgout, o.taout, o.tcout, o.cop, o.ddt};
    for (int i = 0; i < 10; ++i) b.out(i) = static_cast<float>(values[i]);
}

Outputs offOutputs(const Streams& s, double ddt) {
    return {0.0, 0.0, 0.0, 0.0, s.tein, s.tgin, s.tain, s.tain, 0.0, ddt};
}

// The off state: RP goes back to the start values.
void off(acm_block::View& b, State& st, const Streams& s, double ddt) {
    std::ranges::copy(startTemperatures(b), st.solution.begin());
    st.solution[4] = static_cast<float>(startRatio(b).value);
    put(b, offOutputs(s, ddt));
}

}  // namespace

bool acm_block::tiesHold(View& b) {
    // The start ratio divides by their difference.
    if (b.par<P::condenserStart>() != b.par<P::evaporatorStart>()) return true;
    b.report(code::equalStartTemperatures, {.reals = {b.par<P::condenserStart>()}});
    return false;
}

void acm_block::init(View& b) {
    State st(b);
    st.troubled = 0;
    if (refused(b)) return;
    const StartRatio r = startRatio(b);
    if (!r.agrees)
        b.report(code::startRatioDiffers, {.reals = {b.par<P::ratioStart>(), static_cast<float>(r.fromTemperatures)}});
}

void acm_block::step(View& b) {
    State st(b);
    const Streams s{b.in(0), b.in(1), b.in(2), b.in(3), b.in(4), b.in(5)};
    if (!allFinite({s.tgin, s.mdotg, s.tain, s.mdota, s.tein, s.mdote})) {
        b.countWarning(st.troubled, code::chillerNoSolution,
                       {.text = "an input is not a finite number; the outputs keep their last values"});
        return;
    }
    // Off unless chilled water comes warm enough and all three circuits flow.
    double ddt = b.out(9);
    if (!(s.tein > 7.0 && s.mdote > 0.0 && s.mdota > 0.0 && s.mdotg > 0.0)) return off(b, st, s, ddt);

    const Machine m = machineOf(b);
    const auto [tg, tc, ta, te] = startTemperatures(b);
    Internal in{tg, tc, ta, te, startRatio(b).value};
    Outputs o{};
    double previousQe = 0.0;
    for (int k = 0; k < 10; ++k) {
        previousQe = o.qe;
        o.ddt = std::numeric_limits<double>::quiet_NaN();  // until the pass gets that far
        const PassEnd end = pass(m, s, in, o);
        if (allFinite({o.ddt})) ddt = o.ddt;
        if (end.kind == PassEnd::unsolved) {
            b.countWarning(st.troubled, code::chillerNoSolution, {.text = end.reason});
            return off(b, st, s, ddt);
        }
        if (end.kind == PassEnd::off) return off(b, st, s, ddt);
    }

    if (o.qe < 0.0) {
        o = offOutputs(s, ddt);
    } else if (std::fabs(o.qe - previousQe) > 1e-3 * std::max(std::fabs(o.qe), std::fabs(previousQe))) {
        b.countWarning(st.troubled, code::chillerUnsettled,
                       {.reals = {static_cast<float>(previousQe), static_cast<float>(o.qe)}});
    } else if (const double given = o.qg + o.qe, taken = o.qa + o.qc;
               std::fabs(given - taken) > kBalanceMiss * std::fabs(given)) {
        b.countWarning(st.troubled, code::chillerOffBalance,
                       {.reals = {static_cast<float>(given), static_cast<float>(taken)}});
    }
    const double solution[15] = {in.tg, in.tc, in.ta, in.te, in.b,     o.qe,    o.qg, o.qa,
                                 o.qc,  o.teout, o.tgout, o.taout, o.tcout, o.cop, o.ddt};
    for (std::size_t i = 0; i < 15; ++i) st.solution[i] = static_cast<float>(solution[i]);
    put(b, o);
}

void acm_block::last(View& b) { b.reportCount(State(b).troubled, code::countedChillerSteps); }

}  // namespace vireo::st
