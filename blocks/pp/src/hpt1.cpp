// Specific enthalpy of compressed liquid (region 1) at (p, T), Btu/lbm.
#include "steam_frame.h"

namespace vireo::steam {

double region1Enthalpy(double p, double t) {
    return regionProperty(2, RoutineName("HPT1  "), p, t, comt1_, stm1_, [](const Region1Terms& w) {
        const double* A = stmcn1_.A;
        const double* a = stmcn1_.a;
        const double th = w.theta;
        const double z = w.z;
        const double y = w.y;
        const double yp = w.yPrime;
        const double zTerm =
            A[11] * (z * (17.0 * (z / 29.0 - y / 12.0) + 5.0 * th * yp / 12.0) + a[3] * th - (a[2] - 1.0) * th * y * yp) *
            w.zPower;
        const double epsilon = w.epsilonSeries + zTerm + w.epsilonBeta * w.beta -
                               w.epsilonP * w.pressurePolynomial + w.a20Epsilon * w.w + A[21] * a[11] * w.beta3 +
                               21.0 * w.a22 * w.beta4;
        return con(C::pcvc) * (epsilon + con(C::enthalpyShift));
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double hpt1_(const double* p, const double* t) {
    return vireo::steam::region1Enthalpy(*p, *t);
}
