// Perez et al. (1990): the sky's diffuse irradiance on a tilted surface as an isotropic
// part, a circumsolar part and a horizon band, weighted by brightening functions of the
// sky's clearness and brightness. Double precision.
#include "sky.h"

#include "atmosphere.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {
namespace {

constexpr double kRadians = 0.0174532924;
constexpr double kNotMeasured = 9998.0;
constexpr double kMissing = 9999.0;
// The ground in front of the surface; single precision, as it has always been.
constexpr double kGroundReflectance = 0.2f;
// The zenith-angle correction of the clearness, for angles in degrees (1.041 per radian cubed).
constexpr double kKappa = 5.534e-6;
constexpr double kCos85 = 0.0871557;

// The upper limits of the first seven clearness bins; the eighth is open.
constexpr double kClearnessLimit[7] = {1.065, 1.23, 1.5, 1.95, 2.8, 4.5, 6.2};
constexpr double kMaxZenith = 87.5;

}  // namespace

// f11 f12 f13 of the circumsolar and f21 f22 f23 of the horizon brightening, by bin.
const PerezCoefficients kPerez1990 = {{
    {{-0.0083117, 0.5877285, -0.0620636, -0.0596012, 0.0721249, -0.0220216}},
    {{0.1299457, 0.6825954, -0.1513752, -0.0189325, 0.0659650, -0.0288748}},
    {{0.3296958, 0.4868735, -0.2210958, 0.0554140, -0.0639588, -0.0260542}},
    {{0.5682053, 0.1874525, -0.2951290, 0.1088631, -0.1519229, -0.0139754}},
    {{0.8730280, -0.3920403, -0.3616149, 0.2255647, -0.4620442, 0.0012448}},
    {{1.1326077, -1.2367284, -0.4118494, 0.2877813, -0.8230357, 0.0558651}},
    {{1.0601591, -1.5999137, -0.3589221, 0.2642124, -1.1272340, 0.1310694}},
    {{0.6777470, -0.3272588, -0.2504286, 0.1561313, -1.3765031, 0.2506212}},
}};

PerezIrradiance perezTilted(double global, double beamNormal, double diffuse, double zenith, double incidence,
                            double tilt, double airMass, double extraterrestrial,
                            const PerezCoefficients& coefficients) {
    if (global > kNotMeasured || beamNormal > kNotMeasured || diffuse > kNotMeasured) return {kMissing, kMissing};
    if (diffuse == 0.0 || global == 0.0 || zenith < 0.0 || zenith > kMaxZenith) return {0.0, 0.0};

    // Skies that no sky gives are held to what the physics allows; ordinary skies never
    // reach these bounds. No beam is below 0 or stronger than the extraterrestrial one.
    const double beam = std::clamp(beamNormal, 0.0, std::max(extraterrestrial, 0.0));
    const double a = std::max(0.0, std::cos(incidence * kRadians));
    const double b = std::max(kCos85, std::cos(zenith * kRadians));
    // No diffuse irradiance along the sun's path outshines the extraterrestrial one: beyond
    // a brightness of 1 (a bright diffuse irradiance under a low sun) the brightening
    // functions grow without bound.
    const double brightness = std::min(airMass * diffuse / extraterrestrial, 1.0);
    const double z3 = kKappa * zenith * zenith * zenith;
    const double clearness = ((diffuse + beam) / diffuse + z3) / (1.0 + z3);
    // A clearness on a limit belongs to the bin below it.
    int bin = 0;
    while (bin < 7 && !(clearness <= kClearnessLimit[bin])) ++bin;
    const auto& f = coefficients[bin];
    const double z = zenith * kRadians;
    const double f1 = std::max(0.0, f[0] + f[1] * brightness + f[2] * z);
    const double f2 = f[3] + f[4] * brightness + f[5] * z;

    const double cb = std::cos(tilt * kRadians);
    const double isotropic = diffuse * (1.0 + cb) / 2.0;
    // The circumsolar part is sunlight too: with the beam, at most the extraterrestrial
    // irradiance on the surface. No part of the sky sends less than nothing.
    const double room = a * std::max(0.0, extraterrestrial - beam);
    const double aureole = f1 * diffuse * a / b > room ? room / f1 : diffuse * a / b;
    const double sky = std::max(0.0, f1 * (aureole - isotropic) + isotropic + f2 * diffuse * std::sin(tilt * kRadians));
    const double tilted = sky + kGroundReflectance * std::max(0.0, global) * (1.0 - cb) / 2.0;
    return {tilted, a * beam + tilted};
}

PerezIrradiance perezTilted(double global, double beamNormal, double diffuse, double zenith, double incidence,
                            double tilt) {
    constexpr double kReach = 93.9;
    const double m = kastenAirMass(zenith, std::cos(zenith * kRadians), 0.0, kReach);
    return perezTilted(global, beamNormal, diffuse, zenith, incidence, tilt, m, 1367.0);
}

}  // namespace vireo::em
