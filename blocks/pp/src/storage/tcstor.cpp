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
//#IN[0] Charging inlet temperature, entering at the top (degC)
//#IN[1] Charging mass flow (kg/s)
//#IN[2] Discharging inlet temperature, entering at the bottom (degC)
//#IN[3] Discharging mass flow (kg/s)
//#IN[4] Ambient temperature (degC)
//#IN[5] Model time, whole numbers (s)
//#Outputs
//#OUT[0] Charging outlet temperature, the bottom node (degC)
//#OUT[1] Charging mass flow, input 2 (kg/s)
//#OUT[2] Discharging outlet temperature, the top node (degC)
//#OUT[3] Discharging mass flow, input 4 (kg/s)
//#OUT[4] Stored energy above the reference temperature (J)
//#OUT[5] Energy at the start of the step and what the streams bring, less the stored
// energy (J)
//#Parameters
//#BP[0] Tank volume, above 0 (m3)
//#BP[1] Number of nodes, 1 to 201 with 201 excluded: its whole part 1 to 200 (-)
//#BP[2] Tank diameter, above 0 (m)
//#BP[3] Specific heat, above 0 (J/(kg K))
//#BP[4] Density, above 0 (kg/m3)
//#BP[5] Heat-loss coefficient of the wall, at least 0 (W/(m2 K))
//#BP[6] Iterations per sub-step, 0 to 1000 (-)
//#BP[7] Reference and initial temperature (degC)
//#Strings
//#None
//#Remarks
// Only the net flow (charging less discharging) moves fluid through the nodes. A step
// that would move more than one node's mass is divided into sub-steps. The node mass is
// the tank's mass over parameter 2 as given, the number of nodes its whole part. Times
// are taken as whole numbers: a call at the whole time of the call before repeats the
// step from the state at its start and over its length, so the block may sit in a loop;
// the first step integrates nothing, and a time that runs backwards integrates nothing.
// Output 6 is no energy balance of the streams (the model's own difference, kept).
//#end
#include "blocks.h"

#include "Numbers.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

