//#Block DPBOWR, VBOWR
//#Description
// Pressure drop of air through a round bend from the volume flow (DPBOWR), or the volume
// flow from the pressure drop (VBOWR).
//#Layout
//#Inputs 2
//#Outputs 3
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs DPBOWR
//#IN[0] Volume flow (m$^3$/h); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#Inputs VBOWR
//#IN[0] Pressure drop (Pa); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#Outputs DPBOWR
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Velocity (m/s)
//#OUT[2] Loss coefficient (-)
//#Outputs VBOWR
//#OUT[0] Volume flow (m$^3$/h)
//#OUT[1] Velocity (m/s)
//#OUT[2] Loss coefficient (-)
//#Parameters DPBOWR
//#BP[0] Diameter, above 0 (m)
//#BP[1] Bend radius, above 0 (m)
//#BP[2] Bend angle, at least 0 (degrees)
//#Parameters VBOWR
//#BP[0] Diameter, above 0 (m)
//#BP[1] Bend radius, above 0 (m)
//#BP[2] Bend angle, above 0 (degrees)
//#Strings
//#None
//#Remarks
// The loss coefficient is that of a 90-degree bend, from a table in the ratio of bend
// radius to diameter (0.5 to 4; outside it the nearer end's value, with a note), times a
// factor for the bend angle after Idelchik ($0.9 \sin\alpha$ up to 60 degrees, 1 at 90).
// It is found at initialisation, and again after a change during the run.
//#end
#include "blocks.h"

#include "duct.h"

#include <cmath>

namespace vireo::st {
namespace {

// RP[0]: the loss coefficient, of the parameters as they stand.
struct State {
    float& zeta;
    explicit State(dpbowr_block::View& b) : zeta(b.rp<0>()) {}
};

constexpr float kRatio[] = {0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f, 3.0f, 4.0f};
constexpr float kZeta90[] = {1.18f, 0.37f, 0.21f, 0.19f, 0.17f, 0.15f, 0.13f, 0.11f};
constexpr duct::Table kBend{kRatio, kZeta90, 1.18f, 0.11f};

double angleFactor(double angle) {
    if (angle <= 60.0) return 0.9 * std::sin(angle * 0.017453292);
    if (angle < 110.0) return 0.0646 * std::pow(angle, 0.609);
    return 0.7 + 0.35 * angle / 90.0;
}

bool isVbowr(const BlockView& b) { return duct::form(b, 2) == 2; }

}  // namespace

void dpbowr_block::init(View& b) {
    b.checkOpMode();
    if (b.status() == 0) takeChange(b);
}

void dpbowr_block::takeChange(View& b) {
    const float ratio = b.par<P::radius>() / b.par<P::diameter>();
    if (ratio > 4.0f || ratio < 0.5f) b.report(code::bendRatioOutside, {.reals = {ratio}});
    const float zeta = duct::finite(duct::lookUp(kBend, ratio) * angleFactor(b.par<P::angle>()));
    State(b).zeta = zeta;
    b.out(2) = zeta;
}

void dpbowr_block::step(View& b) {
    const float zeta = State(b).zeta;
    const double area = duct::flowArea(b.par<P::diameter>());
    b.out(1) = duct::finite(duct::fittingStep(b, isVbowr(b), area, zeta) / area);
    b.out(2) = zeta;
}

}  // namespace vireo::st
