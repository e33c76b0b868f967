// The heat exchangers through the block harness. HXXI against one cell of its balance
// written here on its own with the icing search as a literal loop, against the energy
// balance of the two streams, and, dry, against the effectiveness of cross-flow with
// both streams unmixed (Incropera and DeWitt, Fundamentals of Heat and Mass Transfer,
// Table 11.3) at its own transfer coefficients. HXS against the effectiveness-NTU
// relations of Kays and London / Incropera Table 11.3; HXC's three cases.
#include "block_harness.h"
#include "message_capture.h"
#include "psychrometrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using vireo_test::BlockInstance;
using vireo_test::messagesOf;

namespace {

vireo_test::BlockFunction block(const char* routine) { return vireo_test::library("VireoST").block(routine); }

// A plate exchanger of 0.3 m by 0.3 m, 50 channels a side of 4 mm, plain.
struct Plates {
    float channels = 50, height = 0.004f, width = 0.3f, length = 0.3f, plate = 0.0005f, kind = 1, rib = 0.0005f,
          ribsSupply = 10, ribsExhaust = 10, lambda = 200, u = 1, v = 1, p = 100000;
    std::vector<float> list() const {
        return {channels, height, width, length, channels, height, width, length, plate, kind,
                rib,      ribsSupply, ribsExhaust, lambda, u, v, p};
    }
};

BlockInstance hxxi(const Plates& x) {
    BlockInstance b(block("st0017"), {.inputs = 6, .parameters = x.list()});
    EXPECT_EQ(b.init(), 0);
    return b;
}

struct Streams {
    double tz, rfz, ta, rfa, flowZ, flowA;
    std::vector<float> list() const {
        return {float(tz), float(rfz), float(ta), float(rfa), float(flowZ), float(flowA)};
    }
};

// The exchanger's air and water, as its documentation gives them.
double psat(double t) {
    return 611 * std::exp(-1.91275e-4 + 0.07258 * t - 2.939e-4 * t * t + 9.841e-7 * t * t * t - 1.92e-9 * t * t * t * t);
}
double rho(double t, double phi, double p) { return ((p - phi * psat(t)) / 287 + phi * psat(t) / 462) / (273.15 + t); }
double lam(double t) { return (24.558 + 0.07295 * t) / 1000; }
double cpAir(double t) { return 1006 + 0.05 * t; }
// Liquid water, and what condensing vapour gives up, from air at t to water at the plate
// at tp: the vapour as the air carries it, from the heat of evaporation at 0 degC.
double liquid(double t) { return 1000 * (-0.0225 + 4.2063437 * t - 6.014696e-4 * t * t + 4.381537e-6 * t * t * t); }
double condensing(double t, double tp) { return 1000 * 2501.482 - liquid(tp) + 1875 * t; }
double ratio(double phi, double t, double p) { return 0.622 * phi * psat(t) / (p - phi * psat(t)); }

// Plain channel: the convective coefficient at air temperature t and relative humidity
// phi, for a side's mass flow; re is set.
double coefficient(const Plates& x, double t, double phi, double massFlow, double& re) {
    const double r = rho(t, phi, x.p), ny = 1e-6 * (13.278 + 0.09485 * t) / r;
    const double dh = 4.0 * x.width * x.height / (2.0 * (x.width + x.height));
    re = dh * massFlow / (x.channels * r * x.width * x.height) / ny;
    const double pr = cpAir(t) * ny * r / lam(t);
    double nu;
    if (re < 2600) {
        const double X = re * pr * dh / x.length;
        nu = std::cbrt(std::pow(7.541, 3) + std::pow(1.841 * std::cbrt(X), 3) +
                       std::pow(std::pow(2 / (1 + 22 * pr), 1.0 / 6) * std::sqrt(X), 3));
    } else {
        nu = 0.116 * (std::pow(re, 2.0 / 3) - 125) * std::cbrt(pr) * (1 + std::pow(dh / x.length, 2.0 / 3));
    }
    return lam(t) * nu / dh;
}

// One cell (u = v = 1) as the exchanger's documentation writes it, the icing search a
// literal loop, the searches for the dew point and saturation by halving; the condensate
// no more than the exhaust air holds above saturation at the plate; the cells' flows the
// dry air's.
std::vector<double> oneCell(const Plates& x, const Streams& s) {
    const double p = x.p, ta = s.ta, tz = s.tz;
    const double xa = ratio(s.rfa, ta, p), xz = ratio(s.rfz, tz, p);
    const double mzulg = s.flowZ * rho(tz, s.rfz, p), mablg = s.flowA * rho(ta, s.rfa, p);
    const double pz = s.rfz * psat(tz), pa = s.rfa * psat(ta);
    const double a = double(x.width) * x.length;
    const double mzul = s.flowZ * (p - pz) / (287 * (273.15 + tz)) / (x.channels * 2),
                 mabl = s.flowA * (p - pa) / (287 * (273.15 + ta)) / (x.channels * 2);
    double reA, reZ;
    const double hcabl = coefficient(x, ta, s.rfa, mablg, reA), hczul = coefficient(x, tz, s.rfz, mzulg, reZ);
    const double wall = double(x.plate) / x.lambda;
    const double kwert = 1 / (1 / hcabl + 1 / hczul + wall);
    const double towt = ta - kwert / hcabl * (ta - tz);
    const double rhoA = rho(ta, s.rfa, p), aleita = lam(ta) / (rhoA * cpAir(ta));
    const double delta = 2.26e-5 / (p / 100000) * std::pow((273.15 + ta) / 273, 1.81);
    const double beta = hcabl / (std::pow(aleita / delta, reA < 2300 ? 2.0 / 3 : 0.58) * cpAir(ta) * rhoA);
    double dm = std::max(0.0, beta * a / (461.527 * (273.15 + towt)) * (pa - psat(towt)));
    dm = std::min(dm, std::max(0.0, mabl * (xa - 0.622 * psat(towt) / (p - psat(towt)))));
    const double z1 = 1 / (wall + 1 / hczul), b1 = hcabl / (hcabl + z1), b2 = z1 / (hcabl + z1),
                 b3 = 1 / (hcabl + z1);
    const double c2 = z1 * a / (2 * mzul), c3 = z1 * a / mzul, c1 = cpAir(tz) + 1875 * xz + c2 * (b2 - 1),
                 c4 = cpAir(tz) + 1875 * xz - c2 * (b2 - 1);
    const double g = hcabl * a / (2 * mabl);
    double tabl = 0, tzul = 0, towta = 0;
    const auto outlets = [&](double m, double h) {
        const double dx = m / mabl, cx = cpAir(ta) + 1875 * (xa - dx);
        const double k1 = g * (1 - b1 - b1 * b2 * c2 / c4) - cx, k2 = g * (b2 + b2 * c1 / c4),
                     k3 = g * (2 * b3 + b2 * b3 * c3 / c4), k4 = -cx - g * (1 - b1 - b1 * b2 * c2 / c4);
        const double load = dx * (condensing(ta, towt) + h);
        tabl = ta * k1 / k4 - tz * k2 / k4 - (mabl / a) * (k3 / k4) * load;
        tzul = (c1 / c4) * tz + (b1 * c2 / c4) * (tabl + ta) + (mabl / a) * (b3 * c3 / c4) * load;
        towta = 0.5 * b1 * (tabl + ta) + 0.5 * b2 * (tzul + tz) + b3 * (mabl / a) * load;
    };
    outlets(dm, 0);
    double hs = 0;
    if (towta <= 0) {
        hs = 335100;
        do {
            hs -= 100;
            outlets(dm, hs);
        } while (towta > 0 && hs > 0);
    }
    // No warmer than the exhaust's dew point, frozen wholly where that is at or below 0;
    // the supply air no warmer than that dew point either, unless the sensible heat
    // alone takes it further.
    const double dew = psychro::bisect([&](double t) { return psat(t) - pa; }, -100, ta);
    if (dm > 0 && psat(towta) > pa) {
        hs = dew > 0 ? 0 : 335000;
        dm = psychro::bisect([&](double m) { return outlets(m, hs), towta - dew; }, 0, dm);
    }
    outlets(0, 0);
    const double highest = std::max(dew, tzul);
    if (outlets(dm, hs), tzul > highest)
        dm = psychro::bisect([&](double m) { return outlets(m, hs), tzul - highest; }, 0, dm);
    outlets(dm, hs);
    // Beyond saturation at the outlet the rest condenses in the air, warming it.
    double xout = xa - dm / mabl, fog = 0;
    if (xout > ratio(1, tabl, p)) {
        const double t0 = tabl, x0 = xout;
        tabl = psychro::bisect(
            [&](double t) {
                const double xs = std::min(x0, ratio(1, t, p));
                return (cpAir(t0) + 1875 * xs) * (t - t0) - (x0 - xs) * condensing(t0, t);
            },
            t0, t0 + 30);
        xout = ratio(1, tabl, p);
        fog = mabl * (x0 - xout);
    }
    const double perHour = 2.0 * x.channels * 3600;
    return {tzul, p * xz / (psat(tzul) * (0.622 + xz)), tabl, p * xout / (psat(tabl) * (0.622 + xout)), xa - xout,
            (dm + fog) * perHour, dm * hs / 335000 * perHour};
}

}  // namespace

