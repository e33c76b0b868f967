// Isobaric heat capacity of region 3 at (p, T), Btu/(lbm·°R), at the volume that the
// search starting on the saturation pressure's side finds.
#include "steam_frame.h"

namespace vireo::steam {

double region3HeatCapacityAt(double p, double t) {
    return memoised(4, RoutineName("CPPT3 "), p, t, [](double p, double t) {
        return region3HeatCapacity(region3Volume(p, t, Region3Search::bySaturation), t);
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cppt3_(const double* p, const double* t) {
    return vireo::steam::region3HeatCapacityAt(*p, *t);
}
