//#Block MOONAE2
//#Description
// Topocentric position of the moon at the clock time of the inputs: azimuth, elevation
// with refraction, declination, hour angle and phase angle. The site is given in the
// second sign convention: longitude and time zone counted positive east of Greenwich.
//#Layout
//#Inputs 4--6
//#Outputs 5
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min); optional, 0 when not connected
//#IN[5] Second (s); optional, 0 when not connected
//#Outputs
//#OUT[0] Moon azimuth from north through east: north 0, east 90, south 180, west 270 (degrees)
//#OUT[1] Moon elevation above the horizon, refraction included (degrees)
//#OUT[2] Topocentric declination of the moon (degrees)
//#OUT[3] Topocentric hour angle of the moon, 0 to 360 (degrees)
//#OUT[4] Phase angle: 0 at full moon, 180 at new moon (degrees)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, east of Greenwich positive, -360 to 360 (degrees)
//#BP[2] Time zone, hours east of Greenwich, for example -5 or 1 (h)
//#Strings
//#None
//#Remarks
// Mean orbital elements of the moon and the sun with the main perturbation terms, about
// a quarter of a degree from the moon's true place. The elevation is taken with the
// geocentric latitude of the site and the phase angle with the sun's mean longitude,
// which may put them up to 0.2 and 2 degrees off. Refraction is added at every
// elevation; below -1 degree it keeps its value at -1 degree. A clock time that makes
// no number gives zeros. A latitude or longitude out of range, and a time zone that is
// no number or that, as hours west reduced into 0 to 24, rounds to 24, are errors at
// initialisation; a site at sea and a time zone more than two hours away from the
// longitude are warned about.
//#end
#include "blocks.h"

#include "exact_degrees.h"
#include "moon.h"
#include "site.h"
#include "solar.h"

#include <cmath>

