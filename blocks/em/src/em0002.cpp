// E0 GON: the eccentricity correction factor of the earth's orbit, or (GON) the
// extraterrestrial irradiance normal to the beam, for a day of the year.
#include "blocks.h"

#include "Numbers.h"
#include "routines.h"

namespace vireo::em {

void e0_block::init(BlockView& b) {
    b.ip(10) = block::nearestInt(b.par(0), 1);
    if (b.ip(10) < 1 || b.ip(10) > 2) b.report(305011);
}

void e0_block::step(BlockView& b) {
    const float day = b.in(0);
    const float factor = e0(&b.ip(10), &day);
    b.out(0) = b.opMode() == 2 ? 1367.0f * factor : factor;
}

}  // namespace vireo::em
