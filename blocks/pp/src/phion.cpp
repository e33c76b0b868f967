// Ion product of water by the equation of 1981 (density in g/cm³): log10 Kw and the pH
// of neutral water, -log10 Kw / 2, at the volume of the formulation.
#include "steam_frame.h"

#include <cmath>

namespace vireo::steam {
namespace {

constexpr RoutineName kNames[] = {"PHION ", "PHIONL", "PHIOND"};

}  // namespace

IonProduct ionProduct(Side side, double p, double t) {
    recordCall(5, kNames[static_cast<int>(side)], p, t);
    const double rho = (kKgPerCubicMetreInLbmPerCubicFoot / 1000.0) / sideVolume(side, p, t);
    const double tk = (t + 459.67) / 1.8;
    const double tk2 = tk * tk;
    const double logKw = -4.098 - 3245.2 / tk + 223620.0 / tk2 - 3.984e7 / (tk2 * tk) +
                         (13.957 - 1262.3 / tk + 856410.0 / tk2) * std::log10(rho);
    return {logKw, -logKw / 2.0};
}

}  // namespace vireo::steam

extern "C" {

namespace {

void phion(vireo::steam::Side side, const double* p, const double* t, double* logKw, double* ph) {
    const vireo::steam::IonProduct ion = vireo::steam::ionProduct(side, *p, *t);
    *logKw = ion.logKw;
    *ph = ion.ph;
}

}  // namespace

using vireo::steam::Side;

VIREO_STEAM_ROUTINE void phion_(const double* p, const double* t, double* logKw, double* ph) {
    phion(Side::either, p, t, logKw, ph);
}
VIREO_STEAM_ROUTINE void phionl_(const double* p, const double* t, double* logKw, double* ph) {
    phion(Side::liquid, p, t, logKw, ph);
}
VIREO_STEAM_ROUTINE void phiond_(const double* p, const double* t, double* logKw, double* ph) {
    phion(Side::vapour, p, t, logKw, ph);
}

}  // extern "C"
