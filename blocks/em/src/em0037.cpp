// BETGAM: tilt and azimuth of a surface turned by an angle about one axis, the axis
// given by its tilt and its azimuth as a deviation from south.
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"

#include <cmath>

namespace vireo::em {

void betgam_block::init(BlockView& b) {
    const float axisTilt = b.par(0), axisAzimuth = b.par(1);
    if (!(axisTilt >= 0.0f && axisTilt <= 90.0f)) b.report(305081);
    if (!(std::fabs(axisAzimuth) <= 90.0f)) b.report(305258);
}

void betgam_block::step(BlockView& b) {
    const float rho = b.in(0) * kRad;
    const float x = std::cos(b.par(0) * kRad) * std::cos(rho);
    b.out(0) = block::acosClamped(x) / kRad;
    if (std::fabs(x) < 1.0f) {
        const float s = std::sin(rho) / (std::sqrt(1.0f + x) * std::sqrt(1.0f - x));
        b.out(1) = block::asinClamped(s) / kRad + b.par(1) + 180.0f;
    } else {
        b.out(1) = b.par(2);  // a horizontal surface has no azimuth of its own
    }
}

}  // namespace vireo::em
