// SUNAEA: the sun's position averaged over the interval that ends at the clock time of
// the inputs, from sub-steps spread evenly over it.
#include "blocks.h"

#include "Numbers.h"
#include "routines.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo::em {
namespace {

// Brings an angle (degrees) to within half a turn of the previous sample, so that a mean
// over samples that cross north (or an hour angle that crosses noon) stays a mean of
// neighbouring directions whichever way the angle runs.
float unwrap(float value, float previous) {
    return value - 360.0f * std::round((value - previous) / 360.0f);
}

float intoTurn(float mean) {
    if (mean < 0.0f || mean > 360.0f) {
        const float turn = 360.0f;
        mean = float_mod(&mean, &turn);
    }
    return mean;
}

}  // namespace

void sunaea_block::init(BlockView& b) {
    const float latitude = b.par(1), longitude = b.par(2), zone = b.par(3);
    cksite(&latitude, &longitude, &zone, b.arrays().IP);
}

void sunaea_block::step(BlockView& b) {
    for (int i = 0; i < 4; ++i) b.out(i) = 0.0f;
    int mode = block::nearestInt(b.par(0), 1);
    const float interval = b.par(4);

    const int year = block::toInt(b.in(0)), month = block::toInt(b.in(1)), day = block::toInt(b.in(2));
    int jd = 0;
    julian(&year, &month, &day, &jd);
    double t = static_cast<double>(jd - 1LL) + b.in(3) / 24.0 + b.in(4) / 1440.0 - interval / 1440.0;
    int steps = block::nearestInt(b.par(5));
    double dt = interval / 1440.0;
    if (steps >= 1)
        dt /= b.par(5);
    else
        steps = 1;  // at least one sub-step, at the end of the interval: never a mean of nothing

    const float dst = b.in(6), latitude = b.par(1), longitude = b.par(2), zone = b.par(3);
    float sums[4] = {};
    float previousAzimuth = 0.0f, previousHourAngle = 0.0f;
    for (int i = 1; i <= steps; ++i) {
        t += dt;
        const double whole = std::trunc(t);
        int y = 0, m = 0;
        float d = 0.0f;
        jd2dat(&whole, &y, &m, &d);
        const double f = t - whole;
        const double h = std::trunc(24.0 * f);
        const double mi = std::trunc(1440.0 * (f - h / 24.0));
        const double s = std::trunc(86400.0 * (f - h / 24.0 - mi / 1440.0));
        const float fy = static_cast<float>(y), fm = static_cast<float>(m);
        const float fh = static_cast<float>(h), fmi = static_cast<float>(mi), fs = static_cast<float>(s);
        float azimuth = 0.0f, elevation = 0.0f, declination = 0.0f, hourAngle = 0.0f;
        sunae(&mode, &fy, &fm, &d, &fh, &fmi, &fs, &dst, &latitude, &longitude, &zone, &azimuth,
              &elevation, &declination, &hourAngle);
        if (i > 1) {
            azimuth = unwrap(azimuth, previousAzimuth);
            hourAngle = unwrap(hourAngle, previousHourAngle);
        }
        previousAzimuth = azimuth;
        previousHourAngle = hourAngle;
        sums[0] += azimuth;
        sums[1] += elevation;
        sums[2] += declination;
        sums[3] += hourAngle;
    }
    const float n = static_cast<float>(steps);
    b.out(0) = intoTurn(sums[0] / n);
    b.out(1) = sums[1] / n;
    b.out(2) = sums[2] / n;
    b.out(3) = intoTurn(sums[3] / n);
}

}  // namespace vireo::em
