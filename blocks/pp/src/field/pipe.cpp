//#Block PIPE
//#Description
// Temperature drop of a pipe that loses heat to its surroundings.
//#Layout
//#Inputs 3
//#Outputs 2
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature (degC)
//#IN[1] Mass flow (kg/s)
//#IN[2] Ambient temperature (degC)
//#Outputs
//#OUT[0] Outlet temperature (degC)
//#OUT[1] Mass flow, input 2 (kg/s)
//#Parameters
//#BP[0] Pipe diameter, above 0 (m)
//#BP[1] Pipe length, above 0 (m)
//#BP[2] Heat-loss coefficient of the pipe surface, at least 0 (W/(m2 K))
//#BP[3] Heat-capacity rate the loss is shared by, above 0 (W/K)
//#Strings
//#None
//#Remarks
// The drop is the difference to ambient times p3 p1 pi p2 / (p4 p2): the length cancels
// and the mass flow is not used (the model's own form, kept), and pi is taken as
// 3.141516. A diameter of 0 or below, a negative coefficient, which would warm the
// fluid away from ambient, and a share p3 p1 pi / p4 above 1, which would carry it past ambient, are
// errors at initialisation.
//#end
#include "blocks.h"

namespace vireo::pp {
namespace {

// The share of its difference to ambient that the fluid loses; in double precision, where
// a long pipe's products cannot leave the range before the length cancels.
double lossShare(const pipe_block::View& b) {
    using P = pipe_block::P;
    const double length = b.par<P::length>();
    return static_cast<double>(b.par<P::lossCoefficient>()) * b.par<P::diameter>() * 3.141516f * length /
           (static_cast<double>(b.par<P::capacityRate>()) * length);
}

}  // namespace

void pipe_block::init(View& b) {
    if (refused(b)) return;
    // A share above 1 would carry the outlet past the ambient temperature: a bound on
    // three parameters together, so checked here rather than in the table.
    const Rule share{.parameter = P::lossCoefficient, .low = 0.0f, .high = 1.0f, .code = code::badLossShare};
    b.check(share, static_cast<float>(lossShare(b)));
}

void pipe_block::step(View& b) {
    const float drop = static_cast<float>((b.in(0) - b.in(2)) * lossShare(b));
    b.out(0) = b.in(0) - drop;
    b.out(1) = b.in(1);
}

}  // namespace vireo::pp
