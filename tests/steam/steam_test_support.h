// Helpers for the water and steam tests: value-style calls of the by-reference routines,
// the exact unit factors for comparisons in SI, and a fresh memo for white-box tests.
#ifndef VIREO_TEST_STEAM_SUPPORT_H
#define VIREO_TEST_STEAM_SUPPORT_H

#include "steam.h"

#include <cstring>

namespace steam_test {

inline double vpt1(double p, double t) { return vpt1_(&p, &t); }
inline double hpt1(double p, double t) { return hpt1_(&p, &t); }
inline double spt1(double p, double t) { return spt1_(&p, &t); }
inline double vpt2(double p, double t) { return vpt2_(&p, &t); }
inline double hpt2(double p, double t) { return hpt2_(&p, &t); }
inline double spt2(double p, double t) { return spt2_(&p, &t); }
inline void comt1(double p, double t) { comt1_(&p, &t); }
inline void comt2(double p, double t) { comt2_(&p, &t); }
inline double psatt(double t) { return psatt_(&t); }
inline double psl(double t) { return psl_(&t); }
inline double psl1(double t) { return psl1_(&t); }
inline double tsatp(double p) { return tsatp_(&p); }
inline double tsl(double p) { return tsl_(&p); }
inline double p23t(double t) { return p23t_(&t); }
inline double t23p(double p) { return t23p_(&p); }

// Exact definitions (not the library's rounded 6894 Pa/psi).
constexpr double kPaPerPsi = 6894.757293168361;
constexpr double kCubicMetrePerKgPerCubicFootPerLbm = 0.062427960576144606;
constexpr double kKilojoulePerKgPerBtuPerLbm = 2.326;
constexpr double kKilojoulePerKgKPerBtuPerLbmR = 4.1868;
constexpr double kRankineOffset = 459.67;
// ft·lbf per Btu and in² per ft², to turn psia·ft³/lbm into Btu/lbm.
constexpr double kFootPoundPerBtu = 778.169262;
constexpr double kSquareInchPerSquareFoot = 144.0;

inline double fahrenheitFromKelvin(double kelvin) { return (kelvin - 273.15) * 1.8 + 32.0; }
inline double kelvinFromFahrenheit(double fahrenheit) { return (fahrenheit - 32.0) / 1.8 + 273.15; }
inline double psiaFromMegapascal(double mpa) { return mpa * 1e6 / kPaPerPsi; }
inline double megapascalFromPsia(double psia) { return psia * kPaPerPsi * 1e-6; }

// Every memo level, name and the saturation memo as at load.
inline void resetMemo() {
    for (auto& name : stmlvn_.name) std::memset(name, ' ', 6);
    for (double& slot : stmlvl_.slot) slot = 0.0;
    nust_.slope = 0.0;
    for (int row = 0; row < 2; ++row) {
        nust_.argument[row] = 0.0;
        nust_.result[row] = 0.0;
        std::memset(nust_.name[row], ' ', 6);
    }
}

}  // namespace steam_test

#endif
