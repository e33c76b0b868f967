//#Block TUBLO
//#Description
// Steady heat loss of a liquid pipe to a uniform ambient: the pipe is cut into segments
// of about one metre, and each segment's outlet follows from its energy balance with the
// loss taken at the mean of its inlet and outlet temperature.
//#Layout
//#Inputs 3
//#Outputs 2
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature ($^\circ$C)
//#IN[1] Mass flow; 0 or a negative flow is none (kg/s)
//#IN[2] Ambient temperature ($^\circ$C)
//#Outputs
//#OUT[0] Outlet temperature ($^\circ$C)
//#OUT[1] Heat loss to the ambient (W)
//#Parameters
//#BP[0] Heat-loss coefficient per metre of pipe, at least 0 (W/(m K))
//#BP[1] Additional heat loss in percent of the coefficient, at least -100 (\%)
//#BP[2] Specific heat capacity of the fluid, above 0 (J/(kg K))
//#BP[3] Length of the pipe, above 0 (m)
//#Strings
//#None
//#Remarks
// The pipe has as many segments as its length in metres rounded, at least one. A segment
// of length $l$ gives $\dot m c_p (T_{in} - T_{out}) = u\, l\, ((T_{in} + T_{out})/2 -
// T_a)$. Where the loss $u\,l/2$ of a segment exceeds the capacity flow $\dot m c_p$
// (a very small flow), the segment is cut into as many equal parts as bring each part's
// loss within the capacity flow, so that the outlet comes nearer the ambient temperature
// but never passes it. The heat loss is $\dot m c_p (T_{in} - T_{out})$. Without flow the
// outlet is the inlet temperature and there is no loss. An inlet or ambient temperature
// that is not a number leaves the outputs as they were.
//#end
#include "blocks.h"

#include "pipe.h"
#include "values.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {

void tublo_block::step(View& b) {
    const pipe::Common p = pipe::commonOf(b);
    const float tin = b.in(0), ta = b.in(2);
    if (!allFinite({tin, ta})) return;
    const double flow = positivePart(b.in(1));
    if (!(flow > 0.0)) {
        b.out(0) = tin;
        b.out(1) = 0.0f;
        return;
    }
    const double segments = std::max(1.0, std::round(p.length));
    const double capacityFlow = flow * p.heatCapacity;
    const double half = p.loss * (p.length / segments) / 2.0;
    // Every segment, and every part of one, moves the difference to ambient by the same
    // factor, so the whole pipe is that factor to the power of their number.
    const double parts = half > capacityFlow ? std::ceil(half / capacityFlow) : 1.0;
    const double partLoss = half / parts;
    const double factor = (capacityFlow - partLoss) / (capacityFlow + partLoss);
    // Without loss the outlet is the inlet as it came, not that less and plus the ambient.
    const float out =
        factor >= 1.0 ? tin : stored(ta + (static_cast<double>(tin) - ta) * std::pow(factor, segments * parts));
    b.out(0) = out;
    b.out(1) = stored(capacityFlow * (static_cast<double>(tin) - out));
}

}  // namespace vireo::st
