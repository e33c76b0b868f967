// Taking model values into the physics and putting results back. Inputs reach a block
// unchecked, so NaN, infinities and absurd sizes are ordinary; the blocks compute in
// double and keep their state in float slots.
#ifndef VIREO_ST_VALUES_H
#define VIREO_ST_VALUES_H

#include <cfloat>
#include <cmath>
#include <initializer_list>

namespace vireo::st {

// A mass flow or an irradiance: a negative value, or one that is not a finite number, is
// none.
inline double positivePart(float x) { return x > 0.0f && x <= FLT_MAX ? static_cast<double>(x) : 0.0; }

inline bool allFinite(std::initializer_list<float> values) {
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// A value held within the float range: a huge but finite result never becomes an
// infinity (and inf - inf NaN), and squares of held values stay far from double's limit.
inline double bounded(double x) {
    if (x > FLT_MAX) return FLT_MAX;
    if (x < -FLT_MAX) return -FLT_MAX;
    return x;
}
// A result as the float that a slot keeps.
inline float stored(double x) { return static_cast<float>(bounded(x)); }

}  // namespace vireo::st

#endif
