// Water and steam properties for the blocks, in their units (T in °C, p in Pa, h in
// J/kg): the side by chkreg_, the state in the library's units, the side's routine, the
// result back in SI. The factors are single-precision values, as the blocks have always had
// them (4186.8 and 0.0624279606 as floats; 2326 is exact).
#include "steam_frame.h"

namespace vireo::steam {
namespace {

constexpr double kJoulePerKgInBtuPerLbm = 2326.0;
constexpr double kJoulePerKgKelvinInBtuPerLbmRankine = 4186.7998046875;
constexpr double kCubicMetrePerKgInCubicFootPerLbm = 0.062427960336208344;

double liquidEnthalpy(double p, double t) { return liquidSide(Property::enthalpy, p, t); }
double vapourEnthalpy(double p, double t) { return vapourSide(Property::enthalpy, p, t); }
double liquidEntropy(double p, double t) { return liquidSide(Property::entropy, p, t); }
double vapourEntropy(double p, double t) { return vapourSide(Property::entropy, p, t); }
double liquidVolume(double p, double t) { return liquidSide(Property::volume, p, t); }
double vapourVolume(double p, double t) { return vapourSide(Property::volume, p, t); }

}  // namespace

double steamEnthalpy(double t, double p) {
    return siProperty(t, p, liquidEnthalpy, vapourEnthalpy, kJoulePerKgInBtuPerLbm);
}
double steamEntropy(double t, double p) {
    return siProperty(t, p, liquidEntropy, vapourEntropy, kJoulePerKgKelvinInBtuPerLbmRankine);
}
double steamHeatCapacity(double t, double p) {
    return siProperty(t, p, liquidHeatCapacity, vapourHeatCapacity, kJoulePerKgKelvinInBtuPerLbmRankine);
}
double steamVolume(double t, double p) {
    return siProperty(t, p, liquidVolume, vapourVolume, kCubicMetrePerKgInCubicFootPerLbm);
}

double saturationCelsius(double pPascal) {
    const double psia = pa2psi_(&pPascal);
    const double t = saturationTemperature(psia);
    return tf2tc_(&t);
}
double saturatedLiquidEnthalpy(double pPascal) {
    const double psia = pa2psi_(&pPascal);
    return hfp_(&psia) * kJoulePerKgInBtuPerLbm;
}
double liquidHeatCapacityCelsius(double tCelsius, double pPascal) {
    const double psia = pa2psi_(&pPascal);
    const double tf = tc2tf_(&tCelsius);
    return liquidHeatCapacity(psia, tf) * kJoulePerKgKelvinInBtuPerLbmRankine;
}
double vapourHeatCapacityCelsius(double tCelsius, double pPascal) {
    const double psia = pa2psi_(&pPascal);
    const double tf = tc2tf_(&tCelsius);
    return vapourHeatCapacity(psia, tf) * kJoulePerKgKelvinInBtuPerLbmRankine;
}
double liquidTemperatureCelsius(double pPascal, double h) {
    const double psia = pa2psi_(&pPascal);
    const double hBtu = h / kJoulePerKgInBtuPerLbm;
    const double tf = tphl_(&psia, &hBtu);
    return tf2tc_(&tf);
}
double steamTemperatureCelsius(double pPascal, double h) {
    const double psia = pa2psi_(&pPascal);
    const double hBtu = h / kJoulePerKgInBtuPerLbm;
    const double tf = tph_(&psia, &hBtu);
    return tf2tc_(&tf);
}

}  // namespace vireo::steam

extern "C" {

VIREO_STEAM_ROUTINE double steam_h_(const double* t, const double* p) { return vireo::steam::steamEnthalpy(*t, *p); }
VIREO_STEAM_ROUTINE double steam_s_(const double* t, const double* p) { return vireo::steam::steamEntropy(*t, *p); }
VIREO_STEAM_ROUTINE double steam_cp_(const double* t, const double* p) {
    return vireo::steam::steamHeatCapacity(*t, *p);
}
VIREO_STEAM_ROUTINE double steam_v_(const double* t, const double* p) { return vireo::steam::steamVolume(*t, *p); }

}  // extern "C"
