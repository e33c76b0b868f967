// Specific enthalpy of superheated vapour (region 2) at (p, T), Btu/lbm.
#include "steam_frame.h"

#include <cmath>

namespace vireo::steam {

double region2Enthalpy(double p, double t) {
    // Below this reduced pressure the boundary part is left out (it is far below the
    // last digit there).
    constexpr double kSmallBeta = 0.000351119;
    return regionProperty(2, RoutineName("HPT2  "), p, t, comt2_, stm2_, [](const Region2Terms& w) {
        const double betaPower[5] = {w.beta, w.beta2, w.beta3, w.beta4, w.beta5};
        const double bTheta = w.bTheta;
        double epsilon = w.epsilonSeries;
        for (int mu = 1; mu <= 5; ++mu) {
            epsilon -= betaPower[mu - 1] * (w.powerSum[mu - 1] + bTheta * w.powerSumZ[mu - 1]);
        }
        for (int r = 0; r < 3; ++r) {
            const double q = w.quotient[r];
            epsilon -= q * (w.numerator[r] + bTheta * w.numeratorZ[r] - bTheta * w.denominatorX[r] * q * w.numerator[r]);
        }
        if (std::fabs(w.beta) > kSmallBeta) {
            epsilon += w.beta * w.ratio10 *
                       (w.boundarySum * (1.0 + 10.0 * w.theta * w.betaLPrime / w.betaL) + bTheta * w.boundarySumN);
        }
        return con(C::pcvc) * (epsilon + con(C::enthalpyShift));
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double hpt2_(const double* p, const double* t) {
    return vireo::steam::region2Enthalpy(*p, *t);
}