namespace vireo::pp {
namespace {

constexpr int kMostNodes = 200;
// IP[10] before the first step: no time has been seen yet.
constexpr int kNoStepYet = INT_MIN;
// Sub-steps are cut at this many node updates per call, so that no input keeps a call
// from ending; a step cut short mixes its nodes fully instead of overshooting.
constexpr long kMostNodeUpdates = 1'000'000;

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

void tcstor_block::init(View& b) {
    if (refused(b)) return;  // a refused block starts nothing
    State s(b);
    std::fill(s.nodes.begin(), s.nodes.end(), b.par<P::reference>());
    std::fill(s.atStepStart.begin(), s.atStepStart.end(), b.par<P::reference>());
    s.lastTime = kNoStepYet;
}

void tcstor_block::step(View& b) {
    State s(b);
    const float chargeIn = b.in(0), chargeFlow = b.in(1), dischargeIn = b.in(2), dischargeFlow = b.in(3);
    const float ambient = b.in(4), time = b.in(5);
    const float volume = b.par<P::volume>(), nodeParameter = b.par<P::nodes>(), diameter = b.par<P::diameter>();
    const float cp = b.par<P::cp>(), density = b.par<P::density>(), wallLoss = b.par<P::wallLoss>();
    const float reference = b.par<P::reference>();
    const int n = block::toInt(nodeParameter);
    const int passes = block::toInt(b.par<P::iterations>());

    float ts = 0.0f;
    Nodes start{};
    if (s.lastTime == kNoStepYet || time - static_cast<float>(s.lastTime) == 0.0f) {
        std::copy(s.atStepStart.begin(), s.atStepStart.end(), start.begin());
        if (s.lastTime != kNoStepYet) ts = s.stepLength;
    } else {
        ts = forwardOnly(time - static_cast<float>(s.lastTime));
        start = s.end(n);
        std::copy(start.begin(), start.end(), s.atStepStart.begin());
    }
    Nodes next = start;
    const float stepLength = ts;

    const float nodeMass = density * volume / nodeParameter;
    const float wallPerNode = volume / (diameter * nodeParameter * 0.25f);
    const float u = wallPerNode * wallLoss / cp;

    float energyBefore = 0.0f;
    for (int i = 0; i < n; ++i) energyBefore += (next[i] - reference) * cp * nodeMass;
    energyBefore += chargeFlow * ts * cp * (chargeIn - reference) - (next[0] - reference) * dischargeFlow * ts * cp;

    const float massIn = std::max(std::fabs(ts * chargeFlow), std::fabs(ts * dischargeFlow));
    long subSteps = 1;
    if (nodeMass < massIn) subSteps = static_cast<long>(block::toInt(massIn / nodeMass)) + 1;
    subSteps = std::min(subSteps, std::max(1L, kMostNodeUpdates / (n * std::max(passes, 1))));
    ts /= static_cast<float>(subSteps);

    const float net = chargeFlow - dischargeFlow;
    const float down = std::max(net, 0.0f), up = std::min(net, 0.0f);
    const float enteringTop = std::max(chargeFlow - dischargeFlow, 0.0f);
    const float enteringBottom = std::max(dischargeFlow - chargeFlow, 0.0f);
    // The same pulls act on every node: from the node upstream (or the entering stream)
    // and from the wall.
    const float flowPull = ts * std::max(down, -up) / nodeMass, lossPull = u * ts / nodeMass;
    const bool explicitStep = withinOneStep({{flowPull, 0.0f}, {lossPull, 0.0f}});

    for (long step = 0; step < subSteps; ++step) {
        for (int pass = 0; pass < passes; ++pass) {
            if (n == 1) {
                // One fully mixed node: both entering streams, no neighbours.
                next[0] = explicitStep
                              ? start[0] + (u * (ambient - start[0]) * ts + ts * enteringTop * (chargeIn - start[0]) +
                                            ts * enteringBottom * (dischargeIn - start[0])) /
                                               nodeMass
                              : limitedUpdate(start[0], {{lossPull, ambient},
                                                         {ts * enteringTop / nodeMass, chargeIn},
                                                         {ts * enteringBottom / nodeMass, dischargeIn}});
            } else {
                next[0] = explicitStep
                              ? start[0] + (ts * up * (start[0] - next[1]) + u * (ambient - start[0]) * ts +
                                            ts * enteringTop * (chargeIn - start[0])) /
                                               nodeMass
                              : limitedUpdate(start[0], {{-ts * up / nodeMass, next[1]},
                                                         {lossPull, ambient},
                                                         {ts * enteringTop / nodeMass, chargeIn}});
                for (int i = 1; i < n - 1; ++i) {
                    // The node above already carries its new temperature.
                    next[i] = explicitStep
                                  ? start[i] + (ts * down * (next[i - 1] - start[i]) + u * (ambient - start[i]) * ts +
                                                ts * up * (start[i] - start[i + 1])) /
                                                   nodeMass
                                  : limitedUpdate(start[i], {{ts * down / nodeMass, next[i - 1]},
                                                             {lossPull, ambient},
                                                             {-ts * up / nodeMass, start[i + 1]}});
                }
                const int last = n - 1;
                next[last] = explicitStep
                                 ? start[last] + (ts * down * (next[last - 1] - start[last]) +
                                                  u * (ambient - start[last]) * ts +
                                                  ts * enteringBottom * (dischargeIn - start[last])) /
                                                     nodeMass
                                 : limitedUpdate(start[last], {{ts * down / nodeMass, next[last - 1]},
                                                               {lossPull, ambient},
                                                               {ts * enteringBottom / nodeMass, dischargeIn}});
            }
            std::copy(next.begin(), next.begin() + n, start.begin());
        }
    }

    std::copy(next.begin(), next.end(), s.nodes.begin());
    s.stepLength = stepLength;
    s.lastTime = block::toInt(time);

    float stored = 0.0f;
    for (int i = 0; i < n; ++i) stored += (next[i] - reference) * cp * nodeMass;
    b.out(0) = next[n - 1];
    b.out(1) = chargeFlow;
    b.out(2) = next[0];
    b.out(3) = dischargeFlow;
    b.out(4) = stored;
    b.out(5) = energyBefore - stored;
}

}  // namespace vireo::pp
