//#Block GBN2GBT
//#Description
// Beam irradiance on a tilted surface from the beam irradiance normal to the sun's rays
// and the sun's position.
//#Layout
//#Inputs 5
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Beam irradiance normal to the sun's rays (W/m$^2$)
//#IN[1] Sun azimuth from north through east (degrees)
//#IN[2] Sun elevation above the horizon (degrees)
//#IN[3] Tilt of the surface from the horizontal (degrees)
//#IN[4] Azimuth of the surface from north through east, south 180 (degrees)
//#Outputs
//#OUT[0] Beam irradiance on the tilted surface (W/m$^2$)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// 0 while the sun is not above the horizon or lies behind the surface.
//#end
#include "blocks.h"

#include "angles.h"
#include "solar.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {

void gbn2gbt_block::step(View& b) {
    const Incidence i = incidenceHorizontal(b.in(3), b.in(4), b.in(1), b.in(2));
    b.out(0) = std::max(0.0f, b.in(0) * std::cos(i.angle * kRad));
}

}  // namespace vireo::em
