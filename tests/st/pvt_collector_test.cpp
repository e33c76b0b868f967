// The PV-thermal collector's sub-models as libVireoST exports them, each against its
// formula written out here in double with the same constants (to 1e-12 of the value),
// and the water properties among them against IAPWS: the saturation pressure (IF97)
// within 0.2 % from the triple point to 100 degC, the dew point as its inverse within
// 0.3 K, the evaporation enthalpy h'' - h' (IAPWS-95) within 0.05 %.
#include "block_harness.h"

#include "../../blocks/st/src/pvt_collector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

struct WaterState {
    double t, pressure, evaporation;
};
#include "pvt_reference.inc"

template <class F>
F routine(const char* name) {
    void* p = vireo_test::library("VireoST").symbol(name);
    if (p == nullptr) throw std::runtime_error(std::string("libVireoST does not export ") + name);
    return reinterpret_cast<F>(p);
}
#define ROUTINE(name) routine<decltype(&name)>(#name)

constexpr double kPi = 3.141592653589793;
constexpr double kSigma = 5.669999936230852e-08;  // 5.67e-08 in single precision
constexpr double kKelvin = 273.15;

double fourth(double t) { return std::pow(t + kKelvin, 4); }
double mean(const std::vector<double>& t) {  // over the segments, the last node left out
    double s = 0;
    for (std::size_t j = 0; j + 1 < t.size(); ++j) s += t[j];
    return s / static_cast<double>(t.size() - 1);
}
void expectClose(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, std::fabs(expected))) << what;
}

}  // namespace

TEST(PvtSubModels, WaterAgainstIapws) {
    const auto ps = ROUTINE(psfeuchteluft);
    const auto td = ROUTINE(tdfeuchteluft);
    const auto dh = ROUTINE(dhvwasser);
    for (const WaterState& w : kWater) {
        SCOPED_TRACE(w.t);
        EXPECT_NEAR(ps(&w.t) / w.pressure, 1.0, 0.002);
        const double p = ps(&w.t);
        EXPECT_NEAR(td(&p), w.t, 0.3);
        EXPECT_NEAR(dh(&w.t) / w.evaporation, 1.0, 0.0005);
    }
    // Outside its two ranges the pressure is 0; 100 degC is the lower formula's.
    for (double t : {0.0, -5.0, 200.001, 1e300, -1e300}) EXPECT_EQ(ps(&t), 0.0) << t;
    const double hundred = 100, above = 150, top = 200;
    expectClose(ps(&hundred), 6.11 * std::exp(0.07257 * 100 - 0.0002937 * 1e4 + 9.81e-07 * 1e6 - 1.901e-09 * 1e8),
                "100 degC");
    const auto upper = [](double t) {
        return 6.11 * std::exp(0.07142753 * t - 0.0002600931 * t * t + 6.432223e-07 * t * t * t -
                               7.410232e-10 * t * t * t * t);
    };
    expectClose(ps(&above), upper(above), "150 degC");
    expectClose(ps(&top), upper(top), "200 degC");
    // No vapour: the dew point formula's limit, also below 0.
    for (double p : {0.0, -1.0}) EXPECT_EQ(td(&p), -237.431) << p;
    const double p = 23.0;
    expectClose(td(&p), 4102.99 / (17.2799 - std::log(p * 0.1 / 0.611657)) - 237.431, "dew point");
}

