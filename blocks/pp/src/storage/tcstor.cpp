//#Block TCSTOR
//#Description
// Thermocline storage tank: fully mixed nodes of equal mass, charged from the top by a
// hot stream and discharged from the bottom by a cold one.
//#Layout
//#Inputs 6
//#Outputs 6
//#Parameters 8
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Charging inlet temperature, entering at the top ($^\circ$C)
//#IN[1] Charging mass flow (kg/s)
//#IN[2] Discharging inlet temperature, entering at the bottom ($^\circ$C)
//#IN[3] Discharging mass flow (kg/s)
//#IN[4] Ambient temperature ($^\circ$C)
//#IN[5] Model time, whole numbers (s)
//#Outputs
//#OUT[0] Charging outlet temperature, the bottom node ($^\circ$C)
//#OUT[1] Charging mass flow, input 2 (kg/s)
//#OUT[2] Discharging outlet temperature, the top node ($^\circ$C)
//#OUT[3] Discharging mass flow, input 4 (kg/s)
//#OUT[4] Stored energy above the reference temperature (J)
//#OUT[5] Energy at the start of the step and what the streams bring, less the stored
// energy (J)
//#Parameters
//#BP[0] Tank volume, above 0 (m$^3$)
//#BP[1] Number of nodes, 1 to 201 with 201 excluded: its whole part 1 to 200 (-)
//#BP[2] Tank diameter, above 0 (m)
//#BP[3] Specific heat, above 0 (J/(kg K))
//#BP[4] Density, above 0 (kg/m$^3$)
//#BP[5] Heat-loss coefficient of the wall, at least 0 (W/(m$^2$ K))
//#BP[6] Iterations per sub-step, 0 to 1000: kept for the models that give it; every
// count computes each sub-step once (-)
//#BP[7] Reference and initial temperature ($^\circ$C)
//#Strings
//#None
//#Remarks
// Only the net flow (charging less discharging) moves fluid through the nodes. A step
// that would move more than one node's mass is divided into sub-steps, each explicit from
// the temperatures at its start: what leaves a node enters the next, so the nodes store
// what the net stream brings less what it takes out at the other end. The node mass is
// the tank's mass over parameter 2 as given, the number of nodes its whole part. Times
// are taken as whole numbers: a call at the whole time of the call before repeats the
// step from the state at its start and over its length, so the block may sit in a loop;
// the first step integrates nothing, and a time that runs backwards integrates nothing.
// A time that is not a finite number repeats the step and is not kept. A step whose nodes
// would come out as no numbers (inputs that are none, or that carry them past the float
// range) changes nothing, outputs and time included: the next call goes on from the state
// it found.
// Output 6 is no energy balance of the streams (the model's own difference, kept).
//#end
#include "blocks.h"

#include "Numbers.h"
#include "thermocline.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace vireo::pp {
namespace {

using thermocline::kMostNodes;
// IP[10] before the first step: no time has been seen yet.
constexpr int kNoStepYet = INT_MIN;

using Nodes = std::array<float, kMostNodes>;

// A call at the time of the call before repeats the step: from the state at its start,
// over the same length. The length has no slot of its own, so it takes the slot of node
// 200's end temperature; that temperature is the block's own output 1 (OUT[0]), which the
// engine keeps between calls.
struct State {
    std::span<float, kMostNodes> nodes;        // RP[0..199] after the last call, node 1 at the top,
    float& stepLength;                         // but RP[199] the length of the current time step
    std::span<float, kMostNodes> atStepStart;  // RP[200..399] at the start of the current time step
    int& lastTime;                             // IP[10] time of the last call, whole
    float& bottom;                             // OUT[0] the bottom node after the last call
    explicit State(tcstor_block::View& b)
        : nodes(b.rp<0, kMostNodes>()), stepLength(b.rp<kMostNodes - 1>()),
          atStepStart(b.rp<kMostNodes, kMostNodes>()), lastTime(b.ip<10>()), bottom(b.out(0)) {}

    // The end state of the last call.
    Nodes end(int n) const {
        Nodes t{};
        std::copy(nodes.begin(), nodes.end(), t.begin());
        if (n == kMostNodes) t[kMostNodes - 1] = bottom;
        return t;
    }
};

}  // namespace

bool tcstor_block::tiesHold(View& b) {
    return tankFits(b, P::volume, b.par<P::volume>(), b.par<P::density>(), b.par<P::cp>());
}

void tcstor_block::init(View& b) {
    if (refused(b)) return;  // a refused block starts nothing
    State s(b);
    std::fill(s.nodes.begin(), s.nodes.end(), b.par<P::reference>());
    std::fill(s.atStepStart.begin(), s.atStepStart.end(), b.par<P::reference>());
    s.lastTime = kNoStepYet;
}

void tcstor_block::step(View& b) {
    State s(b);
    const thermocline::Streams in{b.in(0), b.in(1), b.in(2), b.in(3), b.in(4)};
    const float time = b.in(5);
    const thermocline::Tank tank =
        thermocline::tankOf(b.par<P::volume>(), b.par<P::nodes>(), b.par<P::diameter>(), b.par<P::cp>(),
                            b.par<P::density>(), b.par<P::wallLoss>(), b.par<P::reference>());
    const block::WholeTimeStep step = block::wholeTimeStepOf(time, s.lastTime, s.lastTime != kNoStepYet, s.stepLength);

    Nodes t{};
    if (step.isNew) {
        t = s.end(tank.nodes);
    } else {
        std::copy(s.atStepStart.begin(), s.atStepStart.end(), t.begin());
    }
    const Nodes start = t;  // the new step's start, kept once the step has computed
    const std::span<float> nodes(t.data(), static_cast<std::size_t>(tank.nodes));
    const float before = thermocline::storedEnergy(nodes, tank) + thermocline::brought(nodes, tank, in, step.length);
    thermocline::advance(nodes, tank, in, step.length);
    const float stored = thermocline::storedEnergy(nodes, tank);
    // A step whose nodes come out as no numbers (inputs that are none, or that carry them
    // past what a float holds) changes nothing, its outputs and time included: kept, a
    // NaN would stay in the nodes for the rest of the run; the next call goes on from the
    // last one that computed.
    if (!std::isfinite(stored) || !std::isfinite(before)) return;

    if (step.isNew) std::copy(start.begin(), start.end(), s.atStepStart.begin());
    std::copy(t.begin(), t.end(), s.nodes.begin());
    s.stepLength = step.length;
    s.lastTime = step.lastTime;

    b.out(0) = nodes.back();
    b.out(1) = in.chargeFlow;
    b.out(2) = nodes.front();
    b.out(3) = in.dischargeFlow;
    b.out(4) = stored;
    b.out(5) = before - stored;
}

}  // namespace vireo::pp
