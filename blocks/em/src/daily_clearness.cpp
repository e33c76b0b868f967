// Daily clearness indices of a month by either method, and the month's sun they rest on.
#include "generators.h"

#include "Numbers.h"
#include "routines.h"
#include "vireo_tools.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace vireo::em::gen {

float Deviates::normal() { return gasdev(&seed_, &state_, table_); }
float Deviates::uniform() { return ran1(&seed_, &state_, table_); }

int seedSlot(float parameter) {
    // Limited before rounding, so that the negation below stays inside the int range.
    const int seed = block::nearestInt(std::clamp(static_cast<double>(parameter), -2147483647.0, 2147483647.0));
    return seed == 0 ? -1536 : -seed;
}

int secondSeed(int seedSlot) { return static_cast<int>(static_cast<unsigned>(seedSlot) + 17u); }

void startGenerator(int& seed, int& state, std::span<float, kGeneratorTable> table) {
    state = 0;
    Deviates(seed, state, table).normal();
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const int december = 12, last = 31;
    if (month == 2 && idoy(&year, &december, &last) == 366) return 29;
    return kDays[month - 1];
}

void monthSun(const Site& site, int year, int month, int firstHour, MonthSun& sun) {
    constexpr int kEclipticSeries = 2;
    sun.days = daysInMonth(year, month);
    float monthSum = 0.0f;
    for (int d = 0; d < sun.days; ++d) {
        float daySum = 0.0f, bounded = 0.0f, limits = 0.0f;
        for (int j = 0; j < kHours; ++j) {
            const ClockTime time{static_cast<float>(year), static_cast<float>(month), static_cast<float>(d + 1),
                                 static_cast<float>(firstHour + j)};
            const SunPosition p = sunPosition(kEclipticSeries, true, time, site);
            // goh's first angle is the sun's incidence on the horizontal, which tells
            // day from night at every latitude, the poles included.
            const Incidence geometric = incidenceEquatorial(site.latitude, 0.0f, 180.0f, p.declination, p.hourAngle);
            const float g0 = horizontalExtraterrestrial(1, year, month, d + 1, geometric.angle, p.elevation);
            sun.g0h[d][j] = g0;
            sun.zenith[d][j] = 90.0f - p.elevation;
            sun.risen[d][j] = geometric.angle < 90.0f;
            daySum += g0;
            if (g0 > 0.0f && sun.zenith[d][j] < kLowSun) {
                bounded += g0;
                limits += g0 * clearSkyLimit((firstHour + j) % kHours + 1, sun.zenith[d][j]);
            }
        }
        sun.g0d[d] = daySum / kHours;
        // Every hour at its limit; hours of a sun too low to be bounded take the day's index.
        sun.clearest[d] = bounded > 0.0f ? limits / bounded : 1.0f;
        monthSum += sun.g0d[d];
    }
    sun.g0m = sun.days > 0 ? monthSum / static_cast<float>(sun.days) : 0.0f;
}

MonthlyClearness monthlyClearness(float monthlyMean, float g0m, const DailyModel& model, Deviates& deviates) {
    float ktm = g0m > 0.0f ? monthlyMean / g0m : 0.0f;
    if (model.yearFactor != 0.0f) {
        const float sigmaYear = ktm * (0.045f - model.yearFactor * (ktm - 0.725f));
        ktm += sigmaYear * deviates.normal();
    }
    // A drawn index below 0 is a month without radiation.
    ktm = std::max(ktm, 0.0f);
    float variance = ktm > 0.2f ? 0.269f - 0.382f * ktm : 0.1926f;
    variance = std::max(variance * model.varianceFactor, 0.01f);
    return {ktm, ktm * std::sqrt(variance)};
}

float trans(float u, float a, float b, float xm) {
    float lo = 0.0f, hi = xm, x = 0.0f;
    for (int i = 0; i < 100; ++i) {
        x = 0.5f * (lo + hi);
        const float f = a * std::pow(x, 1.0f + b) * (1.0f / (1.0f + b) - x / (xm * (2.0f + b))) - u;
        if (std::fabs(f) <= 0.001f) break;
        if (f > 0.0f) hi = x;
        else lo = x;
    }
    return x;
}

