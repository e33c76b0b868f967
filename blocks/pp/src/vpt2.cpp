// Specific volume of superheated vapour (region 2) at (p, T), ft³/lbm.
#include "steam_frame.h"

namespace vireo::steam {

double region2Volume(double p, double t) {
    return regionProperty(2, RoutineName("VPT2  "), p, t, comt2_, stm2_, [](const Region2Terms& w) {
        // beta^(mu-1) for mu = 1 to 5, and beta^(m-1) for m = 4, 5, 6
        const double betaPower[5] = {1.0, w.beta, w.beta2, w.beta3, w.beta4};
        const double rationalPower[3] = {w.beta3, w.beta4, w.beta5};
        double chi = con(C::i1) * w.theta / w.beta;
        for (int mu = 1; mu <= 5; ++mu) chi -= mu * betaPower[mu - 1] * w.powerSum[mu - 1];
        for (int r = 0; r < 3; ++r) {
            const double reduced = w.reducedDenominator[r];
            chi -= (r + 4) * w.numerator[r] * rationalPower[r] / (reduced * reduced);
        }
        chi += 11.0 * w.ratio10 * w.boundarySum;
        return con(C::vc) * chi;
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double vpt2_(const double* p, const double* t) {
    return vireo::steam::region2Volume(*p, *t);
}
