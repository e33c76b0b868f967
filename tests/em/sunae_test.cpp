// SunAngles position: the three series against NREL's published SPA test case and against the
// independent formula of reference_sun.h over whole years at every latitude; the faults
// of the published algorithms that the library mends; the blocks SUNAE and SUNAEA.
#include "block_harness.h"
#include "message_capture.h"
#include "reference_sun.h"
#include "routines.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

using namespace reference;
using vireo_test::BlockInstance;

namespace {

vireo_test::BlockFunction em(const char* routine) { return vireo_test::library("VireoEM").block(routine); }

struct SunAngles {
    float azimuth, elevation, declination, hourAngle;
};

// Site in the library's first convention: longitude and time zone positive west.
SunAngles sun(int mode, int year, int month, int day, float hour, float minute, float second, float latitude,
        float longitudeWest, float zoneWest, float dst = 0.0f) {
    const float y = static_cast<float>(year), mo = static_cast<float>(month), d = static_cast<float>(day);
    SunAngles s{};
    sunae(&mode, &y, &mo, &d, &hour, &minute, &second, &dst, &latitude, &longitudeWest, &zoneWest, &s.azimuth,
          &s.elevation, &s.declination, &s.hourAngle);
    return s;
}

// The reference at the same clock time: a zone above 12 hours west is an eastern zone.
Position referenceAt(int year, int month, int day, double clockHours, double latitude, double longitudeWest,
                     double zoneWest) {
    const double offset = zoneWest > 12.0 ? zoneWest - 24.0 : zoneWest;
    return positionAt(julianDate(year, month, day, clockHours + offset), latitude, -longitudeWest);
}

// Horizontal arc between two azimuths at an elevation: what an azimuth error means on
// the sky (near the zenith every azimuth is nearly the same direction).
double azimuthArc(double a, double b, double elevation) {
    return std::fabs(angleBetween(a, b)) * std::cos(rad(elevation));
}

struct Accuracy {
    double elevation, azimuthArc, declination, hourAngle, continuity;
};

// Walraven's and the almanac's series claim 0.01 degree; the azimuth's arc sine near
// +-90 degrees loses up to 0.025 degree in single precision.
constexpr Accuracy kEphemeris{0.01, 0.03, 0.01, 0.01, 0.2};
// The Fourier series keeps one declination for the whole clock day (it moves by up to
// 0.4 degree a day near the equinoxes) and does not follow the leap cycle; Spencer's fit
// itself is good to about 0.035 degree and the equation of time to about a minute.
constexpr Accuracy kFourier{0.6, 0.6, 0.6, 0.3, 3.0};

void sweep(int mode, std::initializer_list<int> years, const Accuracy& acc) {
    double worst[4] = {};
    for (int year : years)
        for (int latitude = -89; latitude <= 89; latitude += 4)
            for (double longitudeWest : {105.1786, -13.4, -151.2, 0.0}) {
                // The standard zone of the longitude, in hours west 0..23.
                const int zoneEast = static_cast<int>(std::lround(-longitudeWest / 15.0));
                const float zone = static_cast<float>(zoneEast <= 0 ? -zoneEast : 24 - zoneEast);
                for (int month = 1; month <= 12; ++month)
                    for (int day = 1; day <= 28; day += 5)
                        for (int minutes = 0; minutes < 1440; minutes += 67) {
                            const float hour = static_cast<float>(minutes / 60), minute = static_cast<float>(minutes % 60);
                            const SunAngles s = sun(-mode, year, month, day, hour, minute, 0.0f,
                                              static_cast<float>(latitude), static_cast<float>(longitudeWest), zone);
                            const Position p = referenceAt(year, month, day, minutes / 60.0, latitude,
                                                           longitudeWest, zone);
                            ASSERT_TRUE(std::isfinite(s.azimuth) && std::isfinite(s.elevation) &&
                                        std::isfinite(s.declination) && std::isfinite(s.hourAngle))
                                << year << "-" << month << "-" << day << " " << minutes << " lat " << latitude;
                            worst[0] = std::max(worst[0], std::fabs(s.elevation - p.elevation));
                            worst[1] = std::max(worst[1], azimuthArc(s.azimuth, p.azimuth, p.elevation));
                            worst[2] = std::max(worst[2], std::fabs(s.declination - p.declination));
                            worst[3] = std::max(worst[3], std::fabs(angleBetween(s.hourAngle, p.hourAngle)));
                            EXPECT_GE(s.hourAngle, 0.0f);
                            EXPECT_LT(s.hourAngle, 360.0f);
                        }
            }
    EXPECT_LE(worst[0], acc.elevation) << "elevation, series " << mode;
    EXPECT_LE(worst[1], acc.azimuthArc) << "azimuth, series " << mode;
    EXPECT_LE(worst[2], acc.declination) << "declination, series " << mode;
    EXPECT_LE(worst[3], acc.hourAngle) << "hour angle, series " << mode;
}

// Every five minutes of a day, at every whole latitude: the azimuth moves as the
// reference's does, so it jumps only where the sun passes the zenith or the nadir.
void continuity(int mode, const Accuracy& acc) {
    const int days[][2] = {{3, 20}, {5, 10}, {6, 21}, {9, 23}, {12, 21}, {1, 30}};
    for (int latitude = -89; latitude <= 89; ++latitude)
        for (const auto& date : days) {
            double previous = 0.0, previousReference = 0.0;
            for (int minutes = 0; minutes <= 1440; minutes += 5) {
                const SunAngles s = sun(-mode, 2003, date[0], date[1], 0.0f, static_cast<float>(minutes), 0.0f,
                                  static_cast<float>(latitude), 0.0f, 0.0f);
                const Position p = referenceAt(2003, date[0], date[1], minutes / 60.0, latitude, 0.0, 0.0);
                if (minutes > 0 && std::fabs(p.elevation) < 80.0) {
                    const double move = angleBetween(s.azimuth, previous);
                    const double referenceMove = angleBetween(p.azimuth, previousReference);
                    ASSERT_LE(std::fabs(move - referenceMove), acc.continuity)
                        << "series " << mode << " lat " << latitude << " " << date[0] << "-" << date[1]
                        << " minute " << minutes << ": azimuth " << previous << " -> " << s.azimuth
                        << ", reference " << previousReference << " -> " << p.azimuth;
                }
                previous = s.azimuth;
                previousReference = p.azimuth;
            }
        }
}

}  // namespace

