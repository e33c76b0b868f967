// A root of a residual in a bracket by Brent's method (1973): inverse quadratic
// interpolation and secant steps where they make progress, bisection where they do not.
// Header only, in the utility library so that it and the block frame share the one solver
// without either reaching into the other.
#ifndef VIREO_BRENT_H
#define VIREO_BRENT_H

#include <cmath>
#include <limits>

namespace vireo::numerics {

struct Root {
    double x;        // the root, or the best estimate when not converged
    bool converged;  // false: no sign change in the bracket, a NaN residual, or the step limit
    int steps;       // residual evaluations after the two at the ends
};

// Brent's method itself, shared by the block frame's solve() and by xroot, which runs it
// around a single-precision residual. `BrentPrecision` says what "as close as it gets"
// means: its epsilon in the tolerance, and whether a midpoint that rounds to an end
// (in single precision, for xroot) ends the search. With stopOnNaN a NaN residual ends it
// at the last good point. Starts from a bracket whose residuals fa and fb differ in sign.
struct BrentPrecision {
    double epsilon = std::numeric_limits<double>::epsilon();
    bool floatResolution = false;  // stop where b + m rounds to b or c as floats
    bool stopOnNaN = true;
};

template <class F>
Root brent(F&& f, double a, double b, double fa, double fb, double tolerance, int maxSteps, BrentPrecision p) {
    double c = a, fc = fa, d = b - a, e = d;
    for (int step = 1; step <= maxSteps; ++step) {
        if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {  // keep the root between b and c
            c = a, fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {  // b is the best estimate so far
            a = b, b = c, c = a;
            fa = fb, fb = fc, fc = fa;
        }
        const double tol = 2.0 * p.epsilon * std::fabs(b) + 0.5 * tolerance;
        const double m = 0.5 * (c - b);
        bool resolved = false;
        if (p.floatResolution) {
            const float mid = static_cast<float>(b + m);
            resolved = mid == static_cast<float>(b) || mid == static_cast<float>(c);
        }
        if (std::fabs(m) <= tol || fb == 0.0 || resolved) return {b, true, step - 1};

        if (std::fabs(e) >= tol && std::fabs(fa) > std::fabs(fb)) {
            double p_, q;
            const double s = fb / fa;
            if (a == c) {  // secant
                p_ = 2.0 * m * s;
                q = 1.0 - s;
            } else {  // inverse quadratic interpolation
                const double qa = fa / fc, r = fb / fc;
                p_ = s * (2.0 * m * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p_ > 0.0) q = -q;
            p_ = std::fabs(p_);
            const double interpolated = 3.0 * m * q - std::fabs(tol * q), previous = std::fabs(e * q);
            if (2.0 * p_ < (interpolated < previous ? interpolated : previous)) {
                e = d;
                d = p_ / q;
            } else {
                d = m, e = m;
            }
        } else {
            d = m, e = m;
        }
        a = b, fa = fb;
        b += std::fabs(d) > tol ? d : (m >= 0.0 ? tol : -tol);
        fb = f(b);
        if (p.stopOnNaN && std::isnan(fb)) return {a, false, step};
    }
    return {b, false, maxSteps};
}

}  // namespace vireo::numerics

#endif
