// Psychrometrics of humid air written on their own, for judging the blocks that treat
// air: the saturation pressure of Hyland and Wexler (ASHRAE Handbook - Fundamentals 2017,
// ch. 1, eqs. 5 and 6) with the humidity ratio (g/kg dry air) and the enthalpy (kJ/kg dry
// air) of the same chapter, at 101 325 Pa unless a pressure is given. The air-treatment
// tests hold them against PsychroLib's table; the blocks' own states come from the
// tools' IAPWS saturation pressure, which differs by less than 0.03 %.
#ifndef VIREO_TEST_ST_PSYCHROMETRICS_H
#define VIREO_TEST_ST_PSYCHROMETRICS_H

#include <cmath>

namespace psychro {

inline constexpr double kPressure = 101325.0, kRatio = 621.945;  // Pa; g/kg

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
        return std::exp(-5.6745359e3 / k + 6.3925247 +
                        k * (-9.677843e-3 + k * (6.2215701e-7 + k * (2.0747825e-9 + k * -9.484024e-13))) +
                        4.1635019 * std::log(k));
    return saturationOverWater(t);
}
inline double ratio(double t, double phi, double p = kPressure) {
    const double pw = phi * saturationPressure(t);
    return kRatio * pw / (p - pw);
}
// x in g/kg dry air.
inline double enthalpy(double t, double x) { return 1.006 * t + x * 1e-3 * (2501.0 + 1.86 * t); }

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
// The saturated state of enthalpy h: its temperature.
inline double saturationOnLine(double h) {
    return bisect([&](double t) { return enthalpy(t, ratio(t, 1.0)) - h; }, -100.0, 95.0);
}

}  // namespace psychro

#endif
