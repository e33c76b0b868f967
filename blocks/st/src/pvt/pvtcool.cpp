//#Block PVTCOOL
//#Description
// An uncovered collector, with or without a PV layer, that heats or cools a fluid: by day
// it gains solar heat and PV electricity, at night it cools the fluid by long-wave
// radiation and convection and gains the heat of moisture condensing on its cold surface.
// The collector is cut into segments along the flow; each call advances their
// temperatures by 60 s in explicit sub-steps.
//#Layout
//#Inputs 0--16
//#Outputs 12
//#Parameters 29--30
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global irradiance on the collector plane (kJ/(h m$^2$))
//#IN[1] Beam irradiance on the collector plane (kJ/(h m$^2$))
//#IN[2] Incidence angle; outside 0 to 90 the beam counts for nothing (degrees)
//#IN[3] Zenith angle of the sun (degrees)
//#IN[4] Azimuth of the sun (degrees)
//#IN[5] Ambient temperature ($^\circ$C)
//#IN[6] Ambient pressure (hPa)
//#IN[7] Relative humidity of the ambient air (\%)
//#IN[8] Sky temperature ($^\circ$C)
//#IN[9] Wind speed (m/s)
//#IN[10] Outer convective coefficient, read unless parameter 3 is 2 (W/(m$^2$ K))
//#IN[11] Coefficient between absorber and fluid, read unless parameter 4 is 2 (W/(m$^2$ K))
//#IN[12] Inlet temperature of the fluid ($^\circ$C)
//#IN[13] Mass flow of the fluid; a negative flow is none (kg/h)
//#IN[14] PV switch: 1 when the electricity is taken off (whole part of the input + 0.1);
// 0 when not connected (-)
//#IN[15] Ground temperature; 0 when not connected ($^\circ$C)
//#Outputs
//#OUT[0] Mass flow (kg/h)
//#OUT[1] Outlet temperature, mean over the sub-steps ($^\circ$C)
//#OUT[2] Useful heat (OUT[1] - IN[12]) times flow and heat capacity of the fluid (kJ/h)
//#OUT[3] Mean absorber temperature ($^\circ$C)
//#OUT[4] Condensation gain in models 2 and 4, else 0 (kJ/h)
//#OUT[5] Mean surface (PV) temperature in models 3 and 4, else -99 ($^\circ$C)
//#OUT[6] Electric power of the PV layer in models 3 and 4 while it is taken off, else 0 (W)
//#OUT[7] Outer convective coefficient in models 2 to 4, else -99 (W/(m$^2$ K))
//#OUT[8] Coefficient between absorber and fluid (W/(m$^2$ K))
//#OUT[9] Net irradiance of the last sub-step (W/m$^2$)
//#OUT[10] Net irradiance weighted by the modifiers (W/m$^2$)
//#OUT[11] Heat-loss flux $-(t_f - t_u)(b_1 + b_2 u)$ at the mean fluid temperature (W/m$^2$)
//#Parameters
//#BP[0] Model: 1 thermal, 2 thermal with condensation, 3 PV-thermal, 4 PV-thermal with
// condensation (whole part) (-)
//#BP[1] PV model, read by models 3 and 4: 1 efficiency with a logarithmic irradiance
// term, 2 one-diode characteristic (whole part) (-)
//#BP[2] Outer convective coefficient: 2 computed from the wind, otherwise input 10 (-)
//#BP[3] Coefficient between absorber and fluid: 2 computed from the efficiency curve at
// initialisation, otherwise input 11 (-)
//#BP[4] Collector area, at least 0.5 (m$^2$)
//#BP[5] Tilt angle (degrees)
//#BP[6] Azimuth of the collector (degrees)
//#BP[7] Zero-loss efficiency $\eta_0$ (-)
//#BP[8] Wind dependence $b_u$ of the zero-loss efficiency (s/m)
//#BP[9] Heat-loss coefficient $b_1$ (W/(m$^2$ K))
//#BP[10] Wind-dependent heat-loss coefficient $b_2$ (J/(m$^3$ K))
//#BP[11] Absorptance, for the coefficient from the efficiency curve (-)
//#BP[12] Factor of the long-wave balance in the net irradiance (-)
//#BP[13] Effective heat capacity per area, above 0 (kJ/(m$^2$ K))
//#BP[14] Specific heat capacity of the fluid, above 0 (kJ/(kg K))
//#BP[15] Diffuse-irradiance modifier, thermal (-)
//#BP[16] Incidence-angle-modifier model, thermal; no effect (-)
//#BP[17] Heat-transfer coefficient between absorber and surface layer (W/(m$^2$ K))
//#BP[18] Long-wave emissivity of the surface (-)
//#BP[19] Transmittance of the surface layer, for the coefficient from the efficiency
// curve in models 3 and 4 (-)
//#BP[20] Diffuse-irradiance modifier, PV (-)
//#BP[21] Incidence-angle-modifier model, PV; no effect (-)
//#BP[22] PV efficiency at standard test conditions (-)
//#BP[23] Short-circuit current, PV model 2, above 0 (A)
//#BP[24] Current at the maximum power point, PV model 2, above 0 (A)
//#BP[25] Open-circuit voltage, PV model 2, above 0 (V)
//#BP[26] Voltage at the maximum power point, PV model 2, above 0 (V)
//#BP[27] Temperature coefficient of the PV (\%/K)
//#BP[28] Relaxation factor of the iteration of models 2 to 4 (-)
//#BP[29] Long-wave emissivity of the ground; optional, 0 when left out (-)
//#Strings
//#None
//#Remarks
// Every call advances the collector by 60 s, whatever the model's step, and a call
// repeated at the same time advances it again: use the block with steps of 60 s and
// outside iteration loops. A sub-step lasts at most three quarters of the longest stable
// explicit step; models 2 to 4 iterate the coupled surface, absorber and fluid
// temperatures of each sub-step to 0.001 K in at most 50 passes (one that does not
// settle keeps the values of its 50th pass, with a warning the first time and a count
// at the end of the run). A step that would need more than 6000 sub-steps is left out
// in the same way. The coefficient between absorber and fluid computed from the
// efficiency curve is the curve's at 1.5 m/s wind; where it is not above 0 or lies more
// than a fifth from the curve's at some wind from 1 to 8 m/s, initialisation warns. A
// coefficient of 0 or below couples absorber and fluid fully.
//
// The collector is cut into 100 segments whatever its area, enough that the steady
// useful heat lies within a per cent of the exact solution of a collector with a linear
// loss at any flow. In models 3 and 4 the electricity leaves the heat the absorber takes
// in whole: the zero-loss efficiency acts on the whole net irradiance and the PV power
// per area is taken off the fluid's gain beside it.
//
// All temperatures start at 20 degC. The block reads inputs 1 to 14; fewer connected
// inputs are an error at initialisation. A step with an input that is not a finite
// number, or whose results are not, changes neither state nor outputs and is warned
// about.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "finite.h"
#include "pvt_collector.h"
#include "values.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <span>

