// Speed of sound in steam at (p, h), ft/s: the derivative of the density along the
// isentrope from volumes at nine pressures 1 % apart. Where the saturation pressure of the
// isentrope lies among them, the derivative takes only points on the state's own side of
// it, since the density bends there.
#include "steam_frame.h"

#include <array>
#include <cmath>

namespace vireo::steam {
namespace {

constexpr double kSaturatedVapourAtCritical = 1.06269901;
constexpr double kHighestEntropyOfTheLine = 2.2039;
// 144 in²/ft² × 32.174 lbm·ft/(lbf·s²).
constexpr double kFootPoundSquared = 4633.06;

// Five-point derivatives at the middle point 5 (index 4): weights and their first point.
struct Stencil {
    std::array<double, 5> weight;
    int first;      // index of the first point, counted upwards; the mirror image counts from the top
    int direction; // +1 upwards in pressure, -1 the mirror image
};
constexpr Stencil kCentral{{1.0 / 12.0, -2.0 / 3.0, 0.0, 2.0 / 3.0, -1.0 / 12.0}, 2, 1};
constexpr std::array<double, 5> kSkewed{-0.25, -5.0 / 6.0, 1.5, -0.5, 1.0 / 12.0};
constexpr std::array<double, 5> kForward{-25.0 / 12.0, 4.0, -3.0, 4.0 / 3.0, -0.25};

Stencil stencilFor(const std::array<double, 9>& pressure, double psat, double p) {
    if (!(p < con(C::pc)) || !(psat > pressure[0] && psat < pressure[8])) return kCentral;
    if (psat <= p) {
        // Superheated: every point at or above psat.
        if (pressure[2] >= psat) return kCentral;
        if (pressure[3] >= psat) return {kSkewed, 3, 1};
        return {kForward, 4, 1};
    }
    // Wet: every point at or below psat.
    if (pressure[6] <= psat) return kCentral;
    if (pressure[5] <= psat) return {kSkewed, 3, -1};
    return {kForward, 4, -1};
}

}  // namespace

SoundSpeed soundSpeed(double p, double h) {
    double t = 0.0, v = 0.0, x = 0.0;
    double s = sssiss_(&p, &h, &t, &v, &x);
    double psat = 0.0;
    if (s >= kSaturatedVapourAtCritical && s <= kHighestEntropyOfTheLine) psat = psv_(&s);
    if (s >= kSaturatedVapourAtCritical && h > 1114.0 && p > 2500.0) psat = boundary23Pressure(t);

    std::array<double, 9> pressure{}, density{};
    for (int i = 0; i < 9; ++i) {
        pressure[i] = p + (i - 4) * 0.01 * p;
        double ti = 0.0, vi = 0.0, xi = 0.0;
        hisiss_(&pressure[i], &s, &ti, &vi, &xi);
        density[i] = 1.0 / vi;
    }
    const Stencil stencil = stencilFor(pressure, psat, p);
    double sum = 0.0;
    for (int k = 0; k < 5; ++k) {
        const int index = stencil.direction > 0 ? stencil.first + k : 8 - stencil.first - k;
        sum += stencil.weight[k] * density[index];
    }
    const double derivative = sum / (stencil.direction * 0.01 * p);
    const double k = density[4] / (p * derivative);
    return {std::sqrt(kFootPoundSquared * k * p / density[4]), k};
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double crvel_(const double* p, const double* h, double* k) {
    const vireo::steam::SoundSpeed sound = vireo::steam::soundSpeed(*p, *h);
    *k = sound.exponent;
    return sound.velocity;
}
