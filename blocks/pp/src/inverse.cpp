// Temperature from pressure and enthalpy or entropy, on the vapour side and on the
// liquid side, and the steam quality: secant iterations over the forward routines from a
// fitted start (inverse_starts.inc) that is often good enough to take as it is.
#include "inverse_start.h"
#include "steam_frame.h"

#include <algorithm>
#include <cmath>

namespace vireo::steam {
namespace {

constexpr int kLevel = 5;
constexpr double kTopTemperature = 1600.0;

// The vapour side gives no state below the saturation line once region 3 lies beneath
// it (from about 2000 psia to the critical pressure): iterates are kept above that
// floor, since a step below it would end the process for a state the routine can answer.
double vapourFloor(double p) {
    if (p > 2000.0 && p <= con(C::pc)) {
        const double t = saturationTemperatureOf(p);
        if (std::isfinite(t)) return t;
    }
    return con(C::tLower);
}

// The weights of the vapour-side secant steps: the old slope counts more and more as
// the steps go on, so that a swinging iteration settles.
struct SecantWeights {
    double a1 = 0.5;
    double a2 = 1.0;
    void after(int step) {
        if (step >= 29) {
            a1 = 0.02;
            a2 = 47.775;
        } else if (step >= 10) {
            a1 = 0.1;
            a2 = 9.0;
        }
    }
};

// The set of the start tables: 0 up to 500 psia, 40 above, 80 in the corner near
// saturation at high pressure, where a start is never taken without iterating.
struct StartSet {
    int first;
    bool corner;
};
StartSet startSet(double p, bool nearSaturation) {
    if (p <= 500.0) return {0, false};
    if (p > 2500.0 && nearSaturation) return {80, true};
    return {40, false};
}

}  // namespace

InverseCounters inverseCounters;

bool superheatedInRegion3(Property given, double p, double value, double t, bool lowEnthalpyIsRegion3) {
    if (p < con(C::pSat662)) return false;
    if (given == Property::entropy) {
        if (value >= 1.2571176077194994) return false;
        return value < 1.2056176554886786 || p > vapourBoundary(t);
    }
    if (value > 1223.0) return false;
    return (lowEnthalpyIsRegion3 && value < 1103.0) || p > vapourBoundary(t);
}

double vapourTemperatureFromEnthalpy(VapourEntry entry, double p, double h) {
    const RoutineName name = entry == VapourEntry::saturating ? RoutineName("TPH   ") : RoutineName("TPHD  ");
    if (memoTest(kLevel, name, p, h)) return levelResult(kLevel);
    ++inverseCounters.misses;
    checkRange(name, p, 1, con(C::pLower), con(C::pUpper));
    if (entry == VapourEntry::saturating && h < con(C::hUpperWet) && p <= con(C::pc)) {
        checkRange(name, h, 3, con(C::hLower), con(C::hUpperSuperheated));
        const double ts = saturationTemperature(p);
        if (h <= vapourSide(Property::enthalpy, p, ts)) return levelResult(kLevel) = ts;
    }
    checkRange(name, h, 3, 500.0, con(C::hUpperSuperheated));
    const double tMin = p > con(C::pc) ? con(C::tCritical) : con(C::tLower);
    const StartSet set = startSet(p, h < 1280.0);
    const double x = set.first == 0 ? p : std::log(p);
    const double y = h / 100.0;
    const double* c = kStartTables.tph + set.first;
    double t0 = std::max(vapourStartValue(c, x, y), std::max(tMin, vapourFloor(p)));
    double d = vapourStartValue(c + 20, x, y);
    double h0 = vapourSide(Property::enthalpy, p, t0);
    double t = t0 + (h - h0) * d;
    const double damping = t0 < 700.0 && p > 800.0 ? 0.4 : 0.8;
    if (std::fabs(h - h0) < 0.04 ||
        (!set.corner && (std::fabs(t0 - t) < 0.005 || std::fabs(h - h0) < damping))) {
        ++inverseCounters.accepted;
        return levelResult(kLevel) = t;
    }
    const double floor = vapourFloor(p);
    double ta = t > kTopTemperature ? kTopTemperature * 0.99 : t;
    SecantWeights weights;
    for (int step = 1; step <= 100; ++step) {
        ++inverseCounters.steps;
        ta = std::clamp(ta, floor, kTopTemperature);
        const double ha = vapourSide(Property::enthalpy, p, ta);
        if (h0 != ha) d = weights.a1 * ((t0 - ta) / (h0 - ha) + weights.a2 * d);
        t = ta + (h - ha) * d;
        if (std::fabs(h - ha) < 0.04) return levelResult(kLevel) = t;
        if (!std::isfinite(t)) break;
        if (t > kTopTemperature) t = ta + (kTopTemperature - ta) * 0.99;
        t0 = ta;
        ta = t;
        h0 = ha;
        weights.after(step);
    }
    fail(name, -13, p, h);
}

double vapourTemperatureFromEntropy(VapourEntry entry, double p, double s) {
    const RoutineName name = entry == VapourEntry::saturating ? RoutineName("TPS   ") : RoutineName("TPSD  ");
    if (memoTest(kLevel, name, p, s)) return levelResult(kLevel);
    ++inverseCounters.misses;
    checkRange(name, p, 1, con(C::pLower), con(C::pUpper));
    if (entry == VapourEntry::saturating && p <= con(C::pc)) {
        checkRange(name, s, 5, con(C::sLowerSuperheated), con(C::sUpper));
        const double ts = saturationTemperature(p);
        if (s <= vapourSide(Property::entropy, p, ts)) return levelResult(kLevel) = ts;
    }
    checkRange(name, s, 5, con(C::sLowerSuperheated), con(C::sUpper));
    double tMin = p > con(C::pc) ? con(C::tCritical) : con(C::tLower);
    const StartSet set = startSet(p, p > 2500.0 && s < cornerEntropy(p));
    const double* c = kStartTables.tps + set.first;
    const double x = std::log(p);
    const double rankine = con(C::rankine);
    double t0 = std::max(vapourStartValue(c, x, s), std::max(tMin, vapourFloor(p)));
    double d = vapourStartValue(c + 20, x, s);
    double s0 = vapourSide(Property::entropy, p, t0);
    const double step0 = d * (s - s0);
    double ta = t0 + (t0 + rankine) * step0 * (step0 / 2.0 + 1.0);
    if (s < 1.061160140728766 && p > con(C::pc)) {
        tMin = con(C::tRegion1Top);
        if (ta < tMin) {
            ta = tMin;
            d = (d + 1.0) / 2.0;
        }
    }
    if (!set.corner && (std::fabs(t0 - ta) < 0.005 || std::fabs(s - s0) < 0.0008)) {
        ++inverseCounters.accepted;
        return levelResult(kLevel) = ta;
    }
    const double floor = std::max(tMin, vapourFloor(p));
    SecantWeights weights;
    for (int step = 1; step <= 100; ++step) {
        ++inverseCounters.steps;
        ta = std::clamp(ta, floor, kTopTemperature);
        const double sa = vapourSide(Property::entropy, p, ta);
        if (std::fabs(s0 - sa) >= 0.1) {
            ta = (t0 + ta) * 0.5;
            continue;
        }
        if (s0 != sa) d = weights.a1 * ((t0 - ta) / ((s0 - sa) * (ta + rankine)) + weights.a2 * d);
        const double t = ta + (ta + rankine) * d * (s - sa);
        if (std::fabs(s - sa) < con(C::toleranceEntropy)) return levelResult(kLevel) = t;
        if (!std::isfinite(t)) break;
        t0 = ta;
        s0 = sa;
        ta = t;
        weights.after(step);
    }
    fail(name, -15, p, s);
}

double quality(Property property, double p, double value) {
    const bool enthalpy = property == Property::enthalpy;
    const RoutineName name = enthalpy ? RoutineName("XPH   ") : RoutineName("XPS   ");
    recordCall(kLevel, name, p, value);
    if (enthalpy) {
        checkRange(name, value, 3, con(C::hLower), con(C::hUpperSuperheated));
    } else {
        checkRange(name, value, 5, con(C::lowerWet), con(C::sUpper));
    }
    double x = 1.0;
    if ((!enthalpy || value < con(C::hUpperWet)) && p <= con(C::pc)) {
        const double g = saturatedAtPressure(property, Phase::vapour, p);
        if (value < g) {
            const double f = saturatedAtPressure(property, Phase::liquid, p);
            x = std::min((value - f) / (g - f), 1.0);
        }
    }
    return levelResult(kLevel) = x;
}

double liquidTemperature(Property property, double p, double value) {
    const bool enthalpy = property == Property::enthalpy;
    const RoutineName name = enthalpy ? RoutineName("TPHL  ") : RoutineName("TPSL  ");
    const int code = enthalpy ? -13 : -15;
    recordCall(kLevel, name, p, value);
    if (enthalpy) {
        checkRange(name, value, 3, -0.02, con(C::hUpperTslh));
    } else {
        checkRange(name, value, 5, -5e-05, con(C::sInverse));
    }
    const double ts = p <= con(C::pc) ? saturationTemperature(p) : con(C::tCritical);
    const double* c = enthalpy ? kStartTables.tphl : kStartTables.tpsl;
    const double y = std::log(std::max(p, 200.0));
    const double z = enthalpy ? (value + 500.0) / 100.0 : value + 1.0;
    const double rankine = con(C::rankine);
    double t0 = std::min(liquidStartValue(c, y, z), ts);
    double d = liquidStartValue(c + 20, y, z);
    double v0 = liquidSide(property, p, t0);
    double t;
    if (enthalpy) {
        t = std::min(t0 + (value - v0) * d, ts);
    } else {
        const double step0 = d * (value - v0);
        t = std::min(t0 + (t0 + rankine) * step0 * (step0 / 2.0 + 1.0), ts);
    }
    if (std::fabs(t0 - t) < 0.01) t = t0 - 0.01;
    const double tolerance = enthalpy ? 0.04 : con(C::toleranceEntropy);
    double a1 = 0.5;
    double a2 = 1.0;
    for (int step = 1; step <= 50; ++step) {
        const double ta = t;
        const double va = liquidSide(property, p, ta);
        const double dv = value - va;
        if (enthalpy) {
            if (std::fabs(v0 - va) >= 0.0004) {
                d = a1 * ((t0 - ta) / (v0 - va) + a2 * d);
                t = ta + d * dv;
            }
            t = std::min(t, ts);
        } else if (v0 != va) {
            d = a1 * ((t0 - ta) / ((ta + rankine) * (v0 - va)) + a2 * d);
            t = ta + d * dv * (ta + rankine);
            if (t > ts) t = ta + (ts - ta) * 0.99;
        }
        if (std::fabs(dv) < tolerance) return levelResult(kLevel) = t;
        if (!std::isfinite(t)) break;
        t0 = ta;
        v0 = va;
        if (step >= 5) {
            a1 = 0.02;
            a2 = 47.775;
        }
    }
    fail(name, code, p, value);
}

// h from (p, s) and s from (p, h): the wet mixture on the straight line through the
// saturated vapour (slope T in the h-s plane), otherwise the vapour side of the state's
// temperature in the region its entropy or enthalpy tells.
double crossProperty(Property wanted, CrossEntry entry, double p, double given) {
    const bool wantsEnthalpy = wanted == Property::enthalpy;
    static constexpr RoutineName kNames[2][3] = {{"HPS   ", "HPSW  ", "HPSD  "}, {"SPH   ", "SPHW  ", "SPHD  "}};
    const RoutineName& name = kNames[wantsEnthalpy ? 0 : 1][static_cast<int>(entry)];
    const int level = entry == CrossEntry::wet ? kLevel : 6;
    const Property givenProperty = wantsEnthalpy ? Property::entropy : Property::enthalpy;
    const int givenCode = wantsEnthalpy ? 5 : 3;
    recordCall(level, name, p, given);
    checkRange(name, p, 1, con(C::pLower), entry == CrossEntry::wet ? con(C::pc) : con(C::pUpper));
    const double rankine = con(C::rankine);
    const auto wet = [&](int at, double ts) {
        if (wantsEnthalpy) {
            checkRange(name, given, givenCode, con(C::lowerWet), con(C::sUpper));
        } else {
            checkRange(name, given, givenCode, con(C::hLower), con(C::hUpperWet));
        }
        const double hg = vapourSide(Property::enthalpy, p, ts);
        const double sg = vapourSide(Property::entropy, p, ts);
        const double value = wantsEnthalpy ? hg - (ts + rankine) * (sg - given) : sg - (hg - given) / (ts + rankine);
        levelResult(at) = value;
        if (at != level) levelResult(level) = value;
        return value;
    };
    if (entry == CrossEntry::wet) return wet(kLevel, saturationTemperature(p));
    if (entry == CrossEntry::either && p <= con(C::pc) && (wantsEnthalpy || given < con(C::hUpperWet))) {
        const double ts = saturationTemperature(p);
        if (given <= vapourSide(givenProperty, p, ts)) {
            recordCall(kLevel, name, p, given);
            return wet(kLevel, ts);
        }
    }
    if (wantsEnthalpy) {
        checkRange(name, given, givenCode, con(C::lowerWet), con(C::sUpper));
    } else {
        checkRange(name, given, givenCode, con(C::hLower), con(C::hUpperSuperheated));
    }
    const double t = wantsEnthalpy ? vapourTemperatureFromEntropy(VapourEntry::vapour, p, given)
                                   : vapourTemperatureFromEnthalpy(VapourEntry::vapour, p, given);
    double value;
    if (superheatedInRegion3(givenProperty, p, given, t, false)) {
        const double v = region3Volume(p, t, Region3Search::vapour);
        value = wantsEnthalpy ? region3Enthalpy(v, t) : region3Entropy(v, t);
    } else {
        value = wantsEnthalpy ? region2Enthalpy(p, t) : region2Entropy(p, t);
    }
    // The level's record may have been overwritten by the routines called: it is written
    // again, so that its result slot holds a value for the arguments it shows.
    recordCall(level, name, p, given);
    return levelResult(level) = value;
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::CrossEntry;
using vireo::steam::Property;
using vireo::steam::VapourEntry;

VIREO_STEAM_ROUTINE double tph_(const double* p, const double* h) {
    return vireo::steam::vapourTemperatureFromEnthalpy(VapourEntry::saturating, *p, *h);
}
VIREO_STEAM_ROUTINE double tsuph_(const double* p, const double* h) {
    return vireo::steam::vapourTemperatureFromEnthalpy(VapourEntry::vapour, *p, *h);
}
VIREO_STEAM_ROUTINE double tphd_(const double* p, const double* h) {
    return vireo::steam::vapourTemperatureFromEnthalpy(VapourEntry::vapour, *p, *h);
}
VIREO_STEAM_ROUTINE double tps_(const double* p, const double* s) {
    return vireo::steam::vapourTemperatureFromEntropy(VapourEntry::saturating, *p, *s);
}
VIREO_STEAM_ROUTINE double tsups_(const double* p, const double* s) {
    return vireo::steam::vapourTemperatureFromEntropy(VapourEntry::vapour, *p, *s);
}
VIREO_STEAM_ROUTINE double tpsd_(const double* p, const double* s) {
    return vireo::steam::vapourTemperatureFromEntropy(VapourEntry::vapour, *p, *s);
}
VIREO_STEAM_ROUTINE double xph_(const double* p, const double* h) {
    return vireo::steam::quality(Property::enthalpy, *p, *h);
}
VIREO_STEAM_ROUTINE double qph_(const double* p, const double* h) {
    return vireo::steam::quality(Property::enthalpy, *p, *h);
}
VIREO_STEAM_ROUTINE double xps_(const double* p, const double* s) {
    return vireo::steam::quality(Property::entropy, *p, *s);
}
VIREO_STEAM_ROUTINE double qps_(const double* p, const double* s) {
    return vireo::steam::quality(Property::entropy, *p, *s);
}
VIREO_STEAM_ROUTINE double tphl_(const double* p, const double* h) {
    return vireo::steam::liquidTemperature(Property::enthalpy, *p, *h);
}
VIREO_STEAM_ROUTINE double tpsl_(const double* p, const double* s) {
    return vireo::steam::liquidTemperature(Property::entropy, *p, *s);
}
VIREO_STEAM_ROUTINE double hps_(const double* p, const double* s) {
    return vireo::steam::crossProperty(Property::enthalpy, CrossEntry::either, *p, *s);
}
VIREO_STEAM_ROUTINE double hpsw_(const double* p, const double* s) {
    return vireo::steam::crossProperty(Property::enthalpy, CrossEntry::wet, *p, *s);
}
VIREO_STEAM_ROUTINE double hpsd_(const double* p, const double* s) {
    return vireo::steam::crossProperty(Property::enthalpy, CrossEntry::vapour, *p, *s);
}
VIREO_STEAM_ROUTINE double sph_(const double* p, const double* h) {
    return vireo::steam::crossProperty(Property::entropy, CrossEntry::either, *p, *h);
}
VIREO_STEAM_ROUTINE double sphw_(const double* p, const double* h) {
    return vireo::steam::crossProperty(Property::entropy, CrossEntry::wet, *p, *h);
}
VIREO_STEAM_ROUTINE double sphd_(const double* p, const double* h) {
    return vireo::steam::crossProperty(Property::entropy, CrossEntry::vapour, *p, *h);
}

}  // extern "C"
#include "inverse_starts.inc"
