//#Block COOLTW
//#Description
// Wet cooling tower with a fan: from a design point it derives the tower's air-to-water
// ratio at design, and each step the water outlet temperature, the heat rejected, the
// fan power and the make-up water, with the ambient wet-bulb temperature found on the
// humid-air functions.
//#Layout
//#Inputs 5
//#Outputs 5
//#Parameters 10
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Ambient air temperature ($^\circ$C)
//#IN[1] Ambient relative humidity, 1 at saturation; above 1 taken as 1 (-)
//#IN[2] Water inlet temperature ($^\circ$C)
//#IN[3] Water mass flow; 0 or below is no flow (kg/s)
//#IN[4] Fan speed; 0 or below runs the step at 20 (\%)
//#Outputs
//#OUT[0] Water outlet temperature ($^\circ$C)
//#OUT[1] Heat rejected (kW)
//#OUT[2] Fan power (unit of parameter 7)
//#OUT[3] Make-up water (kg/h)
//#OUT[4] Ambient wet-bulb temperature; the air temperature without water flow ($^\circ$C)
//#Parameters
//#BP[0] Design cooling power, not used (kW)
//#BP[1] Design water inlet temperature ($^\circ$C)
//#BP[2] Design water outlet temperature, below parameter 2 ($^\circ$C)
//#BP[3] Design water mass flow, above 0 (kg/s)
//#BP[4] Design air temperature, not used ($^\circ$C)
//#BP[5] Design wet-bulb temperature, below parameter 2 ($^\circ$C)
//#BP[6] Fan power at full speed (any unit)
//#BP[7] Packing height, above -0.231674 and below 2.47167, where the packing fit is
// positive (m)
//#BP[8] Make-up water per unit of rejected heat, first share (kg/h per kW)
//#BP[9] Make-up water per unit of rejected heat, second share (kg/h per kW)
//#Strings
//#None
//#Remarks
// Merkel's model: the tower's effectiveness is ck (1 - exp(-$\lambda$)), with $\lambda$
// the air-to-water ratio over the least ratio that could take the water down to the wet
// bulb, and the packing fit ck = 1.26 h - 0.5625 h$^2$ + 0.3221, taken at most 1, so that
// the water never leaves colder than the wet bulb. The design air flow follows from the
// design effectiveness (a design at or above ck gives $\lambda$ = 10) and scales with the
// fan speed; the fan power with its cube. The wet bulb is the saturated state of the
// inlet air's enthalpy, found as the humidifiers find the end of their line: secant steps
// on the humidity, kept within a bracket and replaced by halving where they stall, to
// 0.0001 in relative humidity. Where none is found (inputs outside the humid-air
// functions' range) the dry bulb stands for the wet bulb and the outlet air takes up no
// water, with a warning (the first as it happens; the end of the run reports how many
// there were).
// Water no warmer than the wet bulb passes unchanged. The make-up water is the water the
// air takes up, from the inlet air's humidity to saturation at the outlet enthalpy, plus
// the two shares of the rejected heat. Water heat
// capacity 4.18 kJ/(kg K), humidity in g/kg, enthalpy in kJ/kg. A stopped fan is an
// error in every such step. A relative humidity above 1 is taken as 1 (saturated air),
// with a warning in every such step. A step with an input that is not a finite number
// changes no output and is warned about.
//#end
#include "blocks.h"

