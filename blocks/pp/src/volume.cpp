// Volume from pressure and enthalpy or entropy, wet or superheated, and pressure or
// temperature from enthalpy and entropy. The wet region follows the saturation line by
// Clapeyron; the superheated side goes through the vapour-side inverse routines.
#include "steam_frame.h"

#include <algorithm>
#include <cmath>

namespace vireo::steam {
namespace {

// 144 in²/ft² over 778.169262 ft·lbf/Btu: dp/dT in psia/°F to Btu/(ft³·°R).
constexpr double kSlopeToEnergy = 0.1850497147377472;

double stored(int level, const RoutineName& name, double x, double y, double value) {
    recordCall(level, name, x, y);
    return levelResult(level) = value;
}

// h lies below the saturated vapour's at p, where region 3 lies beneath the line.
bool wetAboveRegion3Floor(double p, double h) {
    if (!(p > 2000.0 && p <= con(C::pc))) return false;
    const double ts = saturationTemperatureOf(p);
    return std::isfinite(ts) && h < vapourSide(Property::enthalpy, p, ts);
}

}  // namespace

double volumeOf(Property given, VolumeEntry entry, double p, double value) {
    const bool enthalpy = given == Property::enthalpy;
    static constexpr RoutineName kNames[2][3] = {{"VPH   ", "VPHW  ", "VPHD  "}, {"VPS   ", "VPSW  ", "VPSD  "}};
    const RoutineName& name = kNames[enthalpy ? 0 : 1][static_cast<int>(entry)];
    const int level = entry == VolumeEntry::wet ? 5 : 6;
    const int code = enthalpy ? 3 : 5;
    recordCall(level, name, p, value);
    bool wet = entry == VolumeEntry::wet;
    double t = 0.0;
    double g = 0.0;
    if (entry == VolumeEntry::wet ||
        (entry == VolumeEntry::either && p <= con(C::pc) && (!enthalpy || value < con(C::hUpperWet)))) {
        t = saturationTemperature(p);
        g = vapourSide(given, p, t);
        wet = wet || value <= g;
    }
    double v;
    if (wet) {
        checkRange(name, value, code, con(C::lowerWet), enthalpy ? con(C::hUpperWet) : con(C::sUpper));
        const double vg = vapourSide(Property::volume, p, t);
        const double energy = kSlopeToEnergy * saturationSlopeAt(p);
        v = enthalpy ? vg - (g - value) / (energy * (t + con(C::rankine))) : vg - (g - value) / energy;
    } else {
        if (enthalpy) {
            checkRange(name, value, code, con(C::hLower), con(C::hUpperSuperheated));
        } else {
            checkRange(name, value, code, con(C::sLowerSuperheated), con(C::sUpper));
        }
        t = enthalpy ? vapourTemperatureFromEnthalpy(VapourEntry::vapour, p, value)
                     : vapourTemperatureFromEntropy(VapourEntry::vapour, p, value);
        v = superheatedInRegion3(given, p, value, t, true) ? region3Volume(p, t, Region3Search::vapour)
                                                           : region2Volume(p, t);
    }
    return stored(level, name, p, value, v);
}

double wetPressure(double h, double s) {
    const RoutineName name("PHSW  ");
    recordCall(6, name, h, s);
    checkRange(name, h, 3, con(C::hLower), con(C::hUpperWet));
    checkRange(name, s, 5, con(C::lowerWet), con(C::sUpper));
    // The enthalpy at entropy 1.5 on the wet isobar through (s, h), whose slope is its
    // temperature: a fixed point in that slope.
    const double ds = 1.5 - s;
    double slope = 750.0;
    double h15 = 0.0;
    for (int pass = 1;; ++pass) {
        if (pass > 16) fail(name, -35, h, s);
        h15 = h + ds * slope;
        const double next = h15 * (1.32775 + (4.74595e-7 * h15 - 9.48775e-4) * h15) - 163.409;
        const bool settled = std::fabs(next - slope) < 10.0;
        slope = next;
        if (settled) break;
    }
    const double pa0 =
        std::exp((((-1.2600857e-11 * h15 + 6.2486862e-08) * h15 - 0.00012481385) * h15 + 0.12819008) * h15 - 49.071297);
    double pa = std::min(pa0, con(C::pc));
    double p2 = 0.95 * pa;
    const auto enthalpyAt = [s](double p) { return crossProperty(Property::enthalpy, CrossEntry::wet, p, s); };
    double h1 = enthalpyAt(pa);
    double h2 = enthalpyAt(p2);
    double p3 = pa * std::pow(p2 / pa, (h - h1) / (h2 - h1));
    for (int step = 1; step <= 6; ++step) {
        const double h3 = enthalpyAt(p3);
        const double dh = h - h3;
        pa = p2;
        h1 = h2;
        p2 = p3;
        h2 = h3;
        p3 = pa * std::pow(p2 / pa, (h - h1) / (h2 - h1));
        if (std::fabs(dh) < con(C::toleranceWet)) return stored(6, name, h, s, p3);
    }
    fail(name, -35, h, s);
}

// The superheated side: a secant-like search in ln p on the entropy of the vapour-side
// temperature of (p, h), its step grown while the sign holds and shrunk when it turns.
PressureAndTemperature superheatedPressure(bool wantsTemperature, double h, double s) {
    const RoutineName name = wantsTemperature ? RoutineName("THSD  ") : RoutineName("PHSD  ");
    recordCall(6, name, h, s);
    checkRange(name, h, 3, con(C::hLower), con(C::hUpperSuperheated));
    checkRange(name, s, 5, con(C::sLowerSuperheated), con(C::sUpper));
    const double pUpper = con(C::pUpper);
    const double hs = 6000.0 / (4.0 + s) / (950.0 + h);
    double p;
    double e;
    if (h < 1200.0 && s < 1.6) {
        p = pUpper;
        e = 31.0 * hs;
    } else {
        p = std::exp((-15.789006 + (0.044537925 + (-4.7685218e-05 + (2.1794554e-08 - 3.0128279e-12 * h) * h) * h) * h) /
                     (1.0 + (-0.0018413685 + 9.7990702e-07 * h) * h));
        e = 21.0 * hs;
        p *= std::exp(e * (1.9 - s));
        if (p > pUpper) p = 0.999999 * pUpper;
    }
    double ds = 0.0;
    double pValid = 0.0;  // the last pressure at which h was a vapour's
    for (int step = 1; step <= 60; ++step) {
        const double dsPrevious = ds;
        // Near saturation at high pressure a step may reach a pressure where h is wet;
        // the vapour side has no temperature there (region 3 lies below the line), so
        // the step is drawn back toward the last pressure that served.
        for (int retreat = 0; retreat < 60 && wetAboveRegion3Floor(p, h); ++retreat) {
            p = pValid > 0.0 ? 0.5 * (p + pValid) : std::min(1.01 * p, con(C::pc));
        }
        pValid = p;
        const double t = vapourTemperatureFromEnthalpy(VapourEntry::vapour, p, h);
        ds = vapourSide(Property::entropy, p, t) - s;
        if (ds * dsPrevious > 0.0) {
            ds *= 1.05;
            if (step == 2) ds *= 1.100000023841858;
        } else if (ds * dsPrevious < 0.0) {
            ds *= 0.9;
        }
        const double pPrevious = p;
        p = pPrevious * std::exp(e * ds);
        if (p > pUpper) p = pPrevious + 0.95 * (pUpper - pPrevious);
        if (std::fabs(ds) <= con(C::toleranceEntropy)) {
            recordCall(6, name, h, s);
            levelResult(6) = wantsTemperature ? t : p;
            return {p, t};
        }
    }
    fail(name, -35, h, s);
}

double pressureOrTemperature(bool wantsTemperature, double h, double s) {
    const RoutineName name = wantsTemperature ? RoutineName("THS   ") : RoutineName("PHS   ");
    recordCall(7, name, h, s);
    checkRange(name, s, 5, con(C::lowerWet), con(C::sUpper));
    if (h <= con(C::hUpperWet)) {
        const double c = ((((((-45.863755 * s + 560.93094) * s - 2827.2377) * s + 7504.2872) * s - 11059.326) * s +
                           8609.4758) *
                          s);
        const double hgEstimate = 1000.0 + (-2764.6397 + c) / (1.0 + (-1.3806761 + 0.51378357 * s) * s);
        if (h <= hgEstimate) {
            const double p = wetPressure(h, s);
            return wantsTemperature ? saturationTemperature(p) : p;
        }
    }
    const PressureAndTemperature found = superheatedPressure(wantsTemperature, h, s);
    return wantsTemperature ? found.t : found.p;
}

double pressureVolumeProduct(double p, double h) {
    const RoutineName name("PVPHW ");
    recordCall(6, name, p, h);
    return stored(6, name, p, h, p * volumeOf(Property::enthalpy, VolumeEntry::wet, p, h));
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::Property;
using vireo::steam::VolumeEntry;

VIREO_STEAM_ROUTINE double vph_(const double* p, const double* h) {
    return vireo::steam::volumeOf(Property::enthalpy, VolumeEntry::either, *p, *h);
}
VIREO_STEAM_ROUTINE double vphw_(const double* p, const double* h) {
    return vireo::steam::volumeOf(Property::enthalpy, VolumeEntry::wet, *p, *h);
}
VIREO_STEAM_ROUTINE double vphd_(const double* p, const double* h) {
    return vireo::steam::volumeOf(Property::enthalpy, VolumeEntry::superheated, *p, *h);
}
VIREO_STEAM_ROUTINE double vps_(const double* p, const double* s) {
    return vireo::steam::volumeOf(Property::entropy, VolumeEntry::either, *p, *s);
}
VIREO_STEAM_ROUTINE double vpsw_(const double* p, const double* s) {
    return vireo::steam::volumeOf(Property::entropy, VolumeEntry::wet, *p, *s);
}
VIREO_STEAM_ROUTINE double vpsd_(const double* p, const double* s) {
    return vireo::steam::volumeOf(Property::entropy, VolumeEntry::superheated, *p, *s);
}
VIREO_STEAM_ROUTINE double phs_(const double* h, const double* s) {
    return vireo::steam::pressureOrTemperature(false, *h, *s);
}
VIREO_STEAM_ROUTINE double ths_(const double* h, const double* s) {
    return vireo::steam::pressureOrTemperature(true, *h, *s);
}
VIREO_STEAM_ROUTINE double phsd_(const double* h, const double* s) {
    return vireo::steam::superheatedPressure(false, *h, *s).p;
}
VIREO_STEAM_ROUTINE double thsd_(const double* h, const double* s) {
    return vireo::steam::superheatedPressure(true, *h, *s).t;
}
VIREO_STEAM_ROUTINE double phsw_(const double* h, const double* s) { return vireo::steam::wetPressure(*h, *s); }
VIREO_STEAM_ROUTINE double pvphw_(const double* p, const double* h) {
    return vireo::steam::pressureVolumeProduct(*p, *h);
}

}  // extern "C"
