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

// What is wrong with how the three files hang together, one line a fault (none when they
// are sound): every index record from 2 to its file's last used one is either named by
// exactly one site or on the free list, once, and likewise every data record by one index
// record in use; a record in use carries its own number (and a data record the code of
// the slot naming it); each free list is free records linked to the end mark L + 1.
inline std::vector<std::string> faultsOf(const std::string& dir) {
    const Files f = snapshot(dir);
    const auto loc = records(f.loc, 43), ind = records(f.ind, 40), dat = records(f.dat, 47);
    std::vector<std::string> faults;
    const auto check = [&faults](bool ok, const std::string& what) {
        if (!ok) faults.push_back(what);
        return ok;
    };
    const auto lastOf = [](const std::vector<std::string>& r) { return numbers(r[1], 4)[1]; };
    // 0 unaccounted, 1 in use, 2 free.
    std::vector<int> indexState(ind.size() + 1, 0), dataState(dat.size() + 1, 0);
    const int li = lastOf(ind), ld = lastOf(dat);
    check(li < static_cast<int>(ind.size()) && ld < static_cast<int>(dat.size()), "a last used record beyond its file");
    if (!faults.empty()) return faults;
    const int count = field(loc[1], 39, 5);
    const std::string codeOfSlot = "1623457";
    for (int r = 2; r <= count; ++r) {
        const int k = siteRow(loc[static_cast<std::size_t>(r)]).index;
        const std::string site = "site " + std::to_string(r) + ", index " + std::to_string(k);
        if (!check(k >= 2 && k <= li && indexState[static_cast<std::size_t>(k)] == 0, site + " out of range or shared"))
            continue;
        indexState[static_cast<std::size_t>(k)] = 1;
        const auto p = numbers(ind[static_cast<std::size_t>(k)]);
        check(p[0] == k, site + " does not carry its number");
        for (std::size_t slot = 1; slot <= 7; ++slot) {
            const int d = p[slot];
            if (d == 0) continue;
            const std::string data = site + ", data " + std::to_string(d);
            if (!check(d >= 2 && d <= ld && dataState[static_cast<std::size_t>(d)] == 0, data + " out of range or shared"))
                continue;
            dataState[static_cast<std::size_t>(d)] = 1;
            const DataRow row = dataRow(dat[static_cast<std::size_t>(d)]);
            check(row.own == d && row.code == codeOfSlot[slot - 1] - '0', data + " is not the record named");
        }
    }
    const auto walk = [&](const std::vector<std::string>& r, std::vector<int>& state, int last, const std::string& name) {
        for (int at = numbers(r[1], 4)[2], steps = 0; at != last + 1; ++steps) {
            const std::string here = name + " free record " + std::to_string(at);
            if (!check(at >= 2 && at <= last && state[static_cast<std::size_t>(at)] == 0 && steps <= last,
                       here + " out of range, in use or looped"))
                return;
            state[static_cast<std::size_t>(at)] = 2;
            const std::string& rec = r[static_cast<std::size_t>(at)];
            check(rec.substr(5).find_first_not_of('0') == std::string::npos, here + " is not free");
            at = field(rec, 1, 5);
        }
        for (int at = 2; at <= last; ++at)
            check(state[static_cast<std::size_t>(at)] != 0, name + " record " + std::to_string(at) + " neither in use nor free");
    };
    walk(ind, indexState, li, "index");
    walk(dat, dataState, ld, "data");
    return faults;
}

}  // namespace weather_test

#endif
