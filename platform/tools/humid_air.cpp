// Humid air at 101 325 Pa after ASHRAE Handbook - Fundamentals, chapter 1: the humidity
// ratio from the partial pressure of the vapour, the enthalpy of the mixture per kg of dry
// air, and their closed-form inverses. The saturation pressure is the tools' own (over ice
// below the triple point). Secant searches of the air-treatment blocks step past
// saturation and below zero humidity, so every form stays finite and monotone there.
#include "properties.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo_tools::properties::humid {
namespace {

constexpr double kRatio = 621.945;  // g/kg, the molar mass ratio of water and dry air
constexpr double kLowC = -100.0, kHighC = 200.0;
// Past this share of the total pressure the vapour's humidity ratio goes on along its
// tangent: the state cannot exist at this pressure, but a search must still see a slope.
constexpr double kVapourShare = 0.99;

bool outside(double t) { return t < kLowC || t > kHighC; }

double saturation(double t) {
    return water::saturationPressure(2, t < kLowC ? kLowC : (t > kHighC ? kHighC : t)).value;
}

}  // namespace

Value ratioFromRelative(double phi, double t) {
    if (!std::isfinite(phi) || !std::isfinite(t)) return {0.0, kNotANumber};
    const double pw = phi * saturation(t);
    const double limit = kVapourShare * kPressure;
    const int status = outside(t) || phi < 0.0 ? kOutsideRange : kInRange;
    if (pw <= limit) return {kRatio * pw / (kPressure - pw), status};
    const double rest = kPressure - limit;
    return {kRatio * limit / rest + kRatio * kPressure / (rest * rest) * (pw - limit), kOutsideRange};
}

Value relativeFromRatio(double x, double t) {
    if (!std::isfinite(x) || !std::isfinite(t)) return {0.0, kNotANumber};
    // Below zero the vapour pressure goes on along its tangent at zero.
    const double pw = x >= 0.0 ? kPressure * x / (kRatio + x) : kPressure * x / kRatio;
    return {pw / saturation(t), outside(t) ? kOutsideRange : kInRange};
}

double enthalpy(double x, double t) {
    if (!std::isfinite(x) || !std::isfinite(t)) return 0.0;
    return 1.006 * t + x * 1.0e-3 * (2501.0 + 1.86 * t);
}

Value temperatureFromEnthalpy(double x, double h) {
    if (!std::isfinite(x) || !std::isfinite(h)) return {0.0, kNotANumber};
    // The heat capacity of the mixture stays positive for any humidity a search may try.
    const double capacity = 1.006 + 1.86e-3 * (x > -500.0 ? x : -500.0);
    const double t = (h - 2.501 * x) / capacity;
    return {t, outside(t) ? kOutsideRange : kInRange};
}

Value ratioFromEnthalpy(double t, double h) {
    if (!std::isfinite(t) || !std::isfinite(h)) return {0.0, kNotANumber};
    const double latent = 2501.0 + 1.86 * (t > -kKelvin ? t : -kKelvin);
    return {1000.0 * (h - 1.006 * t) / latent, outside(t) ? kOutsideRange : kInRange};
}

}  // namespace vireo_tools::properties::humid

namespace {

namespace humid = vireo_tools::properties::humid;
using vireo_tools::properties::handOn;


}  // namespace

extern "C" {

float humr2a(const float* phi, const float* t, int* status) { return handOn(humid::ratioFromRelative(*phi, *t), status); }
float huma2r(const float* x, const float* t, int* status) { return handOn(humid::relativeFromRatio(*x, *t), status); }
float humh(const float* x, const float* t) { return static_cast<float>(humid::enthalpy(*x, *t)); }
float humh2t(const float* x, const float* h, int* status) {
    return handOn(humid::temperatureFromEnthalpy(*x, *h), status);
}
float humh2x(const float* t, const float* h, int* status) { return handOn(humid::ratioFromEnthalpy(*t, *h), status); }

}  // extern "C"
