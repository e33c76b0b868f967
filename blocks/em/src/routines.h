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
// The weather generators' routines, single precision. A generator is a seed slot, the
// slot after it (seed[1], 0 to start the sequence from the seed) and a table of 97 values;
// a routine's failure goes into ip[0] (0 success, 1 no attempt met the targets).
// trans: the normalised daily clearness index x at probability u of the distribution with
// density a x^b (1 - x/xm) on 0..xm. genktd: a month of `days` daily indices kt around
// ktm with standard deviation sigma (lowered in place where the distribution would pass
// 0.82) and the lag-1 and lag-2 autocorrelations, and their mean and deviation. genktd2:
// the same by the Markov matrices, the class carried in markovState. genkth: 24 hourly
// indices of a day of index kt from the hourly extraterrestrial irradiance g0h, its mean
// g0d and the zenith angles (degrees). nrmmonth: the normalised daily temperature course
// of hours 0..23 for a declination and latitude (radians) and a lag (h); ampl1 and ampl2:
// its monthly amplitude (K); mongang: the month's course from its mean and amplitude.
// genhum: the hourly relative humidity of `days` days of 24 temperatures for a monthly
// mean relative humidity (fractions).
VIREO_EM_EXPORT void trans(const float* u, const float* a, const float* b, const float* xm, float* x);
VIREO_EM_EXPORT void genktd(const float* ktm, float* sigma, const float* autocorrelations, const int* days,
                            float* table, int* seed, float* kt, float* ktMean, float* ktStd);
VIREO_EM_EXPORT void genktd2(const float* ktm, const int* days, float* table, int* seed, int* markovState, float* kt,
                             int* ip);
VIREO_EM_EXPORT void genkth(const float* kt, const float* g0h, const float* g0d, const float* zenith, float* table,
                            int* seed, float* kth, float* ktMean, int* ip);
VIREO_EM_EXPORT void nrmmonth(float* course, int* hourOfMax, int* hourOfMin, const float* declination,
                              const float* latitude, const int* lag);
VIREO_EM_EXPORT float ampl1(const float* cosLatitude, const float* ktm, const float* cosDeclinationMinusLatitude,
                            const float* continentality);
VIREO_EM_EXPORT float ampl2(const float* rangeOfMeans);
VIREO_EM_EXPORT void mongang(float* monthCourse, const float* meanTemperature, const float* amplitude,
                             const float* course);
VIREO_EM_EXPORT void genhum(const float* meanHumidity, const int* days, const float* monthTemperatures,
                            float* monthHumidityOut);

// Glazing optics of GTLOSS, every value single precision, angles in radians unless
// marked degrees; each routine writes its result into its last argument. Index arrays
// n hold n(0) = 1 (air) to n(4); alpha and thickn the three layers.
VIREO_EM_EXPORT void angout(const float* theta, const float* ratio, float* result);
VIREO_EM_EXPORT void refls(const float* theta, const float* ratio, float* result);
VIREO_EM_EXPORT void reflp(const float* theta, const float* ratio, float* result);
VIREO_EM_EXPORT void transs(const float* theta, const float* ratio, float* result);
VIREO_EM_EXPORT void transp(const float* theta, const float* ratio, float* result);
VIREO_EM_EXPORT void pol(const float* a, const float* b, float* result);
VIREO_EM_EXPORT void refl_0_grad(const float* a, const float* b, float* result);
VIREO_EM_EXPORT void absorp1(const float* alpha, const float* d, const float* theta, float* result);
VIREO_EM_EXPORT void absorp2(const float* alpha, const float* d, const float* theta, float* result);
VIREO_EM_EXPORT void reflij(const float* ri, const float* rj, float* result);
VIREO_EM_EXPORT void refl24(const float* r23, const float* r34, const float* delta, float* result);
VIREO_EM_EXPORT void delta(const float* theta3, const float* lambda, const float* d, const float* n3, float* result);
VIREO_EM_EXPORT void transi(const float* t1, const float* t2, const float* r2, const float* r1, const float* a1,
                            const float* a2, float* result);
VIREO_EM_EXPORT void transqi(const float* t12, const float* r12, const float* r23, const float* a1,
                             const float* a2, float* result);
