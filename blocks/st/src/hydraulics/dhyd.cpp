//#Block DHYD, DSTAR
//#Description
// Diameter of a rectangular duct: the hydraulic diameter (DHYD), or the diameter of the
// round duct of equal pressure drop at equal flow (DSTAR).
//#Layout
//#Inputs 0
//#Outputs 1
//#Parameters 2
//#Strings 0
//#Group 1 (constant source)
//#Details
//#Inputs
//#None
//#Outputs DHYD
//#OUT[0] Hydraulic diameter $2ab/(a + b)$ (m)
//#Outputs DSTAR
//#OUT[0] Equivalent diameter $1.27\,(a^3 b^3/(a + b))^{0.2}$ (m)
//#Parameters
//#BP[0] Side a, above 0 (m)
//#BP[1] Side b, above 0 (m)
//#Strings
//#None
//#Remarks
// The formulas hold for ratios of the sides from 0.2 to 5; outside that range the
// initialisation warns. DSTAR lies within 2 per cent of Huebscher's equivalent diameter
// for side ratios up to 3 and within 2.5 per cent up to 4.
//#end
#include "blocks.h"

#include "duct.h"

#include <cmath>

namespace vireo::st {

using P = dhyd_block::P;

// A warning only: the block steps on any ratio.
bool dhyd_block::tiesHold(View& b) {
    const float ratio = b.par<P::sideA>() / b.par<P::sideB>();
    if (ratio > 5.0f || ratio < 0.2f) b.report(code::aspectRatioOutside, {.reals = {ratio}});
    return true;
}

void dhyd_block::init(View& b) { b.checkOpMode(); }

void dhyd_block::step(View& b) {
    const double sideA = b.par<P::sideA>(), sideB = b.par<P::sideB>();
    const double sum = sideA + sideB, product = sideA * sideB;
    if (duct::form(b, 2) == 1)
        b.out(0) = duct::finite(2.0 * product / sum);
    else
        b.out(0) = duct::finite(1.27 * std::pow(product * product * product / sum, 0.2));
}

}  // namespace vireo::st
