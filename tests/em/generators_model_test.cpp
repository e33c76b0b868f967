// The weather generators through the real engine: a year of hours at Munich from constant
// monthly values, and a year at 70 degrees north (polar night in December, midnight sun
// in June) from monthly values read hour by hour, with two GENGT blocks in one model.
#include "model_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using em_test::csvRows;
using em_test::runModel;

namespace {

constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The codes of a run that ended normally, without the scanner's note that a name of the
// first sign convention is deprecated.
std::vector<int> warningsAndErrors(const vireo_test::RunResult& run) {
    std::vector<int> codes;
    for (int c : run.codes())
        if (c >= 200000 && c != 204094) codes.push_back(c);
    return codes;
}

}  // namespace

TEST(WeatherGeneratorsInAModel, AYearOfHoursFromConstantMonthlyValues) {
    // CALENDAR and CONST into GENGT and GENGD, CSVOUT writing every hour: every month's
    // mean temperature within GENGT's default tolerance of 0.1 K, the humidity a fraction,
    // the daily irradiance the same through each day.
    const std::string dir = vireo_test::scratchDirectory("generators-model");
    const auto run = runModel(dir, "weather.vireo",
                              "b 1 CALENDAR\np 1 2023 1 1 0 8760 1\n"
                              "b 2 CONST\np 2 75 9 4 14 108 19 0.7\n"
                              "b 3 GENGT 2.1 2.2 2.3 2.4 2.5 2.6 1.1 1.2 1.3 1.4 2.7\np 3 48.1 -11.6 23 1 0 0.3 0.1 0\n"
                              "b 4 GENGD 2.1 1.1 1.2 1.3\np 4 0 48.1 -11.6 23 1 0 0.3 0.1 0\n"
                              "b 5 CSVOUT 1.1 1.2 1.3 1.4 3.1 3.2 3.3 4.1\np 5 'weather.csv'\n");
    ASSERT_EQ(run.exitStatus, 0) << run.out;
    EXPECT_EQ(run.codes().back(), 4999);
    EXPECT_EQ(warningsAndErrors(run), std::vector<int>{});

    const auto rows = csvRows(dir + "/weather.csv");
    ASSERT_EQ(rows.size(), 8760u);
    std::size_t k = 0;
    for (int m = 1; m <= 12; ++m) {
        double t = 0;
        for (int h = 0; h < 24 * kDays[m - 1]; ++h, ++k) {
            const auto& row = rows[k];
            ASSERT_EQ(row.size(), 8u);
            for (double v : row) ASSERT_TRUE(std::isfinite(v)) << k;
            ASSERT_EQ(row[1], m);
            EXPECT_GE(row[4], 0.0);
            EXPECT_GT(row[6], 0.0);
            EXPECT_LE(row[6], 1.0);
            EXPECT_GE(row[7], 0.0);
            if (row[3] > 0) {
                EXPECT_EQ(row[7], rows[k - 1][7]) << k;
            }
            t += row[5];
        }
        EXPECT_NEAR(t / (24 * kDays[m - 1]), 9.0, 0.1 + 1e-3) << m;
    }
}

