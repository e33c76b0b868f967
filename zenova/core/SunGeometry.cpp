#include "SunGeometry.h"

#include "Numeric.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zenova {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = 2.0 * kPi / 360.0;
constexpr double kPolarCircle = 1.1616158;  // |latitude| in radians beyond which the polar rules apply

double degrees(double radians) { return radians * 180.0 / kPi; }

// Hours of solar time from an arccosine of a cosine of the hour angle counted from midnight.
double hoursFromCosine(double c) { return std::acos(clampUnit(c)) * 12.0 / kPi; }

}  // namespace

void prepareSunContext(SunContext& context, std::string_view longitudeText, std::string_view latitudeText,
                       std::string_view timeLagText, std::string_view inclinationText,
                       std::string_view orientationText, double poleLatitude) {
    context.inclination = std::clamp(parseInteger(inclinationText), 0, 179);
    context.tilt = context.inclination * kDegree;
    // A vertical surface is turned back a little for its coefficients only, so that no
    // coefficient comes out as an exact zero that sunshineTimes would divide by.
    const double coefficientTilt = context.inclination == 90 ? context.tilt - 1e-5 : context.tilt;

    context.orientation = std::clamp(parseInteger(orientationText), 0, 360);
    context.orientationRad = context.inclination == 0 ? 0.0 : context.orientation * kDegree;

    double latitudeDeg = std::clamp(parseReal(latitudeText), -90.0, 90.0);
    if (latitudeDeg == 90.0) {
        latitudeDeg = poleLatitude;
    } else if (latitudeDeg == -90.0) {
        latitudeDeg = -poleLatitude;
    }
    context.latitudeDeg = latitudeDeg;
    context.latitude = latitudeDeg * kDegree;
    context.longestDay = latitudeDeg > 0.0 ? 172 : 354;
    if (context.orientation == 0 && context.inclination + latitudeDeg == 0.0) {
        context.latitude += 0.0001;
    }

    double longitude = std::clamp(parseReal(longitudeText), -180.0, 180.0);
    double timeLag = std::clamp(parseReal(timeLagText), -12.0, 12.0);
    if (timeLag == 12.0 && longitude < 0.0) {
        timeLag = -12.0;
    } else if (timeLag == -12.0 && longitude > 0.0) {
        timeLag = 12.0;
    }
    if (longitude < 0.0) {
        longitude += 360.0;
        timeLag += 24.0;
    }
    context.longitude = longitude;
    context.timeLag = timeLag;
    context.longitudeRad = longitude * kDegree;

    const double phi = context.latitude;
    const double beta = coefficientTilt;
    const double gamma = context.orientationRad;
    context.surfaceCoefficients = {
        std::sin(phi) * std::cos(beta) + std::cos(phi) * std::sin(beta) * std::cos(gamma),
        std::cos(phi) * std::cos(beta) - std::sin(phi) * std::sin(beta) * std::cos(gamma),
        std::sin(beta) * std::sin(gamma),
    };
}

void dayValues(SunContext& context, int dayNumber) {
    const double x = 2.0 * kPi * dayNumber / 365.0;
    double eot = kEquationOfTimeCos[0] / 2.0;
    double dec = kDeclinationCos[0] / 2.0;
    for (int k = 1; k <= 5; ++k) {
        const double c = std::cos(k * x);
        const double s = std::sin(k * x);
        eot += kEquationOfTimeCos[k] * c + kEquationOfTimeSin[k] * s;
        dec += kDeclinationCos[k] * c + kDeclinationSin[k] * s;
    }
    context.equationOfTime = eot / 60.0;
    context.declination = dec * kDegree;
}

