//#Block ITERATE
//#Description
// Repeats its sub-model until the value fed back to it settles.
//#Layout
//#Inputs 1
//#Outputs 3
//#Parameters 3
//#Strings 0
//#Group 6 (iteration)
//#Details
//#Inputs
//#IN[0] The new value computed by the sub-model from the estimate (any unit)
//#Outputs
//#OUT[0] The current estimate (unit of the input)
//#OUT[1] Repetitions made (-)
//#OUT[2] Difference between the input and the estimate at the last call (unit of the input)
//#Parameters
//#BP[0] Start estimate (unit of the input)
//#BP[1] Tolerance, at least 0 (unit of the input)
//#BP[2] Maximum number of repetitions, at least 1 (-)
//#Strings
//#None
//#Remarks
// The sub-model computes from the estimate and feeds its new value back to the input.
// Every step sends the run through the sub-model. At the end of the run the engine gives
// the block its last call: when the input differs from the estimate by more than the
// tolerance and fewer than the maximum number of repetitions have been made, the input
// becomes the new estimate and the block withdraws the end, so the run goes through the
// sub-model once more.
//#end
#include "blocks.h"

#include <cmath>

namespace {

using namespace ub;
struct Iterate {
    using P = params::Iterate;
    using IterateView = ub::View<kIterate, P>;
    using View = IterateView;
    static float tolerance(const IterateView& b) { return b.par<P::tolerance>(); }
    static int maximum(const IterateView& b) { return b.whole<P::maximum>(); }
    static int& repeats(IterateView& b) { return b.ip<10>(); }

    static void init(IterateView& b) {
        repeats(b) = 0;
        b.out(0) = b.par<P::start>();
        b.out(1) = 0.0f;
        b.out(2) = 0.0f;
    }

    static void step(IterateView& b) { b.takeAlternativeLink(); }  // through the sub-model

    // The repetitions are made at the last call, which the frame does not guard as it
    // guards a step: a value refused, or changed during the run and breaking its rule,
    // lets the end stand.
    static void last(IterateView& b) {
        const vireo::block::BlockArrays& a = b.arrays();
        if (a.IP[vireo::protocol::ipSlot::kParameterState] != 0 && !vireo::block::mayStep(kIterate, a, P::table))
            return;
        const float x = b.in(0);
        const float difference = std::fabs(x - b.out(0));
        b.out(2) = difference;
        if (difference <= tolerance(b)) return;  // settled: the end stands
        if (repeats(b) >= maximum(b)) {
            b.report(code::iterationNotConverged, {.value = repeats(b)});
            return;
        }
        b.out(0) = x;
        b.out(1) = static_cast<float>(++repeats(b));
        b.withdrawEnd();
        b.takeAlternativeLink();
    }
};

}  // namespace

VIREO_BLOCK(ubiterate, ub::kIterate, Iterate)
