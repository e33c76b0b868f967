// The sky-diffuse models of GH2GT (sky_models.h) for every caller, and the eccentricity
// factor they take.
#include "tilted.h"

#include "angles.h"
#include "sky_models.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {

TiltedIrradiance tiltedIrradiance(SkyModel model, const SunGeometry& sun, const Surface& surface, float global,
                                  float diffuse) {
    const float beta = surface.tilt * kRad;
    const SunTrig trig{std::cos(sun.incidence * kRad), std::cos(sun.zenith * kRad), std::sin(beta), std::cos(beta)};
    return sky::tilted(model, sun, trig, std::fabs(sun.incidence) < 90.0f, surface, global, diffuse);
}

TiltedIrradiance tiltedIrradiance(SkyModel model, const SunGeometry& sun, const SunTrig& trig,
                                  const Surface& surface, float global, float diffuse) {
    return sky::tilted(model, sun, trig, trig.cosIncidence > 0.0f, surface, global, diffuse);
}

float spencerEccentricity(float dayOfYear) {
    const float g = kTwoPi * (dayOfYear - 1.0f) / 365.0f;
    return 1.00011f + 0.034221f * std::cos(g) + 0.00128f * std::sin(g) + 0.000719f * std::cos(2.0f * g) +
           0.000077f * std::sin(2.0f * g);
}

}  // namespace vireo::em