TEST(Hxxi, OneCellFollowsItsBalanceAndTheIcingSearch) {
    const Plates x;
    int freezing = 0, partly = 0;
    // Dry, condensing, freezing wholly or in part, turbulent channels, fog at the outlet,
    // and a plate held at the dew point. With the inlets crossed over the supply air
    // condenses alike: the plates are the same on both sides.
    for (const Streams s :
         {Streams{0, 0.5, 20, 0.1, 0.1, 0.1}, Streams{-5, 0.8, 22, 0.6, 0.1, 0.12}, Streams{-20, 0.8, 5, 0.9, 0.1, 0.08},
          Streams{-12, 0.8, 6, 0.9, 0.1, 0.1}, Streams{-26, 0.8, 12, 0.9, 0.1, 0.1}, Streams{-25, 0.5, 2, 0.9, 0.15, 0.05},
          Streams{-8, 0.5, 21, 0.5, 0.4, 0.4}, Streams{-10, 0.5, 32, 0.98, 0.05, 0.16},
          Streams{10, 0.5, 30, 1, 0.05, 0.3}}) {
        BlockInstance b = hxxi(x);
        const std::vector<float> out = b.step(s.list());
        const std::vector<double> ref = oneCell(x, s);
        SCOPED_TRACE(testing::Message() << "supply " << s.tz << " exhaust " << s.ta);
        for (std::size_t i = 0; i < 7; ++i) EXPECT_NEAR(out[i], ref[i], 2e-4 * std::fabs(ref[i]) + 1e-6) << i;
        for (std::size_t i : {0u, 2u}) {
            EXPECT_GE(out[i], std::min(s.tz, s.ta) - 1e-4) << i;
            EXPECT_LE(out[i], std::max(s.tz, s.ta) + 1e-4) << i;
        }
        freezing += ref[6] > 0;
        partly += ref[6] > 0 && ref[6] < ref[5] * 0.999;
        const std::vector<float> crossed = b.step({float(s.ta), float(s.rfa), float(s.tz), float(s.rfz), float(s.flowA),
                                                   float(s.flowZ)});
        const std::vector<float> expected = {out[2], out[3], out[0], out[1], 0, out[5], out[6]};
        for (std::size_t i = 0; i < 7; ++i) EXPECT_NEAR(crossed[i], expected[i], 1e-5 * std::fabs(expected[i])) << i;
    }
    EXPECT_GE(freezing, 2);
    EXPECT_GE(partly, 1);
}

