// PVTCOOL and PVT in a model through the real engine: CALENDAR steps a summer night and
// day in minutes (PVTCOOL's own 60 s), CSVIN reads a synthetic clear day (irradiance,
// sun angles, air and sky temperature), CONST gives the rest, CSVOUT writes every step.
// The run ends without a message and every row is finite and within physical bounds;
// by night the collector cools its fluid, by day it heats it and the PV layer gives power.
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSteps = 1440;
constexpr double kPi = 3.141592653589793;

// One row a minute from midnight: global and beam irradiance on the collector in
// kJ/(h m2), incidence, zenith and azimuth angles, air and sky temperature, and the global
// irradiance in W/m2 for the facade.
std::string weather() {
    std::ostringstream csv;
    csv << "g,b,theta,zenith,azimuth,ta,sky,gw\n";
    for (int i = 0; i < kSteps; ++i) {
        const double hour = (i + 1) / 60.0;
        const double day = std::sin(kPi * (hour - 6) / 12);
        const double g = std::max(0.0, 850 * day);
        const double zenith = day > 0 ? 90 - 65 * day : 95;
        const double ta = 21 + 7 * std::sin(kPi * (hour - 9) / 12);
        csv << 3.6 * g << "," << 2.7 * g << "," << (day > 0 ? zenith : 95) << "," << zenith << ","
            << 15 * (hour - 12) << "," << ta << "," << ta - 18 + 8 * std::max(0.0, day) << "," << g << "\n";
    }
    return csv.str();
}

std::string model() {
    return "b 1 CALENDAR\np 1 2023 7 1 0 " + std::to_string(kSteps) + " 0.0166667\n"
           "b 2 CSVIN\np 2 0 'weather.csv'\n"
           // pressure, humidity, wind, outer and internal coefficients, inlet, flow, PV
           // switch, ground; gap velocity, inside temperature, area from the inlet
           "b 3 CONST\np 3 1013 65 2 15 60 20 400 1 18 0.5 24 6\n"
           "b 4 PVTCOOL 2.1 2.2 2.3 2.4 2.5 2.6 3.1 3.2 2.7 3.3 3.4 3.5 3.6 3.7 3.8 3.9\n"
           // the ground's emissivity, the optional last parameter, left out
           "p 4 4 1 2 1 12 30 0 0.5 0.02 10 1.5 0.9 0.9 12 4.186 0.9 1 30 0.9 0.9 0.9 1 0.15 8.5 8 37 30 -0.4 0.8\n"
           "b 5 PVT 2.8 2.6 3.3 3.10 3.11 3.12\n"
           "p 5 1 0.1 0.005 0.12 0.9 0.85 0.9 0.05 1 1.2 0.8 0.9 0.5\n"
           "b 6 CSVOUT 1.8 4.1 4.2 4.3 4.4 4.5 4.6 4.7 4.8 4.9 4.10 4.11 4.12 5.1 5.2 5.3 5.4 5.5 5.6 5.7 5.8 5.9 "
           "5.10 5.11 5.12 5.13 5.14\n"
           "p 6 'out.csv'\n";
}

}  // namespace

TEST(PvtInAModel, ASummerNightAndDayInMinutes) {
    const std::string dir = vireo_test::scratchDirectory("st-pvt-model");
    vireo_test::writeFile(dir + "/weather.csv", weather());
    vireo_test::writeFile(dir + "/day.vireo", model());
    std::filesystem::create_directories(dir + "/no-user-blocks");
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", vireo_test::buildDir() + "/lib"}, {"VIREO_USER_BLOCKS", dir + "/no-user-blocks"}};
    const auto run = vireo_test::runVireo({"day.vireo"}, o);
    ASSERT_EQ(run.exitStatus, 0) << run.out;
    for (int code : run.codes()) EXPECT_LT(code, 200000) << run.out;

    std::istringstream csv(vireo_test::readFile(dir + "/out.csv"));
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));  // the header
    int rows = 0;
    double coolest = 100, warmest = -100, pv = 0;
    while (std::getline(csv, line)) {
        std::vector<double> v;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');) v.push_back(std::stod(f));
        ASSERT_EQ(v.size(), 27u) << line;
        ++rows;
        for (double x : v) ASSERT_TRUE(std::isfinite(x)) << line;
        // PVTCOOL: flow, outlet, absorber and surface within what sun and sky allow.
        EXPECT_EQ(v[1], 400);
        for (int i : {2, 4, 6}) {
            EXPECT_GT(v[static_cast<std::size_t>(i)], -10) << line;
            EXPECT_LT(v[static_cast<std::size_t>(i)], 90) << line;
        }
        EXPECT_GE(v[5], 0);                                  // condensation gains heat
        EXPECT_GE(v[7], -1e-6);  // PV power (the logarithmic efficiency dips at the first light)
        EXPECT_LT(v[7], 0.2 * 850 * 12);
        EXPECT_GT(v[8], 0);                                  // convective coefficient
        coolest = std::min(coolest, v[2]);
        warmest = std::max(warmest, v[2]);
        pv = std::max(pv, v[7]);
        // PVT: temperatures between the coldest air and a hot module, flows bounded.
        for (int i = 13; i <= 20; ++i) {
            EXPECT_GT(v[static_cast<std::size_t>(i)], 0) << line;
            EXPECT_LT(v[static_cast<std::size_t>(i)], 100) << line;
        }
        EXPECT_LT(std::fabs(v[25]), 1000);
        EXPECT_LT(std::fabs(v[26]), 1000);
    }
    EXPECT_EQ(rows, kSteps);
    EXPECT_LT(coolest, 20);  // the night sky cools the fluid below its inlet
    EXPECT_GT(warmest, 25);  // the day's sun heats it
    EXPECT_GT(pv, 0.1 * 850 * 12);
}
