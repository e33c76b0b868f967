// Specific enthalpy of region 3 at (v, T), Btu/lbm.
#include "steam_frame.h"

namespace vireo::steam {

double region3Enthalpy(double v, double t) {
    return regionProperty(2, RoutineName("HVT3  "), v, t, comt3_, stm3_, [](const Region3Terms& w) {
        return con(C::pcvc) * (region3ReducedEnthalpy(w) + con(C::enthalpyShift));
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double hvt3_(const double* v, const double* t) {
    return vireo::steam::region3Enthalpy(*v, *t);
}
