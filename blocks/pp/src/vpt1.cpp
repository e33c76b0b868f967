// Specific volume of compressed liquid (region 1) at (p, T), ft³/lbm.
#include "steam_frame.h"

namespace vireo::steam {

double region1Volume(double p, double t) {
    return regionProperty(2, RoutineName("VPT1  "), p, t, comt1_, stm1_, [](const Region1Terms& w) {
        const double* A = stmcn1_.A;
        const double* a = stmcn1_.a;
        const double chi = A[11] * a[4] * w.zPower + w.chiBeta - w.pressurePolynomialPrime * w.pInv -
                           w.a20Chi * w.wPrime + 3.0 * w.a21Chi * w.beta2 + 4.0 * w.a22 * w.beta3;
        return con(C::vc) * chi;
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double vpt1_(const double* p, const double* t) {
    return vireo::steam::region1Volume(*p, *t);
}
