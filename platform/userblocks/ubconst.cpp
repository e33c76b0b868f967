//#Block CONST
//#Description
// Gives its parameters as outputs.
//#Layout
//#Inputs 0
//#Outputs 20
//#Parameters 1--20
//#Strings 0
//#Group 1 (constant source)
//#Details
//#Inputs
//#None
//#Outputs
//#OUT[1--20] Output k is parameter k, 0 for a parameter the model leaves out (any unit)
//#Parameters
//#BP[1--20] The values to give, parameter k to output k (any unit)
//#Strings
//#None
//#Remarks
// The engine calls a constant source once, at the first step of the run, so a parameter
// changed later does not reach its outputs.
//#end
#include "blocks.h"
#include "params.h"

namespace {

struct Constant {
    // The model's constants go out as they stand.
    static constexpr bool kHandsDataOn = true;
    using P = ub::params::Constant;
    using View = ub::View<ub::kConstant, P>;
    static void init(View& b) { copy(b); }
    static void step(View& b) { copy(b); }
    static void copy(View& b) {
        for (int k = 0; k < ub::kConstantOutputs; ++k) b.out(k) = b.par<P::values>(k);
    }
};

}  // namespace

VIREO_BLOCK(ubconst, ub::kConstant, Constant)
