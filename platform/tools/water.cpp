// Water at saturation: the saturation pressure over liquid water and its inverse by the
// IAPWS-IF97 region-4 equations (an exact inverse pair), the sublimation pressure over ice
// by IAPWS R14-08, and the enthalpies of the saturated phases by the IAPWS supplementary
// release on saturation properties of ordinary water (1992).
#include "properties.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo_tools::properties::water {
namespace {

// IF97 region 4, temperatures in K, pressures in MPa.
constexpr double n[11] = {0.0,
                          0.11670521452767e4,
                          -0.72421316598842e6,
                          -0.17073846940092e2,
                          0.12020824702470e5,
                          -0.32325550322333e7,
                          0.14915108613530e2,
                          -0.48232657361591e4,
                          0.40511340542057e6,
                          -0.23855557567849,
                          0.65017534844798e3};

double if97Pressure(double tK) {
    const double v = tK + n[9] / (tK - n[10]);
    const double a = v * v + n[1] * v + n[2];
    const double b = n[3] * v * v + n[4] * v + n[5];
    const double c = n[6] * v * v + n[7] * v + n[8];
    const double x = 2.0 * c / (-b + std::sqrt(b * b - 4.0 * a * c));
    const double x2 = x * x;
    return x2 * x2 * 1.0e6;
}

double if97Temperature(double pPa) {
    const double beta = std::sqrt(std::sqrt(pPa * 1.0e-6));
    const double e = beta * beta + n[3] * beta + n[6];
    const double f = n[1] * beta * beta + n[4] * beta + n[7];
    const double g = n[2] * beta * beta + n[5] * beta + n[8];
    const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
    return 0.5 * (n[10] + d - std::sqrt((n[10] + d) * (n[10] + d) - 4.0 * (n[9] + n[10] * d)));
}

// The range of the IF97 equations, and below it the band over supercooled water where
// both stay monotone and inverse to each other; beyond the band the ends are held.
constexpr double kLiquidLowK = 273.15;
constexpr double kLiquidLowPa = 611.212677;  // if97Pressure(273.15)
constexpr double kBandLowK = 200.0;
constexpr double kBandLowPa = 0.351435038;   // if97Pressure(200)

// IAPWS R14-08, sublimation over ice Ih, 50 K to the triple point.
constexpr double kIceA[3] = {-0.212144006e2, 0.273203819e2, -0.610598130e1};
constexpr double kIceB[3] = {0.333333333e-2, 0.120666667e1, 0.170333333e1};
constexpr double kIceLowK = 50.0;

// ln(p/pt) as a function of ln(theta), theta = T/Tt, and its derivative.
double iceLogRatio(double lnTheta, double* slope) {
    double sum = 0.0, d = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double e = kIceB[i] - 1.0;
        const double term = kIceA[i] * std::exp(e * lnTheta);
        sum += term;
        d += e * term;
    }
    if (slope != nullptr) *slope = d;
    return sum;
}

double icePressure(double tK) { return kTriplePointPa * std::exp(iceLogRatio(std::log(tK / kTriplePointK), nullptr)); }

double iceTemperature(double pPa) {
    const double target = std::log(pPa / kTriplePointPa);
    // Start from Clausius-Clapeyron with the sublimation enthalpy over R (6140 K), then
    // Newton on ln(theta): the curve is smooth and convex enough that four steps reach
    // double precision over the whole range.
    double u = -std::log(1.0 - target * kTriplePointK / 6140.0);
    for (int i = 0; i < 6; ++i) {
        double slope = 0.0;
        const double r = iceLogRatio(u, &slope) - target;
        const double step = r / slope;
        u -= step;
        if (std::fabs(step) < 1.0e-13) break;
    }
    return kTriplePointK * std::exp(u);
}

Value liquidPressure(double tK) {
    if (tK > kCriticalK) return {kCriticalPa, kOutsideRange};
    if (tK >= kLiquidLowK) return {if97Pressure(tK), kInRange};
    return {tK >= kBandLowK ? if97Pressure(tK) : kBandLowPa, kOutsideRange};
}

Value liquidTemperature(double p) {
    if (p > kCriticalPa) return {kCriticalK, kOutsideRange};
    if (p >= kLiquidLowPa) return {if97Temperature(p), kInRange};
    return {p >= kBandLowPa ? if97Temperature(p) : kBandLowK, kOutsideRange};
}

// The 1992 saturation-property release: Tc, pc and rho_c with the auxiliary alpha.
constexpr double kRhoC = 322.0;
constexpr double kA[6] = {-7.85951783, 1.84408259, -11.7866497, 22.6807411, -15.9618719, 1.80122502};
constexpr double kB[6] = {1.99274064, 1.09965342, -0.510839303, -1.75493479, -45.5170352, -6.74694450e5};
constexpr double kC[6] = {-2.03150240, -2.68302940, -5.38626492, -17.2991605, -44.7586581, -63.9201063};
constexpr double kD[5] = {-5.65134998e-8, 2690.66631, 127.287297, -135.003439, 0.981825814};
constexpr double kDAlpha = -1135.905627715;

struct Saturated {
    double liquid, vapour;  // kJ/kg
};