// Random plates and inlets, winter and summer: whichever stream is the warmer is cooled
// and condenses, and may ice the plate. The humidity ratios are the exchanger's own (its
// fit of the saturation pressure, which its humidities are relative to); the enthalpies
// and the saturation that no outlet may pass are ASHRAE's (psychrometrics.h). The heat
// the streams give and take, with the water they shed, must balance within 0.5 % of the
// heat moved: the fits differ from ASHRAE's by less than 0.2 % of it; beside that, what
// the grid's single-precision temperatures resolve, 1e-5 K of both streams. The water
// shed leaves at the plate, which lies between the inlets: the balance holds for a water
// temperature there. Relative humidity within 1.005, what the two saturation pressures
// differ by above -20 degC. The flows reach down to a trickle and the grids and channel
// counts differ across the two streams: a small cool stream once took most of the heat
// the warm one's water set free (inlets at -5.8 and 39 degC left at 61 and 60 degC), and
// counts of 44 and 3 channels had the supply take 15 times what the exhaust gave. Air at
// 93 degC shedding fog once warmed to 106 degC, where the saturation fit bends back.
TEST(Hxxi, SweptStatesBalanceHeatAndWaterAndStayUnsaturated) {
    struct Case {
        Streams s;
        float u, v, supplyChannels, exhaustChannels, kind, p;
    };
    std::vector<Case> cases = {{{0, 0.5, 22, 0.6, 0.1, 0.1}, 40, 40, 50, 50, 1, 100000},
                               {{-10, 0.8, 20, 0.5, 0.12, 0.08}, 40, 40, 50, 50, 1, 100000},
                               {{5, 0.5, 25, 0.1, 0.1, 0.15}, 40, 40, 50, 50, 1, 100000},
                               {{30, 0.8, 22, 0.5, 0.04, 0.04}, 10, 10, 100, 100, 1, 101325},
                               {{-5.76, 0.907, 38.97, 0.914, 3.09e-4, 2.64e-3}, 28, 1, 106, 106, 1, 101042},
                               {{-13, 0.77, -0.17, 0.35, 5.63e-4, 0.447}, 3, 39, 44, 3, 1, 98488},
                               {{93.28, 0.858, 71.37, 0.302, 0.107, 0.0147}, 7, 6, 155, 155, 2, 100081}};
    std::mt19937 random(52);
    const auto draw = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const auto count = [&](double most) { return std::round(float(draw(1, most))); };
    while (cases.size() < 150) {
        const Streams s{draw(-20, 38), draw(0.05, 1), draw(12, 32), draw(0.05, 1),
                        std::exp(draw(std::log(1e-3), std::log(0.3))), std::exp(draw(std::log(1e-3), std::log(0.3)))};
        const float supplyChannels = count(200);
        cases.push_back({s, count(20), count(20), supplyChannels, draw(0, 1) < 0.5 ? supplyChannels : count(200),
                         draw(0, 1) < 0.5 ? 1.0f : 2.0f, float(draw(95000, 101325))});
    }
    int supplyWet = 0, exhaustWet = 0, iced = 0, dry = 0;
    for (std::size_t n = 0; n < cases.size(); ++n) {
        const Case& k = cases[n];
        Plates x;
        x.u = k.u;
        x.v = k.v;
        x.channels = k.supplyChannels;
        x.kind = k.kind;
        x.p = k.p;
        std::vector<float> parameters = x.list();
        parameters[4] = k.exhaustChannels;
        const std::vector<float> in = k.s.list();
        BlockInstance b(block("st0017"), {.inputs = 6, .parameters = parameters});
        ASSERT_EQ(b.init(), 0);
        const std::vector<float> out = b.step(in);
        SCOPED_TRACE(testing::Message() << "state " << n << " in " << testing::PrintToString(in) << " out "
                                        << testing::PrintToString(out));
        const double p = x.p;
        // The exchanger's humidity ratio of a temperature and relative humidity; the dry air.
        const auto ratioOf = [&](double t, double phi) { return ratio(phi, t, p); };
        const auto dryAir = [&](double flow, double t, double phi) {
            return flow * (p - phi * psat(t)) / (287.0 * (273.15 + t));
        };
        const double mz = dryAir(in[4], in[0], in[1]), ma = dryAir(in[5], in[2], in[3]);
        const double xz = ratioOf(in[0], in[1]), xa = ratioOf(in[2], in[3]);
        const double xzOut = ratioOf(out[0], out[1]), xaOut = ratioOf(out[2], out[3]);
        // Water: the condensate is what the streams lost.
        const double water = out[5] / 3600.0, ice = out[6] / 3600.0;
        const double lost = mz * (xz - xzOut) + ma * (xa - xaOut);
        EXPECT_NEAR(water, lost, 0.005 * water + 1e-8);
        EXPECT_NEAR(out[4], xa - xaOut, 1e-6 + 1e-3 * out[4]);
        EXPECT_GE(ice, 0.0);
        EXPECT_LE(ice, water * (1 + 1e-6));
        // Heat: both streams and the water at a temperature between the inlets.
        // J per kg dry air, x in kg/kg.
        const auto h = [](double t, double x) { return 1e3 * psychro::enthalpy(t, 1e3 * x); };
        const double gained = mz * (h(out[0], xzOut) - h(in[0], xz));
        const double given = ma * (h(in[2], xa) - h(out[2], xaOut));
        const auto residual = [&](double tc) {
            return given - gained - (water - ice) * 4186.0 * tc - ice * (-333400.0 + 2100.0 * tc);
        };
        const double lo = std::min(in[0], in[2]), hi = std::max(in[0], in[2]);
        const double miss = residual(lo) * residual(hi) <= 0 ? 0.0 : std::min(std::fabs(residual(lo)), std::fabs(residual(hi)));
        EXPECT_LE(miss, 0.005 * std::max(std::fabs(gained), std::fabs(given)) + 1e-5 * 1006 * (mz + ma));
        // Outlets between the inlets, neither supersaturated.
        for (std::size_t o : {0u, 2u}) {
            EXPECT_GE(out[o], lo - 1e-4);
            EXPECT_LE(out[o], hi + 1e-4);
            const double phi = out[o + 1] * psat(out[o]) / psychro::saturationOverWater(out[o]);
            EXPECT_GE(phi, 0.0);
            EXPECT_LE(phi, 1.005);
        }
        supplyWet += xzOut < xz - 1e-6;
        exhaustWet += out[4] > 1e-6f;
        iced += out[6] > 0;
        dry += out[5] == 0;
        if (n == 2) {  // a warm, dry exhaust: nothing condenses, to the bit
            EXPECT_EQ(out[4], 0.0f);
            EXPECT_EQ(out[5], 0.0f);
            EXPECT_EQ(out[6], 0.0f);
            EXPECT_NEAR(out[3], p * xa / (psat(out[2]) * (0.622 + xa)), 1e-5);
        }
    }
    EXPECT_GE(supplyWet, 10);
    EXPECT_GE(exhaustWet, 30);
    EXPECT_GE(iced, 10);
    EXPECT_GE(dry, 10);
}

