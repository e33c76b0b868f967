//#Block GENV
//#Description
// Synthetic hourly wind speed for a year of 8760 hours: a Gaussian process with the
// given spectrum, a sum of 51 cosines with random phases, whose values order each month's
// hours, mapped onto a Weibull distribution whose scale follows the hourly mean speed and
// whose shape reproduces the month's mean cube. The year is built at initialisation; a
// step reads it.
//#Layout
//#Inputs 1
//#Outputs 3
//#Parameters 148
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Hour of the year, 1 to 8760; later hours repeat the year (h)
//#Outputs
//#OUT[0] Wind speed in that hour (m/s)
//#OUT[1] Annual mean of the 8760 speeds generated (m/s)
//#OUT[2] Gaussian value of the year's last hour (-)
//#Parameters
//#BP[1--96] Mean wind speeds (m/s), at least 0: parameter 12 (k - 1) + m, counted from 1, is
// month m at hour 3 (k - 1) + 1 of the day (hours 1, 4, 7, ..., 22), for k = 1 to 8
//#BP[97--135] Spectrum values of the frequency bins 1 to 39, at least 0 and not all 0:
// parameter 96 + i, counted from 1, is bin i, whose frequency per hour has the natural
// logarithm 0.17 i - 9.4: a period of 425 days for bin 1, 28 days for bin 17, 8.5 days
// for bin 24, a day near bin 37 and 16 hours for bin 39; bins 40 to 51, 14 hours down to
// 2, continue bin 39, falling by a factor of e to the power -1/5 a bin. A value is the
// variance per step of the frequency's logarithm, in any unit: only the shares count (-)
//#BP[135] Factor on the twelve mean cubes that follow, at least 0 (-)
//#BP[137--148] Monthly means of the cubed wind speed, January to December, before the
// factor; at least 0 (m$^3$/s$^3$)
//#Strings
//#None
//#Remarks
// The generator starts from the same seed at every initialisation, so equal parameters
// give the same year on every run; each GENV block keeps its own year. What the monthly
// figures bind: each month's hours are ranked by the process and take the Weibull
// quantiles of their ranks, so every month has the month's distribution, its mean speed
// the mean of its 24 hourly means (within about 1 %, 2 % where a spectrum of one bin near
// a day's period meets a strong daily course) and its mean cube the month's: within a few
// per cent where the hourly means change little over the day, and up to about 20 % where
// they swing several-fold, as the month's few windiest hours, which weigh most in the
// cube, fall on windy or on calm hours of the day as the process has them. The spectrum
// orders the speeds within a month, how long calm and windy spells last; a fluctuation
// slower than a month moves no month away from its figures. The hour is truncated; hour
// 8761 is hour 1 again, hour 0 is hour 8760, and an hour that is no number gives speed 0.
// Negative speeds, spectrum values, factor or cubes and a spectrum of zeros are errors at
// initialisation. A month whose shape search does not settle (a mean cube that no shape
// reaches) gets the shape 10, the calmest, with a warning at initialisation. The
// parameters take effect at initialisation only, when the year is built: a change during
// the run is warned about and not taken.
//#end
#include "blocks.h"

#include "Numbers.h"

#include "genv.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace vireo::em {
namespace {

using P = genv_block::P;

// RP[0..8759]: the year's hourly speeds; RP[8760]: their annual mean;
// RP[8761]: the Gaussian value of the last hour. Built at initialisation.
struct State {
    std::span<float, genv::kHours> w;
    float& annualMean;
    float& lastGaussian;
    explicit State(genv_block::View& b)
        : w(b.rp<0, genv::kHours>()), annualMean(b.rp<genv::kHours>()), lastGaussian(b.rp<genv::kHours + 1>()) {}
};

}  // namespace

bool genv_block::tiesHold(View& b) {
    // A spectrum of zeros has no process to map: refused as a whole.
    for (int n = 0; n < kBins; ++n)
        if (b.par<P::spectrum>(n) > 0.0f) return true;
    b.report(code::genvNoSpectrum, {.ints = {block::paramOffset<P>(P::spectrum) + 1, block::paramOffset<P>(P::factor)}});
    return false;
}

void genv_block::init(View& b) {
    if (refused(b)) return;
    std::array<float, block::parameterCount<P>()> parameters;
    const float* given = b.arrays().BP;
    std::copy(given, given + parameters.size(), parameters.begin());
    const auto year = std::make_unique<genv::WindYear>();
    genv::buildWindYear(parameters, *year);
    State s(b);
    std::copy(year->w.begin(), year->w.end(), s.w.begin());
    s.annualMean = year->annualMean;
    s.lastGaussian = year->lastGaussian;
    for (int m = 0; m < 12; ++m)
        if (year->unsettled[static_cast<std::size_t>(m)])
            b.report(code::genvCubeMissed,
                     {.reals = {b.par<P::factor>() * b.par<P::cubes>(m), year->shape[static_cast<std::size_t>(m)]},
                      .ints = {m + 1}});
}

void genv_block::step(View& b) {
    State s(b);
    const float hour = b.in(0);
    if (std::isfinite(hour)) {
        const long long t = block::toInt(hour);
        const long long index = ((t - 1) % genv::kHours + genv::kHours) % genv::kHours;
        b.out(0) = s.w[static_cast<std::size_t>(index)];
    } else {
        b.out(0) = 0.0f;
    }
    b.out(1) = s.annualMean;
    b.out(2) = s.lastGaussian;
}

}  // namespace vireo::em
