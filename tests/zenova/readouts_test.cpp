// The diagram window's texts and values, and the main window's field rules and sketches,
// without any window.
#include "Diagram.h"
#include "Fields.h"
#include "Readouts.h"
#include "RecordingSurface.h"
#include "Sketches.h"
#include "reference_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace zenova;

namespace {

SunContext prepared(const char* lon, const char* lat, const char* lag, const char* incl, const char* orient) {
    SunContext c;
    prepareSunContext(c, lon, lat, lag, incl, orient);
    return c;
}

SunshineTimes interval(double s1, double e1, double s2 = 0.0, double e2 = 0.0) { return {s1, e1, s2, e2}; }

std::string joined(const ClockText& t) { return t.time + ' ' + t.halfOfDay; }

}  // namespace

TEST(Dates, DayOfYearAndItsText) {
    EXPECT_EQ(dateText(1), "Jan. 1");
    EXPECT_EQ(dateText(59), "Feb. 28");
    EXPECT_EQ(dateText(60), "Mar. 1");
    EXPECT_EQ(dateText(172), "June 21");
    EXPECT_EQ(dateText(365), "Dec. 31");
    EXPECT_EQ(dateText(366), "Dec. 32");  // December is given 32 days
    EXPECT_EQ(dateText(0), "Jan. 1");
    EXPECT_EQ(dateText(9999), "Dec. 32");
    EXPECT_EQ(dayOfYear(6, 21), 172);
    EXPECT_EQ(dayOfYear(2, 29), 59);  // a leap day counts as 28 February
    EXPECT_EQ(dayOfYear(3, 1), 60);
    EXPECT_EQ(dayOfYear(12, 31), 365);
    for (int day = 1; day <= 365; ++day) {
        const std::string text = dateText(day);
        int month = 0;
        while (text.rfind(std::string(kMonthNames[month]) + ' ', 0) != 0) {
            ++month;
        }
        ASSERT_EQ(dayOfYear(month + 1, std::stoi(text.substr(kMonthNames[month].size() + 1))), day) << text;
    }
}

TEST(Clock, ReadoutOfTheTimeScroll) {
    const auto shown = [](int m) {
        const ClockReadout r = clockReadout(m);
        return r.hour + ':' + r.minute + ' ' + r.halfOfDay;
    };
    EXPECT_EQ(shown(0), "12:00 a.m.");
    EXPECT_EQ(shown(59), "12:59 a.m.");
    EXPECT_EQ(shown(60), "1:00 a.m.");
    EXPECT_EQ(shown(719), "11:59 a.m.");
    EXPECT_EQ(shown(720), "12:00 p.m.");
    EXPECT_EQ(shown(779), "12:59 p.m.");
    EXPECT_EQ(shown(780), "1:00 p.m.");
    EXPECT_EQ(shown(1439), "11:59 p.m.");
    for (int m = 0; m < 1440; ++m) {
        ASSERT_NEAR(selectedClockTime(clockReadout(m), m), m / 60.0, 1e-12) << m;
    }
}

// The clock texts of sunrises and sunsets: 12-hour clock with the hour 12 for the first
// hour after midnight and noon, minutes cut (not rounded) to the minute begun.
TEST(Clock, SunriseAndSunsetTexts) {
    EXPECT_EQ(joined(clockText(6.5001)), "6:30 a.m.");
    EXPECT_EQ(joined(clockText(0.2501)), "12:15 a.m.");
    EXPECT_EQ(joined(clockText(12.5001)), "12:30 p.m.");
    EXPECT_EQ(joined(clockText(0.25)), "12:14 a.m.");  // a whole minute less a half goes to the even one
    EXPECT_EQ(joined(clockText(12.0)), "12:00 a.m.");  // noon exactly keeps "a.m."
    EXPECT_EQ(joined(clockText(13.0)), "1:00 p.m.");
    EXPECT_EQ(joined(clockText(18.0 + 59.9 / 60.0)), "6:59 p.m.");
    EXPECT_EQ(joined(clockText(23.999)), "11:59 p.m.");
    // Times before midnight and from the next midnight on read as the clock shows them.
    EXPECT_EQ(joined(clockText(-0.2)), "11:48 p.m.");
    EXPECT_EQ(joined(clockText(-1.0 + 1e-9)), "11:00 p.m.");
    EXPECT_EQ(joined(clockText(25.04)), "1:02 a.m.");
    EXPECT_EQ(joined(clockText(24.0)), "12:00 a.m.");
    EXPECT_EQ(joined(clockText(std::nan(""))), "12:00 a.m.");
}

