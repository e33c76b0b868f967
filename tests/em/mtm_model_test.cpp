// MTM and its kin through the real engine, in an installation of their own: a scratch
// installation directory that links the built libraries and holds the fixture database in
// data/mtm/. The outputs are held against the fixture's records as the test decodes them.
#include "block_harness.h"
#include "message_capture.h"
#include "run_vireo.h"
#include "weather_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace weather_test;
namespace fs = std::filesystem;

namespace {

// An installation directory of the build's libraries, with a database when one is given.
std::string installation(const std::string& name, const std::string& database) {
    const std::string home = vireo_test::scratchDirectory(name);
    for (const auto& e : fs::directory_iterator(vireo_test::buildDir() + "/lib"))
        if (e.path().extension() == ".so") fs::create_symlink(e.path(), home + "/" + e.path().filename().string());
    if (!database.empty()) {
        fs::create_directories(home + "/data");
        fs::copy(database, home + "/data/mtm");
    }
    return home;
}

vireo_test::RunResult run(const std::string& home, const std::string& model, const std::string& months = "") {
    const std::string dir = vireo_test::scratchDirectory("mtm-run");
    fs::create_directories(dir + "/no-user-blocks");
    vireo_test::writeFile(dir + "/model.vireo", model);
    if (!months.empty()) vireo_test::writeFile(dir + "/months.csv", months);
    vireo_test::RunOptions o;
    o.workingDirectory = dir;
    o.env = {{"VIREO_HOME", home}, {"VIREO_USER_BLOCKS", dir + "/no-user-blocks"}};
    auto result = vireo_test::runVireo({"model.vireo"}, o);
    if (fs::exists(dir + "/out.csv")) result.out += "\n#CSV\n" + vireo_test::readFile(dir + "/out.csv");
    return result;
}

// The messages of block n, in order.
std::vector<int> codesOf(const vireo_test::RunResult& r, int block) {
    std::vector<int> codes;
    for (const auto& t : r.trace)
        if (!t.isCall() && t["i3"] == std::to_string(block) && t.code() >= 100000) codes.push_back(t.code());
    return codes;
}

std::vector<std::vector<double>> csvRows(const std::string& out) {
    std::istringstream csv(out.substr(out.find("#CSV\n") + 5));
    std::string line;
    std::getline(csv, line);
    std::vector<std::vector<double>> rows;
    while (std::getline(csv, line)) {
        std::vector<double> row;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');) row.push_back(std::stod(f));
        rows.push_back(row);
    }
    return rows;
}

// The nine outputs of a site for month m (1 to 12), from the fixture as the test reads it.
struct Climate {
    std::array<std::array<double, 12>, 8> months{};  // by code 1 to 7
};
Climate climateOf(const std::string& name) {
    const auto loc = records(vireo_test::readFile(fixture() + "vireoWeather.loc"), 43);
    const auto ind = records(vireo_test::readFile(fixture() + "vireoWeather.ind"), 40);
    const auto dat = records(vireo_test::readFile(fixture() + "vireoWeather.dat"), 47);
    Climate c;
    for (std::size_t r = 2; r < loc.size(); ++r) {
        const SiteRow s = siteRow(loc[r]);
        if (s.name.substr(0, name.size()) != name) continue;
        const auto p = numbers(ind[static_cast<std::size_t>(s.index)]);
        for (std::size_t slot = 1; slot <= 7; ++slot) {
            if (p[slot] == 0) continue;
            const DataRow d = dataRow(dat[static_cast<std::size_t>(p[slot])]);
            for (std::size_t m = 0; m < 12; ++m) c.months[static_cast<std::size_t>(d.code)][m] = monthValue(d.code, d.months[m]);
        }
    }
    return c;
}
std::array<double, 9> outputs(const Climate& c, int month) {
    const auto m = static_cast<std::size_t>(month - 1);
    const auto& v = c.months;
    double annual = 0, lowest = 999, highest = -999;
    for (std::size_t k = 0; k < 12; ++k) {
        annual += v[2][k];
        lowest = std::min(lowest, v[3][k]);
        highest = std::max(highest, v[4][k]);
    }
    return {v[1][m], v[6][m], v[2][m], v[3][m], v[4][m], 10 * v[5][m], annual / 12, highest - lowest, v[7][m] / 100};
}

const char* const kMonths = "month\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n6.4\n11.5\n0\n13\n12.5\n0.9\n";
// The month each row puts out: out of range keeps the last month's values.
constexpr int kMonthOfRow[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 6, 12, 12, 12, 12, 12};

}  // namespace