namespace vireo::st {
namespace {

constexpr int kMaxSegments = 100;
constexpr int kMaxNodes = kMaxSegments + 1;
constexpr int kInputsRead = 14;
constexpr double kCallLength = 60.0;  // s: the block has no time input
constexpr int kMaxPasses = 50;
constexpr int kMaxSubSteps = 6000;  // 0.01 s: only flows of tonnes an hour per square metre ask more
constexpr float kFirstTemperature = 20.0f;
constexpr double kPi = 3.141592653589793;
constexpr double kSigma = static_cast<double>(5.67e-08f);  // the model's constant in single precision
constexpr double kUnset = -99.0;

// IP[10]: passes of the iteration that ran out of passes; RP[0]: the coefficient between
// absorber and fluid computed at initialisation; RP[1]: steps left out for asking too
// many sub-steps; DP[0..3nj-1]: absorber, fluid (nodes 1..nj) and surface temperatures.
struct State {
    int& unsettled;
    float& internal;
    float& leftOut;
    std::span<double, 3 * kMaxNodes> temperatures;
    explicit State(pvtcool_block::View& b)
        : unsettled(b.ip<10>()), internal(b.rp<0>()), leftOut(b.rp<1>()), temperatures(b.dp<0, 3 * kMaxNodes>()) {}
};

enum Model { thermal = 1, condensing = 2, pvThermal = 3, pvCondensing = 4 };

bool hasPv(int model) { return model == pvThermal || model == pvCondensing; }
bool condenses(int model) { return model == condensing || model == pvCondensing; }

// The parameters as a step takes them; the switches by their whole parts.
struct Collector {
    int model, pvModel, ukMode, uiMode, unrth, unrpv;
    double aa, beta, gammaa, eta0, bu, b1, b2, alphath, epsalpha, ceff, cf, kdth, ugf, epspv, taupv, kdpv, etastc, ik,
        impp, ul, umpp, ct, relax, epsgr;
    int nj;
    double njd() const { return nj; }
};

// One segment per square metre leaves a small collector far from its steady solution
// (a fifth of the useful heat at 1 m2 and a low flow): the explicit upwind segments err
// by about NTU^2/(2 n) in the outlet's approach, within 0.4 % of the heat at 100.
int nodeCount(double) { return kMaxNodes; }

Collector collector(const BlockView& b) {
    const auto p = [&](int i) { return static_cast<double>(b.par(i)); };
    const auto whole = [&](int i) { return block::toInt(b.par(i)); };
    Collector c{};
    c.model = whole(0), c.pvModel = whole(1), c.ukMode = whole(2), c.uiMode = whole(3);
    c.aa = p(4), c.beta = p(5), c.gammaa = p(6), c.eta0 = p(7), c.bu = p(8), c.b1 = p(9), c.b2 = p(10);
    c.alphath = p(11), c.epsalpha = p(12), c.ceff = p(13) * 1000.0, c.cf = p(14) * 1000.0, c.kdth = p(15);
    c.unrth = whole(16), c.ugf = p(17), c.epspv = p(18), c.taupv = p(19), c.kdpv = p(20), c.unrpv = whole(21);
    c.etastc = p(22), c.ik = p(23), c.impp = p(24), c.ul = p(25), c.umpp = p(26), c.ct = p(27) / 100.0;
    c.relax = p(28), c.epsgr = p(29);
    c.nj = nodeCount(c.aa);
    return c;
}

// What the initialisation refuses, so that a step never runs on it: an editor may change
// parameters during a run without a new check.
bool usable(const Collector& c) {
    if (c.model < thermal || c.model > pvCondensing || !(c.aa >= 0.5) || !(c.ceff > 0.0) || !(c.cf > 0.0)) return false;
    if (!hasPv(c.model)) return true;
    if (c.pvModel == 1) return true;
    return c.pvModel == 2 && c.ik > 0.0 && c.impp > 0.0 && c.ul > 0.0 && c.umpp > 0.0;
}

constexpr float kAny = FLT_MAX;
constexpr Rule kAreaRule{.parameter = 4, .low = 0.5f, .high = kAny, .code = code::areaBelowSegment};
constexpr Rule kCapacityRules[] = {
    {.parameter = 13, .low = 0, .high = kAny, .code = code::badCapacity, .aboveLow = true},
    {.parameter = 14, .low = 0, .high = kAny, .code = code::badCapacity, .aboveLow = true},
};
constexpr Rule kCharacteristicRules[] = {
    {.parameter = 23, .low = 0, .high = kAny, .code = code::badPvCharacteristic, .aboveLow = true},
    {.parameter = 24, .low = 0, .high = kAny, .code = code::badPvCharacteristic, .aboveLow = true},
    {.parameter = 25, .low = 0, .high = kAny, .code = code::badPvCharacteristic, .aboveLow = true},
    {.parameter = 26, .low = 0, .high = kAny, .code = code::badPvCharacteristic, .aboveLow = true},
};

// A model switch checked by the whole part that the block takes of it.
bool checkSwitch(BlockView& b, int parameter, int high) {
    const Rule rule{.parameter = parameter, .low = 1, .high = static_cast<float>(high), .whole = true,
                    .code = code::badMode};
    return b.check(rule, std::trunc(b.par(parameter)));
}

bool checkParameters(pvtcool_block::View& b) {
    bool passed = true;
    for (int i = 0; i < b.identity().maxParameters; ++i) {
        const Rule finite = finiteParameter(i);
        passed = b.check(std::span(&finite, 1)) && passed;
    }
    if (!passed) return false;
    passed = checkSwitch(b, 0, pvCondensing) && passed;
    passed = b.check(kAreaRule, b.par(4)) && passed;
    passed = b.check(kCapacityRules) && passed;
    if (!hasPv(block::toInt(b.par(0)))) return passed;  // the PV model is read by models 3 and 4 only
    if (!checkSwitch(b, 1, 2)) return false;
    if (block::toInt(b.par(1)) == 2) passed = b.check(kCharacteristicRules) && passed;
    return passed;
}

// The weather and the fluid of one call, in the units of the physics.
struct Conditions {
    double eg, eb, theta, thetaz, gammas, tu, pu, rh, th, vu, ukon, uint, tfe, mpkt, tgr;
    int ppvMode;
};

Conditions conditions(const BlockView& b, const Collector& c, double computedUint) {
    const auto in = [&](int i) { return static_cast<double>(b.in(i)); };
    Conditions w{};
    w.eg = in(0) / 3.6, w.eb = in(1) / 3.6, w.theta = in(2), w.thetaz = in(3), w.gammas = in(4), w.tu = in(5);
    w.pu = in(6), w.rh = in(7) / 100.0, w.th = in(8), w.vu = in(9);
    w.ukon = c.ukMode == 2 ? 0.0 : in(10);
    w.uint = c.uiMode == 2 ? computedUint : in(11);
    w.tfe = in(12), w.mpkt = positivePart(b.in(13));
    w.ppvMode = block::toInt(in(14) + 0.1);
    w.tgr = in(15);
    return w;
}

// The temperatures of one call, nodes as the physics numbers them.
struct Nodes {
    std::array<double, kMaxNodes> ta, tg, qk, gain, taStart, tgStart;
    std::array<double, kMaxNodes + 1> tf1, tf2, tfStart;
};

double mean(std::span<const double> t, int nj) {
    double sum = 0.0;
    for (int j = 0; j < nj - 1; ++j) sum += t[static_cast<std::size_t>(j)];
    return sum / (nj - 1);
}

struct Sums {
    double condensation = 0, outlet = 0, surface = 0, absorber = 0, fluid = 0, pv = 0;
};

// One call of the collector over its 60 s; false when it asked too many sub-steps.
class Call {
public:
    Call(pvtcool_block::View& b, const Collector& c, const Conditions& w) : b_(b), c_(c), w_(w) {}