TEST(Clock, SunriseSunsetRules) {
    const SunriseSunset plain = sunriseSunset(interval(6.2501, 19.5001), 13);
    EXPECT_EQ(joined(plain.firstStart), "6:15 a.m.");
    EXPECT_EQ(joined(plain.firstEnd), "7:30 p.m.");
    EXPECT_EQ(plain.secondStart.time, "-------");
    EXPECT_EQ(plain.secondStart.halfOfDay, "");
    EXPECT_EQ(plain.secondEnd.time, "-------");

    // Sunshine running through midnight as two intervals meeting there.
    const SunriseSunset through = sunriseSunset(interval(0.3, 23.9995, -0.0001, 2.0), 20);
    EXPECT_EQ(joined(through.firstEnd), "23:59 p.m.");  // kept as the window always wrote it
    EXPECT_EQ(joined(through.secondStart), "12:00 a.m.");
    const SunriseSunset other = sunriseSunset(interval(-0.0002, 3.0, 20.0, 23.9999), 7);
    EXPECT_EQ(joined(other.firstStart), "12:00 a.m.");
    EXPECT_EQ(joined(other.secondEnd), "11:59 p.m.");

    // An empty interval never takes part: no time is written against "-------".
    const SunriseSunset empty = sunriseSunset(interval(0.0, 24.0, 0.0, 0.0), 23);
    EXPECT_EQ(joined(empty.firstStart), "12:00 a.m.");
    EXPECT_EQ(empty.secondStart.time, "-------");
    EXPECT_EQ(empty.secondEnd.time, "-------");
    const SunriseSunset emptyFirst = sunriseSunset(interval(-0.5, -0.5, 2.0, 23.6), 21);
    EXPECT_EQ(emptyFirst.firstStart.time, "-------");
    EXPECT_EQ(emptyFirst.firstEnd.time, "-------");
    EXPECT_EQ(joined(emptyFirst.secondEnd), "11:36 p.m.");

    // A whole day of sunshine.
    const SunriseSunset day = sunriseSunset(interval(1.1, 25.1), 24);
    EXPECT_EQ(joined(day.firstStart), "12:00 a.m.");
    EXPECT_EQ(joined(day.firstEnd), "11:59 p.m.");
    EXPECT_EQ(day.secondStart.time, "-------");
    EXPECT_EQ(day.secondEnd.halfOfDay, "");
}

