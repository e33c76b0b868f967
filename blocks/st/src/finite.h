// Inputs reach a block unchecked: an input carries whatever the block before it put out
// (parameters are the frame's to check). These guards keep anything that is not a finite
// number from leaving the blocks that share them.
#ifndef VIREO_ST_FINITE_H
#define VIREO_ST_FINITE_H

#include "blocks.h"

#include <cfloat>
#include <initializer_list>

namespace vireo::st {

// False, after a warning naming the first such input, when an input of the step is not a
// finite number: the block then leaves every output as it stands.
bool inputsFinite(BlockView& b);

// True when every value can be put out as a finite float.
bool fitFloats(std::initializer_list<double> values);

// A finite value held within the range of a float output.
float toOutput(double value);

}  // namespace vireo::st

#endif
