// Isobaric heat capacity of compressed liquid (region 1) at (p, T), Btu/(lbm·°R): the
// temperature derivative of the enthalpy at constant pressure, theta d(sigma)/d(theta)
// in reduced form, from the region-1 terms.
#include "steam_frame.h"

namespace vireo::steam {

double region1HeatCapacity(double p, double t) {
    return regionProperty(2, RoutineName("CPPT1 "), p, t, comt1_, stm1_, [](const Region1Terms& w) {
        const double* A = stmcn1_.A;
        const double* a = stmcn1_.a;
        const double th = w.theta;
        const double y = w.y, yp = w.yPrime, ypp = w.yPrime2, z = w.z;
        // dZ/dtheta, with Z - Y the radicand's root
        const double zPrime = yp + (a[2] * y * yp - a[3]) / (z - y);
        const double k = (5.0 * z / 12.0 - (a[2] - 1.0) * y) * yp + a[3];
        const double kPrime = (5.0 * zPrime / 12.0 - (a[2] - 1.0) * yp) * yp + (5.0 * z / 12.0 - (a[2] - 1.0) * y) * ypp;
        const double zTerm = A[11] * w.zPower * (kPrime - 5.0 / 17.0 * k * zPrime / z);
        const double sigmaPrime = w.sigmaSeriesPrime + zTerm + w.sigmaBetaPrime * w.beta -
                                  w.sigmaPPrime * w.pressurePolynomial + w.a20SigmaPrime * w.w -
                                  420.0 * A[22] * (w.thetaInv21 / th) * w.beta4;
        return con(C::pcvcTc) * th * sigmaPrime;
    });
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double cppt1_(const double* p, const double* t) {
    return vireo::steam::region1HeatCapacity(*p, *t);
}
