// The further water and steam properties against IAPWS values (python3-iapws, through
// auxiliary_reference.inc). The equations under test take the density of the 1967
// industrial formulation; the table takes IF97's, a few tenths of a per cent apart, and
// some of the table's equations are newer releases than those under test: each
// tolerance says which difference it allows.
#include "steam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

struct AuxEvaporation {
    double pMpa, tK, hfgKjPerKg;
};
struct AuxSaturation {
    double tK, liquid, vapour;
};
struct AuxTension {
    double tK, sigma;
};
struct AuxState {
    int vapour;
    double pMpa, tK, rho, epsilon, pKw;
};
struct AuxRefraction {
    int vapour;
    double pMpa, tK, lambda, n;
};
struct AuxSound {
    double pMpa, tK, w, gamma;
};

#include "auxiliary_reference.inc"

constexpr double kPsiaPerMpa = 1e6 / 6894.757293168361;
double fahrenheit(double kelvin) { return kelvin * 1.8 - 459.67; }

TEST(SteamFurtherProperties, EvaporationEnthalpyAgreesWithIf97) {
    for (const auto& s : kAuxEvaporation) {
        // The routine takes Pa with the library's 6894 Pa per psi: the same psia as the table.
        const double pa = s.pMpa * kPsiaPerMpa * 6894.0;
        const double hfg = evaph_(&pa) / 1000.0;
        // The formulations' saturated states differ by under 0.3 % up to 10 MPa. Towards
        // the critical point hfg falls steeply to 0, and the older formulation's critical
        // pressure lies 0.06 MPa above IF97's (22.12 against 22.064 MPa), so at one
        // pressure it stands further from its critical point: 0.5 % at 15 MPa, 1.5 % at
        // 20 MPa, 5 % at 21.5 MPa.
        const double tolerance = s.pMpa <= 10.0 ? 0.003 : s.pMpa <= 15.0 ? 0.005 : s.pMpa <= 20.0 ? 0.015 : 0.05;
        EXPECT_NEAR(hfg, s.hfgKjPerKg, tolerance * s.hfgKjPerKg) << s.pMpa << " MPa";
    }
}

TEST(SteamFurtherProperties, SurfaceTensionAgreesWithTheIapwsEquation) {
    for (const auto& s : kAuxTension) {
        const double t = fahrenheit(s.tK);
        const double sigma = surft_(&t) / 0.06852176585679176;
        // One equation; only the critical temperature differs (647.15 K here, 647.096 K
        // in the 1994 release), which matters only where tau is small.
        EXPECT_NEAR(sigma, s.sigma, 0.002 * s.sigma + 5e-5) << s.tK << " K";
    }
}

TEST(SteamFurtherProperties, SaturatedDensityDifferenceGivesTheCapillaryScale) {
    for (const auto& s : kAuxSaturatedDensity) {
        const double t = fahrenheit(s.tK);
        double a = 2.0;
        const double lbmPerFt3 = 0.062427960576144606;
        const double expected = std::sqrt(a / ((s.liquid - s.vapour) * lbmPerFt3));
        // IF97's saturated densities are within 0.1 % of the formulation's at these
        // temperatures: half of that in the square root.
        EXPECT_NEAR(crwave_(&t, &a), expected, 0.001 * expected) << s.tK << " K";
    }
}

