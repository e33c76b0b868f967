// DELAY: gives the blocks that read it the value its input had one step before.
//
// The sort places a delay block after every block that reads it, so copying the input
// to the output at its own call is what makes the readers see last step's value at
// their next call; before the first step they see the parameter (0 when left out). This
// is also what lets a delay close a feedback cycle.
#include "blocks.h"

namespace {

struct Delay {
    static void init(ub::BlockView& b) { b.out(0) = b.par(0); }
    static void step(ub::BlockView& b) { b.out(0) = b.in(0); }
};

}  // namespace

VIREO_BLOCK(ubdelay, ub::kDelay, Delay)
