// What the diagram window computes and writes besides the chart: dates, clock times, the
// sun's place at the chosen time, sunrises and sunsets on the surface, day lengths and the
// yearly values. No drawing and no user interface here.
#ifndef ZENOVA_READOUTS_H
#define ZENOVA_READOUTS_H

#include "SunGeometry.h"

#include <array>
#include <string>
#include <string_view>

namespace zenova {

// December has 32 days here, so that any day the scroll bar can reach has a date.
inline constexpr std::array<int, 12> kMonthLengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 32};
inline constexpr std::array<std::string_view, 12> kMonthNames{"Jan.", "Feb.", "Mar.", "Apr.", "May",  "June",
                                                              "July", "Aug.", "Sep.", "Oct.", "Nov.", "Dec."};
inline constexpr std::array<int, 12> kMonthStarts{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

inline constexpr std::string_view kNoSun = "-----";          // elevation and azimuth without sun
inline constexpr std::string_view kNoSunshine = "-------";  // a sunrise or sunset that does not happen

// "June 21" for day 172; days below 1 count as 1.
std::string dateText(int day);

// Day of the year of a calendar date (month 1..12); 29 February counts as 28 February.
int dayOfYear(int month, int dayOfMonth);

// The clock readout of a minute of the day (0..1439): hour 1..12, two-digit minutes,
// "a.m." or "p.m.".
struct ClockReadout {
    std::string hour;
    std::string minute;
    std::string halfOfDay;
    friend bool operator==(const ClockReadout&, const ClockReadout&) = default;
};
ClockReadout clockReadout(int minuteOfDay);

// The clock time in hours that the readout shows for a minute of the day.
double selectedClockTime(const ClockReadout& readout, int minuteOfDay);

// Whole hours and the rest in minutes, rounded; a rounded 60 carries into the hours.
struct HoursAndMinutes {
    int hours = 0;
    int minutes = 0;
    friend bool operator==(const HoursAndMinutes&, const HoursAndMinutes&) = default;
};
HoursAndMinutes hoursAndMinutes(double hours);

// Hours of sunshine on the surface in both intervals of a day.
double sunshineHours(const SunshineTimes& times);

struct YearlyValues {
    int sunHours = 0;               // whole hours over the year
    HoursAndMinutes averageDay;     // mean sunshine a day
};
// A horizontal surface is counted with half the year's hours; no surface with more.
YearlyValues yearlyValues(const std::array<SunshineTimes, 366>& annual, bool horizontal);

// A clock time as "h:mm" with its half of the day, the time taken into 0..24 h first.
struct ClockText {
    std::string time;
    std::string halfOfDay;
    friend bool operator==(const ClockText&, const ClockText&) = default;
};
ClockText clockText(double t);

// Start and end of both sunshine intervals of a day as the window writes them; an empty
// interval shows kNoSunshine twice. dayLengthHours is the whole hours of the day length.
struct SunriseSunset {
    ClockText firstStart;
    ClockText firstEnd;
    ClockText secondStart;
    ClockText secondEnd;
    friend bool operator==(const SunriseSunset&, const SunriseSunset&) = default;
};
SunriseSunset sunriseSunset(const SunshineTimes& times, int dayLengthHours);

// Day values of a day and the sun's position at a clock time in the context.
void position(SunContext& context, int day, double clockTime);

// The sun at the chosen day and minute, as the readout shows it. shown is false when the
// sun does not shine on the surface then; the texts are kNoSun.
struct SunReadout {
    bool shown = false;
    double clockTime = 0.0;  // the time given to position, after moving it into the day's intervals
    double elevation = 0.0;  // above the surface plane, degrees
    double azimuth = 0.0;    // from north through east in the surface frame, 0..360
    int symbolLeft = 0;      // the 15 x 15 sun symbol, in the window
    int symbolTop = 0;
    std::string elevationText{kNoSun};
    std::string azimuthText{kNoSun};
};
// Leaves the context at the day's values with the readout's azimuth as the surface azimuth.
SunReadout sunReadout(SunContext& context, int day, int minuteOfDay, int pictureLeft);

}  // namespace zenova

#endif
