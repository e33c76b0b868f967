//#Block EVAPH
//#Description
// Enthalpy of evaporation of water at a pressure.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Pressure (Pa)
//#Outputs
//#OUT[0] Enthalpy of evaporation (J/kg)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// At and above the critical pressure of the 1967 industrial formulation (3208.2348 psia,
// about 2.21176e7 Pa with 6894 Pa per psi) the liquid and the vapour are one: 0. A
// pressure below the saturation pressure at 25 degF (about 458 Pa) ends the whole run
// with a report on standard output.
//#end
#include "blocks.h"

#include "steam_frame.h"

namespace vireo::pp {

void evaph_block::step(View& b) {
    const double p = b.in(0);
    b.out(0) = pa2psi_(&p) >= steam::con(steam::C::pc) ? 0.0f : static_cast<float>(steam::evaporationEnthalpy(p));
}

}  // namespace vireo::pp
