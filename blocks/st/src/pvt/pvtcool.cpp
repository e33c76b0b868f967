//#Block PVTCOOL
//#Description
// An uncovered collector, with or without a PV layer, that heats or cools a fluid: by day
// it gains solar heat and PV electricity, at night it cools the fluid by long-wave
// radiation and convection and gains the heat of moisture condensing on its cold surface.
// The collector is cut into segments along the flow; each call advances their
// temperatures by 60 s in explicit sub-steps.
//#Layout
//#Inputs 0--16
//#Outputs 12
//#Parameters 29--30
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global irradiance on the collector plane (kJ/(h m$^2$))
//#IN[1] Beam irradiance on the collector plane (kJ/(h m$^2$))
//#IN[2] Incidence angle; outside 0 to 90 the beam counts for nothing (degrees)
//#IN[3] Zenith angle of the sun (degrees)
//#IN[4] Azimuth of the sun (degrees)
//#IN[5] Ambient temperature ($^\circ$C)
//#IN[6] Ambient pressure (hPa)
//#IN[7] Relative humidity of the ambient air (\%)
//#IN[8] Sky temperature ($^\circ$C)
//#IN[9] Wind speed (m/s)
//#IN[10] Outer convective coefficient, read unless parameter 3 is 2 (W/(m$^2$ K))
//#IN[11] Coefficient between absorber and fluid, read unless parameter 4 is 2 (W/(m$^2$ K))
//#IN[12] Inlet temperature of the fluid ($^\circ$C)
//#IN[13] Mass flow of the fluid; a negative flow is none (kg/h)
//#IN[14] PV switch: 1 when the electricity is taken off (whole part of the input + 0.1);
// 0 when not connected (-)
//#IN[15] Ground temperature; 0 when not connected ($^\circ$C)
//#Outputs
//#OUT[0] Mass flow (kg/h)
//#OUT[1] Outlet temperature, mean over the sub-steps ($^\circ$C)
//#OUT[2] Useful heat (output 2 - input 13) times flow and heat capacity of the fluid (kJ/h)
//#OUT[3] Mean absorber temperature ($^\circ$C)
//#OUT[4] Condensation gain in models 2 and 4, else 0 (kJ/h)
//#OUT[5] Mean surface (PV) temperature in models 3 and 4, else -99 ($^\circ$C)
//#OUT[6] Electric power of the PV layer in models 3 and 4 while it is taken off, else 0 (W)
//#OUT[7] Outer convective coefficient in models 2 to 4, else -99 (W/(m$^2$ K))
//#OUT[8] Coefficient between absorber and fluid (W/(m$^2$ K))
//#OUT[9] Net irradiance of the last sub-step (W/m$^2$)
//#OUT[10] Net irradiance weighted by the modifiers (W/m$^2$)
//#OUT[11] Heat-loss flux $-(t_f - t_u)(b_1 + b_2 u)$ at the mean fluid temperature (W/m$^2$)
//#Parameters
//#BP[0] Model, at least 1 and below 5, by its whole part: 1 thermal, 2 thermal with
// condensation, 3 PV-thermal, 4 PV-thermal with condensation (-)
//#BP[1] PV model, read by models 3 and 4, by its whole part: 1 efficiency with a
// logarithmic irradiance term, 2 one-diode characteristic (-)
//#BP[2] Outer convective coefficient: 2 computed from the wind, otherwise input 10 (-)
//#BP[3] Coefficient between absorber and fluid: 2 computed from the efficiency curve at
// initialisation and after a change during the run, otherwise input 11 (-)
//#BP[4] Collector area, at least 0.5 (m$^2$)
//#BP[5] Tilt angle (degrees)
//#BP[6] Azimuth of the collector (degrees)
//#BP[7] Zero-loss efficiency $\eta_0$ (-)
//#BP[8] Wind dependence $b_u$ of the zero-loss efficiency (s/m)
//#BP[9] Heat-loss coefficient $b_1$ (W/(m$^2$ K))
//#BP[10] Wind-dependent heat-loss coefficient $b_2$ (J/(m$^3$ K))
//#BP[11] Absorptance, for the coefficient from the efficiency curve (-)
//#BP[12] Factor of the long-wave balance in the net irradiance (-)
//#BP[13] Effective heat capacity per area, above 0 (kJ/(m$^2$ K))
//#BP[14] Specific heat capacity of the fluid, above 0 (kJ/(kg K))
//#BP[15] Diffuse-irradiance modifier, thermal (-)
//#BP[16] Incidence-angle-modifier model, thermal; no effect (-)
//#BP[17] Heat-transfer coefficient between absorber and surface layer (W/(m$^2$ K))
//#BP[18] Long-wave emissivity of the surface (-)
//#BP[19] Transmittance of the surface layer, for the coefficient from the efficiency
// curve in models 3 and 4 (-)
//#BP[20] Diffuse-irradiance modifier, PV (-)
//#BP[21] Incidence-angle-modifier model, PV; no effect (-)
//#BP[22] PV efficiency at standard test conditions (-)
//#BP[23] Short-circuit current, PV model 2, above 0 (A)
//#BP[24] Current at the maximum power point, PV model 2, above 0 (A)
//#BP[25] Open-circuit voltage, PV model 2, above 0 (V)
//#BP[26] Voltage at the maximum power point, PV model 2, above 0 (V)
//#BP[27] Temperature coefficient of the PV (\%/K)
//#BP[28] Relaxation factor of the iteration of models 2 to 4 (-)
//#BP[29] Long-wave emissivity of the ground; optional, 0 when left out (-)
//#Strings
//#None
//#Remarks
// Every call advances the collector by 60 s, whatever the model's step, and a call
// repeated at the same time advances it again: use the block with steps of 60 s and
// outside iteration loops. A sub-step lasts at most three quarters of the longest stable
// explicit step; models 2 to 4 iterate the coupled surface, absorber and fluid
// temperatures of each sub-step to 0.001 K in at most 50 passes (one that does not
// settle keeps the values of its 50th pass, with a warning the first time and a count
// at the end of the run). A step that would need more than 6000 sub-steps is left out
// in the same way. The coefficient between absorber and fluid computed from the
// efficiency curve is the curve's at 1.5 m/s wind; where it is not above 0 or lies more
// than a fifth from the curve's at some wind from 1 to 8 m/s, it is warned about. A
// coefficient of 0 or below couples absorber and fluid fully.
//
// The collector is cut into 100 segments whatever its area, enough that the steady
// useful heat lies within a per cent of the exact solution of a collector with a linear
// loss at any flow. In models 3 and 4 the electricity leaves the heat the absorber takes
// in whole: the zero-loss efficiency acts on the whole net irradiance and the PV power
// per area is taken off the fluid's gain beside it.
//
// All temperatures start at 20 $^\circ$C. The block reads inputs 1 to 14; fewer connected
// inputs are an error at initialisation. A step with an input that is not a finite
// number, or whose results are not, changes neither state nor outputs and is warned
// about.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "finite.h"
#include "uncovered_pvt.h"
#include "values.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <span>

