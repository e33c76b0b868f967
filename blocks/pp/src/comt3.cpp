// The terms common to every property of region 3 (near the critical point) at one (v, T),
// and the region's reduced Helmholtz function with its derivatives (its form is written
// out beside stm3_ in steam.h).
//
// Region 3 is written in volume and temperature. Pressure, entropy and enthalpy are the
// function's first derivatives, the heat capacity needs the second, so the work area keeps
// each part of it with its derivatives, and one sum combines them for any order. As in
// regions 1 and 2 the terms of volume alone and of temperature alone are recomputed only
// when their argument changed.
#include "steam_frame.h"

#include <cmath>

extern "C" {
Region3Terms stm3_ = {};
}

namespace vireo::steam {
namespace {

constexpr RoutineName kName("COMT3 ");
constexpr int kLevel = 1;
constexpr int kRangeCode = 42;  // " VOL =" and "TEMP ="
// Below this |x|^30 would underflow a float; the correction's x^32 term is far below
// anything the other terms resolve there.
constexpr double kSmallX = 0.0594557;

constexpr int kMostInversePowers = 12;

void inversePowers(double chi, double (&chiInverse)[kMostInversePowers + 1]) {
    chiInverse[0] = 1.0;
    chiInverse[1] = 1.0 / chi;
    for (int k = 2; k <= kMostInversePowers; ++k) chiInverse[k] = chiInverse[k - 1] * chiInverse[1];
}

// The volume polynomials c1 chi + sum(n = 2..N) cn chi^(1-n) + cLog ln chi of the C0 to C3
// groups: their coefficients and counts in stmcn3_ (the logarithm's last).
const double* polynomialGroup(int k) {
    const Region3Constants& K = stmcn3_;
    const double* groups[4] = {&K.C0n[1], K.C1n, K.C2n, K.C3n};
    return groups[k];
}
constexpr int kGroupCounts[4] = {12, 7, 8, 10};

// The correction's polynomials sum(n = 0..4) d[n] chi^-n of the D3 and D4 groups.
const double* correctionGroup(int k) { return k == 0 ? stmcn3_.D3n : stmcn3_.D4n; }

// Value and first derivatives: all that pressure, enthalpy and entropy take.
void volumeTerms(Region3Terms& w, double v) {
    const Region3Constants& K = stmcn3_;
    const double chi = v / con(C::vc);
    w.chi = chi;
    w.lnChi = std::log(chi);
    double chiInverse[kMostInversePowers + 1];
    inversePowers(chi, chiInverse);
    for (int k = 0; k < 4; ++k) {
        const double* c = polynomialGroup(k);
        const int last = kGroupCounts[k] - 1;
        double value = c[0] * chi + c[last] * w.lnChi;
        double prime = c[0] + c[last] * chiInverse[1];
        for (int n = 2; n <= last; ++n) {
            value += c[n - 1] * chiInverse[n - 1];
            prime += (1 - n) * c[n - 1] * chiInverse[n];
        }
        w.poly[0][k] = value;
        w.poly[1][k] = prime;
    }
    w.g4[0] = K.C4n[0] + K.C4n[1] * chiInverse[5];
    w.g4[1] = -5.0 * K.C4n[1] * chiInverse[6];
    const double chi5 = chi * chi * chi * chi * chi;
    w.chi6[0] = chi5 * chi;
    w.chi6[1] = 6.0 * chi5;
    for (int k = 0; k < 2; ++k) {
        const double* d = correctionGroup(k);
        double value = d[0];
        double prime = 0.0;
        for (int n = 1; n <= 4; ++n) {
            value += d[n] * chiInverse[n];
            prime -= n * d[n] * chiInverse[n + 1];
        }
        w.correction[0][k] = value;
        w.correction[1][k] = prime;
    }
    w.correction[0][2] = K.D5n[0] + (K.D5n[1] + K.D5n[2] * chi) * chi;
    w.correction[1][2] = K.D5n[1] + 2.0 * K.D5n[2] * chi;
}

void temperatureTerms(Region3Terms& w, double t) {
    const Region3Constants& K = stmcn3_;
    const double th = (t + con(C::rankine)) / con(C::tc);
    w.theta = th;
    w.lnTheta = std::log(th);
    const double thetaInv = 1.0 / th;
    const double thetaInv2 = thetaInv * thetaInv;
    const double thetaInv4 = thetaInv2 * thetaInv2;
    const double thetaInv8 = thetaInv4 * thetaInv4;
    const double thetaInv16 = thetaInv8 * thetaInv8;
    w.thetaInv22 = thetaInv16 * thetaInv4 * thetaInv2;
    w.thetaInv23 = w.thetaInv22 * thetaInv;

    // tau^j and its derivatives j!/(j-k)! tau^(j-k)
    const double tau = th - 1.0;
    const double tauPower[4] = {1.0, tau, tau * tau, tau * tau * tau};
    for (int k = 0; k < 3; ++k) {
        for (int j = 0; j < 4; ++j) {
            const int factor = k == 0 ? 1 : k == 1 ? j : j * (j - 1);
            w.tau[k][j] = j >= k ? factor * tauPower[j - k] : 0.0;
        }
    }

    // tau theta^-23, the factor of the C4 group
    w.e4[0] = tau * w.thetaInv23;
    w.e4[1] = 23.0 * w.thetaInv23 * thetaInv - 22.0 * w.thetaInv23;
    w.e4[2] = 23.0 * w.thetaInv23 * thetaInv2 * (22.0 * th - 24.0);

    // sum C6n theta^-(n+2)
    w.h[0] = w.h[1] = w.h[2] = 0.0;
    double power = thetaInv2;  // theta^-(n+2)
    for (int n = 0; n <= 4; ++n) {
        w.h[0] += K.C6n[n] * power;
        w.h[1] -= (n + 2) * K.C6n[n] * power * thetaInv;
        w.h[2] += (n + 2) * (n + 3) * K.C6n[n] * power * thetaInv2;
        power *= thetaInv;
    }

    // C0 + C50 theta ln theta + sum C7n tau^(n+1), the sum by Horner from its highest power
    double c7 = 0.0, c7Prime = 0.0, c7Second = 0.0;
    for (int n = 8; n >= 0; --n) {
        c7 = (c7 + K.C7n[n]) * tau;
        c7Prime = c7Prime * tau + (n + 1) * K.C7n[n];
        if (n >= 1) c7Second = c7Second * tau + n * (n + 1) * K.C7n[n];
    }
    w.thetaOnly[0] = K.C0n[0] + K.C50 * th * w.lnTheta + c7;
    w.thetaOnly[1] = K.C50 * (w.lnTheta + 1.0) + c7Prime;
    w.thetaOnly[2] = K.C50 * thetaInv + c7Second;

    // The correction's x^3, x^4 and x^32 with their derivatives in theta: dx/dtheta is
    // -1/(1 - theta1).
    const double x = (1.0 - th) / K.oneMinusTheta1;
    w.x = x;
    const double x2 = x * x;
    const double x3 = x2 * x;
    if (std::fabs(x) <= kSmallX) {
        w.x30 = 0.0;
    } else {
        const double x6 = x3 * x3;
        const double x12 = x6 * x6;
        const double x24 = x12 * x12;
        w.x30 = x24 * x6;
    }
    w.x31 = w.x30 * x;
    const double dx = -1.0 / K.oneMinusTheta1;
    const double powers[3][3] = {{x3, x3 * x, w.x31 * x}, {3.0 * x2, 4.0 * x3, 32.0 * w.x31}, {6.0 * x, 12.0 * x2, 992.0 * w.x30}};
    const double scale[3] = {1.0, dx, dx * dx};
    for (int k = 0; k < 3; ++k) {
        for (int n = 0; n < 3; ++n) w.xPower[k][n] = scale[k] * powers[k][n];
    }
}

void mixedTerms(Region3Terms& w) { w.liquidCorrection = w.theta < 1.0 && w.chi < 1.0 ? 1 : 0; }

// Inclusive bounds but for the lowest temperature; a NaN in either argument is out of
// range too.
bool withinLimits(double v, double t) {
    return v >= con(C::vLower3) && v <= con(C::vUpper3) && t > con(C::tLower3) && t <= con(C::tUpper3);
}

// The reduced Helmholtz function psi differentiated a times in chi and b times in
// theta, from the terms and only as far as asked: the search evaluates the pressure alone
// many times.
double psiDerivative(const Region3Terms& w, int a, int b) {
    double f = w.e4[b] * w.g4[a] + w.chi6[a] * w.h[b];
    for (int j = 0; j < 4; ++j) f += w.tau[b][j] * w.poly[a][j];
    if (a == 0) f += w.thetaOnly[b];
    if (w.liquidCorrection != 0) {
        for (int n = 0; n < 3; ++n) f += w.xPower[b][n] * w.correction[a][n];
    }
    return f;
}

}  // namespace

bool inRegion3(double v, double t) { return withinLimits(v, t); }

void region3CurvatureTerms(Region3Terms& w) {
    const Region3Constants& K = stmcn3_;
    double chiInverse[kMostInversePowers + 1];
    inversePowers(w.chi, chiInverse);
    for (int k = 0; k < 4; ++k) {
        const double* c = polynomialGroup(k);
        const int last = kGroupCounts[k] - 1;
        double second = -c[last] * chiInverse[2];
        for (int n = 2; n <= last; ++n) second += n * (n - 1) * c[n - 1] * chiInverse[n + 1];
        w.poly[2][k] = second;
    }
    w.g4[2] = 30.0 * K.C4n[1] * chiInverse[7];
    w.chi6[2] = 30.0 * w.chi * w.chi * w.chi * w.chi;
    for (int k = 0; k < 2; ++k) {
        const double* d = correctionGroup(k);
        double second = 0.0;
        for (int n = 1; n <= 4; ++n) second += n * (n + 1) * d[n] * chiInverse[n + 2];
        w.correction[2][k] = second;
    }
    w.correction[2][2] = 2.0 * K.D5n[2];
}

void region3Terms(Region3Terms& w, double v, double t) {
    volumeTerms(w, v);
    temperatureTerms(w, t);
    mixedTerms(w);
    region3CurvatureTerms(w);
}

double region3ReducedPressure(const Region3Terms& w) { return -psiDerivative(w, 1, 0); }

double region3ReducedEntropy(const Region3Terms& w) { return -psiDerivative(w, 0, 1); }

double region3ReducedEnthalpy(const Region3Terms& w) {
    return psiDerivative(w, 0, 0) - w.theta * psiDerivative(w, 0, 1) - w.chi * psiDerivative(w, 1, 0);
}

// cp = cv + T (dp/dT)_v^2 / -(dp/dv)_T, in reduced form -theta psi_tt + theta psi_ct^2 / psi_cc.
double region3ReducedHeatCapacity(const Region3Terms& w) {
    const double chiTheta = psiDerivative(w, 1, 1);
    return w.theta * (chiTheta * chiTheta / psiDerivative(w, 2, 0) - psiDerivative(w, 0, 2));
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE void comt3_(const double* v, const double* t) {
    using namespace vireo::steam;
    Region3Terms& w = stm3_;
    if (!refreshCommonTerms(kLevel, kName, *v, *t, withinLimits(*v, *t), w, volumeTerms, temperatureTerms,
                            kRangeCode))
        return;
    mixedTerms(w);
    storeName(levelName(kLevel), kName);
}
