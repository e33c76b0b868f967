// Dry air as an ideal gas: the heat capacity of the ideal-gas part of Lemmon, Jacobsen,
// Penoncello and Friend (J. Phys. Chem. Ref. Data 29, 2000), the conductivity of the
// dilute gas of Lemmon and Jacobsen (Int. J. Thermophys. 25, 2004), Sutherland's law for
// the viscosity with White's constants (Viscous Fluid Flow, table 1-2). At atmospheric
// pressure the real gas differs from these by less than 0.3 %.
#include "properties.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo_tools::properties::air {
namespace {

constexpr double kLowK = 100.0, kHighK = 2000.0;
constexpr double kReducingK = 132.6312;  // the equation of state's reducing temperature

double kelvin(double t) {
    const double k = t + kKelvin;
    return k < kLowK ? kLowK : (k > kHighK ? kHighK : k);
}

}  // namespace

double density(double t, double p) { return p / (kGasConstant * kelvin(t)); }

double heatCapacity(double t) {
    // cp0/R = 1 - tau^2 d2(alpha0)/d(tau)2 of the ideal-gas Helmholtz energy alpha0.
    constexpr double n1 = 0.605719400e-7, n2 = -0.210274769e-4, n3 = -0.158860716e-3, n6 = -0.195363420e-3,
                     n7 = 2.490888032, n8 = 0.791309509, n9 = 0.212236768, n10 = -0.197938904, n11 = 25.36365,
                     n12 = 16.90741, n13 = 87.31279;
    constexpr double kR = 8.31451 / 28.9586e-3;  // the equation's gas constant, J/(kg K)
    const double tau = kReducingK / kelvin(t);
    const double inv = 1.0 / tau;
    auto einstein = [](double y) {  // y^2 e^-y / (1 - e^-y)^2
        const double x = std::exp(-y);
        return y * y * x / ((1.0 - x) * (1.0 - x));
    };
    double cv = -(12.0 * n1 * inv * inv * inv + 6.0 * n2 * inv * inv + 2.0 * n3 * inv +
                  0.75 * n6 * tau * std::sqrt(tau)) +
                n7 + n8 * einstein(n11 * tau) + n9 * einstein(n12 * tau);
    // The last term counts only in hot air: below about 460 K it stays under 1e-9.
    const double y13 = n13 * tau;
    if (y13 < 25.0) {
        const double x13 = std::exp(-y13);
        cv -= n10 * y13 * y13 * (2.0 / 3.0) * x13 / ((1.0 + (2.0 / 3.0) * x13) * (1.0 + (2.0 / 3.0) * x13));
    }
    return kR * (1.0 + cv);
}

double conductivity(double t) {
    // lambda0 = N1 eta0(T) + N2 tau^-1.1 + N3 tau^-0.3 in mW/(m K), eta0 in micro-Pa s from
    // the collision integral with sigma 0.360 nm and epsilon/k 103.3 K.
    constexpr double b[5] = {0.431, -0.4623, 0.08406, 0.005341, -0.00331};
    const double k = kelvin(t);
    const double lnT = std::log(k);
    const double s = lnT - std::log(103.3);
    const double omega = std::exp(b[0] + s * (b[1] + s * (b[2] + s * (b[3] + s * b[4]))));
    const double eta0 = 0.0266958 * std::sqrt(28.9586 * k) / (0.360 * 0.360 * omega);
    // tau^-0.3 and tau^-1.1 from one power, tau^-0.1.
    const double p1 = std::exp(0.1 * (lnT - std::log(kReducingK)));
    const double p3 = p1 * p1 * p1;
    return 1.0e-3 * (1.308 * eta0 + 1.405 * p3 * p3 * p3 * p1 * p1 - 1.036 * p3);
}

double dynamicViscosity(double t) {
    constexpr double mu0 = 1.716e-5, t0 = 273.0, s = 111.0;
    const double k = kelvin(t);
    const double r = k / t0;
    return mu0 * r * std::sqrt(r) * (t0 + s) / (k + s);
}

}  // namespace vireo_tools::properties::air

namespace {

namespace air = vireo_tools::properties::air;

// A value that is not a number never goes out: such an input gives 0.
bool usable(float x) { return std::isfinite(x); }

}  // namespace

extern "C" {

float aircp(const float* t) { return usable(*t) ? static_cast<float>(air::heatCapacity(*t)) : 0.0f; }
float airlam(const float* t) { return usable(*t) ? static_cast<float>(air::conductivity(*t)) : 0.0f; }
float airvis(const float* t) {
    return usable(*t) ? static_cast<float>(air::dynamicViscosity(*t) / air::density(*t, air::kReferencePa)) : 0.0f;
}
float airhco(const float* t) {
    if (!usable(*t)) return 0.0f;
    return static_cast<float>(air::conductivity(*t) / (air::density(*t, air::kReferencePa) * air::heatCapacity(*t)));
}
float airrho(const float* t, const float* p) {
    return usable(*t) && usable(*p) ? static_cast<float>(air::density(*t, *p)) : 0.0f;
}
float airpr(const float* t, const float* /*p*/) {
    if (!usable(*t)) return 0.0f;
    return static_cast<float>(air::dynamicViscosity(*t) * air::heatCapacity(*t) / air::conductivity(*t));
}

}  // extern "C"
