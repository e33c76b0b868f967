// A root of a residual in a bracket, by Brent's method: inverse quadratic interpolation
// and secant steps where they make progress, bisection where they do not. The residual
// is any callable, so a block passes a lambda over its own values and keeps no statics.
//
//   const auto r = block::solve([&](double t) { return balance(t) - load; }, 0.0, 150.0);
//   if (!r.converged) b.show(code::notSettled, {.reals = {float(r.x)}});
#ifndef VIREO_BLOCK_SOLVE_H
#define VIREO_BLOCK_SOLVE_H

#include "vireo_brent.h"

#include <cmath>

namespace vireo::block {

struct SolveOptions {
    double tolerance = 1.0e-6;  // on x: the bracket is narrowed to about this width
    int maxSteps = 100;
};

using numerics::Root;

template <class F>
Root solve(F&& f, double lo, double hi, SolveOptions options = {}) {
    const double a = lo, b = hi;
    const double fa = f(a), fb = f(b);
    if (std::isnan(fa) || std::isnan(fb)) return {std::isnan(fb) ? a : b, false, 0};
    if (fa == 0.0) return {a, true, 0};
    if (fb == 0.0) return {b, true, 0};
    if ((fa > 0.0) == (fb > 0.0)) return {std::fabs(fa) < std::fabs(fb) ? a : b, false, 0};
    return numerics::brent(f, a, b, fa, fb, options.tolerance, options.maxSteps, {});
}

}  // namespace vireo::block

#endif
