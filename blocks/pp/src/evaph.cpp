// Enthalpy of evaporation at a pressure in Pa, in J/kg: the vapour-side less the
// liquid-side enthalpy at the saturation temperature, both on the library's own lines.
#include "steam_frame.h"

namespace vireo::steam {

double evaporationEnthalpy(double pPascal) {
    const double p = pa2psi_(&pPascal);
    const double ts = saturationTemperature(p);
    return (vapourSide(Property::enthalpy, p, ts) - liquidSide(Property::enthalpy, p, ts)) * 2326.0;
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double evaph_(const double* p) { return vireo::steam::evaporationEnthalpy(*p); }
