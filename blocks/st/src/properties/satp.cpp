//#Block SATP, SATT
//#Description
// Water at saturation: the saturation pressure at a temperature (SATP), over liquid water
// or, below the triple point, over ice; or the saturation temperature at a pressure
// (SATT), over liquid water.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0--1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs SATP
//#IN[0] Temperature ($^\circ$C)
//#Inputs SATT
//#IN[0] Pressure (Pa)
//#Outputs SATP
//#OUT[0] Saturation pressure (Pa)
//#Outputs SATT
//#OUT[0] Saturation temperature over liquid water ($^\circ$C)
//#Parameters SATP
//#BP[0] Phase below the triple point, 0 to 1 (-): 0 liquid water, 1 ice; optional, 0 when left out
//#Parameters SATT
//#BP[0] Not used (-)
//#Strings
//#None
//#Remarks
// Liquid water by IAPWS-IF97 (0 to 373.946 $^\circ$C), ice by IAPWS R14-08 (down to -223.15
// $^\circ$C). Outside these ranges the value is extrapolated or held at the nearer end and a
// warning is given: SATP warns at the first such step and reports the number of them at
// the end of the run, SATT warns at every one.
//#end
#include "blocks.h"

#include "vireo_tools.h"

#include <climits>

namespace vireo::st {
namespace {

// IP[10]: steps outside the formulation's range.
struct State {
    int& outside;
    explicit State(satp_block::View& b) : outside(b.ip<10>()) {}
};

bool isSatt(const BlockView& b) { return b.opMode() == 2; }

}  // namespace

void satp_block::init(View& b) { b.checkOpMode(); }

void satp_block::step(View& b) {
    State s(b);
    const float x = b.in(0);
    // The variant handed to satp and satt, 1 liquid water, 2 ice below the triple point; the
    // phase as it stands, should the editor have changed it during the run.
    const int variant = isSatt(b) ? 1 : b.whole<P::phase>(1);
    int status = 0;
    if (isSatt(b)) {
        b.out(0) = satt(&variant, &x, &status);
        if (status != 0) {
            b.report(code::saturationTemperatureOutside, {.reals = {x}, .ints = {status}});
            if (s.outside < INT_MAX) ++s.outside;
        }
    } else {
        b.out(0) = satp(&variant, &x, &status);
        if (status != 0) b.countWarning(s.outside, code::saturationPressureOutside, {.reals = {x}, .ints = {status}});
    }
}

void satp_block::last(View& b) {
    if (!isSatt(b)) b.reportCount(State(b).outside, code::countedConversions);
}

}  // namespace vireo::st
