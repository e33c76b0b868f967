// The terms common to every property of region 2 (superheated vapour) at one (p, T).
//
// As in region 1, the terms of pressure alone and of temperature alone are recomputed
// only when their argument changed. The three rational terms are kept in the form
// beta^m / (1 + B X^n beta^m), which equals the formulation's 1 / (beta^-m + B X^n) and
// stays finite at the smallest pressures.
#include "steam_frame.h"

#include <cmath>

extern "C" {
Region2Terms stm2_ = {};
}

namespace vireo::steam {
namespace {

constexpr RoutineName kName("COMT2 ");
constexpr int kLevel = 1;
// Below this the tenth power of beta/betaL would underflow.
constexpr double kSmallRatio = 1.58489e-4;

// Exponents z of X in the terms of stmcn2_.Bpower, by group (0 to 4: the power terms
// mu = 1 to 5; 5 to 7: the numerators of the rational terms mu = 6 to 8).
struct Term {
    int group;
    int z;
};
constexpr Term kTerms[18] = {
    {0, 13}, {0, 3},                 // B11, B12
    {1, 18}, {1, 2}, {1, 1},         // B21, B22, B23
    {2, 18}, {2, 10},                // B31, B32
    {3, 25}, {3, 14},                // B41, B42
    {4, 32}, {4, 28}, {4, 24},       // B51, B52, B53
    {5, 12}, {5, 11},                // B61, B62
    {6, 24}, {6, 18},                // B71, B72
    {7, 24}, {7, 14},                // B81, B82
};
// Exponents x of X in the denominators: b61, b71, b81, b82 by rational term.
constexpr Term kDenominatorTerms[4] = {{0, 14}, {1, 19}, {2, 54}, {2, 27}};
constexpr int kMaxPower = 54;

void pressureTerms(Region2Terms& w, double p) {
    w.beta = p / con(C::pc);
    w.beta2 = w.beta * w.beta;
    w.beta3 = w.beta2 * w.beta;
    w.beta4 = w.beta3 * w.beta;
    w.beta5 = w.beta4 * w.beta;
    w.beta6 = w.beta5 * w.beta;
    w.beta7 = w.beta6 * w.beta;
    w.lnBeta = std::log(w.beta);
}

void temperatureTerms(Region2Terms& w, double t) {
    const Region2Constants& B = stmcn2_;
    const double th = (t + con(C::rankine)) / con(C::tc);
    w.theta = th;
    w.thetaInv = 1.0 / th;
    w.theta2 = th * th;
    w.theta3 = w.theta2 * th;
    w.lnTheta = std::log(th);
    w.x = std::exp(B.b * (1.0 - th));
    w.bTheta = B.b * th;

    double xPower[kMaxPower + 1];
    xPower[0] = 1.0;
    for (int n = 1; n <= kMaxPower; ++n) xPower[n] = xPower[n - 1] * w.x;

    // theta^(n-1) for n = 1 to 5
    const double thetaPower[5] = {1.0, th, w.theta2, w.theta3, w.theta3 * th};
    double epsilon = B.B0 * th;
    double sigma = B.B0 * w.lnTheta;
    double sigmaPrime = B.B0 * w.thetaInv;
    for (int n = 1; n <= 5; ++n) {
        epsilon -= (n - 2) * B.B0n[n - 1] * thetaPower[n - 1];
        if (n >= 2) sigma -= (n - 1) * B.B0n[n - 1] * thetaPower[n - 2];
        if (n >= 3) sigmaPrime -= (n - 1) * (n - 2) * B.B0n[n - 1] * thetaPower[n - 3];
    }
    w.epsilonSeries = epsilon;
    w.sigmaSeries = sigma;
    w.sigmaSeriesPrime = sigmaPrime;

    // X^z differentiates to -b z X^z: the sums weighted by z and z^2 give the first and
    // second derivatives in theta.
    double sum[8] = {};
    double sumZ[8] = {};
    double sumZ2[8] = {};
    for (int i = 0; i < 18; ++i) {
        const double term = B.Bpower[i] * xPower[kTerms[i].z];
        sum[kTerms[i].group] += term;
        sumZ[kTerms[i].group] += kTerms[i].z * term;
        sumZ2[kTerms[i].group] += kTerms[i].z * kTerms[i].z * term;
    }
    for (int mu = 0; mu < 5; ++mu) {
        w.powerSum[mu] = sum[mu];
        w.powerSumZ[mu] = sumZ[mu];
        w.powerSumZ2[mu] = sumZ2[mu];
    }
    for (int r = 0; r < 3; ++r) {
        w.numerator[r] = sum[5 + r];
        w.numeratorZ[r] = sumZ[5 + r];
        w.numeratorZ2[r] = sumZ2[5 + r];
        w.denominator[r] = 0.0;
        w.denominatorX[r] = 0.0;
        w.denominatorX2[r] = 0.0;
    }
    for (int i = 0; i < 4; ++i) {
        const double term = B.bDenominator[i] * xPower[kDenominatorTerms[i].z];
        const int x = kDenominatorTerms[i].z;
        w.denominator[kDenominatorTerms[i].group] += term;
        w.denominatorX[kDenominatorTerms[i].group] += x * term;
        w.denominatorX2[kDenominatorTerms[i].group] += x * x * term;
    }

    w.betaL = con(C::l0) + con(C::l1) * th + con(C::l2) * w.theta2;
    w.betaLPrime = con(C::l1) + con(C::l2Twice) * th;
    double boundary = 0.0;
    double boundaryN = 0.0;
    double boundaryN2 = 0.0;
    for (int n = 0; n <= 6; ++n) {
        boundary += B.B9n[n] * xPower[n];
        boundaryN += n * B.B9n[n] * xPower[n];
        boundaryN2 += n * n * B.B9n[n] * xPower[n];
    }
    w.boundarySum = boundary;
    w.boundarySumN = boundaryN;
    w.boundarySumN2 = boundaryN2;
}

// A pressure of zero or below, and a NaN in either argument, is out of range too.
bool withinLimits(double p, double t) {
    return p > con(C::pLower) && p <= con(C::pUpper) && t >= con(C::tLower2) && t <= con(C::tUpper2);
}

// The terms of both arguments. False where the equations are not finite: far on the
// liquid side (cold and compressed) a rational term passes through a pole, and at
// pressures too small for a double the ideal part overflows; such a state is out of
// range rather than an infinity or a NaN.
bool mixedTerms(Region2Terms& w) {
    const double betaPower[3] = {w.beta4, w.beta5, w.beta6};
    bool finite = std::isfinite(1.0 / w.beta);
    for (int r = 0; r < 3; ++r) {
        const double reduced = 1.0 + w.denominator[r] * betaPower[r];
        w.reducedDenominator[r] = reduced;
        w.quotient[r] = betaPower[r] / reduced;
        finite = finite && std::isfinite(1.0 / (reduced * reduced));
    }
    w.ratio = w.beta / w.betaL;
    if (std::fabs(w.ratio) <= kSmallRatio) {
        w.ratio10 = 0.0;
    } else {
        const double r2 = w.ratio * w.ratio;
        const double r4 = r2 * r2;
        w.ratio10 = r4 * r4 * r2;
    }
    return finite;
}

}  // namespace

bool inRegion2(double p, double t) {
    if (!withinLimits(p, t)) return false;
    Region2Terms w{};
    pressureTerms(w, p);
    temperatureTerms(w, t);
    return mixedTerms(w);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE void comt2_(const double* p, const double* t) {
    using namespace vireo::steam;
    Region2Terms& w = stm2_;
    if (!refreshCommonTerms(kLevel, kName, *p, *t, withinLimits(*p, *t), w, pressureTerms, temperatureTerms)) return;
    const bool finite = mixedTerms(w);
    storeName(levelName(kLevel), kName);
    if (!finite) fail(kName, 12, *p, *t);
}
