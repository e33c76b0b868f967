// Refractive index of water and steam by the equation of 1997 (reference density
// 1000 kg/m³, temperature 273.15 K, wavelength 0.589 µm), from the Lorentz-Lorenz form
// (n² - 1) / (n² + 2) = rho R, at the volume of the formulation. The equation holds for
// 0 to 16000 psia, 25 to 932 °F and 0.2 to 1.1 µm; outside, or for NaN, the process ends.
#include "steam_frame.h"

#include <cmath>

namespace vireo::steam {
namespace {

constexpr RoutineName kNames[] = {"REFRAC", "REFRCL", "REFRCD"};
constexpr double a[] = {0.243905091,  0.00953518094, -0.0036435811, 0.000265666426,
                        0.00159189325, 0.00245733798, 0.897478251,   -0.0163066183};
// The squares of the reduced ultraviolet and infrared resonance wavelengths.
constexpr double kUltraviolet2 = 0.052533556803999994;
constexpr double kInfrared2 = 29.516804445968997;

}  // namespace

bool refractiveIndexAccepts(double p, double t, double lambda) {
    return p >= 0.0 && p <= 16000.0 && t >= 25.0 && t <= 932.0 && lambda >= 0.2 && lambda <= 1.1;
}

double refractiveIndex(Side side, double p, double t, double lambda) {
    recordCall(5, kNames[static_cast<int>(side)], p, t);
    if (!refractiveIndexAccepts(p, t, lambda)) fail(RoutineName("REFRAC"), 12, p, t);
    const double rho = (kKgPerCubicMetreInLbmPerCubicFoot / sideVolume(side, p, t)) / 1000.0;
    const double tr = ((t + 459.67) / 1.8) / 273.15;
    const double l2 = (lambda / 0.589) * (lambda / 0.589);
    const double r = a[0] + a[1] * rho + a[2] * tr + a[3] * l2 * tr + a[4] / l2 + a[5] / (l2 - kUltraviolet2) +
                     a[6] / (l2 - kInfrared2) + a[7] * rho * rho;
    const double term = rho * r;
    return std::sqrt((2.0 * term + 1.0) / (1.0 - term));
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Side;

VIREO_STEAM_ROUTINE double refrac_(const double* p, const double* t, const double* lambda) {
    return vireo::steam::refractiveIndex(Side::either, *p, *t, *lambda);
}
VIREO_STEAM_ROUTINE double refrcl_(const double* p, const double* t, const double* lambda) {
    return vireo::steam::refractiveIndex(Side::liquid, *p, *t, *lambda);
}
VIREO_STEAM_ROUTINE double refrcd_(const double* p, const double* t, const double* lambda) {
    return vireo::steam::refractiveIndex(Side::vapour, *p, *t, *lambda);
}

}  // extern "C"
