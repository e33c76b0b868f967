// ITERATE: repeats its sub-model until the value fed back to it settles.
//
// Output 1 is the current estimate (parameter 1 at the start); the sub-model computes
// from it and feeds its new value back to the input. Every step sends the run through
// the sub-model. At the end of the run the engine gives the block its last call: when
// the input differs from the estimate by more than the tolerance (parameter 2) and
// fewer than the maximum number of repetitions (parameter 3) have been made, the input
// becomes the new estimate and the block withdraws the end, so the run goes through the
// sub-model once more. Outputs: estimate, repetitions made, last difference.
#include "Numbers.h"
#include "blocks.h"
#include "messages.h"

#include <climits>
#include <cmath>

namespace {

using namespace ub;
using vireo::block::roundedWithin;

constexpr int kRepeats = 10;

struct Iterate {
    static float tolerance(const BlockView& b) { return b.par(1) >= 0.0f ? b.par(1) : 0.0f; }
    static long long maximum(const BlockView& b) { return roundedWithin(b.par(2), 1, INT_MAX, 1); }

    static void init(BlockView& b) {
        b.ip(kRepeats) = 0;
        if (!(b.par(1) >= 0.0f)) reportReal(b, message::badTolerance, b.par(1));
        if (roundedWithin(b.par(2), 1, INT_MAX, 0) == 0) reportReal(b, message::badMaximum, b.par(2));
        b.out(0) = b.par(0);
        b.out(1) = 0.0f;
        b.out(2) = 0.0f;
    }

    static void step(BlockView& b) { b.takeAlternativeLink(); }  // through the sub-model

    static void last(BlockView& b) {
        const float x = b.in(0);
        const float difference = std::fabs(x - b.out(0));
        b.out(2) = difference;
        if (difference <= tolerance(b)) return;  // settled: the end stands
        if (b.ip(kRepeats) >= maximum(b)) {
            report(b, message::iterationNotConverged, b.ip(kRepeats));
            return;
        }
        b.out(0) = x;
        b.out(1) = static_cast<float>(++b.ip(kRepeats));
        b.withdrawEnd();
        b.takeAlternativeLink();
    }
};

}  // namespace

VIREO_BLOCK(ubiterate, ub::kIterate, Iterate)
