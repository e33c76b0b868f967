//#Block DPDIF, VDIF
//#Description
// Pressure drop of air through a conical diffuser from the volume flow (DPDIF), or the
// volume flow from the pressure drop (VDIF).
//#Layout
//#Inputs 2
//#Outputs 6
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs DPDIF
//#IN[0] Volume flow (m$^3$/h); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#Inputs VDIF
//#IN[0] Pressure drop (Pa); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#Outputs DPDIF
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Inlet velocity (m/s)
//#OUT[2] Outlet velocity (m/s)
//#OUT[3] Loss coefficient referred to the inlet velocity (-)
//#OUT[4] Full cone angle (degrees)
//#OUT[5] Diffuser efficiency (-)
//#Outputs VDIF
//#OUT[0] Volume flow (m$^3$/h)
//#OUT[1] Inlet velocity (m/s)
//#OUT[2] Outlet velocity (m/s)
//#OUT[3] Loss coefficient referred to the inlet velocity (-)
//#OUT[4] Full cone angle (degrees)
//#OUT[5] Diffuser efficiency (-)
//#Parameters
//#BP[0] Inlet diameter, above 0 (m)
//#BP[1] Outlet diameter, above 0 (m); for VDIF not equal to the inlet diameter
//#BP[2] Length, above 0 (m)
//#Strings
//#None
//#Remarks
// The loss coefficient is $(1 - \eta)(1 - A_1/A_2)^2$, the sudden-expansion loss less the
// share $\eta$ that the cone saves; $\eta$ is interpolated in the cone angle from a table
// after Idelchik (0.97 at 3 degrees to 0.08 at 40) and is 0 for angles of 40 degrees and
// more, or for a narrowing cone. Angle, efficiency and loss coefficient are found at
// initialisation, and again after a change during the run; a flow or pressure drop of 0
// gives 0 and leaves them standing.
//#end
#include "blocks.h"

#include "duct.h"


namespace vireo::st {
namespace {

// The geometry results the block keeps in its own outputs, of the parameters as they stand.
struct Kept {
    float& zeta;
    float& angle;
    float& efficiency;
    explicit Kept(dpdif_block::View& b) : zeta(b.out(3)), angle(b.out(4)), efficiency(b.out(5)) {}
};

constexpr float kAngle[] = {0, 3, 6, 8, 10, 12, 14, 16, 20, 24, 30, 40};
constexpr float kEfficiency[] = {0, 0.97f, 0.92f, 0.89f, 0.85f, 0.81f, 0.77f, 0.73f, 0.64f, 0.53f, 0.36f, 0.08f};
constexpr duct::Table kDiffuser{kAngle, kEfficiency, 0.0f, 0.0f};

bool isVdif(const BlockView& b) { return duct::form(b, 2) == 2; }

// The efficiency is the share of the sudden-expansion loss (1 - A1/A2)^2 that the cone
// saves, as the table's source defines it; the pressure recovery (1 - (A1/A2)^2) would
// make a cone near 40 degrees lose more than the sudden expansion it improves on.
double lossCoefficient(double d1, double d2, double efficiency) {
    const double r = (d1 * d1) / (d2 * d2);
    return (1.0 - efficiency) * (1.0 - r) * (1.0 - r);
}

}  // namespace

bool dpdif_block::tiesHold(View& b) {
    const float d1 = b.par<P::inletDiameter>(), d2 = b.par<P::outletDiameter>();
    // Without a widening the loss is 0, and VDIF would take an infinite flow from any drop.
    if (!(b.holds<P::inletDiameter>() && b.holds<P::outletDiameter>() && isVdif(b) && d1 == d2)) return true;
    duct::refuse(b, P::outletDiameter, code::badDiameter, d2,
                 "different from the inlet diameter: a diffuser that does not widen has no loss to take a flow from");
    return false;
}

void dpdif_block::init(View& b) {
    b.checkOpMode();
    if (!b.holds<P::length>()) Kept(b).angle = 180.0f;
    if (b.status() != 0) return;
    if (isVdif(b) && b.in(0) < 0.0f) b.report(code::negativeDrop, {.reals = {b.in(0)}});
    takeChange(b);
}

void dpdif_block::takeChange(View& b) {
    const float d1 = b.par<P::inletDiameter>(), d2 = b.par<P::outletDiameter>(), length = b.par<P::length>();
    Kept k(b);
    k.angle = duct::coneAngle((static_cast<double>(d2) - d1) / (2.0 * length));
    k.efficiency = duct::lookUp(kDiffuser, k.angle);
    k.zeta = duct::finite(lossCoefficient(d1, d2, k.efficiency));
}

void dpdif_block::step(View& b) {
    Kept k(b);
    const double d1 = b.par<P::inletDiameter>(), d2 = b.par<P::outletDiameter>();
    const double zeta = lossCoefficient(d1, d2, k.efficiency);
    const double a1 = duct::flowArea(d1);
    const double flow = duct::fittingStep(b, isVdif(b), a1, zeta);
    b.out(1) = duct::finite(flow / a1);
    b.out(2) = duct::finite(flow / duct::flowArea(d2));
    k.zeta = duct::finite(zeta);
}

}  // namespace vireo::st
