// Psychrometrics for the tests of the air blocks, from the ASHRAE Handbook -
// Fundamentals 2017, ch. 1, on their own and apart from the fits the blocks use: the
// saturation pressure of Hyland and Wexler (eqs. 5 and 6), the humidity ratio and the
// enthalpy of moist air. The air blocks' tests hold them against a PsychroLib table.
#ifndef VIREO_TEST_PSYCHROMETRICS_H
#define VIREO_TEST_PSYCHROMETRICS_H

#include <cmath>

namespace psychro {

// Over liquid water, also below 0 degC (supercooled), Pa.
inline double saturationOverWater(double t) {
    const double k = t + 273.15;
    return std::exp(-5.8002206e3 / k + 1.3914993 + k * (-4.8640239e-2 + k * (4.1764768e-5 + k * -1.4452093e-8)) +
                    6.5459673 * std::log(k));
}
// Over ice at and below the triple point, over water above it, Pa.
inline double saturationPressure(double t) {
    const double k = t + 273.15;
    if (t <= 0.01)
        return std::exp(-5.6745359e3 / k + 6.3925247 + k * (-9.677843e-3 + k * (6.2215701e-7 + k * (2.0747825e-9 + k * -9.484024e-13))) +
                        4.1635019 * std::log(k));
    return saturationOverWater(t);
}
// kg water per kg dry air at a vapour pressure pw and a total pressure p, Pa.
inline double humidityRatio(double pw, double p) { return 0.621945 * pw / (p - pw); }
// J per kg dry air, x in kg/kg.
inline double enthalpy(double t, double x) { return 1006.0 * t + x * (2501000.0 + 1860.0 * t); }

// Root of a function rising or falling through [lo, hi], by halving.
template <class F>
double bisect(F f, double lo, double hi) {
    const bool rising = f(hi) > f(lo);
    for (int i = 0; i < 100; ++i) {
        const double mid = 0.5 * (lo + hi);
        ((f(mid) > 0) == rising ? hi : lo) = mid;
    }
    return 0.5 * (lo + hi);
}

}  // namespace psychro

#endif
