//#Block GMEAN
//#Description
// The mean irradiance of an hour from the daily mean irradiance: by the profile of
// Collares-Pereira and Rabl over the day of the month's mean declination, or by a fixed
// sine-shaped day from 6:45 to 17:45.
//#Layout
//#Inputs 3--5
//#Outputs 3
//#Parameters 2
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Daily mean of the global irradiance over 24 hours, the daily sum divided by
// 24 h (W/m$^2$)
//#IN[1] Month, 1 to 12 (-)
//#IN[2] Hour of the day: the hour that begins here (h)
//#IN[3] Minute (min); optional, 0 when not connected
//#IN[4] Second (s); optional, 0 when not connected
//#Outputs
//#OUT[0] Mean irradiance of the hour, in the unit of input 1 (W/m$^2$)
//#OUT[1] Day length (h)
//#OUT[2] Sunset hour angle (degrees)
//#Parameters
//#BP[0] Model, 0 to 1 (-): 0 the profile of Collares-Pereira and Rabl, 1 the fixed day of 11 hours
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#Strings
//#None
//#Remarks
// Model 0 takes the month's mean declination and the hour's middle; a month outside 1 to
// 12 gives outputs of 0, with a warning at the first such step. Where the sun does not
// set the day lasts 24 hours; where it does not rise the hours get nothing.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {
namespace {

// The mean declination (degrees) taken for each month, January first.
constexpr float kDeclination[12] = {-20.9f, -13.0f, -2.4f, 9.4f,  18.8f,  23.1f,
                                     21.2f,  13.5f,  2.2f,  -9.6f, -18.9f, -23.0f};

// IP[10] holds the model slot (1 or 2) and, once a month out of range has been warned
// about, a flag above it: the block has no other slot of its own.
constexpr int kSlotBits = 0xF;
constexpr int kMonthWarned = 0x10;

struct State {
    int& slotAndFlag;            // IP[10]
    std::span<float, 12> declination;  // RP[0..11], degrees, model 0 only
    explicit State(gmean_block::View& b) : slotAndFlag(b.ip<10>()), declination(b.rp<0, 12>()) {}
    int slot() const { return slotAndFlag & kSlotBits; }
};


// The fixed day: a sine over 11 hours from 6:45, scaled to keep the daily sum.
void fixedDay(gmean_block::View& b, float hours) {
    float t = hours - 6.75f;
    if (t > 11.0f || t < 0.0f) t = 0.0f;
    b.out(0) = std::max(0.0f, kPi * 24.0f * b.in(0) / 22.0f * std::sin(kPi * t / 11.0f));
    b.out(1) = 11.0f;
    b.out(2) = 97.5f;
}

}  // namespace

void gmean_block::init(View& b) {
    State s(b);
    s.slotAndFlag = 0;
    for (int i = 0; i < 3; ++i) b.out(i) = 0.0f;
    takeChange(b);
}

// The month warning once given stays given.
void gmean_block::takeChange(View& b) {
    State s(b);
    s.slotAndFlag = (s.slotAndFlag & kMonthWarned) | b.whole<gmean_block::P::model>(1);
    if (s.slot() == 1) std::copy(std::begin(kDeclination), std::end(kDeclination), s.declination.begin());
}

void gmean_block::step(View& b) {
    State s(b);
    const float hour = b.in(2);
    if (s.slot() == 2) {
        fixedDay(b, hour + b.in(3, 0.0f) / 60.0f + b.in(4, 0.0f) / 3600.0f);
        return;
    }

    const int month = block::nearestInt(b.in(1));
    if (month < 1 || month > 12) {
        for (int i = 0; i < 3; ++i) b.out(i) = 0.0f;
        if (!(s.slotAndFlag & kMonthWarned)) {
            s.slotAndFlag |= kMonthWarned;
            b.report(code::monthOutOfRange, {.reals = {b.in(1)}});
        }
        return;
    }
    const float phi = b.par<gmean_block::P::latitude>() * kRad, delta = s.declination[month - 1] * kRad;
    // Polar day: the sun never sets (180 degrees); polar night: it never rises (0).
    const float sunset = block::acosClamped(-std::tan(phi) * std::tan(delta));
    const float dayLength = 2.0f * (sunset / kRad) / 15.0f;
    b.out(1) = dayLength;
    b.out(2) = 90.0f + (dayLength - 12.0f) * 7.5f;

    // Collares-Pereira and Rabl (1979), at the hour angle of the middle of the hour.
    const float omega = kTwoPi * (hour + 0.5f) / 24.0f - kPi;
    float rt = 0.0f;
    if (-sunset < omega && omega < sunset) {
        const float shift = std::sin(sunset - kPi / 3.0f);
        const float a = 0.409f + 0.5016f * shift, bb = 0.6609f - 0.4767f * shift;
        rt = kPi / 24.0f * (a + bb * std::cos(omega)) * (std::cos(omega) - std::cos(sunset)) /
             (std::sin(sunset) - sunset * std::cos(sunset));
        if (rt > 1.0f || rt < 0.0f) rt = 0.0f;
    }
    b.out(0) = std::max(0.0f, 24.0f * b.in(0) * rt);
}

}  // namespace vireo::em
