//#Block DPRED, VRED
//#Description
// Pressure drop of air through a conical reducer, or a sudden contraction, from the
// volume flow (DPRED), or the volume flow from the pressure drop (VRED).
//#Layout
//#Inputs 2
//#Outputs 5
//#Parameters 3--4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs DPRED
//#IN[0] Volume flow (m$^3$/h); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#Inputs VRED
//#IN[0] Pressure drop (Pa); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#Outputs DPRED
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Inlet velocity (m/s)
//#OUT[2] Outlet velocity (m/s)
//#OUT[3] Loss coefficient referred to the outlet velocity (-)
//#OUT[4] Full cone angle (degrees), 180 for a sudden contraction
//#Outputs VRED
//#OUT[0] Volume flow (m$^3$/h)
//#OUT[1] Inlet velocity (m/s)
//#OUT[2] Outlet velocity (m/s)
//#OUT[3] Loss coefficient referred to the outlet velocity (-)
//#OUT[4] Full cone angle (degrees), 180 for a sudden contraction
//#Parameters
//#BP[0] Inlet diameter, above 0 (m)
//#BP[1] Outlet diameter, above 0 and below the inlet diameter (m)
//#BP[2] Length, at least 0 (m): 0 for a sudden contraction; at most so short that the half-angle is 30 degrees
//#BP[3] Inlet type of a sudden contraction, 0 to 3 (-): 0 sharp-edged to 3 well rounded; optional, 0 when left out
//#Strings
//#None
//#Remarks
// The loss coefficient comes from a table in the cone angle and the area ratio
// $n = (d_2/d_1)^2$ (from 0.0001 for gentle cones up to 0.07 at 60 degrees and small n); a
// sudden contraction loses $\zeta'(1 - n)$, $\zeta'$ = 0.5, 0.2, 0.12, 0.03 for the inlet types
// 0 to 3. It is found at initialisation, and again after a change during the run.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "duct.h"

#include <span>

namespace vireo::st {
namespace {

// IP[10] the inlet type, RP[0] the area ratio; the outputs 3 and 4 keep the loss
// coefficient and the cone angle, of the parameters as they stand.
struct State {
    int& inletType;
    float& areaRatio;
    float& zeta;
    float& angle;
    explicit State(dpred_block::View& b)
        : inletType(b.ip<10>()), areaRatio(b.rp<0>()), zeta(b.out(3)), angle(b.out(4)) {}
};

// The loss coefficient of a cone: for cone angles up to `upTo` degrees, the first step
// whose area ratio n lies above `nAbove` gives it, else `otherwise`.
struct Step {
    float nAbove;
    float zeta;
};
struct Band {
    float upTo;
    std::span<const Step> steps;
    float otherwise;
};
constexpr Step k20[] = {{0.6f, 0.0001f}};
constexpr Step k30[] = {{0.9f, 0.0001f}, {0.4f, 0.01f}};
constexpr Step k40[] = {{0.9f, 0.0001f}, {0.7f, 0.01f}, {0.4f, 0.02f}};
constexpr Step k50[] = {{0.9f, 0.0001f}, {0.8f, 0.01f}, {0.7f, 0.02f}, {0.5f, 0.03f}, {0.3f, 0.04f}};
constexpr Step k60[] = {{0.9f, 0.0001f}, {0.8f, 0.01f}, {0.7f, 0.03f}, {0.5f, 0.04f}, {0.4f, 0.05f}, {0.2f, 0.06f}};
constexpr Band kCone[] = {{10, {}, 0.0001f}, {20, k20, 0.01f}, {30, k30, 0.02f},
                          {40, k40, 0.03f},  {50, k50, 0.05f}, {60, k60, 0.07f}};
// Beyond 60 degrees the sudden contraction, by inlet type.
constexpr float kSudden[] = {0.5f, 0.2f, 0.12f, 0.03f};

double lossCoefficient(float angle, double n, int inletType) {
    for (const Band& band : kCone) {
        if (!(angle <= band.upTo)) continue;
        for (const Step& s : band.steps)
            if (n > s.nAbove) return s.zeta;
        return band.otherwise;
    }
    return kSudden[inletType >= 0 && inletType <= 3 ? inletType : 0] * (1.0 - n);
}

bool isVred(const BlockView& b) { return duct::form(b, 2) == 2; }


double halfTangentOf(const dpred_block::View& b) {
    using P = dpred_block::P;
    return (static_cast<double>(b.par<P::inletDiameter>()) - b.par<P::outletDiameter>()) / 2.0 / b.par<P::length>();
}

}  // namespace

bool dpred_block::tiesHold(View& b) {
    bool held = true;
    const float d1 = b.par<P::inletDiameter>(), d2 = b.par<P::outletDiameter>();
    if (b.holds<P::inletDiameter>() && b.holds<P::outletDiameter>() && !(d2 < d1)) {
        duct::refuse(b, P::outletDiameter, code::badDiameter, d2, "above 0 and below the inlet diameter");
        held = false;
    }
    const double halfTangent = halfTangentOf(b);
    if (b.par<P::length>() > 0.0f && halfTangent > 0.577) {
        b.report(code::reducerTooSteep, {.reals = {static_cast<float>(halfTangent)}});
        held = false;
    }
    return held;
}

void dpred_block::init(View& b) {
    b.checkOpMode();
    State(b).inletType = b.whole<P::inletType>();
    if (b.status() != 0) return;
    takeChange(b);
}

void dpred_block::takeChange(View& b) {
    State s(b);
    const float d1 = b.par<P::inletDiameter>(), d2 = b.par<P::outletDiameter>(), length = b.par<P::length>();
    s.inletType = b.whole<P::inletType>();
    s.angle = length == 0.0f ? 180.0f : duct::coneAngle(halfTangentOf(b));
    const double n = (static_cast<double>(d2) * d2) / (static_cast<double>(d1) * d1);
    s.areaRatio = static_cast<float>(n);
    s.zeta = static_cast<float>(lossCoefficient(s.angle, n, s.inletType));
}

void dpred_block::step(View& b) {
    // The loss refers to the outlet velocity.
    const double a2 = duct::flowArea(b.par<P::outletDiameter>());
    const double flow = duct::fittingStep(b, isVred(b), a2, State(b).zeta);
    b.out(1) = duct::finite(flow / duct::flowArea(b.par<P::inletDiameter>()));
    b.out(2) = duct::finite(flow / a2);
}

}  // namespace vireo::st
