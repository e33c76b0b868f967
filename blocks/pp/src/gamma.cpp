// Isentropic exponent -dln p / dln v at (p, h), from the volume after an isentropic step
// of 5 % in pressure (the step in single precision, as it has always been taken).
#include "steam_frame.h"

#include <cmath>

namespace vireo::steam {

double isentropicExponent(double p, double h) {
    recordCall(7, RoutineName("GAMMA "), p, h);
    double pNew = p + p * 0.05000000074505806;
    double s = sph_(&p, &h);
    const double v = vph_(&p, &h);
    const double vNew = vps_(&pNew, &s);
    return std::log(p / pNew) / std::log(vNew / v);
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE double gamma_(const double* p, const double* h) {
    return vireo::steam::isentropicExponent(*p, *h);
}
