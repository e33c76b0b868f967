//#Block GENG
//#Description
// Synthetic hourly global irradiance on the horizontal from its monthly mean: the daily
// clearness indices of a month by an autoregressive series mapped onto a bounded
// distribution, then for each day an hourly series of clearness indices around a mean
// that follows the sun's zenith angle (Graham and Hollands 1990), within a clear-sky
// limit. A month is generated the first time a step falls into it in the current year;
// later steps read it.
//#Layout
//#Inputs 5--6
//#Outputs 1
//#Parameters 8
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean of the global horizontal irradiance over all hours of the month
// (W/m$^2$)
//#IN[1] Year (-)
//#IN[2] Month, 1 to 12 (-)
//#IN[3] Day of the month (-)
//#IN[4] Hour of the day, 0 to 23, rounded: the value is the one of the clock hour from
// this hour on. Give whole hours, such as a CALENDAR started at hour 0 gives (h)
//#IN[5] Minute (min); optional: when connected the irradiance is shifted within the hour
// towards its neighbours, minute 30 giving the hour's own value
//#Outputs
//#OUT[0] Global horizontal irradiance of the hour (W/m$^2$)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, west of Greenwich positive (degrees)
//#BP[2] Time zone, hours west of Greenwich, such as 23 for central Europe (h)
//#BP[3] Variance factor on the variance of the daily clearness index, 0 to 10 (-)
//#BP[4] Year-to-year factor, -1 to 1: 0 keeps the month's clearness index, any other
// value draws a perturbed one for every month generated (-)
//#BP[5] Lag-1 autocorrelation r1 of the daily values, above -1 and below 1 (-)
//#BP[6] Lag-2 autocorrelation r2, above -1 and below 1, with 1 + r2 - 2 r1$^2$ above 0 (-)
//#BP[7] Seed of the random numbers; 0 the default seed 1536 (-)
//#Strings
//#None
//#Remarks
// Each day's clearness index is at least 0.1 and at most the clearest its sun allows (every
// hour at its clear-sky limit); the month's index is the days' indices weighed by their
// extraterrestrial irradiance, so that the month's mean is met wherever the sun comes or
// goes within it. The clear-sky limit of clock hour n - 1 is 0.88 cos(pi (n - 12.5) / 30),
// but never below 0.88 cos(pi z / 450) for the sun's zenith angle z in degrees, the hour
// from noon at which the sun stands as high at the equator at the equinox: a sun that stays
// up through the night is no low sun. The hours of a day are redrawn until none passes the
// limit or falls below 0.02 and the day's mean lies within 3 % of its index; after 1500
// attempts the last is shifted within those bounds until it does. Hours whose sun stands 89
// degrees or more from the zenith take the day's index. A day that cannot be met even so
// has its month redrawn, and after 11 attempts of the month the run stops. Hours without
// extraterrestrial irradiance give 0, and so does a month of polar night. At minute 30 the
// hour's value is given; other minutes shift it along a rising or falling run of hours by
// up to half the smaller difference to a neighbouring hour, which the first and last hour
// of the year and peaks never are. A clock of half hours (a CALENDAR started at 0.5) would
// read each hour's value from the half hour before it: the first step whose hour is no
// whole hour draws a warning, and hour 23.5, rounded to 24, stops the run. A month outside
// 1 to 12, a day outside its month, an hour outside 0 to 23 and a monthly mean or date that
// is no number stop the run. The daily indices and the monthly clearness index of 0.82 or
// more are treated as by GENGD (method 0).
//#end
#include "blocks.h"

#include "generator_blocks.h"
#include "site.h"
#include "vireo_tools.h"

namespace vireo::em {
namespace {

struct State {
    int& year;                                     // IP[10]: the year of the month flags
    int& hoursNotWhole;                            // IP[11]: steps whose hour input was not whole
    int& seed;                                     // IP[12]
    int& generator;                                // IP[13]
    std::span<int, 12> generated;                  // IP[16..27]
    std::span<float, 8784> hours;                  // RP[0..8783], by hour of the year
    std::span<float, gen::kGeneratorTable> table;  // RP[8784..8880]
    explicit State(geng_block::View& b)
        : year(b.ip<10>()), hoursNotWhole(b.ip<11>()), seed(b.ip<12>()), generator(b.ip<13>()),
          generated(b.ip<16, 12>()), hours(b.rp<0, 8784>()), table(b.rp<8784, gen::kGeneratorTable>()) {}
};

}  // namespace

bool geng_block::checksHold(View& b) { return siteHolds(b); }

bool geng_block::tiesHold(View& b) { return gen::checkLagPair(b, gen::dailyModel(b), P::lag1); }

void geng_block::init(View& b) {
    State s(b);
    if (refused(b)) return;
    s.seed = gen::seedSlot(b.par<P::seed>());
    gen::startGenerator(s.seed, s.generator, s.table);
}

void geng_block::step(View& b) {
    State s(b);
    gen::StepDate date;
    if (!gen::readDate(b, 1, 4, date)) return;
    gen::keepYear(s.year, s.generated, date);
    if (!s.generated[date.month - 1]) {
        if (!gen::numbers(b, {0})) return;
        s.generated[date.month - 1] = 1;
        gen::MonthSun sun;
        gen::monthSun(siteOf(b), date.year, date.month, 0, sun);
        gen::Deviates deviates(s.seed, s.generator, s.table);
        int first = 1, midnight = 0;
        const int start = ihoy(&date.year, &date.month, &first, &midnight) - 1;
        const auto outcome = gen::geng(b.in(0), sun, gen::dailyModel(b),
                                       s.hours.subspan(static_cast<std::size_t>(start),
                                                       static_cast<std::size_t>(gen::kHours * sun.days)),
                                       deviates);
        gen::reportMonth(b, outcome, date, code::noHourlyValues);
    }
    b.out(0) = gen::hourlyValue(b, s.hours, date, 5);
    gen::noteHourNotWhole(b, 4, s.hoursNotWhole);
}

}  // namespace vireo::em
