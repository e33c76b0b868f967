// TSOIL against the Kusuda-Achenbach closed form for the annual temperature wave in a
// homogeneous half-space, written here on its own: for its parameters, every row of its
// table and surface temperatures read from data files in three formats; its refusals at
// initialisation and its data-file faults.
#include "block_harness.h"
#include "message_capture.h"
#include "run_vireo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using vireo_test::BlockInstance;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRho = 1500, kHeat = 1000, kConductivity = 1.0;  // a moist sandy soil
constexpr double kDayOfMaximum = 200;

// Kusuda and Achenbach (1965): T(z, t) = Tm + As exp(-z/D) cos(2 pi (t - t0)/365 - z/D),
// with the damping depth D = sqrt(365 a / pi), a the diffusivity in m2/day, t in days
// from the start of the year (here the whole hours over 24) and t0 the day of the
// surface maximum.
double dampingDepth() { return std::sqrt(365.0 * kConductivity / (kRho * kHeat) * 86400.0 / kPi); }
double closedForm(double mean, double amplitude, double depth, double seconds) {
    const double days = std::trunc(seconds / 3600.0) / 24.0;
    const double z = depth / dampingDepth();
    return mean + amplitude * std::exp(-z) * std::cos(2.0 * kPi * (days - kDayOfMaximum) / 365.0 - z);
}

vireo_test::BlockFunction tsoil() { return vireo_test::library("VireoEM").block("em0028"); }

std::vector<float> parameters(float source, float meanOrRow = 0, float maximum = 0, float factor = 1, float headers = 0) {
    return {source, float(kDayOfMaximum), factor, float(kRho), float(kHeat), float(kConductivity), headers,
            meanOrRow, maximum, meanOrRow};
}

BlockInstance block(const std::vector<float>& p, const std::vector<std::string>& strings = {}, int number = 7) {
    return BlockInstance(tsoil(), {.inputs = 2, .parameters = p, .strings = strings, .number = number});
}

// Every hour of the year at a few depths against the closed form; 1e-4 K is the single
// precision of the block's arithmetic with room to spare.
void expectClosedForm(BlockInstance& b, double mean, double amplitude, const char* what) {
    for (double depth : {0.0, 0.3, 1.0, dampingDepth(), 4.0, 12.0})
        for (int hour = 0; hour < 8760; hour += 7) {
            const double t = hour * 3600.0 + 1800.0;
            ASSERT_NEAR(b.step({float(t), float(depth)})[0], closedForm(mean, amplitude, depth, t), 1e-4)
                << what << ", depth " << depth << ", hour " << hour;
        }
}

struct Year {
    std::vector<int> key;
    std::vector<double> temperature;  // exactly as written with two decimals
    double mean = 0, maximum = 0;     // of the values a single-precision reader gets
};

// A year of hourly surface temperatures keyed by day (from firstKey), with its warmest
// day moved to the end of the file so that the last group decides the maximum.
Year syntheticYear(int firstKey, double offset) {
    Year y;
    double sum = 0, best = 0;
    for (int d = 0; d < 365; ++d) {
        double day = 0;
        for (int h = 0; h < 24; ++h) {
            const double seasonal = offset + 9.0 * std::cos(2 * kPi * (d - 200) / 365.0) + 4.0 * std::sin(2 * kPi * (h - 9) / 24.0);
            const double t = std::round((d == 364 ? seasonal + 15.0 : seasonal) * 100.0) / 100.0;
            y.key.push_back(firstKey + d);
            y.temperature.push_back(t);
            sum += static_cast<float>(t);
            day += static_cast<float>(t);
        }
        best = std::max(best, day / 24.0);
    }
    y.mean = sum / 8760.0;
    y.maximum = best;
    return y;
}

std::string fileOf(const Year& y, const std::string& format, int headers = 2, std::size_t records = 8760) {
    std::string text;
    for (int i = 0; i < headers; ++i) text += "header line " + std::to_string(i + 1) + "\n";
    char line[64];
    for (std::size_t i = 0; i < records; ++i) {
        if (format == "fixed") std::snprintf(line, sizeof line, "%4d.%8.2f\n", y.key[i], y.temperature[i]);
        else if (format == "two lines") std::snprintf(line, sizeof line, "%7d.\n%8.2f\n", y.key[i], y.temperature[i]);
        else std::snprintf(line, sizeof line, "%d, %.2f\n", y.key[i], y.temperature[i]);
        text += line;
    }
    return text;
}

std::string scratch(const std::string& name, const std::string& text) {
    const std::string path = vireo_test::scratchDirectory("tsoil-" + name) + "/surface.dat";
    vireo_test::writeFile(path, text);
    return path;
}

}  // namespace

