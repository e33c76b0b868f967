// The calculation core of the sun-path program: a location, a tilted surface, a day and a
// clock time become angles and times. No drawing and no user interface here.
//
// The sky is seen from the tilted surface: its plane plays the part of the horizon, so the
// sun's elevation is measured above that plane and its azimuth in that plane, relative to
// the direction the surface faces. For a horizontal surface both are the ordinary ones,
// with the azimuth running from north through west (east 270, south 180, west 90).
#ifndef ZENOVA_SUN_GEOMETRY_H
#define ZENOVA_SUN_GEOMETRY_H

#include <array>
#include <string_view>

namespace zenova {

// Fourier series of the equation of time (minutes) and of the declination (degrees) over
// the day of the year; index 0 of the sine tables is never used.
inline constexpr std::array<double, 6> kEquationOfTimeCos{-0.007, 0.436, -3.456, -0.082, -0.141, -0.008};
inline constexpr std::array<double, 6> kEquationOfTimeSin{0.0, -7.353, -9.300, -0.302, -0.167, -0.010};
inline constexpr std::array<double, 6> kDeclinationCos{0.776, -22.926, -0.381, -0.152, -0.008, -0.003};
inline constexpr std::array<double, 6> kDeclinationSin{0.0, 3.939, 0.042, 0.080, 0.003, 0.002};

// The program's one calculation state. Angles in radians unless the name says degrees,
// times in hours.
struct SunContext {
    double longitude = 0.0;       // degrees east; a western longitude is kept plus 360
    double timeLag = 0.0;         // clock time minus GMT, after the date-line and western adjustments
    double latitudeDeg = 0.0;     // degrees north, the poles moved to +-89.99999
    double latitude = 0.0;        // radians
    int inclination = 0;          // surface tilt from horizontal, whole degrees 0..179
    double tilt = 0.0;            // radians; 0 becomes 1e-7 at the first sunPosition
    int orientation = 0;          // direction faced, whole degrees from north through east, 0..360
    double orientationRad = 0.0;  // 0 for a horizontal surface
    double longitudeRad = 0.0;
    std::array<double, 3> surfaceCoefficients{};  // S1, S2, S3
    int longestDay = 0;           // 172 in the north, 354 in the south
    double equationOfTime = 0.0;  // hours, of the current day
    double declination = 0.0;     // radians, of the current day
    double surfaceSunElevation = 0.0;  // degrees above the surface plane; negative behind it
    double surfaceSunAzimuth = 0.0;    // degrees in the surface frame; used through sin and cos
};

// The two sunshine intervals of a day on the surface, as clock times in hours. An empty
// interval has its start equal to its end.
struct SunshineTimes {
    double firstStart = 0.0;
    double firstEnd = 0.0;
    double secondStart = 0.0;
    double secondEnd = 0.0;
};

// Latitudes of exactly +-90 degrees are moved off the pole to these: the screen's, and the
// printout's own.
inline constexpr double kScreenPoleLatitude = 89.99999;
inline constexpr double kPrintPoleLatitude = 89.9999;

// Fills the location and surface fields from the main window's five input texts.
// Inclination and orientation are read as whole numbers, the others as reals; values
// outside the input fields' ranges are limited to them.
void prepareSunContext(SunContext& context, std::string_view longitudeText, std::string_view latitudeText,
                       std::string_view timeLagText, std::string_view inclinationText,
                       std::string_view orientationText, double poleLatitude = kScreenPoleLatitude);

// Declination and equation of time of a day; any integer day (the series repeats every 365).
void dayValues(SunContext& context, int dayNumber);

// Where the sun stands, seen from the surface, at a clock time of the current day (a time
// before its solar midnight or after the next is taken on its own side of midnight). Callers
// pass the context's own orientation.
void sunPosition(SunContext& context, double clockTime, double orientation);

// When the sun shines on the surface on the current day. Callers pass the context's own
// latitude and surface coefficients.
SunshineTimes sunshineTimes(const SunContext& context, double latitude, double s1, double s2, double s3);

}  // namespace zenova

#endif