TEST(PvtSubModels, RadiationAndConvection) {
    const auto net = ROUTINE(nettobestrahlung);
    const auto radiative = ROUTINE(waermeuebergangstr);
    const auto convective = ROUTINE(waermeuebergangkon);
    struct Case {
        double eg, eb, epsalpha, kbn, kd, th, tu, beta, tgr, epsgr;
    };
    const Case cases[] = {{800, 600, 0.9, 1, 0.9, -10, 20, 30, 15, 0.95},
                          {300, 0, 1, 0, 0.8, 5, 12, 90, 10, 0.9},
                          {0, 0, 0.95, 1, 0.9, -20, 10, 0, 5, 0.9},
                          {-5, 10, 0.9, 1, 1, 0, 0, 45, 0, 0},
                          {200, 400, 0.9, 1, 0.7, 10, 25, 60, 20, 0.8}};  // beam above global: no diffuse
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "eg " << c.eg << ", tilt " << c.beta);
        const double fs = (std::cos(kPi * c.beta / 180) + 1) * 0.5;
        const double balance =
            (kSigma * fs * fourth(c.th) + kSigma * (1 - fs) * c.epsgr * fourth(c.tgr) - kSigma * fourth(c.tu)) *
            c.epsalpha;
        double expected = balance;
        if (c.eg > 0) {
            const double ed = std::max(c.eg - c.eb, 0.0);
            expected = (balance + c.eg) * (ed * c.kd / c.eg + c.kbn * (1 - ed / c.eg));
        }
        double enx = -1;
        net(&c.eg, &c.eb, &enx, &c.epsalpha, &c.kbn, &c.kd, &kSigma, &c.th, &c.tu, &c.beta, &kPi, &c.tgr, &c.epsgr);
        expectClose(enx, expected, "net irradiance");

        // The last node is not a segment: a wild value there changes nothing.
        const std::vector<double> tg = {18, 22, 25, 1e6};
        const double nj = 4, eps = 0.9;
        double teff = 0, ustr = 0;
        radiative(&nj, &eps, &kPi, &kSigma, &c.beta, tg.data(), &c.th, &c.tu, &teff, &ustr);
        const double te = std::pow(fourth(c.tu) * (1 - fs) + fourth(c.th) * fs, 0.25);
        expectClose(teff, te - kKelvin, "effective sky temperature");
        const double ts = mean(tg) + kKelvin;
        expectClose(ustr, (te * te + ts * ts) * kSigma * eps * (te + ts), "radiative coefficient");
    }
    // The convective coefficient by the cube root of the sum of cubes; a surface far
    // colder than the air (its natural term below 0) has the forced part alone, where
    // the sum would be negative and its root not a number.
    struct Wind {
        double tsm, tu, vu;
    };
    for (const Wind& w : {Wind{30, 20, 2}, Wind{10, 20, 0}, Wind{-60, 20, 0}, Wind{-60, 20, 3}, Wind{20, 20, -5}}) {
        SCOPED_TRACE(testing::Message() << w.tsm << " " << w.tu << " " << w.vu);
        const std::vector<double> t = {w.tsm, w.tsm, 500};
        const double nj = 3;
        double ukon = -1;
        convective(&nj, t.data(), &w.tu, &w.vu, &ukon);
        const double natural = (w.tsm - w.tu) * 0.123 + 2.7, forced = 2.83 * w.vu + 4.3;
        const double sum = std::pow(std::max(natural, 0.0), 3) + std::pow(std::max(forced, 0.0), 3);
        expectClose(ukon, std::pow(sum, 0.3333333333333333), "convective coefficient");
        if (natural >= 0 && forced >= 0) expectClose(ukon, std::cbrt(natural * natural * natural + forced * forced * forced), "unclamped");
    }
}

TEST(PvtSubModels, CondensationGainsBelowTheDewPointOnly) {
    const auto condensation = ROUTINE(kondensation);
    const auto ps = ROUTINE(psfeuchteluft);
    // Air at 15 degC and 80 %: dew point about 11.6 degC.
    const double tu = 15, pstdu = ps(&tu) * 0.8, tdu = 11.6, pu = 1013, dhvw = 2466, ukon = 12, nj = 5;
    const std::vector<double> ts = {5, 11.6, 0, -3, 20};
    std::vector<double> qk(5, -1);
    condensation(ts.data(), &tdu, &pstdu, &pu, &dhvw, &ukon, &nj, qk.data());
    // The single-precision factors of the Lewis analogy.
    const double air = 0.2870999872684479, vapour = 0.46140000224113464, cp = 1.0069999694824219;
    const double expected = -(ps(&ts[0]) - pstdu) * dhvw * air * 1.097287663733127 * ukon / (pu * vapour * cp);
    EXPECT_GT(expected, 0);
    expectClose(qk[0], expected, "below the dew point");
    EXPECT_EQ(qk[1], 0.0);  // at the dew point
    EXPECT_EQ(qk[2], 0.0);  // at 0 degC and below
    EXPECT_EQ(qk[3], 0.0);
    EXPECT_EQ(qk[4], 0.0);  // above
    // No pressure, no condensation (and no division by it).
    for (double p : {0.0, -1.0}) {
        condensation(ts.data(), &tdu, &pstdu, &p, &dhvw, &ukon, &nj, qk.data());
        for (double q : qk) EXPECT_EQ(q, 0.0) << p;
    }
}