TEST(Tsoil, ParametersFollowTheClosedForm) {
    BlockInstance b = block(parameters(1, 10, 18));
    ASSERT_EQ(b.init(), 0);
    expectClosedForm(b, 10, 8, "source 1");
    // The surface wave peaks at hour 24 times the day of the maximum; one damping depth
    // down it has e^-1 of the amplitude and comes a year / 2 pi later.
    auto peak = [&](double depth, int& when) {
        float best = -1e9f;
        for (int hour = 0; hour < 8760; ++hour) {
            const float t = b.step({hour * 3600.0f, float(depth)})[0];
            if (t > best) best = t, when = hour;
        }
        return best;
    };
    int when = 0;
    EXPECT_NEAR(peak(0, when), 18.0, 1e-4);
    EXPECT_EQ(when, 24 * kDayOfMaximum);
    EXPECT_NEAR(peak(dampingDepth(), when), 10 + 8 / std::exp(1.0), 1e-4);
    // The peak is flat to single precision over a few hours.
    EXPECT_NEAR(when - 24 * kDayOfMaximum, 8760 / (2 * kPi), 3.0);
    // The factor on the mean in the amplitude.
    BlockInstance half = block(parameters(1, 10, 18, 0.5f));
    ASSERT_EQ(half.init(), 0);
    expectClosedForm(half, 10, 13, "factor 0.5");
}

TEST(Tsoil, EveryRowOfTheTable) {
    const double maximum[] = {16.8, 16.7, 16.5, 18.5, 15.6, 15.2, 17.3, 14.2, 16.5, 15.3, 11.2, 19.3, 17.3, 15.6, 15.9};
    const double mean[] = {9.0, 8.4, 8.5, 9.5, 8.1, 6.8, 8.8, 6.0, 7.9, 6.3, 3.0, 10.2, 7.9, 6.8, 6.8};
    for (int row = 0; row < 15; ++row) {
        BlockInstance b = block(parameters(2, float(row)));
        ASSERT_EQ(b.init(), 0);
        expectClosedForm(b, mean[row], maximum[row] - mean[row], ("row " + std::to_string(row)).c_str());
    }
}

TEST(Tsoil, DataFilesInThreeFormats) {
    // Keys from 0: the group the block starts with (key 1) is empty and passed over.
    const Year y = syntheticYear(0, 8.0);
    struct Case {
        const char* layout;
        const char* format;
    };
    for (const Case c : {Case{"fixed", "(F5.0,F8.2)"}, Case{"two lines", "  (F8.2)  "}, Case{"free", "*"}}) {
        BlockInstance b = block(parameters(0, 0, 0, 1, 2), {scratch("formats", fileOf(y, c.layout)), c.format});
        ASSERT_EQ(vireo_test::messagesOf([&] { b.init(); }).codes, std::vector<int>{}) << c.layout;
        expectClosedForm(b, y.mean, y.maximum - y.mean, c.layout);
    }
}

TEST(Tsoil, FileWhoseWarmestDayIsBelowZeroKeepsTheMaximumAtZero) {
    const Year y = syntheticYear(1, -30.0);
    ASSERT_LT(*std::max_element(y.temperature.begin(), y.temperature.end()), 0.0);
    BlockInstance b = block(parameters(0, 0, 0, 1, 2), {scratch("frozen", fileOf(y, "free")), "*"});
    ASSERT_EQ(b.init(), 0);
    expectClosedForm(b, y.mean, 0.0 - y.mean, "frozen");
}

TEST(Tsoil, InstancesKeepTheirOwnSurfaceTemperatures) {
    const Year warm = syntheticYear(1, 12.0), cold = syntheticYear(1, -2.0);
    BlockInstance a = block(parameters(0, 0, 0, 1, 2), {scratch("warm", fileOf(warm, "free")), "*"}, 3);
    BlockInstance b = block(parameters(0, 0, 0, 1, 2), {scratch("cold", fileOf(cold, "fixed")), "(F5.0,F8.2)"}, 4);
    BlockInstance c = block(parameters(1, 10, 18), {}, 5);
    ASSERT_EQ(a.init() + b.init() + c.init(), 0);
    for (int hour = 0; hour < 8760; hour += 97) {
        const double t = hour * 3600.0;
        EXPECT_NEAR(c.step({float(t), 1.0f})[0], closedForm(10, 8, 1.0, t), 1e-4);
        EXPECT_NEAR(a.step({float(t), 1.0f})[0], closedForm(warm.mean, warm.maximum - warm.mean, 1.0, t), 1e-4);
        EXPECT_NEAR(b.step({float(t), 1.0f})[0], closedForm(cold.mean, cold.maximum - cold.mean, 1.0, t), 1e-4);
    }
}

