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
    // A temperature below absolute zero (a state no input should give) radiates nothing:
    // the coefficient never turns negative, which would drive two plates apart.
    const double k1 = std::max(t1 + kKelvin, 0.0), k2 = std::max(t2 + kKelvin, 0.0);
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
// temperatures from the sub-step's start. A plate that would give off more at its start
// temperature than it holds (half its exchange with the air and all its losses: a light
// plate, fast air) would have that temperature count against it and end beyond the air
// and its surroundings; all its exchanges then move towards the sub-step's end until its
// start temperature counts for nothing, and it ends between them.
double advance(Segment& s, const Terms& t, const Losses& l, double tin, double ta) {
    const double tp = s.absorber, tb = s.back;
    // Each plate's share of its exchanges taken at the start (1 where it holds them), the
    // rest at the end.
    const double earlyP = t.c1 / 2 + t.c3 + t.r2, earlyB = t.r3 / 2 + t.r4 + t.r2;
    const double keptP = earlyP > t.c2 ? t.c2 / earlyP : 1.0, keptB = earlyB > t.r1 ? t.r1 / earlyB : 1.0;
    const double lateP = 1 - keptP, lateB = 1 - keptB;
    // The exchange with the air moved beyond its mean, and the radiation to the other
    // plate at each plate's end temperature.
    const double dp = t.c1 / 2 * lateP, db = t.r3 / 2 * lateB, endP = lateP * t.r2, endB = lateB * t.r2;
    // Absorber and back plate, each linear in the air leaving: p0 + p1 tf and b0 + b1 tf.
    const double ownP = t.c2 + t.c1 / 2 + lateP * t.c3 + dp, ownB = t.r1 + t.r3 / 2 + lateB * t.r4 + db;
    const double ap = ownP + endP, ab = ownB + endB;
    const double kp = t.c2 * tp + t.qsa - t.c3 * (keptP * tp - ta) - (t.c1 / 2) * (tp - tin) -
                      t.r2 * (keptP * tp - keptB * tb) + dp * tp;
    const double kb = t.r1 * tb - (t.r3 / 2) * (tb - tin) + t.r2 * (keptP * tp - keptB * tb) -
                      t.r4 * (keptB * tb - ta) + db * tb;
    // In shares of the diagonal, which no product of two coefficients can overflow; the
    // determinant as a sum, which keeps its digits where the plates' radiation to each
    // other outweighs all else. bp, bb: the back plate's end temperature in the two
    // balances; pp, pb: the absorber's.
    const double bp = endB / ap, bb = endB / ab, pp = endP / ap, pb = endP / ab, sp = ownP / ap, sb = ownB / ab;
    const double det = bb * sp + pp * sb + sp * sb;
    const double p0 = (kp / ap + bp * kb / ab) / det, p1 = (t.c1 / 2 / ap + bp * t.r3 / 2 / ab) / det;
    const double b0 = (kb / ab + pb * kp / ap) / det, b1 = (t.r3 / 2 / ab + pb * t.c1 / 2 / ap) / det;
    const double taken = t.w3 * tin + (t.c1 / 2) * (tp - tin + p0) + (t.r3 / 2) * (tb - tin + b0) + dp * (p0 - tp) +
                         db * (b0 - tb);
    const double given = (t.c1 / 2) * (1 - p1) + (t.r3 / 2) * (1 - b1) - dp * p1 - db * b1;
    double tf = taken / (t.w3 + given), mean = tf;  // `mean`: the outlet the air's mean stands for
    // With the air's mean halfway between inlet and outlet, air passing slowly by plates
    // far from its inlet's temperature would leave beyond every surface it meets. It
    // leaves then at the nearest one's temperature, and the plates see the air at the
    // mean that gives them what it takes up.
    const double lastP = p0 + p1 * tf, lastB = b0 + b1 * tf;
    const double lowest = std::min({tin, tp, tb, lastP, lastB}), highest = std::max({tin, tp, tb, lastP, lastB});
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
    // no shorter than an equal share of the step among as many as the bound allows. How
    // far a plate's exchanges then move towards the sub-step's end is settled within it.
    const double most = std::max(1.0, std::floor(kMaxSegmentSteps / segments));
    const double shortest = length / most;

    std::array<Losses, kMaxSegments> losses;
    RowStep result{w.inlet, 0};
    double remaining = length;
    while (remaining > 0) {
        double h = std::min(kSubStep, remaining);
        for (std::size_t j = 0; j < row.size(); ++j) {
            const Losses& l = losses[j] =
                aircollector::losses(c, row[j].absorber, row[j].cover, row[j].back, w.ambient, sky, w.wind, w.pressure);
            h = std::min(h, r1 / ((l.hrpb + ub) * a));
            if (l.uf + l.hrpb > 0) h = std::min(h, c2 / ((l.uf + l.hrpb) * a));
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
            tin = advance(row[j], t, l, tin, w.ambient);
        }
        result.outlet = tin;
        ++result.subSteps;
        remaining -= h;
    }
    return result;
}

}  // namespace vireo::st::aircollector
