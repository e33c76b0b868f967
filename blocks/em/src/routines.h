// The auxiliary routines that libVireoEM exports beside its block functions, for its own
// blocks and for other callers. Arguments pass by reference, as the blocks pass them.
// None of these names may look like a block function to the engine's loader (two letters
// and four digits, or the prefix "ub").
#ifndef VIREO_EM_ROUTINES_H
#define VIREO_EM_ROUTINES_H

#define VIREO_EM_EXPORT __attribute__((visibility("default")))

extern "C" {

// Sun azimuth, elevation, declination and hour angle (degrees) for a clock time and a site
// given with longitude and time zone positive west (the zone -14 to 23, as zoneWest in
// solar.h reads it). mode 2: ecliptic series with epoch
// 1980; 3: almanac series with epoch 2000; anything else: Fourier series of the day angle.
// A negative mode switches refraction off and is replaced by its absolute value.
VIREO_EM_EXPORT void sunae(int* mode, const float* year, const float* month, const float* day,
                           const float* hour, const float* minute, const float* second,
                           const float* dst, const float* latitude, const float* longitude,
                           const float* timeZone, float* azimuth, float* elevation,
                           float* declination, float* hourAngle);

// Eccentricity correction factor of the earth's orbit for day of year d (1 on 1 January).
VIREO_EM_EXPORT float e0(const int* mode, const float* d);
// Equation of time in minutes (apparent minus mean solar time), six fits.
VIREO_EM_EXPORT float et(const int* mode, const float* d);
// Incidence angle (degrees) of the sun on a surface; mode 1 from latitude, tilt, surface
// azimuth, declination and hour angle; mode 2 from tilt, surface azimuth, sun azimuth and
// sun elevation (a1 unused). flag: 1, or 0 when mode 2 finds the sun below the horizon.
VIREO_EM_EXPORT void inang(const int* mode, const float* a1, const float* a2, const float* a3,
                           const float* a4, const float* a5, float* theta, float* flag);
// Extraterrestrial irradiance on a horizontal surface (W/m²) at a sun elevation.
VIREO_EM_EXPORT void goh(const int* mode, const int* year, const int* month, const int* day,
                         const float* latitude, const float* elevation, float* result);

// Floored remainder a - floor(a/b) b, with the sign of b.
VIREO_EM_EXPORT float float_mod(const float* a, const float* b);
// Whether the one-degree land mask holds land at a site (longitude east positive).
VIREO_EM_EXPORT bool is_on_land(const float* latitude, const float* longitude);
// 1 on land; otherwise warns (shown, not counted) for the block and returns 0.
VIREO_EM_EXPORT int check_coordinates(const float* latitude, const float* longitude,
                                      const int* blockNumber);
// Site checks of a block at initialisation (longitude and time zone positive west);
// results through IP[0] and the message function.
VIREO_EM_EXPORT void cksite(const float* latitude, const float* longitude, const float* timeZone,
                            int* IP);

// The wind-speed generator's gamma routines (single precision): ln Gamma(x) for x > 0,
// Gamma(x), and the Weibull shape k whose third moment, averaged over 24 hourly mean
// speeds v, equals target.
VIREO_EM_EXPORT float dgamln(const float* x);
VIREO_EM_EXPORT float dtovangamma(const float* x);
VIREO_EM_EXPORT void dubgam4(const float* target, const float* v, float* k);

// Trigonometry in degrees.
VIREO_EM_EXPORT double sind(const double* x);
VIREO_EM_EXPORT double cosd(const double* x);
VIREO_EM_EXPORT double tand(const double* x);
VIREO_EM_EXPORT double atand(const double* x);
VIREO_EM_EXPORT double acosd(const double* x);
VIREO_EM_EXPORT double asind(const double* x);
VIREO_EM_EXPORT double atan2d(const double* y, const double* x);

}  // extern "C"

#endif
