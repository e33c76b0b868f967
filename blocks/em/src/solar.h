// The library's physics as plain values: what the blocks call, and what the exported C
// routines of routines.h wrap for outside callers. Single precision throughout, as the
// blocks and generators that build on it expect to the last bit. Longitude and time zone
// are positive west (the library's first sign convention).
#ifndef VIREO_EM_SOLAR_H
#define VIREO_EM_SOLAR_H

#include <cmath>
#include <span>

namespace vireo::em {

struct ClockTime {
    float year, month, day;  // rounded to whole numbers
    float hour, minute = 0.0f, second = 0.0f;
    float dst = 0.0f;  // hours to take off the clock time (daylight saving)
};

struct Site {
    float latitude;   // degrees, north positive
    float longitude;  // degrees, west positive
    float timeZone;   // hours west of Greenwich, -14 to 23 (see zoneWest)
};

// The hours to add to a site's clock time for universal time. Zones are written in hours
// west, 0 to 23, where 13 to 23 are the eastern zones 11 to 1 hours east; zone 12 is
// 12 hours east at a site east of Greenwich and west elsewhere; -14 to -1 are hours east
// as they are written (UTC+13 is -13), for the zones beyond 12 hours east.
inline float zoneWest(const Site& site);

// Degrees: azimuth from north through east, elevation above the horizon, declination,
// hour angle (0 at solar noon, growing through the afternoon, within 0 to 360).
struct SunPosition {
    float azimuth, elevation, declination, hourAngle;
};

// The sine and cosine of an angle in degrees, as every routine here takes them.
struct SinCos {
    float sin, cos;
};

// series 2: ecliptic series with epoch 1980; 3: almanac series with epoch 2000; any
// other: Fourier series of the day angle.
SunPosition sunPosition(int series, bool refraction, const ClockTime& time, const Site& site);

SinCos sinCosOf(float degrees);
// The same kept in a block's own slots (the angle, its sine and cosine): worked out
// again only when the angle changes, as a site's latitude seldom does. NaN kept: none.
inline SinCos keptSinCos(float degrees, float& kept, std::span<float, 2> trig) {
    if (!(degrees == kept)) {
        const SinCos t = sinCosOf(degrees);
        kept = degrees;
        trig[0] = t.sin;
        trig[1] = t.cos;
    }
    return {trig[0], trig[1]};
}
// The cosine of an angle within a quarter turn of 0 from its sine; 1 - s is exact near
// s = 1, where 1 - s * s would lose the digits.
inline float cosineOf(float sine) { return std::sqrt((1.0f - sine) * (1.0f + sine)); }

// The Fourier series' terms of a day of the year. They change once a day: a block that
// steps through the hours may keep them, with the latitude's sine and cosine, and find
// the sun from them.
struct SolarDay {
    float declination;  // radians
    SinCos declinationTrig;
    float equationOfTime;  // minutes
};
SolarDay solarDay(float dayOfYear);

// The position with what a caller on the hot path takes on from it: the hour angle's sine
// and cosine, and the cosine of the zenith angle (refraction included when asked for).
// horizontal.h finds it, from a day's terms (sunFixOnDay) or from the Julian day number
// of series 2 and 3 (sunFixOnJulianDay), which a caller may keep for a day.
struct SunFix {
    SunPosition position;
    SinCos declination, hourAngle;
    float cosZenith;
};
int julianDay(const ClockTime& time);

// Eccentricity correction factor of the earth's orbit on day of year d (1 on 1 January):
// fit 1 Spencer's Fourier series, 2 the one-term approximation, otherwise 0.
float eccentricity(int fit, float dayOfYear);
// Equation of time in minutes (apparent minus mean solar time), fits 1 to 6, otherwise 0.
float equationOfTime(int fit, float dayOfYear);

// Incidence angle (degrees) of the sun on a surface of tilt and azimuth (from north).
struct Incidence {
    float angle;
    bool lit;  // false when the sun is below the horizon (horizontal coordinates)
};
Incidence incidenceEquatorial(float latitude, float tilt, float surfaceAzimuth, float declination,
                              float hourAngle);
// The same from the sines and cosines of latitude and declination that a caller keeps.
Incidence incidenceEquatorial(SinCos latitude, float tilt, float surfaceAzimuth, SinCos declination, float hourAngle);
Incidence incidenceHorizontal(float tilt, float surfaceAzimuth, float sunAzimuth, float sunElevation);

// Day of the year with leap years folded onto the common year after 28 February, so
// that a date gives the same orbit terms every year (28 and 29 February both give 59).
float dayOfCommonYear(int year, int month, int day);

// Extraterrestrial irradiance (W/m²) on a horizontal surface at a sun elevation, on a date;
// the eccentricity by `fit`. 0 unless |angle| < 90: GOH hands the site's latitude, the
// generators the sun's incidence angle on the horizontal.
float horizontalExtraterrestrial(int fit, int year, int month, int day, float angle, float elevation);

// Floored remainder a - floor(a/b) b, with the sign of b.
float floorMod(float a, float b);

inline float zoneWest(const Site& site) {
    // The site is east of Greenwich when its longitude west, brought into [0, 360), lies
    // beyond 180 degrees.
    if (site.timeZone > 12.0f || (site.timeZone == 12.0f && floorMod(site.longitude, 360.0f) > 180.0f))
        return site.timeZone - 24.0f;
    return site.timeZone;
}

}  // namespace vireo::em

#endif
