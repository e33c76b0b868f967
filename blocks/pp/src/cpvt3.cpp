// Isobaric heat capacity of region 3 at (v, T), Btu/(lbm·°R).
#include "steam_frame.h"

namespace vireo::steam {

double region3HeatCapacity(double v, double t) {
    return memoised(2, RoutineName("CPVT3 "), v, t, [](const double& v, const double& t) {
        comt3_(&v, &t);
        // The second derivatives in volume only this routine asks for: the volume search
        // evaluates the pressure far more often than anything needs a heat capacity.
        region3CurvatureTerms(stm3_);
        return con(C::pcvcTc) * region3ReducedHeatCapacity(stm3_);
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cpvt3_(const double* v, const double* t) {
    return vireo::steam::region3HeatCapacity(*v, *t);
}