TEST(Hxxi, DryCrossFlowMeetsTheUnmixedEffectiveness) {
    Plates x;
    x.u = x.v = 60;
    // Laminar channels throughout, away from the correlations' switch at Re 2600.
    for (const Streams s : {Streams{0, 0.3, 20, 0.1, 0.1, 0.1}, Streams{0, 0.3, 20, 0.1, 0.05, 0.1},
                            Streams{-5, 0.3, 25, 0.05, 0.15, 0.05}}) {
        BlockInstance b = hxxi(x);
        const std::vector<float> out = b.step(s.list());
        ASSERT_EQ(out[5], 0.0f);
        const double p = x.p, tz = (s.tz + out[0]) / 2, ta = (s.ta + out[2]) / 2;
        const double mzg = s.flowZ * rho(s.tz, s.rfz, p), mag = s.flowA * rho(s.ta, s.rfa, p);
        const double cz = mzg / (2 * x.channels) * (cpAir(tz) + 1875 * ratio(s.rfz, s.tz, p));
        const double ca = mag / (2 * x.channels) * (cpAir(ta) + 1875 * ratio(s.rfa, s.ta, p));
        double re;
        // Each side at its mean temperature and the humidity of its inlet.
        const double hz = coefficient(x, tz, s.rfz * psat(s.tz) / psat(tz), mzg, re),
                     ha = coefficient(x, ta, s.rfa * psat(s.ta) / psat(ta), mag, re);
        const double ua = double(x.width) * x.length / (1 / ha + 1 / hz + double(x.plate) / x.lambda);
        const double cmin = std::min(cz, ca), cr = cmin / std::max(cz, ca), ntu = ua / cmin;
        const double eps = 1 - std::exp(std::pow(ntu, 0.22) / cr * (std::exp(-cr * std::pow(ntu, 0.78)) - 1));
        const double q = cz * (out[0] - s.tz);
        SCOPED_TRACE(testing::Message() << "ntu " << ntu << " cr " << cr);
        EXPECT_NEAR(q / (cmin * (s.ta - s.tz)), eps, 0.02 * eps);
        EXPECT_NEAR(q, ca * (s.ta - out[2]), 0.005 * q);
    }
}