// By name, by a prefix in lower case, by a window with a negative longitude, by the nearest
// site; the second sign convention's blocks the same with the longitude's sign reversed.
TEST(MtmInAModel, EveryWayToASiteGivesItsMonths) {
    const std::string home = installation("mtm-home", fixture());
    std::string model = "b 10 CALENDAR\np 10 2023 1 1 0 18 1\n"
                        "b 1 CSVIN\np 1 0 'months.csv'\n"
                        "b 2 MTM 1.1\np 2 0 0 0 0 0 0 'Mulhouse'\n"
                        "b 3 MTM 1.1\np 3 'trom*'\n"
                        "b 4 MTM 1.1\np 4 48.0 -9.2 0.3 0.3 0 0\n"
                        "b 5 MTMLALO 1.1\np 5 47.7 350.9\n"
                        "b 6 MTM2 1.1\np 6 48.0 9.2 0.3 0.3 0 0\n"
                        "b 7 MTMLALO2 1.1\np 7 47.7 9.1\n"
                        "b 8 MTM 1.1\np 8 0 0 0 0 840 0 'springfield'\n"
                        // nearest to the Springfield whose name another site shares
                        "b 11 MTMLALO 1.1\np 11 39.7 89.7\n"
                        "b 9 CSVOUT 1.1";
    for (int block : {2, 3, 4, 5, 6, 7, 8, 11})
        for (int out = 1; out <= 9; ++out) model += " " + std::to_string(block) + "." + std::to_string(out);
    model += "\np 9 'out.csv'\n";
    const auto r = run(home, model, kMonths);
    ASSERT_EQ(r.exitStatus, 0) << r.out;

    const Climate mulhouse = climateOf("Mulhouse"), tromso = climateOf("Tromso"), springfield = climateOf("Springfield");
    const Climate* expected[] = {&mulhouse, &tromso,   &mulhouse,    &mulhouse,
                                 &mulhouse, &mulhouse, &springfield, &springfield};
    const auto rows = csvRows(r.out);
    ASSERT_EQ(rows.size(), std::size(kMonthOfRow));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        ASSERT_EQ(rows[row].size(), 73u);
        for (std::size_t b = 0; b < std::size(expected); ++b) {
            const auto want = outputs(*expected[b], kMonthOfRow[row]);
            for (std::size_t k = 0; k < 9; ++k)
                EXPECT_NEAR(rows[row][1 + 9 * b + k], want[k], 1e-4) << "row " << row << " block " << b << " output " << k;
        }
    }
    EXPECT_EQ(rows[11][1 + 5], 55.0);   // Mulhouse's December rain, 5.5
    EXPECT_NEAR(rows[11][1 + 8], 0.73, 1e-6);  // and humidity, 73.0
    // A month out of range: warned at once, counted at the end.
    for (int block : {2, 3, 4, 6, 8}) EXPECT_EQ(codesOf(r, block), (std::vector<int>{205049, 205048})) << block;
    const auto counted = std::find_if(r.trace.begin(), r.trace.end(), [](const auto& t) { return t.code() == 205048; });
    ASSERT_NE(counted, r.trace.end());
    EXPECT_EQ((*counted)["i8"], "4");
}

