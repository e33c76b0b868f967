//#Block SUNAEA
//#Description
// The sun's position averaged over the interval that ends at the clock time of the
// inputs, from sub-steps spread evenly over it; the site is given in the first sign
// convention, longitude and time zone counted positive west of Greenwich.
//#Layout
//#Inputs 7
//#Outputs 4
//#Parameters 6
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month, 1 to 31 (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min)
//#IN[5] Second, not used (s)
//#IN[6] Daylight-saving time, subtracted from the clock time (h)
//#Outputs
//#OUT[0] Mean sun azimuth from north through east, south 180 (degrees)
//#OUT[1] Mean sun elevation above the horizon, refraction included (degrees)
//#OUT[2] Mean declination of the sun (degrees)
//#OUT[3] Mean hour angle: 0 at solar noon, growing through the afternoon (degrees)
//#Parameters
//#BP[0] Series (-): 0 the Fourier series of the day angle, 1 the ecliptic series with
// epoch 1980, 2 the almanac series with epoch 2000
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, west of Greenwich positive, -360 to 360 (degrees)
//#BP[3] Time zone, hours west of Greenwich, -14 to 23: UTC+1 is 23 or -1, UTC+13 is -13;
// zone 12 is 12 hours east at a site east of Greenwich (h)
//#BP[4] Length of the averaging interval (min)
//#BP[5] Number of sub-steps over the interval, 0 to 100000 (-)
//#Strings
//#None
//#Remarks
// With one sub-step the block gives the position at the clock time of the inputs. An
// azimuth or hour angle passing north within the interval is averaged across the turn,
// not through 180 degrees. The site is checked as for SUNAE.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "site.h"
#include "solar.h"
#include "vireo_tools.h"

#include <algorithm>
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
    return mean < 0.0f || mean > 360.0f ? floorMod(mean, 360.0f) : mean;
}

}  // namespace

bool sunaea_block::checksHold(View& b) { return siteHolds(b); }

void sunaea_block::step(View& b) {
    for (int i = 0; i < 4; ++i) b.out(i) = 0.0f;
    // A negative series switches refraction off for every sub-step alike; beyond 3 either
    // way every value takes the Fourier series, so the magnitude is held there.
    const int mode = std::clamp(b.whole<P::series>(1), -4, 4);
    const bool refraction = mode >= 0;
    const int series = refraction ? mode : -mode;
    const float interval = b.par<P::interval>();

    const int year = block::toInt(b.in(0)), month = block::toInt(b.in(1)), day = block::toInt(b.in(2));
    int jd = 0;
    julian(&year, &month, &day, &jd);
    double t = static_cast<double>(jd - 1LL) + b.in(3) / 24.0 + b.in(4) / 1440.0 - interval / 1440.0;
    int steps = b.whole<P::subSteps>();
    double dt = interval / 1440.0;
    if (steps >= 1)
        dt /= b.par<P::subSteps>();
    else
        steps = 1;  // at least one sub-step, at the end of the interval: never a mean of nothing

    const Site site = siteOf(b);
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
        const ClockTime time{static_cast<float>(y), static_cast<float>(m), d, static_cast<float>(h),
                             static_cast<float>(mi), static_cast<float>(s), b.in(6)};
        auto [azimuth, elevation, declination, hourAngle] = sunPosition(series, refraction, time, site);
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