TEST(Sunae, PublishedSpaTestCase) {
    // NREL SPA (Reda and Andreas 2008), table A5.1: 17 October 2003, 12:30:30 local time,
    // zone -7 h, 39.742476 N, 105.1786 W: topocentric zenith 50.11162, azimuth 194.34024
    // (refraction at 820 mbar and 11 C, within 0.006 degree of this library's).
    for (int mode : {2, 3}) {
        const SunAngles s = sun(mode, 2003, 10, 17, 12, 30, 30, 39.742476f, 105.1786f, 7);
        EXPECT_NEAR(90.0 - s.elevation, 50.11162, 0.03) << "series " << mode;
        EXPECT_NEAR(s.azimuth, 194.34024, 0.03) << "series " << mode;
    }
    const SunAngles s = sun(1, 2003, 10, 17, 12, 30, 30, 39.742476f, 105.1786f, 7);
    EXPECT_NEAR(90.0 - s.elevation, 50.11162, 0.5);
    EXPECT_NEAR(s.azimuth, 194.34024, 0.5);
}

// Years before 1980, leap years and the years between; zones east and west.
TEST(Sunae, EclipticSeriesOverWholeYears) { sweep(2, {1975, 2004, 2041}, kEphemeris); }
TEST(Sunae, AlmanacSeriesOverWholeYears) { sweep(3, {1975, 2004, 2041}, kEphemeris); }
TEST(Sunae, FourierSeriesOverWholeYears) { sweep(1, {2003, 2024}, kFourier); }

