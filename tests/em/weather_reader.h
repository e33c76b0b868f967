// The weather database files read on their own terms, without the library: records of a
// fixed width, each ending in CR LF, numbers in fixed columns. The tests hold the
// library's reading and writing against it.
#ifndef VIREO_TEST_WEATHER_READER_H
#define VIREO_TEST_WEATHER_READER_H

#include "run_vireo.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace weather_test {

struct Files {
    std::string loc, ind, dat;
    bool operator==(const Files&) const = default;
};

inline Files snapshot(const std::string& dir) {
    return {vireo_test::readFile(dir + "vireoWeather.loc"), vireo_test::readFile(dir + "vireoWeather.ind"),
            vireo_test::readFile(dir + "vireoWeather.dat")};
}

// A copy of a database (the fixture or the installation's empty one) in a fresh directory,
// whose name ends with '/'.
inline std::string copyDatabase(const std::string& from, const std::string& name) {
    const std::string dir = vireo_test::scratchDirectory(name) + "/";
    for (const char* f : {"vireoWeather.loc", "vireoWeather.ind", "vireoWeather.dat"})
        std::filesystem::copy_file(from + f, dir + f);
    return dir;
}
inline std::string fixture() { return vireo_test::sourceDir() + "/tests/em/data/mtm/"; }
inline std::string emptyDatabase() { return vireo_test::sourceDir() + "/blocks/em/data/mtm/"; }

// Record n (from 1) of a file of records of `width` characters.
inline std::vector<std::string> records(const std::string& bytes, std::size_t width) {
    std::vector<std::string> r{""};
    EXPECT_EQ(bytes.size() % (width + 2), 0u) << "a file of records of " << width << " characters";
    for (std::size_t at = 0; at + width + 2 <= bytes.size(); at += width + 2) {
        EXPECT_EQ(bytes.substr(at + width, 2), "\r\n") << "record " << r.size();
        r.push_back(bytes.substr(at, width));
    }
    return r;
}

// Columns from..from+width-1, counted from 1, as a number.
inline int field(const std::string& record, std::size_t from, std::size_t width) {
    return std::stoi(record.substr(from - 1, width));
}

struct SiteRow {
    std::string name;
    int continent, country;
    double longitude, latitude;
    int height, index;
};
inline SiteRow siteRow(const std::string& r) {
    return {r.substr(0, 20), field(r, 21, 1), field(r, 22, 3), field(r, 25, 5) / 100.0,
            field(r, 30, 5) / 100.0 - 90.0, field(r, 35, 4) - 1000, field(r, 39, 5)};
}

// The index record's eight numbers; the data header's first four.
inline std::array<int, 8> numbers(const std::string& r, int count = 8) {
    std::array<int, 8> n{};
    for (int i = 0; i < count; ++i) n[static_cast<std::size_t>(i)] = field(r, 1 + 5 * static_cast<std::size_t>(i), 5);
    return n;
}

struct DataRow {
    int own, code, annual;
    std::array<int, 12> months;
};
inline DataRow dataRow(const std::string& r) {
    DataRow d{field(r, 1, 5), field(r, 6, 1), field(r, 7, 4), {}};
    for (std::size_t m = 0; m < 12; ++m) d.months[m] = field(r, 11 + 3 * m, 3);
    return d;
}
inline bool isTemperature(int code) { return code >= 2 && code <= 4; }
inline double monthValue(int code, int stored) {
    return code == 1 ? stored : isTemperature(code) ? stored / 10.0 - 50.0 : stored / 10.0;
}
inline double annualValue(int code, int stored) {
    return code == 1 ? stored / 10.0 : isTemperature(code) ? stored / 100.0 - 50.0 : stored / 100.0;
}

}  // namespace weather_test

#endif
