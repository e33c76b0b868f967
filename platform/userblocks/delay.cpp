// DELAY: gives the blocks that read it the value its input had one step before.
//
// The sort places a delay block after every block that reads it, so copying the input
// to the output at its own call is what makes the readers see last step's value at
// their next call; before the first step they see the parameter (0 when left out). This
// is also what lets a delay close a feedback cycle.
#include "table.h"

namespace {

using namespace ub;

void delayBlock(Arrays& a) {
    if (a.mode() == init) a.OUT[0] = a.BP[0];
    else if (a.mode() == step) a.OUT[0] = a.IN[0];
}

}  // namespace

UB_BLOCK(ubdelay, kDelay, delayBlock)
