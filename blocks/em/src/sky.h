// The Perez tilted-surface model of 1990 and the sun's geometry over an hour, as SEDES3
// and the exported routines perez and geose compute them.
#ifndef VIREO_EM_SKY_H
#define VIREO_EM_SKY_H

#include <array>

namespace vireo::em {

// The brightening coefficients f11 f12 f13 f21 f22 f23 of the eight clearness bins.
using PerezCoefficients = std::array<std::array<double, 6>, 8>;
// Perez et al. (1990), all sites, to seven digits.
extern const PerezCoefficients kPerez1990;

// Irradiance on a tilted surface (W/m²): sky diffuse and ground-reflected, and the total
// with the beam.
struct PerezIrradiance {
    double diffuse, total;
};

// Perez et al. (1990, the all-sites coefficients) from the global, beam-normal and diffuse
// irradiance, the sun's zenith angle, its incidence angle on the surface and the surface's
// tilt (degrees), with the air mass and the extraterrestrial normal irradiance that set
// the sky's brightness. A value above 9998 (not measured) gives 9999 in both results; no
// diffuse or global irradiance, or a zenith angle outside 0 to 87.5 degrees, gives 0. On
// skies that no sky gives every part stays at least 0, and the beam and the circumsolar
// sky together bring the surface at most the extraterrestrial irradiance on it.
PerezIrradiance perezTilted(double global, double beamNormal, double diffuse, double zenith, double incidence,
                            double tilt, double airMass, double extraterrestrial,
                            const PerezCoefficients& coefficients = kPerez1990);
// The same with Kasten's air mass (reaching to 93.9 degrees) and the solar constant, 1367 W/m².
PerezIrradiance perezTilted(double global, double beamNormal, double diffuse, double zenith, double incidence,
                            double tilt);

// The sun at the twelve instants 60, 55, ..., 5 minutes before a time of day (solar time):
// zenith angle (degrees), relative air mass (Kasten and Young) and incidence angle on a
// surface of the given tilt facing the equator (degrees). At an instant with the sun at or
// below the horizon the zenith angle is 90 or more, the incidence angle 90 and the air
// mass 0.
inline constexpr int kHourInstants = 12;
struct HourGeometry {
    float zenith[kHourInstants], airMass[kHourInstants], incidence[kHourInstants];
};
HourGeometry hourGeometry(float latitude, float tilt, int day, int hour, int minute);

}  // namespace vireo::em

#endif
