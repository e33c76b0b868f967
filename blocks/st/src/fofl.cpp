// The friction-factor residual and its data, exported under the names the duct blocks'
// callers know them by.
#include "routines.h"

#include "duct.h"

#include <cmath>

extern "C" {

FrictionFlow cst0007 = {0.0f, 0.0f, 0.0f};

float fofl(const float* lambda) {
    const FrictionFlow& f = cst0007;
    const double root = std::sqrt(static_cast<double>(*lambda));
    const double r = -2.0 * std::log10(2.51 / (static_cast<double>(f.reynolds) * root) +
                                       static_cast<double>(f.roughness) / (3.71 * static_cast<double>(f.hydraulicDiameter))) -
                     1.0 / root;
    return std::isnan(r) ? static_cast<float>(r) : vireo::st::duct::finite(r);
}

}  // extern "C"
