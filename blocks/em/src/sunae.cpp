// Sun position by one of three series. All work is in single precision, as the blocks
// and generators that call this expect to the last bit.
#include "solar.h"

#include "Numbers.h"
#include "angles.h"
#include "horizontal.h"
#include "routines.h"
#include "vireo_tools.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <cmath>

using namespace vireo::em;
using vireo::block::nearestInt;

namespace {

// Walraven's ecliptic series, epoch 1980. n counts days from 1980 January 2.0 UT; the
// Julian-day difference already carries every leap day, so no leap-year correction is
// added on top of it.
Equatorial ecliptic1980(long long jd, int year, float ut, float longitude) {
    const float n = ut / 24.0f + static_cast<float>(jd - 2444241LL);
    const float y = static_cast<float>(static_cast<long long>(year) - 1980LL);
    const float theta = 360.0f * n / 365.25f * kRad;
    const float g = theta - 0.031271f - 4.53963e-7f * n;
    const float sg = std::sin(g), cg = std::cos(g);
    const float l = theta + 4.900968f + 3.6747e-7f * n + (0.033434f - 2.3e-9f * n) * sg + 0.000349f * (2.0f * sg * cg);
    const float eps = 0.40914f - 6.2149e-9f * n;
    const float sl = std::sin(l), cl = std::cos(l);
    float alpha = std::atan2(std::cos(eps) * sl, cl);
    if (alpha < 0.0f) alpha += kTwoPi;
    const float sinDelta = std::clamp(std::sin(eps) * sl, -1.0f, 1.0f);
    const float sidereal = reduce(1.759335f + kTwoPi * (n / 365.25f - y) + 3.694e-7f * n, kTwoPi);
    const float local = reduce(sidereal + (15.0f * ut - longitude) * kRad, kTwoPi);
    return {std::asin(sinDelta), sinDelta, local - alpha};
}

// The astronomical almanac's low-precision formulas, epoch 2000.
Equatorial almanac2000(long long jd, float ut, float longitude) {
    const float n = ut / 24.0f + static_cast<float>(jd - 2451546LL) + 0.5f;
    const float meanLongitude = reduce(280.46f + 0.9856474f * n, 360.0f);
    const float g = reduce(357.528f + 0.9856003f * n, 360.0f) * kRad;
    const float sg = std::sin(g), cg = std::cos(g);
    const float l = reduce(meanLongitude + 1.915f * sg + 0.020f * (2.0f * sg * cg), 360.0f) * kRad;
    const float eps = (23.439f - 4.0e-7f * n) * kRad;
    const float sl = std::sin(l), cl = std::cos(l);
    // The quadrant of atan(y/x) chosen by the signs of y and x, without dividing by x.
    float alpha = std::atan2(std::cos(eps) * sl, cl);
    if (alpha < 0.0f) alpha += kTwoPi;
    const float sinDelta = std::clamp(std::sin(eps) * sl, -1.0f, 1.0f);
    const float gmst = reduce(6.697375f + 0.0657098242f * n + ut, 24.0f);
    const float lst = reduce(gmst - longitude / 15.0f, 24.0f);
    return {std::asin(sinDelta), sinDelta, 15.0f * lst * kRad - alpha};
}

}  // namespace

namespace vireo::em {

// Fourier series of the day angle for the declination, and the equation of time. The
// harmonics by the double- and triple-angle rules from the day angle's sine and cosine.
SolarDay solarDay(float dayOfYear) {
    const float g = kTwoPi * (dayOfYear - 1.0f) / 365.0f;
    const float s1 = std::sin(g), c1 = std::cos(g);
    const float s2 = 2.0f * s1 * c1, c2 = c1 * c1 - s1 * s1;
    const float s3 = s2 * c1 + c2 * s1, c3 = c2 * c1 - s2 * s1;
    const float delta = 0.006918f - 0.399912f * c1 + 0.070257f * s1 - 0.006758f * c2 + 0.000907f * s2 -
                        0.002697f * c3 + 0.00148f * s3;
    const float sinDelta = std::sin(delta);
    return {delta, {sinDelta, cosineOf(sinDelta)}, equationOfTime(1, dayOfYear)};
}

int julianDay(const ClockTime& time) {
    const int y = nearestInt(time.year), m = nearestInt(time.month), d = nearestInt(time.day);
    int jd = 0;
    julian(&y, &m, &d, &jd);
    return jd;
}

Equatorial equatorialOnJulianDay(int series, int jd, const ClockTime& time, const Site& site) {
    // An eastern zone written as hours west (23 for one hour east) would put universal
    // time a day late: the clock time less the eastern offset is meant.
    const float ut = zoneWest(site) + time.hour + (time.minute + time.second / 60.0f) / 60.0f - time.dst;
    return series == 2 ? ecliptic1980(jd, nearestInt(time.year), ut, site.longitude)
                       : almanac2000(jd, ut, site.longitude);
}

SunPosition sunPosition(int series, bool refraction, const ClockTime& time, const Site& site) {
    const SinCos latitude = sinCosOf(site.latitude);
    if (series == 2 || series == 3)
        return sunFixOnJulianDay(series, julianDay(time), latitude, refraction, time, site).position;
    const int y = nearestInt(time.year), m = nearestInt(time.month), d = nearestInt(time.day);
    return sunFixOnDay(solarDay(static_cast<float>(idoy(&y, &m, &d))), latitude, refraction, time, site).position;
}

}  // namespace vireo::em

extern "C" void sunae(int* mode, const float* year, const float* month, const float* day,
                      const float* hour, const float* minute, const float* second, const float* dst,
                      const float* latitude, const float* longitude, const float* timeZone,
                      float* azimuth, float* elevation, float* declination, float* hourAngle) {
    // A negative mode switches refraction off and is handed back as its absolute value.
    const bool refraction = *mode >= 0;
    if (!refraction) *mode = *mode == INT_MIN ? INT_MAX : -*mode;
    const SunPosition sun =
        sunPosition(*mode, refraction, {*year, *month, *day, *hour, *minute, *second, *dst},
                    {*latitude, *longitude, *timeZone});
    *azimuth = sun.azimuth;
    *elevation = sun.elevation;
    *declination = sun.declination;
    *hourAngle = sun.hourAngle;
}
