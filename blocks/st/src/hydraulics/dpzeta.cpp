//#Block DPZETA, DPIN, DPOUT, VZETA, VIN, VOUT
//#Description
// Pressure drop of air through a fitting of given loss coefficient (DPZETA), a duct inlet
// (DPIN) or a duct outlet (DPOUT) from the volume flow; and the volume flow from the
// pressure drop through the same (VZETA, VIN, VOUT).
//#Layout
//#Inputs 2
//#Outputs 2
//#Parameters 1--2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs DPZETA
//#IN[0] Volume flow (m$^3$/h)
//#IN[1] Air temperature ($^\circ$C)
//#Inputs DPIN
//#IN[0] Volume flow (m$^3$/h)
//#IN[1] Air temperature ($^\circ$C)
//#Inputs DPOUT
//#IN[0] Volume flow (m$^3$/h)
//#IN[1] Air temperature ($^\circ$C)
//#Inputs VZETA
//#IN[0] Pressure drop (Pa)
//#IN[1] Air temperature ($^\circ$C)
//#Inputs VIN
//#IN[0] Pressure drop (Pa)
//#IN[1] Air temperature ($^\circ$C)
//#Inputs VOUT
//#IN[0] Pressure drop (Pa)
//#IN[1] Air temperature ($^\circ$C)
//#Outputs DPZETA
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Velocity (m/s), with the sign of the flow
//#Outputs DPIN
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Velocity (m/s), with the sign of the flow
//#Outputs DPOUT
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Velocity (m/s), with the sign of the flow
//#Outputs VZETA
//#OUT[0] Volume flow (m$^3$/h), with the sign of the pressure drop
//#OUT[1] Velocity (m/s), with the sign of the pressure drop
//#Outputs VIN
//#OUT[0] Volume flow (m$^3$/h), with the sign of the pressure drop
//#OUT[1] Velocity (m/s), with the sign of the pressure drop
//#Outputs VOUT
//#OUT[0] Volume flow (m$^3$/h), with the sign of the pressure drop
//#OUT[1] Velocity (m/s), with the sign of the pressure drop
//#Parameters DPZETA
//#BP[0] Cross-section area, above 0 (m$^2$)
//#BP[1] Loss coefficient, above 0 (-)
//#Parameters DPIN
//#BP[0] Cross-section area, above 0 (m$^2$)
//#BP[1] Inlet type, 0 to 3 (-): loss coefficient 0.35, 0.11, 0.01, 0.0001
//#Parameters DPOUT
//#BP[0] Cross-section area, above 0 (m$^2$)
//#BP[1] Not used (-): the outlet loses the whole dynamic pressure, loss coefficient 1
//#Parameters VZETA
//#BP[0] Cross-section area, above 0 (m$^2$)
//#BP[1] Loss coefficient, above 0 (-)
//#Parameters VIN
//#BP[0] Cross-section area, above 0 (m$^2$)
//#BP[1] Inlet type, 0 to 3 (-): loss coefficient 0.35, 0.11, 0.01, 0.0001
//#Parameters VOUT
//#BP[0] Cross-section area, above 0 (m$^2$)
//#BP[1] Not used (-): the outlet loses the whole dynamic pressure, loss coefficient 1
//#Strings
//#None
//#Remarks
// The pressure drop is $\rho \zeta v^2/2$ with $\rho$ the density of air at 100 000 Pa and
// $v$ the flow over the area; it does not change with the direction of the flow. The
// inverse forms give the flow with the sign of the pressure drop, so that a drop against
// the flow direction gives a flow against it.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "duct.h"

namespace vireo::st {
namespace {

// RP[0]: the inlet's loss coefficient, of the inlet type as it stands.
struct State {
    float& inletLoss;
    explicit State(dpzeta_block::View& b) : inletLoss(b.rp<0>()) {}
};

enum class Fitting { given, inlet, outlet };
struct Form {
    Fitting fitting;
    bool inverse;
};
Form formOf(const BlockView& b) {
    const int k = duct::form(b, 6) - 1;
    return {static_cast<Fitting>(k % 3), k >= 3};
}

constexpr float kInletLoss[] = {0.35f, 0.11f, 0.01f, 0.0001f};

}  // namespace

void dpzeta_block::init(View& b) {
    b.checkOpMode();
    if (b.status() == 0) takeChange(b);
}

void dpzeta_block::takeChange(View& b) {
    const int type = formOf(b).fitting == Fitting::outlet ? 0 : b.whole<P::loss>();
    if (type >= 0 && type <= 3) State(b).inletLoss = kInletLoss[type];
}

void dpzeta_block::step(View& b) {
    const Form f = formOf(b);
    const double area = b.par<P::area>();
    const double rho = duct::density(b.in(1));
    const double zeta = f.fitting == Fitting::given   ? b.par<P::loss>()
                        : f.fitting == Fitting::inlet ? State(b).inletLoss
                                                      : 1.0;
    double v;
    if (f.inverse) {
        v = duct::velocity(b.in(0), rho, zeta);
        b.out(0) = duct::finite(area * v * 3600.0);
    } else {
        v = b.in(0) / area / 3600.0;
        b.out(0) = duct::finite(duct::loss(v, rho, zeta));
    }
    b.out(1) = duct::finite(v);
}

}  // namespace vireo::st
