//#Block BETGAM
//#Description
// Tilt and azimuth of a surface turned by an angle about one axis, the axis given by its
// tilt and its azimuth as a deviation from south.
//#Layout
//#Inputs 1
//#Outputs 2
//#Parameters 1--3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Rotation angle of the surface about the axis (degrees)
//#Outputs
//#OUT[0] Surface tilt (degrees)
//#OUT[1] Surface azimuth from north through east, south 180 (degrees)
//#Parameters
//#BP[0] Tilt of the axis, 0 to 90 (degrees)
//#BP[1] Azimuth of the axis as a deviation from south, -90 to 90 (degrees)
//#BP[2] Azimuth given for a horizontal surface; optional, 0 when left out (degrees)
//#Strings
//#None
//#Remarks
// An axis tilt outside 0 to 90 and an axis azimuth outside -90 to 90 are errors at
// initialisation.
//#end
#include "blocks.h"

#include "angles.h"
#include "orientation.h"

#include <cmath>

namespace vireo::em {
namespace {

constexpr Rule kRules[] = {
    {.parameter = 0, .low = 0, .high = 90, .code = code::badAxisTilt},
    {.parameter = 1, .low = -90, .high = 90, .code = code::badAxisAzimuth},
};

}  // namespace

void betgam_block::init(View& b) { b.check(kRules); }

void betgam_block::step(View& b) {
    const TurnedSurface s = turnSurface(static_cast<double>(b.par(0)) * kRad, static_cast<double>(b.in(0)) * kRad);
    b.out(0) = static_cast<float>(s.tilt / kRad);
    // A horizontal surface has no azimuth of its own.
    b.out(1) = s.horizontal ? b.par(2) : static_cast<float>(s.azimuthOffset / kRad + b.par(1) + 180.0);
}

}  // namespace vireo::em
