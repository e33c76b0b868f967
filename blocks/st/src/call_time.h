// How a call of a block that integrates over simulation time stands to the call before.
//
// Such a block takes the time as an input and keeps the time of its previous call. The
// engine may call it again at the same time (inside an iteration over one step, or when a
// model runs a block twice), so the block must tell a new step from a repetition of the
// current one, and both from a time that went back (a sub-model timer entered anew, a
// model that restarts its clock). Each block decides what it does in each case; this
// function only decides which case it is, the same way for all of them:
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
#ifndef VIREO_ST_CALL_TIME_H
#define VIREO_ST_CALL_TIME_H

#include <cmath>

namespace vireo::st {

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

}  // namespace vireo::st

#endif
