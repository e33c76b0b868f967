//#Block TPIECE
//#Description
// Joins two streams into one, mixing their temperatures.
//#Layout
//#Inputs 4
//#Outputs 2
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature of the first stream ($^\circ$C)
//#IN[1] Mass flow of the first stream (kg/s)
//#IN[2] Temperature of the second stream ($^\circ$C)
//#IN[3] Mass flow of the second stream (kg/s)
//#Outputs
//#OUT[0] Mixed temperature ($^\circ$C)
//#OUT[1] Mass flow, the sum of both (kg/s)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The temperatures are mixed by flow; where the flows add up to 0 (both 0, or one
// cancelling the other) the mixed temperature is the plain mean of the two.
//#end
#include "blocks.h"

namespace vireo::pp {

void tpiece_block::step(View& b) {
    const float t1 = b.in(0), m1 = b.in(1), t2 = b.in(2), m2 = b.in(3);
    const float flow = m2 + m1;
    b.out(0) = flow == 0.0f ? (t2 + t1) / 2.0f : (m2 * t2 + t1 * m1) / flow;
    b.out(1) = flow;
}

}  // namespace vireo::pp
