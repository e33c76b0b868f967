// Trigonometry in degrees for the double-precision routines: the angle is reduced
// exactly (the remainder modulo 360 and the octant fold are exact in binary floating
// point), so only one rounding, that of the final conversion to radians of an angle of
// at most 45 degrees, comes before the library's sine or cosine. Multiples of 90 degrees
// give exact zeros and ones, and the day numbers of long spans lose no digits.
//
// Kept apart from the exported sind, cosd, ... (routines.h), whose single-precision
// factor outside callers rely on.
#ifndef VIREO_EM_EXACT_DEGREES_H
#define VIREO_EM_EXACT_DEGREES_H

#include "Numbers.h"

#include <cmath>

namespace vireo::em::degrees {

inline constexpr double kPerRadian = 57.29577951308232;  // 180/pi
inline constexpr double kRadianPer = 0.017453292519943295;  // pi/180

// The floored remainder in [0, 360), exact.
inline double reduced(double x) {
    const double r = std::fmod(x, 360.0);
    // r + 360 rounds to 360 only for a remainder within half an ulp of 0.
    const double up = r < 0.0 ? r + 360.0 : r;
    return up >= 360.0 ? 0.0 : up;
}

namespace detail {
// Sine and cosine of |x| reduced to [0, 360): the quadrant q, and the angle within it
// folded to at most 45 degrees; every step is an exact subtraction.
struct Folded {
    int quadrant;
    double angle;
    bool swapped;  // the complement was taken: sine and cosine trade places
};
inline Folded fold(double x) {
    const double r = std::fmod(std::fabs(x), 360.0);
    const int q = r < 270.0 ? (r < 180.0 ? (r < 90.0 ? 0 : 1) : 2) : 3;
    double a = r - 90.0 * q;
    const bool swapped = a > 45.0;
    if (swapped) a = 90.0 - a;
    return {q, a * kRadianPer, swapped};
}
// sin and cos of the angle r in [0, 360) from its fold.
inline void sinCos(const Folded& f, double& s, double& c) {
    const double a = f.swapped ? std::cos(f.angle) : std::sin(f.angle);
    const double b = f.swapped ? std::sin(f.angle) : std::cos(f.angle);
    switch (f.quadrant) {
        case 0: s = a, c = b; break;
        case 1: s = b, c = -a; break;
        case 2: s = -a, c = -b; break;
        default: s = -b, c = a; break;
    }
}
}  // namespace detail

inline double sine(double x) {
    if (!std::isfinite(x)) return std::nan("");
    double s, c;
    detail::sinCos(detail::fold(x), s, c);
    return x < 0.0 ? -s : s;
}
inline double cosine(double x) {
    if (!std::isfinite(x)) return std::nan("");
    double s, c;
    detail::sinCos(detail::fold(x), s, c);
    return c;
}
inline double tangent(double x) { return sine(x) / cosine(x); }

inline double arcTangent(double x) { return std::atan(x) * kPerRadian; }
inline double arcTangent2(double y, double x) { return std::atan2(y, x) * kPerRadian; }
inline double arcSine(double x) { return block::asinClamped(x) * kPerRadian; }
inline double arcCosine(double x) { return block::acosClamped(x) * kPerRadian; }

}  // namespace vireo::em::degrees

#endif
