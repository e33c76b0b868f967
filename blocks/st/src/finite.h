// Model values reach a block unchecked: a parameter written 1e39 reads as infinity, an
// input carries whatever the block before it put out, and the editor may change a
// parameter during a run without a new check. These guards keep anything that is not a
// finite number from leaving the blocks that share them.
#ifndef VIREO_ST_FINITE_H
#define VIREO_ST_FINITE_H

#include "blocks.h"

#include <cfloat>
#include <initializer_list>

namespace vireo::st {

// A parameter that only has to be a finite number.
constexpr Rule finiteParameter(int parameter) {
    return {.parameter = parameter, .low = -FLT_MAX, .high = FLT_MAX, .code = code::parameterNotFinite};
}

// A parameter that must lie above 0, refused with the block's own code.
constexpr Rule positiveParameter(int parameter, block::Code code) {
    return {.parameter = parameter, .low = 0.0f, .high = FLT_MAX, .code = code, .aboveLow = true};
}

// False, after a warning naming the first such input, when an input of the step is not a
// finite number: the block then leaves every output as it stands.
bool inputsFinite(BlockView& b);

// True when every value can be put out as a finite float.
bool fitFloats(std::initializer_list<double> values);

// A finite value held within the range of a float output.
float toOutput(double value);

}  // namespace vireo::st

#endif
