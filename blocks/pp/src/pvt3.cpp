// Pressure of region 3 at (v, T), psia.
#include "steam_frame.h"

namespace vireo::steam {

double region3Pressure(double v, double t) {
    return regionProperty(2, RoutineName("PVT3  "), v, t, comt3_, stm3_,
                          [](const Region3Terms& w) { return con(C::pc) * region3ReducedPressure(w); });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double pvt3_(const double* v, const double* t) {
    return vireo::steam::region3Pressure(*v, *t);
}
