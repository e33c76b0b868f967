//#Block LOOPTOP
//#Description
// The top of a loop, where the value of the loop's last pass comes back.
//#Layout
//#Inputs 1--2
//#Outputs 2
//#Parameters 0--1
//#Strings 0
//#Group -4 (loop top)
//#Details
//#Inputs
//#IN[0] With two inputs, the value to start from; with one, the value fed back from
// the loop (any unit)
//#IN[1] The value fed back from the loop; optional (unit of input 1)
//#Outputs
//#OUT[0] The start value at the first pass, the fed-back value at every later pass
// (unit of the inputs)
//#OUT[1] Passes since the loop was entered (-)
//#Parameters
//#BP[0] Start value with one input; optional, 0 when left out (unit of input 1)
//#Strings
//#None
//#Remarks
// The first call after the loop was entered gives the start value, every later pass the
// fed-back value. The engine marks the loop's end by setting IP[10] back to 0 when the
// loop controller lets the run leave.
//#end
#include "blocks.h"

#include <climits>

namespace {

struct LoopTop {
    using P = ub::params::LoopTop;
    using View = ub::View<ub::kLoopTop, P>;
    using LoopTopView = View;

    // IP[10]: passes since the loop was entered; the engine sets it back to 0 when the
    // loop's controller lets the run leave.
    static int& pass(LoopTopView& b) { return b.ip<10>(); }
    static bool startInput(const ub::BlockView& b) { return b.inputCount() >= 2; }

    static void init(LoopTopView& b) {
        pass(b) = 0;
        b.out(0) = startInput(b) ? 0.0f : b.par<P::start>();
        b.out(1) = 0.0f;
    }

    static void step(LoopTopView& b) {
        int& pass = LoopTop::pass(b);
        if (pass <= 0) {
            pass = 0;
            b.out(0) = startInput(b) ? b.in(0) : b.par<P::start>();
        } else {
            b.out(0) = startInput(b) ? b.in(1) : b.in(0);
        }
        if (pass < INT_MAX) ++pass;
        b.out(1) = static_cast<float>(pass);
    }
};

}  // namespace

VIREO_BLOCK(ublooptop, ub::kLoopTop, LoopTop)
