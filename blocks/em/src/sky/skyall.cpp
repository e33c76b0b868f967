//#Block SKYALL
//#Description
// Declared with the sky-luminance blocks for a luminance over all sky types; it computes
// nothing, and its outputs stay 0.
//#Layout
//#Inputs 5
//#Outputs 2
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Not used (-)
//#IN[1] Not used (degrees)
//#IN[2] Not used (degrees)
//#IN[3] Not used (degrees)
//#IN[4] Not used (degrees)
//#Outputs
//#OUT[0] Always 0 (-)
//#OUT[1] Always 0 (degrees)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// A model that places the block still runs, as it always has; its outputs are no
// results. SKYO, SKYIO, SKYIM, SKYIC and SKYC give the luminance of one sky type each.
//#end
#include "blocks.h"

#include "angles.h"

namespace vireo::em {

// The degree, as the other sky blocks keep it.
void skyall_block::init(View& b) { b.rp<0>() = kRad; }

void skyall_block::step(View& b) {
    b.out(0) = 0.0f;
    b.out(1) = 0.0f;
}

}  // namespace vireo::em
