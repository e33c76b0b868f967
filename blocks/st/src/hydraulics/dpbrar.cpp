//#Block DPBRAR, DPJUNR
//#Description
// Pressure drops of air through a round tee where the flow divides from the common leg
// into the straight leg and the branch (DPBRAR), or where the flows of two legs join
// (DPJUNR).
//#Layout
//#Inputs 3
//#Outputs 7
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs DPBRAR
//#IN[0] Volume flow into the common leg (m$^3$/h); its sign is ignored
//#IN[1] Volume flow out through the branch (m$^3$/h); its sign is ignored
//#IN[2] Air temperature ($^\circ$C)
//#Inputs DPJUNR
//#IN[0] Volume flow in through the leg of parameter 1 (m$^3$/h); its sign is ignored
//#IN[1] Volume flow in through the branch (m$^3$/h); its sign is ignored
//#IN[2] Air temperature ($^\circ$C)
//#Outputs DPBRAR
//#OUT[0] Pressure drop from the common leg into the straight leg (Pa)
//#OUT[1] Pressure drop from the common leg into the branch (Pa)
//#OUT[2] Velocity in the common leg (m/s)
//#OUT[3] Velocity in the straight leg (m/s)
//#OUT[4] Velocity in the branch (m/s)
//#OUT[5] Loss coefficient of the straight passage, referred to its own velocity (-)
//#OUT[6] Loss coefficient of the branch, referred to its own velocity (-)
//#Outputs DPJUNR
//#OUT[0] Pressure drop of the straight passage (Pa)
//#OUT[1] Pressure drop from the branch (Pa)
//#OUT[2] Velocity in the leg of parameter 1 (m/s)
//#OUT[3] Velocity in the leg of parameter 2, which carries both flows (m/s)
//#OUT[4] Velocity in the branch (m/s)
//#OUT[5] Loss coefficient of the straight passage, referred to the velocity of output 3 (-)
//#OUT[6] Loss coefficient of the branch, referred to its own velocity (-)
//#Parameters
//#BP[0] Diameter of the common leg, for DPJUNR of the straight incoming leg, above 0 (m)
//#BP[1] Diameter of the straight leg, for DPJUNR of the leg that carries both flows, above 0 (m)
//#BP[2] Diameter of the branch, above 0 (m)
//#BP[3] Angle between branch and straight leg, 0 to 90 (degrees)
//#Strings
//#None
//#Remarks
// Loss coefficients after Idelchik. A leg without flow has neither pressure drop nor loss
// coefficient (0): a coefficient referred to a velocity of 0 has no value.
//#end
#include "blocks.h"

#include "duct.h"

#include <cmath>

namespace vireo::st {
namespace {

// RP[0]: the cosine of the branch angle, of the parameter as it stands.
struct State {
    float& cosAngle;
    explicit State(dpbrar_block::View& b) : cosAngle(b.rp<0>()) {}
};

struct Legs {
    double common, straight, branch;  // diameters: BP 0, 1, 2
};

// The seven outputs in their order, each a finite float.
void put(BlockView& b, double dpStraight, double dpBranch, double v0, double v1, double v2, double zetaStraight,
         double zetaBranch) {
    const double values[] = {dpStraight, dpBranch, v0, v1, v2, zetaStraight, zetaBranch};
    for (int k = 0; k < 7; ++k) b.out(k) = duct::finite(values[k]);
}

void dividing(BlockView& b, const Legs& d, double cosAngle, double rho) {
    const double flow = std::fabs(b.in(0));
    const double branchFlow = std::fabs(b.in(1));
    const double ai = duct::flowArea(d.common), as = duct::flowArea(d.straight), ab = duct::flowArea(d.branch);
    if (flow == 0.0) return put(b, 0, 0, 0, 0, 0, 0, 0);
    // A branch without flow is a leg at rest like any other: the common leg and the
    // straight passage go on as they do for the smallest branch flow.
    const double vi = flow / ai, vb = branchFlow / ab;
    const double w = vb / vi;
    const double kb = w <= 0.8 ? 1.0 : 0.9;
    const double zetaBranch = duct::referredTo(kb * (1.0 + w * w - 2.0 * w * cosAngle), w);
    // From the flows, so that a branch that takes the whole flow leaves the straight leg
    // at rest exactly, not at a rounding error's velocity.
    const double vs = (flow - branchFlow) / as;
    const double q = vs / vi;
    const double zetaStraight = duct::referredTo(0.4 * (1.0 - q) * (1.0 - q), q);
    put(b, duct::loss(vs, rho, zetaStraight), duct::loss(vb, rho, zetaBranch), vi, vs, vb, zetaStraight, zetaBranch);
}

void joining(BlockView& b, const Legs& d, double cosAngle, double rho) {
    const double flow = std::fabs(b.in(0));  // through the leg of BP 0
    const double branchFlow = std::fabs(b.in(1));
    if (flow == 0.0 && branchFlow == 0.0) return put(b, 0, 0, 0, 0, 0, 0, 0);
    const double ai = duct::flowArea(d.common), as = duct::flowArea(d.straight), ab = duct::flowArea(d.branch);
    const double vi = flow / ai, vb = branchFlow / ab;
    const double total = flow + branchFlow;
    const double vs = total / as;
    const double ii = (d.common * d.common) / (d.straight * d.straight);  // (di/ds)^2
    const double bb = (d.branch * d.branch) / (d.straight * d.straight);  // (db/ds)^2
    // Without flow in the leg of BP 0 the branch ratio is as large as it gets.
    const double ka = bb <= 0.35 ? 1.0
                      : (flow == 0.0 || branchFlow / flow > 0.4) ? 0.55
                                                                 : 0.9 * (1.0 - branchFlow / flow);
    const double qs = vi / vs, qb = vb / vs;
    const double zetaBranch =
        duct::referredTo(ka * (1.0 + qb * qb - 2.0 * ii * qs * qs - cosAngle * 2.0 * bb * qb * qb), qb);
    const double x = 1.0 - branchFlow / total, y = branchFlow / total;
    const double zetaStraight =
        duct::referredTo(1.0 - x * x / (ii * ii) - x * x * 2.0 / ii - cosAngle * y * y * 2.0 / bb, qs);
    put(b, duct::loss(vi, rho, zetaStraight), duct::loss(vb, rho, zetaBranch), vi, vs, vb, zetaStraight, zetaBranch);
}

}  // namespace

void dpbrar_block::init(View& b) {
    b.checkOpMode();
    takeChange(b);
}

void dpbrar_block::takeChange(View& b) {
    State(b).cosAngle = static_cast<float>(std::cos(b.par<P::angle>() * 0.017453292));
}

void dpbrar_block::step(View& b) {
    const Legs d{b.par<P::common>(), b.par<P::straight>(), b.par<P::branch>()};
    const double rho = duct::density(b.in(2));
    const double cosAngle = State(b).cosAngle;
    if (duct::form(b, 2) == 2)
        joining(b, d, cosAngle, rho);
    else
        dividing(b, d, cosAngle, rho);
}

}  // namespace vireo::st
