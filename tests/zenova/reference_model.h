// An independent model of the sun-path chart for the tests: directions as unit vectors in
// east-north-up coordinates, the surface by its normal. The chart shows the sky of the
// surface as if the surface were turned back to horizontal about its horizontal axis: the
// down-slope direction goes to the compass direction the surface faces, north stays at the
// top, and the chart azimuth runs from north through west. Nothing here uses the code
// under test.
#ifndef ZENOVA_TEST_REFERENCE_MODEL_H
#define ZENOVA_TEST_REFERENCE_MODEL_H

#include <cmath>
#include <numbers>

namespace zenova_test {

inline constexpr double kRad = std::numbers::pi / 180.0;

struct Direction {
    double east;
    double north;
    double up;
};

// The sun at a solar time (hours, noon 12) for a latitude (degrees) and declination (rad).
inline Direction sunDirection(double latitudeDeg, double declination, double solarTime) {
    const double hour = (solarTime - 12.0) * 15.0 * kRad;
    const double phi = latitudeDeg * kRad;
    return {-std::cos(declination) * std::sin(hour),
            std::cos(phi) * std::sin(declination) - std::sin(phi) * std::cos(declination) * std::cos(hour),
            std::sin(phi) * std::sin(declination) + std::cos(phi) * std::cos(declination) * std::cos(hour)};
}

// A point of the horizon at a compass azimuth (degrees from north through east).
inline Direction horizonDirection(double azimuthDeg) {
    return {std::sin(azimuthDeg * kRad), std::cos(azimuthDeg * kRad), 0.0};
}

struct ChartView {
    double elevation;  // above the surface plane, degrees
    double dx;         // chart offsets from the centre in logical units (y grows downwards)
    double dy;
};

inline ChartView chartView(const Direction& s, int inclination, int orientation) {
    const double b = inclination * kRad;
    const double g = orientation * kRad;
    const double toNormal = s.east * std::sin(b) * std::sin(g) + s.north * std::sin(b) * std::cos(g) + s.up * std::cos(b);
    const double downSlope =
        s.east * std::cos(b) * std::sin(g) + s.north * std::cos(b) * std::cos(g) - s.up * std::sin(b);
    const double along = -s.east * std::cos(g) + s.north * std::sin(g);  // horizontal, in the plane
    const double east = downSlope * std::sin(g) - along * std::cos(g);
    const double north = downSlope * std::cos(g) + along * std::sin(g);
    const double azimuth = std::atan2(-east, north);
    const double elevation = std::asin(toNormal) / kRad;
    const double r = 5.0 * (90.0 - elevation);
    return {elevation, -r * std::sin(azimuth), -r * std::cos(azimuth)};
}

}  // namespace zenova_test

#endif
