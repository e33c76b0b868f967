// Isobaric heat capacity of region 3 at (v, T), Btu/(lbm·°R).
#include "steam_frame.h"

namespace vireo::steam {

double region3HeatCapacity(double v, double t) {
    return regionProperty(2, RoutineName("CPVT3 "), v, t, comt3_, stm3_,
                          [](const Region3Terms& w) { return con(C::pcvcTc) * region3ReducedHeatCapacity(w); });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cpvt3_(const double* v, const double* t) {
    return vireo::steam::region3HeatCapacity(*v, *t);
}
