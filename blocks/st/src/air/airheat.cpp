//#Block AIRHEAT
//#Description
// Hot-water air-heater coil with a fan, sized from one nominal operating point: the
// air-side transfer coefficient follows from the nominal heat output and scales with the
// face velocity to the power 0.4; each step solves the coil's energy balance in closed
// form for the water and air outlet temperatures at the current fan speed.
//#Layout
//#Inputs 5
//#Outputs 4
//#Parameters 10
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Air inlet temperature ($^\circ$C)
//#IN[1] Air inlet relative humidity (-), 1 at saturation
//#IN[2] Water inlet temperature ($^\circ$C)
//#IN[3] Fan speed (\%), 100 at full speed; 0 or below runs the step at 20
//#IN[4] Water mass flow (kg/s); below 0 taken as 0
//#Outputs
//#OUT[0] Water outlet temperature, at least 1 K above the air inlet temperature; without flow the
// water inlet temperature ($^\circ$C)
//#OUT[1] Air outlet temperature ($^\circ$C)
//#OUT[2] Heat output of the coil, given by the water (kW)
//#OUT[3] Fan electric power, parameter 8 times the cube of the fan speed's share (unit of parameter 8)
//#Parameters
//#BP[0] Nominal heat output given to the air (kW)
//#BP[1] Nominal water inlet temperature ($^\circ$C)
//#BP[2] Nominal water volume flow, above 0 (m$^3$/h)
//#BP[3] Water density, above 0 (kg/m$^3$)
//#BP[4] Water specific heat capacity, above 0 (kJ/(kg K))
//#BP[5] Nominal air inlet temperature ($^\circ$C)
//#BP[6] Nominal air volume flow at full fan speed, above 0 (m$^3$/h)
//#BP[7] Fan electric power at full speed (any unit)
//#BP[8] First dimension of the coil's free face, above 0 (m)
//#BP[9] Second dimension of the coil's free face, above 0 (m)
//#Strings
//#None
//#Remarks
// At the nominal point the air enters at 40 per cent relative humidity; the air-side
// effectiveness against the mean water temperature, (taout - tain)/(tmean - tain), taken
// below 0.999 and as 0.0001 where it is 0, gives the transfer coefficient per face area by
// the effectiveness relation 1 - exp(-NTU). Air properties at 101.3 kPa: the density of
// humid air from the saturation pressure 611 exp(-1.91275e-4 + 0.07258 T - 2.939e-4 T$^2$
// + 9.841e-7 T$^3$ - 1.92e-9 T$^4$) Pa, the specific heat 1006 + 0.05 T J/(kg K). The water
// gives cp m (twin - twout), the air takes the effectiveness times its capacity flow
// times the difference between the mean water temperature and its inlet, but no more
// than twice the water's capacity flow times that difference, so that a small water
// flow leaves at the air's temperature instead of beyond it. The water leaves at least
// 1 K above the air inlet temperature. Where that floor acts on flowing water, the water
// is too cold (or too little) to heat the air and the two sides no longer balance: the
// first such step is warned about and the end of the run reports how many there were.
// Without water flow nothing is exchanged: the water's outlet is its inlet, the air
// leaves as it came, the heat output is 0.
// A fan speed of 0 or below is an error in every such step, and the step runs at 20 per cent.
// The nominal point must give a finite coefficient: its mean water temperature must
// differ from its air inlet temperature. A step with an input that is not a finite
// number, or whose results are not, changes no output and is warned about.
//#end
#include "blocks.h"

