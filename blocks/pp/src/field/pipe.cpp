//#Block PIPE
//#Description
// Outlet temperature of a pipe that loses heat through its surface to its surroundings.
//#Layout
//#Inputs 3
//#Outputs 2
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature ($^\circ$C)
//#IN[1] Mass flow (kg/s)
//#IN[2] Ambient temperature ($^\circ$C)
//#Outputs
//#OUT[0] Outlet temperature ($^\circ$C)
//#OUT[1] Mass flow, input 2 (kg/s)
//#Parameters
//#BP[0] Pipe diameter, above 0 (m)
//#BP[1] Pipe length, above 0 (m)
//#BP[2] Heat-loss coefficient of the pipe surface, at least 0 (W/(m$^2$ K))
//#BP[3] Specific heat of the fluid, above 0 (J/(kg K))
//#Strings
//#None
//#Remarks
// The pipe's surface pi p1 p2 loses p3 times the difference to ambient per square metre
// along its length, so the fluid's difference to ambient falls exponentially: the outlet
// is Ta + (Tin - Ta) exp(-p3 pi p1 p2 / (m p4)), m the mass flow, and the heat lost,
// m p4 (Tin - Tout), grows with the length and never carries the fluid past ambient. A
// pipe without flow (0 or below) holds its fluid until it is at ambient: the outlet is
// the ambient temperature, where the formula goes as the flow falls; a pipe that loses
// nothing (p3 0) passes the inlet at any flow. A specific heat outside 500 to 20000
// J/(kg K), which no heat-transfer fluid has (a model that still gives p4 as the
// heat-capacity rate in W/K it once was), is warned of at initialisation and when the
// editor changes it; the pipe computes with it all the same.
//#end
#include "blocks.h"

#include <cmath>
#include <numbers>

namespace vireo::pp {

bool pipe_block::tiesHold(View& b) {
    // Parameter 4 was once the heat-capacity rate the loss was shared by (W/K); a model
    // written so gives values no fluid has (the examples gave 300), and read as a specific
    // heat these cool the fluid many times too fast or too slowly. Warned of, not refused:
    // the pipe computes with it all the same.
    constexpr float kLeast = 500.0f, kMost = 20000.0f;  // below air and oils, above hydrogen
    const float cp = b.par<P::cp>();
    if (cp < kLeast || cp > kMost)
        b.report(code::unusualSpecificHeat, {.reals = {cp, kLeast, kMost}, .ints = {P::cp + 1}});
    return true;
}

void pipe_block::step(View& b) {
    const float inlet = b.in(0), flow = b.in(1), ambient = b.in(2);
    // The surface's loss rate over the fluid's capacity rate, in double precision, where a
    // long pipe or a trickle cannot leave the range.
    const double surfaceRate = static_cast<double>(b.par<P::lossCoefficient>()) * std::numbers::pi *
                               b.par<P::diameter>() * b.par<P::length>();
    double kept = 1.0;  // the share of the inlet's difference to ambient left at the outlet
    if (surfaceRate > 0.0)
        kept = flow > 0.0f ? std::exp(-surfaceRate / (static_cast<double>(flow) * b.par<P::cp>())) : 0.0;
    b.out(0) = static_cast<float>(ambient + (static_cast<double>(inlet) - ambient) * kept);
    b.out(1) = flow;
}

}  // namespace vireo::pp
