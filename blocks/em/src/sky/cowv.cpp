//#Block COWV
//#Description
// Precipitable water of the atmosphere from the dew point near the ground, by one of five
// correlations $w = e^{a T_d + b}$.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0--1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Dew point $T_d$ ($^\circ$C)
//#Outputs
//#OUT[0] Precipitable water w (cm)
//#Parameters
//#BP[0] Correlation (-), a b: 0 0.0691 -0.0592; 1 0.0693 -0.0756; 2 0.0614 0.1101;
// 3 0.0707 -0.0202; 4 0.0707 0.0416; optional, 0 when left out
//#Strings
//#None
//#Remarks
// A correlation other than 0 to 4 is an error at initialisation. A dew point that is not
// a number gives 0.
//#end
#include "blocks.h"

#include "atmosphere.h"

#include <cmath>

namespace vireo::em {
namespace {

// IP[10]: the correlation, 1 to 5 (the parameter counts from 0).
struct State {
    int& correlation;
    explicit State(cowv_block::View& b) : correlation(b.ip<10>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 4, .whole = true, .code = code::outOfRange}};

}  // namespace

void cowv_block::init(View& b) {
    b.check(kRules);
    State(b).correlation = b.mode(0, 5) + 1;
}

void cowv_block::step(View& b) {
    const float td = b.in(0);
    b.out(0) = std::isnan(td) ? 0.0f : precipitableWater(State(b).correlation, td);
}

}  // namespace vireo::em
