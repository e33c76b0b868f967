// The side of a (T, p) state in SI units that the blocks' property routines take: the
// vapour side on and below the saturation line, and above the critical temperature on
// and below the 2/3 boundary; the liquid side above them, and at 0 °C or colder.
#include "steam_frame.h"

#include <cmath>
#include <limits>

namespace vireo::steam {
namespace {

// The critical temperature as the blocks state it, in single precision.
constexpr double kCriticalCelsius = 374.1499938964844;

// 1 for the vapour side, 0 for the liquid side, -1 where the line that decides refuses
// the temperature (only a line that answers NaN there lets it come to that).
template <class Saturation, class Boundary>
int side(double t, double p, Saturation saturation, Boundary boundary) {
    if (t <= 0.0) return 0;
    const double fahrenheit = tc2tf_(&t);
    const double psia = pa2psi_(&p);
    const double line = t <= kCriticalCelsius ? saturation(fahrenheit) : boundary(fahrenheit);
    if (std::isnan(line)) return -1;
    return psia > line ? 0 : 1;
}

}  // namespace

bool onVapourSide(double t, double p) { return side(t, p, saturationPressure, boundary23Pressure) == 1; }

double siProperty(double t, double p, double (*liquid)(double, double), double (*vapour)(double, double),
                  double factor) {
    const bool vapourSide = onVapourSide(t, p);
    const double psia = pa2psi_(&p);
    const double fahrenheit = tc2tf_(&t);
    return (vapourSide ? vapour(psia, fahrenheit) : liquid(psia, fahrenheit)) * factor;
}

bool steamStateAccepts(double t, double p) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const int vapourSide = side(
        t, p, [](double tf) { return saturationPressureAccepts(tf) ? saturationLine(tf).p : nan; },
        [](double tf) { return boundary23PressureAccepts(tf) ? boundary23Line(tf) : nan; });
    const double psia = pa2psi_(&p);
    const double fahrenheit = tc2tf_(&t);
    switch (vapourSide) {
    case 1:
        return vapourSideAccepts(psia, fahrenheit);
    case 0:
        return liquidSideAccepts(psia, fahrenheit) && liquidHeatCapacityAccepts(psia, fahrenheit);
    default:
        return false;
    }
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE int chkreg_(const double* t, const double* p) {
    return vireo::steam::onVapourSide(*t, *p) ? 1 : 0;
}
