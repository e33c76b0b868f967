//#Block KN
//#Description
// Normalised beam fraction: the beam share of the global irradiance on the horizontal,
// $1 - D_h/G$, over its clear-sky maximum at the sun's elevation,
// $K_{max} = 1 - 0.12 \sin^{-0.82}\alpha$.
//#Layout
//#Inputs 3
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global irradiance on the horizontal G (W/m$^2$)
//#IN[1] Diffuse irradiance on the horizontal $D_h$ (W/m$^2$)
//#IN[2] Sun elevation $\alpha$ (degrees)
//#Outputs
//#OUT[0] Normalised beam fraction $(1 - D_h/G)/K_{max}$; -1 when there is none (-)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The fraction is -1 when G is not above 0, when the sun is not above the horizon, and
// while $K_{max}$ is below 0.05, which it is for a sun lower than about 4.6 degrees
// ($K_{max}$ crosses 0 near 4.3 degrees, where the fraction would grow without bound), and
// when an input is not a number.
//#end
#include "blocks.h"

#include "angles.h"

#include <cmath>

namespace vireo::em {
namespace {

// RP[0]: the degree in radians, set at initialisation.
struct State {
    float& degree;
    explicit State(kn_block::View& b) : degree(b.rp<0>()) {}
};

constexpr float kNone = -1.0f;
constexpr float kLeastMaximum = 0.05f;

}  // namespace

void kn_block::init(View& b) { State(b).degree = kRad; }

void kn_block::step(View& b) {
    const float g = b.in(0), dh = b.in(1), elevation = b.in(2);
    b.out(0) = kNone;
    if (!(g > 0.0f && elevation > 0.0f)) return;
    // An elevation of 180 degrees or more has no positive sine: NaN or infinity here, no fraction.
    const float maximum = 1.0f - 0.12f * std::pow(std::sin(elevation * State(b).degree), -0.82f);
    if (!(maximum >= kLeastMaximum)) return;
    const float fraction = (1.0f - dh / g) / maximum;
    if (!std::isnan(fraction)) b.out(0) = fraction;
}

}  // namespace vireo::em
