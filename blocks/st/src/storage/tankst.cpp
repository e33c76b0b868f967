//#Block TANKST
//#Description
// A vertically stratified hot-water store of 2 to 200 fully mixed nodes with a charging
// loop (from a collector) and a discharging loop (to a load), heat loss through its
// surface and conduction between its nodes, integrated over the time between calls. It
// is a delay block: its outputs, the node temperatures at the end of the step, may feed
// blocks that run before it, such as the collector that the tank's bottom supplies.
//#Layout
//#Inputs 6
//#Outputs 201
//#Parameters 8
//#Strings 0
//#Group 5 (delay)
//#Details
//#Inputs
//#IN[0] Inlet temperature of the charging loop, the return from the collector ($^\circ$C)
//#IN[1] Mass flow of the charging loop; a negative flow is none (kg/s)
//#IN[2] Inlet temperature of the discharging loop, the return from the load ($^\circ$C)
//#IN[3] Mass flow of the discharging loop; a negative flow is none (kg/s)
//#IN[4] Ambient temperature ($^\circ$C)
//#IN[5] Time (s)
//#Outputs
//#OUT[1--201] The temperatures of the n nodes, node 1 at the top ($^\circ$C); after them
// the stored energy, the sum of $c_p m T$ over the nodes, relative to 0 $^\circ$C (J); the
// outputs beyond are not written
//#Parameters
//#BP[0] Volume of the tank, above 0 (m$^3$)
//#BP[1] Number of nodes n, a whole number from 2 to 200 (-)
//#BP[2] Inner diameter, above 0 (m)
//#BP[3] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#BP[4] Density of the fluid, above 0 (kg/m$^3$)
//#BP[5] Heat-loss coefficient of the surface, at least 0 (W/(m$^2$ K))
//#BP[6] Thermal conductivity between nodes, at least 0 (W/(m K))
//#BP[7] Initial temperature of all nodes ($^\circ$C)
//#Strings
//#None
//#Remarks
// Each stream enters at the first node from the top that is no warmer than it, or at the
// bottom; the charging flow leaves at the bottom, the discharging flow at the top. The
// step is integrated explicitly with the temperatures at its start, in sub-steps that
// move at most one node mass and last at most 360 s (a longer step is cut into the
// nearest whole number of equal parts), split further only where a node would give away
// more than it holds in one sub-step. A call at the same time as the one before repeats
// the current step from its start with the inputs it is given; a call at an earlier time
// returns to the start of the current step and integrates nothing.
//
// The first call only takes its time and gives the initial state. Inputs that are not
// numbers: a flow is none, a time repeats the current step, a temperature keeps the tank
// at the start of the step. The number of nodes, which lays out the tank's state, and the
// initial temperature take effect at initialisation only: a number of nodes changed
// during the run is warned about and not taken.
//#end
#include "blocks.h"

#include "Stepping.h"
#include "tank.h"
#include "values.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vireo::st {
namespace {

// IP[10]: the step-length slot of stepOf; IP[11]: the number of nodes n, from
// initialisation. RP[0..n-1]: the node temperatures at the start of the current step;
// RP[200]: the time of the previous call. Between steps the node temperatures live in
// the block's own outputs.
struct State {
    int& step;
    int& nodes;
    float& previousTime;
    std::span<float, tank::kMaxNodes> start;
    explicit State(tankst_block::View& b)
        : step(b.ip<10>()), nodes(b.ip<11>()), previousTime(b.rp<200>()), start(b.rp<0, tank::kMaxNodes>()) {}
};

using P = tankst_block::P;

// The shape, or none where the parameters together give a node of no finite mass or area.
std::optional<tank::Shape> shapeOf(tankst_block::View& b, int nodes) {
    return tank::shapeOf({nodes, b.par<P::volume>(), b.par<P::diameter>(), b.par<P::heatCapacity>(),
                          b.par<P::density>(), b.par<P::lossCoefficient>(), b.par<P::conductivity>()});
}

// The sub-steps of a step: no more than one node mass moved and no longer than 360 s.
double subSteps(double length, const tank::Streams& in, double nodeMass) {
    const double moved = length * std::max(in.chargeFlow, in.loadFlow);
    const double parts = block::subStepsByMass(moved, nodeMass);
    const double h = length / parts;
    return h > 360.0 ? parts * std::round(h / 360.0) : parts;
}

void writeOutputs(tankst_block::View& b, std::span<const double> t, const tank::Shape& shape) {
    std::array<float, tank::kMaxNodes> kept{};
    for (std::size_t k = 0; k < t.size(); ++k) kept[k] = b.out(static_cast<int>(k)) = stored(t[k]);
    b.out(shape.nodes) = stored(tank::storedEnergy(std::span(kept.data(), t.size()), shape));
}

}  // namespace

// The nodes lay out the state: a change of their number during the run is not taken.
bool tankst_block::checksHold(View& b) {
    b.keepsFromInit<P::nodes>(static_cast<float>(State(b).nodes), static_cast<float>(b.whole<P::nodes>()));
    return true;
}

void tankst_block::init(View& b) {
    State s(b);
    s.step = 0;
    s.nodes = 0;
    if (refused(b)) return;
    const auto shape = shapeOf(b, b.whole<P::nodes>());
    if (!shape) return;
    s.nodes = shape->nodes;
    std::array<double, tank::kMaxNodes> t{};
    t.fill(b.par<P::start>());
    std::copy_n(t.begin(), s.nodes, s.start.begin());
    writeOutputs(b, std::span(t.data(), static_cast<std::size_t>(s.nodes)), *shape);
}

void tankst_block::step(View& b) {
    State s(b);
    const auto shape = shapeOf(b, s.nodes);
    if (!shape) return;  // no finite shape at initialisation (no nodes), or since a change
    const auto n = static_cast<std::size_t>(shape->nodes);
    const block::Step step = block::stepOf(b.in(5), s.previousTime, s.step);
    if (step.isNew)
        for (std::size_t k = 0; k < n; ++k) s.start[k] = b.out(static_cast<int>(k));
    std::array<double, tank::kMaxNodes> t{};
    std::copy_n(s.start.begin(), n, t.begin());
    const std::span<double> nodes(t.data(), n);
    if (const auto in = tank::streamsOf(b))
        tank::advance(nodes, *shape, *in, step.length, subSteps(step.length, *in, shape->nodeMass));
    writeOutputs(b, nodes, *shape);
}

}  // namespace vireo::st