TEST(Hxxi, GridConvergesAndTinyFlowsStayBounded) {
    Plates coarse, fine;
    coarse.u = coarse.v = 100;
    fine.u = fine.v = 199;
    const Streams s{-10, 0.8, 21, 0.5, 0.1, 0.1};
    BlockInstance a = hxxi(coarse), b = hxxi(fine);
    const std::vector<float> ra = a.step(s.list()), rb = b.step(s.list());
    EXPECT_NEAR(ra[0], rb[0], 0.02);
    EXPECT_NEAR(ra[2], rb[2], 0.02);
    EXPECT_NEAR(ra[5], rb[5], 0.01 * rb[5]);

    // Flows so small that a cell's transfer units run into thousands: sub-cells, then a
    // held transfer; the outlets stay between the inlets.
    Plates small;
    small.u = small.v = 10;
    for (float flow : {1e-6f, 1e-9f, 1e-20f}) {
        BlockInstance c = hxxi(small);
        const std::vector<float>& out = c.step({-10, 0.8f, 21, 0.5f, flow, flow});
        for (float o : out) EXPECT_TRUE(std::isfinite(o));
        EXPECT_GE(out[0], -10.01f);
        EXPECT_LE(out[0], 21.01f);
        EXPECT_GE(out[2], -10.01f);
        EXPECT_LE(out[2], 21.01f);
        EXPECT_GE(out[6], 0.0f);
        EXPECT_LE(out[6], out[5]);
    }

    // Cell counts changed during the run change the grid: the step is that of a block
    // made with the new counts. (A grid kept from initialisation averaged its rows over
    // the new count: the exhaust left at 54 degC between inlets of 0 and 22 degC.)
    Plates ten;
    ten.u = ten.v = 10;
    BlockInstance changed = hxxi(ten);
    const Streams w{0, 0.5, 22, 0.5, 0.1, 0.1};
    changed.step(w.list());
    for (const auto& [u, v] : {std::pair{5.0f, 10.0f}, {20.0f, 10.0f}, {10.0f, 3.0f}, {10.0f, 199.0f}}) {
        changed.changeParameter(14, u);
        changed.changeParameter(15, v);
        Plates made = ten;
        made.u = u;
        made.v = v;
        EXPECT_EQ(changed.step(w.list()), hxxi(made).step(w.list())) << u << " by " << v;
    }
}

