//#Block PVT
//#Description
// Steady state of a photovoltaic module in front of a wall, with a ventilated air gap
// between them and an inside space behind the wall. Outside air enters the gap at the
// ambient temperature and warms along the flow; the module turns part of the irradiance
// into electricity, the rest heats module, air and wall. The block solves the energy
// balances of module, gap air and wall and gives the temperatures at a point along the
// flow, their means up to it, and the heat flows into the inside space as transmission
// and ventilation parts.
//#Layout
//#Inputs 6
//#Outputs 14
//#Parameters 13
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Irradiance on the module (W/m$^2$)
//#IN[1] Ambient temperature, at which the air enters the gap ($^\circ$C)
//#IN[2] Wind speed (m/s)
//#IN[3] Air velocity in the gap; at least 0.0001 is taken (m/s)
//#IN[4] Temperature of the inside space behind the wall ($^\circ$C)
//#IN[5] Area of the element from the air inlet: its length along the flow times the gap
// width (parameter 10) up to the point where the local temperatures are wanted and over
// which the means go; 0 is taken as 0.001 (m$^2$)
//#Outputs
//#OUT[0] Module temperature at the point ($^\circ$C)
//#OUT[1] Gap air temperature at the point ($^\circ$C)
//#OUT[2] Wall temperature on the gap side at the point ($^\circ$C)
//#OUT[3] Wall inside-surface temperature at the point ($^\circ$C)
//#OUT[4] Mean module temperature ($^\circ$C)
//#OUT[5] Mean gap air temperature ($^\circ$C)
//#OUT[6] Mean wall temperature on the gap side ($^\circ$C)
//#OUT[7] Mean wall inside-surface temperature ($^\circ$C)
//#OUT[8] Transmission loss coefficient referred to input 5 - input 2; 0 when they are equal
// (W/(m$^2$ K))
//#OUT[9] Ventilation loss coefficient referred to input 5 - input 2; 0 when they are equal
// (W/(m$^2$ K))
//#OUT[10] Transmission solar gain factor (-)
//#OUT[11] Ventilation solar gain factor (-)
//#OUT[12] Transmission heat flow from the inside space through the wall less the
// solar gain, per area (W/m$^2$)
//#OUT[13] Ventilation heat flow, output 12 times input 1 plus (input 5 - input 2) times
// output 10, per area (W/m$^2$)
//#Parameters
//#BP[0] Characteristic length of the convection coefficients, above 0 (m)
//#BP[1] Gap depth, above 0 (m)
//#BP[2] Module thickness (m)
//#BP[3] Electrical efficiency of the module (-)
//#BP[4] Emissivity of the module front, above 0 and at most 1 (-)
//#BP[5] Emissivity of the module back, above 0 and at most 1 (-)
//#BP[6] Absorptance of the module (-)
//#BP[7] Transmittance of the module (-)
//#BP[8] Thermal conductivity of the module, above 0 (W/(m K))
//#BP[9] Gap width, above 0 (m)
//#BP[10] Absorptance of the wall (-)
//#BP[11] Emissivity of the wall, above 0 and at most 1 (-)
//#BP[12] Thermal resistance of the wall, at least 0 (m$^2$ K/W)
//#Strings
//#None
//#Remarks
// The convection coefficients combine forced and natural convection (the latter as an
// equivalent Reynolds number) in laminar and turbulent Nusselt numbers over a flat
// plate; the module front sees the sky at a temperature from the ambient. The balances
// are linear in the temperatures for given coefficients; the coefficients are renewed
// from the mean temperatures until gap air, module and wall change by no more than
// 0.01 K, in at most 99 passes. A step that does not settle gives the outputs of its
// last pass, with a warning the first time and a count of the unsettled temperatures
// (up to three a step) at the end of the run. The air warms exponentially along the
// area input 6 towards its equilibrium with module and wall; a negative area gives no
// ventilation loss or gain.
//
// The transmission heat flow is that of the wall at its mean temperature, also when
// inside and ambient temperatures are equal. Parameters whose values would divide by
// 0 are errors at initialisation. A step with an input that is not a finite number, or
// whose results are not, leaves the outputs as they were and is warned about.
//#end
#include "blocks.h"

