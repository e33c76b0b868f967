#include "uncovered_pvt.h"

#include <algorithm>
#include <cmath>

namespace vireo::st::pvt {
namespace {

constexpr double kKelvin = 273.15;
constexpr double kUnset = -99.0;

// Factors that the collector's model was fitted with in single precision: their double
// values are those floats, not the decimals.
constexpr double kGasConstantAir = static_cast<double>(0.2871f);     // kJ/(kg K)
constexpr double kGasConstantVapour = static_cast<double>(0.4614f);  // kJ/(kg K)
constexpr double kCpAir = static_cast<double>(1.007f);               // kJ/(kg K)
constexpr double kSettled = static_cast<double>(0.001f);             // K

double fourth(double kelvin) {
    const double square = kelvin * kelvin;
    return square * square;
}

// The share of the sky in the view of a surface tilted by beta degrees.
double skyView(double beta, double pi) { return (std::cos(pi * beta / 180.0) + 1.0) * 0.5; }

// The PV irradiance, common to both PV models.
double pvIrradiance(double eg, double eb, const PvLayer& l) {
    const double ed = std::max(eg - eb, 0.0);
    return ed * l.kd + eb * l.kbn;
}

Pv reduced(bool takenOff, double ppv, double aa, double eg, double eb) {
    Pv p{ppv, takenOff ? eg - ppv / aa : eg, 0.0};
    // Without global irradiance there is none to share out; the beam is left as it is.
    p.ebred = eg != 0.0 ? eb * p.egred / eg : eb;
    return p;
}

}  // namespace

double meanOverSegments(std::span<const double> t) {
    const int n = std::max(static_cast<int>(t.size()) - 1, 1);
    double sum = 0.0;
    for (int j = 0; j < n; ++j) sum += t[static_cast<std::size_t>(j)];
    return sum / n;
}

double saturationPressure(double x) {
    if (x > 0.0 && x <= 100.0)
        return 6.11 * std::exp(0.07257 * x - 0.0002937 * x * x + 9.81e-07 * x * x * x - 1.901e-09 * x * x * x * x);
    if (x > 100.0 && x <= 200.0)
        return 6.11 * std::exp(0.07142753 * x - 0.0002600931 * x * x + 6.432223e-07 * x * x * x -
                               7.410232e-10 * x * x * x * x);
    return 0.0;
}

double dewPoint(double p) {
    // ln(0) is minus infinity and gives the limit; below 0 the logarithm has no value.
    const double q = p > 0.0 ? p : 0.0;
    return 4102.99 / (17.2799 - std::log(q * 0.1 / 0.611657)) - 237.431;
}

double evaporationEnthalpy(double t) { return 2500.47481 - 2.30345 * t - 0.00132 * t * t; }

double netIrradiance(double eg, double eb, double kbn, double kd, double epsalpha, const Surroundings& s,
                     double sigma, double pi) {
    const double fs = skyView(s.beta, pi);
    const double longWave = sigma * fs * fourth(s.th + kKelvin) + sigma * (1.0 - fs) * s.epsgr * fourth(s.tgr + kKelvin);
    const double balance = (longWave - sigma * fourth(s.tu + kKelvin)) * epsalpha;
    if (eg <= 0.0) return balance;
    const double en = balance + eg;
    const double ed = std::max(eg - eb, 0.0);
    return en * (ed * kd / eg + kbn * (1.0 - ed / eg));
}

Radiant radiant(std::span<const double> tg, double epspv, const Surroundings& s, double sigma, double pi) {
    const double tsm = meanOverSegments(tg) + kKelvin;
    const double fs = skyView(s.beta, pi);
    Radiant r{};
    r.teff = std::pow(fourth(s.tu + kKelvin) * (1.0 - fs) + fourth(s.th + kKelvin) * fs, 0.25) - kKelvin;
    const double te = r.teff + kKelvin;
    r.ustr = (te * te + tsm * tsm) * sigma * epspv * (te + tsm);
    return r;
}

double convective(std::span<const double> ts, double tu, double vu) {
    const double tsm = meanOverSegments(ts);
    // A surface more than about 22 K below the air has no natural convection in this
    // correlation; its term would otherwise turn the sum of cubes negative.
    const double natural = std::max((tsm - tu) * 0.123 + 2.7, 0.0);
    const double forced = std::max(2.83 * vu + 4.3, 0.0);
    return std::pow(natural * natural * natural + forced * forced * forced, 0.3333333333333333);
}

void condensation(std::span<const double> ts, const Moisture& m, double ukon, std::span<double> qk) {
    for (std::size_t j = 0; j < ts.size(); ++j) {
        const double t = ts[j];
        if (t >= m.tdu || t <= 0.0 || !(m.pu > 0.0)) {
            qk[j] = 0.0;
            continue;
        }
        qk[j] = -(saturationPressure(t) - m.pstdu) * m.dhvw * kGasConstantAir * 1.097287663733127 * ukon /
                (m.pu * kGasConstantVapour * kCpAir);
    }
}

Pv pvEfficiencyModel(bool takenOff, std::span<const double> ta, double aa, double eg, double eb, const PvLayer& l) {
    const double tam = meanOverSegments(ta);
    const double egpv = pvIrradiance(eg, eb, l);
    const double dppv = egpv * l.ct * l.etastc * (tam - 25.0);
    const double eta = egpv <= 0.0 ? 0.0 : l.etastc + 0.04 * l.etastc * std::log(egpv / 1000.0);
    return reduced(takenOff, aa * (dppv + egpv * eta), aa, eg, eb);
}

Pv pvDiodeModel(bool takenOff, std::span<const double> ta, double aa, double eg, double eb, const PvLayer& l) {
    const double tam = meanOverSegments(ta);
    const double egpv = pvIrradiance(eg, eb, l);
    const double ik = l.ik, impp = l.impp, ul = l.ul, umpp = l.umpp;
    const double mk = ((impp * 3.417 / ik + umpp * 6.45 / ul) - umpp * impp * 5.411 / (ul * ik) - 4.422) * (ul / ik);
    const double rpv = (1.0 - ik / impp) * (umpp / impp) - mk * ik / impp;
    const double ut = -ik * (rpv + mk);
    const double relative =
        egpv <= 0.0 ? 0.0
                    : ((ut / umpp) * std::log(egpv / 1000.0) + 1.0 - (egpv / 1000.0 - 1.0) * (rpv * impp / umpp)) *
                          (l.ct * (tam - 25.0) + 1.0);
    return reduced(takenOff, aa * l.etastc * relative * egpv, aa, eg, eb);
}

Internal internalCoefficient(double alphath, double b1, double b2, double bu, double eta0, double tau) {
    const auto atWind = [&](double u) { return (u * b2 + b1) / (1.0 - (1.0 - bu * u) * eta0 / (tau * alphath)); };
    Internal r{atWind(1.5), false};
    r.off = !(r.uint > 0.0);
    for (int u = 1; u <= 8; ++u)
        if (!(std::fabs(atWind(u) - r.uint) / r.uint <= 0.2)) r.off = true;  // NaN fails too
    return r;
}

void thermalStep(const Segment& s, const Exchange& x, const Nodes& n) {
    const int nodes = static_cast<int>(n.ta.size());
    const double r = x.dt / s.ceff;
    const double g = s.cf * (nodes - 1) * x.mpkt / (s.aa * 3600.0);
    const double a0 = (1.0 - s.bu * x.vu) * r * x.enx * s.eta0;
    const double a1 = (x.vu * s.b2 + s.b1) * r;
    const double surfaceSum = x.ukon + s.ugf + x.ustr;
    for (std::size_t j = 1; j <= static_cast<std::size_t>(nodes); ++j) {
        const double a2 = j == 1 ? 2.0 * r * g : r * g;
        const double a3 = n.gains[j - 1] * r;
        n.tf2[j] = n.tfStart[j] + x.relax * (n.tf1[j] * (1.0 - a1 - a2) + x.tu * a1 + a0 + a2 * n.tf1[j - 1] + a3 -
                                             n.tfStart[j]);
        // With no finite coefficient between them the absorber takes the fluid's temperature.
        const double a4 = a2 / r;
        const double lift = x.uint > 0.0 ? a4 * (n.tf2[j] - n.tf2[j - 1]) / x.uint : 0.0;
        n.ta[j - 1] = n.taStart[j - 1] + x.relax * (lift + n.tf2[j] - n.taStart[j - 1]);
        // A surface coupled to nothing keeps its temperature.
        if (x.surface && surfaceSum != 0.0)
            n.tg[j - 1] = n.tgStart[j - 1] + x.relax * ((x.tu * x.ukon + s.ugf * n.ta[j - 1] + x.teff * x.ustr) /
                                                            surfaceSum -
                                                        n.tgStart[j - 1]);
    }
}

bool settled(std::span<const double> a, std::span<const double> b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(std::fabs(a[i] - b[i]) <= kSettled)) return false;  // a difference that is not a number has not settled
    return true;
}

