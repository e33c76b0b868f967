//#Block DELAY
//#Description
// Gives the blocks that read it the value its input had one step before.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0--1
//#Strings 0
//#Group 5 (delay)
//#Details
//#Inputs
//#IN[0] The value to delay (any unit)
//#Outputs
//#OUT[0] The input of the step before; the parameter before the first step (unit of the input)
//#Parameters
//#BP[0] Value before the first step; optional, 0 when left out (unit of the input)
//#Strings
//#None
//#Remarks
// The sort places a delay block after every block that reads it, so copying the input to
// the output at its own call is what makes the readers see last step's value at their
// next call. This is also what lets a delay close a feedback cycle.
//#end
#include "blocks.h"

namespace {

struct Delay {
    using P = ub::params::Delay;
    using View = ub::View<ub::kDelay, P>;
    static void init(View& b) { b.out(0) = b.par<P::before>(); }
    static void step(View& b) { b.out(0) = b.in(0); }
};

}  // namespace

VIREO_BLOCK(ubdelay, ub::kDelay, Delay)