// h = alpha + T/rho dp/dT on each side, T held within the triple and the critical point.
Saturated saturatedEnthalpies(double tK) {
    const double theta = tK / kCriticalK;
    const double tau = 1.0 - theta;
    const double r = std::cbrt(tau);  // tau^(1/3): every exponent of the densities is a multiple
    const double sqrtTau = std::sqrt(tau);
    // ln(p/pc) = (a1 tau + a2 tau^1.5 + a3 tau^3 + a4 tau^3.5 + a5 tau^4 + a6 tau^7.5) / theta
    const double t3 = tau * tau * tau;
    const double s = kA[0] * tau + kA[1] * tau * sqrtTau + kA[2] * t3 + kA[3] * t3 * sqrtTau + kA[4] * t3 * tau +
                     kA[5] * t3 * t3 * tau * sqrtTau;
    const double ds = kA[0] + 1.5 * kA[1] * sqrtTau + 3.0 * kA[2] * tau * tau + 3.5 * kA[3] * tau * tau * sqrtTau +
                      4.0 * kA[4] * t3 + 7.5 * kA[5] * t3 * t3 * sqrtTau;
    const double p = kCriticalPa * std::exp(s / theta);
    // d ln p / dT = -(ds / theta + s / theta^2) / Tc
    const double dpdT = -p * (ds / theta + s / (theta * theta)) / kCriticalK;
    const double r2 = r * r, r5 = r2 * r2 * r, r16 = std::pow(r, 16.0), r43 = std::pow(r, 43.0), r110 = std::pow(r, 110.0);
    const double rhoL = kRhoC * (1.0 + kB[0] * r + kB[1] * r2 + kB[2] * r5 + kB[3] * r16 + kB[4] * r43 + kB[5] * r110);
    const double q = std::sqrt(r);  // tau^(1/6)
    const double q2 = q * q, q4 = q2 * q2, q8 = q4 * q4;
    const double rhoV =
        kRhoC * std::exp(kC[0] * q2 + kC[1] * q4 + kC[2] * q8 + kC[3] * std::pow(q, 18.0) + kC[4] * std::pow(q, 37.0) +
                         kC[5] * std::pow(q, 71.0));
    const double alpha = 1000.0 * (kDAlpha + kD[0] * std::pow(theta, -19.0) + kD[1] * theta +
                                   kD[2] * std::pow(theta, 4.5) + kD[3] * std::pow(theta, 5.0) +
                                   kD[4] * std::pow(theta, 54.5));
    return {(alpha + tK / rhoL * dpdT) / 1000.0, (alpha + tK / rhoV * dpdT) / 1000.0};
}

Value enthalpies(double t, Saturated& h) {
    if (!std::isfinite(t)) return {0.0, kNotANumber};
    const double tK = t + kKelvin;
    // 0.01 degC in single precision lies a little below the triple point.
    const bool inside = tK >= kTriplePointK - 1.0e-6 && tK <= kCriticalK;
    h = saturatedEnthalpies(tK < kTriplePointK ? kTriplePointK : (tK > kCriticalK ? kCriticalK : tK));
    return {0.0, inside ? kInRange : kOutsideRange};
}

}  // namespace

Value saturationPressure(int variant, double t) {
    if (!std::isfinite(t)) return {0.0, kNotANumber};
    const double tK = t + kKelvin;
    const int status = variant == 1 || variant == 2 ? kInRange : kUnknownVariant;
    Value v;
    if (variant == 2 && tK < kTriplePointK) {
        if (tK >= kIceLowK) v = {icePressure(tK), kInRange};
        else v = {tK > 0.0 ? icePressure(tK) : 0.0, kOutsideRange};
    } else {
        v = liquidPressure(tK);
    }
    if (v.status == kInRange) v.status = status;
    return v;
}

Value saturationTemperature(int variant, double p) {
    if (!std::isfinite(p)) return {0.0, kNotANumber};
    const int status = variant == 1 || variant == 2 ? kInRange : kUnknownVariant;
    Value v;
    if (variant == 2 && p < kTriplePointPa) {
        v = p >= icePressure(kIceLowK) ? Value{iceTemperature(p), kInRange} : Value{kIceLowK, kOutsideRange};
    } else {
        v = liquidTemperature(p);
    }
    v.value -= kKelvin;
    if (v.status == kInRange) v.status = status;
    return v;
}

Value liquidEnthalpy(double t) {
    Saturated h{};
    Value v = enthalpies(t, h);
    if (v.status != kNotANumber) v.value = h.liquid;
    return v;
}

Value vapourEnthalpy(double t) {
    Saturated h{};
    Value v = enthalpies(t, h);
    if (v.status != kNotANumber) v.value = h.vapour;
    return v;
}

Value evaporationEnthalpy(double t) {
    Saturated h{};
    Value v = enthalpies(t, h);
    // At the critical point the two sides meet; a rounding there must not go negative.
    if (v.status != kNotANumber) v.value = h.vapour > h.liquid ? h.vapour - h.liquid : 0.0;
    return v;
}

}  // namespace vireo_tools::properties::water

namespace {

namespace water = vireo_tools::properties::water;
using vireo_tools::properties::handOn;


}  // namespace

extern "C" {

float satp(const int* variant, const float* t, int* status) {
    return handOn(water::saturationPressure(*variant, *t), status);
}
float satt(const int* variant, const float* p, int* status) {
    return handOn(water::saturationTemperature(*variant, *p), status);
}
float h2ohl(const float* t, int* status) { return handOn(water::liquidEnthalpy(*t), status); }
float h2ohv(const float* t, int* status) { return handOn(water::vapourEnthalpy(*t), status); }
float h2ohe(const float* t, int* status) { return handOn(water::evaporationEnthalpy(*t), status); }

}  // extern "C"
