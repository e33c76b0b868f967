//#Block HXS
//#Description
// Heat exchanger between a hot and a cold stream whose effectiveness follows from its
// heat-transfer capacity UA and the two capacity flows by the effectiveness-NTU relations
// of parallel flow, counter-flow or cross-flow.
//#Layout
//#Inputs 4
//#Outputs 4
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Hot-side inlet temperature ($^\circ$C)
//#IN[1] Hot-side mass flow; 0 or below the stream stands (kg/s)
//#IN[2] Cold-side inlet temperature ($^\circ$C)
//#IN[3] Cold-side mass flow; 0 or below the stream stands (kg/s)
//#Outputs
//#OUT[0] Hot-side outlet temperature ($^\circ$C)
//#OUT[1] Cold-side outlet temperature ($^\circ$C)
//#OUT[2] Effectiveness $\varepsilon$ (-)
//#OUT[3] Heat flow from the hot to the cold side (W)
//#Parameters
//#BP[0] Flow arrangement, 0 to 2: 0 parallel flow, 1 counter-flow, 2 cross-flow with the cold
// stream mixed and the hot stream unmixed (-)
//#BP[1] Heat-transfer coefficient times area UA, above 0 (W/K)
//#BP[2] Specific heat capacity of the hot stream, above 0 (J/(kg K))
//#BP[3] Specific heat capacity of the cold stream, above 0 (J/(kg K))
//#Strings
//#None
//#Remarks
// With $C_{min}$ and $C_{max}$ the smaller and larger capacity flow, $C_r = C_{min} /
// C_{max}$ and $NTU = UA / C_{min}$, the heat flow is $\varepsilon C_{min}$ times the
// difference of the inlet temperatures. Counter-flow with $|1 - C_r| NTU$ below $10^{-6}$
// takes the limit of equal capacity flows, $NTU / (1 + NTU)$. Either sign of the
// temperature difference works: a "hot" side colder than the cold side takes up heat. A
// stream at rest passes both inlets on with $\varepsilon = 0$. A step with an input that
// is not a finite number changes no output and is warned about.
//#end
#include "Effectiveness.h"
#include "blocks.h"
#include "finite.h"

#include <cmath>

namespace vireo::st {
namespace {

enum Arrangement { parallel = 1, counter = 2, cross = 3 };

// 1 - exp(-x) / x, x for x = 0.
double saturating(double rate, double x) { return rate > 0 ? -std::expm1(-rate * x) / rate : x; }

}  // namespace

void hxs_block::init(View& b) { b.ip<10>() = b.whole<P::arrangement>(1); }

void hxs_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const int arrangement = b.ip<10>();
    const double ua = b.par<P::ua>(), cpHot = b.par<P::cpHot>(), cpCold = b.par<P::cpCold>();
    const double hotIn = b.in(0), coldIn = b.in(2);
    if (!(b.in(1) > 0.0f && b.in(3) > 0.0f)) {
        b.out(0) = b.in(0);
        b.out(1) = b.in(2);
        b.out(2) = 0.0f;
        b.out(3) = 0.0f;
        return;
    }
    const double hot = cpHot * b.in(1), cold = cpCold * b.in(3);
    const double cmin = std::min(hot, cold), cmax = std::max(hot, cold);
    const double ratio = cmin / cmax, ntu = ua / cmin;
    double epsilon = 0;
    switch (arrangement) {
        case parallel:
            epsilon = block::parallelFlowEffectiveness(ntu, ratio);
            break;
        case counter:
            epsilon = block::counterflowEffectiveness(ntu, ratio);
            break;
        default:
            // The mixed cold stream the smaller one, then the larger; each written so that a
            // vanishing capacity ratio takes its limit instead of 0/0.
            epsilon = hot >= cold ? -std::expm1(-saturating(ratio, ntu)) : saturating(ratio, -std::expm1(-ntu));
            break;
    }
    const double difference = hotIn - coldIn;
    b.out(0) = toOutput(hotIn - difference * epsilon * cmin / hot);
    b.out(1) = toOutput(coldIn + difference * epsilon * cmin / cold);
    b.out(2) = toOutput(epsilon);
    b.out(3) = toOutput(difference * epsilon * cmin);
}

}  // namespace vireo::st
