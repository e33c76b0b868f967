// Surface tension of water against its vapour, sigma = B tau^mu (1 + b tau) with tau the
// reduced distance from the critical temperature (B = 0.2358 N/m, mu = 1.256, b = -0.625),
// in lbf/ft. The critical temperature is the formulation's 1164.87 °R; a hair above it
// still counts as critical, so that a state taken there by rounding gives 0.
#include "steam_frame.h"

#include <algorithm>
#include <cmath>

namespace vireo::steam {
namespace {

constexpr RoutineName kName(" SURFT");
constexpr double kCriticalRankine = 1164.87;
constexpr double kNewtonPerMetreInLbfPerFoot = 0.06852176585679176;

}  // namespace

bool surfaceTensionAccepts(double t) { return t + 459.67 <= kCriticalRankine + 1e-06; }

double surfaceTension(double t) {
    // NaN fails the test too: it has no surface tension.
    if (!surfaceTensionAccepts(t)) fail(kName, 2, t, 0.0);
    const double tau = std::max(0.0, (kCriticalRankine - (t + 459.67)) / kCriticalRankine);
    return 0.2358 * kNewtonPerMetreInLbfPerFoot * std::pow(tau, 1.256) * (1.0 - 0.625 * tau);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double surft_(const double* t) { return vireo::steam::surfaceTension(*t); }
