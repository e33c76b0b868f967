//#Block TC2TF
//#Description
// Temperature in degrees Celsius to degrees Fahrenheit.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature ($^\circ$C)
//#Outputs
//#OUT[0] Temperature (degF)
//#Parameters
//#None
//#Strings
//#None
//#end
#include "blocks.h"

#include "steam.h"

namespace vireo::pp {

void tc2tf_block::step(View& b) {
    const double t = b.in(0);
    b.out(0) = static_cast<float>(tc2tf_(&t));
}

}  // namespace vireo::pp
