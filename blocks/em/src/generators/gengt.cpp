//#Block GENGT
//#Description
// A synthetic hourly weather year from monthly means: global horizontal irradiance as
// GENG generates it, air temperature from a mean daily course of the month that follows
// the sun, stretched by each day's clearness and shifted by an autoregressive change of
// the daily mean, with autoregressive hourly noise, and relative humidity from a dew point
// reached in the early morning. A month is generated the first time a step falls into it
// in the current year; later steps read it.
//#Layout
//#Inputs 10--12
//#Outputs 3
//#Parameters 8--10
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean of the global horizontal irradiance over all hours of the month
// (W/m$^2$)
//#IN[1] Monthly mean of the air temperature ($^\circ$C)
//#IN[2] Monthly mean of the daily minimum temperature ($^\circ$C)
//#IN[3] Monthly mean of the daily maximum temperature ($^\circ$C)
//#IN[4] Sum of the twelve monthly mean temperatures, twelve times the annual mean ($^\circ$C)
//#IN[5] Annual range of the temperature: the warmest monthly mean less the coldest (K)
//#IN[6] Year (-)
//#IN[7] Month, 1 to 12 (-)
//#IN[8] Day of the month (-)
//#IN[9] Hour of the day, 0 to 23, rounded: the values are the ones of the clock hour from
// this hour on. Give whole hours, such as a CALENDAR started at hour 0 gives (h)
//#IN[10] Monthly mean of the relative humidity, 0 to 1 (-); optional: without it output 3
// is 0
//#IN[11] Minute (min); optional: when connected the irradiance is shifted within the
// hour towards its neighbours, minute 30 giving the hour's own value
//#Outputs
//#OUT[0] Global horizontal irradiance of the hour (W/m$^2$)
//#OUT[1] Air temperature of the hour ($^\circ$C)
//#OUT[2] Relative humidity of the hour, 0 to 1 (-)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, west of Greenwich positive (degrees)
//#BP[2] Time zone, hours west of Greenwich, such as 23 for central Europe (h)
//#BP[3] Variance factor on the variance of the daily clearness index (-)
//#BP[4] Year-to-year factor: 0 keeps the month's clearness index, any other value draws a
// perturbed one for every month; above 0 it also widens the temperature tolerance (-)
//#BP[5] Lag-1 autocorrelation r1 of the daily values, above -1 and below 1 (-)
//#BP[6] Lag-2 autocorrelation r2, above -1 and below 1, with 1 + r2 - 2 r1$^2$ above 0 (-)
//#BP[7] Seed of the random numbers; 0 the default seed 1536 (-)
//#BP[8] Tolerance of the month's mean temperature; 0 or less, or left out: 0.1 (K)
//#BP[9] Attempts at a month's temperatures after the first; 0 or less, or left out: 2000;
// more than 20000 are taken as 20000, with a warning (-)
//#Strings
//#None
//#Remarks
// The irradiance is generated as by GENG; a month that GENG's rules cannot generate stops
// the run. A month's temperatures are redrawn until their mean lies within the tolerance of
// input 2 (with a year-to-year factor above 0, within a tolerance that grows with the annual
// range). Where the days' changes of the mean barely spread (the published spread passes
// through 0 near the poles and in hot, clear climates) no attempt may meet it: after the
// attempts allowed the closest is moved onto the mean, by nothing at the month's first
// hour and by the full offset from its second day on, with a warning. Each month
// starts from the temperature at which the month generated before it ended and follows the
// change from that month's mean. Fed from MTM, input 5 takes twelve times its annual mean
// temperature and input 6 the warmest monthly mean less the coldest, not MTM's range of the
// daily extremes. Where the sun does not rise or set on the month's reference day, the
// night of the daily course is held to one to eleven hours; days and months without sun
// take the month's course unstretched. The humidity follows from the dew point that the
// month's mean humidity gives at 05:00 (Clausius and Clapeyron), rescaled to that mean.
// Each GENGT block keeps its own months. The hour and the minute inputs work as with GENG.
// A month outside 1 to 12, a day outside its month, an hour outside 0 to 23 and a monthly
// input or date that is no number stop the run.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "generator_blocks.h"
#include "site.h"
#include "vireo_tools.h"

