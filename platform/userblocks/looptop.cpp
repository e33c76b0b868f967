// LOOPTOP: the top of a loop, where the value of the loop's last pass comes back.
//
// With two inputs, input 1 is the value to start from and input 2 the value fed back
// from the loop; with one input, that input is fed back and the start value is the
// parameter (0 when left out). The first call after the loop was entered gives the
// start value, every later pass the fed-back value. The engine marks the loop's end by
// setting IP[10] back to 0 when the loop controller lets the run leave.
#include "table.h"

#include <climits>

namespace {

using namespace ub;

constexpr int kPass = 10;  // passes since the loop was entered; reset by the engine

void loopTopBlock(Arrays& a) {
    const bool startInput = a.inputs() >= 2;
    if (a.mode() == init) {
        a.IP[kPass] = 0;
        a.OUT[0] = startInput ? 0.0f : a.BP[0];
        a.OUT[1] = 0.0f;
        return;
    }
    if (a.mode() != step) return;
    if (a.IP[kPass] <= 0) {
        a.IP[kPass] = 0;
        a.OUT[0] = startInput ? a.IN[0] : a.BP[0];
    } else {
        a.OUT[0] = startInput ? a.IN[1] : a.IN[0];
    }
    if (a.IP[kPass] < INT_MAX) ++a.IP[kPass];
    a.OUT[1] = static_cast<float>(a.IP[kPass]);
}

}  // namespace

UB_BLOCK(ublooptop, kLoopTop, loopTopBlock)
