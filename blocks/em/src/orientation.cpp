#include "orientation.h"

#include "Numbers.h"
#include "angles.h"
#include "routines.h"

#include <cmath>

// The areas are shared by every instance by design: a block fills its area right before
// each of its searches, within one call, so nothing of one instance reaches another.
float cem0031[6] = {};
float cem0032[3] = {};

namespace vireo::em {

float rowShadowReach(float beta, const float* area) {
    const float cosPsi = area[0], cotAlpha = area[1], d = area[2], l = area[3], sinPsi = area[4], tanPhi = area[5];
    return l * (std::cos(beta) + cosPsi * cotAlpha * std::sin(beta) / std::sqrt(1.0f + sinPsi * sinPsi * tanPhi * tanPhi)) - d;
}

double tiltIncidence(double beta, const float* area) {
    // Sine and cosine of the elevation arrive rounded to single precision; scaled back
    // onto the unit circle, the arc cosine has no flat top near the smallest incidence.
    const double sinAlpha = area[0], cosAlpha = area[1], cosPsi = area[2];
    const double length = std::hypot(sinAlpha, cosAlpha);
    const double c = std::cos(beta) * sinAlpha + cosAlpha * std::sin(beta) * cosPsi;
    return block::acosClamped(length > 0.0 ? c / length : c);
}

TurnedIncidence turnedIncidence(double phi, double psi, double alpha, double betaf, double dgamma, double gamma0) {
    const TurnedSurface s = turnSurface(betaf, phi);
    const double gamma = s.horizontal ? gamma0 : static_cast<double>(kPi) + dgamma + s.azimuthOffset;
    const double c = std::cos(psi - gamma) * std::sin(s.tilt) * std::cos(alpha) + std::cos(s.tilt) * std::sin(alpha);
    return {block::acosClamped(c), s.tilt, gamma};
}

}  // namespace vireo::em

extern "C" {

float fem0031(const float* beta) { return vireo::em::rowShadowReach(*beta, cem0031); }

float fem0032(const float* beta) { return static_cast<float>(vireo::em::tiltIncidence(*beta, cem0032)); }

float fem0038(const float* phi, const float* psi, const float* alpha, const float* betaf, const float* dgamma,
              const float* gamma0, float* beff, float* gamma) {
    const auto t = vireo::em::turnedIncidence(*phi, *psi, *alpha, *betaf, *dgamma, *gamma0);
    *beff = static_cast<float>(t.tilt);
    *gamma = static_cast<float>(t.azimuth);
    return static_cast<float>(t.incidence);
}

}  // extern "C"
