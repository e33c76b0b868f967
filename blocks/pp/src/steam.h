// Water and steam properties by the 1967 IFC Formulation for Industrial Use, as the
// power-plant blocks and outside callers reach them.
//
// Units, everywhere in these routines: pressure psia, temperature °F (°R = °F + 459.67
// inside the equations), specific volume ft³/lbm, enthalpy Btu/lbm, entropy
// Btu/(lbm·°R). Every argument passes by reference and is only read; a 6-character
// routine name is followed by its length (always 6), in the Fortran calling convention.
//
// Errors: a state out of a routine's range, or an iteration that fails, writes the report
// of ster_ to standard output and ends the whole process with a non-zero exit status.
// Callers that must survive keep their arguments inside the ranges themselves; the range
// predicates of steam_values.h tell them where that is.
//
// The library's own C++ code calls the value forms of steam_values.h; the routines here
// are thin wrappers over them and behave the same, memo and trail included.
//
// Memo: the routines remember their last call per memo level (stmlvn_/stmlvl_, nust_),
// so asking for several properties of one state computes the common terms once; the same
// records are the call trail that the report prints. Nothing here is reentrant.
//
// Naming: every routine and shared block carries a trailing underscore, so none can
// collide with the C library (gamma) or the block-function names the engine looks for.
// Routines are protected: exported from the library that holds them, while the
// library's own calls always bind to its own copies. Shared blocks are plain exported
// data, so programs may link against them.
#ifndef VIREO_PP_STEAM_H
#define VIREO_PP_STEAM_H

#include <cstddef>

#define VIREO_STEAM_ROUTINE __attribute__((visibility("protected")))
#define VIREO_STEAM_BLOCK __attribute__((visibility("default")))

