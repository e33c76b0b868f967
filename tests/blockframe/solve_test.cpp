// The root solver against roots known in closed form, and its answers when there is no
// root to find.
#include "Solve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vireo::block::solve;

TEST(Solve, FindsKnownRootsWithinTheTolerance) {
    // sqrt(2); the fixed point of cos (the Dottie number, to 16 digits); a root at an
    // end of the bracket; a steep cubic whose secant steps overshoot.
    const auto sqrt2 = solve([](double x) { return x * x - 2.0; }, 0.0, 2.0, {.tolerance = 1e-12});
    EXPECT_TRUE(sqrt2.converged);
    EXPECT_NEAR(sqrt2.x, std::sqrt(2.0), 1e-12);
    EXPECT_LT(sqrt2.steps, 15);  // far fewer than bisection's 41

    const auto dottie = solve([](double x) { return std::cos(x) - x; }, 0.0, 1.0, {.tolerance = 1e-14});
    EXPECT_NEAR(dottie.x, 0.7390851332151607, 1e-14);

    const auto end = solve([](double x) { return x - 3.0; }, 3.0, 5.0);
    EXPECT_TRUE(end.converged);
    EXPECT_EQ(end.x, 3.0);

    const auto cubic = solve([](double x) { return std::pow(x - 1.0, 3.0) * 1e6 + 1e-3; }, -10.0, 10.0,
                             {.tolerance = 1e-9});
    EXPECT_TRUE(cubic.converged);
    EXPECT_NEAR(cubic.x, 1.0 - 1e-3, 1e-8);  // (x - 1)^3 = -1e-9
}

TEST(Solve, SaysWhenThereIsNoRoot) {
    // No sign change: the end nearer to zero, not converged.
    const auto none = solve([](double x) { return x * x + 1.0; }, -1.0, 3.0);
    EXPECT_FALSE(none.converged);
    EXPECT_EQ(none.x, -1.0);
    // A NaN residual stops the search.
    const auto nan = solve([](double x) { return x < 0.5 ? -1.0 : std::numeric_limits<double>::quiet_NaN(); }, 0.0, 1.0);
    EXPECT_FALSE(nan.converged);
    // The step limit.
    const auto limited = solve([](double x) { return std::tan(x) - 1e3; }, 0.0, 1.5707, {.tolerance = 1e-15, .maxSteps = 3});
    EXPECT_FALSE(limited.converged);
    EXPECT_EQ(limited.steps, 3);
    // A jump through zero is found as the jump.
    const auto jump = solve([](double x) { return x < 0.3 ? -1.0 : 1.0; }, 0.0, 1.0, {.tolerance = 1e-10});
    EXPECT_TRUE(jump.converged);
    EXPECT_NEAR(jump.x, 0.3, 1e-9);
}