TEST(Sunae, AzimuthIsContinuous) {
    continuity(1, kFourier);
    continuity(2, kEphemeris);
    continuity(3, kEphemeris);
}

TEST(Sunae, TropicalMorningSunStaysNorthOfEast) {
    // At 10 N on 21 June the declination (23.4) exceeds the latitude: the sun never
    // crosses the east-west line and rises north of east. Just after sunrise the hour
    // angle is beyond 90 degrees, where the published quadrant rule put the sun south.
    for (int mode : {1, 2, 3})
        for (int minutes = 5 * 60 + 30; minutes <= 6 * 60 + 30; minutes += 5) {
            const SunAngles s = sun(-mode, 2003, 6, 21, 0, static_cast<float>(minutes), 0, 10.0f, 0.0f, 0.0f);
            const Position p = referenceAt(2003, 6, 21, minutes / 60.0, 10.0, 0.0, 0.0);
            EXPECT_LT(s.azimuth, 90.0f) << "series " << mode << " minute " << minutes;
            EXPECT_NEAR(angleBetween(s.azimuth, p.azimuth), 0.0, mode == 1 ? 0.6 : 0.03);
        }
    // The same in the southern tropics in December, and on the equator.
    for (float latitude : {-10.0f, 0.0f}) {
        const SunAngles s = sun(-3, 2003, 12, 21, 5, 50, 0, latitude, 0.0f, 0.0f);
        const Position p = referenceAt(2003, 12, 21, 5 + 50 / 60.0, latitude, 0.0, 0.0);
        EXPECT_GT(s.azimuth, 90.0f);
        EXPECT_NEAR(angleBetween(s.azimuth, p.azimuth), 0.0, 0.03) << latitude;
    }
}

TEST(Sunae, EclipticSeriesCountsLeapDaysOnce) {
    // Near the equinoxes the declination moves 0.4 degree a day, so a day's error in the
    // day count shows at once. Leap years and years before 1980 were one day early.
    const int dates[][3] = {{2004, 3, 20}, {1996, 9, 22}, {1975, 3, 21}, {1979, 9, 23}, {2003, 3, 21}};
    for (const auto& d : dates) {
        const SunAngles s = sun(-2, d[0], d[1], d[2], 12, 0, 0, 45.0f, 0.0f, 0.0f);
        const Position p = referenceAt(d[0], d[1], d[2], 12.0, 45.0, 0.0, 0.0);
        EXPECT_NEAR(s.declination, p.declination, 0.01) << d[0];
        EXPECT_NEAR(s.elevation, p.elevation, 0.01) << d[0];
    }
}

TEST(Sunae, EasternZonesGiveTheClockTimesInstant) {
    // Berlin (13.4 E, zone 1 h east = 23 h west) and Sydney (151.2 E, zone 10 h east =
    // 14 h west) at noon local time near an equinox: a day late shows in the declination.
    struct Site {
        float latitude, longitudeWest, zone;
    };
    for (const Site& site : {Site{52.5f, -13.4f, 23.0f}, Site{-33.9f, -151.2f, 14.0f}, Site{52.5f, 346.6f, 23.0f}})
        for (int mode : {2, 3}) {
            const SunAngles s = sun(-mode, 2003, 3, 21, 12, 0, 0, site.latitude, site.longitudeWest, site.zone);
            const Position p = referenceAt(2003, 3, 21, 12.0, site.latitude, site.longitudeWest, site.zone);
            EXPECT_NEAR(s.declination, p.declination, 0.01) << "series " << mode << " zone " << site.zone;
            EXPECT_NEAR(s.elevation, p.elevation, 0.01);
            EXPECT_NEAR(angleBetween(s.azimuth, p.azimuth), 0.0, 0.03);
        }
}