    bool run(Nodes& n, State& s) {
        const int nj = c_.nj;
        const double denominator = c_.cf * 2.0 * (nj - 1) * w_.mpkt / (c_.aa * 3600.0) + c_.b2 * w_.vu + c_.b1;
        const double dtmax = c_.ceff * 0.75 / denominator;
        int nm = 1;
        if (dtmax > 0.0 && dtmax < kCallLength) {
            const double steps = kCallLength / dtmax + 1.0;
            if (steps > kMaxSubSteps) return false;
            nm = static_cast<int>(steps);
        }
        subSteps_ = nm;
        dtint_ = kCallLength / nm;
        modifiers();
        if (c_.model <= condensing) net(w_.eg, w_.eb);
        if (condenses(c_.model)) {
            pstdu_ = psfeuchteluft(&w_.tu) * w_.rh;
            tdu_ = tdfeuchteluft(&pstdu_);
            dhvw_ = dhvwasser(&w_.tu);
        }
        n.tf1[0] = n.tf2[0] = w_.tfe;
        for (int k = 0; k < nm; ++k) {
            if (c_.model == thermal) explicitStep(n);
            else iterate(n, s);
            const std::size_t last = static_cast<std::size_t>(nj);
            for (int j = 0; j < nj - 1; ++j) sums_.condensation += n.qk[static_cast<std::size_t>(j)] * c_.aa / (nj - 1);
            sums_.outlet += w_.mpkt <= 0.0 ? n.tf2[last - 1] : (n.tf2[last - 1] + n.tf2[last]) / 2.0;
            sums_.surface += mean(n.tg, nj);
            sums_.absorber += mean(n.ta, nj);
            sums_.fluid += mean(std::span<const double>(n.tf2).subspan(1), nj);
            sums_.pv += ppv_;
            n.tf1 = n.tf2;
        }
        return true;
    }

