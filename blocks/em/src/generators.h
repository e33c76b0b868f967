// The weather generators GENGD, GENG, GENGH and GENGT: daily clearness indices by an
// autoregressive series mapped onto a bounded distribution or by a Markov chain over ten
// classes, hourly clearness indices around a mean that follows the sun, and the daily
// course of temperature and humidity. Single precision throughout, as the series they
// draw depend on it. Every generator draws from the utility library's deviates with its
// state in the block's own slots, so two blocks never share a sequence.
#ifndef VIREO_EM_GENERATORS_H
#define VIREO_EM_GENERATORS_H

#include "solar.h"

#include <array>
#include <span>

namespace vireo::em::gen {

// ---- random deviates --------------------------------------------------------------

inline constexpr int kGeneratorTable = 97;

// A block's generator: its seed slot, the slot after it and its table of 97 values.
class Deviates {
public:
    Deviates(int& seed, int& state, std::span<float, kGeneratorTable> table)
        : seed_(seed), state_(state), table_(table.data()) {}
    float normal();   // N(0, 1)
    float uniform();  // in (0, 1)

private:
    int& seed_;
    int& state_;
    float* table_;
};

// The seed slot for a seed parameter: limited to the int range and rounded; 0 is the
// default seed 1536; the slot holds the seed negated.
int seedSlot(float parameter);
// The seed of a second generator of the same block: 17 on, wrapping at the int range.
int secondSeed(int seedSlot);
// Starts the sequence of a seed slot afresh and discards its first normal deviate.
void startGenerator(int& seed, int& state, std::span<float, kGeneratorTable> table);

// ---- the sun of a month -------------------------------------------------------------

inline constexpr int kMaxDays = 31;
inline constexpr int kHours = 24;

int daysInMonth(int year, int month);

// Extraterrestrial irradiance on the horizontal (W/m², eccentricity by Spencer's series)
// and the sun's zenith angle for every hour of every day of a month, the clock hours
// first, first + 1, ..., first + 23 of each day; the day means and the month mean.
struct MonthSun {
    int days = 0;
    std::array<std::array<float, kHours>, kMaxDays> g0h{};
    std::array<std::array<float, kHours>, kMaxDays> zenith{};  // degrees, refraction included
    // Whether the sun's centre stands above the horizon without refraction.
    std::array<std::array<bool, kHours>, kMaxDays> risen{};
    std::array<float, kMaxDays> g0d{};
    float g0m = 0.0f;
    // The clearest daily index each day's sun allows (see genkth); 1 where no hour bounds it.
    std::array<float, kMaxDays> clearest{};
};
void monthSun(const Site& site, int year, int month, int firstHour, MonthSun& sun);

// ---- daily clearness indices ------------------------------------------------------

// The ten Markov transition matrices (Aguiar, Collares-Pereira and Conde 1988): the
// probability of going from class j to class i (1..10) under matrix k (1..10) is
// mtm[(i - 1) + 10 (j - 1) + 100 (k - 1)]; each matrix's daily indices lie within
// ktmin[k - 1] .. ktmax[k - 1].
extern const float mtm[1000];
extern const float ktmin[10];
extern const float ktmax[10];

struct DailyModel {
    float varianceFactor;  // on the variance of the daily index, 0..10
    float yearFactor;      // year-to-year perturbation of the monthly index, -1..1; 0 none
    float r1, r2;          // lag-1 and lag-2 autocorrelations of the daily values
};

// The month's clearness index from its mean irradiance and the extraterrestrial mean,
// perturbed from year to year when the model says so (never below 0), and the standard
// deviation of its daily indices.
struct MonthlyClearness {
    float ktm;
    float sigma;
};
MonthlyClearness monthlyClearness(float monthlyMean, float g0m, const DailyModel& model, Deviates& deviates);

// ---- hourly clear-sky limit ------------------------------------------------------

// Hours whose sun stands this far from the zenith (degrees) or farther take the day's
// index: neither the mean nor the limit of the hourly model holds there.
inline constexpr float kLowSun = 89.0f;
// The clear-sky limit of the hourly index in hour n (1..24) of the clock, the sun at
// zenith angle z (degrees).
float clearSkyLimit(int n, float z);

// Method 1: the daily indices of a month as an autoregressive series of order 2 mapped
// onto a bounded distribution with mean ktm and standard deviation sigma, redrawn until
// the month's sample meets both within 0.005 and 0.01. Sigma is lowered in steps of 1 %
// while the distribution would reach beyond 0.82. Given the month's sun, each day is at
// most as clear as its sun allows, and the mean is the one that gives the month its
// irradiance: where the sun comes or goes within the month, the days weigh unalike. Given
// a floor, every day's index is at least that and the month is judged with the days so
// held (the hourly generators take no day duller than kDullestDay).
struct DailyResult {
    float mean = 0.0f, sd = 0.0f;  // of the month kept
    bool met = true;               // false: the closest of the attempts allowed is kept
    int attempts = 0;
    float limitedFrom = 0.0f;      // a monthly index of 0.82 or more, taken as 0.81
    bool scaled = false;           // method 2: the closest attempt was scaled towards the index
    float closest = 0.0f;          // that attempt's mean before it was scaled
};
// The attempts a month may take before the closest is kept: about a second's work.
inline constexpr int kDailyAttempts = 50000;
DailyResult genktd(float ktm, float& sigma, float r1, float r2, std::span<float> kt, Deviates& deviates,
                   int maxAttempts = kDailyAttempts, const MonthSun* sun = nullptr, float floor = 0.0f);
// The inverse of the distribution function of the normalised index x = kt / ktm, with
// density a x^b (1 - x / xm) on 0..xm, at the probability u (bisection to 0.001).
float trans(float u, float a, float b, float xm);

// Method 2: the daily indices of a month as a Markov chain over ten classes, the matrix
// chosen by ktm, redrawn (at most 100 times) until the month's mean lies within 0.005
// of ktm (the days held and weighed by the month's sun where given, as for method 1).
// When no attempt did, met is false and the last attempt stays, its mean in the result;
// asked to meet the mean instead, the closest attempt is kept and its days are scaled by
// one factor, each within 0 and the clearest its sun allows, so that the month has ktm
// where the sun allows it at all (scaled, with the mean reached). The chain's class carries
// over from month to month in markovState (0 or less: none drawn yet). A month whose
// index is 0 (no radiation) is all 0.
inline constexpr int kMarkovAttempts = 100;
DailyResult genktd2(float ktm, std::span<float> kt, Deviates& deviates, int& markovState,
                    const MonthSun* sun = nullptr, bool meetMean = false);

// ---- hourly clearness indices -----------------------------------------------------

// One day's hourly clearness indices for a daily index kt: an autoregressive series of
// order 1 around a mean that follows the zenith angle, within a clear-sky limit, redrawn
// (at most 1500 times) until the day's irradiance-weighted mean lies within 3 % of kt.
// The limit is the published one of the clock hour, but never below the one a sun as high
// gives (so that a midnight sun is no low one). When no attempt meets the day, the last
// is shifted within the floor and the limits to meet it; false when even that cannot (a
// day clearer than its sun allows), the hours then as near as the limits let them be.
inline constexpr int kHourlyAttempts = 1500;
bool genkth(float kt, std::span<const float, kHours> g0h, float g0d, std::span<const float, kHours> zenith,
            Deviates& deviates, std::span<float, kHours> kth, float& ktMean);

// What became of a generated month: met is false where the month failed (no hours for
// one of its days in any attempt), the last attempt kept; its daily indices may have missed
// their targets (method 1) or been scaled onto its index (method 2) with the month kept.
struct MonthOutcome {
    bool met = true;
    MonthlyClearness clearness{};
    DailyResult daily{};       // the daily indices of the attempt kept
    float limitedFrom = 0.0f;  // as in DailyResult
    int failedDay = 0;         // the day (from 1) whose hours failed the last attempt
};
// A month of hourly irradiance from its monthly mean (method 1 for the days, then the
// hours of each day), at most 11 attempts of the whole month; the days of the last
// attempt stay in out (24 values a day, hours 0..23) when none met its targets.
inline constexpr int kMonthAttempts = 11;
// The least daily clearness index whose hours GENG draws.
inline constexpr float kDullestDay = 0.1f;
MonthOutcome geng(float monthlyMean, const MonthSun& sun, const DailyModel& model, std::span<float> out,
                  Deviates& deviates);
// A month of daily mean irradiance (one value a day) by method 1 or 2; method 2 always
// keeps a month, scaled onto its index where no attempt met it.
MonthOutcome gengd(int method, float monthlyMean, const MonthSun& sun, const DailyModel& model,
                   std::span<float> out, Deviates& deviates, int& markovState);
// One day of hourly irradiance (hours 0..23) from its daily mean; false when genkth
// found no sequence, whose last attempt is then written.
bool gengh(float dailyMean, const Site& site, int year, int month, int day, std::span<float, kHours> out,
           Deviates& deviates);

// The irradiance at a minute of hour k of the year (1-based) from the hours around it:
// shifted along a monotone run by the smaller neighbouring difference, never beyond half
// of it; the first and last hour of the year (last) are not shifted.
float withinHour(std::span<const float> year, int k, int last, int minute);

// ---- temperature and humidity -----------------------------------------------------

struct Course {
    std::array<float, kHours> value{};
    int hourOfMax = 0, hourOfMin = 0;
};
// The normalised mean daily course of temperature (hours 0..23) for a declination and a
// latitude (radians) and the lag of the temperature wave behind the sun (hours).
Course nrmmonth(float declination, float latitude, int lag);
// The monthly amplitude of the daily course from the site and the month's clearness
// (continentality rule), or from the range of the monthly minimum and maximum means.
float ampl1(float cosLatitude, float ktm, float cosDeclinationMinusLatitude, float continentality);
float ampl2(float rangeOfMeans);
// The month's mean course: its mean temperature plus the amplitude times the course.
void mongang(std::span<float, kHours> monthCourse, float mean, float amplitude, std::span<const float, kHours> course);

// The most repeats of a month's temperatures, whatever GENGT's parameter asks: about a
// second's work, as for the daily indices.
inline constexpr int kTemperatureRepeats = 20000;

struct TemperatureModel {
    float latitude;     // degrees
    float annualMean;   // degC
    float annualRange;  // K
    bool yearToYear;    // the radiation's year-to-year factor is above 0: a wider tolerance
    float tolerance;    // K, otherwise
    int repeats;        // of a month whose mean misses the tolerance
};
// What carries from one generated month to the next, besides the generator.
struct TemperatureState {
    float& start;      // the temperature the next day starts from; below -100: none yet
    float& dayState;   // autoregressive deviation of the daily mean change
    float& hourState;  // autoregressive hourly noise
};
// Monthly mean temperatures tq[1..12] of the months generated so far (below -100: not
// yet), with tq[0] and tq[13] the copies of December and January.
using MonthlyMeans = std::array<float, 14>;
struct MonthTemperature {
    float minimum, maximum;  // monthly means of the daily minimum and maximum
    float ktm;               // the month's clearness index
};
struct GentResult {
    bool met = true;         // false: no attempt gave a finite month
    int attempts = 0;
    float mean = 0.0f;       // of the month kept
    float tolerance = 0.0f;  // it had to meet
    bool moved = false;      // no attempt met it: the closest was moved onto the mean
    float closest = 0.0f;    // that attempt's mean before it was moved
};
// A month of hourly temperatures (24 a day) for month m, whose mean stands in tq[m];
// dayRatio[d] is the day's clearness index over the month's. The month is redrawn until
// its mean lies within the tolerance; after the repeats allowed the closest attempt is
// moved onto the mean, over the month's first day.
GentResult gent(MonthlyMeans& tq, const MonthTemperature& month, int m, std::span<const float> dayRatio,
                const TemperatureModel& model, std::span<float> out, Deviates& deviates, TemperatureState state);
// Hourly relative humidity (fraction) of a month from its temperatures (24 a day) and
// its mean relative humidity.
void genhum(float meanHumidity, int days, std::span<const float> temperatures, std::span<float> humidity);

}  // namespace vireo::em::gen

#endif
