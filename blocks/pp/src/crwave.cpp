// sqrt(a / (rho_f - rho_g)) on the saturation line at T, densities in lbm/ft³: the scale
// of a capillary wave between the saturated phases for a factor a of the caller's.
#include "steam_frame.h"

#include <cmath>

namespace vireo::steam {

double capillaryWave(double t, double a) {
    recordCall(5, RoutineName("CRWAVE"), t, a);
    const double psat = saturationPressure(t);
    const double liquid = 1.0 / liquidSide(Property::volume, psat, t);
    const double vapour = 1.0 / vapourSide(Property::volume, psat, t);
    return std::sqrt(a / (liquid - vapour));
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double crwave_(const double* t, const double* a) {
    return vireo::steam::capillaryWave(*t, *a);
}
