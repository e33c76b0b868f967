// Specific entropy of compressed liquid (region 1) at (p, T), Btu/(lbm·°R).
#include "steam_frame.h"

namespace vireo::steam {

double region1Entropy(double p, double t) {
    return regionProperty(2, RoutineName("SPT1  "), p, t, comt1_, stm1_, [](const Region1Terms& w) {
        const double* A = stmcn1_.A;
        const double* a = stmcn1_.a;
        const double zTerm =
            A[11] * ((5.0 * w.z / 12.0 - (a[2] - 1.0) * w.y) * w.yPrime + a[3]) * w.zPower;
        const double sigma = w.sigmaSeries + zTerm + w.sigmaBeta * w.beta - w.sigmaP * w.pressurePolynomial +
                             w.a20Sigma * w.w + A[21] * w.beta3 + 20.0 * A[22] * w.thetaInv21 * w.beta4;
        return con(C::pcvcTc) * (sigma - con(C::entropyShift));
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double spt1_(const double* p, const double* t) {
    return vireo::steam::region1Entropy(*p, *t);
}
