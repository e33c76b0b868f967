//#Block DPPARA
//#Description
// Combined resistance of two to ten resistances in parallel, $1/(1/R_1 + 1/R_2 + \dots)$.
//#Layout
//#Inputs 2--10
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[1--10] Resistances, one per connected input
//#Outputs
//#OUT[0] Combined resistance
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The sum of conductances combines resistances that are linear in the flow; duct
// resistances that grow with the square of the flow combine as $(\sum R^{-1/2})^{-2}$. A
// resistance of 0 short-circuits the others (0); resistances of opposite sign have no
// combination: the output keeps its value, with a warning in every such step.
//#end
#include "blocks.h"

#include "duct.h"

namespace vireo::st {

void dppara_block::step(View& b) {
    double conductance = 0.0;
    float positive = 0.0f, negative = 0.0f;
    for (int k = 0; k < b.inputCount(); ++k) {
        const double r = b.in(k);
        if (r == 0.0) {
            b.out(0) = 0.0f;
            return;
        }
        if (r > 0.0) positive = b.in(k);
        if (r < 0.0) negative = b.in(k);
        conductance += 1.0 / r;
    }
    // Resistances of one sign (both directions of flow) combine; of both signs their
    // conductances cancel toward a combination without bound.
    if (positive != 0.0f && negative != 0.0f) {
        b.report(code::resistancesOfOppositeSign, {.reals = {positive, negative}});
        return;
    }
    b.out(0) = duct::finite(conductance == 0.0 ? duct::kNoBound : 1.0 / conductance);
}

}  // namespace vireo::st
