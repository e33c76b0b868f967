// CONST: gives its parameters as outputs (output k = parameter k, 0 for a parameter
// the model leaves out). The engine calls a constant source once, at the first step of
// the run, so a parameter changed later does not reach its outputs.
#include "blocks.h"

namespace {

struct Constant {
    static void init(ub::BlockView& b) { copy(b); }
    static void step(ub::BlockView& b) { copy(b); }
    static void copy(ub::BlockView& b) {
        for (int k = 0; k < ub::kConstantOutputs; ++k) b.out(k) = b.par(k);
    }
};

}  // namespace

VIREO_BLOCK(ubconst, ub::kConstant, Constant)
