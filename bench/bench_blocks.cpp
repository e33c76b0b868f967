// The blocks of the run-loop benchmark: a free timer and a trivial step block built on the
// shared block frame like every block library, and the same two written bare, with
// nothing but their arithmetic, to show what the engine costs when a block costs nothing.
// A chain of bare steps runs under the bare clock: under the frame's timer, the timer
// would cost as much as several steps, on the engine's side and on the bare loop's alike,
// and hide what the engine adds.
#include "BlockFrame.h"

#include <algorithm>

namespace {

using vireo::block::any;
using vireo::block::BlockIdentity;
using vireo::block::Group;
using vireo::block::Param;

// BTIMER: the free timer; steps from its parameter. IP[10] steps made, IP[11] steps.
constexpr BlockIdentity kTimer{"bb0001", "BTIMER", 1, 0, 0, 1, 12, 0, 0, 1, 1, 0, 0, Group::timer};
// BSTEP: output = input * parameter 1 + parameter 2.
constexpr BlockIdentity kStep{"bb0002", "BSTEP", 1, 1, 1, 1, 10, 0, 0, 2, 2, 0, 0, Group::standard};
static_assert(wellFormed(kTimer) && wellFormed(kStep));

struct Timer {
    struct P {
        enum : int { steps };
        static constexpr Param table[] = {{"Steps", "-", any()}};
    };
    using View = vireo::block::View<kTimer, P>;
    static void init(View& b) {
        const int steps = std::max(b.whole<P::steps>(), 1);
        b.ip<10>() = 0;
        b.ip<11>() = steps;
        b.setTimerSteps(steps);
    }
    static void step(View& b) {
        if (++b.ip<10>() > b.ip<11>()) b.requestStop();
        else b.out(0) = static_cast<float>(b.ip<10>());
    }
};

struct Step {
    struct P {
        enum : int { gain, offset };
        static constexpr Param table[] = {{"Gain", "-", any()}, {"Offset", "-", any()}};
    };
    using View = vireo::block::View<kStep, P>;
    static void step(View& b) { b.out(0) = b.in(0) * b.par<P::gain>() + b.par<P::offset>(); }
};

}  // namespace

VIREO_BLOCK(bb0001, kTimer, Timer)
VIREO_BLOCK(bb0002, kStep, Step)

// BRAW: BSTEP without the frame (identification aside).
extern "C" VIREO_BLOCK_EXPORT int bb0003(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP,
                                         char (*SP)[vireo::block::kRow]) {
    static constexpr BlockIdentity kRaw{"bb0003", "BRAW", 1, 1, 1, 1, 10, 0, 0, 2, 2, 0, 0, Group::standard};
    static_assert(wellFormed(kRaw));
    if (IP[vireo::protocol::ipSlot::kCallMode] == vireo::protocol::callMode::kIdentify) {
        vireo::block::identify(kRaw, {IN, OUT, IP, RP, DP, BP, SP});
    } else if (IP[vireo::protocol::ipSlot::kCallMode] == vireo::protocol::callMode::kStep) {
        OUT[0] = IN[0] * BP[0] + BP[1];
    }
    return 0;
}

// BCLOCK: BTIMER without the frame (identification aside), which may also be fed by another
// timer, so that timers can be nested for the compile benchmark. IP[10] steps made,
// IP[11] steps.
extern "C" VIREO_BLOCK_EXPORT int bb0004(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP,
                                         char (*SP)[vireo::block::kRow]) {
    static constexpr BlockIdentity kClock{"bb0004", "BCLOCK", 1, 0, 1, 1, 12, 0, 0, 1, 1, 0, 0, Group::timer};
    static_assert(wellFormed(kClock));
    namespace mode = vireo::protocol::callMode;
    switch (IP[vireo::protocol::ipSlot::kCallMode]) {
        case mode::kIdentify: vireo::block::identify(kClock, {IN, OUT, IP, RP, DP, BP, SP}); break;
        case mode::kInit:
            IP[11] = BP[0] >= 1.0f && BP[0] < 1.0e9f ? static_cast<int>(BP[0]) : 1;
            IP[10] = 0;
            IP[vireo::protocol::ipSlot::kTimerSteps] = IP[11];
            break;
        case mode::kStep:
            if (++IP[10] > IP[11]) IP[vireo::protocol::ipSlot::kCallMode] = mode::kLastCall;
            else OUT[0] = static_cast<float>(IP[10]);
            break;
        default: break;
    }
    return 0;
}
