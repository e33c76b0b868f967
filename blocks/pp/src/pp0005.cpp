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
//#BP[0] Pipe diameter (m)
//#BP[1] Pipe length, above 0 (m)
//#BP[2] Heat-loss coefficient of the pipe surface (W/(m2 K))
//#BP[3] Heat-capacity rate the loss is shared by, above 0 (W/K)
//#Strings
//#None
//#Remarks
// The drop is the difference to ambient times p3 p1 pi p2 / (p4 p2): the length cancels
// and the mass flow is not used (the model's own form, kept), and pi is taken as
// 3.141516.
//#end
#include "blocks.h"

namespace vireo::pp {
namespace {

constexpr Rule kRules[] = {
    positive(1, code::badSize),
    positive(3, code::badHeatCapacity),
};

}  // namespace

void pipe_block::init(View& b) { b.check(kRules); }

void pipe_block::step(View& b) {
    const float drop = (b.in(0) - b.in(2)) * (b.par(2) * b.par(0) * 3.141516f * b.par(1)) / (b.par(3) * b.par(1));
    b.out(0) = b.in(0) - drop;
    b.out(1) = b.in(1);
}

}  // namespace vireo::pp
