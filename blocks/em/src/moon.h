// The moon's topocentric position by the low-precision orbital-element method (mean
// elements of the moon and the sun with the main perturbations), in double precision over
// a day number counted from 2000 January 0.0 UT.
#ifndef VIREO_EM_MOON_H
#define VIREO_EM_MOON_H

namespace vireo::em {

// Whole days from 2000 January 0.0 to 0 h of a date of the Gregorian calendar (1 January
// 2000 gives 1), with the method's truncating integer divisions; 64-bit, so that no year
// a model can give overflows.
constexpr long long moonDayNumber(long long year, long long month, long long day) {
    return 367 * year - 7 * (year + (month + 9) / 12) / 4 + 275 * month / 9 + day - 730530;
}

// Degrees: azimuth from north through east, elevation with refraction, topocentric
// declination and hour angle, and the phase angle (0 at full moon, 180 at new moon).
struct MoonPosition {
    double azimuth, elevation, declination, hourAngle, phaseAngle;
};

// d: day number plus the fraction of the day in universal time (ut, which may lie outside
// 0..1 where the time zone carries the clock time into another day); latitude north and
// longitude east positive.
MoonPosition moonPosition(float d, float ut, double latitude, double longitudeEast);

}  // namespace vireo::em

#endif
