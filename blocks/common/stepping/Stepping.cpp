#include "Stepping.h"

#include <bit>
#include <cfloat>
#include <cmath>

namespace vireo::block {

Step stepOf(float time, float& previousTime, int& stepSlot) {
    // The slot says both things: 0 before the first step, else the float bits of the
    // length, a length of 0 kept as -0.0, whose bits are not 0. A length beyond the float
    // range is kept as the largest float.
    const auto keep = [&](double length) {
        stepSlot = std::bit_cast<int>(length > 0.0 ? static_cast<float>(length > FLT_MAX ? FLT_MAX : length) : -0.0f);
    };
    const CallTime c = classifyCall(time, previousTime, stepSlot != 0, 0.0f);
    previousTime = c.reference;
    switch (c.call) {
        case Call::next:
            keep(c.step);
            return {c.step, true};
        case Call::repeat:
            return {stepSlot == 0 ? 0.0 : static_cast<double>(std::bit_cast<float>(stepSlot)), false};
        case Call::first:
        case Call::back:
            break;
    }
    keep(0.0);
    return {0.0, false};
}

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

}  // namespace vireo::block