TEST(Hxxi, StoppedStreamsChecksAndBadInputs) {
    const Plates x;
    BlockInstance b = hxxi(x);
    for (float stopped : {0.0f, -0.2f}) {
        EXPECT_EQ(b.step({-5, 0.8f, 22, 0.4f, stopped, 0.1f}), (std::vector<float>{22, 0.4f, -5, 0.8f, 0, 0, 0}));
        EXPECT_EQ(b.step({-5, 0.8f, 22, 0.4f, 0.1f, stopped}), (std::vector<float>{22, 0.4f, -5, 0.8f, 0, 0, 0}));
    }
    struct Case {
        int parameter;
        float value;
        int code;
    };
    for (const Case k : {Case{14, 0.5f, 305760}, Case{15, 200, 305760}, Case{0, 0.9f, 305760}, Case{4, -1, 305760},
                         Case{1, 0, 308001}, Case{8, -1e-3f, 308001}, Case{13, 0, 305173}, Case{16, 0, 305761}}) {
        std::vector<float> p = x.list();
        p[static_cast<std::size_t>(k.parameter)] = k.value;
        BlockInstance bad(block("st0017"), {.inputs = 6, .parameters = p});
        EXPECT_EQ(messagesOf([&] { bad.init(); }).codes, std::vector<int>{k.code}) << k.parameter;
        for (float o : bad.step({-5, 0.8f, 22, 0.4f, 0.1f, 0.1f})) EXPECT_TRUE(std::isfinite(o));
    }
    // Ribbed: the ribs must leave room in the channel; plain channels ignore them.
    Plates ribbed = x;
    ribbed.kind = 2;
    ribbed.ribsSupply = 600;  // 0.3 m of ribs in a 0.3 m channel
    BlockInstance full(block("st0017"), {.inputs = 6, .parameters = ribbed.list()});
    EXPECT_EQ(messagesOf([&] { full.init(); }).codes, std::vector<int>{305762});
    ribbed.ribsSupply = 0;
    BlockInstance none(block("st0017"), {.inputs = 6, .parameters = ribbed.list()});
    EXPECT_EQ(none.init(), 305760);
    ribbed.kind = 1;
    hxxi(ribbed);

    // Counts changed to 0 during the run (the ribs too, refused as their tie to the kind
    // of channels), and inputs out of range: no division by 0.
    ribbed.kind = 2;
    ribbed.ribsSupply = 10;
    BlockInstance run = hxxi(ribbed);
    const std::vector<float> before = run.step({-5, 0.8f, 22, 0.4f, 0.1f, 0.1f});
    for (float o : before) EXPECT_TRUE(std::isfinite(o));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    messagesOf([&] {
        for (int i : {0, 4, 11, 12, 14, 15}) {
            const float kept = run.BP[static_cast<std::size_t>(i)];
            run.changeParameter(i, 0);
            EXPECT_EQ(run.step(), before) << i;
            run.changeParameter(i, kept);
        }
        for (const std::vector<float>& in : std::vector<std::vector<float>>{
                 {0, 0, 0, 0, 0, 0}, {20, 1, 20, 1, 1, 1}, {-60, 2, 90, -1, 5, 5}, {500, 0.5f, 20, 0.5f, 1, 1},
                 {nan, 0.5f, 20, 0.5f, 1, 1}, {20, 0.5f, 20, 0.5f, 1e30f, 1e-30f}})
            for (float o : run.step(in)) EXPECT_TRUE(std::isfinite(o));
    });
}

