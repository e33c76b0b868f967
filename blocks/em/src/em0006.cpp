// SUNAE: sun azimuth, elevation, declination and hour angle at the clock time of the
// inputs, for a site in the first sign convention.
#include "blocks.h"

#include "Numbers.h"
#include "routines.h"

namespace vireo::em {

void sunae_block::init(BlockView& b) {
    // Series 0, 1, 2 of the model are modes 1, 2, 3 of the sun-position routine.
    b.ip(10) = block::nearestInt(b.par(0), 1);
    b.ip(11) = 0;
    if (b.ip(10) < 1 || b.ip(10) > 3) b.report(305011);
    const float latitude = b.par(1), longitude = b.par(2), zone = b.par(3);
    cksite(&latitude, &longitude, &zone, b.arrays().IP);
}

void sunae_block::step(BlockView& b) {
    const float year = b.in(0), month = b.in(1), day = b.in(2), hour = b.in(3);
    const float minute = b.in(4, 0.0f), second = b.in(5, 0.0f), dst = b.in(6, 0.0f);
    const float latitude = b.par(1), longitude = b.par(2), zone = b.par(3);
    sunae(&b.ip(10), &year, &month, &day, &hour, &minute, &second, &dst, &latitude, &longitude, &zone,
          &b.out(0), &b.out(1), &b.out(2), &b.out(3));
}

}  // namespace vireo::em