void sunPosition(SunContext& context, double clockTime, double orientation) {
    const double delta = context.declination;
    const double phi = context.latitude;
    const auto [s1, s2, s3] = context.surfaceCoefficients;

    double solarTime = context.equationOfTime + clockTime + context.longitude / 15.0 - context.timeLag;
    // The case rules below know the hour angles of one day, from midnight to midnight. A time
    // that comes in before that day's midnight (or after the next) is taken on the side of
    // midnight where it lies, else the rule for times before midnight mirrors a sun that is
    // already on the right side and throws it across the chart.
    if (solarTime < 0.0 || solarTime >= 24.0) {
        solarTime -= 24.0 * std::floor(solarTime / 24.0);
        if (!(solarTime >= 0.0 && solarTime < 24.0)) {
            solarTime = 0.0;
        }
    }
    const double omega = solarTime * 15.0 * kDegree;  // from midnight: pi at solar noon

    const double q =
        std::sin(delta) * s1 - (std::cos(omega) * s2 - std::sin(omega) * s3) * std::cos(delta);
    const double theta = std::asin(clampUnit(q));
    const double s = std::sin(phi) * std::sin(delta) - std::cos(phi) * std::cos(delta) * std::cos(omega);
    const double h = std::asin(clampUnit(s));

    // In the zenith the horizontal azimuth is undefined; any value will do, 90 is taken.
    const double zenithDivisor = std::cos(h) * std::cos(phi);
    const double cA = zenithDivisor != 0.0
                          ? clampUnit((std::sin(delta) - std::sin(h) * std::sin(phi)) / zenithDivisor)
                          : 0.0;
    const double A = degrees(std::acos(cA));

    double g = orientation;
    if (g == 0.0) {
        g = 360.0;
    }
    if (context.inclination == 0) {
        g = 0.0;
    }

    if (context.tilt == 0.0) {
        context.tilt = 1e-7;
    }
    const double beta = context.tilt;
    // On the surface normal the in-plane azimuth is undefined; P = 0 is taken.
    const double normalDivisor = std::sin(kPi / 2.0 - theta) * std::sin(beta);
    double P = 0.0;
    if (normalDivisor != 0.0) {
        const double cP = (std::cos(kPi / 2.0 - theta) * std::cos(beta) - std::sin(h)) / normalDivisor;
        if (cP >= 1.0) {
            P = 0.0;
        } else if (cP <= -1.0) {
            P = 180.0;
        } else {
            P = degrees(std::acos(cP));
        }
    }
    if (omega > kPi) {
        P = 360.0 - P;
    }

    // The arccosines give angles of 0..180 only; by the quadrant the surface faces, the
    // horizontal azimuth and the time of day these rules choose the side of the chart.
    const auto flip = [&P] { P = 360.0 - P; };
    const bool afternoon = omega > kPi;
    if (g == 180.0) {
        // facing south: the in-plane angle is already the chart's
    } else if (g == 0.0) {
        P = afternoon ? 360.0 - A : A;
        flip();
    } else if (g > 90.0 && g < 180.0) {
        if (A > g) flip();
        if (afternoon) P = -P;
        if (A < g && afternoon) flip();
        if (A < 180.0 - g && afternoon) flip();
    } else if (g > 180.0 && g <= 270.0) {
        if (omega > kPi / 2.0 && omega < kPi) P -= 360.0;
        if (afternoon && A > 360.0 - g) flip();
        if (A < g - 180.0 && omega < kPi / 2.0) flip();
        if (omega > kPi / 2.0 && omega < kPi && A < g - 180.0) flip();
    } else if (g > 0.0 && g <= 90.0) {
        if (omega < 0.0) flip();
        if (A < g && afternoon) flip();
        if (A > g && omega > 0.0) flip();
        if (afternoon && A > 180.0 - g) flip();
    } else if (g > 270.0) {
        if (A < g - 180.0 && omega < kPi) flip();
        if (afternoon && A < g - 180.0) flip();
        if (afternoon && A < 180.0 && A > g - 180.0) flip();
        if (A < 360.0 - g && afternoon) flip();
    }

    // Beyond the polar circles the sun can stand due north or south at any hour; these rules
    // put such positions on the right side. The rounded values are compared as reals.
    const double nearA = std::nearbyint(A);
    const double nearOmega = std::nearbyint(omega);
    if (phi > kPolarCircle) {
        if (nearA == 180.0) {
            if (nearOmega == 0.0) flip();
            if (nearOmega == 6.0 && g <= 270.0) flip();
            if (nearOmega == 3.0 && g > 270.0 && A >= 180.0) flip();
        }
        if (g <= 270.0 && nearA == 0.0 && omega <= 0.0) flip();
        if (context.inclination == 0 && nearA == 180.0 && nearOmega != 3.0) P = 0.0;
        if (solarTime <= 0.0) flip();
    } else if (phi < -kPolarCircle) {
        // No flip for a surface facing between west and north when the midnight sun stands
        // due south shortly before solar midnight: the in-plane angle is already right there, and a
        // flip would throw the end of a polar-day curve across the chart.
        if (nearA == 180.0 && nearOmega == 3.0 && g <= 270.0) flip();
        if (g > 270.0 && nearA == 180.0 && omega <= 0.0) P = 270.0 - P + 2.0 * g;
        if (g <= 270.0 && A >= 180.0 && omega <= kPi) flip();
        if (context.inclination == 0 && nearA == 180.0 && nearOmega == 3.0) P = 0.0;
        if (solarTime <= 0.0) flip();
    }

    context.surfaceSunElevation = degrees(theta);
    double azimuth = P - g;
    if (azimuth < 0.0) {
        azimuth += 360.0;
    }
    context.surfaceSunAzimuth = azimuth;
}

