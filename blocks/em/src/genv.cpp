// GENV's gamma routines, its Weibull shape search and the synthetic year it builds.
#include "genv.h"

#include "routines.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vireo::em::genv {

float dgamln(float x) {
    const double y = x - 1.0;
    double t = y + 5.5;
    t = (y + 0.5) * std::log(t) - t;
    const double s = 1.0 + 76.18009173 / (y + 1.0) - 86.50532033 / (y + 2.0) + 24.01409822 / (y + 3.0) -
                     1.231739516 / (y + 4.0) + 0.120858003e-2 / (y + 5.0) - 0.536382e-5 / (y + 6.0);
    return static_cast<float>(t + std::log(2.50662827465 * s));
}

float dtovangamma(float x) { return std::exp(dgamln(x)); }

namespace {

// The mean over the day of the Weibull third moment with shape q and the hourly means v.
float meanCube(float q, std::span<const float, 24> v) {
    const float scale = dtovangamma(1.0f + 1.0f / q);
    const float moment = dtovangamma(1.0f + 3.0f / q);
    float sum = 0.0f;
    for (float vi : v) {
        const float a = vi / scale;
        sum += a * a * a * moment;
    }
    return sum / 24.0f;
}

}  // namespace

float dubgam4(float target, std::span<const float, 24> v, bool* settled) {
    if (settled != nullptr) *settled = true;
    float lo = 1.0f, hi = 3.0f;
    for (int count = 1;; ++count) {
        const float dlo = target - meanCube(lo, v);
        const float dhi = target - meanCube(hi, v);
        if (std::fabs(dlo) < 0.001f * target) return lo;
        if (std::fabs(dhi) < 0.001f * target) return hi;
        if (dlo < 0.0f && dhi < 0.0f) {
            const float step = hi - lo;
            lo = hi;
            hi = std::fmin(hi + step, 10.0f);
        } else if (dlo < 0.0f && dhi > 0.0f) {
            lo = std::fmax(hi - (hi - lo) / 2.0f, 0.5f);
        } else if (dlo > 0.0f && dhi > 0.0f) {
            const float step = hi - lo;
            hi = lo;
            lo = std::fmax(lo - step, 0.5f);
        }
        // A search that has not settled (a calm month, or a bracket that has closed on
        // one side) ends with the stiffest shape.
        if (count > 1000) {
            if (settled != nullptr) *settled = false;
            return 10.0f;
        }
    }
}