namespace {

struct Hxs {
    float arrangement, ua, cpHot, cpCold;
};

BlockInstance hxs(const Hxs& h) {
    BlockInstance b(block("st0015"), {.inputs = 4, .parameters = {h.arrangement, h.ua, h.cpHot, h.cpCold}});
    EXPECT_EQ(b.init(), 0);
    return b;
}

// Kays and London; Incropera and DeWitt, Table 11.3 (cr = Cmin/Cmax).
double parallelFlow(double ntu, double cr) { return (1 - std::exp(-ntu * (1 + cr))) / (1 + cr); }
double counterFlow(double ntu, double cr) {
    return cr == 1 ? ntu / (1 + ntu) : (1 - std::exp(-ntu * (1 - cr))) / (1 - cr * std::exp(-ntu * (1 - cr)));
}
double crossCmaxMixed(double ntu, double cr) { return (1 - std::exp(-cr * (1 - std::exp(-ntu)))) / cr; }
double crossCminMixed(double ntu, double cr) { return 1 - std::exp(-(1 - std::exp(-cr * ntu)) / cr); }

}  // namespace

TEST(Hxs, EffectivenessOfTheThreeArrangements) {
    // Hot flows of 0.5 and 2 kg/s against 1 kg/s cold, both of 1000 J/(kg K).
    for (double ntu : {0.01, 0.5, 1.0, 3.0, 8.0}) {
        for (float hotFlow : {0.5f, 2.0f, 1.0f}) {
            const double ch = 1000.0 * hotFlow, cc = 1000.0, cmin = std::min(ch, cc), cr = cmin / std::max(ch, cc);
            const float ua = static_cast<float>(ntu * cmin);
            for (int mode : {0, 1, 2}) {
                BlockInstance b = hxs({float(mode), ua, 1000, 1000});
                const std::vector<float>& out = b.step({80, hotFlow, 20, 1});
                const double n = ua / cmin;
                // The cold stream is mixed: the smaller one when the hot flow is larger.
                const double expected = mode == 0   ? parallelFlow(n, cr)
                                        : mode == 1 ? counterFlow(n, cr)
                                        : ch >= cc  ? crossCminMixed(n, cr)
                                                    : crossCmaxMixed(n, cr);
                SCOPED_TRACE(testing::Message() << "mode " << mode << " ntu " << ntu << " hot " << hotFlow);
                EXPECT_NEAR(out[2], expected, 1e-6);
                EXPECT_NEAR(out[3], 60 * expected * cmin, 1e-4 * out[3] + 1e-6);
                EXPECT_NEAR(ch * (80 - out[0]), out[3], 1e-4 * out[3] + 1e-3);
                EXPECT_NEAR(cc * (out[1] - 20), out[3], 1e-4 * out[3] + 1e-3);
            }
        }
    }
    // Limits: no transfer units, and very many (counter-flow to 1, parallel to 1/(1 + Cr)).
    EXPECT_NEAR(hxs({1, 1e-3f, 1000, 1000}).step({80, 1, 20, 2})[2], 1e-6, 1e-9);
    EXPECT_NEAR(hxs({1, 1e7f, 1000, 1000}).step({80, 1, 20, 2})[2], 1.0, 1e-6);
    EXPECT_NEAR(hxs({0, 1e7f, 1000, 1000}).step({80, 1, 20, 2})[2], 1 / 1.5, 1e-6);
    EXPECT_NEAR(hxs({2, 1e7f, 1000, 1000}).step({80, 1, 20, 2})[2], (1 - std::exp(-0.5)) / 0.5, 1e-6);
}