SunshineTimes sunshineTimes(const SunContext& context, double latitude, double s1, double s2, double s3) {
    const double phi = latitude == 0.0 ? 1e-7 : latitude;
    const double delta = context.declination;
    const double tanDelta = std::tan(delta);

    const double c1 = std::sin(delta) * s1 + std::cos(delta) * s2;  // incidence cosine at solar noon
    const double c2 = std::sin(delta) * s1 - std::cos(delta) * s2;  // and at solar midnight
    const double x = std::tan(phi) * tanDelta;
    const double D = s2 * s2 + s3 * s3 - s1 * s1 * tanDelta * tanDelta;

    // Solar times of the two intervals.
    double r1 = 0.0;
    double r2 = 0.0;
    double t1 = 0.0;
    double t2 = 0.0;
    if (x >= -1.0) {  // else polar night: nothing shines
        double riseHorizon = 0.0;
        double setHorizon = 24.0;
        if (x > 1.0) {  // polar day
            r1 = 0.0;
            r2 = 24.0;
        } else {
            riseHorizon = hoursFromCosine(x);
            setHorizon = 24.0 - riseHorizon;
        }
        const double v = s2 * s2 + s3 * s3;
        if (D < 0.0) {  // the sun never crosses the surface plane
            if (c1 > 0.0) {
                r1 = riseHorizon;
                r2 = setHorizon;
            } else if (c1 < 0.0) {
                r1 = r2 = t1 = t2 = 0.0;
            }
        } else if (D > 0.0 && v > 0.0) {  // D > 0 already implies v > 0
            const double u = s1 * s2 * tanDelta;
            const double w = s3 * std::sqrt(D);
            const double ha = hoursFromCosine((u + w) / v);
            const double hb = hoursFromCosine((u - w) / v);
            const double haLate = 24.0 - ha;
            const double hbLate = 24.0 - hb;
            const bool eastern = context.orientation < 180;
            if (c2 < 0.0 && c1 > 0.0) {
                r1 = std::max(riseHorizon, ha);
                r2 = std::min(setHorizon, hbLate);
            } else if (c2 < 0.0 && eastern) {
                r1 = std::max(riseHorizon, ha);
                r2 = hb > r1 ? hb : riseHorizon;
            } else if (c2 < 0.0) {
                r1 = std::min(setHorizon, haLate);
                r2 = std::min(setHorizon, hbLate);
            } else if (c1 > 0.0 && eastern) {
                r1 = riseHorizon;
                r2 = std::min(setHorizon, hbLate);
                t1 = std::min(setHorizon, haLate);
                t2 = setHorizon;
            } else if (c1 > 0.0) {
                r1 = riseHorizon;
                r2 = std::max(riseHorizon, hb);
                t1 = std::max(riseHorizon, ha);
                t2 = setHorizon;
            } else {
                r1 = riseHorizon;
                r2 = std::max(riseHorizon, hb);
                t1 = std::min(setHorizon, haLate);
                t2 = setHorizon;
            }
        }
    }

    const double toClock = -context.equationOfTime - context.longitude / 15.0 + context.timeLag;
    return SunshineTimes{r1 + toClock, r2 + toClock, t1 + toClock, t2 + toClock};
}

}  // namespace zenova
