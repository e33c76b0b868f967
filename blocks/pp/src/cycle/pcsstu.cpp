//#Block PCSSTU
//#Description
// Holds back the mass flow to the power block until the flow has delivered the energy
// its start-up needs; the need grows with the time the power block stood still.
//#Layout
//#Inputs 4
//#Outputs 2
//#Parameters 5
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Supply temperature ($^\circ$C)
//#IN[1] Mass flow (kg/s)
//#IN[2] Model time (s)
//#IN[3] Return temperature ($^\circ$C)
//#Outputs
//#OUT[0] Supply temperature, input 1 ($^\circ$C)
//#OUT[1] Mass flow released to the power block (kg/s)
//#Parameters
//#BP[0] Specific heat of the fluid (J/(kg K))
//#BP[1] Start-up energy of a cold power block (J)
//#BP[2] Amplitude of its decay (J)
//#BP[3] Linear decay coefficient over the time off (1/s)
//#BP[4] Quadratic decay coefficient over the time off (1/s2)
//#Strings
//#None
//#Remarks
// Without flow the energy needed is p2 - p3 exp(-p4 t - p5 t t), t the time since the
// last operation with flow plus the time step (both counted, as the model always has).
// With flow, the heat the flow brings, flow times p1 times the supply less the return
// temperature over the time step, pays off what is still needed; no flow passes until
// it is paid, and in the step that pays it the part of the flow not needed passes. A
// repeated call at the same model time starts again from the need at the start of the
// step. On the first step nothing is needed yet.
//#end
#include "blocks.h"

#include <cmath>

namespace vireo::pp {

void pcsstu_block::step(View& b) {
    auto state = b.rp<0, 4>();
    float& lastCall = state[0];
    float& lastFlow = state[1];
    float& needed = state[2];
    float& neededAtStepStart = state[3];
    const float supply = b.in(0), flow = b.in(1), time = b.in(2), back = b.in(3);

    const float ts = time - lastCall;
    float e;
    if (ts == 0.0f) {
        e = neededAtStepStart;
    } else {
        e = needed;
        neededAtStepStart = needed;
    }
    const float off = ts + (time - lastFlow);
    float released;
    if (flow <= 0.0f) {
        e = b.par<P::coldEnergy>() -
            b.par<P::decayAmplitude>() * std::exp(-b.par<P::decayLinear>() * off - b.par<P::decayQuadratic>() * off * off);
        released = flow;
    } else {
        if (e <= 0.0f) {
            released = flow;
        } else {
            const float heat = ts * flow * b.par<P::cp>() * (supply - back);
            e -= heat;
            released = 0.0f;
            // Only a heat above 0 makes e negative, so the division has a divisor.
            if (e < 0.0f) released = std::fabs(e) / heat * flow;
        }
        lastFlow = time;
    }
    needed = e;
    lastCall = time;
    b.out(0) = supply;
    b.out(1) = released;
}

}  // namespace vireo::pp