TEST(PvtSubModels, PvModels) {
    const auto model1 = ROUTINE(pvteilmodell1);
    const auto model2 = ROUTINE(pvteilmodell2);
    const std::vector<double> ta = {40, 45, 50, 999};  // mean 45 over the segments
    const double nj = 4, aa = 10, kbnpv = 1, kdpv = 0.9, ct = -0.004, etastc = 0.15;
    const double ik = 8.5, impp = 8, ul = 37, umpp = 30;
    for (double eg : {900.0, 150.0, 0.0}) {
        for (double ppvmode : {1.0, 0.0}) {
            SCOPED_TRACE(testing::Message() << "eg " << eg << ", ppvmode " << ppvmode);
            const double eb = eg * 0.7, tam = 45;
            const double egpv = std::max(eg - eb, 0.0) * kdpv + eb * kbnpv;
            const double eta = egpv <= 0 ? 0 : etastc + 0.04 * etastc * std::log(egpv / 1000);
            const double p1 = aa * (egpv * ct * etastc * (tam - 25) + egpv * eta);
            const double mk = ((impp * 3.417 / ik + umpp * 6.45 / ul) - umpp * impp * 5.411 / (ul * ik) - 4.422) * (ul / ik);
            const double rpv = (1 - ik / impp) * (umpp / impp) - mk * ik / impp;
            const double ut = -ik * (rpv + mk);
            const double relative =
                egpv <= 0 ? 0
                          : ((ut / umpp) * std::log(egpv / 1000) + 1 - (egpv / 1000 - 1) * (rpv * impp / umpp)) *
                                (ct * (tam - 25) + 1);
            const double p2 = aa * etastc * relative * egpv;
            for (int m = 1; m <= 2; ++m) {
                double ppv = -1, egred = -1, ebred = -1;
                if (m == 1)
                    model1(&ppvmode, ta.data(), &aa, &nj, &eg, &eb, &kbnpv, &kdpv, &ct, &etastc, &ppv, &egred, &ebred);
                else
                    model2(&ppvmode, ta.data(), &aa, &nj, &eg, &eb, &kbnpv, &kdpv, &ct, &ik, &impp, &ul, &umpp,
                           &etastc, &ppv, &egred, &ebred);
                const double expected = m == 1 ? p1 : p2;
                expectClose(ppv, expected, "power");
                const double left = ppvmode == 1 ? eg - expected / aa : eg;
                expectClose(egred, left, "global left for heat");
                // Without global irradiance nothing is shared out (no 0/0).
                expectClose(ebred, eg != 0 ? eb * left / eg : eb, "beam left for heat");
                if (eg > 0) {
                    EXPECT_GT(ppv, 0.1 * etastc * aa * eg) << m;
                }
            }
        }
    }
}

TEST(PvtSubModels, InternalCoefficientAndItsCheck) {
    const auto calc = ROUTINE(uintcalc);
    struct Case {
        double alphath, b1, b2, bu, eta0, kmode, taupv;
        int errcode;
    };
    const Case cases[] = {
        {0.9, 12, 0, 0, 0.6, 1, 0.5, 0},      // no wind dependence: one value at every wind
        {0.9, 12, 0, 0, 0.6, 3, 0.9, 0},      // the layer's transmittance in models 3 and 4
        {0.95, 10, 0.5, 0.01, 0.55, 2, 0, 0},  // a weak wind dependence
        {0.9, 11.4, 3.0, 0.05, 0.57, 1, 0, 1},  // an ordinary uncovered collector misses by more than a fifth
        {0.9, -5, 0, 0, 0.5, 1, 0, 1},         // not above 0
        {0.5, 12, 0, 0, 0.6, 1, 0, 1},         // eta0 above alpha: negative
        {0.6, 12, 0, 0, 0.6, 1, 0, 1},         // eta0 equal to alpha: no value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "b1 " << c.b1 << ", b2 " << c.b2 << ", kmode " << c.kmode);
        const double tau = c.kmode < 3 ? 1 : c.taupv;
        const auto at = [&](double u) { return (u * c.b2 + c.b1) / (1 - (1 - c.bu * u) * c.eta0 / (tau * c.alphath)); };
        int errcode = -1;
        double uint = -1;
        calc(&c.alphath, &c.b1, &c.b2, &c.bu, &c.eta0, &c.kmode, &c.taupv, &errcode, &uint);
        EXPECT_EQ(errcode, c.errcode);
        if (std::isfinite(at(1.5))) expectClose(uint, at(1.5), "value at 1.5 m/s");
        if (c.b2 == 0 && c.bu == 0 && c.errcode == 0)
            for (int u = 1; u <= 8; ++u) expectClose(at(u), uint, "same at every wind");
    }
}

