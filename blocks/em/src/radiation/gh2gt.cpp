//#Block GH2GT
//#Description
// Irradiance on a tilted surface, split into beam, sky-diffuse and ground-reflected
// parts, from the global and diffuse irradiance on the horizontal, by one of ten
// sky-diffuse models. The block finds the sun for the clock time of the inputs and a site
// in the first sign convention (longitude and time zone counted positive west).
//#Layout
//#Inputs 9--12
//#Outputs 4
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global irradiance on the horizontal G (W/m$^2$)
//#IN[1] Diffuse irradiance on the horizontal Dh (W/m$^2$)
//#IN[2] Tilt of the surface from the horizontal (degrees)
//#IN[3] Azimuth of the surface from north through east, south 180 (degrees)
//#IN[4] Ground reflectance (-)
//#IN[5] Year (-)
//#IN[6] Month, 1 to 12 (-)
//#IN[7] Day of the month (-)
//#IN[8] Hour of the clock time (h)
//#IN[9] Minute (min); optional, 0 when not connected
//#IN[10] Second (s); optional, 0 when not connected
//#IN[11] Daylight-saving time, subtracted from the clock time (h); optional, 0 when not
// connected
//#Outputs
//#OUT[0] Total irradiance on the tilted surface (W/m$^2$)
//#OUT[1] Beam irradiance on the tilted surface (W/m$^2$)
//#OUT[2] Sky-diffuse irradiance on the tilted surface (W/m$^2$)
//#OUT[3] Ground-reflected irradiance on the tilted surface (W/m$^2$)
//#Parameters
//#BP[0] Sky-diffuse model, 0 to 9 (-): 0 isotropic (Liu and Jordan), 1 Temps and Coulson,
// 2 Bugler, 3 Klucher, 4 Hay, 5 horizon factor (Willmott), 6 Skartveit and Olseth,
// 7 Gueymard, 8 Perez (1987), 9 Reindl
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, west of Greenwich positive, -360 to 360 (degrees)
//#BP[3] Time zone, hours west of Greenwich, 0 to 23 (h)
//#Strings
//#None
//#Remarks
// Models 1 and 2 find the sun by the ecliptic series of epoch 1980 and the almanac series
// of epoch 2000, the others by the Fourier series of the day angle (as SUNAE's series 1,
// 2 and 0). The beam is taken only for a sun at least 3 degrees high, and at most ten
// times the horizontal beam; a diffuse irradiance above the global one gives no beam.
// Temps and Coulson, Klucher and the horizon-factor model reflect the ground more
// brightly towards the sun. Skies that no sky gives (a global irradiance above the
// extraterrestrial one on the horizontal, a diffuse one with the sun below the horizon)
// are held to what the physics allows: the beam on the surface is at most the
// extraterrestrial normal irradiance on it, and a circumsolar part of the sky at most what
// that leaves beside the beam; Perez's sky brightness is at most 1, and Gueymard's fit
// takes a sun below the horizon as on it. Skartveit and Olseth's zenith region is out of
// view of a surface turned downwards. A total above the solar constant of 1367 W/m$^2$ is
// warned about at its first step and the number of such steps at the end; the outputs are
// not limited further. The site is checked as for SUNAE.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"
#include "horizontal.h"
#include "site.h"
#include "sky_models.h"
#include "solar.h"
#include "tilted.h"
#include "vireo_tools.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <limits>

namespace vireo::em {
namespace {

// The terms of a day, of the latitude and of the surface change once a day, once a run
// or when an input moves; the instance keeps them so that an hourly step computes only
// what the hour changes. Every output is the same, to the bit, as when they are computed
// afresh. Eleven reals hold them: the Fourier series' terms are not needed by slots 2
// and 3, whose series take the Julian day in their place, and the declination's cosine
// is its sine's square root, as the series make it.
struct State {
    int& slot;               // IP[10]: the model, 1 to 10 (the parameter counts from 0)
    int& dateKey;            // IP[11]: the date of the day kept, packed (see dateKeyOf)
    std::span<int, 2> surfaceKey;  // IP[12..13]: the tilt and azimuth kept, as float bits; NaN: none
    int& aboveSteps;         // IP[14]: steps with a total above the solar constant
    int& reportedSteps;      // IP[15]: of those, the steps reported at a last call
    float& e0;               // RP[0]: the orbit's eccentricity factor; NaN while no day is kept
    float& declination;      // RP[1]: of the Fourier series, radians; slots 2 and 3: the Julian day
    float& sinDeclination;   // RP[2]
    float& equationOfTime;   // RP[3]: minutes
    float& latitude;         // RP[4]: whose sine and cosine are kept; NaN: none
    std::span<float, 2> latitudeTrig;  // RP[5..6]
    std::span<float, 4> surfaceTrig;   // RP[7..10]: sine and cosine of the tilt, of the azimuth
    explicit State(gh2gt_block::View& b)
        : slot(b.ip<10>()), dateKey(b.ip<11>()), surfaceKey(b.ip<12, 2>()), aboveSteps(b.ip<14>()),
          reportedSteps(b.ip<15>()), e0(b.rp<0>()), declination(b.rp<1>()), sinDeclination(b.rp<2>()),
          equationOfTime(b.rp<3>()), latitude(b.rp<4>()), latitudeTrig(b.rp<5, 2>()), surfaceTrig(b.rp<7, 4>()) {}

    bool julianSeries() const { return slot == 2 || slot == 3; }

    SolarDay day() const { return {declination, {sinDeclination, cosineOf(sinDeclination)}, equationOfTime}; }

