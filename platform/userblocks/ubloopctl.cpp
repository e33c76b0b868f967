// LOOPCTL: ends a loop when its input has settled.
//
// Each call is one pass of the loop. The controller sends the run back to the loop top
// (branch 2) until the input differs from that of the pass before by no more than the
// tolerance (parameter 1), or the maximum number of passes (parameter 2) is reached;
// then it lets the run leave (branch 1) and counts afresh at the next entry. Its
// outputs: the input (to be fed back to the loop top), the passes made, and 1 when the
// loop converged (0 when the maximum ended it; warned once per run).
#include "Numbers.h"
#include "blocks.h"
#include "messages.h"

#include <climits>
#include <cmath>

namespace {

using namespace ub;
using vireo::block::roundedWithin;

constexpr int kPasses = 10;
constexpr int kWarned = 11;

// RP[1] the input of the pass before.

struct LoopController {
    // Parameters changed during a run are taken as they come; values the initialisation
    // would refuse are bent to the nearest sensible ones.
    static float tolerance(const BlockView& b) { return b.par(0) >= 0.0f ? b.par(0) : 0.0f; }
    static long long maximum(const BlockView& b) { return roundedWithin(b.par(1), 1, INT_MAX, 1); }

    static void init(BlockView& b) {
        b.ip(kPasses) = 0;
        b.ip(kWarned) = 0;
        if (!(b.par(0) >= 0.0f)) reportReal(b, message::badTolerance, b.par(0));
        if (roundedWithin(b.par(1), 1, INT_MAX, 0) == 0) reportReal(b, message::badMaximum, b.par(1));
    }

    static void step(BlockView& b) {
        const float x = b.in(0);
        const int passes = ++b.ip(kPasses);
        const bool converged = passes > 1 && std::fabs(x - b.rp(1)) <= tolerance(b);
        b.rp(1) = x;
        b.out(0) = x;
        b.out(1) = static_cast<float>(passes);
        b.out(2) = converged ? 1.0f : 0.0f;
        if (!converged && passes < maximum(b)) return;  // branch stays 2: once more
        if (!converged && b.ip(kWarned) == 0) {
            b.ip(kWarned) = 1;
            report(b, message::loopNotConverged, passes);
        }
        b.ip(kPasses) = 0;
        b.takeAlternativeLink();
    }
};

}  // namespace

VIREO_BLOCK(ubloopctl, ub::kLoopController, LoopController)
