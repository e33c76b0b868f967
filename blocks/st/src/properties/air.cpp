//#Block AIR
//#Description
// Properties of dry air at a temperature and a pressure.
//#Layout
//#Inputs 2
//#Outputs 6
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature ($^\circ$C)
//#IN[1] Pressure (Pa)
//#Outputs
//#OUT[0] Thermal conductivity (W/(m K))
//#OUT[1] Specific heat capacity (J/(kg K))
//#OUT[2] Density at the pressure of input 2 (kg/m$^3$)
//#OUT[3] Thermal diffusivity at 101 325 Pa (m$^2$/s)
//#OUT[4] Kinematic viscosity at 101 325 Pa (m$^2$/s)
//#OUT[5] Prandtl number (-)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// Ideal gas; heat capacity and conductivity of the dilute gas after Lemmon et al.,
// viscosity by Sutherland's law. Outside 100 K to 2000 K the values at the nearer end.
//#end
#include "blocks.h"

#include "vireo_tools.h"

namespace vireo::st {

void air_block::step(View& b) {
    const float t = b.in(0), p = b.in(1);
    b.out(0) = airlam(&t);
    b.out(1) = aircp(&t);
    b.out(2) = airrho(&t, &p);
    b.out(3) = airhco(&t);
    b.out(4) = airvis(&t);
    b.out(5) = airpr(&t, &p);
}

}  // namespace vireo::st
