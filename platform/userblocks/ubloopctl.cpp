//#Block LOOPCTL
//#Description
// Ends a loop when its input has settled.
//#Layout
//#Inputs 1
//#Outputs 3
//#Parameters 2
//#Strings 0
//#Group 4 (loop controller)
//#Details
//#Inputs
//#IN[0] The value computed by the loop body (any unit)
//#Outputs
//#OUT[0] The input, to be fed back to the loop top (unit of the input)
//#OUT[1] Passes made (-)
//#OUT[2] 1 when the loop converged, 0 when the maximum number of passes ended it (-)
//#Parameters
//#BP[0] Tolerance: the largest change of the input from one pass to the next that ends
// the loop, at least 0 (unit of the input)
//#BP[1] Maximum number of passes, at least 1 (-)
//#Strings
//#None
//#Remarks
// Each call is one pass of the loop. The controller sends the run back to the loop top
// (branch 2) until the input differs from that of the pass before by no more than the
// tolerance, or the maximum number of passes is reached; then it lets the run leave
// (branch 1) and counts afresh at the next entry. A loop ended by the maximum is warned
// about once per run.
//#end
#include "blocks.h"

#include <cmath>

namespace {

using namespace ub;
using ControllerParams = params::LoopController;
using ControllerView = View<kLoopController, ControllerParams>;

struct State {
    int& passes;      // IP[10]
    int& warned;      // IP[11] the maximum ended a loop and was warned about
    float& previous;  // RP[0] the input of the pass before
    explicit State(ControllerView& b) : passes(b.ip<10>()), warned(b.ip<11>()), previous(b.rp<0>()) {}
};

struct LoopController {
    using P = ControllerParams;
    using View = ControllerView;
    // The frame checks the parameters at initialisation and after every change during the
    // run, and never steps the block on a refused one.
    static float tolerance(const ControllerView& b) { return b.par<P::tolerance>(); }
    static int maximum(const ControllerView& b) { return b.whole<P::maximum>(); }

    static void init(ControllerView& b) {
        State s(b);
        s.passes = 0;
        s.warned = 0;
    }

    static void step(ControllerView& b) {
        State s(b);
        const float x = b.in(0);
        const int passes = ++s.passes;
        const bool converged = passes > 1 && std::fabs(x - s.previous) <= tolerance(b);
        s.previous = x;
        b.out(0) = x;
        b.out(1) = static_cast<float>(passes);
        b.out(2) = converged ? 1.0f : 0.0f;
        if (!converged && passes < maximum(b)) return;  // branch stays 2: once more
        if (!converged && s.warned == 0) {
            s.warned = 1;
            b.report(code::loopNotConverged, {.value = passes});
        }
        s.passes = 0;
        b.takeAlternativeLink();
    }
};

}  // namespace

VIREO_BLOCK(ubloopctl, ub::kLoopController, LoopController)
