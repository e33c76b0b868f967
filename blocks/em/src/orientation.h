// Geometry of tilted and turned surfaces that the shading and orientation blocks share:
// the extreme search by thirds, the orientation of a surface turned about one axis, and
// the residuals of the three searches as values.
#ifndef VIREO_EM_ORIENTATION_H
#define VIREO_EM_ORIENTATION_H

#include <cmath>

namespace vireo::em {

struct Extreme {
    float x;
    bool converged;  // the interval narrowed below the tolerance within the iterations
};

enum class Seek { maximum, minimum };

// The extreme of a residual that has one in [lo, hi], by repeated thirds: each iteration
// evaluates the residual at the two inner third points, lower point first, and keeps the
// two thirds that hold the better one. At most 100 iterations.
template <class Residual>
Extreme searchByThirds(Residual&& f, float lo, float hi, float tolerance, Seek seek) {
    float width = hi - lo;
    for (int k = 0; k < 100; ++k) {
        const float p1 = lo + width / 3.0f;
        const float p2 = lo + 2.0f * width / 3.0f;
        const auto f1 = f(p1);
        const auto f2 = f(p2);
        if (seek == Seek::maximum ? f1 > f2 : f2 > f1) hi = p2;
        else lo = p1;
        width = hi - lo;
        if (width < tolerance) return {0.5f * (lo + hi), true};
    }
    return {0.5f * (lo + hi), false};
}

// A surface that faces the direction of its axis (tilted by the axis tilt towards it)
// and is turned about the axis by a rotation, positive turning it clockwise seen from
// above. Its tilt, and its azimuth as an offset from the axis's direction, radians; a
// horizontal surface has no azimuth. Formed from the components of the turned normal in
// double precision: the arc sine of their ratio loses degrees near +-90 in single
// precision.
struct TurnedSurface {
    double tilt;
    double azimuthOffset;  // -pi/2 .. pi/2
    bool horizontal;
};

inline TurnedSurface turnSurface(double axisTilt, double rotation) {
    const double across = std::sin(rotation);
    const double along = std::sin(axisTilt) * std::cos(rotation);
    const double up = std::cos(axisTilt) * std::cos(rotation);
    const double level = std::hypot(across, along);
    return {std::atan2(level, up), std::atan2(across, std::fabs(along)), level == 0.0};
}

// The residuals over the shared areas laid out as cem0031 and cem0032 (routines.h).
float rowShadowReach(float beta, const float* area);
double tiltIncidence(double beta, const float* area);

// Incidence angle (radians) of the sun on a surface turned by phi about an axis of tilt
// betaf whose unturned surface faces pi + dgamma; gamma0 is the azimuth of the surface
// when it lies horizontal.
struct TurnedIncidence {
    double incidence, tilt, azimuth;
};
TurnedIncidence turnedIncidence(double phi, double psi, double alpha, double betaf, double dgamma, double gamma0);

}  // namespace vireo::em

#endif