TEST(DayLength, HoursAndMinutesCarry) {
    EXPECT_EQ(hoursAndMinutes(10.5), (HoursAndMinutes{10, 30}));
    EXPECT_EQ(hoursAndMinutes(10.9999), (HoursAndMinutes{11, 0}));  // not "10 h 60 min"
    EXPECT_EQ(hoursAndMinutes(12.0), (HoursAndMinutes{12, 0}));
    EXPECT_EQ(hoursAndMinutes(1.125), (HoursAndMinutes{1, 8}));  // 7.5 minutes, halves to even
    EXPECT_EQ(hoursAndMinutes(1.375), (HoursAndMinutes{1, 22}));
    EXPECT_EQ(hoursAndMinutes(0.0), (HoursAndMinutes{0, 0}));
    EXPECT_EQ(hoursAndMinutes(-3.0), (HoursAndMinutes{0, 0}));
    EXPECT_EQ(sunshineHours(interval(6.0, 12.0, 13.0, 14.5)), 7.5);

    std::array<SunshineTimes, 366> year{};
    for (int d = 1; d <= 365; ++d) {
        year[d] = interval(7.0, 7.0 + 10.9999);
    }
    const YearlyValues v = yearlyValues(year, false);
    EXPECT_EQ(v.sunHours, 4015);
    EXPECT_EQ(v.averageDay, (HoursAndMinutes{11, 0}));
    const YearlyValues flat = yearlyValues(year, true);
    EXPECT_EQ(flat.sunHours, 4380);
    EXPECT_EQ(flat.averageDay, (HoursAndMinutes{12, 0}));
    for (int d = 1; d <= 365; ++d) {
        year[d] = interval(0.0, 13.0);
    }
    EXPECT_EQ(yearlyValues(year, false).sunHours, 4380);  // no surface sees more than half the year
}

// The readout against the vector model over a sweep of days and minutes: where the model has
// the sun above the horizon and in front of the surface, the readout shows its elevation and
// azimuth (compared as chart offsets, 0.01 units; 1 unit for a wall, whose coefficients are
// taken 1e-5 rad short of vertical) and the sun symbol within a pixel; elsewhere "-----".
// Minutes within 0.05 degrees of a crossing are left out.
TEST(SunReadout, MatchesTheVectorModel) {
    struct Site {
        const char* lon;
        const char* lat;
        const char* lag;
        const char* incl;
        const char* orient;
    };
    const Site sites[] = {
        {"4.35", "50.85", "1.0", "0", "0"},      {"4.35", "50.85", "1.0", "90", "180"},
        {"-75.00", "40.00", "-5.0", "35", "100"}, {"18.42", "-33.92", "2.0", "60", "320"},
        {"25.00", "70.00", "2.0", "0", "0"},      {"166.67", "-77.85", "12.0", "120", "300"},
        {"180.00", "45.00", "-11.0", "30", "200"}, {"-170.00", "10.00", "12.0", "150", "45"},
    };
    int shown = 0;
    int dark = 0;
    for (const Site& s : sites) {
        SunContext c = prepared(s.lon, s.lat, s.lag, s.incl, s.orient);
        const int incl = std::stoi(s.incl);
        const int orient = incl == 0 ? 0 : std::stoi(s.orient);
        for (int day = 3; day <= 365; day += 9) {
            for (int minute = 0; minute < 1440; minute += 11) {
                const SunReadout r = sunReadout(c, day, minute, kDiagramPictureLeft);
                const double solar = minute / 60.0 + c.equationOfTime + c.longitude / 15.0 - c.timeLag;
                const zenova_test::Direction sun = zenova_test::sunDirection(c.latitudeDeg, c.declination, solar);
                const zenova_test::ChartView ref = zenova_test::chartView(sun, incl, orient);
                const double altitude = std::asin(sun.up) / zenova_test::kRad;
                if (std::fabs(altitude) < 0.05 || std::fabs(ref.elevation) < 0.05) {
                    continue;
                }
                const bool visible = altitude > 0.0 && ref.elevation > 0.0;
                ASSERT_EQ(r.shown, visible) << s.lat << ' ' << s.incl << ' ' << s.orient << " day " << day
                                            << " minute " << minute;
                ASSERT_EQ(r.elevationText == "-----", !visible);
                ASSERT_EQ(r.azimuthText == "-----", !visible);
                if (!visible) {
                    ++dark;
                    continue;
                }
                ++shown;
                const double tolerance = incl == 90 ? 1.0 : 0.01;
                ASSERT_NEAR(r.elevation, ref.elevation, tolerance / 5.0);
                const double distance = 5.0 * (90.0 - r.elevation);
                const double chartAzimuth = (360.0 - r.azimuth) * zenova_test::kRad;
                ASSERT_NEAR(-distance * std::sin(chartAzimuth), ref.dx, tolerance)
                    << s.lat << ' ' << s.incl << ' ' << s.orient << " day " << day << " minute " << minute;
                ASSERT_NEAR(-distance * std::cos(chartAzimuth), ref.dy, tolerance);
                ASSERT_GE(r.azimuth, 0.0);
                ASSERT_LE(r.azimuth, 360.0);
                ASSERT_NEAR(r.symbolLeft + 7 - kDiagramPictureLeft, 250.0 + ref.dx / 2.0, 1.0);
                ASSERT_NEAR(r.symbolTop + 7, 250.0 + ref.dy / 2.0, 1.0);
            }
        }
    }
    EXPECT_GT(shown, 12000);
    EXPECT_GT(dark, 20000);
}

