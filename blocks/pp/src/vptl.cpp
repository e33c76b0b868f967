// The liquid side at (p, T): compressed liquid by region 1 up to 662 °F, above it region 3
// from the liquid-side volume search. The caller has chosen the side; the saturation line
// is not tested.
#include "steam_frame.h"

namespace vireo::steam {
namespace {

constexpr int kLevel = 4;
constexpr RoutineName kNames[] = {"VPTL  ", "HPTL  ", "SPTL  "};

}  // namespace

double liquidSide(Property property, double p, double t) {
    return memoised(kLevel, kNames[static_cast<int>(property)], p, t, [property](double p, double t) {
        if (t > con(C::tRegion1Top)) return region3Property(property, region3Volume(p, t, Region3Search::liquid), t);
        return region1Property(property, p, t);
    });
}

bool liquidSideAccepts(double p, double t) {
    if (t > con(C::tRegion1Top)) return region3VolumeAccepts(p, t, Region3Search::liquid);
    return inRegion1(p, t);
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Property;

VIREO_STEAM_ROUTINE double vptl_(const double* p, const double* t) {
    return vireo::steam::liquidSide(Property::volume, *p, *t);
}
VIREO_STEAM_ROUTINE double vcl_(const double* p, const double* t) {
    return vireo::steam::liquidSide(Property::volume, *p, *t);
}
VIREO_STEAM_ROUTINE double hptl_(const double* p, const double* t) {
    return vireo::steam::liquidSide(Property::enthalpy, *p, *t);
}
VIREO_STEAM_ROUTINE double sptl_(const double* p, const double* t) {
    return vireo::steam::liquidSide(Property::entropy, *p, *t);
}

}  // extern "C"
