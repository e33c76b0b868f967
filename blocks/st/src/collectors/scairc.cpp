//#Block SCAIRC
//#Description
// A field of glazed solar air collectors in the steady state. A cover lies above an
// absorber across an air gap; fins of the absorber's material divide the space below it,
// down to a back plate, into parallel air channels; insulation lies behind the back
// plate. The heat-transfer coefficients of this build-up give the collector efficiency
// factor and heat-removal factor of the flat-plate theory, and the mean temperatures of
// air, absorber, cover and back plate are iterated until the mean air temperature settles.
//#Layout
//#Inputs 5--6
//#Outputs 13
//#Parameters 18
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Volume flow of air through the field; below 0.0001 it is taken as 0.0001
// (m$^3$/s)
//#IN[1] Air inlet temperature ($^\circ$C)
//#IN[2] Irradiance on the collector plane; a negative value is taken as 0 (W/m$^2$)
//#IN[3] Ambient temperature ($^\circ$C)
//#IN[4] Wind speed; a negative value is taken as 0 (m/s)
//#IN[5] Air pressure, optional: 100000 Pa when not connected (Pa)
//#Outputs
//#OUT[0] Outlet air temperature; the inlet temperature when input 1 is not above 0.0001
// ($^\circ$C)
//#OUT[1] Useful heat flow of the field (W)
//#OUT[2] Efficiency, the useful heat over the irradiance on the field; 0 without
// irradiance (-)
//#OUT[3] Mean absorber temperature ($^\circ$C)
//#OUT[4] Mean air temperature ($^\circ$C)
//#OUT[5] Overall heat-loss coefficient $U_L$ (W/(m$^2$ K))
//#OUT[6] Collector efficiency factor $F'$ (-)
//#OUT[7] Heat-removal factor $F_R$ (-)
//#OUT[8] Air velocity in a channel (m/s)
//#OUT[9] Reynolds number of the channel flow (-)
//#OUT[10] Prandtl number of the air (-)
//#OUT[11] Nusselt number of the channel flow (-)
//#OUT[12] Convective coefficient of the channel walls (W/(m$^2$ K))
//#Parameters
//#BP[0] Collectors in series, at least 1 when rounded (-)
//#BP[1] Rows in parallel, at least 1 when rounded (-)
//#BP[2] Tilt, at least 0; above 75 it counts as 75 (degrees)
//#BP[3] Collector length along the flow, above 0.1 (m)
//#BP[4] Collector width, above 0 (m)
//#BP[5] Height of the air channels and the fins, above 0 (m)
//#BP[6] Width of one air channel, above 0 (m)
//#BP[7] Channels per collector, at least 1 when rounded (-)
//#BP[8] Thickness of the fins between the channels, above 0 (m)
//#BP[9] Transmittance-absorptance product, above 0 (-)
//#BP[10] Insulation thickness, at least 0 (m)
//#BP[11] Insulation conductivity, above 0 (W/(m K))
//#BP[12] Conductivity of absorber and fins, above 0 (W/(m K))
//#BP[13] Cover emissivity, 0 to 1 (-)
//#BP[14] Absorber emissivity on the cover side, 0 to 1 (-)
//#BP[15] Absorber emissivity on the channel side, 0 to 1 (-)
//#BP[16] Back-plate emissivity, 0 to 1 (-)
//#BP[17] Width of the gap between absorber and cover, above 0 (m)
//#Strings
//#None
//#Remarks
// The channel flow follows a laminar correlation for the mean over the collector's length
// below Reynolds number 3100 and Gnielinski's above; the fins have the efficiency
// $\tanh(mH)/(mH)$; natural convection across the gap follows Hollands et al., radiation
// that of parallel grey plates, the cover loses to a sky of $0.32 T_a + 0.037536
// T_a^{1.5}$ (coefficient at most 50 W/(m$^2$ K)) and to the wind by $4.214 + 3.575 v$.
// The useful heat is $A F_R (G \tau\alpha - U_L (t_i - t_a))$.
//
// A step that has not settled after 99 passes takes the last one, with a warning the first
// time and a count at the end of the run. Channels wider than 1.5 times their height are
// warned about at initialisation. A step with an input that is not a finite number, a
// pressure not above 0, or a result that is not finite changes no output and is warned
// about.
//#end
#include "blocks.h"
#include "finite.h"
#include "values.h"

#include <algorithm>
#include <cmath>