    // A date of whole numbers in a plain range packed into one int; any other date has no
    // key and its terms are computed at every step.
    static constexpr int kNoKey = INT_MIN;
    static int dateKeyOf(const ClockTime& time) {
        const float y = time.year, m = time.month, d = time.day;
        if (!(y >= -1.0e6f && y <= 1.0e6f && m >= 0.0f && m <= 15.0f && d >= 0.0f && d <= 63.0f)) return kNoKey;
        const int yi = static_cast<int>(y), mi = static_cast<int>(m), di = static_cast<int>(d);
        if (static_cast<float>(yi) != y || static_cast<float>(mi) != m || static_cast<float>(di) != d) return kNoKey;
        return (yi * 16 + mi) * 64 + di;
    }

    void keepDay(const ClockTime& time) {
        const int key = dateKeyOf(time);
        if (key != kNoKey && e0 == e0 && dateKey == key) return;
        dateKey = key;
        int year = block::nearestInt(time.year), month = block::nearestInt(time.month);
        int dayOfMonth = block::nearestInt(time.day);
        if (julianSeries()) {
            declination = static_cast<float>(vireo::em::julianDay(time));
        } else {
            const SolarDay d = solarDay(static_cast<float>(idoy(&year, &month, &dayOfMonth)));
            declination = d.declination;
            sinDeclination = d.declinationTrig.sin;
            equationOfTime = d.equationOfTime;
        }
        e0 = spencerEccentricity(dayOfCommonYear(year, month, dayOfMonth));
    }

    SinCos keepLatitude(float degrees) { return keptSinCos(degrees, latitude, latitudeTrig); }

    // The tilt and azimuth are inputs, which may change from one step to the next.
    void keepSurface(const Surface& surface) {
        if (surface.tilt == std::bit_cast<float>(surfaceKey[0]) &&
            surface.azimuth == std::bit_cast<float>(surfaceKey[1]))
            return;
        const float beta = surface.tilt * kRad, gamma = surface.azimuth * kRad;
        surfaceTrig[0] = std::sin(beta);
        surfaceTrig[1] = std::cos(beta);
        surfaceTrig[2] = std::sin(gamma);
        surfaceTrig[3] = std::cos(gamma);
        surfaceKey[0] = std::bit_cast<int>(surface.tilt);
        surfaceKey[1] = std::bit_cast<int>(surface.azimuth);
    }
};

}  // namespace

bool gh2gt_block::checksHold(View& b) { return siteHolds(b); }

void gh2gt_block::init(View& b) {
    State s(b);
    // Held in range even when refused: init runs all the same, and the block never steps.
    s.slot = std::clamp(b.whole<P::model>(), 0, kSkyModels - 1) + 1;
    s.e0 = std::numeric_limits<float>::quiet_NaN();
    s.latitude = std::numeric_limits<float>::quiet_NaN();
    s.surfaceKey[0] = s.surfaceKey[1] = std::bit_cast<int>(std::numeric_limits<float>::quiet_NaN());
}

void gh2gt_block::step(View& b) {
    State s(b);
    const float global = b.in(0), diffuse = b.in(1);
    const Surface surface{b.in(2), b.in(3), b.in(4)};
    const ClockTime time{b.in(5), b.in(6), b.in(7), b.in(8), b.in(9, 0.0f), b.in(10, 0.0f), b.in(11, 0.0f)};
    const Site site = siteOf(b);

    s.keepDay(time);
    const SinCos latitude = s.keepLatitude(site.latitude);
    // The model's slot picks the sun's series too: slots 2 and 3 take the ecliptic series of
    // epoch 1980 and the almanac series of epoch 2000.
    const int slot = s.slot;
    // Only the models that brighten the ground towards the sun take its azimuth.
    const bool azimuth = slot == 2 || slot == 4 || slot == 6 || slot == 8;
    const SunFix fix = s.julianSeries()
                           ? sunFixOnJulianDay(slot, static_cast<int>(s.declination), latitude, true, time, site, azimuth)
                           : sunFixOnDay(s.day(), latitude, true, time, site, azimuth);
    const SunPosition& sun = fix.position;
    // The incidence on the surface from the sines and cosines at hand (the same sum as the
    // incidence routine's), never through its angle and back.
    s.keepSurface(surface);
    const float sb = s.surfaceTrig[0], cb = s.surfaceTrig[1], sg = s.surfaceTrig[2], cg = s.surfaceTrig[3];
    const float sd = fix.declination.sin, cd = fix.declination.cos;
    const float sp = latitude.sin, cp = latitude.cos;
    const float co = fix.hourAngle.cos, so = fix.hourAngle.sin;
    const float cosTheta =
        sd * sp * cb + sd * cp * sb * cg + cd * cp * cb * co - cd * sp * sb * cg * co - cd * sb * sg * so;
    // The sun in front of the surface by the cosine, as for any caller with the cosines.
    const TiltedIrradiance t =
        sky::tilted(static_cast<SkyModel>(slot - 1), {0.0f, 90.0f - sun.elevation, sun.azimuth, s.e0},
                    {cosTheta, fix.cosZenith, sb, cb}, cosTheta > 0.0f, surface, global, diffuse);
    if (t.total > 1367.0f) b.countWarning(s.aboveSteps, code::aboveSolarConstant, {.reals = {t.total}});
    b.out(0) = t.total;
    b.out(1) = t.beam;
    b.out(2) = t.diffuse;
    b.out(3) = t.ground;
}

void gh2gt_block::last(View& b) {
    State s(b);
    b.reportCountSince(s.aboveSteps, s.reportedSteps, code::stepsAboveSolarConstant);
}

}  // namespace vireo::em