namespace {

constexpr float kPi = 3.1415927f;

// The bounded distribution of x = kt / ktm: its exponent b, its upper end xm and its
// factor a, for a coefficient of variation cv.
struct Shape {
    float b, xm;
    explicit Shape(float cv)
        : b(0.5f * std::sqrt(9.0f + 8.0f / (cv * cv)) - 2.5f), xm((3.0f + b) / (1.0f + b)) {}
    float a() const { return (1.0f + b) * (2.0f + b) / std::pow(xm, 1.0f + b); }
};

// What the sun makes of a month's days: each day's weight in the month's mean, its
// extraterrestrial irradiance, so that the mean index gives the month its mean
// irradiance however unalike the days are; and the clearest index its sun allows. Without
// a sun (the exported routines), or with a sun of no irradiance, the plain mean and no
// bound. A floor (the dullest day an hourly generator takes) holds every day, so that the
// month is judged by the days it will be given.
class DaysUnderSun {
public:
    DaysUnderSun(const MonthSun* sun, int days, float floor) : floor_(floor) {
        if (sun == nullptr || sun->days != days) return;
        sun_ = sun;
        for (int d = 0; d < days; ++d) total_ += sun->g0d[d];
    }
    float held(int d, float kt) const { return std::max(std::min(kt, ceiling(d)), floor_); }
    float mean(std::span<const float> kt, float plain) const {
        if (!(total_ > 0.0f)) return plain;
        float sum = 0.0f;
        for (int d = 0; d < sun_->days; ++d) sum += sun_->g0d[d] * kt[d];
        return sum / total_;
    }
    // Scales the days by one factor, each held, so that the month's mean is ktm where the
    // sun allows it (otherwise every day is at its clearest); the mean reached. Days that
    // reach their bound at the factor found stay there and the others share what is left,
    // until no further day passes its bound. At most kMaxDays days.
    float scaleOnto(std::span<float> kt, float ktm) const {
        const int days = static_cast<int>(kt.size());
        std::array<bool, kMaxDays> bound{};
        double factor = 1.0;
        for (int round = 0; round <= days; ++round) {
            double free = 0.0, fixed = 0.0, weights = 0.0;
            for (int d = 0; d < days; ++d) {
                const double w = weight(d);
                weights += w;
                if (bound[d]) fixed += w * ceiling(d);
                else free += w * kt[d];
            }
            if (!(free > 0.0)) break;
            factor = std::max((ktm * weights - fixed) / free, 0.0);
            bool more = false;
            for (int d = 0; d < days; ++d)
                if (!bound[d] && factor * kt[d] > ceiling(d)) bound[d] = more = true;
            if (!more) break;
        }
        float sum = 0.0f;
        for (int d = 0; d < days; ++d) {
            kt[d] = bound[d] ? held(d, ceiling(d)) : held(d, static_cast<float>(factor * kt[d]));
            sum += kt[d];
        }
        return mean(kt, sum / static_cast<float>(days));
    }

private:
    float ceiling(int d) const { return sun_ ? sun_->clearest[d] : FLT_MAX; }
    double weight(int d) const { return total_ > 0.0f ? sun_->g0d[d] : 1.0; }

    const MonthSun* sun_ = nullptr;
    float total_ = 0.0f;
    float floor_;
};

// How far a month's sample lies from its targets, in units of its tolerances.
float miss(float mean, float sd, float ktm, float sigma) {
    return std::max(std::fabs(mean - ktm) / 0.005f, std::fabs(sd - sigma) / 0.01f);
}

}  // namespace