void buildWindYear(std::span<const float, 148> bp, WindYear& year) {
    // Mean speeds by month and hour of day (0-based here): the parameters give hours 1,
    // 4, ..., 22; the two hours after each lie on the straight line to the next given
    // hour, and hours 23 and 24 lead back to hour 1 of the same month.
    float vt[12][24];
    for (int m = 0; m < 12; ++m) {
        for (int k = 0; k < 8; ++k) vt[m][3 * k] = bp[12 * k + m];
        for (int k = 0; k < 8; ++k) {
            const int h = 3 * k, next = k == 7 ? 0 : h + 3;
            for (int n = 1; n <= 2; ++n)
                vt[m][h + n] = vt[m][h] + static_cast<float>(n) / 3.0f * (vt[m][next] - vt[m][h]);
        }
    }

    // Only the spectrum's shares count. It is scaled by the power of two that brings its
    // largest value to 0.5 to 1, which leaves every share as it was to the bit, so that
    // values near either end of the float range neither overflow the variance nor vanish
    // from it.
    float s[kBins];
    const float top = *std::max_element(bp.begin() + 96, bp.begin() + 135);
    int exponent = 0;
    std::frexp(top, &exponent);
    for (int n = 0; n < 39; ++n) s[n] = std::ldexp(bp[96 + n], -exponent);
    for (int n = 40; n <= kBins; ++n) s[n - 1] = s[38] * std::exp(static_cast<float>(39 - n) / 5.0f);

    float shape[12], scale[12][24];
    for (int m = 0; m < 12; ++m) {
        bool settled = true;
        shape[m] = dubgam4(bp[135] * bp[136 + m], std::span<const float, 24>(vt[m], 24), &settled);
        year.unsettled[m] = !settled;
        year.shape[m] = shape[m];
        const float g = dtovangamma(1.0f + 1.0f / shape[m]);
        for (int h = 0; h < 24; ++h) scale[m][h] = vt[m][h] / g;
    }

    // The fluctuation as a sum of cosines over logarithmically spaced frequencies (per
    // hour), weighted by the spectrum and with phases drawn from a generator started
    // afresh with seed 3: equal parameters give the same year on every run.
    Ran1 generator;
    generator.drnset(3);
    float f[kBins], df[kBins], phase[kBins];
    float variance = 0.0f;
    for (int n = 1; n <= kBins; ++n) {
        f[n - 1] = std::exp(0.17f * static_cast<float>(n) - 9.4f);
        df[n - 1] = f[n - 1] - std::exp(0.17f * static_cast<float>(n - 1) - 9.4f);
        variance += s[n - 1] * df[n - 1] / f[n - 1];
        phase[n - 1] = 2.0f * kPi * generator.drnunf();
    }
    float weight[kBins];
    for (int n = 0; n < kBins; ++n) weight[n] = std::sqrt(df[n] * s[n] / (variance * f[n]));

    // The process hour by hour, kept in the year's own array until each month is mapped.
    for (int t = 1; t <= kHours; ++t) {
        float sum = 0.0f;
        for (int n = 0; n < kBins; ++n)
            sum += weight[n] * std::cos(2.0f * kPi * f[n] * static_cast<float>(t) + phase[n]);
        year.w[t - 1] = std::sqrt(2.0f) * sum;
    }
    year.lastGaussian = year.w[kHours - 1];

    // Each month's hours take the probabilities of their ranks within the month, evenly
    // spread over (0, 1), and from them the Weibull quantiles of their hour: the month's
    // speeds then have the month's distribution, whose mean is the mean of its hourly
    // means and whose mean cube is its own, whatever the spectrum. The spectrum orders the
    // speeds within the month (how long calms and gusts last); fluctuations slower than a
    // month move no month away from its figures.
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::array<int, 31 * 24> order{};
    double total = 0.0;
    for (int m = 0, first = 0; m < 12; first += 24 * kDays[m], ++m) {
        const int hours = 24 * kDays[m];
        const auto ranked = std::span<int>(order).first(static_cast<std::size_t>(hours));
        std::iota(ranked.begin(), ranked.end(), first);
        std::stable_sort(ranked.begin(), ranked.end(), [&](int a, int b) { return year.w[a] < year.w[b]; });
        std::array<float, 31 * 24> speed{};
        for (int r = 0; r < hours; ++r) {
            const int t = ranked[static_cast<std::size_t>(r)];
            const float p = (static_cast<float>(r) + 0.5f) / static_cast<float>(hours);
            speed[static_cast<std::size_t>(t - first)] =
                scale[m][(t - first) % 24] * std::pow(-std::log(1.0f - p), 1.0f / shape[m]);
        }
        for (int i = 0; i < hours; ++i) {
            year.w[first + i] = speed[static_cast<std::size_t>(i)];
            total += speed[static_cast<std::size_t>(i)];
        }
    }
    year.annualMean = static_cast<float>(total / kHours);
}

}  // namespace vireo::em::genv

extern "C" {

float dgamln(const float* x) { return vireo::em::genv::dgamln(*x); }
float dtovangamma(const float* x) { return vireo::em::genv::dtovangamma(*x); }
void dubgam4(const float* target, const float* v, float* k) {
    *k = vireo::em::genv::dubgam4(*target, std::span<const float, 24>(v, 24));
}

}  // extern "C"
