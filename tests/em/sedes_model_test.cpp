// SEDES3 in a model through the real engine: CSVIN feeds it a clear midsummer day, each
// hour's measurements held while the wavelength sweeps 0.3 to 1.4 um, and CSVOUT writes
// every step. The spectrum of every hour is the one the block gives called alone, night
// hours are dark, and no value is anything but a number.
#include "block_harness.h"
#include "model_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using em_test::csvRows;
using em_test::runModel;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kPoints = 111;

// The sun's zenith cosine at 40 degrees north on day 172, half an hour before the end of
// an hour of solar time, and Haurwitz's clear sky (1945) there.
double cosZenith(int hourEnd) {
    const double delta = 23.44 * kPi / 180, phi = 39.74 * kPi / 180;
    const double omega = (hourEnd - 0.5 - 12) * 15 * kPi / 180;
    return std::sin(delta) * std::sin(phi) + std::cos(delta) * std::cos(phi) * std::cos(omega);
}
double clearGlobal(int hourEnd) {
    const double c = cosZenith(hourEnd);
    return c > 0 ? 1098 * c * std::exp(-0.057 / c) : 0;
}

}  // namespace

TEST(Sedes3InAModel, AClearDaySweptHourByHour) {
    std::ostringstream sweep;
    sweep << "lambda,global,diffuse,dew_point,day,hour\n";
    for (int hour = 1; hour <= 24; ++hour)
        for (int k = 0; k < kPoints; ++k)
            sweep << 0.3 + 0.01 * k << ',' << clearGlobal(hour) << ',' << 0.18 * clearGlobal(hour) << ",10,172," << hour
                  << '\n';
    const std::string dir = vireo_test::scratchDirectory("sedes3-model");
    vireo_test::writeFile(dir + "/sweep.csv", sweep.str());
    const auto run = runModel(dir, "spectra.vireo",
                              "b 1 CALENDAR\np 1 2023 6 21 0 2664 1\n"
                              "b 2 CSVIN\np 2 0 'sweep.csv'\n"
                              "b 3 SEDES3 2.1 2.2 2.3 2.4 2.5 2.6\np 3 39.74 -105.18 -7 1829 30\n"
                              "b 4 CSVOUT 2.1 2.2 2.3 2.6 3.1\np 4 'spectra.csv'\n");
    ASSERT_EQ(run.exitStatus, 0) << run.out;
    EXPECT_EQ(run.codes().back(), 4999);

    // The same block called alone with the same inputs, step by step.
    vireo_test::BlockInstance alone(vireo_test::library("VireoEM").block("em0033"),
                                    {.inputs = 6, .parameters = {39.74f, -105.18f, -7, 1829, 30}});
    ASSERT_EQ(alone.init(), 0);
    const auto rows = csvRows(dir + "/spectra.csv");
    ASSERT_EQ(rows.size(), 24u * kPoints);
    int lit = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        ASSERT_EQ(r.size(), 5u) << i;
        const double out = r[4];
        ASSERT_TRUE(std::isfinite(out)) << i;
        ASSERT_GE(out, 0.0) << i;
        // CSVOUT writes single-precision values so that they read back to the bit.
        const int hour = static_cast<int>(r[3]);
        ASSERT_EQ(hour, static_cast<int>(i / kPoints) + 1) << i;
        ASSERT_EQ(float(out), alone.step({float(r[0]), float(r[1]), float(r[2]), 10, 172, float(hour)})[0]) << i;
        if (hour <= 4 || hour >= 21) {
            ASSERT_EQ(out, 0.0) << i;  // the sun below the horizon
        }
        if (out > 0) ++lit;
    }
    // Around noon every point of the visible spectrum is lit.
    EXPECT_GT(lit, 8 * 100);
    for (int hour = 10; hour <= 15; ++hour)
        for (int k = 15; k <= 35; ++k) EXPECT_GT(rows[(hour - 1) * kPoints + k][4], 500.0) << hour << " " << k;
}