    int subSteps() const { return subSteps_; }
    const Sums& sums() const { return sums_; }
    double enx() const { return enx_; }
    double ukon() const { return ukon_; }
    double kbnth() const { return kbnth_; }

private:
    void modifiers() {
        // Beyond the plane the beam counts for nothing.
        const bool facing = w_.theta >= 0.0 && w_.theta <= 90.0;
        const double info = 0.0;
        if (facing) {
            einfallwinkelkorrektur(&w_.theta, &w_.thetaz, &c_.beta, &c_.gammaa, &w_.gammas, &kPi, &c_.unrth, &info,
                                   &kbnth_);
            if (hasPv(c_.model))
                einfallwinkelkorrektur(&w_.theta, &w_.thetaz, &c_.beta, &c_.gammaa, &w_.gammas, &kPi, &c_.unrpv,
                                       &info, &kbnpv_);
        }
        ukon_ = w_.ukon;
    }

    void net(double eg, double eb) {
        nettobestrahlung(&eg, &eb, &enx_, &c_.epsalpha, &kbnth_, &c_.kdth, &kSigma, &w_.th, &w_.tu, &c_.beta, &kPi,
                         &w_.tgr, &c_.epsgr);
    }

    // gains: the heat per area the fluid of each node takes besides the net irradiance.
    void advance(Nodes& n, double relax, const double* gains) {
        const double model = c_.model, nj = c_.njd();
        thermteilmodell(&model, &c_.aa, &nj, &enx_, &c_.eta0, &c_.b1, &c_.b2, &c_.bu, &w_.vu, n.tg.data(), n.ta.data(),
                        n.tf1.data(), n.tf2.data(), &w_.tu, &teff_, &dtint_, &c_.ceff, &c_.cf, &w_.uint, &c_.ugf,
                        &ustr_, &ukon_, gains, &w_.mpkt, n.tgStart.data(), n.taStart.data(),
                        n.tfStart.data(), &relax);
    }