#include "finite.h"
#include "values.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo::st {
namespace {

constexpr double kGravity = 9.81;
constexpr float kPressure = 100000.0f;  // Pa, for every air property
constexpr double kSigma = 5.6703e-8;
constexpr double kInside = 8.0;  // W/(m2 K), wall to the inside space
constexpr double kKelvin = 273.15;
constexpr double kSettled = 0.01;  // K
constexpr int kPassLimit = 100;
constexpr double kLeastVelocity = 0.0001;
constexpr double kLeastArea = 0.001;

// IP[10]: temperatures left unsettled at the pass limit.
struct State {
    int& unsettled;
    explicit State(pvt_block::View& b) : unsettled(b.ip<10>()) {}
};

struct Facade {
    double l, xgap, spv, etapv, epvf, epvb, alpv, taupv, lampv, ygap, alb, eb, rb;
};

Facade facade(const pvt_block::View& b) {
    using P = pvt_block::P;
    return {b.par<P::length>(),          b.par<P::gapDepth>(),       b.par<P::thickness>(),
            b.par<P::efficiency>(),      b.par<P::frontEmissivity>(), b.par<P::backEmissivity>(),
            b.par<P::absorptance>(),     b.par<P::transmittance>(),  b.par<P::conductivity>(),
            b.par<P::gapWidth>(),        b.par<P::wallAbsorptance>(), b.par<P::wallEmissivity>(),
            b.par<P::wallResistance>()};
}

// Mixed forced and natural convection along a plate of length l: the natural part as an
// equivalent Reynolds number, laminar and turbulent Nusselt numbers combined.
double convection(double l, double film, double reference, double difference, double velocity,
                  bool atLeastOne = false) {
    const float t = static_cast<float>(film);
    const double vis = airvis(&t);
    const double gr = kGravity / (reference + kKelvin) * l * l * l * std::fabs(difference) / (vis * vis);
    const double pr = airpr(&t, &kPressure);
    const double lam = airlam(&t);
    const double ref = std::sqrt(gr / 2.5);
    const double rev = l * velocity / vis;
    double re = std::sqrt(rev * rev + ref * ref);
    if (atLeastOne && !(re > 0.0)) re = 1.0;
    const double prandtl = std::pow(pr, 0.6666667);
    const double nulam = 0.664 * std::sqrt(re) * prandtl;
    const double nutur = 0.037 * std::pow(re, 0.8) * pr / (1.0 + 2.443 * std::pow(re, -0.1) * (prandtl - 1.0));
    return lam * std::sqrt(nutur * nutur + nulam * nulam) / l;
}

// The coefficients of one pass and the linear balances of module and wall they give,
// solved with the gap air temperature as parameter.
struct Balance {
    double uf, hca, hr, hcb, ub, a, b, c, d1, d2, d3, d4, d5, d6;

    // Module or wall temperature at the air temperature tf.
    double module(double tf, double gt, double ta, double ti, double pel, const Facade& f) const {
        return (tf * (hcb * hr + b * hca) + (f.alb * hr * f.taupv + b * f.alpv) * gt + ti * hr * ub + ta * b * uf -
                pel * b) /
               c;
    }
    double wall(double tf, double gt, double ta, double ti, double pel, const Facade& f) const {
        return (tf * (hca * hr + a * hcb) + (f.alpv * hr + a * f.taupv * f.alb) * gt + ti * a * ub + ta * hr * uf -
                pel * hr) /
               c;
    }
};

struct Weather {
    double gt, ta, vw, vgap, ti, z, pel, vdot;
};

Balance balance(const Facade& f, const Weather& w, double tpvm, double tfm, double tbm) {
    Balance k{};
    const double hcpvf = convection(f.l, (w.ta + tpvm) / 2.0, w.ta, w.ta - tpvm, w.vw, true);
    const double module = tpvm + kKelvin;
    const double ambient = w.ta + kKelvin;
    const double sky = 0.32 * ambient + 0.0552 * 0.68 * std::pow(ambient, 1.5);
    const double hrpvf = f.epvf * kSigma * (sky * sky + module * module) * (sky + module);
    k.uf = 1.0 / (1.0 / (hrpvf + hcpvf) + f.spv / f.lampv);
    k.hca = convection(f.l, (tfm + tpvm) / 2.0, tfm, tfm - tpvm, w.vgap);
    const double wall = tbm + kKelvin;
    k.hr = kSigma / (1.0 / f.eb + 1.0 / f.epvb) * (module * module + wall * wall) * (wall + module);
    k.hcb = convection(f.l, (tfm + tbm) / 2.0, tfm, tfm - tbm, w.vgap);
    k.ub = 1.0 / (f.rb + 1.0 / kInside);
    const double hr = k.hr, hca = k.hca, hcb = k.hcb, ub = k.ub, uf = k.uf;
    k.a = hr + uf + hca;
    k.b = hr + ub + hcb;
    k.c = k.b * k.a - hr * hr;
    const double a = k.a, b = k.b, c = k.c;
    k.d1 = (ub * hcb * a + hca * hr * ub) / c;
    k.d2 = (uf * hca * b + hcb * hr * uf) / c;
    k.d3 = (hr * hcb + hca * b) / c;
    k.d4 = (f.alb * hcb * a * f.taupv + hca * hr * f.taupv * f.alb + f.alpv * hca * b + f.alpv * hcb * hr) / c;
    k.d5 = -((a * hcb * hcb + 2.0 * hca * hcb * hr + b * hca * hca) - (b * a - hr * hr) * (hcb + hca)) / c;
    const float tf = static_cast<float>(tfm);
    k.d6 = k.d5 / aircp(&tf) / airrho(&tf, &kPressure) / w.vdot;
    return k;
}

}  // namespace

