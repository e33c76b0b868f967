// What the weather-generator blocks share around their generators: the date of a step,
// checked before anything is generated for it, their inputs that must be numbers, the
// parameter checks of the daily model, and the hourly output read within the hour.
#ifndef VIREO_EM_GENERATOR_BLOCKS_H
#define VIREO_EM_GENERATOR_BLOCKS_H

#include "BlockView.h"
#include "generators.h"

#include <initializer_list>
#include <span>
#include <string>

namespace vireo::em::gen {

inline constexpr int kNoInput = -1;

struct StepDate {
    int year = 0, month = 0, day = 0, hour = 0;
    int days = 0;  // of the month
};
// The rounded date (and hour, where the block has one) of a step. A month, a day or an
// hour outside its range (the day within its month) is an error that stops the run: the
// step then ends without output and false is returned.
bool readDate(block::BlockView& b, int yearInput, int hourInput, StepDate& date);
// The hour a generator reads is its hour input rounded, and its value belongs to the clock
// hour from that hour on: a clock of half hours (started at 0.5) reads the next hour's
// values from each half hour. The first step whose hour lies more than a second from a
// whole hour draws a warning; later ones are only counted in `notes`, one of the block's
// own slots. Called at the end of a step, and silent in a step that stops the run.
void noteHourNotWhole(block::BlockView& b, int hourInput, int& notes);
// The flags of the months (or days) generated hold for one year: a step in another year,
// or the first step after initialisation (`afresh`), clears them.
void keepYear(int& year, std::span<int> generated, const StepDate& date, bool afresh = false);
// Whether the inputs given are numbers; the first that is not is an error that stops the
// run.
bool numbers(block::BlockView& b, std::initializer_list<int> inputs);
// "2023-03" and "2023-03-05", as the messages name a month and a day.
std::string monthText(int year, int month);
std::string dayText(int year, int month, int day);

// The daily model of a generator block's parameters (named alike in every table).
template <class View>
DailyModel dailyModel(const View& b) {
    using P = typename View::Params;
    return {b.template par<P::varianceFactor>(), b.template par<P::yearFactor>(), b.template par<P::lag1>(),
            b.template par<P::lag2>()};
}
// The pair of autocorrelations, parameters lag1 and lag1 + 1 (from 0), must belong to a
// stationary series; the table holds each alone. True when they do.
bool checkLagPair(block::BlockView& b, const DailyModel& model, int lag1);

// What a message whose code serves blocks that stop and blocks that go on says after it
// ({s2}) where the run stops.
extern const char* const kRunStops;

// The messages of a generated month: shown warnings where the monthly clearness index
// was limited or the daily indices kept missed their targets, a counted one where the
// Markov chain's closest month was scaled onto the index; `failure`, which stops the
// run, where the month met none (a generator whose months always stand gives none).
void reportMonth(block::BlockView& b, const MonthOutcome& outcome, const StepDate& date,
                 block::Code failure = {0});

// Hour k = ihoy(date) of a year of hourly values, shifted within the hour by the minute
// input when the block has it connected.
float hourlyValue(const block::BlockView& b, std::span<const float> year, const StepDate& date, int minuteInput);

}  // namespace vireo::em::gen

#endif
