// Saturation temperature as a function of pressure: Newton's method on the saturation
// line, from a Chebyshev series start.
#include "steam_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vireo::steam {
namespace {

constexpr RoutineName kName("TSATP ");

constexpr double a0 = 3529.058235;
constexpr double a1 = -1.48047125;
constexpr double a2 = -1.089944005;
constexpr double b[12] = {1.52264682686,    -0.682309517937,  0.164114951728,   -0.00202321648831,
                          -0.00192391110748, -0.000574549418696, 6.84115542402e-05, 3.36500068426e-05,
                          -1.23422483951e-05, 1.48265501702e-06, -1.02116445578e-06, -4.09080904092e-06};
constexpr int kMaxSteps = 30;

double startTemperature(double p) {
    const double tCritical = con(C::tCritical);
    if (p / con(C::pc) > 0.99999999) return tCritical;
    const double t = (std::pow(std::log(a0 / p), 0.4) + a1) / a2;
    // Chebyshev sum: T0 = 1, T1 = t, Tn = 2t Tn-1 - Tn-2
    double previous = 1.0;
    double current = t;
    double w = b[0] + b[1] * t;
    for (int n = 2; n < 12; ++n) {
        const double next = 2.0 * t * current - previous;
        w += b[n] * next;
        previous = current;
        current = next;
    }
    return std::min(con(C::tc) / w - con(C::rankine), tCritical);
}

// Newton's method on the saturation line, held between 25 °F and the critical
// temperature; line(t) is the line with its slope. NaN when it does not converge.
template <class Line>
double iterate(double p, Line line) {
    const double tolerance = std::max(con(C::tolerance) * p, con(C::tolerance));
    const double tCritical = con(C::tCritical);
    double f = 1.0;
    double dt = 0.01;
    double t = startTemperature(p);
    for (int step = 1;; ++step) {
        t = std::max(t, con(C::tLower));
        const PressureWithSlope at = line(t);
        const double dp = p - at.p;
        t += f * dp / at.dpdT;
        if (std::fabs(dp) <= tolerance) return t;
        if (step >= kMaxSteps) return std::numeric_limits<double>::quiet_NaN();
        f *= 0.99;
        if (t > tCritical) {
            dt = std::min(dt, std::fabs(f * dp / at.dpdT));
            dt *= 0.9;
            t = tCritical - dt;
            f *= 0.9;
        }
    }
}

// Above the critical pressure there is no saturation temperature to converge on: such a
// pressure is out of range, as are zero, negative pressures and NaN.
bool withinLimits(double p) { return p > con(C::pLower) && p <= con(C::pc); }

}  // namespace

double saturationTemperature(double p) {
    SaturationMemo& memo = nust_;
    if (p == memo.argument[1] && sameName(memo.name[1], kName)) return memo.result[1];
    storeName(memo.name[1], kName);
    memo.argument[1] = p;
    if (!withinLimits(p)) fail(kName, 1, p, 0.0);
    const double t = iterate(p, saturationPressureAndSlope);
    if (std::isnan(t)) fail(kName, -1, p, 0.0);
    return memo.result[1] = t;
}

double saturationTemperatureOf(double p) {
    if (!withinLimits(p)) return std::numeric_limits<double>::quiet_NaN();
    return iterate(p, saturationLine);
}

// The iteration never goes below the lowest temperature of the saturation line, so it
// cannot reach a pressure below the line's pressure there.
bool saturationTemperatureAccepts(double p) {
    return p >= saturationLine(con(C::tLower)).p && p <= con(C::pc);
}

}  // namespace vireo::steam

extern "C" {

VIREO_STEAM_ROUTINE double tsatp_(const double* p) { return vireo::steam::saturationTemperature(*p); }

VIREO_STEAM_ROUTINE double tsl_(const double* p) { return vireo::steam::saturationTemperature(*p); }

}  // extern "C"
