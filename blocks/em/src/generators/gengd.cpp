//#Block GENGD
//#Description
// Synthetic daily global irradiance on the horizontal from its monthly mean: the daily
// clearness indices of a month are drawn by an autoregressive series mapped onto a
// bounded distribution (method 0) or by a Markov chain over ten classes with the
// transition matrices of Aguiar, Collares-Pereira and Conde (method 1), and multiplied by
// each day's extraterrestrial irradiance. A month is generated the first time a step
// falls into it in the current year; later steps read it.
//#Layout
//#Inputs 4
//#Outputs 1
//#Parameters 9
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean of the global horizontal irradiance over all hours of the month
// (W/m$^2$)
//#IN[1] Year (-)
//#IN[2] Month, 1 to 12 (-)
//#IN[3] Day of the month (-)
//#Outputs
//#OUT[0] Mean global horizontal irradiance of the day over 24 hours (W/m$^2$)
//#Parameters
//#BP[0] Method, 0 to 1 (-): 0 the autoregressive series, 1 the Markov chain
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, west of Greenwich positive (degrees)
//#BP[3] Time zone, hours west of Greenwich, such as 23 for central Europe (h)
//#BP[4] Variance factor on the variance of the daily clearness index, 0 to 10; method 0 (-)
//#BP[5] Year-to-year factor, -1 to 1: 0 keeps the month's clearness index, any other
// value draws a perturbed one for every month generated (-)
//#BP[6] Lag-1 autocorrelation r1 of the daily values, above -1 and below 1; method 0 (-)
//#BP[7] Lag-2 autocorrelation r2, above -1 and below 1, with 1 + r2 - 2 r1$^2$ above 0;
// method 0 (-)
//#BP[8] Seed of the random numbers; 0 the default seed 1536 (-)
//#Strings
//#None
//#Remarks
// The daily values of a month are generated once a year: a step back into a month already
// generated reads it again, and a new year generates every month anew when a step first
// reaches it. The Markov class of the last day carries into the next month generated. A
// month's clearness index is its days' indices weighed by their extraterrestrial
// irradiance, so that the month's mean is met wherever the sun comes or goes within it, and
// no day is clearer than its sun allows an hourly generator to make it (GENG's clear-sky
// limit in every hour). Method 0 redraws a month until its clearness index lies within
// 0.005 of the month's and its standard deviation within 0.01 of the wanted one; after
// 50000 attempts it takes the closest with a warning. A monthly clearness index of 0.82 or
// more, which method 0 cannot reach, is taken as 0.81 with a warning. Method 1 redraws a
// month until its mean lies within 0.005 of the month's. Its matrices reach monthly indices
// of about 0.175 to 0.75: where none of 100 attempts meets the month, the closest is kept
// and its days are scaled by one factor onto the month's index, none below 0 nor clearer
// than its sun allows (a month clearer than that has every day at its clearest), with a
// counted warning, and the run goes on. A month without extraterrestrial irradiance
// (polar night) gives 0 by either method. A month outside 1 to 12, a day outside its month
// and a monthly mean or date that is no number stop the run. A parameter changed during
// the run, the method included, counts for the months generated after it.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "generator_blocks.h"
#include "site.h"
#include "vireo_tools.h"

namespace vireo::em {
namespace {

struct State {
    int& year;                             // IP[10]: the year of the month flags
    int& seed;                             // IP[12]
    int& generator;                        // IP[13]
    int& method;                           // IP[16]: 1 or 2
    int& markov;                           // IP[17]: the class of the last day drawn
    std::span<int, 12> generated;          // IP[18..29]
    std::span<float, 366> daily;           // RP[0..365], by day of the year
    std::span<float, gen::kGeneratorTable> table;  // RP[366..462]
    explicit State(gengd_block::View& b)
        : year(b.ip<10>()), seed(b.ip<12>()), generator(b.ip<13>()), method(b.ip<16>()), markov(b.ip<17>()),
          generated(b.ip<18, 12>()), daily(b.rp<0, 366>()), table(b.rp<366, gen::kGeneratorTable>()) {}
};

}  // namespace

bool gengd_block::checksHold(View& b) { return siteHolds(b); }

bool gengd_block::tiesHold(View& b) { return gen::checkLagPair(b, gen::dailyModel(b), P::lag1); }

void gengd_block::init(View& b) {
    State s(b);
    s.method = b.whole<P::method>(1);
    s.seed = gen::seedSlot(b.par<P::seed>());
    gen::startGenerator(s.seed, s.generator, s.table);
    s.markov = -1;
}

// The method draws the months generated from the next step on.
void gengd_block::takeChange(View& b) { State(b).method = b.whole<P::method>(1); }

void gengd_block::step(View& b) {
    State s(b);
    gen::StepDate date;
    if (!gen::readDate(b, 1, gen::kNoInput, date)) return;
    gen::keepYear(s.year, s.generated, date);
    int first = 1;
    if (!s.generated[date.month - 1]) {
        if (!gen::numbers(b, {0})) return;
        s.generated[date.month - 1] = 1;
        gen::MonthSun sun;
        gen::monthSun(siteOf(b), date.year, date.month, 1, sun);
        gen::Deviates deviates(s.seed, s.generator, s.table);
        const int start = idoy(&date.year, &date.month, &first) - 1;
        const auto days = s.daily.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(sun.days));
        const auto outcome = gen::gengd(s.method, b.in(0), sun, gen::dailyModel(b), days, deviates, s.markov);
        gen::reportMonth(b, outcome, date);
    }
    b.out(0) = s.daily[static_cast<std::size_t>(idoy(&date.year, &date.month, &date.day) - 1)];
}

}  // namespace vireo::em
