#include "air_collector.h"

#include "vireo_tools.h"

#include <algorithm>
#include <cmath>

namespace vireo::st::aircollector {
namespace {

constexpr double kToRadians = 0.017453292;
constexpr double kKelvin = 273.15;

float f32(double x) { return static_cast<float>(std::clamp(x, -1e30, 1e30)); }

// The utility library's air at a temperature in degC.
double viscosity(double t) {
    const float x = f32(t);
    return airvis(&x);
}
double conductivity(double t) {
    const float x = f32(t);
    return airlam(&x);
}
double heatCapacity(double t) {
    const float x = f32(t);
    return aircp(&x);
}
double density(double t, float p) {
    const float x = f32(t);
    return airrho(&x, &p);
}
double prandtl(double t, float p) {
    const float x = f32(t);
    return airpr(&x, &p);
}

}  // namespace

double skyTemperature(double ambient) {
    const double ta = ambient + kKelvin;
    return 0.32 * ta + 0.037536 * std::pow(std::max(ta, 0.0), 1.5) - kKelvin;
}

double channelNusselt(double re, double pr, double dh, double length, double previous) {
    if (re < kTransition) {
        if (!(pr > 0 && re > 0 && dh > 0)) return 0;
        // The mean over the length beyond the first 0.1 m.
        return 4.11 + 0.4345 * (std::pow(length, 0.1788) - 0.66252154) * std::pow(re * pr * dh, 0.8212) /
                          (length - 0.1);
    }
    if (!(pr > 0 && re > 0)) return previous;
    const double f8 = 1 / std::pow(0.79 * std::log(re) - 1.64, 2) / 8;
    return f8 * (re - 1000) * pr * (1 + std::pow(dh / length, 0.6666667)) /
           (1 + 12.7 * std::sqrt(f8) * (std::pow(pr, 0.6666667) - 1));
}

double finEfficiency(double mL) { return mL > 0 ? std::tanh(mL) / mL : 1.0; }

double gapNusselt(double rayleigh, double tilt) {
    const double beta = tilt * kToRadians;
    const double rc = (rayleigh > 0 ? rayleigh : 0.0) * std::cos(beta);
    const double x1 = rc > 0 ? std::max(0.0, 1 - 1708 / rc) : 0.0;
    const double x2 = std::max(0.0, std::cbrt(rc / 5830) - 1);
    const double x3 = rc > 0 ? 1 - 1708 * std::pow(std::max(0.0, std::sin(1.8 * beta)), 1.6) / rc : 0.0;
    return 1 + 1.44 * x1 * x3 + x2;
}

double plateRadiation(double e1, double e2, double t1, double t2) {
    if (!(e1 > 0 && e2 > 0)) return 0;
    const double k1 = t1 + kKelvin, k2 = t2 + kKelvin;
    return kSigma / (1 / e1 + 1 / e2 - 1) * (k1 * k1 + k2 * k2) * (k1 + k2);
}

double skyRadiation(double coverEmissivity, double cover, double sky, double ambient) {
    if (cover == ambient) return 4.0;
    const double kc = cover + kKelvin, ks = sky + kKelvin;
    const double h = kSigma * coverEmissivity * (kc * kc + ks * ks) * (kc + ks) * (cover - sky) / (cover - ambient);
    return std::clamp(h, 0.0, kSkyCoefficientLimit);
}

double windConvection(double speed) { return 4.214 + 3.575 * speed; }

double capacityFlow(double t, double flow, float pressure) { return density(t, pressure) * flow * heatCapacity(t); }

double series(double a, double b) { return a > 0 && b > 0 ? a * b / (a + b) : 0.0; }

Channel channel(const Build& c, double tf, double flow, float pressure, double previousNu) {
    Channel k{};
    const double dh = c.hydraulicDiameter();
    k.re = dh * c.velocity(flow) / viscosity(tf);
    k.pr = prandtl(tf, pressure);
    k.nu = channelNusselt(k.re, k.pr, dh, c.length, previousNu);
    k.hc = conductivity(tf) * k.nu / dh;
    k.hcbf = k.hc * c.channelShare();
    // A fin of the channel's height, cooled on both faces, from the absorber.
    const double h = c.height, d = c.finThickness;
    const double m = std::sqrt(2 * k.hc * (h + d) / (c.finConductivity * h * d));
    const double betah = c.heightShare();
    k.hcpf = k.hc * c.channelShare() / (1 - betah) * (1 + (2 * finEfficiency(m * h) - 1) * betah);
    return k;
}

Losses losses(const Build& c, double tp, double tc, double tb, double ta, double sky, double wind, float pressure) {
    Losses k{};
    const double tmean = (tc + tp) / 2;
    // Rayleigh number across the gap; an absurd mean temperature gives none.
    const double kelvin = tmean + kKelvin;
    double ra = kelvin > 0 ? 9.81 * std::fabs(tp - tc) * std::pow(c.gap, 3) / (viscosity(tmean) * kelvin) *
                                 density(tmean, pressure) * heatCapacity(tmean) / conductivity(tmean)
                           : 0.0;
    if (!std::isfinite(ra)) ra = 0;
    k.hcpc = conductivity(tmean) * gapNusselt(ra, c.tilt) / c.gap;
    k.hrpc = plateRadiation(c.absorberEmissivity, c.coverEmissivity, tp, tc);
    k.hrca = skyRadiation(c.coverEmissivity, tc, sky, ta);
    k.hcca = windConvection(wind);
    k.uf = series(k.hcca + k.hrca, k.hcpc + k.hrpc);
    k.hrpb = plateRadiation(c.backEmissivity, c.underEmissivity, tp, tb);
    return k;
}

}  // namespace vireo::st::aircollector