TEST(SunReadout, TextsAndTheSharedAzimuth) {
    SunContext c = prepared("4.35", "50.85", "1.0", "0", "0");
    const SunReadout noon = sunReadout(c, 172, 12 * 60 + 44, kDiagramPictureLeft);  // solar noon
    ASSERT_TRUE(noon.shown);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f \u00b0", noon.elevation);
    EXPECT_EQ(noon.elevationText, expected);
    EXPECT_NEAR(noon.elevation, 62.6, 0.3);
    EXPECT_NEAR(noon.azimuth, 180.0, 0.5);  // south
    EXPECT_EQ(c.surfaceSunAzimuth, noon.azimuth);
    EXPECT_NEAR(noon.clockTime, 12.0 + 44.0 / 60.0, 1e-12);
    const SunReadout afternoon = sunReadout(c, 172, 16 * 60, kDiagramPictureLeft);
    EXPECT_GT(afternoon.azimuth, 200.0);  // counted through east: the afternoon sun stands west
    EXPECT_LT(afternoon.azimuth, 300.0);
    const SunReadout night = sunReadout(c, 172, 60, kDiagramPictureLeft);
    EXPECT_FALSE(night.shown);
    EXPECT_EQ(night.elevationText, "-----");
    // Polar night: no interval at all.
    SunContext north = prepared("0.00", "80.00", "0.0", "0", "0");
    EXPECT_FALSE(sunReadout(north, 355, 720, kDiagramPictureLeft).shown);
}

TEST(Fields, LimitsAndTheirMessages) {
    EXPECT_FALSE(limitBreach(kLatitudeLimit, "90").has_value());
    const auto north = limitBreach(kLatitudeLimit, "91");
    ASSERT_TRUE(north.has_value());
    EXPECT_EQ(north->message, "Maximum nothern latitude amounts to 90\u00b0 (North Pole)!");
    EXPECT_EQ(north->replacement, "89.00");
    EXPECT_EQ(limitBreach(kLatitudeLimit, "-91")->replacement, "-89.00");
    EXPECT_EQ(limitBreach(kLongitudeLimit, "180.01")->replacement, "180.00");
    EXPECT_EQ(limitBreach(kLongitudeLimit, "-181")->message, "Maximum western longitude amounts to -180\u00b0!");
    EXPECT_EQ(limitBreach(kTimeLagLimit, "-12.5")->replacement, "-12.0");
    EXPECT_EQ(limitBreach(kTimeLagLimit, "13")->replacement, "12.0");
    EXPECT_FALSE(limitBreach(kTimeLagLimit, "-").has_value());
}

