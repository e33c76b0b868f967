// Site checks of a block, in the first sign convention (longitude and time zone positive
// west).
#include "site.h"

#include "Numbers.h"
#include "messages.h"
#include "routines.h"

#include <cmath>

namespace vireo::em {

bool checkSite(block::Reporter r, const Site& site) {
    bool held = true;
    const auto refuse = [&](block::Code code, float value) {
        r.report(code, {.reals = {value}});
        held = false;
    };
    // Written so that NaN fails every range check.
    if (!(std::fabs(site.latitude) <= 90.0f)) refuse(code::badLatitude, site.latitude);
    if (!(std::fabs(site.longitude) <= 360.0f)) refuse(code::badLongitude, site.longitude);
    // Hours west, 0 to 23; beyond 12 hours east (UTC+13, UTC+14) only as negative hours
    // west, which are accepted from -14 for every eastern zone.
    const float zone = std::isfinite(site.timeZone) ? site.timeZone : -99.0f;
    const int rounded = block::nearestInt(zone);
    if (rounded < -14 || rounded > 23) refuse(code::badTimeZone, site.timeZone);
    if (r.status() != 0) return held;

    const float east = -site.longitude;
    if (!onLand(site.latitude, east)) r.show(code::atSea, {.text = siteText(site.latitude, east)});

    // The zone should lie within two hours (30 degrees) of the longitude; near Greenwich
    // both are carried past a full turn so that zones 23 and 0 compare with longitudes
    // on either side of it.
    float l = site.longitude < 0.0f ? site.longitude + 360.0f : site.longitude;
    float t = floorMod(site.timeZone, 24.0f);  // -13 is the zone of 11 hours west
    if (!(l > 30.0f && l < 330.0f)) {
        if (t < 12.0f) t += 24.0f;
        if (l <= 30.0f) l += 360.0f;
    }
    if (std::fabs(15.0f * t - l) > 30.0f)
        r.show(code::zoneFarFromLongitude, {.reals = {site.timeZone, site.longitude}});
    return true;
}

}  // namespace vireo::em

// For callers with nothing but the block's IP: the messages name the block by its number.
extern "C" void cksite(const float* latitude, const float* longitude, const float* timeZone, int* IP) {
    vireo::em::checkSite(vireo::block::Reporter(IP, ""), {*latitude, *longitude, *timeZone});
}