void pvt_block::init(View& b) {
    State(b).unsettled = 0;  // a new run counts afresh
}

void pvt_block::step(View& b) {
    State s(b);
    const Facade f = facade(b);
    if (!inputsFinite(b)) return;
    Weather w{b.in(0), b.in(1), b.in(2), b.in(3), b.in(4), b.in(5), 0.0, 0.0};
    if (w.vgap <= kLeastVelocity) w.vgap = kLeastVelocity;
    if (w.z == 0.0) w.z = kLeastArea;
    w.pel = w.gt * f.etapv;
    w.vdot = w.vgap * f.xgap * f.ygap;
    const double drive = w.ti - w.ta;

    double tfm = (w.ti + w.ta) / 2.0, tpvm = w.ta, tbm = w.ti;
    Balance k{};
    double source = 0.0;  // the air's equilibrium temperature times d5
    int loop = 1;
    const block::Values said{.reals = {b.in(0), b.in(1)}};
    const auto unsettled = [&](double before, double after) {
        if (!(std::fabs(before - after) > kSettled)) return false;
        if (++loop < kPassLimit) return true;
        b.countWarning(s.unsettled, code::notSettled, said);
        return false;
    };
    for (;;) {
        const double tpvold = tpvm, tfold = tfm, tbold = tbm;
        k = balance(f, w, tpvm, tfm, tbm);
        source = w.gt * k.d4 + w.ta * k.d2 + k.d1 * w.ti - k.d3 * w.pel;
        const double zd6 = w.z * k.d6;
        const double e = std::exp(-zd6);
        tfm = (1.0 - e) * w.ta / zd6 + (1.0 + (e - 1.0) / zd6) * source / k.d5;
        tpvm = k.module(tfm, w.gt, w.ta, w.ti, w.pel, f);
        tbm = k.wall(tfm, w.gt, w.ta, w.ti, w.pel, f);
        // In this order, each passing test going on to the next: a step that ends at the
        // pass limit counts every temperature still unsettled.
        if (unsettled(tfold, tfm)) continue;
        if (unsettled(tpvold, tpvm)) continue;
        if (unsettled(tbold, tbm)) continue;
        break;
    }

    const double e = std::exp(-w.z * k.d6);
    const double tf = e * w.ta + source * (1.0 - e) / k.d5;
    const double tpv = k.module(tf, w.gt, w.ta, w.ti, w.pel, f);
    const double tb = k.wall(tf, w.gt, w.ta, w.ti, w.pel, f);
    const double inside = f.rb * k.ub;
    const double gtr = f.taupv * (1.0 - f.alb);
    double uvent = 0.0, gvent = 0.0;
    if (w.z > 0.0) {
        const double share = (1.0 - e) / k.d6 / w.z;
        if (drive != 0.0) uvent = share * (k.d1 * w.ti - w.ta * (k.d5 - k.d2)) / drive;
        gvent = (k.d4 - k.d3 * f.etapv) * share;
    }
    const double out[14] = {
        tpv,
        tf,
        tb,
        tb - (tb - w.ti) * inside,
        tpvm,
        tfm,
        tbm,
        tbm - (tbm - w.ti) * inside,
        drive != 0.0 ? k.ub * (w.ti - tbm) / drive : 0.0,
        uvent,
        gtr,
        gvent,
        // The wall's own flow: through utr it would vanish where inside and ambient agree.
        k.ub * (w.ti - tbm) - w.gt * gtr,
        w.gt * gvent + drive * uvent,
    };
    for (double v : out)
        if (!std::isfinite(v)) {
            b.report(code::noFiniteResult, said);
            return;
        }
    for (int i = 0; i < 14; ++i) b.out(i) = stored(out[i]);
}

void pvt_block::last(View& b) {
    State s(b);
    b.reportCount(s.unsettled, code::countedNotSettled);
}

}  // namespace vireo::st
