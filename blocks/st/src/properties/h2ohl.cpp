//#Block H2OHL, H2OHV, H2OHE
//#Description
// Enthalpy of water at saturation: of the liquid (H2OHL), of the vapour (H2OHV), or of
// evaporation (H2OHE).
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature ($^\circ$C)
//#Outputs H2OHL
//#OUT[0] Enthalpy of saturated liquid water (kJ/kg)
//#Outputs H2OHV
//#OUT[0] Enthalpy of saturated water vapour (kJ/kg)
//#Outputs H2OHE
//#OUT[0] Enthalpy of evaporation (kJ/kg)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// IAPWS saturation-property release of 1992, from 0.01 to 373.946 $^\circ$C; outside, the value
// at the nearer end, without a warning.
//#end
#include "blocks.h"

#include "vireo_tools.h"

namespace vireo::st {

void h2oh_block::init(View& b) { b.checkOpMode(); }

void h2oh_block::step(View& b) {
    const float t = b.in(0);
    int status = 0;  // the block passes on the value at the nearer end of the range
    switch (b.opMode()) {
        case 2: b.out(0) = h2ohv(&t, &status); break;
        case 3: b.out(0) = h2ohe(&t, &status); break;
        default: b.out(0) = h2ohl(&t, &status); break;
    }
}

}  // namespace vireo::st
