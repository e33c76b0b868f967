// Sun position by one of three series. All work is in single precision, as the blocks
// and generators that call this expect to the last bit.
#include "solar.h"

#include "Numbers.h"
#include "angles.h"
#include "routines.h"
#include "vireo_tools.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <cmath>

using namespace vireo::em;
using vireo::block::acosClamped;
using vireo::block::asinClamped;
using vireo::block::nearestInt;

namespace {

// Floored remainder into [0, period). The hour angle must land there whatever the sign of
// the longitude or the range of the clock time: the quadrant tests below rely on it.
float reduce(float x, float period) {
    if (x >= 0.0f && x < period) return x;  // mostly so already: no floor to call
    float r = x - std::floor(x / period) * period;
    if (r < 0.0f) r += period;
    if (r >= period) r -= period;
    return r;
}

struct Equatorial {
    float declination;  // radians
    float sinDeclination;
    float hourAngle;    // radians, before reduction
};

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
namespace {

// The common end of the series: zenith, azimuth and refraction from the declination, its
// sine and cosine, the latitude's, and the hour angle before its reduction.
SunFix horizontal(float delta, SinCos declination, SinCos latitude, float hourAngle, bool refraction,
                  bool azimuth = true) {
    const float omega = reduce(hourAngle, kTwoPi);
    const float sd = declination.sin, cd = declination.cos;
    const float sp = latitude.sin, cp = latitude.cos;
    const float so = std::sin(omega), co = std::cos(omega);
    const float x = std::clamp(sd * sp + cd * cp * co, -1.0f, 1.0f);
    const float zenith = std::acos(x);
    // sin(acos x) without a second trigonometric call; 1 - x is exact near the zenith,
    // where 1 - x * x would lose the digits the azimuth's arc sine needs.
    const float sz = std::sqrt((1.0f - x) * (1.0f + x));
    const float a = azimuth ? asinClamped(sz != 0.0f ? cd * so / sz : 0.0f) : std::numeric_limits<float>::quiet_NaN();

    // a is the azimuth from south, folded into [-90, 90] degrees; the sun's side of the
    // east-west line unfolds it. That side is the sign of the sun's northward component,
    // which is what the published rule derives from the hour angles +-w0 of the crossing
    // (cos w0 = tan(delta) / tan(phi)); taken directly it stays right where the sun never
    // crosses the line (the tropics in summer, the equator) and where delta and phi agree
    // to single precision.
    const float north = sd * cp - cd * sp * co;
    const int side = north > 0.0f ? -1 : 1;  // -1: north of the east-west line
    const int k3 = omega <= kPi ? 1 : -1;
    const float az = a * static_cast<float>(side) + kPi + static_cast<float>(k3 * (1 - side)) * kPi / 2.0f;

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

}  // namespace

float zoneWest(const Site& site) {
    // The site is east of Greenwich when its longitude west, brought into [0, 360), lies
    // beyond 180 degrees.
    if (site.timeZone > 12.0f || (site.timeZone == 12.0f && floorMod(site.longitude, 360.0f) > 180.0f))
        return site.timeZone - 24.0f;
    return site.timeZone;
}

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

// Works on local standard time, so the time zone enters only as a longitude.
SunFix sunFixOnDay(const SolarDay& day, SinCos latitude, bool refraction, const ClockTime& time, const Site& site,
                   bool azimuth) {
    const float localTime = time.hour + time.minute / 60.0f + time.second / 3600.0f - time.dst;
    const float minutes = 60.0f * localTime + day.equationOfTime + 4.0f * (15.0f * zoneWest(site) - site.longitude);
    return horizontal(day.declination, day.declinationTrig, latitude, (minutes / 4.0f - 180.0f) * kRad, refraction,
                      azimuth);
}

SunPosition sunPositionOnDay(const SolarDay& day, SinCos latitude, bool refraction, const ClockTime& time,
                             const Site& site) {
    return sunFixOnDay(day, latitude, refraction, time, site).position;
}

int julianDay(const ClockTime& time) {
    const int y = nearestInt(time.year), m = nearestInt(time.month), d = nearestInt(time.day);
    int jd = 0;
    julian(&y, &m, &d, &jd);
    return jd;
}

SunFix sunFixOnJulianDay(int series, int jd, SinCos latitude, bool refraction, const ClockTime& time,
                         const Site& site, bool azimuth) {
    // An eastern zone written as hours west (23 for one hour east) would put universal
    // time a day late: the clock time less the eastern offset is meant.
    const float ut = zoneWest(site) + time.hour + (time.minute + time.second / 60.0f) / 60.0f - time.dst;
    const Equatorial sun = series == 2 ? ecliptic1980(jd, nearestInt(time.year), ut, site.longitude)
                                       : almanac2000(jd, ut, site.longitude);
    const float sd = sun.sinDeclination;
    return horizontal(sun.declination, {sd, cosineOf(sd)}, latitude, sun.hourAngle,
                      refraction, azimuth);
}

SunPosition sunPosition(int series, bool refraction, const ClockTime& time, const Site& site) {
    const SinCos latitude = sinCosOf(site.latitude);
    if (series == 2 || series == 3)
        return sunFixOnJulianDay(series, julianDay(time), latitude, refraction, time, site).position;
    const int y = nearestInt(time.year), m = nearestInt(time.month), d = nearestInt(time.day);
    return sunPositionOnDay(solarDay(static_cast<float>(idoy(&y, &m, &d))), latitude, refraction, time, site);
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
