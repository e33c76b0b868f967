// Temperature on the boundary between regions 2 and 3: Newton's method on the
// L-function, in logarithmic steps while the pressure is far off.
#include "steam_frame.h"

#include <algorithm>
#include <cmath>

namespace vireo::steam {

// The boundary's parabola in theta is lowest at its vertex, p/pc = L0 - L1^2 / (4 L2);
// below that no temperature lies on the boundary and the iteration cannot converge.
bool boundary23TemperatureAccepts(double p) {
    const double lowest = con(C::pc) * (con(C::l0) - con(C::l1) * con(C::l1) / (4.0 * con(C::l2)));
    return p >= lowest && p <= con(C::pUpper);
}

double boundary23Temperature(double p) {
    constexpr RoutineName kName("T23P  ");
    constexpr double a = -14834.4;
    constexpr double b = 5148.03;
    constexpr double c = -586.582;
    constexpr double d = 23.2528;
    constexpr int kMaxSteps = 25;

    SaturationMemo& memo = nust_;
    if (p == memo.argument[1] && sameName(memo.name[1], kName)) return memo.result[1];
    storeName(memo.name[1], kName);
    memo.argument[1] = p;
    // Zero, negative pressures and NaN are out of range (the logarithm needs p > 0).
    if (!(p > con(C::pLower) && p <= con(C::pUpper))) fail(kName, 1, p, 0.0);

    const double tolerance = std::max(con(C::tolerance) * p, con(C::tolerance));
    const double pc = con(C::pc);
    const double tc = con(C::tc);
    const double lp = std::log(p);
    double t = a + (b + (c + d * lp) * lp) * lp;
    for (int step = 1; step <= kMaxSteps; ++step) {
        const double theta = (t + con(C::rankine)) / tc;
        const double p2 = pc * (con(C::l0) + con(C::l1) * theta + con(C::l2) * theta * theta);
        const double dp = p - p2;
        if (std::fabs(dp) <= tolerance) return memo.result[1] = t;
        double dt = dp * tc / (pc * (con(C::l1) + con(C::l2Twice) * theta));
        if (std::fabs(dp / p) > 0.1) dt = 77.0 * (lp - std::log(p2));
        t += dt;
    }
    fail(kName, -1, p, 0.0);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double t23p_(const double* p) { return vireo::steam::boundary23Temperature(*p); }