    void explicitStep(Nodes& n) {
        n.taStart.fill(0.0), n.tgStart.fill(0.0), n.tfStart.fill(0.0);
        advance(n, 1.0, n.qk.data());
    }

    // The surface, absorber and fluid of one sub-step, coupled through the surface's
    // coefficients, the PV power and the condensation, relaxed to a fixed point.
    void iterate(Nodes& n, State& s) {
        const double nj = c_.njd();
        const double ppvMode = w_.ppvMode;
        n.tgStart = n.tg, n.taStart = n.ta, n.tfStart = n.tf2;
        for (int pass = 1;; ++pass) {
            if (hasPv(c_.model)) {
                if (c_.pvModel == 1)
                    pvteilmodell1(&ppvMode, n.ta.data(), &c_.aa, &nj, &w_.eg, &w_.eb, &kbnpv_, &c_.kdpv, &c_.ct,
                                  &c_.etastc, &ppv_, &egred_, &ebred_);
                else
                    pvteilmodell2(&ppvMode, n.ta.data(), &c_.aa, &nj, &w_.eg, &w_.eb, &kbnpv_, &c_.kdpv, &c_.ct,
                                  &c_.ik, &c_.impp, &c_.ul, &c_.umpp, &c_.etastc, &ppv_, &egred_, &ebred_);
                net(w_.eg, w_.eb);
                // What the PV model took off the irradiance is the electricity per area.
                electricity_ = w_.eg - egred_;
                waermeuebergangstr(&nj, &c_.epspv, &kPi, &kSigma, &c_.beta, n.tg.data(), &w_.th, &w_.tu, &teff_,
                                   &ustr_);
            }
            // The surface that meets the air: the PV layer, or the absorber itself.
            const double* outer = hasPv(c_.model) ? n.tg.data() : n.ta.data();
            if (c_.ukMode == 2) waermeuebergangkon(&nj, outer, &w_.tu, &w_.vu, &ukon_);
            if (condenses(c_.model)) kondensation(outer, &tdu_, &pstdu_, &w_.pu, &dhvw_, &ukon_, &nj, n.qk.data());
            for (int j = 0; j < c_.nj; ++j) {
                const auto node = static_cast<std::size_t>(j);
                n.gain[node] = n.qk[node] - electricity_;
            }
            advance(n, c_.relax, n.gain.data());
            int settled = 0;
            if (pass >= 2) {
                settled = 1;
                konvcheck(&settled, n.tg.data(), n.tgStart.data(), &nj);
                konvcheck(&settled, n.ta.data(), n.taStart.data(), &nj);
                konvcheck(&settled, n.tf2.data() + 1, n.tfStart.data() + 1, &nj);
            }
            if (pass > kMaxPasses) {
                // The previous pass stands.
                n.tg = n.tgStart, n.ta = n.taStart, n.tf2 = n.tfStart;
                if (settled == 0)
                    b_.countWarning(s.unsettled, code::notSettled, {.reals = {b_.in(0), b_.in(1)}});
                return;
            }
            n.tgStart = n.tg, n.taStart = n.ta, n.tfStart = n.tf2;
            if (settled != 0) return;
        }
    }