TEST(Sunae, ZonesNearAndBeyondTheDateLineGiveTheClockTimesInstant) {
    // Zones as a model writes them (hours west of Greenwich), each with the offset of the
    // site's clock from universal time as the world keeps it; the reference takes only
    // the latter. Zone 12 at a site east of Greenwich is New Zealand's standard time, a
    // negative zone is hours east (New Zealand's summer, Samoa, the Line Islands).
    struct Case {
        const char* site;
        float latitude, longitudeWest, zone;
        double clockMinusUniversal;
    };
    const Case cases[] = {
        {"Auckland", -36.85f, -174.76f, 12, 12},        {"Auckland, longitude past 180", -36.85f, 185.24f, 12, 12},
        {"Auckland, summer", -36.85f, -174.76f, -13, 13}, {"Apia", -13.83f, 171.76f, -13, 13},
        {"Kiritimati", 1.87f, 157.40f, -14, 14},         {"Honolulu", 21.31f, 157.86f, 10, -10},
        {"Suva, zone 12 west of 180", -18.14f, 181.56f, -12, 12}};
    for (const Case& c : cases)
        for (const int month : {1, 7})
            for (const float hour : {0.5f, 7.0f, 12.0f, 17.5f, 23.5f})
                for (const int mode : {1, 2, 3}) {
                    const Accuracy& acc = mode == 1 ? kFourier : kEphemeris;
                    const SunAngles s = sun(-mode, 2023, month, 15, hour, 0, 0, c.latitude, c.longitudeWest, c.zone);
                    const Position p = positionAt(julianDate(2023, month, 15, hour - c.clockMinusUniversal),
                                                  c.latitude, -c.longitudeWest);
                    const std::string where = std::string(c.site) + " month " + std::to_string(month) + " hour " +
                                              std::to_string(hour) + " series " + std::to_string(mode);
                    EXPECT_NEAR(s.declination, p.declination, acc.declination) << where;
                    EXPECT_NEAR(s.elevation, p.elevation, acc.elevation) << where;
                    EXPECT_LE(azimuthArc(s.azimuth, p.azimuth, p.elevation), acc.azimuthArc) << where;
                    EXPECT_NEAR(angleBetween(s.hourAngle, p.hourAngle), 0.0, acc.hourAngle) << where;
                }
}

TEST(SunaeBlock, TakesTheZonesBeyondTwelveHoursEast) {
    // Kiritimati (UTC+14) and Apia (UTC+13): accepted, and stepped to the sun of the
    // clock time; zones beyond the range are still refused.
    struct Case {
        float latitude, longitudeWest, zone;
        double clockMinusUniversal;
    };
    for (const Case c : {Case{1.87f, 157.40f, -14, 14}, Case{-13.83f, 171.76f, -13, 13}, Case{-36.85f, -174.76f, 12, 12}}) {
        BlockInstance b(em("em0006"), {.inputs = 4, .parameters = {2, c.latitude, c.longitudeWest, c.zone}});
        const auto codes = vireo_test::messagesOf([&] { EXPECT_EQ(b.init(), 0) << c.zone; }).codes;
        for (int code : codes) EXPECT_LT(code, 300000) << c.zone;  // at most the land mask's notice
        const std::vector<float> out = b.step({2023, 1, 1, 10.5f});
        const Position p = positionAt(julianDate(2023, 1, 1, 10.5 - c.clockMinusUniversal), c.latitude, -c.longitudeWest);
        EXPECT_NEAR(out[2], p.declination, kEphemeris.declination) << c.zone;
        EXPECT_NEAR(angleBetween(out[3], p.hourAngle), 0.0, kEphemeris.hourAngle) << c.zone;
    }
    for (const float zone : {-14.6f, 23.6f}) {
        BlockInstance b(em("em0006"), {.inputs = 4, .parameters = {2, 1.87f, 157.40f, zone}});
        EXPECT_EQ(vireo_test::messagesOf([&] { b.init(); }).codes, std::vector<int>{305034}) << zone;
    }
}

