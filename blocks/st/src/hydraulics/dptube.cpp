//#Block DPTUBE, DPCH
//#Description
// Pressure drop of air by friction in a straight round tube (DPTUBE) or rectangular
// channel (DPCH), with an optional damper flap.
//#Layout
//#Inputs 2--3
//#Outputs 4
//#Parameters 3--5
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Volume flow (m$^3$/h); its sign is ignored
//#IN[1] Air temperature ($^\circ$C)
//#IN[2] Opening angle of the flap (degrees), 0 open to 90 closed; needed with a flap
//#Outputs
//#OUT[0] Pressure drop (Pa)
//#OUT[1] Velocity (m/s)
//#OUT[2] Friction factor (-)
//#OUT[3] Loss coefficient of the flap (-)
//#Parameters DPTUBE
//#BP[0] Inner diameter, above 0 (m)
//#BP[1] Length, above 0 (m)
//#BP[2] Wall roughness, above 0 (mm)
//#BP[3] Flap, 0 to 1 (-): 0 none, 1 a flap; optional, 0 when left out
//#BP[4] Not used (-)
//#Parameters DPCH
//#BP[0] Width, above 0 (m)
//#BP[1] Height, above 0 (m)
//#BP[2] Length, above 0 (m)
//#BP[3] Wall roughness, at least 0 (mm); optional, 0 (smooth) when left out
//#BP[4] Flap type, 0 to 3 (-): 0 none, 1 to 3 (1 its own table, 2 and 3 a shared one); optional, 0 when
// left out
//#Strings
//#None
//#Remarks
// The friction factor is $64/Re$ for laminar flow (Reynolds number below 2300) and from the
// Colebrook-White equation above, found by the utility library's root finder on the
// exported residual fofl; the Reynolds number takes the hydraulic diameter $2ab/(a + b)$ of
// a channel. A search that fails is reported and leaves the outputs of the last step. A
// flap's loss coefficient is interpolated in its table of opening angles; an angle below
// 0 or at 90 degrees and above gives 2000 (closed). A flow of 0 gives no pressure drop and
// no velocity and leaves friction factor and flap coefficient standing.
//#end
#include "blocks.h"

#include "duct.h"
#include "routines.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo::st {
namespace {

constexpr float kAngle14[] = {0, 5, 10, 15, 20, 25, 30, 35, 40, 50, 60, 65, 70, 90};
constexpr float kTubeFlap[] = {0.17f, 0.24f, 0.52f, 0.9f,  1.6f,   2.5f,   3.9f,
                               7.4f,  10.8f, 33.0f, 118.0f, 256.0f, 751.0f, 2000.0f};
constexpr float kChannelFlap1[] = {0.17f, 0.28f, 0.45f, 0.77f, 1.4f,   2.2f,   3.5f,
                                   6.4f,  9.3f,  25.0f, 77.0f, 158.0f, 368.0f, 2000.0f};
constexpr float kAngle10[] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};
constexpr float kChannelFlap2[] = {0.14f, 0.25f, 0.8f, 2.0f, 4.5f, 10.1f, 20.1f, 40.5f, 145.0f, 2000.0f};
constexpr float kClosed = 2000.0f;
constexpr duct::Table kTube{kAngle14, kTubeFlap, kClosed, kClosed};
constexpr duct::Table kChannel1{kAngle14, kChannelFlap1, kClosed, kClosed};
constexpr duct::Table kChannel2{kAngle10, kChannelFlap2, kClosed, kClosed};

constexpr double kLaminarBelow = 2300.0;

using P = dptube_block::P;

bool isChannel(const BlockView& b) { return duct::form(b, 2) == 2; }

// The flap type as it stands, should the editor have changed it during the run.
int flapOf(const dptube_block::View& b) { return isChannel(b) ? b.whole<P::flapType>() : b.whole<P::flap>(); }

}  // namespace

// A flap needs its angle on input 3.
bool dptube_block::checksHold(View& b) {
    const int flap = flapOf(b);
    if (b.inputCount() >= 3 || flap == 0) return true;
    b.report(code::flapWithoutAngle, {.ints = {flap}});
    return false;
}

void dptube_block::init(View& b) { b.checkOpMode(); }

void dptube_block::step(View& b) {
    const double flow = std::fabs(b.in(0));
    if (flow == 0.0) {
        b.out(0) = b.out(1) = 0.0f;
        return;
    }
    const bool channel = isChannel(b);
    double dh, v, roughness, length;
    if (channel) {
        const double width = b.par<P::width>(), height = b.par<P::height>();
        dh = height * 2.0 * width / (height + width);
        v = flow / (height * width * 3600.0);
        roughness = b.par<P::channelRoughness>() / 1000.0;
        length = b.par<P::channelLength>();
    } else {
        dh = b.par<P::diameter>();
        v = flow / duct::flowArea(dh);
        roughness = b.par<P::roughness>() / 1000.0;
        length = b.par<P::length>();
    }
    const float t = b.in(1);
    const double reynolds = v * dh / airvis(&t);
    cst0007 = {duct::finite(dh), duct::finite(roughness), duct::finite(reynolds)};
    // Colebrook-White is a law of turbulent flow: below the transition it has no root at
    // all at small Reynolds numbers, and elsewhere a fraction of the laminar value.
    double lambda;
    int status = 0;
    if (reynolds < kLaminarBelow) {
        lambda = 64.0 / reynolds;
    } else {
        const float low = 0.001f, high = 1.0f, tolerance = 1e-5f;
        const int mode = 1, steps = 100;
        lambda = xroot(&fofl, &low, &high, &tolerance, &mode, &steps, &status);
    }
    if (status == -1)
        b.report(code::frictionWithoutRoot, {.reals = {cst0007.reynolds, duct::finite(roughness / dh)}});
    else if (status == -2)
        b.report(code::iterationLimit);
    if (status != 0) return;

    const int flap = flapOf(b);
    double zeta = 0.0;
    if (flap >= 1) {
        const float angle = b.in(2);
        zeta = duct::lookUp(!channel ? kTube : flap == 1 ? kChannel1 : kChannel2, angle);
    }
    const double rho = duct::density(t);
    b.out(0) = duct::finite(duct::loss(v, rho, zeta) + rho * (lambda * length / dh) * v * v / 2.0);
    b.out(1) = duct::finite(v);
    b.out(2) = duct::finite(lambda);
    b.out(3) = static_cast<float>(zeta);
}

}  // namespace vireo::st
