// Saturated liquid and saturated vapour at a temperature or at a pressure: fifteen
// entries of one routine, memoised at level 4 on their one argument. Up to 662 °F the
// liquid is region 1 and the vapour region 2; above, both are region 3, each from its own
// search, bounded so that it finds its own phase.
#include "steam_frame.h"

#include <cmath>

namespace vireo::steam {
namespace {

constexpr int kLevel = 4;

// By property, phase and argument. vsl_, hsl_ and ssl_ share the names of vft_, hft_ and
// sft_, and so their memo.
constexpr RoutineName kAtTemperature[3][2] = {{"VFT   ", "VGT   "}, {"HFT   ", "HGT   "}, {"SFT   ", "SGT   "}};
constexpr RoutineName kAtPressure[3][2] = {{"VFP   ", "VGP   "}, {"HFP   ", "HGP   "}, {"SFP   ", "SGP   "}};

double phaseProperty(Property property, Phase phase, double p, double t) {
    if (t > con(C::tRegion1Top)) {
        const auto entry = phase == Phase::liquid ? Region3Search::saturatedLiquid : Region3Search::saturatedVapour;
        return region3Property(property, region3Volume(p, t, entry), t);
    }
    return phase == Phase::liquid ? region1Property(property, p, t) : region2Property(property, p, t);
}

// The saturation line ends at the critical point exactly: there neither direction of it
// is asked.
double pressureAt(double t) { return t == con(C::tCritical) ? con(C::pc) : saturationPressure(t); }
double temperatureAt(double p) { return p == con(C::pc) ? con(C::tCritical) : saturationTemperature(p); }

template <class Other>
double saturated(const RoutineName& name, Property property, Phase phase, double x, bool atTemperature, Other other) {
    if (memoTest(kLevel, name, x, 0.0, false)) return levelResult(kLevel);
    const double recorded = levelArguments(kLevel)[0];
    const double y = other(recorded);
    const double value =
        atTemperature ? phaseProperty(property, phase, y, recorded) : phaseProperty(property, phase, recorded, y);
    return levelResult(kLevel) = value;
}

bool regionAccepts(Phase phase, double p, double t) {
    if (t > con(C::tRegion1Top)) {
        return region3VolumeAccepts(p, t, phase == Phase::liquid ? Region3Search::saturatedLiquid
                                                                 : Region3Search::saturatedVapour);
    }
    return phase == Phase::liquid ? inRegion1(p, t) : inRegion2(p, t);
}

}  // namespace

double saturatedAtTemperature(Property property, Phase phase, double t) {
    const RoutineName& name = kAtTemperature[static_cast<int>(property)][static_cast<int>(phase)];
    return saturated(name, property, phase, t, true, pressureAt);
}

double saturatedAtPressure(Property property, Phase phase, double p) {
    const RoutineName& name = kAtPressure[static_cast<int>(property)][static_cast<int>(phase)];
    return saturated(name, property, phase, p, false, temperatureAt);
}

bool saturatedAtTemperatureAccepts(Phase phase, double t) {
    if (!saturationPressureAccepts(t)) return false;
    return regionAccepts(phase, t == con(C::tCritical) ? con(C::pc) : saturationLine(t).p, t);
}

bool saturatedAtPressureAccepts(Phase phase, double p) {
    const double t = p == con(C::pc) ? con(C::tCritical) : saturationTemperatureOf(p);
    return !std::isnan(t) && regionAccepts(phase, p, t);
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Phase;
using vireo::steam::Property;
using vireo::steam::saturatedAtPressure;
using vireo::steam::saturatedAtTemperature;

VIREO_STEAM_ROUTINE double vft_(const double* t) { return saturatedAtTemperature(Property::volume, Phase::liquid, *t); }
VIREO_STEAM_ROUTINE double vsl_(const double* t) { return saturatedAtTemperature(Property::volume, Phase::liquid, *t); }
VIREO_STEAM_ROUTINE double vfp_(const double* p) { return saturatedAtPressure(Property::volume, Phase::liquid, *p); }
VIREO_STEAM_ROUTINE double vgt_(const double* t) { return saturatedAtTemperature(Property::volume, Phase::vapour, *t); }
VIREO_STEAM_ROUTINE double vgp_(const double* p) { return saturatedAtPressure(Property::volume, Phase::vapour, *p); }
VIREO_STEAM_ROUTINE double hft_(const double* t) {
    return saturatedAtTemperature(Property::enthalpy, Phase::liquid, *t);
}
VIREO_STEAM_ROUTINE double hsl_(const double* t) {
    return saturatedAtTemperature(Property::enthalpy, Phase::liquid, *t);
}
VIREO_STEAM_ROUTINE double hfp_(const double* p) { return saturatedAtPressure(Property::enthalpy, Phase::liquid, *p); }
VIREO_STEAM_ROUTINE double hgt_(const double* t) {
    return saturatedAtTemperature(Property::enthalpy, Phase::vapour, *t);
}
VIREO_STEAM_ROUTINE double hgp_(const double* p) { return saturatedAtPressure(Property::enthalpy, Phase::vapour, *p); }
VIREO_STEAM_ROUTINE double sft_(const double* t) { return saturatedAtTemperature(Property::entropy, Phase::liquid, *t); }
VIREO_STEAM_ROUTINE double ssl_(const double* t) { return saturatedAtTemperature(Property::entropy, Phase::liquid, *t); }
VIREO_STEAM_ROUTINE double sfp_(const double* p) { return saturatedAtPressure(Property::entropy, Phase::liquid, *p); }
VIREO_STEAM_ROUTINE double sgt_(const double* t) { return saturatedAtTemperature(Property::entropy, Phase::vapour, *t); }
VIREO_STEAM_ROUTINE double sgp_(const double* p) { return saturatedAtPressure(Property::entropy, Phase::vapour, *p); }

}  // extern "C"
