// Specific entropy of compressed liquid (region 1) at (p, T), Btu/(lbm·°R).
#include "steam_frame.h"

extern "C" VIREO_STEAM_ROUTINE double spt1_(const double* p, const double* t) {
    using namespace vireo::steam;
    constexpr RoutineName kName("SPT1  ");
    constexpr int kLevel = 2;
    if (memoTest(kLevel, kName, *p, *t)) return levelResult(kLevel);
    const double* recorded = levelArguments(kLevel);
    comt1_(&recorded[0], &recorded[1]);

    const Region1Terms& w = stm1_;
    const double* A = stmcn1_.A;
    const double* a = stmcn1_.a;
    const double zTerm =
        A[11] * ((5.0 * w.z / 12.0 - (a[2] - 1.0) * w.y) * w.yPrime + a[3]) * w.zPower;
    const double sigma = w.sigmaSeries + zTerm + w.sigmaBeta * w.beta - w.sigmaP * w.pressurePolynomial +
                         w.a20Sigma * w.w + A[21] * w.beta3 + 20.0 * A[22] * w.thetaInv21 * w.beta4;
    return levelResult(kLevel) = con(C::pcvcTc) * (sigma - con(C::entropyShift));
}
