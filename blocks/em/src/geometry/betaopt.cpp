//#Block BETAOPT
//#Description
// The tilt at which the sun's incidence angle on a surface is smallest, for the sun's
// azimuth relative to the surface azimuth and its elevation.
//#Layout
//#Inputs 2
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Sun azimuth relative to the surface azimuth (degrees)
//#IN[1] Sun elevation (degrees)
//#Outputs
//#OUT[0] Tilt with the smallest incidence angle, 0 to 90; 0 with the sun not above the
// horizon (degrees)
//#Parameters
//#None
//#Strings
//#None
//#end
#include "blocks.h"

#include "angles.h"
#include "orientation.h"
#include "routines.h"

#include <cmath>

namespace vireo::em {

void betaopt_block::init(View& b) { b.rp<0>() = kRad; }

void betaopt_block::step(View& b) {
    const float psi = b.in(0) * kRad, alpha = b.in(1) * kRad;
    cem0032[0] = std::sin(alpha);
    cem0032[1] = std::cos(alpha);
    cem0032[2] = std::cos(psi);
    if (!(alpha > 0.0f)) {
        b.out(0) = 0.0f;
        return;
    }
    const auto incidence = [](float beta) { return tiltIncidence(beta, cem0032); };
    const float tilt = searchByThirds(incidence, 0.0f, 0.5f * kPi, 1.0e-4f, Seek::minimum).x / kRad;
    b.out(0) = tilt > 0.0f ? (tilt < 90.0f ? tilt : 90.0f) : 0.0f;
}

}  // namespace vireo::em
