//#Block PHI2PSI, PSI2PHI
//#Description
// The sine (PHI2PSI) or the cosine (PSI2PHI) of an angle given in degrees or radians.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 0--1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Angle (degrees, or radians when parameter 1 is 1)
//#Outputs PHI2PSI
//#OUT[0] Sine of the angle (-)
//#Outputs PSI2PHI
//#OUT[0] Cosine of the angle (-)
//#Parameters
//#BP[0] Unit of the angle (-): 0 degrees, 1 radians; optional, 0 when left out
//#Strings
//#None
//#Remarks
// A unit other than 0 or 1 is an error at initialisation.
//#end
#include "blocks.h"

#include "angles.h"

#include <cmath>

namespace vireo::em {
namespace {

// RP[0..2]: pi, 2 pi and the degree, set at initialisation; IP[10]: the angle unit, 0
// degrees, 1 radians.
struct State {
    std::span<float, 3> constants;
    int& unit;
    explicit State(phi2psi_block::View& b) : constants(b.rp<0, 3>()), unit(b.ip<10>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 1, .whole = true, .code = code::badAngleUnit}};

}  // namespace

void phi2psi_block::init(View& b) {
    State s(b);
    s.constants[0] = kPi;
    s.constants[1] = kTwoPi;
    s.constants[2] = kRad;
    b.check(kRules);
    s.unit = b.whole(0);
}

void phi2psi_block::step(View& b) {
    const State s(b);
    const float angle = s.unit == 1 ? b.in(0) : b.in(0) * s.constants[2];
    b.out(0) = b.opMode() == 2 ? std::cos(angle) : std::sin(angle);
}

}  // namespace vireo::em
