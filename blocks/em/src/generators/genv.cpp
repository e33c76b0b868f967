//#Block GENV
//#Description
// Synthetic hourly wind speed for a year of 8760 hours: a Gaussian process with the
// given spectrum, a sum of 51 cosines with random phases, mapped hour by hour onto a
// Weibull distribution whose scale follows the hourly mean speed and whose shape
// reproduces the month's mean cube. The year is built at initialisation; a step reads it.
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
//#OUT[1] Annual mean of the hourly mean speeds (m/s)
//#OUT[2] Gaussian value of the year's last hour (-)
//#Parameters
//#BP[1--96] Mean wind speeds at the hours of day 1, 4, 7, ..., 22: parameter 12 (k - 1) + m
// is month m at hour 3 (k - 1) + 1, for k = 1 to 8; at least 0 (m/s)
//#BP[97--135] Spectrum values of the frequency bins 1 to 39, at least 0 and not all 0 (-)
//#BP[135] Factor on the twelve mean cubes that follow, at least 0 (-)
//#BP[137--148] Monthly means of the cubed wind speed, January to December, before the
// factor; at least 0 (m3/s3)
//#Strings
//#None
//#Remarks
// The generator starts from the same seed at every initialisation, so equal parameters
// give the same year on every run; two GENV blocks keep a year each. The hour is
// truncated; hour 8761 is hour 1 again, hour 0 is hour 8760, and an hour that is no
// number gives speed 0. Negative speeds, spectrum values, factor or cubes and a
// spectrum of zeros are errors at initialisation. A month whose shape search does not
// settle (a mean cube that no shape reaches) gets the shape 10, the calmest, with a
// warning at initialisation.
//#end
#include "blocks.h"

#include "Numbers.h"

#include "genv.h"

#include <cfloat>
#include <cmath>
#include <map>

namespace vireo::em {
namespace {

// GENV has no array large enough for a year, so each instance's year is kept here under
// its block number, built again at its initialisation: a second GENV never reads the
// first one's year.
std::map<int, genv::WindYear>& years() {
    static std::map<int, genv::WindYear> byBlock;
    return byBlock;
}

constexpr Rule rule(int parameter, block::Code code) {
    return {.parameter = parameter, .low = 0.0f, .high = FLT_MAX, .code = code};
}

}  // namespace

void genv_block::init(View& b) {
    bool passed = true;
    bool anySpectrum = false;
    for (int i = 0; i < 148; ++i) {
        const block::Code code = i < 96 ? code::genvNegativeSpeed : i < 135 ? code::genvNegativeSpectrum : code::genvNegativeCube;
        passed = b.check(rule(i, code), b.par(i)) && passed;
        if (i >= 96 && i < 135 && b.par(i) > 0.0f) anySpectrum = true;
    }
    if (!anySpectrum) {
        b.report(code::genvNoSpectrum, {.ints = {97, 135}});
        passed = false;
    }
    auto& all = years();
    if (!passed) {
        all.erase(b.blockNumber());
        return;
    }
    std::array<float, 148> parameters;
    for (int i = 0; i < 148; ++i) parameters[i] = b.par(i);
    const genv::WindYear& year = all[b.blockNumber()];
    genv::buildWindYear(parameters, all[b.blockNumber()]);
    for (int m = 0; m < 12; ++m)
        if (year.unsettled[static_cast<std::size_t>(m)])
            b.report(code::genvCubeMissed,
                     {.reals = {b.par(135) * b.par(136 + m), year.shape[static_cast<std::size_t>(m)]}, .ints = {m + 1}});
}

void genv_block::step(View& b) {
    const auto& all = years();
    const auto found = all.find(b.blockNumber());
    if (found == all.end()) {
        for (int k = 0; k < 3; ++k) b.out(k) = 0.0f;
        return;
    }
    const genv::WindYear& year = found->second;
    const float hour = b.in(0);
    if (std::isfinite(hour)) {
        const long long t = block::toInt(hour);
        const long long index = ((t - 1) % genv::kHours + genv::kHours) % genv::kHours;
        b.out(0) = year.w[static_cast<std::size_t>(index)];
    } else {
        b.out(0) = 0.0f;
    }
    b.out(1) = year.annualMean;
    b.out(2) = year.lastGaussian;
}

}  // namespace vireo::em
