// Relative dielectric constant of water and steam by the equation of 1980 (reference
// density 1000 kg/m³, reference temperature 298.15 K) at the volume of the formulation.
#include "steam_frame.h"

namespace vireo::steam {
namespace {

constexpr RoutineName kNames[] = {"EPSPT ", "EPSPTL", "EPSPTD"};
constexpr double a[] = {7.62571,  244.003, -140.569, 27.7841, -96.2805,
                        41.7909, -10.2099, -45.2059, 84.6395, -35.8644};

}  // namespace

double dielectricConstant(Side side, double p, double t) {
    recordCall(5, kNames[static_cast<int>(side)], p, t);
    const double rho = (kKgPerCubicMetreInLbmPerCubicFoot / sideVolume(side, p, t)) / 1000.0;
    const double tr = ((t + 459.67) / 1.8) / 298.15;
    return 1.0 + rho * (a[0] / tr + rho * (a[1] / tr + a[2] + a[3] * tr +
                                           rho * (a[4] / tr + a[5] * tr + a[6] * tr * tr +
                                                  rho * (a[7] / (tr * tr) + a[8] / tr + a[9]))));
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Side;

VIREO_STEAM_ROUTINE double epspt_(const double* p, const double* t) {
    return vireo::steam::dielectricConstant(Side::either, *p, *t);
}
VIREO_STEAM_ROUTINE double epsptl_(const double* p, const double* t) {
    return vireo::steam::dielectricConstant(Side::liquid, *p, *t);
}
VIREO_STEAM_ROUTINE double epsptd_(const double* p, const double* t) {
    return vireo::steam::dielectricConstant(Side::vapour, *p, *t);
}

}  // extern "C"
