// The power-plant blocks as the tests call them: through the built library, the way the
// engine's loader reaches them.
#ifndef VIREO_TEST_PP_BLOCKS_H
#define VIREO_TEST_PP_BLOCKS_H

#include "block_harness.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace pp_test {

inline vireo_test::BlockFunction pp(const char* routine) { return vireo_test::library("VireoPP").block(routine); }

// An instance of a block with every input connected.
inline vireo_test::BlockInstance instance(const char* routine, std::vector<float> parameters) {
    const vireo_test::BlockFunction f = pp(routine);
    const int inputs = vireo_test::identify(f).maxInputs();
    return vireo_test::BlockInstance(f, {.inputs = inputs, .parameters = std::move(parameters)});
}

inline double rad(double degrees) { return degrees * std::numbers::pi / 180.0; }
inline double deg(double radians) { return radians * 180.0 / std::numbers::pi; }

inline bool allFinite(const std::vector<float>& values) {
    for (float v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace pp_test

#endif
