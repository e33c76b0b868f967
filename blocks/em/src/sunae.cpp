// Sun position by one of three series. All work is in single precision, as the blocks
// and generators that call this expect to the last bit.
#include "solar.h"

#include "Numbers.h"
#include "angles.h"
#include "routines.h"
#include "vireo_tools.h"

#include <climits>
#include <cmath>

using namespace vireo::em;
using vireo::block::acosClamped;
using vireo::block::asinClamped;
using vireo::block::nearestInt;

namespace {

// Floored remainder into [0, period). The hour angle must land there whatever the sign of
// the longitude or the range of the clock time: the quadrant tests below rely on it.
float reduce(float x, float period) {
    float r = x - std::floor(x / period) * period;
    if (r < 0.0f) r += period;
    if (r >= period) r -= period;
    return r;
}

struct Equatorial {
    float declination;  // radians
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
    const float l = theta + 4.900968f + 3.6747e-7f * n + (0.033434f - 2.3e-9f * n) * std::sin(g) +
                    0.000349f * std::sin(2.0f * g);
    const float eps = 0.40914f - 6.2149e-9f * n;
    float alpha = std::atan2(std::cos(eps) * std::sin(l), std::cos(l));
    if (alpha < 0.0f) alpha += kTwoPi;
    const float delta = asinClamped(std::sin(eps) * std::sin(l));
    const float sidereal = reduce(1.759335f + kTwoPi * (n / 365.25f - y) + 3.694e-7f * n, kTwoPi);
    const float local = reduce(sidereal + (15.0f * ut - longitude) * kRad, kTwoPi);
    return {delta, local - alpha};
}

// The astronomical almanac's low-precision formulas, epoch 2000.
Equatorial almanac2000(long long jd, float ut, float longitude) {
    const float n = ut / 24.0f + static_cast<float>(jd - 2451546LL) + 0.5f;
    const float meanLongitude = reduce(280.46f + 0.9856474f * n, 360.0f);
    const float g = reduce(357.528f + 0.9856003f * n, 360.0f) * kRad;
    const float l =
        reduce(meanLongitude + 1.915f * std::sin(g) + 0.020f * std::sin(2.0f * g), 360.0f) * kRad;
    const float eps = (23.439f - 4.0e-7f * n) * kRad;
    // The quadrant of atan(y/x) chosen by the signs of y and x, without dividing by x.
    float alpha = std::atan2(std::cos(eps) * std::sin(l), std::cos(l));
    if (alpha < 0.0f) alpha += kTwoPi;
    const float delta = asinClamped(std::sin(eps) * std::sin(l));
    const float gmst = reduce(6.697375f + 0.0657098242f * n + ut, 24.0f);
    const float lst = reduce(gmst - longitude / 15.0f, 24.0f);
    return {delta, 15.0f * lst * kRad - alpha};
}

}  // namespace

namespace vireo::em {
namespace {

// The common end of the series: zenith, azimuth and refraction from the declination, its
// sine and cosine, the latitude's, and the hour angle before its reduction.
SunPosition horizontal(float delta, SinCos declination, SinCos latitude, float hourAngle, bool refraction) {
    const float omega = reduce(hourAngle, kTwoPi);
    const float sd = declination.sin, cd = declination.cos;
    const float sp = latitude.sin, cp = latitude.cos;
    const float zenith = acosClamped(sd * sp + cd * cp * std::cos(omega));
    const float sz = std::sin(zenith);
    const float a = asinClamped(sz != 0.0f ? cd * std::sin(omega) / sz : 0.0f);

    // a is the azimuth from south, folded into [-90, 90] degrees; the sun's side of the
    // east-west line unfolds it. That side is the sign of the sun's northward component,
    // which is what the published rule derives from the hour angles +-w0 of the crossing
    // (cos w0 = tan(delta) / tan(phi)); taken directly it stays right where the sun never
    // crosses the line (the tropics in summer, the equator) and where delta and phi agree
    // to single precision.
    const float north = sd * cp - cd * sp * std::cos(omega);
    const int side = north > 0.0f ? -1 : 1;  // -1: north of the east-west line
    const int k3 = omega <= kPi ? 1 : -1;
    const float az = a * static_cast<float>(side) + kPi + static_cast<float>(k3 * (1 - side)) * kPi / 2.0f;

    float e = (kPi / 2.0f - zenith) / kRad;
    if (refraction) {
        const float r = e > -0.56f ? 3.51561f * (0.1594f + 0.0196f * e + 2.0e-5f * e * e) /
                                         (1.0f + 0.505f * e + 0.0845f * e * e)
                                   : 0.56f;
        e += r;
    }
    return {az / kRad, e, delta / kRad, omega / kRad};
}

}  // namespace

float zoneWest(const Site& site) {
    // The site is east of Greenwich when its longitude west, brought into [0, 360), lies
    // beyond 180 degrees.
    const bool east = floorMod(site.longitude, 360.0f) > 180.0f;
    if (site.timeZone > 12.0f || (site.timeZone == 12.0f && east)) return site.timeZone - 24.0f;
    return site.timeZone;
}

// Fourier series of the day angle for the declination, and the equation of time.
SolarDay solarDay(float dayOfYear) {
    const float g = kTwoPi * (dayOfYear - 1.0f) / 365.0f;
    const float delta = 0.006918f - 0.399912f * std::cos(g) + 0.070257f * std::sin(g) -
                        0.006758f * std::cos(2.0f * g) + 0.000907f * std::sin(2.0f * g) -
                        0.002697f * std::cos(3.0f * g) + 0.00148f * std::sin(3.0f * g);
    return {delta, {std::sin(delta), std::cos(delta)}, equationOfTime(1, dayOfYear)};
}

// Works on local standard time, so the time zone enters only as a longitude.
SunPosition sunPositionOnDay(const SolarDay& day, SinCos latitude, bool refraction, const ClockTime& time,
                             const Site& site) {
    const float localTime = time.hour + time.minute / 60.0f + time.second / 3600.0f - time.dst;
    const float minutes = 60.0f * localTime + day.equationOfTime + 4.0f * (15.0f * zoneWest(site) - site.longitude);
    return horizontal(day.declination, day.declinationTrig, latitude, (minutes / 4.0f - 180.0f) * kRad, refraction);
}

SunPosition sunPosition(int series, bool refraction, const ClockTime& time, const Site& site) {
    const int y = nearestInt(time.year), m = nearestInt(time.month), d = nearestInt(time.day);
    const SinCos latitude = sinCosOf(site.latitude);
    if (series == 2 || series == 3) {
        // An eastern zone written as hours west (23 for one hour east) would put universal
        // time a day late: the clock time less the eastern offset is meant.
        const float ut = zoneWest(site) + time.hour + (time.minute + time.second / 60.0f) / 60.0f - time.dst;
        int jd = 0;
        julian(&y, &m, &d, &jd);
        const Equatorial sun =
            series == 2 ? ecliptic1980(jd, y, ut, site.longitude) : almanac2000(jd, ut, site.longitude);
        return horizontal(sun.declination, {std::sin(sun.declination), std::cos(sun.declination)}, latitude,
                          sun.hourAngle, refraction);
    }
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
