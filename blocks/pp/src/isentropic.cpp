// Several properties of one state at once, the saturated vapour of an entropy, the
// saturated liquid of an enthalpy, and isentropic changes of liquid and steam from one
// pressure to another, into the wet region too.
#include "steam_frame.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace vireo::steam {
namespace {

constexpr double kFootPoundPerBtu = 778.169262;
constexpr double kSquareInchPerSquareFoot = 144.0;
// Entropy of the saturated vapour at the critical point as the wet-region tests take it.
constexpr double kCriticalVapourEntropy = 1.06269901;
constexpr double kUpperEstimateEntropy = 2.2039;

double stored(int level, double value) { return levelResult(level) = value; }

}  // namespace

// The slope dp/dT that the saturation line left in nust_ when the saturation temperature
// of p was last found: the wet-region volumes read it there.
double saturationSlopeAt([[maybe_unused]] double p) {
    assert(nust_.argument[1] == p);
    return nust_.slope;
}

// Clapeyron: the volume change of evaporation from its enthalpy at T and the slope.
double evaporationVolume(double hfg, double t, double dpdT) {
    return hfg / (t + con(C::rankine)) * kFootPoundPerBtu / kSquareInchPerSquareFoot / dpdT;
}

StateBundle liquidBundle(double p, double t) {
    recordCall(5, "HCL   ", p, t);
    StateBundle state{};
    state.t = t;
    state.s = liquidSide(Property::entropy, p, t);
    state.h = stored(5, liquidSide(Property::enthalpy, p, t));
    return state;
}

StateBundle vapourBundle(double p, double t) {
    recordCall(5, "HSS   ", p, t);
    StateBundle state{};
    state.t = t;
    state.h = vapourSide(Property::enthalpy, p, t);
    state.s = vapourSide(Property::entropy, p, t);
    state.v = vapourSide(Property::volume, p, t);
    stored(5, state.h);
    return state;
}

StateBundle saturatedVapourBundle(double p) {
    recordCall(6, "HSV   ", p, 0.0, false);
    const double t = saturationTemperature(p);
    StateBundle state = vapourBundle(p, t);
    state.x = 1.0;
    stored(6, state.h);
    return state;
}

double saturatedVapourPressure(PressureEntry entry, double s) {
    static constexpr RoutineName kNames[] = {"PSV   ", "PSV1  ", "PSV2  "};
    const RoutineName& name = kNames[static_cast<int>(entry)];
    recordCall(5, name, s, 0.0, false);
    const double pc = con(C::pc);
    constexpr double scg = 1.0611600477649612;
    constexpr double a[12] = {0.987802184, -4.41772332, -5.99900904, 21.5055552, 22.469713,   -109.809995,
                              166.569276,  -72.7941268, -10.5202231, 25.2923692, -17.7977159, 11.0428109};
    checkRange(name, s, 5, scg, kUpperEstimateEntropy);
    const double t0 = s < 1.086 ? 956.24 - 880.25 * s : 0.0;
    const int i = s >= 1.60265 ? 0 : s >= 1.43 ? 4 : 8;
    if (i == 8 && s == scg) return stored(5, pc);
    double p = std::exp(((a[i] * s + a[i + 1]) * s + a[i + 2]) * s + a[i + 3]) + t0;
    if (entry == PressureEntry::estimate) return stored(5, 1.0065 * p);
    double del = 0.01;
    for (int step = 1;; ++step) {
        p = std::min(p, pc);
        const double t = saturationTemperature(p);
        const double s1 = vapourSide(Property::entropy, p, t);
        const double ds = s - s1;
        if (entry == PressureEntry::corrected) {
            double f = p <= 300.0 ? 1.33 : std::max(1.058 - 0.000364 * p, 0.0);
            const double v = vapourSide(Property::volume, p, t);
            return stored(5, p - f * 5.4 * ds * (t + con(C::rankine)) / v);
        }
        if (std::fabs(ds) < con(C::toleranceEntropy)) return stored(5, p);
        if (step > 300 || !std::isfinite(p)) fail("PSV   ", -5, s, 0.0);
        const double px = p * (1.0 - del);
        const double sg = saturatedAtPressure(Property::entropy, Phase::vapour, px);
        p = std::exp(std::log(p) + ds * (std::log(px) - std::log(p)) / (sg - s1));
        if (step % 5 == 0) del *= 0.5;
    }
}

