//#Block TANKFM
//#Description
// A fully mixed hot-water store with a charging loop (from a collector) and a
// discharging loop (to a load) and heat loss through its surface, integrated over the
// time between calls.
//#Layout
//#Inputs 6
//#Outputs 2
//#Parameters 6
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature of the charging loop, the return from the collector ($^\circ$C)
//#IN[1] Mass flow of the charging loop; a negative flow is none (kg/s)
//#IN[2] Inlet temperature of the discharging loop, the return from the load ($^\circ$C)
//#IN[3] Mass flow of the discharging loop; a negative flow is none (kg/s)
//#IN[4] Ambient temperature ($^\circ$C)
//#IN[5] Time (s)
//#Outputs
//#OUT[0] Tank temperature ($^\circ$C)
//#OUT[1] Stored energy $c_p m T$, relative to 0 $^\circ$C (J)
//#Parameters
//#BP[0] Volume of the tank, above 0 (m$^3$)
//#BP[1] Inner diameter, above 0 (m)
//#BP[2] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#BP[3] Density of the fluid, above 0 (kg/m$^3$)
//#BP[4] Heat-loss coefficient of the surface, mantle and both ends, at least 0 (W/(m$^2$ K))
//#BP[5] Initial temperature ($^\circ$C)
//#Strings
//#None
//#Remarks
// The step is integrated explicitly from the temperature at its start, split into equal
// parts only where one part would take more from the tank than it holds. A call at the
// same time as the one before repeats the current step from its start with the inputs
// it is given; a call at an earlier time returns to the start of the current step and
// integrates nothing. The first call only takes its time and gives the initial state.
// Inputs that are not numbers: a flow is none, a time repeats the current step, a
// temperature keeps the tank at the start of the step.
//#end
#include "blocks.h"

#include "Stepping.h"
#include "tank.h"
#include "values.h"

namespace vireo::st {
namespace {

// IP[10]: the step-length slot of stepOf. RP[0]: the time of the previous call;
// RP[1]: the tank temperature at the start of the current step. Between steps the
// temperature lives in the block's own output.
struct State {
    int& step;
    float& previousTime;
    float& start;
    explicit State(tankfm_block::View& b) : step(b.ip<10>()), previousTime(b.rp<0>()), start(b.rp<1>()) {}
};

using P = tankfm_block::P;

// One node, which both streams enter and both leave; its mantle and both ends lose heat.
std::optional<tank::Shape> shapeOf(const tankfm_block::View& b) {
    return tank::shapeOf({1, b.par<P::volume>(), b.par<P::diameter>(), b.par<P::cp>(), b.par<P::density>(),
                          b.par<P::lossCoefficient>(), 0.0f});
}

void writeOutputs(tankfm_block::View& b, double t, const tank::Shape& shape) {
    const float kept = b.out(0) = stored(t);
    b.out(1) = stored(tank::storedEnergy(std::span(&kept, 1), shape));
}

}  // namespace

void tankfm_block::init(View& b) {
    State s(b);
    s.step = 0;
    if (refused(b)) return;
    const auto shape = shapeOf(b);
    if (!shape) return;
    s.start = b.par<P::initial>();
    writeOutputs(b, s.start, *shape);
}

void tankfm_block::step(View& b) {
    State s(b);
    const auto shape = shapeOf(b);
    if (!shape) return;  // no tank: never while every parameter keeps its rule
    const block::Step step = block::stepOf(b.in(5), s.previousTime, s.step);
    if (step.isNew) s.start = b.out(0);
    double t = s.start;
    if (const auto in = tank::streamsOf(b)) tank::advance(std::span(&t, 1), *shape, *in, step.length, 1.0);
    writeOutputs(b, t, *shape);
}

}  // namespace vireo::st
