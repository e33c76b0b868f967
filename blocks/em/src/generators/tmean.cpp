//#Block TMEAN
//#Description
// Air temperature at a clock time from the day's mean temperature and clearness index: a
// fixed daily course of four harmonics whose amplitude grows with the clearness index
// (after Erbs, Klein and Beckman 1983).
//#Layout
//#Inputs 3--5
//#Outputs 1
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Mean air temperature of the day ($^\circ$C)
//#IN[1] Clearness index of the day (-)
//#IN[2] Hour of the day; fractions allowed (h)
//#IN[3] Minute (min); optional, 0 when not connected
//#IN[4] Second (s); optional, 0 when not connected
//#Outputs
//#OUT[0] Air temperature at the time ($^\circ$C)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The amplitude is 25.8 times the clearness index less 5.21 (K): 0 at an index of about
// 0.2019, where the output is the daily mean at every hour, and an inverted course below
// it. The four harmonics average to 0 over the day, so the mean of the 24 hours is the
// daily mean; hour 24 gives the value of hour 0. The weight of the third harmonic and
// the time of day as an angle of 360 degrees over 24 hours are this block's own. Inputs
// that give no number give 0.
//#end
#include "blocks.h"

#include <cmath>

namespace vireo::em {

void tmean_block::init(View& b) { b.out(0) = 0.0f; }

void tmean_block::step(View& b) {
    constexpr float kPi = 3.1415927f;
    const float hours = b.in(2) + b.in(3, 0.0f) / 60.0f + b.in(4, 0.0f) / 3600.0f;
    const float t = 2.0f * kPi * hours / 24.0f;
    const float amplitude = 25.8f * b.in(1) - 5.21f;
    const float shape = 0.4632f * std::cos(t - 3.805f) + 0.0984f * std::cos(2.0f * t - 0.36f) +
                        0.0158f * std::cos(3.0f * t - 0.822f) + 0.0138f * std::cos(4.0f * t - 3.513f);
    const float temperature = b.in(0) + amplitude * shape;
    b.out(0) = std::isfinite(temperature) ? temperature : 0.0f;
}

}  // namespace vireo::em
