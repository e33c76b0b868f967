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
inline void comt3(double v, double t) { comt3_(&v, &t); }
inline double pvt3(double v, double t) { return pvt3_(&v, &t); }
inline double hvt3(double v, double t) { return hvt3_(&v, &t); }
inline double svt3(double v, double t) { return svt3_(&v, &t); }
inline double vpt3(double p, double t) { return vpt3_(&p, &t); }
inline double vpt3l(double p, double t) { return vpt3l_(&p, &t); }
inline double vpt3d(double p, double t) { return vpt3d_(&p, &t); }
inline double vptf3(double p, double t) { return vptf3_(&p, &t); }
inline double vptg3(double p, double t) { return vptg3_(&p, &t); }
inline double vptl(double p, double t) { return vptl_(&p, &t); }
inline double vcl(double p, double t) { return vcl_(&p, &t); }
inline double hptl(double p, double t) { return hptl_(&p, &t); }
inline double sptl(double p, double t) { return sptl_(&p, &t); }
inline double vptd(double p, double t) { return vptd_(&p, &t); }
inline double hptd(double p, double t) { return hptd_(&p, &t); }
inline double sptd(double p, double t) { return sptd_(&p, &t); }
inline double vft(double t) { return vft_(&t); }
inline double vsl(double t) { return vsl_(&t); }
inline double vfp(double p) { return vfp_(&p); }
inline double vgt(double t) { return vgt_(&t); }
inline double vgp(double p) { return vgp_(&p); }
inline double hft(double t) { return hft_(&t); }
inline double hsl(double t) { return hsl_(&t); }
inline double hfp(double p) { return hfp_(&p); }
inline double hgt(double t) { return hgt_(&t); }
inline double hgp(double p) { return hgp_(&p); }
inline double sft(double t) { return sft_(&t); }
inline double ssl(double t) { return ssl_(&t); }
inline double sfp(double p) { return sfp_(&p); }
inline double sgt(double t) { return sgt_(&t); }
inline double sgp(double p) { return sgp_(&p); }
inline double cppt1(double p, double t) { return cppt1_(&p, &t); }
inline double cppt2(double p, double t) { return cppt2_(&p, &t); }
inline double cpvt3(double v, double t) { return cpvt3_(&v, &t); }
inline double cppt3(double p, double t) { return cppt3_(&p, &t); }
inline double cpptl(double p, double t) { return cpptl_(&p, &t); }
inline double cpptd(double p, double t) { return cpptd_(&p, &t); }
inline double condv(double p, double t) { return condv_(&p, &t); }
inline double condl(double p, double t) { return condl_(&p, &t); }
inline double convt(double v, double t) { return convt_(&v, &t); }
inline int chkreg(double t, double p) { return chkreg_(&t, &p); }
inline double steamH(double t, double p) { return steam_h_(&t, &p); }
inline double steamS(double t, double p) { return steam_s_(&t, &p); }
inline double steamCp(double t, double p) { return steam_cp_(&t, &p); }
inline double steamV(double t, double p) { return steam_v_(&t, &p); }

// The library's constants by their 1-based index in stmcon_.
inline double pc() { return stmcon_.value[2]; }
inline double vc() { return stmcon_.value[3]; }
inline double pcvc() { return stmcon_.value[6]; }
constexpr double kCriticalTemperature = 705.47;  // °F

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