namespace vireo::st {
namespace {

namespace ac = aircollector;

constexpr double kLeastFlow = 0.0001;  // m3/s
constexpr int kPasses = 99;
constexpr double kSettled = 0.001;  // K of the mean air temperature between passes

struct Conditions {
    double flow, inlet, irradiance, ambient, wind;
    float pressure;
};

struct Field {
    double usefulHeat = 0, absorber = 0, air = 0, previousAir = 0, loss = 0, fdash = 0, fr = 0, capacityFlow = 0;
    ac::Channel channel{};
    bool settled = false;
};

// The passes of the flat-plate theory over the mean temperatures, from start values that
// the irradiance lifts above the inlet.
Field solve(const ac::Build& c, const Conditions& in) {
    const double ti = in.inlet, ta = in.ambient, g = in.irradiance;
    double tf = ti, tc = ti, tp = ti + 2 * g / 100, tb = ti + g / 100;
    const double sky = ac::skyTemperature(ta), area = c.area(), ub = c.backLoss();
    Field r;
    for (int pass = 0; pass < kPasses; ++pass) {
        r.channel = ac::channel(c, tf, in.flow, in.pressure, r.channel.nu);
        const ac::Channel& k = r.channel;
        const ac::Losses l = ac::losses(c, tp, tc, tb, ta, sky, in.wind, in.pressure);
        tc = l.cover(tp, ta);
        r.loss = ub + l.uf;
        r.fdash = 1 / (1 + r.loss / (k.hcpf + ac::series(l.hrpb, k.hcbf)));
        r.capacityFlow = ac::capacityFlow(tf, in.flow, in.pressure);
        const double ntu = area * r.loss / r.capacityFlow;
        r.fr = -std::expm1(-ntu * r.fdash) / ntu;
        r.usefulHeat = area * r.fr * (g * c.tauAlpha - r.loss * (ti - ta));
        // The stagnation excess S / U_L, which the factors share out along the flow.
        const double excess = (g * c.tauAlpha - r.loss * (ti - ta)) / r.loss;
        r.absorber = tp = ti + excess * (1 - r.fr);
        r.previousAir = tf;
        tf = ti + excess * (1 - (r.fdash > 0 ? r.fr / r.fdash : 1.0));
        r.air = tf;
        if (std::fabs(tf - r.previousAir) <= kSettled) {
            r.settled = true;
            break;
        }
        tb = (ub * ta + k.hcbf * tf + l.hrpb * tp) / (k.hcbf + ub + l.hrpb);
    }
    return r;
}

}  // namespace

bool scairc_block::checksHold(View& b) { return ac::warnWideChannels(b, b.par<P::height>(), b.par<P::channelWidth>()); }

void scairc_block::step(View& b) {
    if (!inputsFinite(b)) return;
    const ac::Build c = ac::buildOf(b);
    float& pressure = b.rp<0>();
    pressure = ac::airPressure(b, 5);
    const Conditions in{.flow = std::max<double>(b.in(0), kLeastFlow),
                        .inlet = b.in(1),
                        .irradiance = positivePart(b.in(2)),
                        .ambient = b.in(3),
                        .wind = positivePart(b.in(4)),
                        .pressure = pressure};
    const Field r = pressure > 0 ? solve(c, in) : Field{};
    const ac::Channel& k = r.channel;
    const double outlet = b.in(0) > kLeastFlow ? in.inlet + r.usefulHeat / r.capacityFlow : in.inlet;
    const double efficiency = in.irradiance > 0 ? r.usefulHeat / (c.area() * in.irradiance) : 0.0;
    if (!(pressure > 0) || !fitFloats({outlet, r.usefulHeat, efficiency, r.absorber, r.air, r.loss, r.fdash, r.fr,
                                       k.re, k.pr, k.nu, k.hc})) {
        b.report(code::noFiniteResult, {.reals = {b.in(1), b.in(2), b.in(3), pressure}});
        return;
    }
    if (!r.settled) b.countWarning(b.ip<10>(), code::notSettled, {.reals = {stored(r.air), stored(r.previousAir)}});
    const double outputs[] = {outlet, r.usefulHeat, efficiency, r.absorber, r.air, r.loss, r.fdash,
                              r.fr,   c.velocity(in.flow), k.re, k.pr, k.nu, k.hc};
    for (int i = 0; i < 13; ++i) b.out(i) = stored(outputs[i]);
}

void scairc_block::last(View& b) { b.reportCount(b.ip<10>(), code::countedNotSettled); }

}  // namespace vireo::st