#include "finite.h"
#include "water_air_fits.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {
namespace {

using P = airheat_block::P;

constexpr double kStandInFan = 0.2;  // share of full speed a stopped fan is run at

// IP[10]: steps whose water was too cold to heat the air.
int& tooCold(airheat_block::View& b) { return b.ip<10>(); }

// Humid air at 101 300 Pa, kg/m3.
double density(double t, double phi) { return fits::humidAirDensity(t, phi * fits::saturationPressure(t), 101300.0); }
using fits::airHeatCapacity;

// What the nominal point gives: the coefficient of the face velocity's 0.4th power in the
// transfer coefficient per face area, and the face area.
struct Coil {
    double c, area;
    double tain0, th0;  // for the message when it gives none
    bool sized() const { return std::isfinite(c) && th0 != tain0; }
};

Coil size(const airheat_block::View& b) {
    const double qcool0 = b.par<P::nominalHeat>(), twin0 = b.par<P::nominalWaterInlet>(),
                 vdotw0 = b.par<P::nominalWaterFlow>(), rohw = b.par<P::waterDensity>(),
                 cpw = b.par<P::waterHeatCapacity>();
    const double tain0 = b.par<P::nominalAirInlet>(), vdota0 = b.par<P::nominalAirFlow>(),
                 area = double(b.par<P::faceHeight>()) * b.par<P::faceWidth>();
    const double mdotw0 = rohw * vdotw0 / 3600.0;
    const double rohl0 = density(tain0, 0.4), cpl0 = airHeatCapacity(tain0);
    const double taout0 = tain0 + qcool0 / (cpl0 * (vdota0 / 3600.0) * rohl0 / 1000.0);
    const double twout0 = twin0 - qcool0 / (cpw * mdotw0);
    const double th0 = 0.5 * (twout0 + twin0);
    double phi0 = (taout0 - tain0) / (th0 - tain0);
    if (phi0 >= 1.0) phi0 = 0.999;
    if (phi0 == 0.0) phi0 = 0.0001;
    const double vair0 = vdota0 / (3600.0 * area);
    const double ua0 = vair0 * -std::log(1.0 - phi0) * rohl0 * cpl0;
    // An air density of 0 or below (air below absolute zero) sizes nothing either.
    const double c = rohl0 > 0.0 ? ua0 / std::pow(vair0, 0.4) : NAN;
    return {c, area, tain0, th0};
}

}  // namespace

bool airheat_block::tiesHold(View& b) {
    const Coil coil = size(b);
    if (coil.sized()) return true;
    b.report(code::coilNotSized, {.reals = {float(coil.tain0), float(coil.th0)}});
    return false;
}

void airheat_block::init(View& b) { tooCold(b) = 0; }

void airheat_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const double tair = b.in(0), rfair = b.in(1), twin = b.in(2);
    double pnvent = b.in(3) / 100.0;
    // A fan turning backwards moves no air through the coil either.
    if (!(pnvent > 0.0)) {
        b.report(code::fanStopped);
        pnvent = kStandInFan;
    }
    const double mdotw = b.in(4) > 0.0f ? b.in(4) : 0.0;
    const double cpw = b.par<P::waterHeatCapacity>(), vdota0 = b.par<P::nominalAirFlow>();
    const Coil coil = size(b);

    const double rohl = density(tair, rfair), cpl = airHeatCapacity(tair);
    const double vair = pnvent * vdota0 / (3600.0 * coil.area);
    const double ua = coil.c * std::pow(vair, 0.4);
    const double phi = 1.0 - std::exp(-ua / (vair * rohl * cpl));
    const double cair = cpl * (vdota0 / 3600.0) * pnvent * rohl / 1000.0;  // kW/K
    // Without flow no water passes the coil to give or take heat: the water's outlet is
    // its inlet and the air passes unchanged.
    double twout = twin, taout = tair;
    bool floored = false;
    if (mdotw > 0.0) {
        // The air takes phi of its capacity flow times its difference to the water's mean
        // temperature. Water whose capacity flow is below half of that would have to
        // leave beyond the air's temperature to pay for it (2 t_air - t_water for a
        // trickle): the air takes at most twice the water's capacity flow, and such
        // water leaves at the air's temperature.
        const double cw = cpw * mdotw, taken = std::min(phi * cair, 2.0 * cw), z1 = cw / taken;
        twout = (tair - twin * (0.5 - z1)) / (0.5 + z1);
        // The floor stands as the coil was defined, but it lifts the water above the
        // outlet the balance gives: heat the water side does not pay for.
        floored = tair + 1.0 > twout;
        if (floored) twout = tair + 1.0;
        const double share = taken / cair;
        taout = tair * (1.0 - share) + share * 0.5 * (twout + twin);
    }
    const double qh = (twin - twout) * mdotw * cpw;
    const double pel = b.par<P::fanPower>() * pnvent * pnvent * pnvent;

    if (!fitFloats({twout, taout, qh, pel})) {
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(1)}});
        return;
    }
    if (floored) b.countWarning(tooCold(b), code::waterTooCold, {.reals = {b.in(2), b.in(0)}});
    b.out(0) = static_cast<float>(twout);
    b.out(1) = static_cast<float>(taout);
    b.out(2) = static_cast<float>(qh);
    b.out(3) = static_cast<float>(pel);
}

void airheat_block::last(View& b) { b.reportCount(tooCold(b), code::countedWaterTooCold); }

}  // namespace vireo::st