TEST(Sunae, OverheadSunGivesNoNaN) {
    // At solar noon with the latitude equal to the declination, the zenith angle's
    // cosine is 1 in exact arithmetic and may come out above 1 in single precision.
    for (int day = 1; day <= 365; ++day) {
        const int fit = 1;
        const float d = static_cast<float>(day);
        const float eot = et(&fit, &d);
        // Series 1 puts the hour angle at exactly 0 for this clock time at longitude 0.
        SunAngles s = sun(-1, 2003, 1, day, 12, -eot, 0, 0.0f, 0.0f, 0.0f);
        s = sun(-1, 2003, 1, day, 12, -eot, 0, s.declination, 0.0f, 0.0f);
        ASSERT_TRUE(std::isfinite(s.elevation) && std::isfinite(s.azimuth)) << day;
        EXPECT_NEAR(s.elevation, 90.0f, 0.05f) << day;
    }
}

TEST(Sunae, Refraction) {
    // Against Saemundsson's formula (Sky & Telescope 1986; Meeus eq. 16.4) at standard
    // conditions: within 0.012 degree above 5 degrees elevation, 0.13 degree down to the
    // horizon, where refraction formulas differ among themselves by that much.
    for (int minutes = 0; minutes < 1440; minutes += 4) {
        const SunAngles apparent = sun(3, 2003, 6, 21, 0, static_cast<float>(minutes), 0, 40.0f, 0.0f, 0.0f);
        const SunAngles geometric = sun(-3, 2003, 6, 21, 0, static_cast<float>(minutes), 0, 40.0f, 0.0f, 0.0f);
        const double e = geometric.elevation;
        const double r = apparent.elevation - e;
        if (e > -0.56) {
            const double saemundsson = 1.02 / std::tan(rad(e + 10.3 / (e + 5.11))) / 60.0;
            EXPECT_NEAR(r, saemundsson, e >= 5.0 ? 0.012 : 0.13) << e;
        } else {
            EXPECT_NEAR(r, 0.56, 1e-4) << e;
        }
        EXPECT_EQ(apparent.azimuth, geometric.azimuth);
    }
}

TEST(Sunae, NegativeModeSwitchesRefractionOffAndIsMadePositive) {
    int mode = -3;
    const float y = 2003, mo = 6, d = 21, h = 6, zero = 0, lat = 40, lon = 0;
    float az, el, de, ha;
    sunae(&mode, &y, &mo, &d, &h, &zero, &zero, &zero, &lat, &lon, &zero, &az, &el, &de, &ha);
    EXPECT_EQ(mode, 3);
    const SunAngles refracted = sun(3, 2003, 6, 21, 6, 0, 0, 40, 0, 0);
    EXPECT_LT(el, refracted.elevation);
    mode = INT_MIN;  // no absolute value in int: taken as the largest int, Series 1
    sunae(&mode, &y, &mo, &d, &h, &zero, &zero, &zero, &lat, &lon, &zero, &az, &el, &de, &ha);
    EXPECT_EQ(mode, INT_MAX);
    EXPECT_EQ(el, sun(-1, 2003, 6, 21, 6, 0, 0, 40, 0, 0).elevation);
}

TEST(SunaeBlock, StepsAsTheRoutineWithOptionalInputsAbsent) {
    const std::vector<float> site{2, 39.742476f, 105.1786f, 7};  // series 2 at the published test site
    BlockInstance four(em("em0006"), {.inputs = 4, .parameters = site});
    BlockInstance seven(em("em0006"), {.inputs = 7, .parameters = site});
    const auto codes = vireo_test::messagesOf([&] {
        EXPECT_EQ(four.init(), 0);
        EXPECT_EQ(seven.init(), 0);
    }).codes;
    EXPECT_EQ(codes, std::vector<int>{});
    EXPECT_EQ(four.IP[10], 3);
    EXPECT_EQ(four.IP[11], 0);
    const SunAngles s = sun(3, 2003, 10, 17, 12, 0, 0, 39.742476f, 105.1786f, 7);
    EXPECT_EQ(four.step({2003, 10, 17, 12}), (std::vector<float>{s.azimuth, s.elevation, s.declination, s.hourAngle}));
    EXPECT_EQ(seven.step({2003, 10, 17, 12, 0, 0, 0}), four.OUT);
    // Daylight saving: one hour less on the clock of the routine.
    const SunAngles summer = sun(3, 2003, 10, 17, 11, 30, 30, 39.742476f, 105.1786f, 7);
    EXPECT_EQ(seven.step({2003, 10, 17, 12, 30, 30, 1}),
              (std::vector<float>{summer.azimuth, summer.elevation, summer.declination, summer.hourAngle}));
}