TEST(MtmInAModel, SitesThatCannotBeChosenAreErrorsAtInitialisation) {
    const std::string home = installation("mtm-home-errors", fixture());
    const auto r = run(home, "b 1 CONST\np 1 6\n"
                             "b 2 MTM 1.1\np 2 'Nowhere'\n"
                             "b 3 MTM 1.1\np 3 48.0 350.8 0.5 0.5 0 0\n"
                             "b 4 MTM 1.1\np 4 'Springfield'\n"
                             "b 5 MTMLALO 1.1\np 5 -45 200\n"
                             "b 6 MTM 1.1\np 6 0 0 0 0 1000 0\n"
                             "b 7 MTM 1.1\np 7 1 1 0 0 0 0 'Mulhouse'\n");
    EXPECT_EQ(r.exitStatus, 1) << r.out;
    EXPECT_EQ(codesOf(r, 2), (std::vector<int>{305040}));
    EXPECT_EQ(codesOf(r, 3), (std::vector<int>{305041}));
    EXPECT_EQ(codesOf(r, 4), (std::vector<int>{305041}));
    EXPECT_EQ(codesOf(r, 5), (std::vector<int>{202129, 205321}));  // at sea; far from every site, yet loaded
    EXPECT_EQ(codesOf(r, 6), (std::vector<int>{305044}));
    EXPECT_EQ(codesOf(r, 7), (std::vector<int>{205039}));
    const auto far = std::find_if(r.trace.begin(), r.trace.end(), [](const auto& t) { return t.code() == 205321; });
    ASSERT_NE(far, r.trace.end());
    EXPECT_EQ((*far)["s0"], "SPRINGFIELD");
}

// Without database files the blocks say that they cannot open them; the installation's
// empty database, read-only as installed, holds no site.
TEST(MtmInAModel, MissingAndEmptyDatabases) {
    const char* model = "b 1 CONST\np 1 6\nb 2 MTM 1.1\np 2 'BERN'\nb 3 MTMLALO 1.1\np 3 46.9 352.5\n";
    const auto missing = run(installation("mtm-home-missing", ""), model);
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(codesOf(missing, 2), (std::vector<int>{305042}));
    EXPECT_EQ(codesOf(missing, 3), (std::vector<int>{302018, 305042}));

    const auto empty = run(vireo_test::buildDir() + "/lib", model);
    EXPECT_EQ(empty.exitStatus, 1);
    EXPECT_EQ(codesOf(empty, 2), (std::vector<int>{305040}));
    EXPECT_EQ(codesOf(empty, 3), (std::vector<int>{305040}));
    EXPECT_EQ(snapshot(vireo_test::buildDir() + "/lib/data/mtm/"), snapshot(emptyDatabase()));
}

// A run that an end-of-run pass takes up again: each last call reports only the months out
// of range since the one before.
TEST(MtmBlock, LastCallsReportOnlyTheMonthsSinceTheLastReport) {
    setenv("VIREO_HOME", installation("mtm-home-block", fixture()).c_str(), 1);
    vireo_test::BlockInstance mtm(vireo_test::library("VireoEM").block("em0018"),
                                  {.inputs = 1, .strings = {"Golden"}});
    const auto m = vireo_test::messagesOf([&] {
        ASSERT_EQ(mtm.init(), 0);
        mtm.step({0.9f});
        mtm.step({12.5f});
        mtm.last();
        mtm.last();
        EXPECT_EQ(mtm.step({7.0f})[2], mtm.RP[24 + 6]);
        mtm.step({-1.0f});
        mtm.last();
    });
    unsetenv("VIREO_HOME");
    EXPECT_EQ(m.codes, (std::vector<int>{205049, 205048, 205048}));
    std::vector<std::string> counts;
    for (const auto& t : m.records)
        if (t.code() == 205048) counts.push_back(t["i8"]);
    EXPECT_EQ(counts, (std::vector<std::string>{"2", "1"}));
}
