//#Block GOH
//#Description
// Extraterrestrial irradiance on a horizontal surface at the clock time of the inputs,
// for a site in the first sign convention (longitude and time zone counted positive
// west).
//#Layout
//#Inputs 4--7
//#Outputs 1
//#Parameters 3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min); optional, 0 when not connected
//#IN[5] Second (s); optional, 0 when not connected
//#IN[6] Daylight-saving time, subtracted from the clock time (h); optional, 0 when not
// connected
//#Outputs
//#OUT[0] Extraterrestrial irradiance on the horizontal (W/m$^2$)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, west of Greenwich positive, -360 to 360 (degrees)
//#BP[2] Time zone, hours west of Greenwich, 0 to 23 (h)
//#Strings
//#None
//#Remarks
// The solar constant is 1367 W/m$^2$, times the orbit's eccentricity factor by Spencer's
// series; the sun by the ecliptic series of epoch 1980, its elevation with refraction.
// The output is 0 while the sun is not above the horizon. The site is checked as for
// SUNAE.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"
#include "site.h"
#include "solar.h"

#include <cmath>

namespace vireo::em {
namespace {

constexpr int kEclipticSeries = 2;

}  // namespace

bool goh_block::checksHold(View& b) { return siteHolds(b); }

void goh_block::step(View& b) {
    const ClockTime time{b.in(0), b.in(1), b.in(2), b.in(3), b.in(4, 0.0f), b.in(5, 0.0f), b.in(6, 0.0f)};
    const Site site = siteOf(b);
    const SunPosition sun = sunPosition(kEclipticSeries, true, time, site);
    const Incidence horizontal = incidenceEquatorial(site.latitude, 0.0f, 180.0f, sun.declination, sun.hourAngle);
    float g = 0.0f;
    if (std::fabs(horizontal.angle) < 90.0f && sun.elevation > 0.0f && sun.elevation < 180.0f) {
        const float day = dayOfCommonYear(block::nearestInt(time.year), block::nearestInt(time.month),
                                          block::nearestInt(time.day));
        g = eccentricity(1, day) * 1367.0f * std::cos((90.0f - sun.elevation) * kRad);
    }
    b.out(0) = g;
}

}  // namespace vireo::em