namespace {

// The working arrays of one call.
struct Work {
    std::array<double, kMaxNodes> ta, tg, qk, gain, taStart, tgStart;
    std::array<double, kMaxNodes + 1> tf1, tf2, tfStart;
};

struct Sums {
    double condensation = 0, outlet = 0, surface = 0, absorber = 0, fluid = 0, pv = 0;
};

// One call of the collector over its 60 s.
class Call {
public:
    Call(const Collector& c, const Conditions& w) : c_(c), w_(w), nj_(static_cast<std::size_t>(c.nj)) {}

    Result run(State& s) {
        const int nj = c_.nj;
        Result result{};
        const double denominator = c_.cf * 2.0 * (nj - 1) * w_.mpkt / (c_.aa * 3600.0) + c_.b2 * w_.vu + c_.b1;
        const double dtmax = c_.ceff * 0.75 / denominator;
        int nm = 1;
        if (dtmax > 0.0 && dtmax < kCallLength) {
            const double steps = kCallLength / dtmax + 1.0;
            if (steps > kMaxSubSteps) return result;
            nm = static_cast<int>(steps);
        }
        result.ran = true;
        Work n{};
        std::copy_n(s.ta.begin(), nj, n.ta.begin());
        std::copy_n(s.tg.begin(), nj, n.tg.begin());
        std::copy_n(s.tf.begin() + 1, nj, n.tf1.begin() + 1);
        std::copy_n(s.tf.begin() + 1, nj, n.tf2.begin() + 1);
        dt_ = kCallLength / nm;
        modifiers();
        if (c_.model <= condensing) net(w_.eg, w_.eb);
        if (condenses(c_.model)) {
            moisture_.pstdu = saturationPressure(w_.tu) * w_.rh;
            moisture_.tdu = dewPoint(moisture_.pstdu);
            moisture_.dhvw = evaporationEnthalpy(w_.tu);
            moisture_.pu = w_.pu;
        }
        n.tf1[0] = n.tf2[0] = w_.tfe;
        Sums sums;
        for (int k = 0; k < nm; ++k) {
            if (c_.model == thermal) explicitStep(n);
            else result.unsettled += iterate(n) ? 0 : 1;
            for (std::size_t j = 0; j + 1 < nj_; ++j) sums.condensation += n.qk[j] * c_.aa / (nj - 1);
            sums.outlet += w_.mpkt <= 0.0 ? n.tf2[nj_ - 1] : (n.tf2[nj_ - 1] + n.tf2[nj_]) / 2.0;
            sums.surface += meanOverSegments(span(n.tg));
            sums.absorber += meanOverSegments(span(n.ta));
            sums.fluid += meanOverSegments(std::span<const double>(n.tf2).subspan(1, nj_));
            sums.pv += ppv_;
            n.tf1 = n.tf2;
        }
        std::copy_n(n.ta.begin(), nj, s.ta.begin());
        std::copy_n(n.tg.begin(), nj, s.tg.begin());
        std::copy_n(n.tf2.begin() + 1, nj, s.tf.begin() + 1);
        s.tf[0] = w_.tfe;

        const double steps = nm;
        const double outlet = sums.outlet / steps;
        const double e = w_.eg, beam = w_.eb;
        double weighted = enx_;
        if (e > 0.0) weighted = enx_ * (c_.kdth * (e - beam) / e + (1.0 - (e - beam) / e) * kbnth_);
        result.outputs = {
            w_.mpkt,
            outlet,
            (outlet - w_.tfe) * w_.mpkt * c_.cf / 1000.0,
            sums.absorber / steps,
            condenses(c_.model) ? sums.condensation * 3.6 / steps : 0.0,
            hasPv(c_.model) ? sums.surface / steps : kUnset,
            hasPv(c_.model) && w_.ppvMode == 1 ? sums.pv / steps : 0.0,
            c_.model >= condensing ? ukon_ : kUnset,
            w_.uint,
            enx_,
            weighted,
            -(sums.fluid / steps - w_.tu) * (c_.b1 + c_.b2 * w_.vu),
        };
        return result;
    }

private:
    template <std::size_t N>
    std::span<double> span(std::array<double, N>& a) const {
        return std::span<double>(a).first(nj_);
    }

