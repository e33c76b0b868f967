// Specific entropy of superheated vapour (region 2) at (p, T), Btu/(lbm·°R).
#include "steam_frame.h"

namespace vireo::steam {

double region2Entropy(double p, double t) {
    return regionProperty(2, RoutineName("SPT2  "), p, t, comt2_, stm2_, [](const Region2Terms& w) {
        const double b = stmcn2_.b;
        const double betaPower[5] = {w.beta, w.beta2, w.beta3, w.beta4, w.beta5};
        double sigma = -con(C::i1) * w.lnBeta + w.sigmaSeries;
        for (int mu = 1; mu <= 5; ++mu) sigma -= b * betaPower[mu - 1] * w.powerSumZ[mu - 1];
        for (int r = 0; r < 3; ++r) {
            const double q = w.quotient[r];
            sigma -= b * q * (w.numeratorZ[r] - w.denominatorX[r] * q * w.numerator[r]);
        }
        sigma += w.beta * w.ratio10 * (10.0 * w.betaLPrime / w.betaL * w.boundarySum + b * w.boundarySumN);
        return con(C::pcvcTc) * (sigma - con(C::entropyShift));
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double spt2_(const double* p, const double* t) {
    return vireo::steam::region2Entropy(*p, *t);
}
