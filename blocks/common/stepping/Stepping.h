// What the blocks that integrate over simulation time share: how a call stands to the
// call before, an explicit update that never overshoots, and sub-steps cut by the mass
// that passes. Each block keeps its own state and decides what it does in each case;
// these only decide which case it is and how far a step may go, the same way for all.
#ifndef VIREO_BLOCK_STEPPING_H
#define VIREO_BLOCK_STEPPING_H

#include "Numbers.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace vireo::block {

// ---- repeating the step at the same time -------------------------------------------

// Such a block takes the time as an input and keeps the time of its previous call. The
// engine may call it again at the same time (inside an iteration over one step, or when a
// model runs a block twice), so the block must tell a new step from a repetition of the
// current one, and both from a time that went back (a sub-model timer entered anew, a
// model that restarts its clock):
//
//   first     the block has not taken a time yet
//   next      the time moved on by at least the tolerance: a new step of length `step`
//   repeat    the time differs from the previous one by less than the tolerance (or not at
//             all, which is how a tolerance of 0 is read): the current step again
//   back      the time went back by at least the tolerance; `step` is negative
//
// A time that is not a finite number is a repetition, even before the first call: taking
// it as the previous time would make every later comparison fail, so `reference` (the
// time the block keeps for its next call) stays the previous one, and a block that has
// not started stays so. Otherwise `reference` is the call's time, also for a repetition,
// whose time may differ from the previous one within the tolerance.
enum class Call { first, next, repeat, back };

struct CallTime {
    Call call;
    double step;      // time − previous time for next and back, 0 otherwise
    float reference;  // the previous time for the block's next call
};

inline CallTime classifyCall(float time, float previous, bool started, float tolerance) {
    if (!std::isfinite(time)) return {Call::repeat, 0.0, previous};
    if (!started) return {Call::first, 0.0, time};
    // In double, so that the difference of two large times is exact.
    const double step = static_cast<double>(time) - static_cast<double>(previous);
    if (step == 0.0 || std::fabs(step) < tolerance) return {Call::repeat, 0.0, time};
    return {step > 0.0 ? Call::next : Call::back, step, time};
}

// The step a call integrates: its length, and whether it is a new step (the block saves
// its state as the step's start first) or not (the block starts from the saved start).
struct Step {
    double length;
    bool isNew;
};
// For a block that keeps the previous call's time in a float slot and one int slot
// (stepSlot) that is 0 until a step has run and then keeps the length of the current
// step, which a repeated call at the same time integrates again from the step's start
// with its own inputs. A time that went back integrates nothing: the block returns to
// the step's start.
Step stepOf(float time, float& previousTime, int& stepSlot);

// A time step to integrate over: a model time that runs backwards gives none, and two
// times at the ends of the float range give the largest.
inline float forwardOnly(float ts) {
    constexpr float largest = std::numeric_limits<float>::max();
    return ts > 0.0f ? (ts < largest ? ts : largest) : 0.0f;
}

// What stepOf does, for a block that keeps the time of its last call as a whole number
// (the time input truncated towards zero) and the step's length in a float slot: a call
// whose time is that whole number repeats the step over `keptLength`; the first call,
// before any time was kept, repeats a step of length 0. Any other time is a new step of
// the time since, none when it ran backwards. The block then keeps the length and the
// whole time it was given. A time that is not a finite number is a repetition that keeps
// the time before (as classifyCall has it): kept, it would make the next step count from 0.
struct WholeTimeStep {
    float length;
    bool isNew;
    int lastTime;  // the whole time for the block's next call
    bool started;  // a time has been taken
};
inline WholeTimeStep wholeTimeStepOf(float time, int lastTime, bool started, float keptLength) {
    if (!std::isfinite(time)) return {started ? keptLength : 0.0f, false, lastTime, started};
    const float since = time - static_cast<float>(lastTime);
    const int whole = toInt(time);
    if (!started) return {0.0f, false, whole, true};
    if (since == 0.0f) return {keptLength, false, whole, true};
    return {forwardOnly(since), true, whole, true};
}

// ---- never overshooting ---------------------------------------------------------------

// One term of an explicit temperature update T' = T + sum of weight * (toward - T).
struct Pull {
    float weight;
    float toward;
};

// Whether the update's weights add up to at most 1, so that T' stays between T and the
// temperatures it moves towards. The blocks compute their own formulas when this holds
// and the limited update below only when it does not: a time step, a flow or a loss too
// large for an explicit step would otherwise overshoot and grow without bound.
inline bool withinOneStep(std::initializer_list<Pull> pulls) {
    float sum = 0.0f;
    for (const Pull& p : pulls) sum += p.weight;
    return sum <= 1.0f;
}

// The update whose step would overshoot, taken as far as it can go: the mean of the
// temperatures pulled towards, weighted by the pulls (infinite pulls share alike).
float limitedUpdate(float t, std::initializer_list<Pull> pulls);

// ---- sub-steps by the mass that passes ------------------------------------------------

// The number of equal sub-steps of a step that moves `moved` kg through cells of
// `cellMass` kg each, so that no sub-step moves a whole cell: one more than the whole
// cells moved, and one where no more than a cell moves (also for NaN). A whole number in
// the type given; the caller bounds it before it takes it as a count.
template <class Real>
Real subStepsByMass(Real moved, Real cellMass) {
    return moved > cellMass ? std::floor(moved / cellMass) + Real{1} : Real{1};
}

}  // namespace vireo::block

#endif