TEST(SteamFurtherProperties, DielectricConstantAndIonProductAgreeWithIapws) {
    for (const auto& s : kAuxStates) {
        const double p = s.pMpa * kPsiaPerMpa;
        const double t = fahrenheit(s.tK);
        const double epsilon = s.vapour ? epsptd_(&p, &t) : epsptl_(&p, &t);
        // The equation of 1980 against the release of 1997: within 1 % in the liquid up
        // to 300 °C. The older equation was fitted to the dense fluid; in dilute steam,
        // where the newer release's dipole term rules, its small excess over 1 falls
        // short by up to 40 % (62 to 68 % of the release's at these states).
        if (s.vapour) {
            EXPECT_NEAR(epsilon - 1.0, 0.65 * (s.epsilon - 1.0), 0.05 * (s.epsilon - 1.0)) << s.pMpa << " " << s.tK;
        } else {
            EXPECT_NEAR(epsilon, s.epsilon, 0.01 * s.epsilon) << s.pMpa << " " << s.tK;
        }
        EXPECT_DOUBLE_EQ(epspt_(&p, &t), epsilon);
        if (s.vapour) continue;
        double logKw = 0.0, ph = 0.0;
        phionl_(&p, &t, &logKw, &ph);
        // The equation of 1981 against that of 2007: their fits agree within 0.05 in
        // log10 Kw over the liquid to 300 °C.
        EXPECT_NEAR(-logKw, s.pKw, 0.05) << s.pMpa << " " << s.tK;
        EXPECT_DOUBLE_EQ(ph, -logKw / 2.0);
        double plain = 0.0, plainPh = 0.0;
        phion_(&p, &t, &plain, &plainPh);
        EXPECT_DOUBLE_EQ(plain, logKw);
    }
}

TEST(SteamFurtherProperties, RefractiveIndexAgreesWithTheIapwsEquation) {
    for (const auto& s : kAuxRefraction) {
        const double p = s.pMpa * kPsiaPerMpa;
        const double t = fahrenheit(s.tK);
        const double n = s.vapour ? refrcd_(&p, &t, &s.lambda) : refrcl_(&p, &t, &s.lambda);
        // The same equation; the densities' difference (under 0.3 %) moves n - 1 by as
        // much at most.
        EXPECT_NEAR(n - 1.0, s.n - 1.0, 0.003 * (s.n - 1.0)) << s.pMpa << " " << s.tK << " " << s.lambda;
        EXPECT_DOUBLE_EQ(refrac_(&p, &t, &s.lambda), n);
    }
}

TEST(SteamFurtherProperties, SoundSpeedAndIsentropicExponentAgreeWithIf97) {
    for (const auto& s : kAuxSound) {
        const double pMpa = s.pMpa, tC = s.tK - 273.15;
        double p = pMpa * kPsiaPerMpa;
        double t = fahrenheit(s.tK);
        double h = hptd_(&p, &t);
        double k = 0.0;
        const double w = crvel_(&p, &h, &k) * 0.3048;
        // A difference quotient of 1 % steps on the older formulation: within 0.5 % of
        // IF97's speed of sound in steam, also where the isentrope reaches saturation
        // within the steps (the last two states), which the one-sided stencils keep out.
        EXPECT_NEAR(w, s.w, 0.005 * s.w) << pMpa << " MPa " << tC << " °C";
        EXPECT_NEAR(k, s.gamma, 0.01 * s.gamma) << pMpa << " MPa " << tC << " °C";
        // gamma_ takes one step of 5 %: the exponent's change over it counts, a few per cent.
        EXPECT_NEAR(gamma_(&p, &h), s.gamma, 0.03 * s.gamma) << pMpa << " MPa " << tC << " °C";
    }
}

TEST(SteamFurtherProperties, TheFamiliesLeaveTheirNameInTheTrail) {
    double p = 1000.0, t = 300.0, lambda = 0.5, logKw = 0.0, ph = 0.0;
    const auto trailAt5 = [] { return std::string(stmlvn_.name[4], 6); };
    epsptl_(&p, &t);
    EXPECT_EQ(trailAt5(), "EPSPTL");
    EXPECT_EQ(stmlvl_.slot[8], 1000.0);
    EXPECT_EQ(stmlvl_.slot[9], 300.0);
    phiond_(&p, &t, &logKw, &ph);
    EXPECT_EQ(trailAt5(), "PHIOND");
    refrac_(&p, &t, &lambda);
    EXPECT_EQ(trailAt5(), "REFRAC");
    crwave_(&t, &lambda);
    EXPECT_EQ(trailAt5(), "CRWAVE");
    EXPECT_EQ(stmlvl_.slot[9], 0.5);
}

}  // namespace
