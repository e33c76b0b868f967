// The volume of a region-3 state at (p, T): region 3 gives pressure from volume, so its
// properties at a pressure come from a search for the volume. Five entries share the
// search and differ in name, bounds and start; each call starts the search afresh, so
// only the memo carries over from one call to the next.
#include "steam_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vireo::steam {
namespace {

constexpr int kLevel = 3;
constexpr RoutineName kNames[] = {"VPT3  ", "VPT3L ", "VPT3D ", "VPTF3 ", "VPTG3 "};

const RoutineName& nameOf(Region3Search entry) { return kNames[static_cast<int>(entry)]; }

// Start volumes, ft³/lbm: an empirical fit of the liquid volume, and the ideal gas with a
// compressibility of about 0.55 for the vapour.
double liquidStart(double p, double t) { return (t - 482.0) * (0.077 + 92.8 / p) / (58.0 + t); }
double vapourStart(double p, double t) { return 0.3 * (t + con(C::rankine)) / p; }

enum class Plan { search, criticalPoint, refused };
struct Planned {
    Plan plan;
    VolumeSearch search;
};

// Bounds and start of an entry, after its own range test. saturation(t) gives the
// saturation pressure where the entry needs it: the routine's own, which ends the
// process for a temperature it refuses, or one that answers NaN there.
template <class Saturation>
Planned plan(Region3Search entry, double p, double t, Saturation saturation) {
    const double pc = con(C::pc);
    const double tCritical = con(C::tCritical);
    const double vc = con(C::vc);
    const Planned refused{Plan::refused, {}};
    VolumeSearch search{con(C::vLower3), con(C::vUpper3), 0.0};
    bool liquid = true;
    switch (entry) {
    case Region3Search::bySaturation: {
        // Above the critical temperature every state starts as a liquid.
        const double pline = t < tCritical ? saturation(t) : pc;
        if (std::isnan(pline)) return refused;
        liquid = p >= pline;
        break;
    }
    case Region3Search::liquid:
        break;
    case Region3Search::vapour:
        liquid = false;
        break;
    case Region3Search::saturatedLiquid:
    case Region3Search::saturatedVapour: {
        const double pline = saturation(t);
        if (std::isnan(pline)) return refused;
        const double dp = std::max(1e-6 * pline, con(C::tolerance));
        // The bounds keep the search off the other phase's root, which approaches the
        // critical volume from the other side as T nears the critical temperature.
        if (entry == Region3Search::saturatedLiquid) {
            liquid = true;
            search.upper = vc * (t / tCritical) * (t / tCritical);
            if (!(p <= con(C::pUpper) && p >= pline - dp)) return refused;
        } else {
            liquid = false;
            search.lower = vc * (tCritical / t) * (tCritical / t);
            if (!(p >= con(C::pLower) && p <= pline + dp)) return refused;
        }
        break;
    }
    }
    if (p == pc && t == tCritical) return {Plan::criticalPoint, search};
    search.start = liquid ? liquidStart(p, t) : vapourStart(p, t);
    // Written so that a NaN pressure is out of range too.
    if (!(p <= con(C::pUpper) && p >= con(C::pLowerSearch))) return refused;
    return {Plan::search, search};
}

}  // namespace

double region3Volume(double p, double t, Region3Search entry) {
    const RoutineName& name = nameOf(entry);
    return memoised(kLevel, name, p, t, [&](double p, double t) {
        const Planned planned = plan(entry, p, t, saturationPressure);
        if (planned.plan == Plan::criticalPoint) return con(C::vc);
        if (planned.plan == Plan::refused) fail(name, 12, p, t);
        const VolumeFound found = searchVolume(p, planned.search, [t](double v) { return region3Pressure(v, t); });
        if (!found.converged) fail(name, -12, p, t);
        return found.v;
    });
}

bool region3VolumeAccepts(double p, double t, Region3Search entry) {
    const auto saturation = [](double t) {
        return saturationPressureAccepts(t) ? saturationLine(t).p : std::numeric_limits<double>::quiet_NaN();
    };
    const Planned planned = plan(entry, p, t, saturation);
    if (planned.plan != Plan::search) return planned.plan == Plan::criticalPoint;
    // The search evaluates only volumes within region 3's bounds; what region 3 can
    // still refuse is the temperature.
    if (!inRegion3(con(C::vLower3), t)) return false;
    Region3Terms w{};
    const VolumeFound found = searchVolume(p, planned.search, [&w, t](double v) {
        region3Terms(w, v, t);
        return con(C::pc) * region3ReducedPressure(w);
    });
    return found.converged;
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Region3Search;

VIREO_STEAM_ROUTINE double vpt3_(const double* p, const double* t) {
    return vireo::steam::region3Volume(*p, *t, Region3Search::bySaturation);
}
VIREO_STEAM_ROUTINE double vpt3l_(const double* p, const double* t) {
    return vireo::steam::region3Volume(*p, *t, Region3Search::liquid);
}
VIREO_STEAM_ROUTINE double vpt3d_(const double* p, const double* t) {
    return vireo::steam::region3Volume(*p, *t, Region3Search::vapour);
}
VIREO_STEAM_ROUTINE double vptf3_(const double* p, const double* t) {
    return vireo::steam::region3Volume(*p, *t, Region3Search::saturatedLiquid);
}
VIREO_STEAM_ROUTINE double vptg3_(const double* p, const double* t) {
    return vireo::steam::region3Volume(*p, *t, Region3Search::saturatedVapour);
}

}  // extern "C"
