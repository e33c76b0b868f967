//#Block GENGH
//#Description
// Synthetic hourly global irradiance on the horizontal from the day's mean, such as
// GENGD gives it: an hourly series of clearness indices around a mean that follows the
// sun's zenith angle (Graham and Hollands 1990), within a clear-sky limit, meeting the
// day's clearness index. A day is generated the first time a step falls into it in the
// current year; later steps read it.
//#Layout
//#Inputs 5--6
//#Outputs 1
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Mean global horizontal irradiance of the day over 24 hours (W/m$^2$)
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
//#BP[3] Seed of the random numbers; 0 the default seed 1536 (-)
//#Strings
//#None
//#Remarks
// The day's clearness index is the daily mean over the extraterrestrial one, at least 0.03
// and at most 1. The hours are redrawn until none passes the clear-sky limit (as with GENG,
// bounded by the sun's height) or falls below 0.02 and the day's mean lies within 3 % of
// its index; after 1500 attempts the last is shifted within those bounds until it does. A
// day clearer than its sun allows keeps the hours nearest to it, with an error, and the run
// goes on. Hours without extraterrestrial irradiance give 0. The minute input works as with
// GENG, and so does an hour input that is no whole hour. A month outside 1 to 12, a day
// outside its month, an hour outside 0 to 23 and a daily mean or date that is no number
// stop the run. A daily mean below 0 is generated as the dullest day (clearness index 0.03)
// with a warning; later such days are counted and reported at the end of the run.
//#end
#include "blocks.h"

#include "generator_blocks.h"
#include "site.h"
#include "vireo_tools.h"

#include <string>

namespace vireo::em {
namespace {

const char* const kNearestKept = "the hours nearest to it that the limits allow are kept; the run goes on";

struct State {
    int& year;                                     // IP[10]: the year of the day flags
    int& negativeDays;                             // IP[11]: days whose mean was below 0
    int& negativeReported;                         // IP[12]: of which reported at a last call
    int& seed;                                     // IP[13]
    int& generator;                                // IP[14]
    int& hoursNotWhole;                            // IP[15]: steps whose hour input was not whole
    std::span<int, 366> generated;                 // IP[17..382], by day of the year
    std::span<float, 8784> hours;                  // RP[0..8783], by hour of the year
    std::span<float, gen::kGeneratorTable> table;  // RP[8784..8880]
    explicit State(gengh_block::View& b)
        : year(b.ip<10>()), negativeDays(b.ip<11>()), negativeReported(b.ip<12>()), seed(b.ip<13>()),
          generator(b.ip<14>()), hoursNotWhole(b.ip<15>()), generated(b.ip<17, 366>()), hours(b.rp<0, 8784>()),
          table(b.rp<8784, gen::kGeneratorTable>()) {}
};

}  // namespace

bool gengh_block::checksHold(View& b) { return siteHolds(b); }

void gengh_block::init(View& b) {
    State s(b);
    s.seed = gen::seedSlot(b.par<P::seed>());
    gen::startGenerator(s.seed, s.generator, s.table);
}

void gengh_block::step(View& b) {
    State s(b);
    gen::StepDate date;
    if (!gen::readDate(b, 1, 4, date)) return;
    gen::keepYear(s.year, s.generated, date);
    const int n = idoy(&date.year, &date.month, &date.day);
    if (!s.generated[static_cast<std::size_t>(n - 1)]) {
        if (!gen::numbers(b, {0})) return;
        s.generated[static_cast<std::size_t>(n - 1)] = 1;
        gen::Deviates deviates(s.seed, s.generator, s.table);
        const auto day = s.hours.subspan(static_cast<std::size_t>(gen::kHours * (n - 1))).first<gen::kHours>();
        const std::string text = gen::dayText(date.year, date.month, date.day);
        // No day has less than no radiation: a negative mean is said as such, and the
        // hours the floor of the model then cannot meet are no second fault.
        const bool negative = b.in(0) < 0.0f;
        if (negative) b.countWarning(s.negativeDays, code::genghNegativeMean, {.reals = {b.in(0)}, .text = text});
        if (!gen::gengh(b.in(0), siteOf(b), date.year, date.month, date.day, day, deviates) && !negative)
            b.report(code::noHourlyValues, {.text = text, .detail = kNearestKept});
    }
    b.out(0) = gen::hourlyValue(b, s.hours, date, 5);
    gen::noteHourNotWhole(b, 4, s.hoursNotWhole);
}

void gengh_block::last(View& b) {
    State s(b);
    b.reportCountSince(s.negativeDays, s.negativeReported, code::genghNegativeMeans);
}

}  // namespace vireo::em
