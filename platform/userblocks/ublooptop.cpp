// LOOPTOP: the top of a loop, where the value of the loop's last pass comes back.
//
// With two inputs, input 1 is the value to start from and input 2 the value fed back
// from the loop; with one input, that input is fed back and the start value is the
// parameter (0 when left out). The first call after the loop was entered gives the
// start value, every later pass the fed-back value. The engine marks the loop's end by
// setting IP[10] back to 0 when the loop controller lets the run leave.
#include "blocks.h"

#include <climits>

namespace {

constexpr int kPass = 10;  // passes since the loop was entered; reset by the engine

struct LoopTop {
    static bool startInput(const ub::BlockView& b) { return b.inputCount() >= 2; }

    static void init(ub::BlockView& b) {
        b.ip(kPass) = 0;
        b.out(0) = startInput(b) ? 0.0f : b.par(0);
        b.out(1) = 0.0f;
    }

    static void step(ub::BlockView& b) {
        int& pass = b.ip(kPass);
        if (pass <= 0) {
            pass = 0;
            b.out(0) = startInput(b) ? b.in(0) : b.par(0);
        } else {
            b.out(0) = startInput(b) ? b.in(1) : b.in(0);
        }
        if (pass < INT_MAX) ++pass;
        b.out(1) = static_cast<float>(pass);
    }
};

}  // namespace

VIREO_BLOCK(ublooptop, ub::kLoopTop, LoopTop)
