//#Block GR
//#Description
// Grashof number of air between a fluid and a surface temperature over a characteristic
// length.
//#Layout
//#Inputs 3
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Air temperature ($^\circ$C)
//#IN[1] Surface temperature ($^\circ$C)
//#IN[2] Characteristic length (m)
//#Outputs
//#OUT[0] Grashof number (-), negative for a surface colder than the air
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// $Gr = g \beta (T_s - T_f) x^3/\nu^2$ with $g$ = 9.81 m/s$^2$, the expansion coefficient of
// an ideal gas $\beta = 1/T_f$ in kelvin and the kinematic viscosity of air at the air
// temperature. An air temperature at or below absolute zero gives 0.
//#end
#include "blocks.h"

#include "duct.h"
#include "vireo_tools.h"

namespace vireo::st {

void gr_block::step(View& b) {
    const float air = b.in(0);
    const double surface = b.in(1), x = b.in(2);
    const float kelvin = air + 273.15f;
    const double nu = airvis(&air);
    if (!(kelvin > 0.0f) || !(nu > 0.0)) {
        b.out(0) = 0.0f;
        return;
    }
    b.out(0) = duct::finite(x * x * x / kelvin * 9.81 * (surface - air) / (nu * nu));
}

}  // namespace vireo::st
