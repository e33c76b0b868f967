#include "routines.h"

#include "Numbers.h"
#include "angles.h"

#include <cmath>

using namespace vireo::em;

extern "C" void inang(const int* mode, const float* a1, const float* a2, const float* a3,
                      const float* a4, const float* a5, float* theta, float* flag) {
    const float beta = *a2 * kRad;
    const float gamma = *a3 * kRad;
    float cosTheta = 0.0f;
    if (*mode == 1) {
        // Equatorial coordinates; surface azimuth from north, so south-facing is 180.
        const float phi = *a1 * kRad;
        const float delta = *a4 * kRad;
        const float omega = *a5 * kRad;
        const float sd = std::sin(delta), cd = std::cos(delta);
        const float sp = std::sin(phi), cp = std::cos(phi);
        const float sb = std::sin(beta), cb = std::cos(beta);
        const float cg = std::cos(gamma), sg = std::sin(gamma);
        const float co = std::cos(omega), so = std::sin(omega);
        cosTheta = sd * sp * cb + sd * cp * sb * cg + cd * cp * cb * co - cd * sp * sb * cg * co -
                   cd * sb * sg * so;
        *flag = 1.0f;
    } else if (*mode == 2) {
        // Horizontal coordinates; only a sun above the horizon shines on the surface.
        const float psi = *a4 * kRad;
        const float z = (90.0f - *a5) * kRad;
        if (*a5 > 0.0f) {
            cosTheta = std::cos(beta) * std::cos(z) + std::sin(beta) * std::sin(z) * std::cos(psi - gamma);
            *flag = 1.0f;
        } else {
            *flag = 0.0f;
        }
    } else {
        *flag = 0.0f;  // no such coordinates: nothing shines
    }
    *theta = vireo::block::acosClamped(cosTheta) / kRad;
}
