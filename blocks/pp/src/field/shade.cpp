//#Block SHADE
//#Description
// Irradiance on a collector row reduced by the shade of the row in front of it.
//#Layout
//#Inputs 5
//#Outputs 1
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Irradiance to be reduced (W/m$^2$)
//#IN[1] Collector azimuth, 0 to 360 from north through east (degrees)
//#IN[2] Collector tilt (degrees)
//#IN[3] Sun azimuth, 0 to 360 from north through east (degrees)
//#IN[4] Sun elevation (degrees)
//#Outputs
//#OUT[0] Reduced irradiance, at least 0 (W/m$^2$)
//#Parameters
//#BP[0] p1 of the formulas below, the distance between the rows (m)
//#BP[1] p2, the width of the collector (m)
//#BP[2] p3, the length of the row (m)
//#Strings
//#None
//#Remarks
// Beyond a limit of the azimuth difference g between sun and collector the row is not
// shaded; within it, a sun on or below the horizon shades it fully. The limit is 90
// degrees less twice the angle whose tangent is p1/p3 (the model's factor 360/pi, kept
// as it is). Otherwise the shaded share is f1 f2, each factor at least 0, with
// f1 = 1 - p1/(p2 k), f2 = 1 - p1 sin(b) sin(g)/(p3 k tan(a)) and
// k = sin(b) cos(g)/tan(a) + cos(b), for tilt b and sun elevation a; a factor whose
// denominator is 0 (the sun in the plane of the collector) is 0. With the sun square to
// the rows (g = 0), f1 is the shaded share of rows p1 apart.
//#end
#include "blocks.h"

#include "steam.h"

#include <algorithm>
#include <cmath>

namespace vireo::pp {
namespace {

float d2r(float x) { return d2r_(&x); }

// 1 - numerator / denominator, at least 0; a denominator of 0 (the sun in the plane of
// the collector) casts no shade in that direction.
float shadedShare(float numerator, float denominator) {
    if (denominator == 0.0f) return 0.0f;
    const float share = 1.0f - numerator / denominator;
    return share > 0.0f ? share : 0.0f;  // also where both ran past the float range
}

}  // namespace

void shade_block::step(View& b) {
    const float p1 = b.par<P::distance>(), p2 = b.par<P::width>(), p3 = b.par<P::length>();
    const float azimuthDifference = b.in(3) - b.in(1);
    const float tilt = d2r(b.in(2)), gamma = d2r(azimuthDifference), alpha = d2r(b.in(4));
    const float limit = 90.0f - std::atan(p1 / p3) * 360.0f / 3.1415927f;

    float shaded;
    if (std::fabs(azimuthDifference) > limit) {
        shaded = 0.0f;
    } else if (alpha <= 0.0f || std::tan(alpha) == 0.0f) {
        // Elevation 0 is below the horizon too: the shadow would be endless.
        shaded = 1.0f;
    } else {
        const float tanAlpha = std::tan(alpha);
        const float k = std::sin(tilt) * std::cos(gamma) / tanAlpha + std::cos(tilt);
        const float f1 = shadedShare(p1, p2 * k);
        const float f2 = shadedShare(p1 * std::sin(tilt) * p2 * std::sin(gamma) / tanAlpha, p3 * p2 * k);
        shaded = f1 == 0.0f || f2 == 0.0f ? 0.0f : f2 * f1;
    }
    shaded = std::clamp(shaded, 0.0f, 1.0f);
    b.out(0) = std::max(0.0f, (1.0f - shaded) * b.in(0));
}

}  // namespace vireo::pp