TEST(Tsoil, RefusedAtInitialisation) {
    struct Case {
        std::vector<float> parameters;
        std::vector<int> codes;
        std::string param;  // i10 of the first message
    };
    std::vector<float> badSoil = parameters(1, 10, 18);
    badSoil[5] = 0;      // conductivity
    badSoil[4] = -1000;  // heat capacity: a negative product
    std::vector<float> noNumber = parameters(1, NAN, 18);
    noNumber[1] = INFINITY;
    const Case cases[] = {
        {parameters(3), {305295}, "1"},
        {parameters(-0.6f), {305295}, "1"},
        {parameters(2, 15), {305296}, "10"},
        {parameters(2, -1), {305296}, "10"},
        {badSoil, {305297, 305298}, "6"},
        {noNumber, {305299, 305299}, "2"},
        {parameters(1, 10, 18, NAN), {305299}, "3"},
    };
    for (const Case& c : cases) {
        BlockInstance b = block(c.parameters);
        const auto m = vireo_test::messagesOf([&] { b.init(); });
        ASSERT_EQ(m.codes, c.codes) << c.parameters[0];
        EXPECT_EQ(m.records[0]["i10"], c.param);
        EXPECT_EQ(b.IP[0], c.codes[0]);
        // A refused block computes nothing it could not.
        for (float v : b.step({3600.0f, 1.0f})) EXPECT_TRUE(std::isfinite(v));
    }

    const std::string good = scratch("good", fileOf(syntheticYear(1, 8.0), "free"));
    BlockInstance missing = block(parameters(0), {good + ".missing", "*"});
    auto m = vireo_test::messagesOf([&] { missing.init(); });
    ASSERT_EQ(m.codes, (std::vector<int>{305030, 304010}));
    EXPECT_EQ(m.records[0]["s0"], good + ".missing");
    BlockInstance directory = block(parameters(0), {vireo_test::buildDir(), "*"});
    EXPECT_EQ(vireo_test::messagesOf([&] { directory.init(); }).codes, (std::vector<int>{305030, 304010}));

    for (const char* format : {"(F8.2", "('key',F8.2)", "(1X)", "", "F8.2"}) {
        BlockInstance b = block(parameters(0), {good, format});
        m = vireo_test::messagesOf([&] { b.init(); });
        ASSERT_EQ(m.codes, std::vector<int>{305022}) << format;
        EXPECT_EQ(m.records[0]["s0"], format);
    }
    BlockInstance headers = block(parameters(0, 0, 0, 1, -1), {good, "*"});
    EXPECT_EQ(vireo_test::messagesOf([&] { headers.init(); }).codes, std::vector<int>{305027});
}

TEST(Tsoil, DataFileFaultsStopTheRunNamingFileAndLine) {
    const Year y = syntheticYear(1, 8.0);
    const std::string shortText = fileOf(y, "free", 3, 5000);
    std::string badText = fileOf(y, "free", 3);
    badText.replace(badText.find("\n", badText.size() / 3) + 1, 1, "x");
    struct Case {
        std::string text;
        int code;
        std::string line;
    };
    const Case cases[] = {
        {shortText, 405031, "5003"},
        {"one header\n", 405031, "1"},
        {badText, 405032, ""},
    };
    for (const Case& c : cases) {
        const std::string path = scratch("faults", c.text);
        BlockInstance b = block(parameters(0, 0, 0, 1, 3), {path, "*"});
        ASSERT_EQ(b.init(), 0);
        const auto m = vireo_test::messagesOf([&] { b.step({3600.0f, 1.0f}); });
        ASSERT_EQ(m.codes, std::vector<int>{c.code});
        EXPECT_EQ(m.records[0]["s0"], path);
        if (!c.line.empty()) {
            EXPECT_EQ(m.records[0]["i8"], c.line);
        }
        EXPECT_EQ(b.IP[1], 2);  // asks the engine to stop
    }
}

TEST(Tsoil, TimeOrDepthThatIsNoNumber) {
    BlockInstance b = block(parameters(1, 10, 18));
    ASSERT_EQ(b.init(), 0);
    EXPECT_EQ(b.step({NAN, 1.0f}), b.step({0.0f, 1.0f}));  // hour 0, never a cast of NaN
    EXPECT_EQ(b.step({3.0e38f, 1.0f})[0], b.step({3.0e38f, 1.0f})[0]);
    EXPECT_TRUE(std::isfinite(b.step({-INFINITY, 1.0f})[0]));
    EXPECT_EQ(b.step({3600.0f, NAN})[0], 10.0f);  // no depth to damp with: the mean
    EXPECT_EQ(b.step({3600.0f, INFINITY})[0], 10.0f);
    // Above the surface the wave grows without bound (-5.7e8 degC at -50 m): a negative
    // depth stops the run with the output as it stood.
    const float surface = b.step({3600.0f, 0.0f})[0];
    const auto m = vireo_test::messagesOf([&] { EXPECT_EQ(b.step({3600.0f, -50.0f})[0], surface); });
    EXPECT_EQ(m.codes, std::vector<int>{305300});
    EXPECT_EQ(m.records[0]["r0"], "-50");
    EXPECT_EQ(b.IP[1], 2);
}
