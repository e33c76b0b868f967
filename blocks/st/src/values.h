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

// A result as the float that a slot keeps: rounded, and held within the float range so
// that a huge but finite result never comes back as an infinity (and inf - inf as NaN).
inline float stored(double x) {
    if (x > FLT_MAX) return FLT_MAX;
    if (x < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(x);
}

}  // namespace vireo::st

#endif
