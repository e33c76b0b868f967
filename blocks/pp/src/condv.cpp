// Thermal conductivity of water and steam by the IAPS industrial equation of 1985 (its
// reference temperature 647.3 K, reference density 317.7 kg/m³): an ideal-gas part in
// temperature, a part in density and a part that rises towards the critical point. Three
// entries share the body and the trail name "CONDV ": at the volume of the vapour side
// or of the liquid side in English units, or at a given volume in SI units.
#include "steam_frame.h"

#include <algorithm>
#include <cmath>

namespace vireo::steam {
namespace {

constexpr RoutineName kName("CONDV ");
constexpr int kLevel = 5;

constexpr double kCubicFootPerLbmInCubicMetrePerKg = 16.018463373960138;
constexpr double kWattPerMetreKelvinInBtu = 0.5777893165429981;  // W/(m·K) -> Btu/(h·ft·°F)

constexpr double a[4] = {0.0102811, 0.0299621, 0.0156146, -0.00422464};
constexpr double b0 = -0.39707, b1 = 0.400302, b2 = 1.06, B1 = -0.171587, B2 = 2.39219;
constexpr double d1 = 0.0701309, d2 = 0.011852, d3 = 0.00169937, d4 = -1.02;
constexpr double C1 = 0.642857, C2 = -4.11717, C3 = -6.17937, C4 = 0.00308976, C5 = 0.0822994, C6 = 10.0932;
// At low densities the exponent of the critical part's first term runs far below what
// exp resolves; held here, the term is zero to every digit the others carry.
constexpr double kLowestExponent = -690.0;

// W/(m·K) at a specific volume (m³/kg) and a temperature (°F).
double equation(double v, double t) {
    const double tr = (t + con(C::rankine)) / 1.8 / 647.3;
    const double rho = 1.0 / v / 317.7;
    const double ideal = std::sqrt(tr) * (a[0] + tr * (a[1] + tr * (a[2] + tr * a[3])));
    const double density = b0 + b1 * rho + b2 * std::exp(B1 * (rho + B2) * (rho + B2));
    const double dt = std::fabs(tr - 1.0) + C4;
    const double dtPower = std::pow(dt, -0.6);
    const double q = 2.0 + C5 * dtPower;
    const double r = q + 1.0;
    const double s = tr >= 1.0 ? 1.0 / dt : C6 * dtPower;
    const double rhoInv = 1.0 / rho;
    const double y = std::max(C2 * std::pow(tr, 1.5) + C3 * std::pow(rhoInv, 5.0), kLowestExponent);
    const double critical = d4 * std::exp(y) +
                            (d1 * std::pow(1.0 / tr, 10.0) + d2) * std::pow(rho, 1.8) * std::exp(C1 * (1.0 - std::pow(rho, 2.8))) +
                            d3 * s * std::pow(rho, q) * std::exp((q / r) * (1.0 - std::pow(rho, r)));
    return ideal + density + critical;
}

bool temperatureWithin(double t) { return t >= con(C::tLower) && t <= con(C::tUpper2); }
bool pressureWithin(double p) { return p >= con(C::pLower) && p <= con(C::pUpper); }

void checkTemperature(double t) {
    if (!temperatureWithin(t)) fail(kName, 12, levelArguments(kLevel)[0], t);
}

// The English forms: the volume of the chosen side, the ranges, the unit.
template <class Volume>
double atPressure(double p, double t, Volume volume) {
    double* recorded = levelArguments(kLevel);
    recorded[0] = p;
    recorded[1] = t;
    storeName(levelName(kLevel), kName);
    const double v = volume(p, t) / kCubicFootPerLbmInCubicMetrePerKg;
    if (!pressureWithin(p)) fail(kName, 12, p, t);
    checkTemperature(t);
    return levelResult(kLevel) = equation(v, t) * kWattPerMetreKelvinInBtu;
}

}  // namespace

double vapourConductivity(double p, double t) {
    return atPressure(p, t, [](double p, double t) { return vapourSide(Property::volume, p, t); });
}

double liquidConductivity(double p, double t) {
    return atPressure(p, t, [](double p, double t) { return liquidSide(Property::volume, p, t); });
}

double conductivity(double v, double t) {
    // The trail keeps the temperature in °F, beside whatever its first slot held.
    const double fahrenheit = 32.0 + 1.8 * t;
    levelArguments(kLevel)[1] = fahrenheit;
    storeName(levelName(kLevel), kName);
    checkTemperature(fahrenheit);
    // A volume of zero or below, NaN, or one too small for the powers of its density has
    // no conductivity: out of range rather than a NaN.
    const double lambda = equation(v, fahrenheit);
    if (!std::isfinite(lambda)) fail(kName, 42, v, fahrenheit);
    return levelResult(kLevel) = lambda;
}

bool vapourConductivityAccepts(double p, double t) {
    return vapourSideAccepts(p, t) && pressureWithin(p) && temperatureWithin(t);
}

bool liquidConductivityAccepts(double p, double t) {
    return liquidSideAccepts(p, t) && pressureWithin(p) && temperatureWithin(t);
}

bool conductivityAccepts(double v, double t) {
    const double fahrenheit = 32.0 + 1.8 * t;
    return temperatureWithin(fahrenheit) && std::isfinite(equation(v, fahrenheit));
}

}  // namespace vireo::steam

extern "C" {

VIREO_STEAM_ROUTINE double condv_(const double* p, const double* t) { return vireo::steam::vapourConductivity(*p, *t); }
VIREO_STEAM_ROUTINE double condl_(const double* p, const double* t) { return vireo::steam::liquidConductivity(*p, *t); }
VIREO_STEAM_ROUTINE double convt_(const double* v, const double* t) { return vireo::steam::conductivity(*v, *t); }

}  // extern "C"
