//#Block FLDIV
//#Description
// Divides a stream into two of the same temperature.
//#Layout
//#Inputs 3
//#Outputs 4
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature ($^\circ$C)
//#IN[1] Mass flow (kg/s)
//#IN[2] Fraction into the first stream (-)
//#Outputs
//#OUT[0] Temperature of the first stream ($^\circ$C)
//#OUT[1] Mass flow of the first stream (kg/s)
//#OUT[2] Temperature of the second stream ($^\circ$C)
//#OUT[3] Mass flow of the second stream (kg/s)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The fraction is not limited to 0 to 1.
//#end
#include "blocks.h"

namespace vireo::pp {

void fldiv_block::step(View& b) {
    const float temperature = b.in(0), flow = b.in(1), fraction = b.in(2);
    b.out(0) = temperature;
    b.out(1) = fraction * flow;
    b.out(2) = temperature;
    b.out(3) = (1.0f - fraction) * flow;
}

}  // namespace vireo::pp
