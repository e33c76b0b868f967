// Specific volume of compressed liquid (region 1) at (p, T), ft³/lbm.
#include "steam_frame.h"

extern "C" VIREO_STEAM_ROUTINE double vpt1_(const double* p, const double* t) {
    using namespace vireo::steam;
    constexpr RoutineName kName("VPT1  ");
    constexpr int kLevel = 2;
    if (memoTest(kLevel, kName, *p, *t)) return levelResult(kLevel);
    const double* recorded = levelArguments(kLevel);
    comt1_(&recorded[0], &recorded[1]);

    const Region1Terms& w = stm1_;
    const double* A = stmcn1_.A;
    const double* a = stmcn1_.a;
    const double chi = A[11] * a[4] * w.zPower + w.chiBeta - w.pressurePolynomialPrime * w.pInv -
                       w.a20Chi * w.wPrime + 3.0 * w.a21Chi * w.beta2 + 4.0 * w.a22 * w.beta3;
    return levelResult(kLevel) = con(C::vc) * chi;
}
