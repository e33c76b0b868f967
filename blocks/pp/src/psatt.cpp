// Saturation pressure as a function of temperature: the formulation's own saturation
// line (its K-function), and with psl1_ its slope dp/dT, which the saturation-temperature
// iteration and the wet-region relations need.
#include "steam_frame.h"

#include <cmath>

extern "C" {
SaturationMemo nust_ = {
    0.0, {0.0, 0.0}, {0.0, 0.0}, {{' ', ' ', ' ', ' ', ' ', ' '}, {' ', ' ', ' ', ' ', ' ', ' '}}};
}

namespace vireo::steam {
namespace {

constexpr RoutineName kPsatt("PSATT ");
constexpr RoutineName kPsl1("PSL1  ");

constexpr double k1 = -7.691234564;
constexpr double k2 = -26.08023696;
constexpr double k3 = -168.1706546;
constexpr double k4 = 64.23285504;
constexpr double k5 = -118.9646225;
constexpr double k6 = 4.16711732;
constexpr double k7 = 20.9750676;
constexpr double k8 = 1e9;
constexpr double k9 = 6.0;
constexpr double k2Times2 = 2.0 * k2;
constexpr double k3Times3 = 3.0 * k3;
constexpr double k4Times4 = 4.0 * k4;
constexpr double k5Times5 = 5.0 * k5;
constexpr double k7Times2 = 2.0 * k7;
constexpr double k8Times2 = 2.0 * k8;

// The memo of row 0. A stored psl1_ answer serves psatt_ too; a stored psatt_ answer
// has no slope, so it serves only psatt_ (whose slope nobody reads).
PressureWithSlope memoised(double t, bool withSlope) {
    const RoutineName& name = withSlope ? kPsl1 : kPsatt;
    SaturationMemo& memo = nust_;
    if (t == memo.argument[0] && (sameName(memo.name[0], name) || sameName(memo.name[0], kPsl1))) {
        return {memo.result[0], memo.slope};
    }
    if (!saturationPressureAccepts(t)) fail(name, 2, t, 0.0);
    storeName(memo.name[0], name);
    memo.argument[0] = t;
    const PressureWithSlope line = saturationLine(t);
    memo.result[0] = line.p;
    if (withSlope) memo.slope = line.dpdT;
    return line;
}

}  // namespace

PressureWithSlope saturationLine(double t) {
    const double tc = con(C::tc);
    const double theta = (t + con(C::rankine)) / tc;
    const double x = 1.0 - theta;
    const double y = x * (k1 + x * (k2 + x * (k3 + x * (k4 + x * k5))));
    const double d1 = 1.0 + k6 * x + k7 * x * x;
    const double d2 = k9 + k8 * x * x;
    const double b = d1 * theta;
    const double p = con(C::pc) * std::exp(y / b - x / d2);

    const double yPrime = -(k1 + x * (k2Times2 + x * (k3Times3 + x * (k4Times4 + x * k5Times5))));
    const double bPrime = d1 - theta * (k6 + k7Times2 * x);
    const double d2Prime = -k8Times2 * x;
    return {p, (p / tc) * ((d2 + x * d2Prime) / (d2 * d2) + (yPrime * b - bPrime * y) / (b * b))};
}

bool saturationPressureAccepts(double t) { return t >= con(C::tLower) && t <= con(C::tUpperPsatt); }

double saturationPressure(double t) { return memoised(t, false).p; }

PressureWithSlope saturationPressureAndSlope(double t) { return memoised(t, true); }

}  // namespace vireo::steam

extern "C" {

VIREO_STEAM_ROUTINE double psatt_(const double* t) { return vireo::steam::saturationPressure(*t); }

VIREO_STEAM_ROUTINE double psl_(const double* t) { return vireo::steam::saturationPressure(*t); }

// The slope stays in nust_ for outside callers that read it there.
VIREO_STEAM_ROUTINE double psl1_(const double* t) { return vireo::steam::saturationPressureAndSlope(*t).p; }

}  // extern "C"
