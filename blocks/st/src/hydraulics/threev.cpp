//#Block THREEV
//#Description
// A mixing three-way valve: its position follows the set point at the speed of its
// actuator, and a cosine characteristic divides the total flow between its two inlets.
//#Layout
//#Inputs 5
//#Outputs 4
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Total mass flow; 0 or a negative flow is none (kg/s)
//#IN[1] Temperature of inlet 1 ($^\circ$C)
//#IN[2] Temperature of inlet 2 ($^\circ$C)
//#IN[3] Set position, 0 all flow through inlet 1, 100 all through inlet 2; held within
// 0 to 100 (\%)
//#IN[4] Time (s)
//#Outputs
//#OUT[0] Outlet temperature ($^\circ$C)
//#OUT[1] Mass flow through inlet 1 (kg/s)
//#OUT[2] Mass flow through inlet 2 (kg/s)
//#OUT[3] Position (\%)
//#Parameters
//#BP[0] Running time of the actuator over the full stroke; 0 or less moves at once (s)
//#Strings
//#None
//#Remarks
// At position $p$ (0 to 1) inlet 2 takes $\dot m\,(1 - \cos \pi p)/2$ of the flow. Over a
// step the position moves towards the set point by the step's length over the running
// time and stops there; within 1 \% of the set point it takes the set point. Without
// flow the outlet has the temperature of inlet 1.
//
// A call within 0.001 s of the one before repeats the current step from the position at
// its start, with the set point it is given; a call at an earlier time returns to that
// position and moves nothing, nor does a repeat after it. The first call only takes its
// time and puts the valve at 0. A set point that is not a number holds the valve where
// it is; a temperature that is not a number, where it would count, leaves the outlet
// temperature as it was.
//#end
#include "blocks.h"

#include "Stepping.h"
#include "mixing.h"
#include "values.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vireo::st {

using block::Call, block::CallTime, block::classifyCall;

namespace {

constexpr float kSameTime = 0.001f;
// Within this of the set point the valve takes it.
constexpr double kCatch = 0.01;

// IP[11]: 1 once the first step has taken its time; IP[12]: cleared at initialisation.
// RP[0]: the time of the previous call; RP[1]: the position, 0 to 1; RP[2]: the position
// at the start of the current step; RP[3]: the length of the current step; RP[4]: 0.
struct State {
    int& started;
    int& unused;
    float& previousTime;
    float& position;
    float& startPosition;
    float& stepLength;
    float& zero;
    explicit State(threev_block::View& b)
        : started(b.ip<11>()), unused(b.ip<12>()), previousTime(b.rp<0>()), position(b.rp<1>()),
          startPosition(b.rp<2>()), stepLength(b.rp<3>()), zero(b.rp<4>()) {}
};

// The position after `length` seconds of travel towards the set point.
double moved(double p, double set, double length, double runningTime) {
    if (!(length > 0.0)) return p;
    if (!(runningTime > 0.0)) return set;
    const double travel = length / runningTime, gap = set - p;
    if (travel >= std::fabs(gap)) return set;
    p += gap > 0.0 ? travel : -travel;
    return std::fabs(set - p) <= kCatch ? set : p;
}

void writeOutputs(threev_block::View& b, double flow, double p) {
    const double two = flow * (0.5 * std::sin(std::numbers::pi * p - std::numbers::pi * 0.5) + 0.5);
    const Stream one{flow - two, b.in(1)};
    const auto outlet = flow > 0.0 ? mixedTemperature(one, {two, b.in(2)}) : std::optional<double>(b.in(1));
    if (outlet && std::isfinite(*outlet)) b.out(0) = stored(*outlet);
    b.out(1) = stored(one.flow);
    b.out(2) = stored(two);
    b.out(3) = stored(p * 100.0);
}

}  // namespace

void threev_block::init(View& b) {
    State s(b);
    s.started = s.unused = 0;
}

void threev_block::step(View& b) {
    State s(b);
    const double runningTime = b.par<P::runningTime>();
    const double flow = positivePart(b.in(0));
    const CallTime c = classifyCall(b.in(4), s.previousTime, s.started != 0, kSameTime);
    s.previousTime = c.reference;
    switch (c.call) {
        case Call::first:
            s.started = 1;
            s.position = s.startPosition = s.stepLength = s.zero = 0.0f;
            writeOutputs(b, flow, 0.0);
            return;
        case Call::back:
            s.stepLength = 0.0f;
            s.position = s.startPosition;
            break;
        case Call::repeat:
            s.position = s.startPosition;
            break;
        case Call::next:
            s.stepLength = stored(c.step);
            s.startPosition = s.position;
            break;
    }
    const double p = s.position, set = b.in(3) / 100.0;
    s.position = stored(moved(p, std::isnan(set) ? p : std::clamp(set, 0.0, 1.0), s.stepLength, runningTime));
    writeOutputs(b, flow, s.position);
}

}  // namespace vireo::st
