// Conversions that block code needs everywhere and that must never be undefined: model
// values reach the blocks unchecked, so NaN, infinities and huge values are ordinary.
#ifndef VIREO_BLOCK_NUMBERS_H
#define VIREO_BLOCK_NUMBERS_H

#include <cmath>
#include <limits>

namespace vireo::block {

// Truncation toward zero into an int; NaN gives 0, values beyond the int range give the
// nearest end of the range.
constexpr int toInt(double x) {
    if (!(x == x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(x);
}

// Round half away from zero.
inline float roundHalfAway(float x) { return std::round(x); }
inline double roundHalfAway(double x) { return std::round(x); }

// The nearest int, half away from zero, plus an offset, saturated at the int range (the
// mode slots store round(parameter) + 1, which must not overflow either). The one checked
// conversion of a parameter into an int: View::whole<P::name>(offset) and
// BlockView::whole(i) go through it; a block neither rounds nor adds to an int itself.
inline int nearestInt(double x, int offset = 0) {
    return toInt(std::round(x) + static_cast<double>(offset));
}

// Arguments of acos and asin clamped to [-1, 1]: single-precision sums of products that
// are 1 in exact arithmetic come out a little above it. NaN stays NaN.
inline float clampUnit(float x) { return x > 1.0f ? 1.0f : (x < -1.0f ? -1.0f : x); }
inline double clampUnit(double x) { return x > 1.0 ? 1.0 : (x < -1.0 ? -1.0 : x); }
inline float acosClamped(float x) { return std::acos(clampUnit(x)); }
inline float asinClamped(float x) { return std::asin(clampUnit(x)); }
inline double acosClamped(double x) { return std::acos(clampUnit(x)); }
inline double asinClamped(double x) { return std::asin(clampUnit(x)); }

}  // namespace vireo::block

#endif
