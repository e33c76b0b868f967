// The explicit update that would overshoot, bounded by what it moves towards.
#include "blocks.h"

#include <cmath>

namespace vireo::pp {

float limitedUpdate(float t, std::initializer_list<Pull> pulls) {
    double sum = 0.0, weighted = 0.0, infiniteSum = 0.0;
    int infinite = 0;
    for (const Pull& p : pulls) {
        if (!(p.weight > 0.0f)) continue;  // NaN, 0 and a push away pull nothing
        if (std::isinf(p.weight)) {
            ++infinite;
            infiniteSum += p.toward;
        } else {
            sum += p.weight;
            weighted += static_cast<double>(p.weight) * p.toward;
        }
    }
    if (infinite > 0) return static_cast<float>(infiniteSum / infinite);
    if (sum <= 0.0) return t;
    if (sum <= 1.0) return static_cast<float>(t + (weighted - sum * t));
    return static_cast<float>(weighted / sum);
}

}  // namespace vireo::pp
