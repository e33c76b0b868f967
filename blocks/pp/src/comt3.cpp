// The terms common to every property of region 3 (near the critical point) at one (v, T),
// and the region's reduced Helmholtz function with its derivatives.
//
// Region 3 is written in volume and temperature: psi(chi, theta) = C0 + P0(chi)
// + tau P1 + tau^2 P2 + tau^3 P3 + tau theta^-23 (C40 + C41 chi^-5) + C50 theta ln theta
// + chi^6 sum C6n theta^-(n+2) + sum C7n tau^(n+1), with tau = theta - 1; on the liquid
// side below the critical temperature the correction x^3 F3 + x^4 F4 + x^32 F5 adds to
// it. Pressure, entropy and enthalpy are its first derivatives, the heat capacity needs
// the second, so the work area keeps each part with both. As in regions 1 and 2 the
// terms of volume alone and of temperature alone are recomputed only when their argument
// changed.
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

// A volume polynomial c1 chi + sum(n = 2..N) cn chi^(1-n) + cLog ln chi of one group, and
// its first and second derivatives in chi. chiInverse[k] = chi^-k.
struct Polynomial {
    double value, prime;
};
Polynomial volumePolynomial(const double* c, int count, const double* chiInverse, double chi, double lnChi) {
    const int last = count - 1;  // the logarithm's coefficient
    Polynomial p{c[0] * chi + c[last] * lnChi, c[0] + c[last] * chiInverse[1]};
    for (int n = 2; n <= last; ++n) {
        p.value += c[n - 1] * chiInverse[n - 1];
        p.prime += (1 - n) * c[n - 1] * chiInverse[n];
    }
    return p;
}
double volumePolynomialSecond(const double* c, int count, const double* chiInverse) {
    const int last = count - 1;
    double second = -c[last] * chiInverse[2];
    for (int n = 2; n <= last; ++n) second += n * (n - 1) * c[n - 1] * chiInverse[n + 1];
    return second;
}

// sum(n = 0..4) d[n] chi^-n and its derivatives in chi.
Polynomial correctionPolynomial(const double* d, const double* chiInverse) {
    Polynomial p{d[0], 0.0};
    for (int n = 1; n <= 4; ++n) {
        p.value += d[n] * chiInverse[n];
        p.prime -= n * d[n] * chiInverse[n + 1];
    }
    return p;
}
double correctionPolynomialSecond(const double* d, const double* chiInverse) {
    double second = 0.0;
    for (int n = 1; n <= 4; ++n) second += n * (n + 1) * d[n] * chiInverse[n + 2];
    return second;
}

constexpr int kMostInversePowers = 12;

void inversePowers(double chi, double (&chiInverse)[kMostInversePowers + 1]) {
    chiInverse[0] = 1.0;
    chiInverse[1] = 1.0 / chi;
    for (int k = 2; k <= kMostInversePowers; ++k) chiInverse[k] = chiInverse[k - 1] * chiInverse[1];
}

const double* polynomialGroup(int k) {
    const Region3Constants& K = stmcn3_;
    const double* groups[4] = {&K.C0n[1], K.C1n, K.C2n, K.C3n};
    return groups[k];
}
constexpr int kGroupCounts[4] = {12, 7, 8, 10};

// Value and first derivatives: all that pressure, enthalpy and entropy take.
void volumeTerms(Region3Terms& w, double v) {
    const Region3Constants& K = stmcn3_;
    const double chi = v / con(C::vc);
    w.chi = chi;
    w.lnChi = std::log(chi);
    double chiInverse[kMostInversePowers + 1];
    inversePowers(chi, chiInverse);
    w.chi4 = chi * chi * chi * chi;
    w.chi5 = w.chi4 * chi;
    w.chi6 = w.chi5 * chi;
    for (int k = 0; k < 4; ++k) {
        const Polynomial p = volumePolynomial(polynomialGroup(k), kGroupCounts[k], chiInverse, chi, w.lnChi);
        w.poly[k] = p.value;
        w.polyPrime[k] = p.prime;
    }
    w.g4 = K.C4n[0] + K.C4n[1] * chiInverse[5];
    w.g4Prime = -5.0 * K.C4n[1] * chiInverse[6];
    const Polynomial f3 = correctionPolynomial(K.D3n, chiInverse);
    const Polynomial f4 = correctionPolynomial(K.D4n, chiInverse);
    w.f3 = f3.value;
    w.f3Prime = f3.prime;
    w.f4 = f4.value;
    w.f4Prime = f4.prime;
    w.f5 = K.D5n[0] + (K.D5n[1] + K.D5n[2] * chi) * chi;
    w.f5Prime = K.D5n[1] + 2.0 * K.D5n[2] * chi;
}

