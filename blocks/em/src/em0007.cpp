// INANGE INANGH: the incidence angle of the sun on a surface, from equatorial (INANGE) or
// horizontal (INANGH) coordinates of the sun.
#include "blocks.h"

#include "routines.h"

namespace vireo::em {

void inang_block::init(BlockView& b) { b.ip(10) = b.opMode(); }

void inang_block::step(BlockView& b) {
    const float a1 = b.in(0), a2 = b.in(1), a3 = b.in(2), a4 = b.in(3), a5 = b.in(4);
    inang(&b.ip(10), &a1, &a2, &a3, &a4, &a5, &b.out(0), &b.out(1));
}

}  // namespace vireo::em