TEST(SunaeBlock, KeepsItsDayAndLatitudeOnlyWhileTheyHold) {
    // Hours across a year's end and a leap day, on a site whose latitude an editor
    // changes mid-way: each step the routine's sun, to the bit, in every series.
    const float days[][3] = {{2023, 12, 31}, {2024, 1, 1}, {2024, 2, 28}, {2024, 2, 29}, {2024, 3, 1}, {2024, 3, 1.4f}};
    for (int series = 0; series < 3; ++series) {
        BlockInstance b(em("em0006"), {.inputs = 4, .parameters = {float(series), 39.742f, 105.179f, 7}});
        ASSERT_EQ(b.init(), 0);
        int step = 0;
        for (const auto& d : days)
            for (float hour : {0.0f, 6.5f, 12.0f, 23.75f}) {
                const float latitude = ++step > 12 ? -33.9f : 39.742f;
                b.BP[1] = latitude;
                const SunAngles s = sun(series + 1, int(d[0]), int(d[1]), int(std::lround(d[2])), hour, 0, 0, latitude,
                                        105.179f, 7);
                EXPECT_EQ(b.step({d[0], d[1], d[2], hour}),
                          (std::vector<float>{s.azimuth, s.elevation, s.declination, s.hourAngle}))
                    << "series " << series << " " << d[1] << "-" << d[2] << " " << hour;
            }
    }
}

TEST(SunaeBlock, RejectsUnknownSeriesAndStillChecksTheSite) {
    for (float series : {-1.0f, 3.0f, 2.5f, NAN}) {
        BlockInstance b(em("em0006"), {.inputs = 4, .parameters = {series, 95.0f, 0.0f, 0.0f}});
        EXPECT_EQ(vireo_test::messagesOf([&] { b.init(); }).codes, (std::vector<int>{305011, 305033})) << series;
        EXPECT_EQ(b.IP[0], 305011);  // the first error of the call stays
    }
    BlockInstance accepted(em("em0006"), {.inputs = 4, .parameters = {2.4f, 39.742476f, 105.1786f, 7}});
    EXPECT_EQ(accepted.init(), 0);
}

namespace {

// Saemundsson's refraction (degrees) at a true elevation: the blocks report apparent
// elevations.
double refraction(double e) { return e > -1.0 ? 1.02 / std::tan(rad(e + 10.3 / (e + 5.11))) / 60.0 : 0.0; }

// The reference mean over SUNAEA's sub-steps, each unwrapped against the one before.
Position referenceMean(int year, int month, int day, double clockHours, double interval, int steps,
                       double latitude, double longitudeWest, double zoneWest) {
    Position mean{};
    double previousAzimuth = 0.0;
    for (int i = 1; i <= steps; ++i) {
        const double t = clockHours - interval / 60.0 + i * interval / 60.0 / steps;
        Position p = referenceAt(year, month, day, t, latitude, longitudeWest, zoneWest);
        if (i > 1) p.azimuth = previousAzimuth + angleBetween(p.azimuth, previousAzimuth);
        previousAzimuth = p.azimuth;
        mean.azimuth += p.azimuth / steps;
        mean.elevation += (p.elevation + refraction(p.elevation)) / steps;
        mean.declination += p.declination / steps;
    }
    mean.azimuth = turn(mean.azimuth);
    return mean;
}

}  // namespace