// The name is recorded with the argument, so that the level's result slot never serves
// a memo test of another routine that left its name there.
double saturatedVapourPressureVolume(double p) {
    recordCall(5, "PVGP  ", p, 0.0, false);
    return stored(5, p * saturatedAtPressure(Property::volume, Phase::vapour, p));
}

double saturatedLiquidTemperature(double h) {
    const RoutineName name("TSLH  ");
    recordCall(5, name, h, 0.0, false);
    checkRange(name, h, 3, con(C::hLower), con(C::hUpperTslh));
    constexpr double ht[3] = {375.0, 707.0, 904.0};
    constexpr double a[21] = {6.50624227e-15,  2.20388183e-14,  1.89289928e-14,  -7.64746293e-12, -7.31560395e-11,
                              -5.74763307e-11, 3.31206684e-09,  9.96511247e-08,  6.14790362e-08,  -9.26975032e-07,
                              -7.19728045e-05, -2.33527489e-05, 0.000119084945,  0.0287953806,    -0.00377447374,
                              0.995122605,     -5.08143066,     5.73286854,      32.008104,       562.152207,
                              -829.637833};
    constexpr double cpc[3] = {0.96195681, 0.000782249768, -2.09499151e-06};
    constexpr double tt = 705.46831;
    const double top = con(C::tCritical);
    if (h >= ht[2]) return stored(5, tt + 8.45e-4 * (h - ht[2]));
    int j = 2;
    for (int band = 0; band < 3; ++band) {
        if (ht[band] >= h) {
            j = band;
            break;
        }
    }
    double t0 = 0.0;
    for (int k = j; k < 21; k += 3) t0 = t0 * h + a[k];
    t0 = std::min(t0, top);
    const auto liquidAt = [](double t) { return saturatedAtTemperature(Property::enthalpy, Phase::liquid, t); };
    double h0 = liquidAt(t0);
    double r = std::max(cpc[0] + cpc[1] * h + cpc[2] * h * h, 0.01);
    const double rMin = r / 2.0;
    double ta = std::min(t0 + (h - h0) * r, top);
    for (int pass = 1; pass <= 20; ++pass) {
        const double ha = liquidAt(ta);
        const double dh = h - ha;
        if (ta < tt) {
            // Next to the critical point the liquid line is steeper than the floor of
            // the slope allows: a positive secant is taken even below the floor, or
            // the steps would swing across the answer until the passes run out.
            const double secant = h0 != ha ? (t0 - ta) / (h0 - ha) : r;
            r = secant > 0.0 ? (r + secant) / 2.0 : std::max((r + secant) / 2.0, rMin);
        } else {
            r *= 0.9;
        }
        const double t = std::clamp(ta + r * dh, con(C::tLower), top);
        if (std::fabs(dh) < con(C::toleranceWet)) return stored(5, t);
        h0 = ha;
        t0 = ta;
        ta = t;
    }
    fail(name, -3, h, 0.0);
}

// The liquid at p of an entropy (h wanted) or of an enthalpy (s wanted).
StateBundle liquidIsentropic(Property given, double p, double value) {
    const bool entropyGiven = given == Property::entropy;
    recordCall(6, entropyGiven ? RoutineName("HSSICL") : RoutineName("SSSICL"), p, value);
    StateBundle state{};
    state.t = liquidTemperature(given, p, value);
    if (entropyGiven) {
        state.s = value;
        state.h = stored(6, liquidSide(Property::enthalpy, p, state.t));
    } else {
        state.h = value;
        state.s = stored(6, liquidSide(Property::entropy, p, state.t));
    }
    return state;
}