void temperatureTerms(Region3Terms& w, double t) {
    const Region3Constants& K = stmcn3_;
    const double th = (t + con(C::rankine)) / con(C::tc);
    w.theta = th;
    w.thetaInv = 1.0 / th;
    w.lnTheta = std::log(th);
    w.tau = th - 1.0;
    w.tau2 = w.tau * w.tau;
    w.tau3 = w.tau2 * w.tau;
    const double thetaInv2 = w.thetaInv * w.thetaInv;
    const double thetaInv4 = thetaInv2 * thetaInv2;
    const double thetaInv8 = thetaInv4 * thetaInv4;
    const double thetaInv16 = thetaInv8 * thetaInv8;
    w.thetaInv22 = thetaInv16 * thetaInv4 * thetaInv2;
    w.thetaInv23 = w.thetaInv22 * w.thetaInv;

    // tau theta^-23, the factor of the C4 group
    w.e4 = w.tau * w.thetaInv23;
    w.e4Prime = 23.0 * w.thetaInv23 * w.thetaInv - 22.0 * w.thetaInv23;
    w.e4Second = 23.0 * w.thetaInv23 * thetaInv2 * (22.0 * th - 24.0);

    // sum C6n theta^-(n+2)
    w.h = 0.0;
    w.hPrime = 0.0;
    w.hSecond = 0.0;
    double power = thetaInv2;  // theta^-(n+2)
    for (int n = 0; n <= 4; ++n) {
        w.h += K.C6n[n] * power;
        w.hPrime -= (n + 2) * K.C6n[n] * power * w.thetaInv;
        w.hSecond += (n + 2) * (n + 3) * K.C6n[n] * power * thetaInv2;
        power *= w.thetaInv;
    }

    // sum C7n tau^(n+1), Horner from the highest power
    w.c7 = 0.0;
    w.c7Prime = 0.0;
    w.c7Second = 0.0;
    for (int n = 8; n >= 0; --n) {
        w.c7 = (w.c7 + K.C7n[n]) * w.tau;
        w.c7Prime = w.c7Prime * w.tau + (n + 1) * K.C7n[n];
        if (n >= 1) w.c7Second = w.c7Second * w.tau + n * (n + 1) * K.C7n[n];
    }

    w.x = (1.0 - th) / K.oneMinusTheta1;
    w.x2 = w.x * w.x;
    w.x3 = w.x2 * w.x;
    if (std::fabs(w.x) <= kSmallX) {
        w.x30 = 0.0;
    } else {
        const double x6 = w.x3 * w.x3;
        const double x12 = x6 * x6;
        const double x24 = x12 * x12;
        w.x30 = x24 * x6;
    }
    w.x31 = w.x30 * w.x;
}

void mixedTerms(Region3Terms& w) { w.liquidCorrection = w.theta < 1.0 && w.chi < 1.0 ? 1 : 0; }

// Inclusive bounds but for the lowest temperature; a NaN in either argument is out of
// range too.
bool withinLimits(double v, double t) {
    return v >= con(C::vLower3) && v <= con(C::vUpper3) && t > con(C::tLower3) && t <= con(C::tUpper3);
}

// The reduced Helmholtz function psi and its derivatives at one state, each from the
// terms and only where asked: the search evaluates the pressure alone many times.
// x = (1 - theta)/(1 - theta1), so the correction's d/dtheta is -1/(1 - theta1) d/dx.

double psi(const Region3Terms& w) {
    const Region3Constants& K = stmcn3_;
    double f = K.C0n[0] + w.poly[0] + w.tau * w.poly[1] + w.tau2 * w.poly[2] + w.tau3 * w.poly[3] + w.e4 * w.g4 +
               K.C50 * w.theta * w.lnTheta + w.chi6 * w.h + w.c7;
    if (w.liquidCorrection != 0) f += w.x3 * w.f3 + w.x3 * w.x * w.f4 + w.x31 * w.x * w.f5;
    return f;
}

