// Site checks of a block at initialisation, in the first sign convention (longitude and
// time zone positive west).
#include "routines.h"

#include "Numbers.h"
#include "vireo_tools.h"

#include <cmath>

namespace {
// Message values of cksite's own: no reals and an empty text beside the block's IP.
const float kNoReals[16] = {};
const char kNoText[1024] = {};

void report(int* IP, int code) {
    IP[0] = code;
    msg(IP, kNoReals, kNoText, sizeof kNoText);
}
}  // namespace

extern "C" void cksite(const float* latitude, const float* longitude, const float* timeZone, int* IP) {
    // Written so that NaN fails every range check.
    if (!(std::fabs(*latitude) <= 90.0f)) report(IP, 305033);
    if (!(std::fabs(*longitude) <= 360.0f)) report(IP, 305082);
    const float zone = std::isfinite(*timeZone) ? *timeZone : -1.0f;
    const int rounded = vireo::block::nearestInt(zone);
    if (rounded < 0 || rounded > 23) report(IP, 305034);
    if (IP[0] != 0) return;

    const float east = -*longitude;
    check_coordinates(latitude, &east, &IP[3]);

    // The zone should lie within two hours (30 degrees) of the longitude; near Greenwich
    // both are carried past a full turn so that zones 23 and 0 compare with longitudes
    // on either side of it.
    float l = *longitude < 0.0f ? *longitude + 360.0f : *longitude;
    float t = *timeZone;
    if (!(l > 30.0f && l < 330.0f)) {
        if (t < 12.0f) t += 24.0f;
        if (l <= 30.0f) l += 360.0f;
    }
    if (std::fabs(15.0f * t - l) > 30.0f) {
        report(IP, 205135);
        IP[0] = 0;
    }
}