// Steam at p of an entropy (h wanted) or of an enthalpy (s wanted), wet or superheated.
StateBundle steamIsentropic(Property given, IsentropicEntry entry, double p, double value) {
    const bool entropyGiven = given == Property::entropy;
    static constexpr RoutineName kNames[2][3] = {{"HSSISS", "HISISS", "HPSISS"}, {"SSSISS", "SSSISS", "SPSISS"}};
    const RoutineName& name = kNames[entropyGiven ? 0 : 1][static_cast<int>(entry)];
    const bool superheatedOnly = entry == IsentropicEntry::superheated;
    recordCall(superheatedOnly ? 6 : 7, name, p, value);
    const double pc = con(C::pc);
    bool wetTest = !superheatedOnly && p < pc;
    if (wetTest && entropyGiven && value >= kCriticalVapourEntropy) {
        const double pv = value <= kUpperEstimateEntropy ? saturatedVapourPressure(PressureEntry::estimate, value) : 0.0;
        wetTest = p <= pv;
    }
    if (wetTest && !entropyGiven) {
        constexpr double aa[10] = {-7.78689284e-12, 4.55590147e-8, -0.0001119094, 0.0792788503, 1191.0,
                                   -0.0496754782,   0.261315144,   0.730483351,   13.3710342,   1108.68299};
        if (value > 1204.79) {
            wetTest = false;
        } else if (p >= 3100.0) {
            wetTest = value < 993.4;
        } else {
            const int i = p >= 400.0 ? 0 : 5;
            const double y = p >= 400.0 ? p : std::log(p);
            const double hg = (((aa[i] * y + aa[i + 1]) * y + aa[i + 2]) * y + aa[i + 3]) * y + aa[i + 4];
            wetTest = value < hg;
        }
    }
    if (wetTest) {
        StateBundle state = saturatedVapourBundle(p);
        const double g = entropyGiven ? state.s : state.h;
        if (value < g) {
            const double hg = state.h;
            const double sg = state.s;
            const double vg = state.v;
            const double hf = saturatedAtTemperature(Property::enthalpy, Phase::liquid, state.t);
            const double hfg = hg - hf;
            const double sf = sg - hfg / (state.t + con(C::rankine));
            if (entropyGiven ? value < sf : value < hf) fail(name, entropyGiven ? 15 : 13, p, value);
            state.x = entropyGiven ? (value - sf) / (sg - sf) : (value - hf) / hfg;
            state.h = entropyGiven ? hf + state.x * hfg : value;
            state.s = entropyGiven ? value : sf + state.x * (sg - sf);
            const double vfg = entry == IsentropicEntry::liquidVolume
                                   ? vg - liquidSide(Property::volume, p, state.t)
                                   : evaporationVolume(hfg, state.t, saturationSlopeAt(p));
            state.v = vg - vfg * (1.0 - state.x);
            return state;
        }
        if (value == g) return state;
    }
    StateBundle state{};
    state.x = 1.0;
    state.t = entropyGiven ? vapourTemperatureFromEntropy(VapourEntry::saturating, p, value)
                           : vapourTemperatureFromEnthalpy(VapourEntry::saturating, p, value);
    state.h = entropyGiven ? vapourSide(Property::enthalpy, p, state.t) : value;
    state.s = entropyGiven ? value : vapourSide(Property::entropy, p, state.t);
    state.v = vapourSide(Property::volume, p, state.t);
    return state;
}

}  // namespace vireo::steam

