//#Block CTRHYS
//#Description
// An on/off switch with hysteresis, locked off while a second quantity lies at or
// below its minimum.
//#Layout
//#Inputs 2
//#Outputs 1
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Controlled quantity $x$ (any unit)
//#IN[1] Locking quantity $x_{cr}$ (any unit)
//#Outputs
//#OUT[0] Switch, 1 on and 0 off (-)
//#Parameters
//#BP[0] Switch-on value $x_{max}$ (unit of $x$)
//#BP[1] Hysteresis $\Delta x$, at least 0 (unit of $x$ and $x_{cr}$)
//#BP[2] Minimum of the locking quantity, $x_{cr,min}$ (unit of $x_{cr}$)
//#Strings
//#None
//#Remarks
// The switch goes on when $x$ reaches $x_{max}$ and off when it falls below $x_{max} -
// \Delta x$. It locks when $x_{cr}$ falls to $x_{cr,min}$ and unlocks when $x_{cr}$ rises
// to $x_{cr,min} + \Delta x$; while locked it is off. Every call switches, a repeated one
// too. An input that is not a number changes nothing.
//#end
#include "blocks.h"

namespace vireo::st {
namespace {

// IP[11]: the switch, IP[12]: the lock, each 0 or 1.
struct State {
    int& on;
    int& locked;
    explicit State(ctrhys_block::View& b) : on(b.ip<11>()), locked(b.ip<12>()) {}
};

}  // namespace

void ctrhys_block::init(View& b) {
    State s(b);
    s.on = s.locked = 0;
}

void ctrhys_block::step(View& b) {
    State s(b);
    const float x = b.in(0), xcr = b.in(1);
    const float xmax = b.par<P::switchOn>(), hysteresis = b.par<P::hysteresis>(), xcrmin = b.par<P::lockMinimum>();
    if (s.locked != 0 && xcr >= xcrmin + hysteresis) s.locked = 0;
    if (s.locked == 0 && xcrmin >= xcr) s.locked = 1;
    if (s.on == 0 && x >= xmax && s.locked == 0) s.on = 1;
    if (s.on != 0 && (x < xmax - hysteresis || s.locked != 0)) s.on = 0;
    b.out(0) = static_cast<float>(s.on);
}

}  // namespace vireo::st
