// Effectiveness of a two-stream heat exchanger from its number of transfer units and the
// ratio of the smaller capacity flow to the larger, for the arrangements more than one
// library's blocks use.
#ifndef VIREO_BLOCK_EFFECTIVENESS_H
#define VIREO_BLOCK_EFFECTIVENESS_H

#include <cmath>

namespace vireo::block {

// At equal capacity flows the counterflow relation is 0/0; where (1 - ratio) NTU is below
// this, its limit NTU / (1 + NTU) is within rounding of the relation.
inline constexpr double kEqualCapacities = 1e-6;

inline double counterflowEffectiveness(double ntu, double ratio) {
    if (std::fabs(1.0 - ratio) * ntu < kEqualCapacities) return ntu / (1.0 + ntu);
    const double x = std::exp(-(1.0 - ratio) * ntu);
    return (1.0 - x) / (1.0 - ratio * x);
}

inline double parallelFlowEffectiveness(double ntu, double ratio) {
    return -std::expm1(-(1.0 + ratio) * ntu) / (1.0 + ratio);
}

}  // namespace vireo::block

#endif
