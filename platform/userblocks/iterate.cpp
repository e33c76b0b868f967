// ITERATE: repeats its sub-model until the value fed back to it settles.
//
// Output 1 is the current estimate (parameter 1 at the start); the sub-model computes
// from it and feeds its new value back to the input. Every step sends the run through
// the sub-model. At the end of the run the engine gives the block its last call: when
// the input differs from the estimate by more than the tolerance (parameter 2) and
// fewer than the maximum number of repetitions (parameter 3) have been made, the input
// becomes the new estimate and the block withdraws the end, so the run goes through the
// sub-model once more. Outputs: estimate, repetitions made, last difference.
#include "messages.h"
#include "table.h"

#include <climits>
#include <cmath>

namespace {

using namespace ub;

constexpr int kRepeats = 10;

float tolerance(const Arrays& a) { return a.BP[1] >= 0.0f ? a.BP[1] : 0.0f; }
long long maximum(const Arrays& a) { return rounded(a.BP[2], 1, INT_MAX, 1); }

void initialise(const Arrays& a) {
    a.IP[kRepeats] = 0;
    if (!(a.BP[1] >= 0.0f)) reportReal(a, message::badTolerance, a.BP[1]);
    if (rounded(a.BP[2], 1, INT_MAX, 0) == 0) reportReal(a, message::badMaximum, a.BP[2]);
    a.OUT[0] = a.BP[0];
    a.OUT[1] = 0.0f;
    a.OUT[2] = 0.0f;
}

void lastCall(const Arrays& a) {
    const float x = a.IN[0];
    const float difference = std::fabs(x - a.OUT[0]);
    a.OUT[2] = difference;
    if (difference <= tolerance(a)) return;  // settled: the end stands
    if (a.IP[kRepeats] >= maximum(a)) {
        report(a, message::iterationNotConverged, a.IP[kRepeats]);
        return;
    }
    a.OUT[0] = x;
    a.OUT[1] = static_cast<float>(++a.IP[kRepeats]);
    a.IP[callMode] = kWithdrawEnd;
    a.IP[branch] = kAlternative;
}

void iterate(Arrays& a) {
    switch (a.mode()) {
        case init: initialise(a); break;
        case step: a.IP[branch] = kAlternative; break;  // through the sub-model
        case last: lastCall(a); break;
        default: break;
    }
}

}  // namespace

UB_BLOCK(ubiterate, kIterate, iterate)