namespace vireo::st {
namespace {

using P = pvtcool_block::P;
using pvt::kMaxNodes;

constexpr int kInputsRead = 14;
constexpr float kFirstTemperature = 20.0f;

// IP[10]: passes of the iteration that ran out of passes; RP[0]: the coefficient between
// absorber and fluid from the efficiency curve; RP[1]: steps left out for asking too
// many sub-steps; DP[0..3nj-1]: absorber, fluid (nodes 1..nj) and surface temperatures.
struct State {
    int& unsettled;
    float& internal;
    float& leftOut;
    std::span<double, 3 * kMaxNodes> temperatures;
    explicit State(pvtcool_block::View& b)
        : unsettled(b.ip<10>()), internal(b.rp<0>()), leftOut(b.rp<1>()), temperatures(b.dp<0, 3 * kMaxNodes>()) {}
};

// A switch by the whole part the block takes of it.
template <int I>
int whole(const pvtcool_block::View& b) {
    return block::toInt(b.par<I>());
}

// The PV model and, for the second, its characteristic: read by the PV models alone.
bool checkPv(pvtcool_block::View& b) {
    if (!pvt::hasPv(whole<P::model>(b))) return true;
    const Rule pvModel{.parameter = P::pvModel, .low = 1, .high = 2, .whole = true, .code = code::badMode,
                       .name = P::table[P::pvModel].name};
    if (!b.check(pvModel, std::trunc(b.par<P::pvModel>()))) return false;
    if (whole<P::pvModel>(b) != 2) return true;
    bool passed = true;
    for (int i : {P::ik, P::impp, P::ul, P::umpp})
        passed = b.check(Rule{.parameter = i, .low = 0, .high = FLT_MAX, .code = code::badPvCharacteristic,
                              .aboveLow = true},
                         b.par(i)) &&
                 passed;
    return passed;
}

pvt::Collector collector(const pvtcool_block::View& b) {
    const auto p = [&](int i) { return static_cast<double>(b.par(i)); };
    return {.model = whole<P::model>(b),
            .pvModel = whole<P::pvModel>(b),
            .computedUkon = whole<P::ukMode>(b) == 2,
            .aa = p(P::aa),
            .beta = p(P::beta),
            .eta0 = p(P::eta0),
            .bu = p(P::bu),
            .b1 = p(P::b1),
            .b2 = p(P::b2),
            .epsalpha = p(P::epsalpha),
            .ceff = p(P::ceff) * 1000.0,
            .cf = p(P::cf) * 1000.0,
            .kdth = p(P::kdth),
            .ugf = p(P::ugf),
            .epspv = p(P::epspv),
            .kdpv = p(P::kdpv),
            .etastc = p(P::etastc),
            .ik = p(P::ik),
            .impp = p(P::impp),
            .ul = p(P::ul),
            .umpp = p(P::umpp),
            .ct = p(P::ct) / 100.0,
            .relax = p(P::relax),
            .epsgr = b.par<P::epsgr>(),
            .nj = kMaxNodes};
}

pvt::Conditions conditions(const pvtcool_block::View& b, double computedUint) {
    const auto in = [&](int i) { return static_cast<double>(b.in(i)); };
    return {.eg = in(0) / 3.6,
            .eb = in(1) / 3.6,
            .theta = in(2),
            .tu = in(5),
            .pu = in(6),
            .rh = in(7) / 100.0,
            .th = in(8),
            .vu = in(9),
            .ukon = whole<P::ukMode>(b) == 2 ? 0.0 : in(10),
            .uint = whole<P::uiMode>(b) == 2 ? computedUint : in(11),
            .tfe = in(12),
            .mpkt = positivePart(b.in(13)),
            .tgr = in(15),
            .ppvMode = block::toInt(in(14) + 0.1)};
}

bool allFiniteIn(std::span<const double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

bool pvtcool_block::tiesHold(View& b) { return checkPv(b); }

void pvtcool_block::init(View& b) {
    State s(b);
    s.unsettled = 0;
    s.leftOut = 0.0f;
    if (b.inputCount() < kInputsRead) b.report(code::tooFewInputs, {.ints = {b.inputCount(), kInputsRead}});
    if (refused(b)) return;
    takeChange(b);
    for (int i = 0; i < 3 * kMaxNodes; ++i) s.temperatures[static_cast<std::size_t>(i)] = kFirstTemperature;
}

// The coefficient from the efficiency curve, of the parameters as they stand.
void pvtcool_block::takeChange(View& b) {
    if (whole<P::uiMode>(b) != 2) return;
    State s(b);
    const double tau = whole<P::model>(b) < 3 ? 1.0 : b.par<P::taupv>();
    const pvt::Internal r = pvt::internalCoefficient(b.par<P::alphath>(), b.par<P::b1>(), b.par<P::b2>(),
                                                     b.par<P::bu>(), b.par<P::eta0>(), tau);
    s.internal = stored(r.uint);
    if (r.off) b.report(code::internalCoefficientOff, {.reals = {s.internal}});
}

void pvtcool_block::step(View& b) {
    if (!inputsFinite(b)) return;
    State s(b);
    const pvt::Collector c = collector(b);
    const pvt::Conditions w = conditions(b, s.internal);
    constexpr std::size_t nj = kMaxNodes;
    const auto dp = [&](std::size_t i) -> double& { return s.temperatures[i]; };
    pvt::State t{};
    for (std::size_t j = 0; j < nj; ++j) {
        t.ta[j] = dp(j);
        t.tf[j + 1] = dp(nj + j);
        t.tg[j] = dp(2 * nj + j);
    }
    const pvt::Result r = pvt::advance(c, w, t);
    if (!r.ran) {
        int count = block::toInt(s.leftOut);
        b.countWarning(count, code::tooManySubSteps, {.reals = {b.in(13)}, .ints = {pvt::kMaxSubSteps}});
        s.leftOut = static_cast<float>(count);
        return;
    }
    for (int k = 0; k < r.unsettled; ++k)
        b.countWarning(s.unsettled, code::notSettled, {.reals = {b.in(0), b.in(1)}});
    if (!allFiniteIn(r.outputs) || !allFiniteIn(t.ta) || !allFiniteIn(t.tg) ||
        !allFiniteIn(std::span(t.tf).subspan(1))) {
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(1)}});
        return;
    }
    for (std::size_t j = 0; j < nj; ++j) {
        dp(j) = t.ta[j];
        dp(nj + j) = t.tf[j + 1];
        dp(2 * nj + j) = t.tg[j];
    }
    for (int i = 0; i < 12; ++i) b.out(i) = stored(r.outputs[static_cast<std::size_t>(i)]);
}

void pvtcool_block::last(View& b) {
    State s(b);
    b.reportCount(s.unsettled, code::countedNotSettled);
    b.reportCount(block::toInt(s.leftOut), code::countedStepsLeftOut);
}

}  // namespace vireo::st
