//#Block CALENDAR
//#Description
// A timer that steps through calendar time.
//
// Without inputs it is the model's free timer: every step call moves it one step on and
// the model runs once; the call after the last step asks the run to end. With inputs it
// owns a sub-model: each time the run enters it, it starts again (at the date and hour
// its inputs give, where connected) and sends the run through its sub-model once per
// step before letting it go on. docs/block-protocol.md describes both forms.
//#Layout
//#Inputs 0--4
//#Outputs 8
//#Parameters 6
//#Strings 0
//#Group 2 (timer)
//#Details
//#Inputs
//#IN[0] Start year, in place of parameter 1 (-); optional
//#IN[1] Start month, in place of parameter 2 (-); optional
//#IN[2] Start day of the month, in place of parameter 3 (-); optional
//#IN[3] Start hour, in place of parameter 4 (h); optional
//#Outputs
//#OUT[0] Year (-)
//#OUT[1] Month, 1 to 12 (-)
//#OUT[2] Day of the month, 1 to 31 (-)
//#OUT[3] Hour of the day: the clock time at the start of the step, an instant (h)
//#OUT[4] Day of the year, 1 on 1 January (d)
//#OUT[5] Step, counted from 1; 0 at the start, before the first step (-)
//#OUT[6] Hour of the year, 0 at the start of 1 January (h)
//#OUT[7] Hours since the start of the first step (h)
//#Parameters
//#BP[0] Start year, 1 to 9999 (-)
//#BP[1] Start month, 1 to 12 (-)
//#BP[2] Start day of the month, 1 to 31 (-)
//#BP[3] Start hour, at least 0 and below 24 (h)
//#BP[4] Number of steps, at least 1 (-)
//#BP[5] Step length, above 0 (h); a length that agrees with a whole number of seconds
// to six significant digits is taken as exactly that many seconds (0.166667 is 10 minutes);
// round it, never cut it (0.0166666 is 59.99976 s)
//#Strings
//#None
//#Remarks
// A start date that the calendar does not have, a step count below 1, a step length
// that is not above 0 and a last step beyond the year 9999 are errors at
// initialisation; a sub-model timer checks the start its inputs give each time the run
// enters it, and ends the run when it is not a date. A free timer's start, steps and step
// length take effect at initialisation only: a change of them during the run is warned
// about and not taken. A sub-model timer takes the parameters afresh at every entry.
//#end
#include "blocks.h"
#include "vireo_tools.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using namespace ub;
using CalendarParams = params::Calendar;
using P = CalendarParams;
using CalendarView = View<kCalendar, P>;

struct State {
    int& step;            // IP[10] steps made since the start (or since entering the sub-model)
    int& steps;           // IP[11] steps per run (or per visit of the sub-model)
    int& closed;          // IP[12] the sub-model's last block has led back here in this visit
    double& startDay;     // DP[0] day number of the start
    double& startSecond;  // DP[1] of the start day
    double& length;       // DP[2] step length, seconds
    explicit State(CalendarView& b)
        : step(b.ip<10>()), steps(b.ip<11>()), closed(b.ip<12>()), startDay(b.dp<0>()), startSecond(b.dp<1>()),
          length(b.dp<2>()) {}
};

constexpr double kSecondsPerDay = 86400.0;

// The start's rules, for the inputs that stand in for its parameters when the sub-model is
// entered: those of the parameter table, so that an input is held to what a parameter is.
constexpr Rule startRule(int k) {
    const vireo::block::Bound& r = P::table[k].bound;
    return {.parameter = k, .low = r.low, .high = r.high, .whole = r.whole, .code = P::table[k].code,
            .aboveLow = r.aboveLow, .belowHigh = r.belowHigh};
}
constexpr Rule kStart[] = {startRule(P::year), startRule(P::month), startRule(P::day), startRule(P::hour)};

int dayNumber(int year, int month, int day) {
    int n = 0;
    julian(&year, &month, &day, &n);
    return n;
}

int lastDayNumber() { return dayNumber(9999, 12, 31); }

struct Date {
    int year, month, day;
};

Date dateOf(double dayNumber) {
    const double t = dayNumber - 1.0;  // jd2dat counts one day behind julian
    Date d{};
    float day = 0.0f;
    jd2dat(&t, &d.year, &d.month, &day);
    d.day = static_cast<int>(day);
    return d;
}

