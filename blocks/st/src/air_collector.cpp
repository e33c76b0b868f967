#include "air_collector.h"

#include "vireo_tools.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vireo::st::aircollector {
namespace {

constexpr double kToRadians = 0.017453292;
constexpr double kKelvin = 273.15;

float f32(double x) { return static_cast<float>(std::clamp(x, -1e30, 1e30)); }

// The utility library's air at a temperature in degC.
double viscosity(double t) {
    const float x = f32(t);
    return airvis(&x);
}
double conductivity(double t) {
    const float x = f32(t);
    return airlam(&x);
}
double heatCapacity(double t) {
    const float x = f32(t);
    return aircp(&x);
}
double density(double t, float p) {
    const float x = f32(t);
    return airrho(&x, &p);
}
double prandtl(double t, float p) {
    const float x = f32(t);
    return airpr(&x, &p);
}

}  // namespace

double skyTemperature(double ambient) {
    const double ta = ambient + kKelvin;
    return 0.32 * ta + 0.037536 * std::pow(std::max(ta, 0.0), 1.5) - kKelvin;
}

double channelNusselt(double re, double pr, double dh, double length, double previous) {
    if (re < kTransition) {
        if (!(pr > 0 && re > 0 && dh > 0)) return 0;
        // The mean over the length beyond the first 0.1 m.
        return 4.11 + 0.4345 * (std::pow(length, 0.1788) - 0.66252154) * std::pow(re * pr * dh, 0.8212) /
                          (length - 0.1);
    }
    if (!(pr > 0 && re > 0)) return previous;
    const double f8 = 1 / std::pow(0.79 * std::log(re) - 1.64, 2) / 8;
    return f8 * (re - 1000) * pr * (1 + std::pow(dh / length, 0.6666667)) /
           (1 + 12.7 * std::sqrt(f8) * (std::pow(pr, 0.6666667) - 1));
}

double finEfficiency(double mL) { return mL > 0 ? std::tanh(mL) / mL : 1.0; }

double gapNusselt(double rayleigh, double tilt) {
    const double beta = tilt * kToRadians;
    const double rc = (rayleigh > 0 ? rayleigh : 0.0) * std::cos(beta);
    const double x1 = rc > 0 ? std::max(0.0, 1 - 1708 / rc) : 0.0;
    const double x2 = std::max(0.0, std::cbrt(rc / 5830) - 1);
    const double x3 = rc > 0 ? 1 - 1708 * std::pow(std::max(0.0, std::sin(1.8 * beta)), 1.6) / rc : 0.0;
    return 1 + 1.44 * x1 * x3 + x2;
}

double plateRadiation(double e1, double e2, double t1, double t2) {
    if (!(e1 > 0 && e2 > 0)) return 0;
    const double k1 = t1 + kKelvin, k2 = t2 + kKelvin;
    return kSigma / (1 / e1 + 1 / e2 - 1) * (k1 * k1 + k2 * k2) * (k1 + k2);
}

double skyRadiation(double coverEmissivity, double cover, double sky, double ambient) {
    if (cover == ambient) return 4.0;
    const double kc = cover + kKelvin, ks = sky + kKelvin;
    const double h = kSigma * coverEmissivity * (kc * kc + ks * ks) * (kc + ks) * (cover - sky) / (cover - ambient);
    return std::clamp(h, 0.0, kSkyCoefficientLimit);
}

double windConvection(double speed) { return 4.214 + 3.575 * speed; }

double capacityFlow(double t, double flow, float pressure) { return density(t, pressure) * flow * heatCapacity(t); }

double series(double a, double b) { return a > 0 && b > 0 ? a * b / (a + b) : 0.0; }