TEST(SunaeaBlock, MeansOverTheIntervalWhicheverWayTheAzimuthRuns) {
    struct Case {
        const char* what;
        float latitude, longitudeWest, zone;
        int month, day;
        float hour;
    };
    const Case cases[] = {
        {"northern forenoon, azimuth rising", 48.0f, -11.6f, 23.0f, 6, 21, 10.0f},
        {"southern forenoon, azimuth falling", -33.9f, -151.2f, 14.0f, 3, 5, 11.0f},
        {"tropical noon, sun passing north", 10.0f, 0.0f, 0.0f, 6, 21, 12.5f},
        {"midnight sun on Svalbard, azimuth passing north", 78.2f, -15.6f, 23.0f, 6, 21, 1.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlockInstance b(em("em0020"), {.inputs = 7, .parameters = {2, c.latitude, c.longitudeWest, c.zone, 60, 12}});
        EXPECT_EQ(vireo_test::messagesOf([&] { EXPECT_EQ(b.init(), 0); }).codes, std::vector<int>{});
        b.step({2003, static_cast<float>(c.month), static_cast<float>(c.day), c.hour, 0, 0, 0});
        const Position p = referenceMean(2003, c.month, c.day, c.hour, 60.0, 12, c.latitude, c.longitudeWest, c.zone);
        EXPECT_NEAR(angleBetween(b.OUT[0], p.azimuth), 0.0, 0.1);
        EXPECT_NEAR(b.OUT[1], p.elevation, 0.05);
        EXPECT_NEAR(b.OUT[2], p.declination, 0.01);
        EXPECT_GE(b.OUT[0], 0.0f);
        EXPECT_LE(b.OUT[0], 360.0f);
    }
}

TEST(SunaeaBlock, OneSubStepIsThePositionAtTheClockTime) {
    BlockInstance one(em("em0020"), {.inputs = 7, .parameters = {1, 40.0f, 0.0f, 0.0f, 60, 1}});
    one.init();
    one.step({2003, 6, 21, 15, 20, 0, 0});
    const SunAngles s = sun(2, 2003, 6, 21, 15, 20, 0, 40.0f, 0.0f, 0.0f);
    EXPECT_EQ(one.OUT, (std::vector<float>{s.azimuth, s.elevation, s.declination, s.hourAngle}));
    // No sub-steps at all: still the position at the clock time, never a mean of nothing.
    BlockInstance none(em("em0020"), {.inputs = 7, .parameters = {1, 40.0f, 0.0f, 0.0f, 60, 0}});
    none.init();
    none.step({2003, 6, 21, 15, 20, 0, 0});
    EXPECT_EQ(none.OUT, one.OUT);
}

TEST(SunaeaBlock, SeriesAndSubStepsBeyondTheIntRange) {
    // A series whose sign change overflowed an int: every value beyond 3 either way takes
    // the Fourier series, refraction by its sign. Sub-steps beyond the rule are refused at
    // initialisation and the block never steps on them.
    auto outputs = [](float series, float subSteps) {
        BlockInstance b(em("em0020"), {.inputs = 7, .parameters = {series, 40.0f, 0.0f, 0.0f, 60, subSteps}});
        const int status = b.init();
        b.step({2003, 6, 21, 15, 20, 0, 0});
        return std::make_pair(status, b.OUT);
    };
    EXPECT_EQ(outputs(-3e9f, 4), outputs(-5, 4));
    EXPECT_EQ(outputs(3e9f, 4), outputs(5, 4));
    EXPECT_EQ(outputs(-INFINITY, 4), outputs(-5, 4));
    EXPECT_NE(outputs(-5, 4).second, outputs(5, 4).second);
    for (float steps : {1e9f, -3e9f, NAN, INFINITY, 100000.5f}) {
        const auto [status, out] = outputs(0, steps);
        EXPECT_EQ(status, 305259) << steps;
        EXPECT_EQ(out, std::vector<float>(4, 0.0f)) << steps;
    }
}
