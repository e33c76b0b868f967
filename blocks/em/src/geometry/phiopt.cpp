//#Block PHIOPT
//#Description
// The rotation of a surface turned about one inclined axis at which the sun's incidence
// angle is smallest, with the tilt and azimuth of the surface so turned.
//#Layout
//#Inputs 2
//#Outputs 3
//#Parameters 3--5
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Sun azimuth from north through east, south 180 (degrees)
//#IN[1] Sun elevation (degrees)
//#Outputs
//#OUT[0] Rotation angle with the smallest incidence angle, -90 to 90; 0 with the sun below
// the horizon (degrees)
//#OUT[1] Tilt of the turned surface; 0 with the sun below the horizon (degrees)
//#OUT[2] Azimuth of the turned surface from north through east; kept from the step
// before while the sun is below the horizon (degrees)
//#Parameters
//#BP[0] Tilt of the rotation axis (degrees)
//#BP[1] Azimuth offset: the unturned surface faces azimuth 180 plus this (degrees)
//#BP[2] Azimuth given to the surface when the turned surface lies horizontal (degrees)
//#BP[3] Lower limit of the rotation angle, not above 0; 0 means -90; optional (degrees)
//#BP[4] Upper limit of the rotation angle, not below 0; 0 means 90; optional (degrees)
//#Strings
//#None
//#Remarks
// A lower limit above 0 or an upper limit below 0 is an error at initialisation. A step
// whose search does not narrow the rotation to 1e-5 rad within 100 iterations is warned
// about the first time; at the end of the run the block reports how many such steps
// there were since its last report.
//#end
#include "blocks.h"

#include "angles.h"
#include "orientation.h"

#include <limits>

namespace vireo::em {
namespace {

// RP[0], RP[1]: the rotation limits in degrees. IP[10]: steps whose search did not
// settle, since the last report at the end of a run; -1 once reported and none since,
// so that the first-time warning is not repeated.
struct State {
    float& lower;
    float& upper;
    int& unsettled;
    explicit State(phiopt_block::View& b) : lower(b.rp<0>()), upper(b.rp<1>()), unsettled(b.ip<10>()) {}
};

constexpr float kMax = std::numeric_limits<float>::max();
constexpr Rule kRules[] = {
    {.parameter = 3, .low = -kMax, .high = 0, .code = code::badRotationLimit},
    {.parameter = 4, .low = 0, .high = kMax, .code = code::badRotationLimit},
};

}  // namespace

void phiopt_block::init(View& b) {
    if (!b.check(kRules)) return;
    State s(b);
    s.lower = b.par(3) == 0.0f ? -90.0f : b.par(3);
    s.upper = b.par(4) == 0.0f ? 90.0f : b.par(4);
}

void phiopt_block::step(View& b) {
    State s(b);
    const float psi = b.in(0) * kRad, alpha = b.in(1) * kRad;
    const float betaf = b.par(0) * kRad, dgamma = b.par(1) * kRad, gamma0 = b.par(2) * kRad;
    if (alpha < 0.0f) {
        b.out(0) = 0.0f;
        b.out(1) = 0.0f;
        return;
    }
    TurnedIncidence last{};
    const auto incidence = [&](float phi) {
        last = turnedIncidence(phi, psi, alpha, betaf, dgamma, gamma0);
        return last.incidence;
    };
    const Extreme best = searchByThirds(incidence, s.lower * kRad, s.upper * kRad, 1.0e-5f, Seek::minimum);
    if (!best.converged) {
        if (s.unsettled == 0) b.report(code::rotationNotSettled, {.reals = {b.in(0), b.in(1)}});
        s.unsettled = s.unsettled > 0 ? s.unsettled + 1 : 1;
    }
    const float rotation = best.x / kRad;
    b.out(0) = rotation > -90.0f ? (rotation < 90.0f ? rotation : 90.0f) : -90.0f;
    // The surface of the last trial angle, within the tolerance of the optimum.
    b.out(1) = static_cast<float>(last.tilt / kRad);
    b.out(2) = static_cast<float>(last.azimuth / kRad);
}

void phiopt_block::last(View& b) {
    State s(b);
    if (s.unsettled <= 0) return;
    b.report(code::rotationsNotSettled, {.value = s.unsettled});
    s.unsettled = -1;
}

}  // namespace vireo::em
