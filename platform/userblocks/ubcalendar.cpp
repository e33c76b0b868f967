// CALENDAR: a timer that steps through calendar time.
//
// Without inputs it is the model's free timer: every step call moves it one step on and
// the model runs once; the call after the last step asks the run to end. With inputs it
// owns a sub-model: each time the run enters it, it starts again (at the date and hour
// its inputs give, where connected) and sends the run through its sub-model once per
// step before letting it go on. docs/block-protocol.md describes both forms.
#include "Numbers.h"
#include "blocks.h"
#include "messages.h"
#include "vireo_tools.h"

#include <climits>
#include <cmath>

namespace {

using namespace ub;
using vireo::block::roundedWithin;

constexpr int kStep = 10;    // steps made since the start (or since entering the sub-model)
constexpr int kSteps = 11;   // steps per run (or per visit of the sub-model)
constexpr int kClosed = 12;  // the sub-model's last block has led back here in this visit

// DP[0] start day number, DP[1] start hour, DP[2] step length (hours).

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

// Hours as the decimal number the user wrote: a float 0.1 is 0.100000001, which would
// drift a year of 0.1 h steps by seconds.
double microhours(float hours) {
    const double h = std::round(static_cast<double>(hours) * 1.0e6) / 1.0e6;
    return h > 0.0 || hours <= 0.0f ? h : hours;  // steps below a microhour stay as given
}

// Checks a start date and hour, reporting every fault; on success stores the start.
bool setStart(BlockView& b, float year, float month, float day, float hour) {
    bool ok = true;
    const long long y = roundedWithin(year, 1, 9999, 0);
    const long long m = roundedWithin(month, 1, 12, 0);
    const long long d = roundedWithin(day, 1, 31, 0);
    if (y == 0) {
        reportReal(b, message::badYear, year);
        ok = false;
    }
    if (m == 0) {
        reportReal(b, message::badMonth, month);
        ok = false;
    }
    int n = 0;
    if (y != 0 && m != 0) {
        // A day that the month does not have comes back from the calendar as another date.
        n = dayNumber(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
        const Date back = dateOf(n);
        if (d == 0 || back.year != y || back.month != m || back.day != d) {
            reportReal(b, message::badDay, day);
            ok = false;
        }
    }
    if (!(hour >= 0.0f && hour < 24.0f)) {
        reportReal(b, message::badHour, hour);
        ok = false;
    }
    if (ok) {
        b.dp(0) = n;
        b.dp(1) = microhours(hour);
    }
    return ok;
}

// Whether the last step of a run from the stored start still falls within the calendar.
bool lastStepFits(BlockView& b, int steps) {
    const double hours = b.dp(1) + (steps - 1.0) * b.dp(2);
    if (b.dp(0) + std::floor(hours / 24.0) <= lastDayNumber()) return true;
    b.report(message::beyondLastYear);
    return false;
}

void show(BlockView& b, int step) {
    const double length = b.dp(2);
    double hours = b.dp(1) + (step - 1.0) * length;
    // Steps like 0.1 h are not exact in binary: snap to microhours so that a full hour
    // is never shown as the end of the hour before it.
    hours = std::round(hours * 1.0e6) / 1.0e6;
    const double days = std::floor(hours / 24.0);
    float hour = static_cast<float>(hours - 24.0 * days);
    if (hour >= 24.0f) hour = std::nextafter(24.0f, 0.0f);
    Date d = dateOf(b.dp(0) + days);
    const int doy = idoy(&d.year, &d.month, &d.day);
    b.out(0) = static_cast<float>(d.year);
    b.out(1) = static_cast<float>(d.month);
    b.out(2) = static_cast<float>(d.day);
    b.out(3) = hour;
    b.out(4) = static_cast<float>(doy);
    b.out(5) = static_cast<float>(step);
    b.out(6) = static_cast<float>(24.0 * (doy - 1) + hour);
    b.out(7) = static_cast<float>((step - 1.0) * length);
}

void initialise(BlockView& b) {
    b.ip(kStep) = 0;
    b.ip(kClosed) = 0;
    bool ok = setStart(b, b.par(0), b.par(1), b.par(2), b.par(3));
    const long long steps = roundedWithin(b.par(4), 1, INT_MAX, 0);
    if (steps == 0) {
        reportReal(b, message::badStepCount, b.par(4));
        ok = false;
    }
    const float length = b.par(5);
    if (!(length > 0.0f && std::isfinite(length))) {
        reportReal(b, message::badStepLength, length);
        ok = false;
    }
    if (!ok) return;
    b.dp(2) = microhours(length);
    if (!lastStepFits(b, static_cast<int>(steps))) return;
    b.ip(kSteps) = static_cast<int>(steps);
    b.setTimerSteps(static_cast<int>(steps));
    show(b, 1);
    b.out(5) = 0.0f;  // the start, before the first step
}

// Entering the sub-model: connected inputs replace the start's year, month, day, hour.
bool enter(BlockView& b) {
    float start[4] = {b.par(0), b.par(1), b.par(2), b.par(3)};
    for (int i = 0; i < b.inputCount() && i < 4; ++i) start[i] = b.in(i);
    return setStart(b, start[0], start[1], start[2], start[3]) && lastStepFits(b, b.ip(kSteps));
}

void freeStep(BlockView& b) {
    if (b.ip(kStep) >= b.ip(kSteps)) {
        b.requestStop();  // all steps made: the model ran once for each
        return;
    }
    show(b, ++b.ip(kStep));
}

void subModelStep(BlockView& b) {
    if (b.ip(kStep) == 0) {
        if (!enter(b)) {
            b.requestStop();
            return;
        }
        show(b, b.ip(kStep) = 1);
        b.takeAlternativeLink();
        return;
    }
    b.ip(kClosed) = 1;
    if (b.ip(kStep) < b.ip(kSteps)) {
        show(b, ++b.ip(kStep));
        b.takeAlternativeLink();
        return;
    }
    b.ip(kStep) = 0;  // leave; the next visit starts again
    b.ip(kClosed) = 0;
}

void lastCall(BlockView& b) {
    // A sub-model whose last block does not lead back here (the timer was not rewired,
    // so the run ran out of links) is repeated by withdrawing the end. Once the loop
    // has been seen to close, a last call means that the run is asked to end.
    if (b.inputCount() > 0 && b.ip(kStep) >= 1 && b.ip(kStep) < b.ip(kSteps) && b.ip(kClosed) == 0) {
        show(b, ++b.ip(kStep));
        b.withdrawEnd();
        b.takeAlternativeLink();
        return;
    }
    if (b.inputCount() > 0) b.ip(kStep) = 0;
    b.ip(kClosed) = 0;
}

struct Calendar {
    static void init(BlockView& b) { initialise(b); }
    static void step(BlockView& b) { b.inputCount() > 0 ? subModelStep(b) : freeStep(b); }
    static void last(BlockView& b) { lastCall(b); }
};

}  // namespace

VIREO_BLOCK(ubcalendar, ub::kCalendar, Calendar)
