#include "solar.h"

#include "Numbers.h"
#include "angles.h"
#include "routines.h"

#include <cmath>

namespace vireo::em {

SinCos sinCosOf(float degrees) {
    const float x = degrees * kRad;
    return {std::sin(x), std::cos(x)};
}

Incidence incidenceEquatorial(float latitude, float tilt, float surfaceAzimuth, float declination,
                              float hourAngle) {
    return incidenceEquatorial(sinCosOf(latitude), tilt, surfaceAzimuth, sinCosOf(declination), hourAngle);
}

Incidence incidenceEquatorial(SinCos latitude, float tilt, float surfaceAzimuth, SinCos declination, float hourAngle) {
    // Surface azimuth from north, so south-facing is 180.
    const float beta = tilt * kRad, gamma = surfaceAzimuth * kRad, omega = hourAngle * kRad;
    const float sd = declination.sin, cd = declination.cos;
    const float sp = latitude.sin, cp = latitude.cos;
    const float sb = std::sin(beta), cb = std::cos(beta);
    const float cg = std::cos(gamma), sg = std::sin(gamma);
    const float co = std::cos(omega), so = std::sin(omega);
    const float cosTheta =
        sd * sp * cb + sd * cp * sb * cg + cd * cp * cb * co - cd * sp * sb * cg * co - cd * sb * sg * so;
    return {block::acosClamped(cosTheta) / kRad, true};
}

Incidence incidenceHorizontal(float tilt, float surfaceAzimuth, float sunAzimuth, float sunElevation) {
    // Only a sun above the horizon shines on the surface; below it the angle is that of
    // the surface normal with the zenith's opposite, 90 degrees.
    if (!(sunElevation > 0.0f)) return {block::acosClamped(0.0f) / kRad, false};
    const float beta = tilt * kRad, gamma = surfaceAzimuth * kRad;
    const float psi = sunAzimuth * kRad, z = (90.0f - sunElevation) * kRad;
    const float cosTheta = std::cos(beta) * std::cos(z) + std::sin(beta) * std::sin(z) * std::cos(psi - gamma);
    return {block::acosClamped(cosTheta) / kRad, true};
}

}  // namespace vireo::em

extern "C" void inang(const int* mode, const float* a1, const float* a2, const float* a3,
                      const float* a4, const float* a5, float* theta, float* flag) {
    using namespace vireo::em;
    Incidence i{vireo::block::acosClamped(0.0f) / kRad, false};  // no such coordinates: nothing shines
    if (*mode == 1) i = incidenceEquatorial(*a1, *a2, *a3, *a4, *a5);
    else if (*mode == 2) i = incidenceHorizontal(*a2, *a3, *a4, *a5);
    *theta = i.angle;
    *flag = i.lit ? 1.0f : 0.0f;
}
