#include "Readouts.h"

#include "Numeric.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace zenova {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string fixedTwo(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace

std::string dateText(int day) {
    day = std::clamp(day, 1, 366);
    std::size_t month = 0;
    while (month + 1 < kMonthLengths.size() && day - kMonthLengths[month] > 0) {
        day -= kMonthLengths[month];
        ++month;
    }
    return std::string(kMonthNames[month]) + ' ' + std::to_string(day);
}

int dayOfYear(int month, int dayOfMonth) {
    month = std::clamp(month, 1, 12);
    if (month == 2 && dayOfMonth == 29) {
        dayOfMonth = 28;
    }
    return kMonthStarts[month - 1] + dayOfMonth;
}

ClockReadout clockReadout(int minuteOfDay) {
    const int m = std::clamp(minuteOfDay, 0, 1439);
    ClockReadout r;
    r.halfOfDay = m < 720 ? "a.m." : "p.m.";
    r.hour = std::to_string(m < 780 ? m / 60 : m / 60 - 12);
    r.minute = twoDigits(m % 60);
    if (m < 60) {
        r.hour = "12";
        r.halfOfDay = "a.m.";
    }
    return r;
}

double selectedClockTime(const ClockReadout& readout, int minuteOfDay) {
    double t = parseInteger(readout.hour) + parseInteger(readout.minute) / 60.0;
    if (minuteOfDay > 779) {
        t += 12.0;
    }
    if (minuteOfDay < 60) {
        t -= 12.0;
    }
    return t;
}

HoursAndMinutes hoursAndMinutes(double hours) {
    if (!(hours > 0.0)) {
        return {};
    }
    HoursAndMinutes r;
    r.hours = nearestInt(std::trunc(hours));
    r.minutes = nearestInt((hours - std::trunc(hours)) * 60.0);
    if (r.minutes == 60) {
        ++r.hours;
        r.minutes = 0;
    }
    return r;
}

double sunshineHours(const SunshineTimes& t) { return (t.firstEnd - t.firstStart) + (t.secondEnd - t.secondStart); }

YearlyValues yearlyValues(const std::array<SunshineTimes, 366>& annual, bool horizontal) {
    double year = 0.0;
    for (int day = 1; day <= 365; ++day) {
        year += sunshineHours(annual[day]);
    }
    if (year > 4380.0 || horizontal) {
        year = 4380.0;
    }
    return {nearestInt(year), hoursAndMinutes(year / 365.0)};
}

ClockText clockText(double t) {
    if (!std::isfinite(t)) {
        t = 0.0;
    }
    // Sunrise before midnight or sunset after it (far from the time zone's meridian, or at
    // high latitudes) is shown at its time on the clock.
    t -= 24.0 * std::floor(t / 24.0);
    if (!(t >= 0.0 && t < 24.0)) {
        t = 0.0;
    }
    const int whole = static_cast<int>(t);
    const int hours = t < 1.0 ? whole + 12 : (t >= 13.0 ? whole - 12 : whole);
    const int minutes = nearestInt((t - whole) * 60.0 - 0.5);
    return {std::to_string(hours) + ':' + twoDigits(minutes), t <= 12.0 ? "a.m." : "p.m."};
}

SunriseSunset sunriseSunset(const SunshineTimes& times, int dayLengthHours) {
    const ClockText none{std::string(kNoSunshine), ""};
    const ClockText midnight{"12:00", "a.m."};
    const bool first = times.firstStart != times.firstEnd;
    const bool second = times.secondStart != times.secondEnd;
    SunriseSunset r{none, none, none, none};
    if (first) {
        r.firstStart = clockText(times.firstStart);
        r.firstEnd = clockText(times.firstEnd);
    }
    if (second) {
        r.secondStart = clockText(times.secondStart);
        r.secondEnd = clockText(times.secondEnd);
    }
    // Sunshine that runs through midnight comes as two intervals meeting there.
    if (first && second && times.firstEnd - times.secondStart > 23.99) {
        r.firstEnd = {"23:59", "p.m."};
        r.secondStart = midnight;
    }
    if (first && second && times.secondEnd - times.firstStart > 23.99) {
        r.firstStart = midnight;
        r.secondEnd = {"11:59", "p.m."};
    }
    if (dayLengthHours == 24) {
        r = {midnight, {"11:59", "p.m."}, none, none};
    }
    return r;
}

void position(SunContext& context, int day, double clockTime) {
    dayValues(context, day);
    sunPosition(context, clockTime, context.orientation);
}

SunReadout sunReadout(SunContext& context, int day, int minuteOfDay, int pictureLeft) {
    SunReadout r;
    dayValues(context, day);
    const auto [c1, c2, c3] = context.surfaceCoefficients;
    const SunshineTimes t = sunshineTimes(context, context.latitude, c1, c2, c3);
    const double s1 = t.firstStart, e1 = t.firstEnd, s2 = t.secondStart, e2 = t.secondEnd;
    if (s1 == e1 && s2 == e2) {
        return r;
    }
    double clock = selectedClockTime(clockReadout(minuteOfDay), minuteOfDay);
    // The intervals may begin before midnight or end after it; the clock time is moved by a
    // day where it falls into such a part, so that the sun is computed within its interval.
    const auto within = [](double time, double start, double end) {
        return start < end && start <= time && time <= end;
    };
    if (s1 < 0.0 && within(clock - 24.0, s1, e1)) {
        clock -= 24.0;
    } else if (s2 < 0.0 && within(clock - 24.0, s2, e2)) {
        clock -= 24.0;
    } else if (e1 > 24.0 && within(clock + 24.0, s1, e1)) {
        clock += 24.0;
    } else if (e2 > 24.0 && within(clock + 24.0, s2, e2)) {
        clock += 24.0;
    } else if (!within(clock, s1, e1) && !within(clock, s2, e2)) {
        return r;
    }
    r.clockTime = clock;
    position(context, day, clock);
    const double elevation = context.surfaceSunElevation;
    if (elevation <= 0.0) {
        return r;
    }
    const double p = context.surfaceSunAzimuth;
    const double distance = (90.0 - elevation) * 0.5 * 5.0;
    r.symbolLeft = nearestInt(250.0 - std::sin(p * kDegree) * distance) + pictureLeft - 7;
    r.symbolTop = nearestInt(250.0 - std::cos(p * kDegree) * distance) - 7;
    // The chart's azimuth runs from north through west; the readout counts through east.
    double azimuth = std::isfinite(p) ? 360.0 - p : 0.0;
    while (azimuth < 0.0) {
        azimuth += 360.0;
    }
    while (azimuth > 360.0) {
        azimuth -= 360.0;
    }
    context.surfaceSunAzimuth = azimuth;
    r.shown = true;
    r.elevation = elevation;
    r.azimuth = azimuth;
    r.elevationText = fixedTwo(elevation) + " \u00b0";
    r.azimuthText = fixedTwo(azimuth) + " \u00b0";
    return r;
}

}  // namespace zenova