// Hours in seconds. A parameter arrives as a float, and 1/6 h, written 0.166667, is not
// 600 s in a float, nor in any decimal a user can write; every step would add that
// difference, a minute over a year of 10-minute steps. So a value that agrees with a
// whole number of seconds to the digits a float holds is that many seconds, and the
// time of every step is then exact.
double seconds(float hours) {
    const double given = static_cast<double>(hours) * 3600.0;
    const double whole = std::round(given);
    if (!(whole >= 1.0)) return given;
    char written[32], exact[32];
    std::snprintf(written, sizeof written, "%.*g", FLT_DIG, static_cast<double>(hours));
    std::snprintf(exact, sizeof exact, "%.*g", FLT_DIG, whole / 3600.0);
    return std::strcmp(written, exact) == 0 ? whole : given;
}

// Seconds from the start of the start day to step `step` (counted from 1): whole seconds
// stay whole, so no step drifts.
double secondsAt(const State& s, int step) { return s.startSecond + (step - 1.0) * s.length; }

// The day number of a start date that keeps its rules, or 0 for a day that its month
// does not have.
int dayNumberOf(const float (&start)[4]) {
    // A day that the month does not have comes back from the calendar as another date.
    const int y = static_cast<int>(std::round(start[0])), m = static_cast<int>(std::round(start[1]));
    const int d = static_cast<int>(std::round(start[2]));
    const int n = dayNumber(y, m, d);
    const Date back = dateOf(n);
    return back.year == y && back.month == m && back.day == d ? n : 0;
}

// The same, reported when the month has no such day.
int startDayOf(CalendarView& b, const float (&start)[4]) {
    const int n = dayNumberOf(start);
    if (n == 0) b.report(code::badDay, {.reals = {start[2], 1.0f, 31.0f}, .ints = {3}});
    return n;
}

// Checks a start date and hour, reporting every fault; on success stores the start.
bool setStart(CalendarView& b, const float (&start)[4]) {
    bool ok = true;
    for (int k = 0; k < 4; ++k) ok = b.check(kStart[k], start[k]) && ok;
    const int n = ok ? startDayOf(b, start) : 0;
    if (n == 0) return false;
    State s(b);
    s.startDay = n;
    s.startSecond = seconds(start[3]);
    return true;
}

// Whether the last of `steps` steps of `length` seconds from a start (its day number and
// second of the day) still falls within the calendar.
bool lastStepFits(CalendarView& b, double startDay, double startSecond, double length, int steps) {
    if (startDay + std::floor((startSecond + (steps - 1.0) * length) / kSecondsPerDay) <= lastDayNumber()) return true;
    b.report(code::beyondLastYear);
    return false;
}
bool lastStepFits(CalendarView& b, int steps) {
    const State s(b);
    return lastStepFits(b, s.startDay, s.startSecond, s.length, steps);
}

void show(CalendarView& b, int step) {
    const State s(b);
    const double t = secondsAt(s, step);
    const double days = std::floor(t / kSecondsPerDay);
    float hour = static_cast<float>((t - kSecondsPerDay * days) / 3600.0);
    if (hour >= 24.0f) hour = std::nextafter(24.0f, 0.0f);
    Date d = dateOf(s.startDay + days);
    const int doy = idoy(&d.year, &d.month, &d.day);
    b.out(0) = static_cast<float>(d.year);
    b.out(1) = static_cast<float>(d.month);
    b.out(2) = static_cast<float>(d.day);
    b.out(3) = hour;
    b.out(4) = static_cast<float>(doy);
    b.out(5) = static_cast<float>(step);
    b.out(6) = static_cast<float>(24.0 * (doy - 1) + hour);
    b.out(7) = static_cast<float>((step - 1.0) * s.length / 3600.0);
}

// The start date and hour that the parameters give.
void startOf(const CalendarView& b, float (&start)[4]) {
    start[0] = b.par<P::year>();
    start[1] = b.par<P::month>();
    start[2] = b.par<P::day>();
    start[3] = b.par<P::hour>();
}

// A start day that its month has, told whenever the four parameters of the start keep
// their rules, whatever the others do.
bool startExists(CalendarView& b) {
    float start[4];
    startOf(b, start);
    for (int k = 0; k < 4; ++k)
        if (!P::table[k].bound.holds(start[k])) return true;  // refused by its rule already
    return startDayOf(b, start) != 0;
}

