#include "finite.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {

bool inputsFinite(BlockView& b) {
    for (int i = 0; i < b.inputCount(); ++i) {
        const float x = b.in(i);
        if (std::isfinite(x)) continue;
        b.report(code::inputNotFinite, {.reals = {x}, .ints = {i + 1}});
        return false;
    }
    return true;
}

bool fitFloats(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::fabs(v) <= FLT_MAX; });
}

float toOutput(double value) { return static_cast<float>(std::clamp<double>(value, -FLT_MAX, FLT_MAX)); }

}  // namespace vireo::st
