// The sun's hour angle and horizontal coordinates: the common end of the three series of
// sunae.cpp, inline, so that a block stepping through the hours computes them in its own
// step, from the terms it keeps for the day, with nothing handed through memory. Every
// caller gets the same result to the bit, whatever the compiler inlines where.
#ifndef VIREO_EM_HORIZONTAL_H
#define VIREO_EM_HORIZONTAL_H

#include "Numbers.h"
#include "angles.h"
#include "solar.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vireo::em {

// Floored remainder into [0, period). The hour angle must land there whatever the sign of
// the longitude or the range of the clock time: the quadrant tests below rely on it.
inline float reduce(float x, float period) {
    if (x >= 0.0f && x < period) [[likely]] return x;  // mostly so already: no floor to call
    float r = x - std::floor(x / period) * period;
    if (r < 0.0f) r += period;
    if (r >= period) r -= period;
    return r;
}

// What a series gives: the declination (radians) and its sine, and the hour angle
// (radians, before its reduction).
struct Equatorial {
    float declination;
    float sinDeclination;
    float hourAngle;
};

// The Fourier series' hour angle: local standard time, so the time zone enters only as a
// longitude.
inline float hourAngleOnDay(const SolarDay& day, const ClockTime& time, const Site& site) {
    const float localTime = time.hour + time.minute / 60.0f + time.second / 3600.0f - time.dst;
    const float minutes = 60.0f * localTime + day.equationOfTime + 4.0f * (15.0f * zoneWest(site) - site.longitude);
    return (minutes / 4.0f - 180.0f) * kRad;
}

// Zenith, azimuth and refraction from the declination, its sine and cosine, the
// latitude's, and the hour angle before its reduction. Without `azimuth` the azimuth is
// NaN and costs nothing.
[[gnu::always_inline]] inline SunFix horizontal(float delta, SinCos declination, SinCos latitude, float hourAngle,
                                                bool refraction, bool azimuth = true) {
    const float omega = reduce(hourAngle, kTwoPi);
    const float sd = declination.sin, cd = declination.cos;
    const float sp = latitude.sin, cp = latitude.cos;
    const float so = std::sin(omega), co = std::cos(omega);
    const float x = std::clamp(sd * sp + cd * cp * co, -1.0f, 1.0f);
    const float zenith = std::acos(x);
    // sin(acos x) without a second trigonometric call; 1 - x is exact near the zenith,
    // where 1 - x * x would lose the digits the azimuth's arc sine needs.
    const float sz = std::sqrt((1.0f - x) * (1.0f + x));
    float az = std::numeric_limits<float>::quiet_NaN();
    if (azimuth) {
        const float a = block::asinClamped(sz != 0.0f ? cd * so / sz : 0.0f);
        // a is the azimuth from south, folded into [-90, 90] degrees; the sun's side of
        // the east-west line unfolds it. That side is the sign of the sun's northward
        // component, which is what the published rule derives from the hour angles +-w0
        // of the crossing (cos w0 = tan(delta) / tan(phi)); taken directly it stays right
        // where the sun never crosses the line (the tropics in summer, the equator) and
        // where delta and phi agree to single precision.
        const float north = sd * cp - cd * sp * co;
        const int side = north > 0.0f ? -1 : 1;  // -1: north of the east-west line
        const int k3 = omega <= kPi ? 1 : -1;
        az = a * static_cast<float>(side) + kPi + static_cast<float>(k3 * (1 - side)) * kPi / 2.0f;
    }

    float e = (kPi / 2.0f - zenith) / kRad;
    float cosZenith = x;
    if (refraction) {
        const float r = e > -0.56f ? 3.51561f * (0.1594f + 0.0196f * e + 2.0e-5f * e * e) /
                                         (1.0f + 0.505f * e + 0.0845f * e * e)
                                   : 0.56f;
        e += r;
        // The zenith raised by r: cos(z - r) by the sum rule; r is below a hundredth of
        // a radian, so two terms of each series are exact in single precision.
        const float rr = r * kRad;
        cosZenith = x * (1.0f - rr * rr / 2.0f) + sz * rr * (1.0f - rr * rr / 6.0f);
    }
    return {{az / kRad, e, delta / kRad, omega / kRad}, declination, {so, co}, cosZenith};
}

// Series 2 and 3 on the Julian day number of the date (out of line: their terms change
// with every call).
Equatorial equatorialOnJulianDay(int series, int julianDay, const ClockTime& time, const Site& site);

[[gnu::always_inline]] inline SunFix sunFixOnDay(const SolarDay& day, SinCos latitude, bool refraction,
                                                 const ClockTime& time, const Site& site, bool azimuth = true) {
    return horizontal(day.declination, day.declinationTrig, latitude, hourAngleOnDay(day, time, site), refraction,
                      azimuth);
}

[[gnu::always_inline]] inline SunFix sunFixOnJulianDay(int series, int julianDay, SinCos latitude, bool refraction,
                                                       const ClockTime& time, const Site& site, bool azimuth = true) {
    const Equatorial sun = equatorialOnJulianDay(series, julianDay, time, site);
    const float sd = sun.sinDeclination;
    return horizontal(sun.declination, {sd, cosineOf(sd)}, latitude, sun.hourAngle, refraction, azimuth);
}

}  // namespace vireo::em

#endif
