// PHI2PSI PSI2PHI: the sine (PHI2PSI) or the cosine (PSI2PHI) of an angle given in
// degrees or radians.
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"

#include <cmath>

namespace vireo::em {

void phi2psi_block::init(BlockView& b) {
    b.rp(0) = kPi;
    b.rp(1) = kTwoPi;
    b.rp(2) = kRad;
    b.ip(10) = block::nearestInt(b.par(0));
    if (b.ip(10) != 0 && b.ip(10) != 1) b.report(305006);
}

void phi2psi_block::step(BlockView& b) {
    const float angle = b.ip(10) == 1 ? b.in(0) : b.in(0) * b.rp(2);
    b.out(0) = b.opMode() == 2 ? std::cos(angle) : std::sin(angle);
}

}  // namespace vireo::em
