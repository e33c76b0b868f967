//#Block STURB
//#Description
// Steam turbine stage: outlet pressure by the cone law, specific work by a polytropic
// expansion.
//#Layout
//#Inputs 3
//#Outputs 5
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Mass flow (kg/s)
//#IN[1] Inlet temperature ($^\circ$C)
//#IN[2] Inlet pressure (Pa)
//#Outputs
//#OUT[0] Specific work, the enthalpy drop (J/kg)
//#OUT[1] Outlet temperature ($^\circ$C)
//#OUT[2] Outlet pressure (Pa)
//#OUT[3] Outlet enthalpy (J/kg)
//#OUT[4] Relative temperature drop, (input 2 - output 2) / input 2 (1/$^\circ$C)
//#Parameters
//#BP[0] Design mass flow, above 0 (kg/s)
//#BP[1] Design inlet pressure (Pa)
//#BP[2] Design outlet pressure (Pa)
//#BP[3] Efficiency factor (-)
//#Strings
//#None
//#Remarks
// The outlet pressure follows the cone law: its square is the inlet pressure's square
// less the difference of the squares of p2 and p3 times the square of the flow over p1;
// at the design flow and inlet pressure it is p3. The exponent of the
// expansion is the mean of inlet and outlet of gamma p4 / (gamma - 1), gamma the
// isentropic exponent there, so that the work is close to p4 times the isentropic drop;
// it is never more than that drop. The relative drop divides temperatures in $^\circ$C
// (kept). Liquid water at the inlet, or no flow, passes temperature and pressure through with no work. A flow that the inlet
// pressure cannot pass (no real outlet pressure), or a state outside the 1967
// industrial formulation, ends the whole run with a report on standard output.
//#end
#include "blocks.h"

#include "steam_frame.h"

#include <cmath>

namespace vireo::pp {
namespace {

// J/kg to Btu/lbm, 1/2326 as the model has it in single precision.
constexpr double kBtuPerLbmInJoulePerKg = 0.00042992263f;
constexpr double kJoulePerKgInBtuPerLbm = 2326.0;

// The polytropic exponent's share at one state: gamma eta / (gamma - 1), gamma the
// isentropic exponent at (p, h). At an efficiency factor of 1 the expansion is the
// isentropic one, gamma / (gamma - 1) p v (1 - (p2/p1)^((gamma - 1) / gamma)).
double exponentAt(double pPascal, double h, double efficiency) {
    double psia = pa2psi_(&pPascal);
    double hBtu = h * kBtuPerLbmInJoulePerKg;
    const double gamma = gamma_(&psia, &hBtu);
    return gamma * efficiency / (gamma - 1.0);
}

}  // namespace

void sturb_block::step(View& b) {
    const double flow = b.in(0), t = b.in(1), p = b.in(2);
    if (chkreg_(&t, &p) != 1 || flow <= 0.0) {
        b.out(0) = 0.0f;
        b.out(1) = b.in(1);
        b.out(2) = b.in(2);
        b.out(3) = static_cast<float>(steam::steamEnthalpy(t, p));
        b.out(4) = 0.0f;
        return;
    }
    const double design = b.par<P::designFlow>(), pIn = b.par<P::designInlet>(), pOut = b.par<P::designOutlet>();
    const double efficiency = b.par<P::efficiency>();
    const double outlet = std::sqrt(p * p - (pIn * pIn - pOut * pOut) * flow * flow / (design * design));
    const double h = steam::steamEnthalpy(t, p);
    const double v = steam::steamVolume(t, p);
    double hOut = h;
    float work = 0.0f;
    for (int k = 0; k < 2; ++k) {
        const double n = (exponentAt(p, h, efficiency) + exponentAt(outlet, hOut, efficiency)) / 2.0;
        work = static_cast<float>((1.0 - std::pow(outlet / p, 1.0 / n)) * v * efficiency * n * p);
        hOut = h - work;
    }
    // The polytropic form treats the steam as a gas: where the expansion ends wet it can
    // give more than the isentropic drop, work no stage can do. It stops there.
    double p1 = pa2psi_(&p), p2 = pa2psi_(&outlet), t1 = tc2tf_(&t), s1, h1, t2, x1, x2, v1, v2;
    const double h2s = zsdt_(&p1, &p2, &t1, &s1, &h1, &t2, &x1, &x2, &v1, &v2);
    const float isentropic = static_cast<float>((h1 - h2s) * kJoulePerKgInBtuPerLbm);
    if (work > isentropic) {
        work = isentropic;
        hOut = h - work;
    }
    double psia = pa2psi_(&outlet);
    double hBtu = hOut * kBtuPerLbmInJoulePerKg;
    const double tf = tph_(&psia, &hBtu);
    const float tOut = static_cast<float>(tf2tc_(&tf));
    b.out(0) = work;
    b.out(1) = tOut;
    b.out(2) = static_cast<float>(outlet);
    b.out(3) = static_cast<float>(hOut);
    b.out(4) = (b.in(1) - tOut) / b.in(1);
}

}  // namespace vireo::pp