TEST(Hxs, NearlyEqualCapacityFlowsTakeTheLimit) {
    // Capacity flows a few units in the last place apart are the equal case, not 0.
    for (float cold : {1.0f, std::nextafter(1.0f, 2.0f), std::nextafter(1.0f, 0.0f), 1.00001f}) {
        BlockInstance b = hxs({1, 2000, 1000, 1000});
        const std::vector<float>& out = b.step({80, 1, 20, cold});
        EXPECT_NEAR(out[2], 2.0 / 3.0, 1e-5) << cold;
        EXPECT_NEAR(out[3], 60 * 2.0 / 3 * 1000, 0.5);
    }
    // Either sign of the difference; a stream at rest passes through.
    BlockInstance b = hxs({1, 2000, 1000, 1000});
    EXPECT_NEAR(b.step({20, 1, 80, 1})[3], -40000, 1);
    for (const std::vector<float>& in : {std::vector<float>{80, 0, 20, 1}, {80, 1, 20, -1}})
        EXPECT_EQ(b.step(in), (std::vector<float>{80, 20, 0, 0}));
}

TEST(Hxs, ParametersAndBadInputs) {
    struct Case {
        Hxs h;
        int code;
    };
    for (const Case k : {Case{{3, 1, 1, 1}, 305011}, Case{{-1, 1, 1, 1}, 305011}, Case{{1, 0, 1, 1}, 305183},
                         Case{{1, 1, -1, 1}, 305184}, Case{{1, 1, 1, 0}, 305184}}) {
        BlockInstance b(block("st0015"), {.inputs = 4, .parameters = {k.h.arrangement, k.h.ua, k.h.cpHot, k.h.cpCold}});
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, std::vector<int>{k.code});
        for (float o : b.step({80, 1, 20, 1})) EXPECT_EQ(o, 0.0f);  // refused: never stepped
    }
    // The arrangement slot keeps round(mode) + 1, saturated at the int range, never wrapped.
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (const auto& [mode, slot] : std::vector<std::pair<float, int>>{
             {3e9f, INT_MAX}, {inf, INT_MAX}, {-3e9f, INT_MIN}, {-inf, INT_MIN}, {nan, 0}, {2.5f, 4}}) {
        BlockInstance b(block("st0015"), {.inputs = 4, .parameters = {mode, 1, 1, 1}});
        EXPECT_EQ(messagesOf([&] { b.init(); }).codes, std::vector<int>{305011}) << mode;
        EXPECT_EQ(b.IP[10], slot) << mode;
    }
    BlockInstance b = hxs({2, 500, 1000, 4000});
    const float big = 3e38f;
    messagesOf([&] {
        for (const std::vector<float>& in : std::vector<std::vector<float>>{
                 {0, 0, 0, 0}, {20, 1, 20, 1}, {-big, big, big, 1e-38f}, {big, 1e-38f, -big, big}, {80, 1e-30f, 20, 1e30f}})
            for (float o : b.step(in)) EXPECT_TRUE(std::isfinite(o));
    });
}

TEST(Hxc, BypassNoneAndFullEffectiveness) {
    const auto hxc = [](float eps, float power) {
        BlockInstance b(block("st0005"), {.inputs = 3, .parameters = {eps, power}});
        EXPECT_EQ(b.init(), 0);
        return b;
    };
    EXPECT_EQ(hxc(0.7f, 150).step({0, 20, 0}), (std::vector<float>{0, 20, 0}));
    EXPECT_EQ(hxc(1, 150).step({0, 20, 1}), (std::vector<float>{20, 0, 150}));
    EXPECT_EQ(hxc(0, 150).step({0, 20, -1}), (std::vector<float>{0, 20, 150}));
    BlockInstance running = hxc(0.7f, 150);
    const std::vector<float>& out = running.step({-10, 20, 1});
    EXPECT_NEAR(out[0], 11, 1e-5);
    EXPECT_NEAR(out[1], -1, 1e-5);
    BlockInstance bad(block("st0005"), {.inputs = 3, .parameters = {std::numeric_limits<float>::infinity(), 1}});
    EXPECT_EQ(messagesOf([&] { bad.init(); }).codes, std::vector<int>{305189});
}
