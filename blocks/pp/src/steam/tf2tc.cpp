//#Block TF2TC
//#Description
// Temperature in degrees Fahrenheit to degrees Celsius.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature (degF)
//#Outputs
//#OUT[0] Temperature ($^\circ$C)
//#Parameters
//#None
//#Strings
//#None
//#end
#include "blocks.h"

#include "steam.h"

namespace vireo::pp {

void tf2tc_block::step(View& b) {
    const double t = b.in(0);
    b.out(0) = static_cast<float>(tf2tc_(&t));
}

}  // namespace vireo::pp