Channel channel(const Build& c, double tf, double flow, float pressure, double previousNu) {
    Channel k{};
    const double dh = c.hydraulicDiameter();
    k.re = dh * c.velocity(flow) / viscosity(tf);
    k.pr = prandtl(tf, pressure);
    k.nu = channelNusselt(k.re, k.pr, dh, c.length, previousNu);
    k.hc = conductivity(tf) * k.nu / dh;
    k.hcbf = k.hc * c.channelShare();
    // A fin of the channel's height, cooled on both faces, from the absorber.
    const double h = c.height, d = c.finThickness;
    const double m = std::sqrt(2 * k.hc * (h + d) / (c.finConductivity * h * d));
    const double betah = c.heightShare();
    k.hcpf = k.hc * c.channelShare() / (1 - betah) * (1 + (2 * finEfficiency(m * h) - 1) * betah);
    return k;
}

Losses losses(const Build& c, double tp, double tc, double tb, double ta, double sky, double wind, float pressure) {
    Losses k{};
    const double tmean = (tc + tp) / 2;
    // Rayleigh number across the gap; an absurd mean temperature gives none.
    const double kelvin = tmean + kKelvin;
    double ra = kelvin > 0 ? 9.81 * std::fabs(tp - tc) * std::pow(c.gap, 3) / (viscosity(tmean) * kelvin) *
                                 density(tmean, pressure) * heatCapacity(tmean) / conductivity(tmean)
                           : 0.0;
    if (!std::isfinite(ra)) ra = 0;
    k.hcpc = conductivity(tmean) * gapNusselt(ra, c.tilt) / c.gap;
    k.hrpc = plateRadiation(c.absorberEmissivity, c.coverEmissivity, tp, tc);
    k.hrca = skyRadiation(c.coverEmissivity, tc, sky, ta);
    k.hcca = windConvection(wind);
    k.uf = series(k.hcca + k.hrca, k.hcpc + k.hrpc);
    k.hrpb = plateRadiation(c.backEmissivity, c.underEmissivity, tp, tb);
    return k;
}

namespace {

constexpr double kSubStep = 60.0;

// One segment's sub-step: the terms of its energy balances over the sub-step h.
struct Terms {
    double c1, c2, c3, r1, r2, r3, r4, w3, qsa;
};

// The air leaving the segment; then absorber, back plate and cover at the sub-step's end.
// Air, absorber and back plate exchange heat at their means over the sub-step; what the
// plates lose to the cover, to each other and through the insulation is taken at their
// temperatures from the sub-step's start, moved `implicit` of the way to its end: 0 while
// the sub-step is no longer than the plates hold, more where a longer one would take from
// them more than they hold.
double advance(Segment& s, const Terms& t, const Losses& l, double tin, double ta, double implicit) {
    const double tp = s.absorber, tb = s.back, kept = 1 - implicit, coupled = implicit * t.r2;
    // Absorber and back plate, each linear in the air leaving: p0 + p1 tf and b0 + b1 tf.
    const double ownP = t.c2 + t.c1 / 2 + implicit * t.c3, ownB = t.r1 + t.r3 / 2 + implicit * t.r4;
    const double ap = ownP + coupled, ab = ownB + coupled;
    const double kp = t.c2 * tp + t.qsa - t.c3 * (kept * tp - ta) - (t.c1 / 2) * (tp - tin) - t.r2 * kept * (tp - tb);
    const double kb = t.r1 * tb - (t.r3 / 2) * (tb - tin) + t.r2 * kept * (tp - tb) - t.r4 * (kept * tb - ta);
    // In shares of the diagonal, which no product of two coefficients can overflow; the
    // determinant as a sum, which keeps its digits where the plates' radiation to each
    // other outweighs all else.
    const double u = coupled / ap, v = coupled / ab, sp = ownP / ap, sb = ownB / ab;
    const double det = v * sp + u * sb + sp * sb;
    const double p0 = (kp / ap + u * kb / ab) / det, p1 = (t.c1 / 2 / ap + u * t.r3 / 2 / ab) / det;
    const double b0 = (kb / ab + v * kp / ap) / det, b1 = (t.r3 / 2 / ab + v * t.c1 / 2 / ap) / det;
    const double taken = t.w3 * tin + (t.c1 / 2) * (tp - tin + p0) + (t.r3 / 2) * (tb - tin + b0);
    const double given = (t.c1 / 2) * (1 - p1) + (t.r3 / 2) * (1 - b1);
    double tf = taken / (t.w3 + given), mean = tf;  // `mean`: the outlet the air's mean stands for
    // With the air's mean halfway between inlet and outlet, air passing slowly by plates
    // far from its inlet's temperature would leave beyond every surface it meets. It
    // leaves then at the nearest one's temperature, and the plates see the air at the
    // mean that gives them what it takes up.
    const double endP = p0 + p1 * tf, endB = b0 + b1 * tf;
    const double lowest = std::min({tin, tp, tb, endP, endB}), highest = std::max({tin, tp, tb, endP, endB});
    if (!(tf >= lowest && tf <= highest) && given > 0) {
        tf = std::clamp(tf, lowest, highest);
        mean = (taken - t.w3 * tf) / given;
    }
    s.absorber = p0 + p1 * mean;
    s.back = b0 + b1 * mean;
    s.cover = l.cover(s.absorber, ta);
    return tf;
}

}  // namespace

