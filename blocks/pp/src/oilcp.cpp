// Specific heat of a thermal oil on the straight line through two points, in single
// precision as the blocks pass it.
#include "steam.h"

extern "C" VIREO_STEAM_ROUTINE float oilcp_(const float* cp1, const float* t1, const float* cp2,
                                            const float* t2, const float* t) {
    // Two points at one temperature give no slope: the oil has the first point's value.
    if (*t2 == *t1) return *cp1;
    const float slope = (*cp2 - *cp1) / (*t2 - *t1);
    const float abschnitt = *cp1 - slope * *t1;
    return abschnitt + *t * slope;
}