    void modifiers() {
        // Beyond the plane the beam counts for nothing; within it no incidence angle
        // modifies it.
        if (w_.theta >= 0.0 && w_.theta <= 90.0) {
            kbnth_ = 1.0;
            if (hasPv(c_.model)) kbnpv_ = 1.0;
        }
        ukon_ = w_.ukon;
    }

    void net(double eg, double eb) {
        enx_ = netIrradiance(eg, eb, kbnth_, c_.kdth, c_.epsalpha, {w_.th, w_.tu, w_.tgr, c_.epsgr, c_.beta}, kSigma,
                             kPi);
    }

    // gains: the heat per area the fluid of each node takes besides the net irradiance.
    void step(Work& n, double relax, const std::array<double, kMaxNodes>& gains) {
        const Segment seg{c_.eta0, c_.b1, c_.b2, c_.bu, c_.ceff, c_.cf, c_.ugf, c_.aa};
        const Exchange x{enx_, w_.vu, w_.tu, teff_, dt_, w_.uint, ustr_, ukon_, w_.mpkt, relax, c_.model > 2};
        const auto fluid = [&](std::array<double, kMaxNodes + 1>& a) { return std::span<double>(a).first(nj_ + 1); };
        thermalStep(seg, x,
                    {span(n.tg), span(n.ta), fluid(n.tf1), fluid(n.tf2), std::span<const double>(gains).first(nj_),
                     span(n.tgStart), span(n.taStart), fluid(n.tfStart)});
    }

