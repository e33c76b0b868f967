// Hourly clearness indices of a day (Graham and Hollands 1990) and the hourly irradiance
// of a month or a day built from them.
#include "generators.h"

#include "routines.h"

#include <algorithm>
#include <cmath>

namespace vireo::em::gen {
namespace {

constexpr float kPi = 3.1415927f;

}  // namespace

// The clear-sky limit of the hourly index in hour n (1..24) of the clock, the sun at
// zenith angle z (degrees). The published limit falls with the hours from noon as a
// stand-in for the sun's height; where the sun stands higher than the clock hour says
// (the midnight sun, long summer days far from the equator) the limit is the one of the
// hour from noon at which it stands as high at the equator at the equinox, where zenith
// angle and hour angle are one.
float clearSkyLimit(int n, float z) {
    return 0.88f * std::max(std::cos(kPi * (static_cast<float>(n) - 12.5f) / 30.0f), std::cos(kPi * z / 450.0f));
}

namespace {

// An hourly index held between the floor of 0.02 and the clear-sky limit.
float heldHour(float value, int n, float z) {
    return std::clamp(value, 0.02f, std::max(clearSkyLimit(n, z), 0.02f));
}

// A shift that takes any attempt's hours to the floor or to the clear-sky limit.
constexpr float kShiftReach = 4.0f;

}  // namespace

bool genkth(float kt, std::span<const float, kHours> g0h, float g0d, std::span<const float, kHours> zenith,
            Deviates& deviates, std::span<float, kHours> kth, float& ktMean) {
    // The model's mean and spread hold for daily indices up to 1; beyond it their
    // exponentials overflow.
    const float k = std::clamp(kt, 0.0f, 1.0f);
    const float phi = 0.38f + 0.06f * std::cos(7.4f * k - 2.5f);
    const float innovation = std::sqrt(1.0f - phi * phi);
    const float kmBase = 1.12f * k - 0.19f + 0.24f * std::exp(-8.0f * k);
    const float kmHump = 0.32f - 1.6f * (k - 0.5f) * (k - 0.5f);
    const float kmDecay = 0.19f + 2.27f * k * k - 2.51f * k * k * k;
    const float spread = 0.14f * std::exp(-20.0f * (k - 0.35f) * (k - 0.35f));
    const float spreadGrowth = 3.0f * (k - 0.45f) * (k - 0.45f) + 16.0f * k * k * k * k * k;
    ktMean = 0.0f;
    for (int attempt = 0; attempt < kHourlyAttempts; ++attempt) {
        float v = 0.0f, sum = 0.0f;
        bool outside = false;
        for (int n = 1; n <= kHours; ++n) {
            const float z = zenith[n - 1];
            float value = k;
            if (z < kLowSun) {
                const float c = std::cos(kPi * z / 180.0f);
                const float km = kmBase + kmHump * std::exp(-kmDecay / c);
                const float s = spread * std::exp(spreadGrowth * (1.0f - c));
                const float clearSky = clearSkyLimit(n, z);
                v = phi * v + innovation * deviates.normal();
                value = clearSky > km ? km + s * v : clearSky;
                if (value > clearSky || value < 0.02f) outside = true;
            }
            kth[n - 1] = value;
            sum += value * g0h[n - 1];
        }
        if (g0d <= 0.0f) return true;
        ktMean = sum / kHours / g0d;
        if (!outside && std::fabs(ktMean - k) / k <= 0.03f) return true;
    }
    // No attempt met the day: the last is shifted, each hour held between the floor and
    // its clear-sky limit, until its mean meets the day's index where the limits allow a
    // day so clear; otherwise it stays as near as they let it.
    const auto meanShifted = [&](float shift) {
        float sum = 0.0f;
        for (int n = 0; n < kHours; ++n) {
            const float value = zenith[n] < kLowSun ? heldHour(kth[n] + shift, n + 1, zenith[n]) : kth[n];
            sum += value * g0h[n];
        }
        return sum / kHours / g0d;
    };
    // From every hour at the floor to every hour at its limit: the indices lie within 0..1
    // and the attempt's within a few spreads of them.
    float lo = -kShiftReach, hi = kShiftReach;
    for (int i = 0; i < 40; ++i) {
        const float mid = 0.5f * (lo + hi);
        if (meanShifted(mid) < k) lo = mid;
        else hi = mid;
    }
    const float shift = std::fabs(meanShifted(lo) - k) < std::fabs(meanShifted(hi) - k) ? lo : hi;
    for (int n = 0; n < kHours; ++n)
        if (zenith[n] < kLowSun) kth[n] = heldHour(kth[n] + shift, n + 1, zenith[n]);
    ktMean = meanShifted(0.0f);
    return std::fabs(ktMean - k) / k <= 0.03f;
}

MonthOutcome geng(float monthlyMean, const MonthSun& sun, const DailyModel& model, std::span<float> out,
                  Deviates& deviates) {
    MonthOutcome outcome;
    outcome.clearness = monthlyClearness(monthlyMean, sun.g0m, model, deviates);
    std::array<float, kMaxDays> kt{};
    std::array<float, kHours> kth{};
    const std::span<float> days(kt.data(), static_cast<std::size_t>(sun.days));
    // The daily series' attempts are the month's to share: a month whose daily targets
    // cannot be met costs no more for the hours it then misses as well.
    int budget = kDailyAttempts;
    for (int attempt = 0; attempt < kMonthAttempts; ++attempt) {
        // The days are drawn no duller than the hours take them, so that the month they
        // meet is the month given.
        outcome.daily = genktd(outcome.clearness.ktm, outcome.clearness.sigma, model.r1, model.r2, days, deviates,
                               std::max(budget, 1), &sun, kDullestDay);
        budget -= outcome.daily.attempts;
        if (outcome.daily.limitedFrom > 0.0f) outcome.limitedFrom = outcome.daily.limitedFrom;
        outcome.met = true;
        outcome.failedDay = 0;
        for (int d = 0; d < sun.days && outcome.met; ++d) {
            kt[d] = std::max(kt[d], kDullestDay);
            float ktMean = 0.0f;
            if (!genkth(kt[d], sun.g0h[d], sun.g0d[d], sun.zenith[d], deviates, kth, ktMean)) {
                outcome.met = false;
                outcome.failedDay = d + 1;
                break;
            }
            for (int h = 0; h < kHours; ++h)
                out[kHours * d + h] = sun.g0h[d][h] == 0.0f ? 0.0f : sun.g0h[d][h] * kth[h];
        }
        if (outcome.met) break;
    }
    return outcome;
}

bool gengh(float dailyMean, const Site& site, int year, int month, int day, std::span<float, kHours> out,
           Deviates& deviates) {
    std::array<float, kHours> g0h{}, zenith{}, kth{};
    float sum = 0.0f;
    for (int h = 0; h < kHours; ++h) {
        const ClockTime time{static_cast<float>(year), static_cast<float>(month), static_cast<float>(day),
                             static_cast<float>(h)};
        const SunPosition p = sunPosition(2, true, time, site);
        const Incidence horizontal = incidenceEquatorial(site.latitude, 0.0f, 180.0f, p.declination, p.hourAngle);
        g0h[h] = horizontalExtraterrestrial(1, year, month, day, horizontal.angle, p.elevation);
        zenith[h] = 90.0f - p.elevation;
        sum += g0h[h];
    }
    const float g0d = sum / kHours;
    const float kt = std::max(g0d > 0.0f ? dailyMean / g0d : 0.0f, 0.03f);
    float ktMean = 0.0f;
    const bool met = genkth(kt, g0h, g0d, zenith, deviates, kth, ktMean);
    for (int h = 0; h < kHours; ++h) out[h] = g0h[h] == 0.0f ? 0.0f : g0h[h] * kth[h];
    return met;
}

float withinHour(std::span<const float> year, int k, int last, int minute) {
    const float c = year[k - 1];
    if (k <= 1 || k >= last) return c;
    const float p = year[k - 2], n = year[k];
    const float direction = p <= c && c <= n ? 1.0f : (p >= c && c >= n ? -1.0f : 0.0f);
    const float step = std::min(std::fabs(c - p), std::fabs(c - n));
    // Within the hour only: a minute outside 0..60 would carry the value past its
    // neighbours.
    const float offset = std::clamp((static_cast<float>(minute) - 30.0f) / 60.0f, -0.5f, 0.5f);
    return c + direction * step * offset;
}

}  // namespace vireo::em::gen

extern "C" void genkth(const float* kt, const float* g0h, const float* g0d, const float* zenith, float* table,
                       int* seed, float* kth, float* ktMean, int* ip) {
    using namespace vireo::em::gen;
    Deviates deviates(seed[0], seed[1], std::span<float, kGeneratorTable>(table, kGeneratorTable));
    const bool met = genkth(*kt, std::span<const float, kHours>(g0h, kHours), *g0d,
                            std::span<const float, kHours>(zenith, kHours), deviates,
                            std::span<float, kHours>(kth, kHours), *ktMean);
    ip[0] = met ? 0 : 1;
}
