// Isobaric heat capacity on the liquid side at (p, T), Btu/(lbm·°R): region 1 below
// 662 °F, region 3 from the liquid-side search from 662 °F on. At 662 °F itself the
// other liquid-side properties still take region 1; the two regions join there within
// the formulation's own inconsistency.
#include "steam_frame.h"

namespace vireo::steam {

double liquidHeatCapacity(double p, double t) {
    return memoised(4, RoutineName("CPPTL "), p, t, [](double p, double t) {
        if (t < con(C::tRegion1Top)) return region1HeatCapacity(p, t);
        return region3HeatCapacity(region3Volume(p, t, Region3Search::liquid), t);
    });
}

bool liquidHeatCapacityAccepts(double p, double t) {
    if (t < con(C::tRegion1Top)) return inRegion1(p, t);
    return region3VolumeAccepts(p, t, Region3Search::liquid);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cpptl_(const double* p, const double* t) {
    return vireo::steam::liquidHeatCapacity(*p, *t);
}
