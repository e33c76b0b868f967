// LOOPCTL: ends a loop when its input has settled.
//
// Each call is one pass of the loop. The controller sends the run back to the loop top
// (branch 2) until the input differs from that of the pass before by no more than the
// tolerance (parameter 1), or the maximum number of passes (parameter 2) is reached;
// then it lets the run leave (branch 1) and counts afresh at the next entry. Its
// outputs: the input (to be fed back to the loop top), the passes made, and 1 when the
// loop converged (0 when the maximum ended it; warned once per run).
#include "messages.h"
#include "table.h"

#include <climits>
#include <cmath>

namespace {

using namespace ub;

constexpr int kPasses = 10;
constexpr int kWarned = 11;

// RP[1] the input of the pass before.

// Parameters changed during a run are taken as they come; values the initialisation
// would refuse are bent to the nearest sensible ones.
float tolerance(const Arrays& a) { return a.BP[0] >= 0.0f ? a.BP[0] : 0.0f; }
long long maximum(const Arrays& a) { return rounded(a.BP[1], 1, INT_MAX, 1); }

void initialise(const Arrays& a) {
    a.IP[kPasses] = 0;
    a.IP[kWarned] = 0;
    if (!(a.BP[0] >= 0.0f)) reportReal(a, message::badTolerance, a.BP[0]);
    if (rounded(a.BP[1], 1, INT_MAX, 0) == 0) reportReal(a, message::badMaximum, a.BP[1]);
}

void pass(const Arrays& a) {
    const float x = a.IN[0];
    const int passes = ++a.IP[kPasses];
    const bool converged = passes > 1 && std::fabs(x - a.RP[1]) <= tolerance(a);
    a.RP[1] = x;
    a.OUT[0] = x;
    a.OUT[1] = static_cast<float>(passes);
    a.OUT[2] = converged ? 1.0f : 0.0f;
    if (!converged && passes < maximum(a)) return;  // branch stays 2: once more
    if (!converged && a.IP[kWarned] == 0) {
        a.IP[kWarned] = 1;
        report(a, message::loopNotConverged, passes);
    }
    a.IP[kPasses] = 0;
    a.IP[branch] = kAlternative;
}

void loopController(Arrays& a) {
    if (a.mode() == init) initialise(a);
    else if (a.mode() == step) pass(a);
}

}  // namespace

UB_BLOCK(ubloopctl, kLoopController, loopController)