DailyResult genktd(float ktm, float& sigma, float r1, float r2, std::span<float> kt, Deviates& deviates,
                   int maxAttempts, const MonthSun* sun, float floor) {
    DailyResult result;
    const int days = static_cast<int>(kt.size());
    if (!(ktm > 0.0f) || days == 0) {
        std::fill(kt.begin(), kt.end(), 0.0f);
        return result;
    }
    // No spread narrows the distribution below 0.82 when the mean itself reaches it.
    if (ktm >= 0.82f) {
        result.limitedFrom = ktm;
        ktm = 0.81f;
    }
    const DaysUnderSun under(sun, days, floor);
    if (!(sigma > 0.0f && sigma < FLT_MAX)) {
        for (int d = 0; d < days; ++d) kt[d] = under.held(d, ktm);
        result.mean = ktm;
        result.met = false;
        return result;
    }
    Shape shape(sigma / ktm);
    while (shape.xm * ktm > 0.82f) {
        sigma *= 0.99f;
        shape = Shape(sigma / ktm);
    }
    const float a = shape.a();

    float phi1 = r1 * (1.0f - r2) / (1.0f - r1 * r1);
    float phi2 = (r2 - r1 * r1) / (1.0f - r1 * r1);
    float noise =
        std::sqrt(std::max(0.0f, 1.0f - phi1 * phi1 - phi2 * phi2 - 2.0f * phi1 * phi1 * phi2 / (1.0f - phi2)));
    if (!std::isfinite(phi1) || !std::isfinite(phi2) || !std::isfinite(noise)) {
        // No stationary series has these autocorrelations: independent days instead.
        phi1 = phi2 = 0.0f;
        noise = 1.0f;
    }

    std::array<float, kMaxDays> best{};
    float bestMiss = FLT_MAX;
    for (result.attempts = 1; result.attempts <= maxAttempts; ++result.attempts) {
        float y1 = 0.0f, y2 = 0.0f, sum = 0.0f, squares = 0.0f;
        for (int d = 0; d < days; ++d) {
            const float y = phi1 * y1 + phi2 * y2 + noise * deviates.normal();
            y2 = y1;
            y1 = y;
            // The normal distribution function by Polya's approximation.
            const float root = std::sqrt(1.0f - std::exp(-2.0f * y * y / kPi));
            const float u = y > 0.0f ? 0.5f * (1.0f + root) : 0.5f * (1.0f - root);
            kt[d] = under.held(d, trans(u, a, shape.b, shape.xm) * ktm);
            sum += kt[d];
            squares += kt[d] * kt[d];
        }
        const float plain = sum / static_cast<float>(days);
        const float sd = std::sqrt(std::max(0.0f, squares / static_cast<float>(days) - plain * plain));
        const float mean = under.mean(kt, plain);
        if (std::fabs(mean - ktm) <= 0.005f && std::fabs(sd - sigma) <= 0.01f) {
            result.mean = mean;
            result.sd = sd;
            return result;
        }
        if (const float m = miss(mean, sd, ktm, sigma); m < bestMiss && days <= kMaxDays) {
            bestMiss = m;
            std::copy(kt.begin(), kt.end(), best.begin());
            result.mean = mean;
            result.sd = sd;
        }
    }
    result.attempts = maxAttempts;
    result.met = false;
    if (days <= kMaxDays) std::copy_n(best.begin(), days, kt.begin());
    return result;
}

