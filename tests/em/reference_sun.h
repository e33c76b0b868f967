// An independent sun position for the tests, in double precision: the solar coordinates
// of Meeus, Astronomical Algorithms (2nd ed., 1998), chapter 25 (low accuracy, about
// 0.01 degree) with the nutation terms of that chapter, Greenwich sidereal time by his
// equation 12.4, and horizontal coordinates by atan2, so that neither the series nor
// the quadrant logic of the library is reused. Time scale: universal time (the 65 s or
// so of TT - UT move the sun by under 0.001 degree).
#ifndef VIREO_TEST_REFERENCE_SUN_H
#define VIREO_TEST_REFERENCE_SUN_H

#include <cmath>

namespace reference {

inline constexpr double kPi = 3.14159265358979323846;
inline double rad(double d) { return d * kPi / 180.0; }
inline double deg(double r) { return r * 180.0 / kPi; }
inline double turn(double d) { return d - 360.0 * std::floor(d / 360.0); }

// Julian date of a Gregorian calendar date at a universal time (Meeus chapter 7).
inline double julianDate(int year, int month, int day, double hoursUT) {
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int a = year / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5 +
           hoursUT / 24.0;
}

struct Sun {
    double rightAscension;   // degrees
    double declination;      // degrees
    double distance;         // astronomical units
    double equationOfTime;   // minutes, apparent minus mean solar time
    double gast;             // Greenwich apparent sidereal time, degrees
};

inline Sun sunAt(double jd) {
    const double t = (jd - 2451545.0) / 36525.0;
    const double l0 = turn(280.46646 + 36000.76983 * t + 0.0003032 * t * t);
    const double m = rad(357.52911 + 35999.05029 * t - 0.0001537 * t * t);
    const double e = 0.016708634 - 0.000042037 * t - 0.0000001267 * t * t;
    const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * std::sin(m) +
                     (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double trueLongitude = l0 + c;
    const double nu = m + rad(c);
    const double omega = rad(125.04 - 1934.136 * t);
    const double lambda = rad(trueLongitude - 0.00569 - 0.00478 * std::sin(omega));
    const double eps0 = 23.0 + 26.0 / 60 + 21.448 / 3600 - (46.8150 * t + 0.00059 * t * t - 0.001813 * t * t * t) / 3600;
    const double eps = rad(eps0 + 0.00256 * std::cos(omega));
    Sun s{};
    s.rightAscension = turn(deg(std::atan2(std::cos(eps) * std::sin(lambda), std::cos(lambda))));
    s.declination = deg(std::asin(std::sin(eps) * std::sin(lambda)));
    s.distance = 1.000001018 * (1 - e * e) / (1 + e * std::cos(nu));
    const double nutationInLongitude = -0.00478 * std::sin(omega);  // degrees, the leading term
    const double gmst = turn(280.46061837 + 360.98564736629 * (jd - 2451545.0) + 0.000387933 * t * t -
                             t * t * t / 38710000.0);
    s.gast = gmst + nutationInLongitude * std::cos(eps);
    double eot = l0 - 0.0057183 - s.rightAscension + nutationInLongitude * std::cos(eps);
    eot -= 360.0 * std::round(eot / 360.0);
    s.equationOfTime = 4.0 * eot;
    return s;
}

struct Position {
    double azimuth;      // degrees from north through east
    double elevation;    // degrees, geometric (no refraction)
    double declination;  // degrees
    double hourAngle;    // degrees in [0, 360)
};

// Latitude north positive, longitude east positive.
inline Position positionAt(double jd, double latitude, double longitudeEast) {
    const Sun s = sunAt(jd);
    const double h = turn(s.gast + longitudeEast - s.rightAscension);
    const double phi = rad(latitude), delta = rad(s.declination), hr = rad(h);
    Position p{};
    p.elevation = deg(std::asin(std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(hr)));
    p.azimuth = turn(180.0 + deg(std::atan2(std::sin(hr), std::cos(hr) * std::sin(phi) - std::tan(delta) * std::cos(phi))));
    p.declination = s.declination;
    p.hourAngle = h;
    return p;
}

// Signed difference of two directions, in (-180, 180].
inline double angleBetween(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

}  // namespace reference

#endif
