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
//#BP[0] Series, 0 to 2 (-): 0 the Fourier series of the day angle, 1 the ecliptic series
// with epoch 1980, 2 the almanac series with epoch 2000
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

#include "Numbers.h"

#include "horizontal.h"
#include "site.h"
#include "solar.h"
#include "vireo_tools.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace vireo::em {
namespace {

// IP[10]: the series, 1 to 3 (the parameter counts from 0); IP[11] is declared and kept 0.
// RP keeps what changes once a day and once a run, so that a step within a day computes
// only what the clock time changes: the date inputs of the day kept (their bits; NaN while
// none is), the Fourier series' terms of that day or the Julian day of the other series,
// and the latitude whose sine and cosine are kept.
struct State {
    int& series;
    int& unused;
    std::span<float, 3> date;  // RP[0..2]
    float& declination;        // RP[3]: radians
    std::span<float, 2> declinationTrig;  // RP[4..5]
    float& equationOfTime;     // RP[6]: minutes
    float& latitude;           // RP[7]; NaN: none kept
    std::span<float, 2> latitudeTrig;     // RP[8..9]
    float& julianDay;          // RP[10]: exact in single precision up to 16 million
    explicit State(sunae_block::View& b)
        : series(b.ip<10>()), unused(b.ip<11>()), date(b.rp<0, 3>()), declination(b.rp<3>()),
          declinationTrig(b.rp<4, 2>()), equationOfTime(b.rp<6>()), latitude(b.rp<7>()), latitudeTrig(b.rp<8, 2>()),
          julianDay(b.rp<10>()) {}

    bool sameDay(const ClockTime& t) const {
        return std::bit_cast<int>(date[0]) == std::bit_cast<int>(t.year) &&
               std::bit_cast<int>(date[1]) == std::bit_cast<int>(t.month) &&
               std::bit_cast<int>(date[2]) == std::bit_cast<int>(t.day) && date[0] == date[0];
    }
    void keepDay(const ClockTime& t) {
        if (sameDay(t)) return;
        date[0] = t.year;
        date[1] = t.month;
        date[2] = t.day;
        if (series == 2 || series == 3) {
            julianDay = static_cast<float>(vireo::em::julianDay(t));
            return;
        }
        int year = block::nearestInt(t.year), month = block::nearestInt(t.month), day = block::nearestInt(t.day);
        const SolarDay d = solarDay(static_cast<float>(idoy(&year, &month, &day)));
        declination = d.declination;
        declinationTrig[0] = d.declinationTrig.sin;
        declinationTrig[1] = d.declinationTrig.cos;
        equationOfTime = d.equationOfTime;
    }
    SinCos keepLatitude(float degrees) { return keptSinCos(degrees, latitude, latitudeTrig); }
};

}  // namespace

bool sunae_block::checksHold(View& b) { return siteHolds(b); }

void sunae_block::init(View& b) {
    State s(b);
    // Held in range even when refused: init runs all the same, and the block never steps.
    s.series = std::clamp(b.whole<P::series>(), 0, 2) + 1;
    s.unused = 0;
    std::fill(s.date.begin(), s.date.end(), std::numeric_limits<float>::quiet_NaN());
    s.latitude = std::numeric_limits<float>::quiet_NaN();
}

void sunae_block::step(View& b) {
    State s(b);
    const ClockTime time{b.in(0), b.in(1), b.in(2), b.in(3), b.in(4, 0.0f), b.in(5, 0.0f), b.in(6, 0.0f)};
    const Site site = siteOf(b);
    s.keepDay(time);
    const SinCos latitude = s.keepLatitude(site.latitude);
    const SunPosition sun =
        (s.series == 2 || s.series == 3
             ? sunFixOnJulianDay(s.series, static_cast<int>(s.julianDay), latitude, true, time, site)
             : sunFixOnDay({s.declination, {s.declinationTrig[0], s.declinationTrig[1]}, s.equationOfTime}, latitude,
                           true, time, site))
            .position;
    b.out(0) = sun.azimuth;
    b.out(1) = sun.elevation;
    b.out(2) = sun.declination;
    b.out(3) = sun.hourAngle;
}

}  // namespace vireo::em
