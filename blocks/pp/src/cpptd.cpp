// Isobaric heat capacity on the vapour side at (p, T), Btu/(lbm·°R), with the region
// choice of the other vapour-side properties.
#include "steam_frame.h"

namespace vireo::steam {

double vapourHeatCapacity(double p, double t) {
    return memoised(4, RoutineName("CPPTD "), p, t, [](double p, double t) {
        if (p > vapourBoundary(t)) return region3HeatCapacity(region3Volume(p, t, Region3Search::vapour), t);
        return region2HeatCapacity(p, t);
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cpptd_(const double* p, const double* t) {
    return vireo::steam::vapourHeatCapacity(*p, *t);
}