    pvtcool_block::View& b_;
    const Collector& c_;
    const Conditions& w_;
    int subSteps_ = 1;
    double dtint_ = kCallLength;
    double kbnth_ = 0.0, kbnpv_ = 0.0;
    double enx_ = 0.0, ukon_ = 0.0, teff_ = 0.0, ustr_ = 0.0;
    double pstdu_ = 0.0, tdu_ = 0.0, dhvw_ = 0.0;
    double ppv_ = 0.0, egred_ = 0.0, ebred_ = 0.0, electricity_ = 0.0;
    Sums sums_;
};

bool allFiniteIn(std::span<const double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

void pvtcool_block::init(View& b) {
    State s(b);
    s.unsettled = 0;
    s.leftOut = 0.0f;
    bool passed = true;
    if (b.inputCount() < kInputsRead) {
        b.report(code::tooFewInputs, {.ints = {b.inputCount(), kInputsRead}});
        passed = false;
    }
    passed = checkParameters(b) && passed;
    if (!passed) return;
    const Collector c = collector(b);
    if (c.uiMode == 2) {
        int failed = 0;
        double uint = 0.0;
        const double model = c.model;
        uintcalc(&c.alphath, &c.b1, &c.b2, &c.bu, &c.eta0, &model, &c.taupv, &failed, &uint);
        s.internal = stored(uint);
        if (failed != 0) b.report(code::internalCoefficientOff, {.reals = {s.internal}});
    }
    for (int i = 0; i < 3 * c.nj; ++i) s.temperatures[static_cast<std::size_t>(i)] = kFirstTemperature;
}

void pvtcool_block::step(View& b) {
    State s(b);
    const Collector c = collector(b);
    if (!usable(c) || b.inputCount() < kInputsRead) return;  // refused at initialisation
    if (!inputsFinite(b)) return;
    const Conditions w = conditions(b, c, s.internal);
    const int nj = c.nj;
    const auto dp = [&](int i) -> double& { return s.temperatures[static_cast<std::size_t>(i)]; };
    Nodes n{};
    for (int j = 0; j < nj; ++j) {
        const auto node = static_cast<std::size_t>(j);
        n.ta[node] = dp(j);
        n.tf1[node + 1] = n.tf2[node + 1] = dp(nj + j);
        n.tg[node] = dp(2 * nj + j);
    }
    Call call(b, c, w);
    if (!call.run(n, s)) {
        int count = block::toInt(s.leftOut);
        b.countWarning(count, code::tooManySubSteps, {.reals = {b.in(13)}, .ints = {kMaxSubSteps}});
        s.leftOut = static_cast<float>(count);
        return;
    }
    const Sums& sum = call.sums();
    const double nm = call.subSteps();
    const double outlet = sum.outlet / nm;
    const double e = w.eg, beam = w.eb;
    double weighted = call.enx();
    if (e > 0.0)
        weighted = call.enx() * (c.kdth * (e - beam) / e + (1.0 - (e - beam) / e) * call.kbnth());
    const double out[12] = {
        w.mpkt,
        outlet,
        (outlet - w.tfe) * w.mpkt * c.cf / 1000.0,
        sum.absorber / nm,
        condenses(c.model) ? sum.condensation * 3.6 / nm : 0.0,
        hasPv(c.model) ? sum.surface / nm : kUnset,
        hasPv(c.model) && w.ppvMode == 1 ? sum.pv / nm : 0.0,
        c.model >= condensing ? call.ukon() : kUnset,
        w.uint,
        call.enx(),
        weighted,
        -(sum.fluid / nm - w.tu) * (c.b1 + c.b2 * w.vu),
    };
    const auto nodes = static_cast<std::size_t>(nj);
    if (!allFiniteIn(out) || !allFiniteIn(std::span(n.ta).first(nodes)) ||
        !allFiniteIn(std::span(n.tg).first(nodes)) || !allFiniteIn(std::span(n.tf2).subspan(1, nodes))) {
        b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(1)}});
        return;
    }
    for (int j = 0; j < nj; ++j) {
        const auto node = static_cast<std::size_t>(j);
        dp(j) = n.ta[node];
        dp(nj + j) = n.tf2[node + 1];
        dp(2 * nj + j) = n.tg[node];
    }
    for (int i = 0; i < 12; ++i) b.out(i) = stored(out[i]);
}

void pvtcool_block::last(View& b) {
    State s(b);
    b.reportCount(s.unsettled, code::countedNotSettled);
    b.reportCount(block::toInt(s.leftOut), code::countedStepsLeftOut);
}

}  // namespace vireo::st