TEST(Fields, TidiedWhenLeft) {
    EXPECT_EQ(tidyCoordinate("7.", 2), "7.00");
    EXPECT_EQ(tidyCoordinate("-0", 2), "-0.00");
    EXPECT_EQ(tidyCoordinate("-", 2), "-0.00");
    EXPECT_EQ(tidyCoordinate("4.356", 2), "4.36");
    EXPECT_EQ(tidyCoordinate("-122.4", 2), "-122.40");
    EXPECT_EQ(tidyCoordinate("", 2), "0.00");
    EXPECT_EQ(tidyCoordinate("1..2", 2), "0.00");
    EXPECT_EQ(tidyCoordinate("5", 1), "5.0");
    EXPECT_EQ(tidyCoordinate("-0.", 1), "-0.0");
    EXPECT_EQ(tidyWhole(""), "0");
    EXPECT_EQ(tidyWhole("45"), "45");
    EXPECT_EQ(limitedWhole("200", kMaxInclination), 179);
    EXPECT_EQ(limitedWhole("400", kMaxOrientation), 360);
    EXPECT_EQ(limitedWhole("4.", kMaxOrientation), 0);  // a dot reads as 0
    EXPECT_EQ(poleName("90"), "North Pole");
    EXPECT_EQ(poleName("-90."), "South Pole");
    EXPECT_FALSE(poleName("89.99").has_value());
    EXPECT_EQ(timeLagFromLongitude("22.5"), "2.0");  // 1.5 to the even 2
    EXPECT_EQ(timeLagFromLongitude("7.5"), "0.0");   // 0.5 to the even 0
    EXPECT_EQ(timeLagFromLongitude("-7.5"), "0.0");
    EXPECT_EQ(timeLagFromLongitude("-100"), "-7.0");
}

TEST(Sketches, ArrowAndSurfaceLine) {
    EXPECT_EQ(sketchPoint(15.0, 90.0), (SketchPoint{33, 48}));
    EXPECT_EQ(sketchPoint(2.5, 0.0), (SketchPoint{35, 33}));  // 2.5 to the even 2
    // Orientation 180 points down (south), 90 to the right (east): the arrow's tip is the
    // point reached twice.
    for (const auto& [orientation, tip] : {std::pair{180, SketchPoint{33, 48}}, std::pair{90, SketchPoint{48, 33}},
                                           std::pair{0, SketchPoint{33, 18}}, std::pair{270, SketchPoint{18, 33}}}) {
        RecordingSurface s;
        drawOrientationSketch(s, orientation);
        const std::vector<std::string>& ops = s.operations();
        const std::string tipOp = "lineTo " + std::to_string(tip.x) + ' ' + std::to_string(tip.y);
        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops.back(), tipOp) << orientation;
        EXPECT_EQ(ops[ops.size() - 4], tipOp) << orientation;
        EXPECT_EQ(ops[ops.size() - 7], "penColour red");
    }
    // Inclination 0 lies flat to the left, 90 stands up, 179 almost flat to the right.
    for (const auto& [inclination, end] : {std::pair{0, SketchPoint{6, 33}}, std::pair{90, SketchPoint{33, 6}},
                                           std::pair{179, SketchPoint{60, 33}}, std::pair{45, SketchPoint{14, 14}}}) {
        RecordingSurface s;
        drawInclinationSketch(s, inclination);
        const std::vector<std::string>& ops = s.operations();
        EXPECT_EQ(ops[ops.size() - 2], "lineTo " + std::to_string(end.x) + ' ' + std::to_string(end.y)) << inclination;
        EXPECT_EQ(ops[ops.size() - 5], "penColour red");
        EXPECT_EQ(ops[ops.size() - 4], "penWidth 2");
    }
    // The arc runs at radius 25 from the flat side to the surface, only beyond one degree.
    RecordingSurface flat;
    drawInclinationSketch(flat, 1);
    RecordingSurface tilted;
    drawInclinationSketch(tilted, 60);
    EXPECT_EQ(tilted.operations().size() - flat.operations().size(), 1u + 12u);
    EXPECT_NE(std::find(tilted.operations().begin(), tilted.operations().end(), "lineTo 21 11"),
              tilted.operations().end());  // the arc's end on the surface line at 60 degrees
}
