//#Block MIXER
//#Description
// Two liquid streams mixed adiabatically into one.
//#Layout
//#Inputs 4
//#Outputs 2
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature of stream 1 ($^\circ$C)
//#IN[1] Mass flow of stream 1; a negative flow is none (kg/s)
//#IN[2] Temperature of stream 2 ($^\circ$C)
//#IN[3] Mass flow of stream 2; a negative flow is none (kg/s)
//#Outputs
//#OUT[0] Mixed temperature ($^\circ$C)
//#OUT[1] Mass flow, the sum of the two (kg/s)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The mixed temperature is the flow-weighted mean of the streams that flow, so a stream
// without flow adds nothing whatever its temperature. Without any flow the outlet is the
// mean of the two temperatures and the flow 0. A temperature that is not a number, where
// it would count, leaves the mixed temperature as it was.
//#end
#include "blocks.h"

#include "mixing.h"
#include "values.h"

#include <cmath>

namespace vireo::st {

void mixer_block::step(View& b) {
    const Stream one{positivePart(b.in(1)), b.in(0)}, two{positivePart(b.in(3)), b.in(2)};
    const double flow = one.flow + two.flow;
    const auto t = flow > 0.0 ? mixedTemperature(one, two) : (one.temperature + two.temperature) / 2.0;
    if (t && std::isfinite(*t)) b.out(0) = stored(*t);
    b.out(1) = stored(flow);
}

}  // namespace vireo::st