VIREO_EM_EXPORT void rhoqi(const float* r01, const float* t12, const float* r12, const float* a2, float* result);
VIREO_EM_EXPORT void rhoi(const float* r12, const float* t12, const float* r23, const float* a2, float* result);
VIREO_EM_EXPORT void rhoquerij(const float* q2, const float* tq2, const float* t2, const float* q1,
                               const float* t12, const float* p2, const float* r12, float* result);
VIREO_EM_EXPORT void trans123(const float* t1, const float* t2, const float* t3, const float* t12,
                              const float* t23, const float* p3, const float* r23, const float* q21,
                              float* result);
// Incidence-angle modifiers, phi in degrees: model 0 (n(0) taken from the array, n(1)
// given apart), 1, 2 (which clears alpha(3) in the caller's array) and 3.
VIREO_EM_EXPORT void sjerps(const float* phi, const float* n, const float* n1, float* result);
VIREO_EM_EXPORT void ashrae(const float* b0, const float* phi, float* result);
VIREO_EM_EXPORT void krau_rel(const float* phi, const float* n, float* alpha, const float* thickn, float* result);
VIREO_EM_EXPORT void krauter(const float* theta0, const float* n, const float* alpha, const float* thickn,
                             float* result);
VIREO_EM_EXPORT void lanz_rel(const float* phi, const float* n, const float* lambda, const float* d, float* result);
VIREO_EM_EXPORT void lanzer(const float* theta0, const float* n, const float* lambda, const float* d, float* result);
// Soiling factor for a loss s at normal incidence; incidence of a sky element on a
// surface; relative clear-sky radiance of a sky element. Degrees.
VIREO_EM_EXPORT void dirt(const float* s, const float* phi, float* result);
VIREO_EM_EXPORT void incang(const float* a, const float* e, const float* gamma, const float* beta, float* result);
VIREO_EM_EXPORT void lpdens(const float* sunAzimuth, const float* sunElevation, const float* a, const float* e,
                            float* result);

// Row shading and orientation. BETAMAX fills cem0031 (cos psi', cot alpha, D, L,
// sin psi', tan phi) and BETAOPT cem0032 (sin alpha, cos alpha, cos psi') before their
// searches; the residuals read them, so that the root finder can take fem0031 alone.
// Angles in radians.
VIREO_EM_EXPORT extern float cem0031[6];
VIREO_EM_EXPORT extern float cem0032[3];
// L (cos b + cos psi' cot alpha sin b / sqrt(1 + sin^2 psi' tan^2 phi)) - D: positive
// where the shadow of a row of tilt b reaches beyond the next row.
VIREO_EM_EXPORT float fem0031(const float* beta);
// Incidence angle of the sun on a surface of tilt b.
VIREO_EM_EXPORT float fem0032(const float* beta);
// Incidence angle of the sun (azimuth psi, elevation alpha) on a surface turned by phi
// about an axis of tilt betaf; the surface's tilt and azimuth go into beff and gamma
// (the azimuth gamma0 when the turned surface is horizontal).
VIREO_EM_EXPORT float fem0038(const float* phi, const float* psi, const float* alpha, const float* betaf,
                              const float* dgamma, const float* gamma0, float* beff, float* gamma);

// The monthly weather database's listing goes on while this is not 2; the host may set it
// to cut a listing short. The library never sets it (0 at load).
VIREO_EM_EXPORT extern int flow;

// Irradiance on a tilted surface by Perez et al. (1990, all-sites coefficients), double
// precision: from the global, beam-normal and diffuse irradiance (W/m²), the sun's zenith
// angle, its incidence angle on the surface and the tilt (degrees), the sky diffuse plus
// ground-reflected irradiance and the total on the surface. 9999 in both for a value
// above 9998 (not measured); 0 for no diffuse or global irradiance or a zenith angle
// outside 0 to 87.5 degrees.
VIREO_EM_EXPORT void perez(const double* global, const double* beamNormal, const double* diffuse,
                           const double* zenith, const double* incidence, const double* tilt,
                           double* tiltedDiffuse, double* tiltedGlobal);
// The sun at twelve instants 60, 55, ..., 5 minutes before a time of day (solar time) on a
// day of the year: zenith angle (degrees), air mass and incidence angle (degrees) on a
// surface of the given tilt facing the equator; each array holds 12. With the sun at or
// below the horizon an instant has its zenith angle (90 or more), incidence 90, air mass 0.
VIREO_EM_EXPORT void geose(const float* latitude, const float* tilt, const int* day, const int* hour,
                           const int* minute, float* zenith, float* airMass, float* incidence);

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
