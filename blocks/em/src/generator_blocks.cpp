#include "generator_blocks.h"

#include "Numbers.h"
#include "messages.h"
#include "vireo_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vireo::em::gen {

const char* const kRunStops = "the run stops";

bool readDate(block::BlockView& b, int yearInput, int hourInput, StepDate& date) {
    // A date input that is no number would round to 0, which is a year and an hour.
    for (const int input : {yearInput, yearInput + 1, yearInput + 2, hourInput})
        if (input != kNoInput && !numbers(b, {input})) return false;
    date.year = block::nearestInt(b.in(yearInput));
    date.month = block::nearestInt(b.in(yearInput + 1));
    date.day = block::nearestInt(b.in(yearInput + 2));
    date.hour = hourInput == kNoInput ? 0 : block::nearestInt(b.in(hourInput));
    date.days = daysInMonth(date.year, date.month);
    if (date.month < 1 || date.month > 12) {
        b.report(code::noSuchMonth, {.reals = {b.in(yearInput + 1)}});
    } else if (date.day < 1 || date.day > date.days) {
        b.report(code::noSuchDay, {.reals = {b.in(yearInput + 2)}, .ints = {date.days}});
    } else if (date.hour < 0 || date.hour > 23) {
        b.report(code::noSuchHour, {.reals = {b.in(hourInput)}});
    } else {
        return true;
    }
    b.requestStop();
    return false;
}

void noteHourNotWhole(block::BlockView& b, int hourInput, int& notes) {
    // A step that stops the run says so itself; the warning would say it goes on.
    if (b.callMode() == protocol::callMode::kLastCall) return;
    const float hour = b.in(hourInput);
    constexpr float kSecond = 1.0f / 3600.0f;
    if (!(std::fabs(hour - std::nearbyint(hour)) > kSecond)) return;
    b.countWarning(notes, code::hourNotWhole, {.reals = {hour}, .ints = {block::nearestInt(hour)}});
}

void keepYear(int& year, std::span<int> generated, const StepDate& date, bool afresh) {
    if (year == date.year && !afresh) return;
    year = date.year;
    std::fill(generated.begin(), generated.end(), 0);
}

bool numbers(block::BlockView& b, std::initializer_list<int> inputs) {
    for (int i : inputs)
        if (!std::isfinite(b.in(i))) {
            b.report(code::inputNotANumber, {.reals = {b.in(i)}, .ints = {i + 1}});
            b.requestStop();
            return false;
        }
    return true;
}

std::string monthText(int year, int month) {
    char text[32];
    std::snprintf(text, sizeof text, "%d-%02d", year, month);
    return text;
}

std::string dayText(int year, int month, int day) {
    char text[40];
    std::snprintf(text, sizeof text, "%d-%02d-%02d", year, month, day);
    return text;
}

bool checkLagPair(block::BlockView& b, const DailyModel& model, int lag1) {
    const float r1 = model.r1, r2 = model.r2;
    if (std::fabs(r2) < 1.0f && 1.0f + r2 - 2.0f * r1 * r1 > 0.0f) return true;
    b.report(code::badLagPair, {.reals = {r1, r2}, .ints = {lag1 + 1, lag1 + 2}});
    return false;
}

void reportMonth(block::BlockView& b, const MonthOutcome& outcome, const StepDate& date, block::Code failure) {
    const std::string month = monthText(date.year, date.month);
    if (outcome.limitedFrom > 0.0f) b.show(code::clearnessLimited, {.reals = {outcome.limitedFrom}, .text = month});
    if (outcome.daily.scaled)
        b.report(code::markovMonthScaled,
                 {.reals = {outcome.clearness.ktm, outcome.daily.closest, outcome.daily.mean}, .text = month});
    else if (!outcome.daily.met)
        b.show(code::dailyTargetsMissed,
               {.value = outcome.daily.attempts,
                .reals = {outcome.clearness.ktm, outcome.clearness.sigma, outcome.daily.mean, outcome.daily.sd},
                .text = month});
    if (!outcome.met) {
        const std::string where =
            outcome.failedDay > 0 ? dayText(date.year, date.month, outcome.failedDay) : month;
        b.report(failure, {.reals = {outcome.clearness.ktm, outcome.daily.mean}, .text = where, .detail = kRunStops});
        b.requestStop();
    }
}

float hourlyValue(const block::BlockView& b, std::span<const float> year, const StepDate& date, int minuteInput) {
    int y = date.year, m = date.month, d = date.day, h = date.hour;
    const int k = ihoy(&y, &m, &d, &h);
    if (!b.connected(minuteInput)) return year[k - 1];
    int december = 12, last = 31, lastHour = 23;
    return withinHour(year, k, ihoy(&y, &december, &last, &lastHour), block::nearestInt(b.in(minuteInput)));
}

}  // namespace vireo::em::gen
