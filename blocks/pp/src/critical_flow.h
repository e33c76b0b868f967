// The form of the critical mass flux correlation of crflo_, shared by the routine and by
// the program that fits its coefficients (tests/steam/make_critical_flow.cpp) to the
// homogeneous-equilibrium flux of the library's own isentropes. Fluxes per psia of the
// state's pressure, lbm/(h·in²·psia).
#ifndef VIREO_PP_CRITICAL_FLOW_H
#define VIREO_PP_CRITICAL_FLOW_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace vireo::steam::critical_flow {

using Quartic = std::array<double, 5>;  // lowest power first

// Pressures (psia) at which the superheated flux is tabulated.
inline constexpr std::array<double, 7> kBreakpoints{20.0, 200.0, 500.0, 2000.0, 3000.0, 4000.0, 8000.0};

struct Coefficients {
    // Saturated and wet steam: a cubic in p/1000 whose coefficients are quartics in x.
    std::array<Quartic, 4> saturated;
    // Superheated steam near saturation: a quartic in spt/100 whose coefficients are
    // quartics in the pressure variable of the set: ln p (below 250 psia), p/1000
    // (between) and p/1000 - 2.4 (from 1600 psia).
    std::array<std::array<Quartic, 5>, 3> superheat;
    // Superheated steam: the flux per psia at each breakpoint, a quartic in h/1000.
    std::array<Quartic, kBreakpoints.size()> breakpoint;
};

extern const Coefficients kCoefficients;

// Quality above which the wet multiplier runs straight to 1 at the saturated vapour.
inline constexpr double kHighestQuality = 0.999;
// Superheat (°F) below which the superheat multiplier runs straight to 1 at saturation.
inline constexpr double kLowestSuperheat = 15.0;

inline double quartic(const Quartic& c, double x) {
    return (((c[4] * x + c[3]) * x + c[2]) * x + c[1]) * x + c[0];
}

// Polynomial with the highest power first.
template <std::size_t N>
double polynomial(const std::array<double, N>& c, double x) {
    double sum = 0.0;
    for (const double term : c) sum = sum * x + term;
    return sum;
}

// The flux of dry saturated steam per psia: a polynomial in ln p up to 210 psia, the
// exponential of one in p from 200 psia, the two blended in between.
inline double baseFlux(double p) {
    constexpr std::array<double, 7> low{5.97809224e-05, -0.000558149514, 0.00297995844, -0.00543009676,
                                        -0.0148510729,  -1.56631735,     58.7990177};
    constexpr std::array<double, 7> high{3.4479832e-21,   -3.34457869e-17, 1.34235767e-13, -2.80928186e-10,
                                         3.40055866e-07, -0.000197170007, 3.9519643};
    if (p <= 200.0) return polynomial(low, std::log(p));
    const double upper = std::exp(polynomial(high, p));
    if (p >= 210.0) return upper;
    return (upper * (p - 200.0) + (210.0 - p) * polynomial(low, std::log(p))) / 10.0;
}

// The wet multiplier without its last straight piece (x up to 0.999).
inline double wetMultiplier(const Coefficients& c, double p, double x) {
    const double q = p / 1000.0;
    double sum = 0.0;
    for (std::size_t k = c.saturated.size(); k-- > 0;) sum = sum * q + quartic(c.saturated[k], x);
    return sum;
}

inline double saturatedMultiplier(const Coefficients& c, double p, double x) {
    if (x <= kHighestQuality) return wetMultiplier(c, p, x);
    return 1.0 - (1.0 - x) * 1000.0 * (1.0 - wetMultiplier(c, p, kHighestQuality));
}

inline double superheatSet(const Coefficients& c, std::size_t set, double p, double spt) {
    const double q = set == 0 ? std::log(p) : set == 1 ? p / 1000.0 : p / 1000.0 - 2.4;
    const double u = spt / 100.0;
    double sum = 0.0;
    for (std::size_t k = 5; k-- > 0;) sum = sum * u + quartic(c.superheat[set][k], q);
    return sum;
}

// The superheat multiplier from 15 °F on: the pressure sets blended over 200 to 250 and
// 1500 to 1600 psia.
inline double superheatMultiplierFrom15(const Coefficients& c, double p, double spt) {
    if (p <= 200.0) return superheatSet(c, 0, p, spt);
    if (p < 250.0) {
        return (superheatSet(c, 1, p, spt) * (p - 200.0) + (250.0 - p) * superheatSet(c, 0, p, spt)) / 50.0;
    }
    if (p <= 1500.0) return superheatSet(c, 1, p, spt);
    if (p < 1600.0) {
        return (superheatSet(c, 2, p, spt) * (p - 1500.0) + (1600.0 - p) * superheatSet(c, 1, p, spt)) / 100.0;
    }
    return superheatSet(c, 2, p, spt);
}

inline double superheatMultiplier(const Coefficients& c, double p, double spt) {
    const double m = superheatMultiplierFrom15(c, p, std::max(spt, kLowestSuperheat));
    return spt <= kLowestSuperheat ? 1.0 + spt * (m - 1.0) / kLowestSuperheat : m;
}

// The superheated flux per psia: the breakpoints' values interpolated in p, the lowest
// one's below it.
inline double superheatedFlux(const Coefficients& c, double p, double h) {
    const double z = h / 1000.0;
    if (p <= kBreakpoints[0]) return quartic(c.breakpoint[0], z);
    std::size_t upper = 1;
    while (upper + 1 < kBreakpoints.size() && p > kBreakpoints[upper]) ++upper;
    const double p0 = kBreakpoints[upper - 1], p1 = kBreakpoints[upper];
    const double f0 = quartic(c.breakpoint[upper - 1], z), f1 = quartic(c.breakpoint[upper], z);
    return (f0 * (p1 - p) + f1 * (p - p0)) / (p1 - p0);
}

// Near saturation (superheat below 85 °F): the base flux over the multiplier.
inline double nearSaturationFlux(const Coefficients& c, double p, double x, double spt) {
    const double multiplier = spt <= 0.0 ? saturatedMultiplier(c, p, x) : superheatMultiplier(c, p, spt);
    return baseFlux(p) / multiplier;
}

// The critical mass flux, lbm/(h·in²), of a state at p (psia) of quality x, superheat spt
// (°F) and enthalpy h (Btu/lbm).
inline double criticalFlux(const Coefficients& c, double p, double x, double spt, double h) {
    if (spt <= 80.0) return p * nearSaturationFlux(c, p, x, spt);
    const double superheated = superheatedFlux(c, p, h);
    if (spt >= 85.0) return p * superheated;
    return p * (superheated * (spt - 80.0) + (85.0 - spt) * nearSaturationFlux(c, p, x, spt)) / 5.0;
}

}  // namespace vireo::steam::critical_flow

#endif
