// Isobaric heat capacity of superheated vapour (region 2) at (p, T), Btu/(lbm·°R): theta
// d(sigma)/d(theta) at constant pressure in reduced form, from the region-2 terms.
#include "steam_frame.h"

namespace vireo::steam {

double region2HeatCapacity(double p, double t) {
    return regionProperty(2, RoutineName("CPPT2 "), p, t, comt2_, stm2_, [](const Region2Terms& w) {
        const double b = stmcn2_.b;
        const double b2 = b * b;
        const double betaPower[5] = {w.beta, w.beta2, w.beta3, w.beta4, w.beta5};
        double sigmaPrime = w.sigmaSeriesPrime;
        for (int mu = 1; mu <= 5; ++mu) sigmaPrime += b2 * betaPower[mu - 1] * w.powerSumZ2[mu - 1];
        // The rational terms -b (Nz - N S q) q, with q = 1/D, dN = -b Nz, dD = -b S.
        for (int r = 0; r < 3; ++r) {
            const double q = w.quotient[r];
            const double n = w.numerator[r], nz = w.numeratorZ[r], s = w.denominatorX[r];
            sigmaPrime += b2 * q * (w.numeratorZ2[r] - q * (2.0 * nz * s + n * w.denominatorX2[r]) + 2.0 * n * s * s * q * q);
        }
        // The boundary term beta r^10 U with r = beta/betaL and U = 10 betaL'/betaL G + b Gn.
        const double slope = w.betaLPrime / w.betaL;
        const double u = 10.0 * slope * w.boundarySum + b * w.boundarySumN;
        const double uPrime = 10.0 * (con(C::l2Twice) / w.betaL - slope * slope) * w.boundarySum -
                              10.0 * slope * b * w.boundarySumN - b2 * w.boundarySumN2;
        sigmaPrime += w.beta * w.ratio10 * (uPrime - 10.0 * slope * u);
        return con(C::pcvcTc) * w.theta * sigmaPrime;
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cppt2_(const double* p, const double* t) {
    return vireo::steam::region2HeatCapacity(*p, *t);
}
