// The friction-factor residual and its data, exported under the names the duct blocks'
// callers know them by.
#include "routines.h"

#include "duct.h"

#include <cmath>

extern "C" {

FrictionFlow cst0007 = {0.0f, 0.0f, 0.0f};

float fofl(const float* lambda) {
    const double re = cst0007.reynolds, k = cst0007.roughness, dh = cst0007.hydraulicDiameter;
    const double root = std::sqrt(static_cast<double>(*lambda));
    const double r = -2.0 * std::log10(2.51 / (re * root) + k / (3.71 * dh)) - 1.0 / root;
    return std::isnan(r) ? static_cast<float>(r) : vireo::st::duct::finite(r);
}

}  // extern "C"