TEST(WeatherGeneratorsInAModel, SeventyDegreesNorthRunsToItsEnd) {
    // Monthly values of a site in Finnmark, read hour by hour: no sun in December. The
    // generators of the second sign convention run the year to its normal end with a
    // number in every field; a GENGT block gives the same year with a second one beside it.
    const std::string dir = vireo_test::scratchDirectory("generators-polar");
    const double global[12] = {0.6, 13, 60, 123, 173, 196, 171, 117, 60, 20, 2.1, 0};
    const double mean[12] = {-4, -4, -2.5, 0.5, 5, 9.5, 12.5, 11.5, 7, 3, -0.5, -3};
    double sum = 0;
    for (double t : mean) sum += t;
    std::ostringstream csv;
    for (int m = 0; m < 12; ++m)
        for (int h = 0; h < 24 * kDays[m]; ++h)
            csv << global[m] << ',' << mean[m] << ',' << mean[m] - 3 << ',' << mean[m] + 3 << ',' << sum
                << ",16.5,0.8\n";
    vireo_test::writeFile(dir + "/monthly.csv", csv.str());
    const std::string common = "b 1 CALENDAR\np 1 2023 1 1 0 8760 1\nb 2 CSVIN\np 2 'monthly.csv'\n";
    const std::string gengt = "GENGT2 2.1 2.2 2.3 2.4 2.5 2.6 1.1 1.2 1.3 1.4 2.7\n";
    const std::string second = "b 4 " + gengt + "p 4 70 23.3 1 1 0 0.3 0.1 12 0.2\n";
    const auto both = runModel(dir, "both.vireo",
                               common + "b 3 " + gengt + "p 3 70 23.3 1 1 0 0.3 0.1 11\n" + second +
                                   "b 5 GENGD2 2.1 1.1 1.2 1.3\np 5 1 70 23.3 1 1 0 0.3 0.1 13\n"
                                   "b 6 GENG2 2.1 1.1 1.2 1.3 1.4\np 6 70 23.3 1 1 0 0.3 0.1 14\n"
                                   "b 7 CSVOUT 1.2 3.1 3.2 3.3 4.1 4.2 4.3 5.1 6.1\np 7 'both.csv'\n");
    ASSERT_EQ(both.exitStatus, 0) << both.out;
    EXPECT_EQ(both.codes().back(), 4999);
    EXPECT_EQ(warningsAndErrors(both), std::vector<int>{});
    const auto alone = runModel(dir, "alone.vireo", common + second + "b 7 CSVOUT 1.2 4.1 4.2 4.3\np 7 'alone.csv'\n");
    ASSERT_EQ(alone.exitStatus, 0) << alone.out;

    const auto rows = csvRows(dir + "/both.csv"), single = csvRows(dir + "/alone.csv");
    ASSERT_EQ(rows.size(), 8760u);
    ASSERT_EQ(single.size(), 8760u);
    double december = 0, june = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto& row = rows[k];
        ASSERT_EQ(row.size(), 9u);
        for (double v : row) ASSERT_TRUE(std::isfinite(v)) << k;
        for (int i : {3, 6}) ASSERT_TRUE(row[i] > 0 && row[i] <= 1) << k;
        // The second block's three columns, alone and beside the first.
        ASSERT_TRUE(std::equal(row.begin() + 4, row.begin() + 7, single[k].begin() + 1, single[k].end())) << k;
        if (row[0] == 12) december += row[1] + row[4] + row[7] + row[8];
        if (row[0] == 6) june += row[1];
    }
    EXPECT_EQ(december, 0.0);
    EXPECT_NEAR(june / (24 * 30), 196, 196 * 0.04);
}

TEST(WeatherGeneratorsInAModel, AClockOfHalfHoursIsToldHowToFeedThem) {
    // A CALENDAR started at 0.5, as the sun's examples start it: GENG2 warns once at its
    // first step that its hour is no whole hour, and the run stops at 23.5 (rounded to 24)
    // with the error, after 23 rows. Started at 0, the day runs without a word.
    const std::string dir = vireo_test::scratchDirectory("generators-half-hours");
    const auto model = [](const char* start) {
        return std::string("b 1 CALENDAR\np 1 2023 4 12 ") + start +
               " 24 1\nb 2 CONST\np 2 160\n"
               "b 3 GENG2 2.1 1.1 1.2 1.3 1.4\np 3 48.1 11.6 1 1 0 0.3 0.1 0\n"
               "b 4 CSVOUT 1.4 3.1\np 4 'day.csv'\n";
    };
    const auto half = runModel(dir, "half.vireo", model("0.5"));
    EXPECT_EQ(warningsAndErrors(half), (std::vector<int>{205309, 305305})) << half.out;
    EXPECT_EQ(csvRows(dir + "/day.csv").size(), 23u);
    const auto whole = runModel(dir, "whole.vireo", model("0"));
    ASSERT_EQ(whole.exitStatus, 0) << whole.out;
    EXPECT_EQ(warningsAndErrors(whole), std::vector<int>{});
    EXPECT_EQ(csvRows(dir + "/day.csv").size(), 24u);
}