DailyResult genktd2(float ktm, std::span<float> kt, Deviates& deviates, int& markovState, const MonthSun* sun,
                    bool meetMean) {
    DailyResult result;
    const int days = static_cast<int>(kt.size());
    const DaysUnderSun under(sun, days, 0.0f);
    // A month without radiation has no class to draw from.
    if (!(ktm > 0.0f) || days == 0) {
        std::fill(kt.begin(), kt.end(), 0.0f);
        return result;
    }
    static constexpr float kUpper[9] = {0.30f, 0.35f, 0.40f, 0.45f, 0.50f, 0.55f, 0.60f, 0.65f, 0.70f};
    const auto above = std::count_if(std::begin(kUpper), std::end(kUpper), [&](float u) { return ktm > u; });
    const int k = 1 + static_cast<int>(above);
    // The class bounds of the matrix drawn from, as the method publishes them.
    const float lo = ktmin[k - 1], hi = ktmax[k - 1];

    if (markovState < 1 || markovState > 10) {
        markovState = static_cast<int>(10.0f * deviates.uniform());
        if (markovState < 1 || markovState > 10) markovState = 10;
    }
    const bool keepClosest = meetMean && days <= kMaxDays;
    std::array<float, kMaxDays> closest{};
    int closestState = markovState;
    float closestMiss = FLT_MAX;
    for (result.attempts = 1; result.attempts <= kMarkovAttempts; ++result.attempts) {
        float sum = 0.0f;
        for (int d = 0; d < days; ++d) {
            const float u = deviates.uniform();
            const float* row = mtm + 10 * (markovState - 1) + 100 * (k - 1);
            // Rounding can leave a row's sum below u: the draw then falls into class 10,
            // at its upper end.
            int next = 10;
            float s0 = 0.0f, s1 = 0.0f;
            for (int i = 1; i <= 10; ++i) {
                s1 = s0 + row[i - 1];
                if (s1 >= u) {
                    next = i;
                    break;
                }
                if (i < 10) s0 = s1;
            }
            const float within = s1 > s0 ? std::min((u - s0) / (s1 - s0), 1.0f) : 1.0f;
            kt[d] = under.held(d, lo + (hi - lo) * (static_cast<float>(next - 1) + within) / 10.0f);
            markovState = next;
            sum += kt[d];
        }
        result.mean = under.mean(kt, sum / static_cast<float>(days));
        const float miss = std::fabs(result.mean - ktm);
        if (miss <= 0.005f) return result;
        if (keepClosest && miss < closestMiss) {
            closestMiss = miss;
            std::copy(kt.begin(), kt.end(), closest.begin());
            closestState = markovState;
            result.closest = result.mean;
        }
    }
    result.attempts = kMarkovAttempts;
    result.met = false;
    if (!keepClosest) return result;
    // The month kept is the closest attempt, and its last day's class leads into the next.
    std::copy_n(closest.begin(), days, kt.begin());
    markovState = closestState;
    result.scaled = true;
    result.mean = under.scaleOnto(kt, ktm);
    return result;
}

MonthOutcome gengd(int method, float monthlyMean, const MonthSun& sun, const DailyModel& model,
                   std::span<float> out, Deviates& deviates, int& markovState) {
    MonthOutcome outcome;
    outcome.clearness = monthlyClearness(monthlyMean, sun.g0m, model, deviates);
    std::array<float, kMaxDays> kt{};
    const std::span<float> days(kt.data(), static_cast<std::size_t>(sun.days));
    if (method == 1) {
        outcome.daily = genktd(outcome.clearness.ktm, outcome.clearness.sigma, model.r1, model.r2, days, deviates,
                               kDailyAttempts, &sun);
        outcome.limitedFrom = outcome.daily.limitedFrom;
    } else {
        outcome.daily = genktd2(outcome.clearness.ktm, days, deviates, markovState, &sun, true);
    }
    for (int d = 0; d < sun.days; ++d) out[d] = sun.g0d[d] * kt[d];
    return outcome;
}

}  // namespace vireo::em::gen

extern "C" {

void trans(const float* u, const float* a, const float* b, const float* xm, float* x) {
    *x = vireo::em::gen::trans(*u, *a, *b, *xm);
}

void genktd(const float* ktm, float* sigma, const float* autocorrelations, const int* days, float* table, int* seed,
            float* kt, float* ktMean, float* ktStd) {
    using namespace vireo::em::gen;
    Deviates deviates(seed[0], seed[1], std::span<float, kGeneratorTable>(table, kGeneratorTable));
    const auto r = genktd(*ktm, *sigma, autocorrelations[0], autocorrelations[1],
                          std::span<float>(kt, static_cast<std::size_t>(std::max(*days, 0))), deviates);
    *ktMean = r.mean;
    *ktStd = r.sd;
}

void genktd2(const float* ktm, const int* days, float* table, int* seed, int* markovState, float* kt, int* ip) {
    using namespace vireo::em::gen;
    Deviates deviates(seed[0], seed[1], std::span<float, kGeneratorTable>(table, kGeneratorTable));
    const auto r = genktd2(*ktm, std::span<float>(kt, static_cast<std::size_t>(std::max(*days, 0))), deviates,
                           *markovState);
    ip[0] = r.met ? 0 : 1;
}

}  // extern "C"