#include "enthalpy_line.h"
#include "finite.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo::st {
namespace {

constexpr double kCpWater = 4.18;         // kJ/(kg K)
constexpr double kStandInFan = 0.2;       // share of full speed a stopped fan is run at

// Positive between its two zeros, which bound the packing height in the table.
constexpr double kFitA = -0.5625, kFitB = 1.26, kFitC = 0.3221;
double packingFit(double h) { return (kFitA * h + kFitB) * h + kFitC; }

float absoluteHumidity(double phi, double t) {
    const float p = float(phi), tt = float(t);
    int status = 0;
    return humr2a(&p, &tt, &status);
}
float enthalpy(double x, double t) {
    const float xx = float(x), tt = float(t);
    return humh(&xx, &tt);
}
float humidityOf(double t, double h) {
    const float tt = float(t), hh = float(h);
    int status = 0;
    return humh2x(&tt, &hh, &status);
}
double saturatedEnthalpy(double t) { return enthalpy(absoluteHumidity(1.0, t), t); }

using P = cooltw_block::P;

// A search that finds no saturated state (inputs outside the humid-air functions' range)
// is a warning, not an error: the step goes on without it. IP[10] counts them, IP[11]
// holds how many the end of a run has reported.
void unsettled(cooltw_block::View& b) { b.countWarning(b.ip<10>(), code::countedNotConverged, {.value = 1}); }

// The saturated state on the line of enthalpy h through humidity x, or `otherwise`.
line::AirState saturate(cooltw_block::View& b, float x, float h, const line::AirState& otherwise) {
    const auto s = line::saturated({line::at(x, h), h});
    if (s) return *s;
    unsettled(b);
    return otherwise;
}

struct Design {
    double ck, airFlow;
};

Design design(const cooltw_block::View& b) {
    const double twin0 = b.par<P::designInlet>(), twout0 = b.par<P::designOutlet>(), mdotw0 = b.par<P::designFlow>(),
                 tfair0 = b.par<P::designWetBulb>();
    const double ck = std::min(packingFit(b.par<P::packing>()), 1.0);
    const double lmind = (twin0 - tfair0) * kCpWater / (saturatedEnthalpy(twin0) - saturatedEnthalpy(tfair0));
    const double nyde = (twin0 - twout0) / (twin0 - tfair0);
    const double lamdad = nyde < ck ? -std::log(1.0 - nyde / ck) : 10.0;
    return {ck, mdotw0 * lmind * lamdad};
}

}  // namespace

bool cooltw_block::tiesHold(View& b) {
    // The design must cool the water, and towards a wet bulb below its inlet.
    const float twin0 = b.par<P::designInlet>(), twout0 = b.par<P::designOutlet>(), tfair0 = b.par<P::designWetBulb>();
    if (twin0 > twout0 && twin0 > tfair0) return true;
    b.report(code::designDoesNotCool, {.reals = {twin0, twout0, tfair0}});
    return false;
}

void cooltw_block::init(View& b) { b.ip<10>() = b.ip<11>() = 0; }

void cooltw_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const double twin = b.in(2), mdotw = b.in(3);
    if (!(mdotw > 0.0)) {
        b.out(0) = b.in(2);
        b.out(1) = b.out(2) = b.out(3) = 0.0f;
        b.out(4) = b.in(0);
        return;
    }
    const Design d = design(b);
    double pnvent = b.in(4) / 100.0;
    if (!(pnvent > 0.0)) {
        b.report(code::fanStopped);
        pnvent = kStandInFan;
    }
    const double mdota = pnvent * d.airFlow;

    // Air holds no more water than saturates it: beyond, the wet bulb would lie above the
    // dry bulb.
    float rfair = b.in(1);
    if (rfair > 1.0f) {
        b.report(code::humidityAboveSaturation, {.reals = {rfair}});
        rfair = 1.0f;
    }
    // Without a wet bulb the dry bulb stands for it.
    const line::Inlet in = line::inlet(b.in(0), rfair);
    const double tfair = saturate(b, in.state.x, in.h, {in.state.x, b.in(0), rfair}).t;
    const double x1 = absoluteHumidity(1.0, tfair), h1 = enthalpy(x1, tfair);

    double twout = twin, prc = 0.0, pel = 0.0, mwf = 0.0;
    if (tfair < twin) {
        const double lmin = (twin - tfair) * kCpWater / (saturatedEnthalpy(twin) - h1);
        const double ny = d.ck * (1.0 - std::exp(-(mdota / mdotw) / lmin));
        twout = twin - ny * (twin - tfair);
        prc = (twin - twout) * mdotw * kCpWater;
        pel = b.par<P::fanPower>() * pnvent * pnvent * pnvent;
        const double h2 = h1 + prc / mdota;
        // The water evaporated is what the air takes up from its inlet state: the
        // saturated state at the wet bulb holds more than the inlet air does. Without an
        // outlet state the air takes up nothing.
        const double xIn = in.state.x;
        const double x2 = saturate(b, humidityOf(twin, h2), float(h2), {float(xIn), 0.0f, 0.0f}).x;
        mwf = (x2 - xIn) * mdota * 3.6 + (double(b.par<P::makeUpSecond>()) + b.par<P::makeUpFirst>()) * prc;
    }
    if (!fitFloats({twout, prc, pel, mwf, tfair})) {
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(1)}});
        return;
    }
    b.out(0) = float(twout);
    b.out(1) = float(prc);
    b.out(2) = float(pel);
    b.out(3) = float(mwf);
    b.out(4) = float(tfair);
}

void cooltw_block::last(View& b) { b.reportCountSince(b.ip<10>(), b.ip<11>(), code::countedNotConverged); }

}  // namespace vireo::st