double psiChi(const Region3Terms& w) {
    double f = w.polyPrime[0] + w.tau * w.polyPrime[1] + w.tau2 * w.polyPrime[2] + w.tau3 * w.polyPrime[3] +
               w.e4 * w.g4Prime + 6.0 * w.chi5 * w.h;
    if (w.liquidCorrection != 0) f += w.x3 * w.f3Prime + w.x3 * w.x * w.f4Prime + w.x31 * w.x * w.f5Prime;
    return f;
}

double psiTheta(const Region3Terms& w) {
    const Region3Constants& K = stmcn3_;
    double f = w.poly[1] + 2.0 * w.tau * w.poly[2] + 3.0 * w.tau2 * w.poly[3] + w.e4Prime * w.g4 +
               K.C50 * (w.lnTheta + 1.0) + w.chi6 * w.hPrime + w.c7Prime;
    if (w.liquidCorrection != 0) f -= (3.0 * w.x2 * w.f3 + 4.0 * w.x3 * w.f4 + 32.0 * w.x31 * w.f5) / K.oneMinusTheta1;
    return f;
}

double psiChiChi(const Region3Terms& w) {
    double f = w.polySecond[0] + w.tau * w.polySecond[1] + w.tau2 * w.polySecond[2] + w.tau3 * w.polySecond[3] +
               w.e4 * w.g4Second + 30.0 * w.chi4 * w.h;
    if (w.liquidCorrection != 0) f += w.x3 * w.f3Second + w.x3 * w.x * w.f4Second + w.x31 * w.x * w.f5Second;
    return f;
}

double psiChiTheta(const Region3Terms& w) {
    const Region3Constants& K = stmcn3_;
    double f = w.polyPrime[1] + 2.0 * w.tau * w.polyPrime[2] + 3.0 * w.tau2 * w.polyPrime[3] + w.e4Prime * w.g4Prime +
               6.0 * w.chi5 * w.hPrime;
    if (w.liquidCorrection != 0) {
        f -= (3.0 * w.x2 * w.f3Prime + 4.0 * w.x3 * w.f4Prime + 32.0 * w.x31 * w.f5Prime) / K.oneMinusTheta1;
    }
    return f;
}

double psiThetaTheta(const Region3Terms& w) {
    const Region3Constants& K = stmcn3_;
    double f = 2.0 * w.poly[2] + 6.0 * w.tau * w.poly[3] + w.e4Second * w.g4 + K.C50 * w.thetaInv + w.chi6 * w.hSecond +
               w.c7Second;
    if (w.liquidCorrection != 0) {
        const double k = K.oneMinusTheta1;
        f += (6.0 * w.x * w.f3 + 12.0 * w.x2 * w.f4 + 992.0 * w.x30 * w.f5) / (k * k);
    }
    return f;
}

}  // namespace

bool inRegion3(double v, double t) { return withinLimits(v, t); }

void region3CurvatureTerms(Region3Terms& w) {
    const Region3Constants& K = stmcn3_;
    double chiInverse[kMostInversePowers + 1];
    inversePowers(w.chi, chiInverse);
    for (int k = 0; k < 4; ++k) w.polySecond[k] = volumePolynomialSecond(polynomialGroup(k), kGroupCounts[k], chiInverse);
    w.g4Second = 30.0 * K.C4n[1] * chiInverse[7];
    w.f3Second = correctionPolynomialSecond(K.D3n, chiInverse);
    w.f4Second = correctionPolynomialSecond(K.D4n, chiInverse);
    w.f5Second = 2.0 * K.D5n[2];
}

void region3Terms(Region3Terms& w, double v, double t) {
    volumeTerms(w, v);
    temperatureTerms(w, t);
    mixedTerms(w);
    region3CurvatureTerms(w);
}

double region3ReducedPressure(const Region3Terms& w) { return -psiChi(w); }

double region3ReducedEntropy(const Region3Terms& w) { return -psiTheta(w); }

double region3ReducedEnthalpy(const Region3Terms& w) { return psi(w) - w.theta * psiTheta(w) - w.chi * psiChi(w); }

// cp = cv + T (dp/dT)_v^2 / -(dp/dv)_T, in reduced form -theta psi_tt + theta psi_ct^2 / psi_cc.
double region3ReducedHeatCapacity(const Region3Terms& w) {
    const double chiTheta = psiChiTheta(w);
    return w.theta * (chiTheta * chiTheta / psiChiChi(w) - psiThetaTheta(w));
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