// The last step of the run within the calendar: what the start, the steps and the step
// length make together.
bool runFits(CalendarView& b) {
    float start[4];
    startOf(b, start);
    const int n = dayNumberOf(start);
    if (n == 0) return true;  // no such start, which its check has told
    return lastStepFits(b, n, seconds(start[3]), seconds(b.par<P::length>()), b.whole<P::steps>());
}

// A free timer's clock is fixed at initialisation (the run's progress counts its steps, and
// a clock whose start or step length moved would jump): a change of it during the run is
// warned about and not taken, and what its start and last step would be is not asked. A
// sub-model timer takes its start, steps and length afresh at every entry.
bool freeTimerRunning(CalendarView& b) {
    return b.callMode() == vireo::protocol::callMode::kStep && b.inputCount() == 0;
}

void keptClock(CalendarView& b) {
    State s(b);
    const auto hours = [](double seconds) { return static_cast<float>(seconds / 3600.0); };
    b.keepsFromInit<P::steps>(static_cast<float>(s.steps), static_cast<float>(b.whole<P::steps>()));
    b.keepsFromInit<P::length>(hours(s.length), hours(seconds(b.par<P::length>())));
    const Date start = dateOf(s.startDay);
    b.keepsFromInit<P::year>(static_cast<float>(start.year), static_cast<float>(b.whole<P::year>()));
    b.keepsFromInit<P::month>(static_cast<float>(start.month), static_cast<float>(b.whole<P::month>()));
    b.keepsFromInit<P::day>(static_cast<float>(start.day), static_cast<float>(b.whole<P::day>()));
    b.keepsFromInit<P::hour>(hours(s.startSecond), hours(seconds(b.par<P::hour>())));
}

void initialise(CalendarView& b) {
    State s(b);
    s.step = 0;
    s.closed = 0;
    float start[4];
    startOf(b, start);
    if (refused(b) || !setStart(b, start)) return;
    s.length = seconds(b.par<P::length>());
    const int steps = b.whole<P::steps>();
    s.steps = steps;
    b.setTimerSteps(steps);
    show(b, 1);
    b.out(5) = 0.0f;  // the start, before the first step
}

// Entering the sub-model: connected inputs replace the start's year, month, day, hour.
bool enter(CalendarView& b) {
    float start[4];
    startOf(b, start);
    for (int i = 0; i < b.inputCount() && i < 4; ++i) start[i] = b.in(i);
    State s(b);
    s.length = seconds(b.par<P::length>());
    s.steps = b.whole<P::steps>();
    return setStart(b, start) && lastStepFits(b, s.steps);
}

void freeStep(CalendarView& b) {
    State s(b);
    if (s.step >= s.steps) {
        b.requestStop();  // all steps made: the model ran once for each
        return;
    }
    show(b, ++s.step);
}

void subModelStep(CalendarView& b) {
    State s(b);
    if (s.step == 0) {
        if (!enter(b)) {
            b.requestStop();
            return;
        }
        show(b, s.step = 1);
        b.takeAlternativeLink();
        return;
    }
    s.closed = 1;
    if (s.step < s.steps) {
        show(b, ++s.step);
        b.takeAlternativeLink();
        return;
    }
    s.step = 0;  // leave; the next visit starts again
    s.closed = 0;
}

void lastCall(CalendarView& b) {
    State s(b);
    // A sub-model whose last block does not lead back here (the timer was not rewired,
    // so the run ran out of links) is repeated by withdrawing the end. Once the loop
    // has been seen to close, a last call means that the run is asked to end.
    if (b.inputCount() > 0 && s.step >= 1 && s.step < s.steps && s.closed == 0) {
        show(b, ++s.step);
        b.withdrawEnd();
        b.takeAlternativeLink();
        return;
    }
    if (b.inputCount() > 0) s.step = 0;
    s.closed = 0;
}

struct Calendar {
    using P = CalendarParams;
    using View = CalendarView;
    static bool checksHold(CalendarView& b) {
        if (!freeTimerRunning(b)) return startExists(b);
        keptClock(b);
        return true;
    }
    static bool tiesHold(CalendarView& b) { return freeTimerRunning(b) || runFits(b); }
    static void init(CalendarView& b) { initialise(b); }
    static void step(CalendarView& b) { b.inputCount() > 0 ? subModelStep(b) : freeStep(b); }
    static void last(CalendarView& b) { lastCall(b); }
};

}  // namespace

VIREO_BLOCK(ubcalendar, ub::kCalendar, Calendar)