#include <algorithm>
#include <tuple>

namespace vireo::em {
namespace {

constexpr int kIrradiance = 0, kTemperature = 8881, kHumidity = 17762, kCarried = 26548;
constexpr int kCarriedMeans = static_cast<int>(std::tuple_size_v<gen::MonthlyMeans>);

struct State {
    int& year;                                      // IP[10]: the year of the month flags
    int& hoursNotWhole;                             // IP[11]: steps whose hour input was not whole
    int& seed;                                      // IP[12]: irradiance
    int& generator;                                 // IP[13]
    int& seed2;                                     // IP[18]: temperature
    int& generator2;                                // IP[19]
    int& generatedAny;                              // IP[22]: since initialisation
    std::span<int, 12> generated;                   // IP[23..34]
    std::span<float, 8784> irradiance;              // RP[0..8783], by hour of the year
    std::span<float, gen::kGeneratorTable> table;   // RP[8784..8880]
    std::span<float, 8784> temperature;             // RP[8881..17664]
    std::span<float, gen::kGeneratorTable> table2;  // RP[17665..17761]
    std::span<float, 8784> humidity;                // RP[17762..26545]
    float& dayState;                                // RP[26546]
    float& hourState;                               // RP[26547]
    // Carried from month to month: the monthly mean temperatures seen so far and the
    // temperature the next day starts from.
    std::span<float, kCarriedMeans> tq;             // RP[26548..26561]
    float& start;                                   // RP[26562]
    explicit State(gengt_block::View& b)
        : year(b.ip<10>()), hoursNotWhole(b.ip<11>()), seed(b.ip<12>()), generator(b.ip<13>()), seed2(b.ip<18>()),
          generator2(b.ip<19>()), generatedAny(b.ip<22>()), generated(b.ip<23, 12>()),
          irradiance(b.rp<kIrradiance, 8784>()), table(b.rp<8784, gen::kGeneratorTable>()), temperature(b.rp<kTemperature, 8784>()),
          table2(b.rp<17665, gen::kGeneratorTable>()), humidity(b.rp<kHumidity, 8784>()), dayState(b.rp<26546>()),
          hourState(b.rp<26547>()), tq(b.rp<kCarried, kCarriedMeans>()),
          start(b.rp<kCarried + kCarriedMeans>()) {}
};

// The month's clearness index and each day's over it, with the extraterrestrial
// irradiance of the hours whose sun stands above the horizon; the ratio is 1 where a day
// or the month has no sun.
float clearnessOfDays(const gen::MonthSun& sun, std::span<const float> generated, float monthlyMean,
                      std::span<float, gen::kMaxDays> ratio) {
    float monthG0 = 0.0f;
    std::array<float, gen::kMaxDays> dayG0{};
    for (int d = 0; d < sun.days; ++d) {
        for (int h = 0; h < gen::kHours; ++h)
            if (sun.risen[d][h]) dayG0[d] += sun.g0h[d][h];
        monthG0 += dayG0[d];
    }
    const float ktm = monthG0 > 0.0f ? monthlyMean / (monthG0 / static_cast<float>(gen::kHours * sun.days)) : 0.0f;
    for (int d = 0; d < sun.days; ++d) {
        float g = 0.0f;
        for (int h = 0; h < gen::kHours; ++h) g += generated[static_cast<std::size_t>(gen::kHours * d + h)];
        ratio[d] = dayG0[d] > 0.0f && ktm > 0.0f ? g / dayG0[d] / ktm : 1.0f;
    }
    return ktm;
}

}  // namespace

bool gengt_block::checksHold(View& b) {
    const bool site = siteHolds(b);
    // More attempts are taken as the most, with a warning: the block still steps.
    b.check(Rule{.parameter = P::repeats, .low = 0.0f, .high = gen::kTemperatureRepeats,
                 .code = code::gengtRepeatsLimited},
            b.par<P::repeats>());
    return site;
}

bool gengt_block::tiesHold(View& b) { return gen::checkLagPair(b, gen::dailyModel(b), P::lag1); }

void gengt_block::init(View& b) {
    State s(b);
    s.seed = gen::seedSlot(b.par<P::seed>());
    gen::startGenerator(s.seed, s.generator, s.table);
    s.seed2 = gen::secondSeed(s.seed);
    gen::startGenerator(s.seed2, s.generator2, s.table2);
    s.dayState = s.hourState = 0.0f;
    s.generatedAny = 0;
    std::fill(s.tq.begin(), s.tq.end(), -999.0f);
    s.start = -999.0f;
}

void gengt_block::step(View& b) {
    State s(b);
    gen::StepDate date;
    if (!gen::readDate(b, 6, 9, date)) return;
    gen::keepYear(s.year, s.generated, date, s.generatedAny == 0);
    if (!s.generated[date.month - 1]) {
        const bool humid = b.connected(10);
        if (!gen::numbers(b, {0, 1, 2, 3, 4, 5}) || (humid && !gen::numbers(b, {10}))) return;
        s.generated[date.month - 1] = 1;
        s.generatedAny = 1;
        int first = 1, midnight = 0;
        const auto start = static_cast<std::size_t>(ihoy(&date.year, &date.month, &first, &midnight) - 1);
        const auto hours = static_cast<std::size_t>(gen::kHours * date.days);

        gen::MonthSun sun;
        gen::monthSun(siteOf(b), date.year, date.month, 0, sun);
        gen::Deviates deviates(s.seed, s.generator, s.table);
        const auto irradiance = s.irradiance.subspan(start, hours);
        gen::reportMonth(b, gen::geng(b.in(0), sun, gen::dailyModel(b), irradiance, deviates), date,
                         code::noHourlyValues);

        std::array<float, gen::kMaxDays> ratio{};
        const float ktm = clearnessOfDays(sun, irradiance, b.in(0), ratio);
        gen::MonthlyMeans tq;
        std::copy(s.tq.begin(), s.tq.end(), tq.begin());
        tq[static_cast<std::size_t>(date.month)] = b.in(1);
        const gen::TemperatureModel model{.latitude = b.par<P::latitude>(),
                                          .annualMean = b.in(4) / 12.0f,
                                          .annualRange = b.in(5),
                                          .yearToYear = b.par<P::yearFactor>() > 0.0f,
                                          .tolerance = b.par<P::tolerance>(),
                                          .repeats = std::min(b.whole<P::repeats>(), gen::kTemperatureRepeats)};
        gen::Deviates temperatureDeviates(s.seed2, s.generator2, s.table2);
        const auto temperature = s.temperature.subspan(start, hours);
        const auto result = gen::gent(tq, {b.in(2), b.in(3), ktm}, date.month,
                                      std::span<const float>(ratio.data(), static_cast<std::size_t>(date.days)), model,
                                      temperature, temperatureDeviates, {s.start, s.dayState, s.hourState});
        std::copy(tq.begin(), tq.end(), s.tq.begin());
        if (result.moved)
            b.show(code::temperatureMoved, {.value = result.attempts,
                                            .reals = {b.in(1), result.tolerance, result.closest},
                                            .text = gen::monthText(date.year, date.month)});
        if (!result.met) {
            const std::string month = gen::monthText(date.year, date.month);
            b.report(code::temperatureMissed,
                     {.value = result.attempts, .reals = {b.in(1), result.tolerance, result.mean}, .text = month});
            b.report(code::noTemperatures, {.text = month});
            b.requestStop();
        }
        if (b.status() == 0 && humid) gen::genhum(b.in(10), date.days, temperature, s.humidity.subspan(start, hours));
    }
    b.out(0) = gen::hourlyValue(b, s.irradiance, date, 11);
    int y = date.year, m = date.month, d = date.day, h = date.hour;
    const auto k = static_cast<std::size_t>(ihoy(&y, &m, &d, &h) - 1);
    b.out(1) = s.temperature[k];
    b.out(2) = s.humidity[k];
    gen::noteHourNotWhole(b, 9, s.hoursNotWhole);
}

}  // namespace vireo::em
