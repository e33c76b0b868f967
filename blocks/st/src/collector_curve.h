// The efficiency curve of a liquid collector, its losses a1 x + a2 x^2 at x above the
// ambient: what the steady field (SCETA) and the one with capacity (SCDYN) both bound
// their outlets by.
#ifndef VIREO_ST_COLLECTOR_CURVE_H
#define VIREO_ST_COLLECTOR_CURVE_H

#include <cmath>
#include <limits>

namespace vireo::st::collector {

// The temperature at which the absorbed irradiance `gain` (W/m2) meets the loss at x
// above the ambient ta: the limit of an outlet at a vanishing flow. Of the curve's two
// roots the one nearest the ambient, from the form that does not subtract nearly equal
// numbers; without one (no loss that grows to the gain) there is no bound above the
// ambient while the collector gains.
inline double stagnation(double ta, double gain, double a1, double a2) {
    const double d = a1 * a1 + 4.0 * a2 * gain;
    const double denominator = d >= 0.0 ? a1 + std::sqrt(d) : 0.0;
    if (denominator > 0.0) return ta + 2.0 * gain / denominator;
    if (gain > 0.0) return std::numeric_limits<double>::infinity();
    return a1 > 0.0 ? ta + gain / a1 : ta;
}

}  // namespace vireo::st::collector

#endif