extern "C" {

// ---- shared blocks -------------------------------------------------------------------

// stmcon_: constants and limits, value[i - 1] is entry i (1 to 41). Never written.
struct SteamConstants {
    double value[41];
};
VIREO_STEAM_BLOCK extern const SteamConstants stmcon_;

// stmcn1_: region 1 (compressed liquid): A0 to A22, then a1 to a12 (a[0] is a1).
struct Region1Constants {
    double A[23];
    double a[12];
};
VIREO_STEAM_BLOCK extern const Region1Constants stmcn1_;

// stmcn2_: region 2 (superheated vapour): B0, B01 to B05, the power-term constants B11,
// B12, B21, B22, B23, B31, B32, B41, B42, B51, B52, B53, B61, B62, B71, B72, B81, B82,
// b, B90 to B96, and last the denominator constants b61, b71, b81, b82 of the three
// rational terms.
struct Region2Constants {
    double B0;
    double B0n[5];
    double Bpower[18];
    double b;
    double B9n[7];
    double bDenominator[4];
};
VIREO_STEAM_BLOCK extern const Region2Constants stmcn2_;

// stmcn3_: region 3 (near the critical point), in this order: C0, C01 to C012 (C012 the
// logarithm's coefficient), C11 to C17, C21 to C28, C31 to C310 (the last of each group
// the logarithm's), C40 and C41, C50, C60 to C64, C70 to C78, then the liquid-side
// correction D30 to D34, D40 to D44, D50 to D52, and last 1 - theta1 (theta1 = 623.15/
// 647.3, the reduced temperature of 662 °F), which scales the correction's (1 - theta).
struct Region3Constants {
    double C0n[13];
    double C1n[7];
    double C2n[8];
    double C3n[10];
    double C4n[2];
    double C50;
    double C6n[5];
    double C7n[9];
    double D3n[5];
    double D4n[5];
    double D5n[3];
    double oneMinusTheta1;
};
VIREO_STEAM_BLOCK extern const Region3Constants stmcn3_;

// stmlvn_: the routine name recorded at each memo level 1 to 7 (name[level - 1]),
// 6 characters, blank until a routine records there.
struct MemoNames {
    char name[7][6];
};
VIREO_STEAM_BLOCK extern MemoNames stmlvn_;

// stmlvl_: slot[s - 1] is slot s. Slots 2l-1 and 2l hold the two arguments of level l
// (slots 1 to 14); slot 14 + l holds the result of level l for levels 2 to 6 (slots 16
// to 20). Slot 15 is not used: level 1 keeps its results in its work area.
struct MemoLevels {
    double slot[20];
};
VIREO_STEAM_BLOCK extern MemoLevels stmlvl_;

// nust_: the saturation line's own memo. slope: dp/dT (psia/°F) of the last psl1_.
// Row 0 (argument T, result p) serves psatt_, psl_, psl1_ and p23t_; row 1 (argument p,
// result T) serves tsatp_, tsl_ and t23p_. argument[] and result[] are the two columns.
struct SaturationMemo {
    double slope;
    double argument[2];
    double result[2];
    char name[2][6];
};
VIREO_STEAM_BLOCK extern SaturationMemo nust_;

// stm1_: the region-1 terms of the (p, T) last recorded at memo level 1 by comt1_.
// Reduced pressure beta = p/pc, reduced temperature theta = (T + 459.67)/Tc.
struct Region1Terms {
    // pressure alone
    double beta, beta2, beta3, beta4;
    double u;           // a10 + beta
    double uInv3;       // u^-3
    double uInv4;       // u^-4
    double w;           // a11 beta + u^-3
    double wPrime;      // dw/dbeta = a11 - 3 u^-4
    double pressurePolynomial;       // A17 beta + A18 beta^2 + A19 beta^3
    double pressurePolynomialPrime;  // its derivative in beta
    // temperature alone
    double theta, lnTheta, theta2, theta10, theta11, theta17, theta18, theta19;
    double thetaInv6, thetaInv7, thetaInv20, thetaInv21;
    double y;           // 1 - a1 theta^2 - a2 theta^-6
    double yPrime;      // dY/dtheta
    double d9, d10;     // (a6 - theta)^9 and ^10, 0 next to theta = a6
    double pDenominator;  // a8 + theta^11
    double qDenominator;  // a7 + theta^19
    double epsilonSeries;   // A0 theta - sum (n - 2) An theta^(n-1)
    double sigmaSeries;     // A0 ln theta - sum (n - 1) An theta^(n-2)
    double chiBeta;         // coefficient of beta in the reduced Gibbs function
    double epsilonBeta;     // and its counterparts in the enthalpy
    double sigmaBeta;       // and entropy
    double pInv;            // 1 / P
    double epsilonP;        // (12 theta^11 + a8) / P^2
    double sigmaP;          // 11 theta^10 / P^2
    double a20Chi;          // A20 theta^18 (a9 + theta^2)
    double a20Epsilon;      // A20 theta^18 (17 a9 + 19 theta^2)
    double a20Sigma;        // A20 theta^17 (18 a9 + 20 theta^2)
    double a21Chi;          // A21 (a12 - theta)
    double a22;             // A22 theta^-20
    // temperature alone, for the heat capacity (derivatives in theta of the entropy's)
    double yPrime2;             // d2Y/dtheta2
    double d8;                  // (a6 - theta)^8, 0 where d9 is
    double sigmaSeriesPrime;    // d sigmaSeries / d theta
    double sigmaBetaPrime;      // d sigmaBeta / d theta
    double sigmaPPrime;         // d/dtheta of 11 theta^10 / P^2
    double a20SigmaPrime;       // d/dtheta of A20 theta^17 (18 a9 + 20 theta^2)
    // both
    double radicand;    // a3 Y^2 - 2 a4 theta + 2 a5 beta
    double z;           // Y + radicand^(1/2)
    double zPower;      // Z^(-5/17)
};
VIREO_STEAM_BLOCK extern Region1Terms stm1_;

// stm2_: the region-2 terms of the (p, T) last recorded at memo level 1 by comt2_.
// X = exp(b (1 - theta)). Index 0 to 4 of the power sums is mu = 1 to 5; index 0 to 2
// of the rational sums is mu = 6 to 8.
struct Region2Terms {
    // pressure alone
    double beta, beta2, beta3, beta4, beta5, beta6, beta7;
    double lnBeta;
    // temperature alone
    double theta, thetaInv, theta2, theta3, lnTheta;
    double x;               // X
    double bTheta;          // b theta
    double epsilonSeries;   // B0 theta - sum (n - 2) B0n theta^(n-1)
    double sigmaSeries;     // B0 ln theta - sum (n - 1) B0n theta^(n-2)
    double powerSum[5];     // sum over lambda of B X^z
    double powerSumZ[5];    // sum over lambda of z B X^z
    double numerator[3];    // N = sum B X^z of the rational terms
    double numeratorZ[3];   // sum z B X^z
    double denominator[3];  // sum b X^x
    double denominatorX[3]; // sum x b X^x
    double betaL;           // L0 + L1 theta + L2 theta^2, the 2/3 boundary
    double betaLPrime;      // L1 + 2 L2 theta
    double boundarySum;     // G = sum B9n X^n
    double boundarySumN;    // sum n B9n X^n
    // both
    double reducedDenominator[3];  // 1 + denominator beta^m (m = 4, 5, 6)
    double quotient[3];            // beta^m / reducedDenominator = 1 / D
    double ratio;                  // beta / betaL
    double ratio10;                // its tenth power, 0 when the ratio is tiny
    // temperature alone, for the heat capacity (second derivatives in theta)
    double sigmaSeriesPrime;       // d sigmaSeries / d theta
    double powerSumZ2[5];          // sum over lambda of z^2 B X^z
    double numeratorZ2[3];         // sum z^2 B X^z of the rational terms
    double denominatorX2[3];       // sum x^2 b X^x
    double boundarySumN2;          // sum n^2 B9n X^n
};
VIREO_STEAM_BLOCK extern Region2Terms stm2_;

// stm3_: the region-3 terms of the (v, T) last recorded at memo level 1 by comt3_, for
// the reduced Helmholtz function psi(chi, theta), chi = v/vc, theta = (T + 459.67)/Tc:
//   psi = C0 + P0 + tau P1 + tau^2 P2 + tau^3 P3 + tau theta^-23 G4 + C50 theta ln theta
//         + chi^6 H + sum C7n tau^(n+1) [+ x^3 F3 + x^4 F4 + x^32 F5 where it counts]
// with tau = theta - 1, the volume polynomials P0 to P3 of the C0 to C3 groups, G4 = C40
// + C41 chi^-5, H = sum C6n theta^-(n+2), x = (1 - theta)/(1 - theta1) and the liquid-side
// correction's volume polynomials F3 to F5. Each part is kept with its derivatives: index
// [k] of a volume term is its k-th derivative in chi, of a temperature term its k-th
// derivative in theta. The second derivatives in volume ([2]) belong to the state of the
// last cpvt3_, which alone needs them.
struct Region3Terms {
    // volume alone
    double chi;
    double lnChi;
    double poly[3][4];        // P0 to P3
    double g4[3];             // G4
    double chi6[3];           // chi^6
    double correction[3][3];  // F3, F4, F5
    // temperature alone
    double theta;
    double lnTheta;
    double thetaInv22, thetaInv23;
    double tau[3][4];         // tau^0 to tau^3
    double e4[3];             // tau theta^-23
    double h[3];              // H
    double thetaOnly[3];      // C0 + C50 theta ln theta + sum C7n tau^(n+1)
    double x;
    double x30, x31;          // x^30 = (x^3)^10, 0 where it would underflow a float
    double xPower[3][3];      // x^3, x^4, x^32
    // both
    int liquidCorrection;     // 1 where theta < 1 and chi < 1: the correction counts
};
VIREO_STEAM_BLOCK extern Region3Terms stm3_;

// ---- frame ---------------------------------------------------------------------------

// The memo test of one level (1 to 7): 1 when x equals the level's first argument, n is 1
// or y equals its second, and name equals its name (nothing is stored then); otherwise
// records x, y (only when n > 1) and name, and returns 0. Exact equality: a NaN never
// hits. A level outside 1 to 7 never hits and records nothing.
VIREO_STEAM_ROUTINE int spreg_(const double* x, const double* y, const int* n, const int* level,
                               const char* name, std::size_t nameLength);
// Range check: x above upper, below lower, or NaN ends the process through ster_(name,
// code, x, 0).
VIREO_STEAM_ROUTINE void splim_(const double* x, const int* code, const char* name,
                                const double* upper, const double* lower, std::size_t nameLength);
// The fatal report (standard output) and the end of the process. code >= 0: out of
// range, < 0: no convergence; its tens and units digits choose the labels of x1 and x2
// (1 PRES, 2 TEMP, 3 ENTH, 4 VOL, 5 ENTR).
[[noreturn]] VIREO_STEAM_ROUTINE void ster_(const char* name, const int* code, const double* x1,
                                            const double* x2, std::size_t nameLength);

// ---- regions 1 and 2: (p, T) -> v, h, s ----------------------------------------------
// comt1_ accepts 0 < p <= 16000 psia and 25 <= T <= 682 °F where the liquid equations
// have a real value (not on the vapour side above about 620 °F), comt2_ 0 < p <= 16000
// psia and -200 <= T <= 1600 °F where the vapour equations stay finite. The caller
// chooses the region; neither tests the saturation line.

VIREO_STEAM_ROUTINE void comt1_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vpt1_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double hpt1_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double spt1_(const double* p, const double* t);
VIREO_STEAM_ROUTINE void comt2_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vpt2_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double hpt2_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double spt2_(const double* p, const double* t);

// ---- saturation line and the 2/3 boundary --------------------------------------------

// Saturation pressure at T (25 to 705.5 °F); psl_ is the same routine, psl1_ also leaves
// the slope dp/dT in nust_.slope for callers that read it there.
VIREO_STEAM_ROUTINE double psatt_(const double* t);
VIREO_STEAM_ROUTINE double psl_(const double* t);
VIREO_STEAM_ROUTINE double psl1_(const double* t);
// Saturation temperature at p (0 < p <= the critical pressure); tsl_ is the same routine.
// Below the saturation pressure at 25 °F (about 0.0665 psia) the iteration, held at
// 25 °F, cannot converge and ends the process.
VIREO_STEAM_ROUTINE double tsatp_(const double* p);
VIREO_STEAM_ROUTINE double tsl_(const double* p);
// Pressure on the 2/3 boundary at T (25 to 1600 °F), and its inverse (0 < p <= 16000 psia;
// below about 2020.5 psia no temperature lies on the boundary and the iteration ends the
// process).
VIREO_STEAM_ROUTINE double p23t_(const double* t);
VIREO_STEAM_ROUTINE double t23p_(const double* p);

// ---- region 3: (v, T) -> p, h, s, and the volume of a (p, T) state --------------------
// comt3_ accepts 0.0207 <= v <= 0.143 ft³/lbm and 636 < T <= 1124.45 °F. On the liquid
// side below the critical temperature (theta < 1 and v < vc) the formulation's
// liquid-side correction counts.

VIREO_STEAM_ROUTINE void comt3_(const double* v, const double* t);
VIREO_STEAM_ROUTINE double pvt3_(const double* v, const double* t);
VIREO_STEAM_ROUTINE double hvt3_(const double* v, const double* t);
VIREO_STEAM_ROUTINE double svt3_(const double* v, const double* t);
// The volume of a region-3 state at (p, T), 2002.78 <= p <= 16000 psia, found by a
// damped secant search between the region's volume bounds from a liquid or a vapour
// start: vpt3_ starts on the side that the saturation pressure gives (liquid above the
// critical temperature), vpt3l_ on the liquid side, vpt3d_ on the vapour side. vptf3_
// and vptg3_ give saturated liquid and vapour: T up to 705.5 °F, p no lower (vptf3_) or
// higher (vptg3_) than the saturation pressure by more than 1e-6 of it. A search that
// does not settle in 100 steps ends the process; the predicate region3VolumeAccepts of
// steam_values.h tells where one does.
VIREO_STEAM_ROUTINE double vpt3_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vpt3l_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vpt3d_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vptf3_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vptg3_(const double* p, const double* t);

// ---- the liquid side and the vapour side at (p, T) -----------------------------------
// The caller chooses the side; neither tests the saturation line. The liquid side is
// region 1 up to 662 °F and region 3 (liquid-side search) above; the vapour side is
// region 2 up to the 2/3 boundary (16000 psia below 462 °F) and region 3 (vapour-side
// search) above it. Between 462 °F and region 3's lowest temperature (636 °F) a
// pressure above the boundary is a liquid's, and the vapour side ends the process there;
// above the saturation pressure below the critical temperature the vapour-side search
// may find no root and end it too. vcl_ is vptl_.

VIREO_STEAM_ROUTINE double vptl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vcl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double hptl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double sptl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double vptd_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double hptd_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double sptd_(const double* p, const double* t);

// ---- saturated liquid (f) and vapour (g) at T or at p --------------------------------
// At T: 25 to 705.47 °F; at p: from the saturation pressure at 25 °F to the critical
// pressure. vsl_, hsl_ and ssl_ are vft_, hft_ and sft_ (they share their memo).

VIREO_STEAM_ROUTINE double vft_(const double* t);
VIREO_STEAM_ROUTINE double vsl_(const double* t);
VIREO_STEAM_ROUTINE double vfp_(const double* p);
VIREO_STEAM_ROUTINE double vgt_(const double* t);
VIREO_STEAM_ROUTINE double vgp_(const double* p);
VIREO_STEAM_ROUTINE double hft_(const double* t);
VIREO_STEAM_ROUTINE double hsl_(const double* t);
VIREO_STEAM_ROUTINE double hfp_(const double* p);
VIREO_STEAM_ROUTINE double hgt_(const double* t);
VIREO_STEAM_ROUTINE double hgp_(const double* p);
VIREO_STEAM_ROUTINE double sft_(const double* t);
VIREO_STEAM_ROUTINE double ssl_(const double* t);
VIREO_STEAM_ROUTINE double sfp_(const double* p);
VIREO_STEAM_ROUTINE double sgt_(const double* t);
VIREO_STEAM_ROUTINE double sgp_(const double* p);

// ---- isobaric heat capacity, Btu/(lbm·°R), and thermal conductivity ----------------------
// cppt1_, cppt2_ and cpvt3_ take the ranges of comt1_, comt2_ and comt3_; cppt3_ is
// cpvt3_ at the volume of vpt3_; cpptl_ is region 1 below 662 °F and region 3 (liquid
// side) from 662 °F on; cpptd_ chooses as vptd_ does.

VIREO_STEAM_ROUTINE double cppt1_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double cppt2_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double cpvt3_(const double* v, const double* t);
VIREO_STEAM_ROUTINE double cppt3_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double cpptl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double cpptd_(const double* p, const double* t);
// Thermal conductivity by the industrial equation of 1985 (reference 647.3 K, 317.7
// kg/m³) at the volume of the vapour side (condv_) or the liquid side (condl_), in
// Btu/(h·ft·°F), 25 to 1600 °F; convt_ takes the volume in m³/kg (above 0) and T in °C
// and answers in W/(m·K).
VIREO_STEAM_ROUTINE double condv_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double condl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double convt_(const double* v, const double* t);

// ---- inverse routines ------------------------------------------------------------------
// Temperature of the vapour side from (p, h) or (p, s), 0 to 16000 psia, h 500 to 1860
// Btu/lbm, s 0.804 to 3 Btu/(lbm·°R): tph_ and tps_ give the saturation temperature for a
// wet or saturated state up to the critical pressure; tsuph_ and tphd_, tsups_ and tpsd_
// (the same routines) always iterate on the vapour side. Memoised at level 5.
VIREO_STEAM_ROUTINE double tph_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double tsuph_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double tphd_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double tps_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double tsups_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double tpsd_(const double* p, const double* s);
// Steam quality of (p, h) or (p, s) (qph_ is xph_, qps_ is xps_): negative for a
// subcooled liquid, exactly 1 from the saturated vapour on and above the critical pressure.
VIREO_STEAM_ROUTINE double xph_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double qph_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double xps_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double qps_(const double* p, const double* s);
// Temperature of the liquid side, never above the saturation temperature (705.47 °F
// above the critical pressure): h -0.02 to 906.1 Btu/lbm, s -5e-5 to 1.065 Btu/(lbm·°R).
VIREO_STEAM_ROUTINE double tphl_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double tpsl_(const double* p, const double* s);
// Enthalpy of (p, s) and entropy of (p, h): hps_/sph_ wet or vapour side, hpsw_/sphw_ the
// wet relation (p up to the critical pressure), hpsd_/sphd_ the vapour side.
VIREO_STEAM_ROUTINE double hps_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double hpsw_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double hpsd_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double sph_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double sphw_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double sphd_(const double* p, const double* h);

// ---- state bundles and isentropic changes ------------------------------------------------
// Several properties of one state; the outputs are written through their pointers.
// hcl_: liquid side at (p, T): h, s. hss_: vapour side at (p, T): h, s, v. hsv_:
// saturated vapour at p: h, T, s, v.
VIREO_STEAM_ROUTINE double hcl_(const double* p, const double* t, double* s);
VIREO_STEAM_ROUTINE double hss_(const double* p, const double* t, double* s, double* v);
VIREO_STEAM_ROUTINE double hsv_(const double* p, double* t, double* s, double* v);
// Pressure of saturated vapour of entropy s, 1.0611600477649612 (the critical point) to
// 2.2039 Btu/(lbm·°R): psv_ iterated within 4e-5 of s, psv1_ the estimate, psv2_ one
// correction. pvgp_: p times the saturated vapour's volume, psia·ft³/lbm.
VIREO_STEAM_ROUTINE double psv_(const double* s);
VIREO_STEAM_ROUTINE double psv1_(const double* s);
VIREO_STEAM_ROUTINE double psv2_(const double* s);
VIREO_STEAM_ROUTINE double pvgp_(const double* p);
// Saturation temperature of the liquid of enthalpy h, -1 to 906.1 Btu/lbm (from 904 on a
// straight line to just above the critical temperature).
VIREO_STEAM_ROUTINE double tslh_(const double* h);
// Liquid at p of entropy s: h and T (hssicl_); of enthalpy h: s and T (sssicl_).
VIREO_STEAM_ROUTINE double hssicl_(const double* p, const double* s, double* t);
VIREO_STEAM_ROUTINE double sssicl_(const double* p, const double* h, double* t);
// Steam at p of entropy s: h, T, v and quality x, wet (up to the critical pressure) or
// superheated; hisiss_ takes the wet volume from the liquid's, hssiss_ by Clapeyron;
// hpsiss_ is always superheated. An entropy below the saturated liquid's ends the process.
VIREO_STEAM_ROUTINE double hssiss_(const double* p, const double* s, double* t, double* v, double* x);
VIREO_STEAM_ROUTINE double hisiss_(const double* p, const double* s, double* t, double* v, double* x);
VIREO_STEAM_ROUTINE double hpsiss_(const double* p, const double* s, double* t, double* v, double* x);
// Steam at p of enthalpy h: s, T, v, x (spsiss_ always superheated). An enthalpy below
// the saturated liquid's ends the process.
VIREO_STEAM_ROUTINE double sssiss_(const double* p, const double* h, double* t, double* v, double* x);
VIREO_STEAM_ROUTINE double spsiss_(const double* p, const double* h, double* t, double* v, double* x);
// Isentropic change from p1 to p2, answering h2: liquid from (p1, T1) (zsrt_) or (p1, h1)
// (zsrh_); steam from (p1, T1) (zsdt_, x1 = 1) or (p1, h1) (zsdh_), into the wet region too.
VIREO_STEAM_ROUTINE double zsrt_(const double* p1, const double* p2, const double* t1, double* s1, double* h1,
                                 double* t2);
VIREO_STEAM_ROUTINE double zsrh_(const double* p1, const double* p2, const double* h1, double* s1, double* t1,
                                 double* t2);
VIREO_STEAM_ROUTINE double zsdt_(const double* p1, const double* p2, const double* t1, double* s1, double* h1,
                                 double* t2, double* x1, double* x2, double* vol1, double* vol2);
VIREO_STEAM_ROUTINE double zsdh_(const double* p1, const double* p2, const double* h1, double* s1, double* t1,
                                 double* t2, double* x1, double* x2, double* vol1, double* vol2);

// ---- volume of (p, h) or (p, s), pressure and temperature of (h, s) -----------------------
// vph_ and vps_: wet (by Clapeyron along the saturation line, up to the critical pressure)
// or superheated; vphw_ and vpsw_ always the wet relation, vphd_ and vpsd_ always the
// superheated side. phs_ and ths_: p or T of (h, s), wet or superheated by an estimate of
// the saturated vapour's enthalpy; phsd_ and thsd_ the superheated side, phsw_ the wet
// region; pvphw_ is p times vphw_.
VIREO_STEAM_ROUTINE double vph_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double vphw_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double vphd_(const double* p, const double* h);
VIREO_STEAM_ROUTINE double vps_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double vpsw_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double vpsd_(const double* p, const double* s);
VIREO_STEAM_ROUTINE double phs_(const double* h, const double* s);
VIREO_STEAM_ROUTINE double ths_(const double* h, const double* s);
VIREO_STEAM_ROUTINE double phsd_(const double* h, const double* s);
VIREO_STEAM_ROUTINE double thsd_(const double* h, const double* s);
VIREO_STEAM_ROUTINE double phsw_(const double* h, const double* s);
VIREO_STEAM_ROUTINE double pvphw_(const double* p, const double* h);

// ---- SI forms for the blocks: t in °C, p in Pa ---------------------------------------
// chkreg_ is 1 for the vapour side (superheated or exactly saturated; above 374.15 °C
// at or below the 2/3 boundary), 0 for the liquid side (and at 0 °C or below). The
// four properties convert the state (p / 6894 psia, 32 + 9 t / 5 °F), take the side's
// routine and convert back: J/kg, J/(kg·K), J/(kg·K), m³/kg.

VIREO_STEAM_ROUTINE int chkreg_(const double* t, const double* p);
VIREO_STEAM_ROUTINE double steam_h_(const double* t, const double* p);
VIREO_STEAM_ROUTINE double steam_s_(const double* t, const double* p);
VIREO_STEAM_ROUTINE double steam_cp_(const double* t, const double* p);
VIREO_STEAM_ROUTINE double steam_v_(const double* t, const double* p);

// ---- further properties ---------------------------------------------------------------

// Enthalpy of evaporation at p in Pa, J/kg, at the saturation temperature of the line
// (the saturation temperature's range: up to the critical pressure, 3208.2348 × 6894 Pa).
VIREO_STEAM_ROUTINE double evaph_(const double* p);
// Isentropic exponent at (p, h): ln(p / p') / ln(v' / v) for an isentropic step to
// p' = 1.05 p. Records "GAMMA " at memo level 7.
VIREO_STEAM_ROUTINE double gamma_(const double* p, const double* h);
// Speed of sound at (p, h) in steam, ft/s, from the density's derivative along the
// isentrope; writes the isentropic exponent into k. A liquid state ends the process.
VIREO_STEAM_ROUTINE double crvel_(const double* p, const double* h, double* k);
// Critical (choked) mass flux of steam at (p, h), lbm/(h·in²) (the flux per psia of the
// dry saturated steam polynomials times p in psia): a correlation fitted to the
// homogeneous-equilibrium flux, within 0.5 % of it below 2000 psia, 2 % up to the
// critical pressure and 5.5 % above. Writes the superheat in °F into spt (0 for wet
// steam, 400 above the critical pressure). Outside 0 to 8000 psia, 800 to 1860 Btu/lbm
// (960 at and above the critical pressure) or below a quality of 0.7 the process ends
// (code 13); within, the temperature and saturation routines it calls end it where they
// refuse the state (at 0 psia, and above 1600 °F, which 1860 Btu/lbm just passes).
VIREO_STEAM_ROUTINE double crflo_(const double* p, const double* h, double* spt);
// Surface tension at T, lbf/ft; above the critical temperature (1164.87 °R, a hair of
// 1e-6 °R allowed) or NaN the process ends (code 2).
VIREO_STEAM_ROUTINE double surft_(const double* t);
// sqrt(a / (rho_f - rho_g)) on the saturation line at T (25 to 705.47 °F), lbm/ft³.
VIREO_STEAM_ROUTINE double crwave_(const double* t, const double* a);
// Relative dielectric constant at (p, T): the plain form takes the vapour side above
// 705.47 °F or at and below the saturation pressure, else the liquid side; the l form
// the liquid side, the d form the vapour side.
VIREO_STEAM_ROUTINE double epspt_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double epsptl_(const double* p, const double* t);
VIREO_STEAM_ROUTINE double epsptd_(const double* p, const double* t);
// log10 of the ion product and the pH of neutral water at (p, T), written into the last
// two arguments; sides as for the dielectric constant.
VIREO_STEAM_ROUTINE void phion_(const double* p, const double* t, double* logKw, double* ph);
VIREO_STEAM_ROUTINE void phionl_(const double* p, const double* t, double* logKw, double* ph);
VIREO_STEAM_ROUTINE void phiond_(const double* p, const double* t, double* logKw, double* ph);
// Refractive index at (p, T) and a wavelength in µm: 0 to 16000 psia, 25 to 932 °F,
// 0.2 to 1.1 µm, else (or for NaN) the process ends (code 12); sides as above.
VIREO_STEAM_ROUTINE double refrac_(const double* p, const double* t, const double* lambda);
VIREO_STEAM_ROUTINE double refrcl_(const double* p, const double* t, const double* lambda);
VIREO_STEAM_ROUTINE double refrcd_(const double* p, const double* t, const double* lambda);

// ---- unit routines -------------------------------------------------------------------

VIREO_STEAM_ROUTINE double psi2pa_(const double* p);  // p * 6894 (not 6894.757)
VIREO_STEAM_ROUTINE double pa2psi_(const double* p);  // p / 6894
VIREO_STEAM_ROUTINE double tc2tf_(const double* t);   // t * 9 / 5 + 32
VIREO_STEAM_ROUTINE double tf2tc_(const double* t);   // (t - 32) * 5 / 9
VIREO_STEAM_ROUTINE float d2r_(const float* x);       // degrees to radians, single precision
// Specific heat at t on the straight line through (t1, cp1) and (t2, cp2), single precision.
VIREO_STEAM_ROUTINE float oilcp_(const float* cp1, const float* t1, const float* cp2,
                                 const float* t2, const float* t);

}  // extern "C"

#endif
