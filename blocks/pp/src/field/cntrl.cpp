//#Block CNTRL
//#Description
// Loop controller of a collector field: sets the mass flow, lets the loop run and
// corrects the flow until the field outlet reaches the target temperature.
//#Layout
//#Inputs 3
//#Outputs 1
//#Parameters 5--6
//#Strings 0
//#Group 4 (loop controller)
//#Details
//#Inputs
//#IN[0] Mass flow of the last pass (kg/s)
//#IN[1] Field outlet temperature ($^\circ$C)
//#IN[2] Field inlet temperature ($^\circ$C)
//#Outputs
//#OUT[0] Mass flow for the next pass (kg/s)
//#Parameters
//#BP[0] Target outlet temperature ($^\circ$C)
//#BP[1] Mass flow of the first pass of a time step (kg/s)
//#BP[2] Tolerance of the outlet temperature (K)
//#BP[3] Lowest mass flow: a smaller one switches the field off (kg/s)
//#BP[4] Highest mass flow (kg/s)
//#BP[5] Largest number of passes, 0 to 100000; optional, 0 or left out: 20 (-)
//#Strings
//#None
//#Remarks
// Each pass scales the flow by the heating of the field, so that the outlet would reach
// the target at the same heat gain. A flow is accepted when the outlet lies within the
// tolerance of the target, when the field does not heat (flow 0), when the flow falls
// below the lowest (flow 0), when the target is not above the inlet (the highest flow),
// or at the pass limit (the flow of the last pass). A flow above the highest is passed
// on as it is and the loop goes on. The loop runs once more with the accepted flow and
// is then left.
//#end
#include "blocks.h"

#include <cmath>

namespace vireo::pp {
namespace {

struct State {
    int& unused;    // IP[10] declared, never used
    int& pass;      // IP[11] 1 for the first pass of a time step
    int& accepted;  // IP[12] 1 once a flow was accepted
    explicit State(cntrl_block::View& b) : unused(b.ip<10>()), pass(b.ip<11>()), accepted(b.ip<12>()) {}
};

}  // namespace

void cntrl_block::init(View& b) { State(b).pass = 1; }

void cntrl_block::step(View& b) {
    State s(b);
    // Left out, its default stays in the parameter for the rest of the run.
    if (b.par(P::passes) == 0.0f) fillParameter(b, P::passes, b.par<P::passes>());
    const float lastFlow = b.in(0), outlet = b.in(1), inlet = b.in(2);
    const float target = b.par<P::target>();
    bool accept = false;
    float flow = lastFlow;
    if (s.pass == 1) {
        flow = b.par<P::firstFlow>();
        s.accepted = 0;
    } else if (s.accepted == 0) {
        if (outlet <= inlet) {
            flow = 0.0f;
            accept = true;
        } else if (std::fabs(outlet - target) > b.par<P::tolerance>()) {
            if (target <= inlet) {
                // No flow brings the outlet down to a target at or below the inlet: the
                // most the field can take is the nearest it comes.
                flow = b.par<P::highestFlow>();
                accept = true;
            } else {
                flow = lastFlow * (outlet - inlet) / (target - inlet);
                if (flow < b.par<P::lowestFlow>()) {
                    flow = 0.0f;
                    accept = true;
                }
            }
        } else {
            flow = lastFlow;
            accept = true;
        }
        if (static_cast<float>(s.pass) > b.par<P::passes>()) {
            flow = lastFlow;
            accept = true;
        }
    } else {
        flow = lastFlow;
        b.takeAlternativeLink();
        s.pass = 0;
        s.accepted = 0;
    }
    b.out(0) = flow;
    if (accept) s.accepted = 1;
    ++s.pass;
}

}  // namespace vireo::pp