namespace vireo::em {

MoonPosition moonPosition(float dayNumber, float ut, double latitude, double longitudeEast) {
    using namespace degrees;
    const double d = dayNumber;

    // The site on the geocentric sphere.
    const double phi = latitude - 0.1924 * sine(2.0 * latitude);
    const double rho = 0.99833 + 0.00167 * cosine(2.0 * latitude);

    // The moon's mean elements; distances in earth radii.
    const double node = reduced(125.1228 - 0.0529538083 * d);
    const double inclination = 5.1454;
    const double perigee = reduced(318.0634 + 0.1643573223 * d);
    const double a = 60.2666, e = 0.0549;
    const double anomaly = reduced(115.3654 + 13.0649929509 * d);
    const double meanLongitude = reduced(node + perigee + anomaly);

    double ecc = anomaly + kPerRadian * e * sine(anomaly) * (1.0 + e * cosine(anomaly));
    for (int k = 0; k < 2; ++k) ecc -= (ecc - kPerRadian * e * sine(ecc) - anomaly) / (1.0 - e * cosine(ecc));
    const double xv = a * (cosine(ecc) - e);
    const double yv = a * std::sqrt(1.0 - e * e) * sine(ecc);
    double r = std::sqrt(xv * xv + yv * yv);
    const double trueAnomaly = reduced(arcTangent2(yv, xv));

    const double u = trueAnomaly + perigee;
    const double x = r * (cosine(node) * cosine(u) - sine(node) * sine(u) * cosine(inclination));
    const double y = r * (sine(node) * cosine(u) + cosine(node) * sine(u) * cosine(inclination));
    const double z = r * sine(u) * sine(inclination);
    double lambda = reduced(arcTangent2(y, x));
    double beta = arcTangent2(z, std::sqrt(x * x + y * y));

    // The sun's mean elements, the sidereal time and the obliquity.
    const double sunPerigee = reduced(282.9404 + 4.70935e-5 * d);
    const double sunAnomaly = reduced(356.047 + 0.9856002585 * d);
    const double sunLongitude = reduced(sunPerigee + sunAnomaly);
    const double siderealHours = (sunLongitude + 180.0) / 15.0 + 24.0 * static_cast<double>(ut) + longitudeEast / 15.0;
    const double obliquity = 23.4393 - 3.563e-7 * d;

    const double D = meanLongitude - sunLongitude;
    const double F = meanLongitude - node;
    const double M = anomaly, Ms = sunAnomaly;
    lambda += 0.658 * sine(2 * D) - 1.274 * sine(M - 2 * D) - 0.186 * sine(Ms) - 0.059 * sine(2 * M - 2 * D) -
              0.057 * sine(M - 2 * D + Ms) + 0.053 * sine(M + 2 * D) + 0.046 * sine(2 * D - Ms) +
              0.041 * sine(M - Ms) - 0.035 * sine(D) - 0.031 * sine(M + Ms) - 0.015 * sine(2 * F - 2 * D) +
              0.011 * sine(M - 4 * D);
    beta += -0.173 * sine(F - 2 * D) - 0.055 * sine(M - F - 2 * D) - 0.046 * sine(M + F - 2 * D) +
            0.033 * sine(F + 2 * D) + 0.017 * sine(2 * M + F);
    r += -0.58 * cosine(M - 2 * D) - 0.46 * cosine(2 * D);

    // Equatorial coordinates.
    const double xe = r * cosine(lambda) * cosine(beta);
    const double ye = r * sine(lambda) * cosine(beta);
    const double ze = r * sine(beta);
    const double yq = ye * cosine(obliquity) - ze * sine(obliquity);
    const double zq = ye * sine(obliquity) + ze * cosine(obliquity);
    const double alpha = reduced(arcTangent2(yq, xe));
    const double delta = arcTangent2(zq, std::sqrt(xe * xe + yq * yq));

    // Topocentric place. The method's declination term, p rho sin(phi') sin(g - delta) /
    // sin(g) with tan(g) = tan(phi') / cos(H), is written out without g: on the equator
    // g is 0 and the quotient is 0/0, while the expanded form is its limit there and
    // equal to it everywhere else.
    const double parallax = arcSine(1.0 / r);
    const double hourAngle = reduced(15.0 * siderealHours - alpha);
    const double alphaTopo = alpha - parallax * rho * cosine(phi) * sine(hourAngle) / cosine(delta);
    const double deltaTopo =
        delta - parallax * rho * (sine(phi) * cosine(delta) - cosine(phi) * cosine(hourAngle) * sine(delta));
    const double hourTopo = reduced(15.0 * siderealHours - alphaTopo);

    MoonPosition p{};
    p.azimuth = reduced(arcTangent2(sine(hourTopo), cosine(hourTopo) * sine(phi) - tangent(deltaTopo) * cosine(phi)) +
                        180.0);
    const double h = arcSine(sine(phi) * sine(deltaTopo) + cosine(phi) * cosine(deltaTopo) * cosine(hourTopo));
    // Refraction in arc minutes; the formula has a pole near -5.11 degrees and means
    // nothing well below the horizon, so from -1 degree down it holds its value there.
    const double hr = h < -1.0 ? -1.0 : h;
    p.elevation = h + 1.02 / tangent(hr + 10.3 / (hr + 5.11)) / 60.0;
    p.declination = deltaTopo;
    p.hourAngle = hourTopo;
    p.phaseAngle = 180.0 - arcCosine(cosine(sunLongitude - lambda) * cosine(beta));
    return p;
}

namespace {

struct Parameters {
    float latitude, longitudeEast, zoneEast;
};
Parameters parametersOf(const moonae2_block::View& b) {
    using P = moonae2_block::P;
    return {b.par<P::latitude>(), b.par<P::longitude>(), b.par<P::timeZone>()};
}

}  // namespace

bool moonae2_block::checksHold(View& b) {
    const Parameters p = parametersOf(b);
    // The site checks speak the first sign convention: the zone as hours west, 0 to 23.
    return checkSite(b.reporter(), {p.latitude, -p.longitudeEast, floorMod(-p.zoneEast, 24.0f)});
}

void moonae2_block::step(View& b) {
    const Parameters p = parametersOf(b);
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(b.in(i, 0.0f))) {
            for (int k = 0; k < 5; ++k) b.out(k) = 0.0f;
            return;
        }
    const long long day = moonDayNumber(block::nearestInt(b.in(0)), block::nearestInt(b.in(1)), block::nearestInt(b.in(2)));
    // The zone as given: reduced into 0..24 it would put every western site a day early.
    const float ut = (b.in(3) - p.zoneEast + b.in(4, 0.0f) / 60.0f + b.in(5, 0.0f) / 3600.0f) / 24.0f;
    const float d = static_cast<float>(day) + ut;
    MoonPosition m{};
    if (std::isfinite(d) && std::isfinite(ut) && std::isfinite(p.latitude) && std::isfinite(p.longitudeEast))
        m = moonPosition(d, ut, p.latitude, p.longitudeEast);
    b.out(0) = static_cast<float>(m.azimuth);
    b.out(1) = static_cast<float>(m.elevation);
    b.out(2) = static_cast<float>(m.declination);
    b.out(3) = static_cast<float>(m.hourAngle);
    b.out(4) = static_cast<float>(m.phaseAngle);
}

}  // namespace vireo::em
