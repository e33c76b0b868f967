// The terms common to every property of region 1 (compressed liquid) at one (p, T).
//
// The work area keeps the terms that depend on pressure alone, on temperature alone and
// on both apart, so that a call at a new pressure and the same temperature (or the other
// way round) recomputes only the half that changed.
#include "steam_frame.h"

#include <cmath>

extern "C" {
Region1Terms stm1_ = {};
}

namespace vireo::steam {
namespace {

constexpr RoutineName kName("COMT1 ");
constexpr int kLevel = 1;

// 6 a2, as the formulation's derivative of Y uses it.
constexpr double kA2Times6 = 0.0032172972972;
// Next to theta = a6 the ninth and tenth powers of (a6 - theta) would underflow.
constexpr double kSmallD = 1.58489e-4;
constexpr double kMinusFiveSeventeenths = -0.29411764705882354;

void pressureTerms(Region1Terms& w, double p) {
    const double* A = stmcn1_.A;
    const double* a = stmcn1_.a;
    w.beta = p / con(C::pc);
    w.beta2 = w.beta * w.beta;
    w.beta3 = w.beta2 * w.beta;
    w.beta4 = w.beta3 * w.beta;
    w.u = a[9] + w.beta;
    const double u3 = w.u * w.u * w.u;
    w.uInv3 = 1.0 / u3;
    w.uInv4 = w.uInv3 / w.u;
    w.w = a[10] * w.beta + w.uInv3;
    w.wPrime = a[10] - 3.0 * w.uInv4;
    w.pressurePolynomial = A[17] * w.beta + A[18] * w.beta2 + A[19] * w.beta3;
    w.pressurePolynomialPrime = A[17] + 2.0 * A[18] * w.beta + 3.0 * A[19] * w.beta2;
}

void temperatureTerms(Region1Terms& w, double t) {
    const double* A = stmcn1_.A;
    const double* a = stmcn1_.a;
    const double th = (t + con(C::rankine)) / con(C::tc);
    w.theta = th;
    w.lnTheta = std::log(th);
    // theta^(n-1) for n = 1 to 11
    double power[12];
    power[0] = 1.0;
    for (int n = 1; n < 12; ++n) power[n] = power[n - 1] * th;
    w.theta2 = power[2];
    w.theta10 = power[10];
    w.theta11 = power[11];
    w.theta17 = w.theta11 * power[6];
    w.theta18 = w.theta17 * th;
    w.theta19 = w.theta18 * th;
    w.thetaInv6 = 1.0 / power[6];
    w.thetaInv7 = w.thetaInv6 / th;
    w.thetaInv20 = 1.0 / (w.theta19 * th);
    w.thetaInv21 = w.thetaInv20 / th;

    w.y = 1.0 - a[0] * w.theta2 - a[1] * w.thetaInv6;
    w.yPrime = -2.0 * a[0] * th + kA2Times6 * w.thetaInv7;
    w.yPrime2 = -2.0 * a[0] - 7.0 * kA2Times6 * w.thetaInv7 / th;
    const double d = a[5] - th;
    if (std::fabs(d) <= kSmallD) {
        w.d8 = 0.0;
        w.d9 = 0.0;
        w.d10 = 0.0;
    } else {
        const double d2 = d * d;
        const double d4 = d2 * d2;
        w.d8 = d4 * d4;
        w.d9 = w.d8 * d;
        w.d10 = w.d9 * d;
    }
    w.pDenominator = a[7] + w.theta11;
    w.qDenominator = a[6] + w.theta19;

    double epsilon = A[0] * th;
    double sigma = A[0] * w.lnTheta;
    double sigmaPrime = A[0] / th;
    for (int n = 1; n <= 10; ++n) {
        epsilon -= (n - 2) * A[n] * power[n - 1];
        if (n >= 2) sigma -= (n - 1) * A[n] * power[n - 2];
        if (n >= 3) sigmaPrime -= (n - 1) * (n - 2) * A[n] * power[n - 3];
    }
    w.epsilonSeries = epsilon;
    w.sigmaSeries = sigma;
    w.sigmaSeriesPrime = sigmaPrime;

    const double q = w.qDenominator;
    w.chiBeta = A[12] + A[13] * th + A[14] * w.theta2 + A[15] * w.d10 + A[16] / q;
    w.epsilonBeta = A[12] - A[14] * w.theta2 + A[15] * (9.0 * th + a[5]) * w.d9 +
                    A[16] * (20.0 * w.theta19 + a[6]) / (q * q);
    w.sigmaBeta = -A[13] - 2.0 * A[14] * th + 10.0 * A[15] * w.d9 + 19.0 * A[16] * w.theta18 / (q * q);
    w.sigmaBetaPrime = -2.0 * A[14] - 90.0 * A[15] * w.d8 +
                       19.0 * A[16] * w.theta17 * (18.0 * q - 38.0 * w.theta19) / (q * q * q);

    const double pd = w.pDenominator;
    w.pInv = 1.0 / pd;
    w.epsilonP = (12.0 * w.theta11 + a[7]) / (pd * pd);
    w.sigmaP = 11.0 * w.theta10 / (pd * pd);
    w.sigmaPPrime = 11.0 * power[9] * (10.0 * pd - 22.0 * w.theta11) / (pd * pd * pd);

    w.a20Chi = A[20] * w.theta18 * (a[8] + w.theta2);
    w.a20Epsilon = A[20] * w.theta18 * (17.0 * a[8] + 19.0 * w.theta2);
    w.a20Sigma = A[20] * w.theta17 * (18.0 * a[8] + 20.0 * w.theta2);
    w.a20SigmaPrime = A[20] * (w.theta17 / th) * (306.0 * a[8] + 380.0 * w.theta2);
    w.a21Chi = A[21] * (a[11] - th);
    w.a22 = A[22] * w.thetaInv20;
}

// A pressure of zero or below, and a NaN in either argument, is out of range too.
bool withinLimits(double p, double t) {
    return p > con(C::pLower) && p <= con(C::pUpper) && t >= con(C::tLower) && t <= con(C::tUpper1);
}

// The terms of both arguments. False where they have no real value: on the vapour side
// of the saturation line above about 620 °F, a state that is out of range rather than a
// NaN.
bool mixedTerms(Region1Terms& w) {
    const double* a = stmcn1_.a;
    w.radicand = a[2] * w.y * w.y - 2.0 * a[3] * w.theta + 2.0 * a[4] * w.beta;
    if (!(w.radicand >= 0.0)) return false;
    w.z = w.y + std::sqrt(w.radicand);
    if (!(w.z > 0.0)) return false;
    w.zPower = std::pow(w.z, kMinusFiveSeventeenths);
    return true;
}

}  // namespace

bool inRegion1(double p, double t) {
    if (!withinLimits(p, t)) return false;
    Region1Terms w{};
    pressureTerms(w, p);
    temperatureTerms(w, t);
    return mixedTerms(w);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE void comt1_(const double* p, const double* t) {
    using namespace vireo::steam;
    Region1Terms& w = stm1_;
    if (!refreshCommonTerms(kLevel, kName, *p, *t, withinLimits(*p, *t), w, pressureTerms, temperatureTerms)) return;
    const bool real = mixedTerms(w);
    storeName(levelName(kLevel), kName);
    if (!real) fail(kName, 12, *p, *t);
}
