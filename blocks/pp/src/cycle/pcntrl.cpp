//#Block PCNTRL
//#Description
// An on/off switch with thresholds that closes its loop at once.
//#Layout
//#Inputs 3
//#Outputs 1
//#Parameters 5
//#Strings 0
//#Group 4 (loop controller)
//#Details
//#Inputs
//#IN[0] Control temperature ($^\circ$C)
//#IN[1] Enabling signal: above 0 switches on (-)
//#IN[2] Second control value (-)
//#Outputs
//#OUT[0] The switched value (unit of parameter 2)
//#Parameters
//#BP[0] Output before the first step (unit of parameter 2)
//#BP[1] Value when switched on (any unit)
//#BP[2] Switch-on threshold of input 1 ($^\circ$C)
//#BP[3] Switch-off threshold of input 1 ($^\circ$C)
//#BP[4] Lowest admissible input 3 (-)
//#Strings
//#None
//#Remarks
// The rules are taken in this order, later ones winning: on with the enabling signal,
// on above the switch-on threshold, off below the switch-off threshold, off with input 3
// below its lowest value. Every step leaves the loop.
//#end
#include "blocks.h"

namespace vireo::pp {

void pcntrl_block::init(View& b) { b.out(0) = b.par<P::before>(); }

void pcntrl_block::step(View& b) {
    const float on = b.par<P::on>();
    float value = b.in(1) > 0.0f ? on : 0.0f;
    if (b.in(0) > b.par<P::onThreshold>()) value = on;
    if (b.in(0) < b.par<P::offThreshold>()) value = 0.0f;
    if (b.in(2) < b.par<P::lowestInput>()) value = 0.0f;
    b.out(0) = value;
    b.takeAlternativeLink();
}

}  // namespace vireo::pp