    void explicitStep(Work& n) {
        n.taStart.fill(0.0), n.tgStart.fill(0.0), n.tfStart.fill(0.0);
        step(n, 1.0, n.qk);
    }

    // The surface, absorber and fluid of one sub-step, coupled through the surface's
    // coefficients, the PV power and the condensation, relaxed to a fixed point; false
    // when it ran out of passes (the previous pass then stands).
    bool iterate(Work& n) {
        const PvLayer layer{kbnpv_, c_.kdpv, c_.ct, c_.etastc, c_.ik, c_.impp, c_.ul, c_.umpp};
        const bool takenOff = w_.ppvMode == 1;
        n.tgStart = n.tg, n.taStart = n.ta, n.tfStart = n.tf2;
        for (int pass = 1;; ++pass) {
            if (hasPv(c_.model)) {
                const Pv pv = c_.pvModel == 1 ? pvEfficiencyModel(takenOff, span(n.ta), c_.aa, w_.eg, w_.eb, layer)
                                              : pvDiodeModel(takenOff, span(n.ta), c_.aa, w_.eg, w_.eb, layer);
                ppv_ = pv.power;
                net(w_.eg, w_.eb);
                // What the PV model took off the irradiance is the electricity per area.
                electricity_ = w_.eg - pv.egred;
                const Radiant r = radiant(span(n.tg), c_.epspv, {w_.th, w_.tu, w_.tgr, c_.epsgr, c_.beta}, kSigma, kPi);
                teff_ = r.teff, ustr_ = r.ustr;
            }
            // The surface that meets the air: the PV layer, or the absorber itself.
            const std::span<double> outer = hasPv(c_.model) ? span(n.tg) : span(n.ta);
            if (c_.computedUkon) ukon_ = convective(outer, w_.tu, w_.vu);
            if (condenses(c_.model)) condensation(outer, moisture_, ukon_, span(n.qk));
            for (std::size_t j = 0; j < nj_; ++j) n.gain[j] = n.qk[j] - electricity_;
            step(n, c_.relax, n.gain);
            bool converged = false;
            if (pass >= 2)
                converged = settled(span(n.tg), span(n.tgStart)) && settled(span(n.ta), span(n.taStart)) &&
                            settled(std::span<const double>(n.tf2).subspan(1, nj_),
                                    std::span<const double>(n.tfStart).subspan(1, nj_));
            if (pass > kMaxPasses) {
                n.tg = n.tgStart, n.ta = n.taStart, n.tf2 = n.tfStart;
                return converged;
            }
            n.tgStart = n.tg, n.taStart = n.ta, n.tfStart = n.tf2;
            if (converged) return true;
        }
    }

    const Collector& c_;
    const Conditions& w_;
    const std::size_t nj_;
    double dt_ = kCallLength;
    double kbnth_ = 0.0, kbnpv_ = 0.0;
    double enx_ = 0.0, ukon_ = 0.0, teff_ = 0.0, ustr_ = 0.0;
    Moisture moisture_{};
    double ppv_ = 0.0, electricity_ = 0.0;
};

}  // namespace

Result advance(const Collector& c, const Conditions& w, State& s) { return Call(c, w).run(s); }

}  // namespace vireo::st::pvt
