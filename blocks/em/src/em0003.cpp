// ET: the equation of time in minutes, by one of six fits.
#include "blocks.h"

#include "Numbers.h"
#include "routines.h"

namespace vireo::em {

void et_block::init(BlockView& b) {
    b.ip(10) = block::nearestInt(b.par(0), 1);
    if (b.ip(10) < 1 || b.ip(10) > 6) b.report(305011);
}

void et_block::step(BlockView& b) {
    const float day = b.in(0);
    b.out(0) = et(&b.ip(10), &day);
}

}  // namespace vireo::em
