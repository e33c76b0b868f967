//#Block HXC
//#Description
// Heat exchanger between two streams of a fixed temperature effectiveness, the same for
// both, as in the heat recovery of a ventilation unit; an operating signal of 0 bypasses
// it.
//#Layout
//#Inputs 3
//#Outputs 3
//#Parameters 2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Inlet temperature of stream 1 ($^\circ$C)
//#IN[1] Inlet temperature of stream 2 ($^\circ$C)
//#IN[2] Operating signal: exactly 0 bypasses the exchanger, any other value runs it (-)
//#Outputs
//#OUT[0] Outlet temperature of stream 1 ($^\circ$C)
//#OUT[1] Outlet temperature of stream 2 ($^\circ$C)
//#OUT[2] Parameter 2 while the exchanger runs, 0 while it is bypassed (unit of parameter 2)
//#Parameters
//#BP[0] Temperature effectiveness $\varepsilon$, a finite number; it is not limited (-)
//#BP[1] Value of output 3 while running, such as the unit's electric power (any unit)
//#Strings
//#None
//#Remarks
// Running, stream 1 leaves at $t_1 + \varepsilon (t_2 - t_1)$ and stream 2 at $t_2 -
// \varepsilon (t_2 - t_1)$; with $\varepsilon = 1$ the streams swap temperatures. The
// temperatures may be in any one unit. A step with an input that is not a finite number
// changes no output and is warned about.
//#end
#include "blocks.h"
#include "finite.h"

namespace vireo::st {

void hxc_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const double t1 = b.in(0), t2 = b.in(1), effectiveness = b.par<P::effectiveness>();
    if (b.in(2) == 0.0f) {
        b.out(0) = b.in(0);
        b.out(1) = b.in(1);
        b.out(2) = 0.0f;
        return;
    }
    b.out(0) = toOutput(t1 + effectiveness * (t2 - t1));
    b.out(1) = toOutput(t2 - (t2 - t1) * effectiveness);
    b.out(2) = b.par<P::running>();
}

}  // namespace vireo::st
