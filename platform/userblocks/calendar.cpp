// CALENDAR: a timer that steps through calendar time.
//
// Without inputs it is the model's free timer: every step call moves it one step on and
// the model runs once; the call after the last step asks the run to end. With inputs it
// owns a sub-model: each time the run enters it, it starts again (at the date and hour
// its inputs give, where connected) and sends the run through its sub-model once per
// step before letting it go on. docs/block-protocol.md describes both forms.
#include "messages.h"
#include "table.h"
#include "vireo_tools.h"

#include <climits>
#include <cmath>

namespace {

using namespace ub;

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
bool setStart(const Arrays& a, float year, float month, float day, float hour) {
    bool ok = true;
    const long long y = rounded(year, 1, 9999, 0);
    const long long m = rounded(month, 1, 12, 0);
    const long long d = rounded(day, 1, 31, 0);
    if (y == 0) {
        reportReal(a, message::badYear, year);
        ok = false;
    }
    if (m == 0) {
        reportReal(a, message::badMonth, month);
        ok = false;
    }
    int n = 0;
    if (y != 0 && m != 0) {
        // A day that the month does not have comes back from the calendar as another date.
        n = dayNumber(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
        const Date back = dateOf(n);
        if (d == 0 || back.year != y || back.month != m || back.day != d) {
            reportReal(a, message::badDay, day);
            ok = false;
        }
    }
    if (!(hour >= 0.0f && hour < 24.0f)) {
        reportReal(a, message::badHour, hour);
        ok = false;
    }
    if (ok) {
        a.DP[0] = n;
        a.DP[1] = microhours(hour);
    }
    return ok;
}

// Whether the last step of a run from the stored start still falls within the calendar.
bool lastStepFits(const Arrays& a, int steps) {
    const double hours = a.DP[1] + (steps - 1.0) * a.DP[2];
    if (a.DP[0] + std::floor(hours / 24.0) <= lastDayNumber()) return true;
    report(a, message::beyondLastYear);
    return false;
}

void show(const Arrays& a, int step) {
    const double length = a.DP[2];
    double hours = a.DP[1] + (step - 1.0) * length;
    // Steps like 0.1 h are not exact in binary: snap to microhours so that a full hour
    // is never shown as the end of the hour before it.
    hours = std::round(hours * 1.0e6) / 1.0e6;
    const double days = std::floor(hours / 24.0);
    float hour = static_cast<float>(hours - 24.0 * days);
    if (hour >= 24.0f) hour = std::nextafter(24.0f, 0.0f);
    Date d = dateOf(a.DP[0] + days);
    const int doy = idoy(&d.year, &d.month, &d.day);
    a.OUT[0] = static_cast<float>(d.year);
    a.OUT[1] = static_cast<float>(d.month);
    a.OUT[2] = static_cast<float>(d.day);
    a.OUT[3] = hour;
    a.OUT[4] = static_cast<float>(doy);
    a.OUT[5] = static_cast<float>(step);
    a.OUT[6] = static_cast<float>(24.0 * (doy - 1) + hour);
    a.OUT[7] = static_cast<float>((step - 1.0) * length);
}

void initialise(const Arrays& a) {
    a.IP[kStep] = 0;
    a.IP[kClosed] = 0;
    bool ok = setStart(a, a.BP[0], a.BP[1], a.BP[2], a.BP[3]);
    const long long steps = rounded(a.BP[4], 1, INT_MAX, 0);
    if (steps == 0) {
        reportReal(a, message::badStepCount, a.BP[4]);
        ok = false;
    }
    const float length = a.BP[5];
    if (!(length > 0.0f && std::isfinite(length))) {
        reportReal(a, message::badStepLength, length);
        ok = false;
    }
    if (!ok) return;
    a.DP[2] = microhours(length);
    if (!lastStepFits(a, static_cast<int>(steps))) return;
    a.IP[kSteps] = static_cast<int>(steps);
    a.IP[timerSteps] = static_cast<int>(steps);
    show(a, 1);
    a.OUT[5] = 0.0f;  // the start, before the first step
}

// Entering the sub-model: connected inputs replace the start's year, month, day, hour.
bool enter(const Arrays& a) {
    float start[4] = {a.BP[0], a.BP[1], a.BP[2], a.BP[3]};
    for (int i = 0; i < a.inputs() && i < 4; ++i) start[i] = a.IN[i];
    return setStart(a, start[0], start[1], start[2], start[3]) && lastStepFits(a, a.IP[kSteps]);
}

void freeStep(const Arrays& a) {
    if (a.IP[kStep] >= a.IP[kSteps]) {
        a.IP[callMode] = kStopRun;  // all steps made: the model ran once for each
        return;
    }
    show(a, ++a.IP[kStep]);
}

void subModelStep(const Arrays& a) {
    if (a.IP[kStep] == 0) {
        if (!enter(a)) {
            a.IP[callMode] = kStopRun;
            return;
        }
        show(a, a.IP[kStep] = 1);
        a.IP[branch] = kAlternative;
        return;
    }
    a.IP[kClosed] = 1;
    if (a.IP[kStep] < a.IP[kSteps]) {
        show(a, ++a.IP[kStep]);
        a.IP[branch] = kAlternative;
        return;
    }
    a.IP[kStep] = 0;  // leave; the next visit starts again
    a.IP[kClosed] = 0;
}

void lastCall(const Arrays& a) {
    // A sub-model whose last block does not lead back here (the timer was not rewired,
    // so the run ran out of links) is repeated by withdrawing the end. Once the loop
    // has been seen to close, a last call means that the run is asked to end.
    if (a.inputs() > 0 && a.IP[kStep] >= 1 && a.IP[kStep] < a.IP[kSteps] && a.IP[kClosed] == 0) {
        show(a, ++a.IP[kStep]);
        a.IP[callMode] = kWithdrawEnd;
        a.IP[branch] = kAlternative;
        return;
    }
    if (a.inputs() > 0) a.IP[kStep] = 0;
    a.IP[kClosed] = 0;
}

void calendar(Arrays& a) {
    switch (a.mode()) {
        case init: initialise(a); break;
        case step: a.inputs() > 0 ? subModelStep(a) : freeStep(a); break;
        case last: lastCall(a); break;
        default: break;
    }
}

}  // namespace

UB_BLOCK(ubcalendar, kCalendar, calendar)