// One sub-step written out: the fluid's upwind balance, the absorber through uint, the
// surface between air, absorber and sky; relaxed from the iteration's start.
TEST(PvtSubModels, SegmentStep) {
    const auto step = ROUTINE(thermteilmodell);
    const double aa = 3, nj = 4, enx = 600, eta0 = 0.6, b1 = 10, b2 = 2, bu = 0.03, vu = 2, tu = 15, teff = 5,
                 dtint = 20, ceff = 12000, cf = 4000, ugf = 30, ustr = 5, ukon = 15, mpkt = 150;
    const std::vector<double> tf1 = {25, 26, 27, 28, 29}, qk = {10, 0, 5, 0};
    const std::vector<double> tgStart = {30, 31, 32, 33}, taStart = {29, 30, 31, 32}, tfStart = {25, 27, 28, 29, 30};
    for (double kmode : {1.0, 3.0}) {
        for (double uint : {80.0, 0.0}) {
            for (double relax : {1.0, 0.6}) {
                SCOPED_TRACE(testing::Message() << "kmode " << kmode << ", uint " << uint << ", relax " << relax);
                const bool fromZero = relax == 1.0;  // the plain explicit step
                const std::vector<double> zero(5, 0.0);
                const auto& tgs = fromZero ? zero : tgStart;
                const auto& tas = fromZero ? zero : taStart;
                const auto& tfs = fromZero ? zero : tfStart;
                std::vector<double> tg(4, 50), ta(4, -1), tf2(5, -1);
                tf2[0] = tf1[0];
                step(&kmode, &aa, &nj, &enx, &eta0, &b1, &b2, &bu, &vu, tg.data(), ta.data(), tf1.data(), tf2.data(),
                     &tu, &teff, &dtint, &ceff, &cf, &uint, &ugf, &ustr, &ukon, qk.data(), &mpkt, tgs.data(),
                     tas.data(), tfs.data(), &relax);
                const double r = dtint / ceff, g = cf * 3 * mpkt / (aa * 3600);
                const double a0 = (1 - bu * vu) * r * enx * eta0, a1 = (vu * b2 + b1) * r;
                std::vector<double> f(5, tf1[0]);
                for (int j = 1; j <= 4; ++j) {
                    const auto k = static_cast<std::size_t>(j);
                    const double a2 = (j == 1 ? 2 : 1) * r * g;
                    f[k] = tfs[k] + relax * (tf1[k] * (1 - a1 - a2) + tu * a1 + a0 + a2 * tf1[k - 1] + qk[k - 1] * r -
                                             tfs[k]);
                    expectClose(tf2[k], f[k], "fluid");
                    const double lift = uint > 0 ? (a2 / r) * (f[k] - f[k - 1]) / uint : 0.0;
                    const double absorber = tas[k - 1] + relax * (lift + f[k] - tas[k - 1]);
                    expectClose(ta[k - 1], absorber, "absorber");
                    const double surface =
                        tgs[k - 1] + relax * ((tu * ukon + ugf * absorber + teff * ustr) / (ukon + ugf + ustr) - tgs[k - 1]);
                    expectClose(tg[k - 1], kmode > 2 ? surface : 50.0, "surface");
                }
            }
        }
    }
}

TEST(PvtSubModels, ConvergenceFlagAndTheRest) {
    const auto check = ROUTINE(konvcheck);
    const std::vector<double> a = {1, 2, 3};
    const auto flagAfter = [&](int flag, std::vector<double> b, double n) {
        check(&flag, a.data(), b.data(), &n);
        return flag;
    };
    const double limit = 0.0010000000474974513;  // 0.001 in single precision
    EXPECT_EQ(flagAfter(1, {1, 2, 3 + limit}, 3), 1);
    EXPECT_EQ(flagAfter(1, {1, 2, 3 + 2 * limit}, 3), 0);
    EXPECT_EQ(flagAfter(1, {1, 2, 3.5}, 2), 1);  // beyond n
    EXPECT_EQ(flagAfter(0, {1, 2, 3}, 3), 0);    // a cleared flag stays cleared
    EXPECT_EQ(flagAfter(1, {9, 9, 9}, 0), 1);    // no entries: unchanged
    EXPECT_EQ(flagAfter(1, {9, 9, 9}, -2), 1);
    EXPECT_EQ(flagAfter(7, {1, 2, 3}, 3), 7);
    EXPECT_EQ(flagAfter(1, {1, NAN, 3}, 3), 0);  // not a number has not settled

    const auto modifier = ROUTINE(einfallwinkelkorrektur);
    for (double theta : {0.0, 45.0, 89.0}) {
        const double z = 30, beta = 45, ga = 0, gs = 10, info = 0;
        const int model = 1;
        double kbn = -1;
        modifier(&theta, &z, &beta, &ga, &gs, &kPi, &model, &info, &kbn);
        EXPECT_EQ(kbn, 1.0);
    }
    const auto probe = ROUTINE(testfunction);
    const float x = 2.5f;
    EXPECT_EQ(probe(&x), 3.5f);
}