extern "C" {

using vireo::steam::IsentropicEntry;
using vireo::steam::PressureEntry;
using vireo::steam::Property;
using vireo::steam::StateBundle;

VIREO_STEAM_ROUTINE double hcl_(const double* p, const double* t, double* s) {
    const StateBundle state = vireo::steam::liquidBundle(*p, *t);
    *s = state.s;
    return state.h;
}
VIREO_STEAM_ROUTINE double hss_(const double* p, const double* t, double* s, double* v) {
    const StateBundle state = vireo::steam::vapourBundle(*p, *t);
    *s = state.s;
    *v = state.v;
    return state.h;
}
VIREO_STEAM_ROUTINE double hsv_(const double* p, double* t, double* s, double* v) {
    const StateBundle state = vireo::steam::saturatedVapourBundle(*p);
    *t = state.t;
    *s = state.s;
    *v = state.v;
    return state.h;
}
VIREO_STEAM_ROUTINE double psv_(const double* s) {
    return vireo::steam::saturatedVapourPressure(PressureEntry::iterated, *s);
}
VIREO_STEAM_ROUTINE double psv1_(const double* s) {
    return vireo::steam::saturatedVapourPressure(PressureEntry::estimate, *s);
}
VIREO_STEAM_ROUTINE double psv2_(const double* s) {
    return vireo::steam::saturatedVapourPressure(PressureEntry::corrected, *s);
}
VIREO_STEAM_ROUTINE double pvgp_(const double* p) {
    return vireo::steam::saturatedVapourPressureVolume(*p);
}
VIREO_STEAM_ROUTINE double tslh_(const double* h) { return vireo::steam::saturatedLiquidTemperature(*h); }

static void writeOut(const StateBundle& state, double* t, double* v, double* x) {
    *t = state.t;
    if (v != nullptr) *v = state.v;
    if (x != nullptr) *x = state.x;
}

VIREO_STEAM_ROUTINE double hssicl_(const double* p, const double* s, double* t) {
    const StateBundle state = vireo::steam::liquidIsentropic(Property::entropy, *p, *s);
    writeOut(state, t, nullptr, nullptr);
    return state.h;
}
VIREO_STEAM_ROUTINE double sssicl_(const double* p, const double* h, double* t) {
    const StateBundle state = vireo::steam::liquidIsentropic(Property::enthalpy, *p, *h);
    writeOut(state, t, nullptr, nullptr);
    return state.s;
}
VIREO_STEAM_ROUTINE double hssiss_(const double* p, const double* s, double* t, double* v, double* x) {
    const StateBundle state = vireo::steam::steamIsentropic(Property::entropy, IsentropicEntry::clapeyron, *p, *s);
    writeOut(state, t, v, x);
    return state.h;
}
VIREO_STEAM_ROUTINE double hisiss_(const double* p, const double* s, double* t, double* v, double* x) {
    const StateBundle state =
        vireo::steam::steamIsentropic(Property::entropy, IsentropicEntry::liquidVolume, *p, *s);
    writeOut(state, t, v, x);
    return state.h;
}
VIREO_STEAM_ROUTINE double hpsiss_(const double* p, const double* s, double* t, double* v, double* x) {
    const StateBundle state =
        vireo::steam::steamIsentropic(Property::entropy, IsentropicEntry::superheated, *p, *s);
    writeOut(state, t, v, x);
    return state.h;
}
VIREO_STEAM_ROUTINE double sssiss_(const double* p, const double* h, double* t, double* v, double* x) {
    const StateBundle state = vireo::steam::steamIsentropic(Property::enthalpy, IsentropicEntry::clapeyron, *p, *h);
    writeOut(state, t, v, x);
    return state.s;
}
VIREO_STEAM_ROUTINE double spsiss_(const double* p, const double* h, double* t, double* v, double* x) {
    const StateBundle state =
        vireo::steam::steamIsentropic(Property::enthalpy, IsentropicEntry::superheated, *p, *h);
    writeOut(state, t, v, x);
    return state.s;
}

VIREO_STEAM_ROUTINE double zsrt_(const double* p1, const double* p2, const double* t1, double* s1, double* h1,
                                 double* t2) {
    *h1 = hcl_(p1, t1, s1);
    return hssicl_(p2, s1, t2);
}
VIREO_STEAM_ROUTINE double zsrh_(const double* p1, const double* p2, const double* h1, double* s1, double* t1,
                                 double* t2) {
    *s1 = sssicl_(p1, h1, t1);
    return hssicl_(p2, s1, t2);
}
VIREO_STEAM_ROUTINE double zsdt_(const double* p1, const double* p2, const double* t1, double* s1, double* h1,
                                 double* t2, double* x1, double* x2, double* vol1, double* vol2) {
    *x1 = 1.0;
    *h1 = hss_(p1, t1, s1, vol1);
    return hssiss_(p2, s1, t2, vol2, x2);
}
VIREO_STEAM_ROUTINE double zsdh_(const double* p1, const double* p2, const double* h1, double* s1, double* t1,
                                 double* t2, double* x1, double* x2, double* vol1, double* vol2) {
    *s1 = sssiss_(p1, h1, t1, vol1, x1);
    return hssiss_(p2, s1, t2, vol2, x2);
}

}  // extern "C"
