//#Block TSKY
//#Description
// Sky temperature from the air temperature near the ground, for the long-wave exchange of
// surfaces with a clear sky.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Air temperature $T_a$ ($^\circ$C)
//#Outputs
//#OUT[0] Sky temperature ($^\circ$C)
//#Parameters
//#BP[0] Model (-): 0 Swinbank (1963), $T_{sky} = 0.0552\,T^{1.5}$; 1 Fuentes (1987),
// $T_{sky} = 0.32\,T + 0.037536\,T^{1.5}$; T the air temperature in K
//#Strings
//#None
//#Remarks
// A model other than 0 or 1 is an error at initialisation. An air temperature below
// absolute zero is taken as absolute zero; one that is not a number gives 0.
//#end
#include "blocks.h"

#include <cmath>

namespace vireo::em {
namespace {

// IP[10]: the model as given, 0 or 1 (not counted from 1).
struct State {
    int& model;
    explicit State(tsky_block::View& b) : model(b.ip<10>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 1, .whole = true, .code = code::badMode}};
constexpr float kZeroCelsius = 273.15f;

}  // namespace

void tsky_block::init(View& b) {
    b.check(kRules);
    State(b).model = b.mode(0, 2);
}

void tsky_block::step(View& b) {
    const float ta = b.in(0);
    if (std::isnan(ta)) {
        b.out(0) = 0.0f;
        return;
    }
    const float t = ta > -kZeroCelsius ? ta + kZeroCelsius : 0.0f;
    const float t15 = std::pow(t, 1.5f);
    const float sky = State(b).model == 1 ? 0.32f * t + 0.037536f * t15 : 0.0552f * t15;
    b.out(0) = sky - kZeroCelsius;
}

}  // namespace vireo::em