RowStep advanceRow(std::span<Segment> row, const Build& c, const Plates& plates, const Weather& w, double length) {
    if (row.empty() || row.size() > kMaxSegments) return {w.inlet, 0};
    const auto segments = static_cast<double>(row.size());
    const double a = c.area() / segments;  // all rows together
    const double ub = c.backLoss(), sky = skyTemperature(w.ambient);
    // Absorber with its fins, and back plate, of one segment.
    const double segmentLength = c.series * c.length / segments;
    const double c2 = plates.absorber *
                      (c.finThickness * a + 2 * (1 + c.channels) * c.finThickness * c.height * c.rows * segmentLength);
    const double r1 = a * plates.back;
    // Sub-steps of 60 s, shorter where a plate would lose more in one than it holds, but
    // no shorter than an equal share of the step among as many as the bound allows; the
    // plates' losses then move towards the sub-step's end as far as keeps them stable.
    const double most = std::max(1.0, std::floor(kMaxSegmentSteps / segments));
    const double shortest = length / most;

    std::array<Losses, kMaxSegments> losses;
    std::array<double, kMaxSegments> holds;  // the longest sub-step each segment's plates take explicitly
    RowStep result{w.inlet, 0};
    double remaining = length;
    while (remaining > 0) {
        double h = std::min(kSubStep, remaining);
        for (std::size_t j = 0; j < row.size(); ++j) {
            const Losses& l = losses[j] =
                aircollector::losses(c, row[j].absorber, row[j].cover, row[j].back, w.ambient, sky, w.wind, w.pressure);
            double& hold = holds[j] = r1 / ((l.hrpb + ub) * a);
            if (l.uf + l.hrpb > 0) hold = std::min(hold, c2 / ((l.uf + l.hrpb) * a));
            h = std::min(h, hold);
        }
        h = result.subSteps + 1 >= most ? remaining : std::min(std::max(h, shortest), remaining);
        double tin = w.inlet, nu = 0;
        for (std::size_t j = 0; j < row.size(); ++j) {
            const Losses& l = losses[j];
            const Channel k = channel(c, tin, w.flow, w.pressure, nu);
            nu = k.nu;
            const Terms t{.c1 = k.hcpf * a * h,
                          .c2 = c2,
                          .c3 = l.uf * a * h,
                          .r1 = r1,
                          .r2 = l.hrpb * a * h,
                          .r3 = k.hcbf * a * h,
                          .r4 = ub * a * h,
                          .w3 = capacityFlow(tin, w.flow, w.pressure) * h,
                          .qsa = w.irradiance * c.tauAlpha * a * h};
            tin = advance(row[j], t, l, tin, w.ambient, h > holds[j] ? 1 - holds[j] / h : 0.0);
        }
        result.outlet = tin;
        ++result.subSteps;
        remaining -= h;
    }
    return result;
}

}  // namespace vireo::st::aircollector
