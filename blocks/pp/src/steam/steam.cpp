//#Block STEAM
//#Description
// Specific entropy, enthalpy, isobaric heat capacity and specific volume of water or
// steam at a temperature and a pressure.
//#Layout
//#Inputs 2
//#Outputs 4
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature ($^\circ$C)
//#IN[1] Pressure (Pa)
//#Outputs
//#OUT[0] Specific entropy (J/(kg K))
//#OUT[1] Specific enthalpy (J/kg)
//#OUT[2] Isobaric heat capacity (J/(kg K))
//#OUT[3] Specific volume (m$^3$/kg)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// Compressed liquid above the saturation pressure (above the critical temperature:
// above the boundary between regions 2 and 3) and at 0 $^\circ$C or colder, superheated
// vapour at and below it, by the 1967 industrial formulation. A state outside the
// formulation's ranges (colder than -3.89 $^\circ$C, hotter than 871 $^\circ$C, a pressure of 0
// or below or above 110.3 MPa) ends the whole run with a report on standard output.
//#end
#include "blocks.h"

#include "steam_values.h"

namespace vireo::pp {

void steam_block::step(View& b) {
    const double t = b.in(0);
    const double p = b.in(1);
    b.out(0) = static_cast<float>(steam::steamEntropy(t, p));
    b.out(1) = static_cast<float>(steam::steamEnthalpy(t, p));
    b.out(2) = static_cast<float>(steam::steamHeatCapacity(t, p));
    b.out(3) = static_cast<float>(steam::steamVolume(t, p));
}

}  // namespace vireo::pp
