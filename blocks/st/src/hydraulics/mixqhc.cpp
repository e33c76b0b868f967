//#Block MIXQHC
//#Description
// Splits a total flow between a hot and a cold supply so that their mix reaches a set
// temperature; where the set temperature lies outside both supplies, an auxiliary
// heater or cooler of limited power makes up the difference.
//#Layout
//#Inputs 4
//#Outputs 5
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature $T_1$ of supply 1 ($^\circ$C)
//#IN[1] Temperature $T_2$ of supply 2 ($^\circ$C)
//#IN[2] Set temperature $T$ ($^\circ$C)
//#IN[3] Total mass flow; 0 or a negative flow is none (kg/s)
//#Outputs
//#OUT[0] Mass flow from supply 1 (kg/s)
//#OUT[1] Mass flow from supply 2 (kg/s)
//#OUT[2] Outlet temperature ($^\circ$C)
//#OUT[3] Auxiliary power, positive for heating and for cooling alike (W)
//#OUT[4] Always 0 (-)
//#Parameters
//#BP[0] Largest auxiliary power, for heating and for cooling, at least 0 (W)
//#BP[1] Not used (-)
//#BP[2] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#Strings
//#None
//#Remarks
// A set temperature between the supplies (or equal to one) is reached by mixing alone;
// with both supplies at the set temperature each gives half the flow. Below both
// supplies the colder one carries the whole flow and is cooled, above both the warmer
// one is heated, by at most the largest power. Without flow nothing flows, no power is
// used, and the outlet temperature is the set temperature held within the supplies. A
// temperature that is not a number leaves the outputs as they were.
//#end
#include "blocks.h"

#include "values.h"

#include <algorithm>

namespace vireo::st {
namespace {

void writeOutputs(mixqhc_block::View& b, double flow1, double flow2, double outlet, double power) {
    b.out(0) = stored(flow1);
    b.out(1) = stored(flow2);
    b.out(2) = stored(outlet);
    b.out(3) = stored(power);
    b.out(4) = 0.0f;
}

}  // namespace

void mixqhc_block::step(View& b) {
    const double limit = b.par<P::powerLimit>(), cp = b.par<P::heatCapacity>();
    const float t1 = b.in(0), t2 = b.in(1), t = b.in(2);
    if (!allFinite({t1, t2, t})) return;
    const double m = positivePart(b.in(3));
    const double low = std::min(t1, t2), high = std::max(t1, t2);
    if (!(m > 0.0)) return writeOutputs(b, 0.0, 0.0, std::clamp<double>(t, low, high), 0.0);
    if (low <= t && t <= high) {
        const double m1 = t1 == t2 ? m / 2.0 : m * (static_cast<double>(t2) - t) / (static_cast<double>(t2) - t1);
        return writeOutputs(b, m1, m - m1, t, 0.0);
    }
    // One supply carries the whole flow: the colder one to be cooled, the warmer to be
    // heated, supply 1 where they are equal.
    const bool cooling = t < low;
    const bool first = cooling ? t1 <= t2 : t2 <= t1;
    const double supply = first ? t1 : t2;
    const double demand = std::fabs(supply - t) * cp * m;
    const double power = std::min(demand, limit);
    const double outlet = demand > limit ? supply + (cooling ? -1.0 : 1.0) * (limit / m) / cp : t;
    writeOutputs(b, first ? m : 0.0, first ? 0.0 : m, outlet, power);
}

}  // namespace vireo::st
