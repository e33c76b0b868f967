// CONST: gives its parameters as outputs (output k = parameter k, 0 for a parameter
// the model leaves out). The engine calls a constant source once, at the first step of
// the run, so a parameter changed later does not reach its outputs.
#include "table.h"

#include <algorithm>

namespace {

using namespace ub;

void constant(Arrays& a) {
    if (a.mode() == init || a.mode() == step) std::copy(a.BP, a.BP + kConstantOutputs, a.OUT);
}

}  // namespace

UB_BLOCK(ubconst, kConstant, constant)
