//#Block SUNAE
//#Description
// Sun azimuth, elevation, declination and hour angle at the clock time of the inputs, for
// a site in the first sign convention: longitude and time zone counted positive west of
// Greenwich.
//#Layout
//#Inputs 4--7
//#Outputs 4
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Year (-)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Day of the month, 1 to 31 (-)
//#IN[3] Hour of the clock time (h)
//#IN[4] Minute (min); optional, 0 when not connected
//#IN[5] Second (s); optional, 0 when not connected
//#IN[6] Daylight-saving time, subtracted from the clock time (h); optional, 0 when not connected
//#Outputs
//#OUT[0] Sun azimuth from north through east: north 0, east 90, south 180, west 270 (degrees)
//#OUT[1] Sun elevation above the horizon, refraction included (degrees)
//#OUT[2] Declination of the sun (degrees)
//#OUT[3] Hour angle: 0 at solar noon, growing through the afternoon (degrees)
//#Parameters
//#BP[0] Series (-): 0 the Fourier series of the day angle, 1 the ecliptic series with
// epoch 1980, 2 the almanac series with epoch 2000
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, west of Greenwich positive, -360 to 360 (degrees)
//#BP[3] Time zone, hours west of Greenwich, -14 to 23: UTC+1 is 23 or -1, UTC+13 is -13;
// zone 12 is 12 hours east at a site east of Greenwich (h)
//#Strings
//#None
//#Remarks
// A series outside 0 to 2, a latitude or longitude out of range and a time zone that
// rounds to a value outside -14 to 23 are errors at initialisation. A site at sea, and a
// time zone more than two hours away from the site's longitude, are warned about; the
// run still starts.
//#end
#include "blocks.h"

#include "site.h"
#include "solar.h"

namespace vireo::em {
namespace {

// IP[10]: the series, 1 to 3 (the parameter counts from 0); IP[11] is declared and kept 0.
struct State {
    int& series;
    int& unused;
    explicit State(sunae_block::View& b) : series(b.ip<10>()), unused(b.ip<11>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 2, .whole = true, .code = code::badMode}};

Site siteOf(const BlockView& b) { return {b.par(1), b.par(2), b.par(3)}; }

}  // namespace

void sunae_block::init(View& b) {
    State s(b);
    b.check(kRules);
    s.series = b.mode(0, 3) + 1;
    s.unused = 0;
    checkSite(b.reporter(), siteOf(b));
}

void sunae_block::step(View& b) {
    const ClockTime time{b.in(0), b.in(1), b.in(2), b.in(3), b.in(4, 0.0f), b.in(5, 0.0f), b.in(6, 0.0f)};
    const SunPosition sun = sunPosition(State(b).series, true, time, siteOf(b));
    b.out(0) = sun.azimuth;
    b.out(1) = sun.elevation;
    b.out(2) = sun.declination;
    b.out(3) = sun.hourAngle;
}

}  // namespace vireo::em
