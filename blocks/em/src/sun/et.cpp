//#Block ET
//#Description
// The equation of time, by one of six fits.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Day of the year, 1 on 1 January (d)
//#Outputs
//#OUT[0] Equation of time: apparent minus mean solar time (min)
//#Parameters
//#BP[0] Fit, 0 to 5 (-): 0 the Fourier series of the day angle, 1 to 5 five further published fits
//#Strings
//#None
//#Remarks
// A fit outside 0 to 5 is an error at initialisation.
//#end
#include "blocks.h"

#include "solar.h"

namespace vireo::em {
namespace {

// IP[10]: the fit, 1 to 6 (the fit parameter counts from 0).
struct State {
    int& fit;
    explicit State(et_block::View& b) : fit(b.ip<10>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 5, .whole = true, .code = code::badMode}};

}  // namespace

void et_block::init(View& b) {
    b.check(kRules);
    State(b).fit = b.mode(0, 6) + 1;
}

void et_block::step(View& b) { b.out(0) = equationOfTime(State(b).fit, b.in(0)); }

}  // namespace vireo::em
