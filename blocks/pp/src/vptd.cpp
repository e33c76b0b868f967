// The vapour side at (p, T): superheated vapour by region 2 up to the 2/3 boundary, above
// it region 3 from the vapour-side volume search. Below 462 °F (200 °F under region 3)
// the boundary is taken as 16000 psia, the upper limit, so region 2 serves every
// pressure there. The caller has chosen the side; the saturation line is not tested.
#include "steam_frame.h"

namespace vireo::steam {
namespace {

constexpr int kLevel = 4;
constexpr RoutineName kNames[] = {"VPTD  ", "HPTD  ", "SPTD  "};

}  // namespace

double vapourBoundary(double t) {
    return t >= con(C::tRegion1Top) - 200.0 ? boundary23Pressure(t) : con(C::pUpper);
}

double vapourSide(Property property, double p, double t) {
    return memoised(kLevel, kNames[static_cast<int>(property)], p, t, [property](double p, double t) {
        if (p > vapourBoundary(t)) return region3Property(property, region3Volume(p, t, Region3Search::vapour), t);
        return region2Property(property, p, t);
    });
}

int vapourSideRegion(double p, double t) {
    if (!(t >= con(C::tRegion1Top) - 200.0)) return p > con(C::pUpper) ? 3 : 2;
    if (!boundary23PressureAccepts(t)) return 0;
    return p > boundary23Line(t) ? 3 : 2;
}

bool vapourSideAccepts(double p, double t) {
    switch (vapourSideRegion(p, t)) {
    case 2:
        return inRegion2(p, t);
    case 3:
        return region3VolumeAccepts(p, t, Region3Search::vapour);
    default:
        return false;
    }
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Property;

VIREO_STEAM_ROUTINE double vptd_(const double* p, const double* t) {
    return vireo::steam::vapourSide(Property::volume, *p, *t);
}
VIREO_STEAM_ROUTINE double hptd_(const double* p, const double* t) {
    return vireo::steam::vapourSide(Property::enthalpy, *p, *t);
}
VIREO_STEAM_ROUTINE double sptd_(const double* p, const double* t) {
    return vireo::steam::vapourSide(Property::entropy, *p, *t);
}

}  // extern "C"
