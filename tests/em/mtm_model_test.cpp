// MTM and its kin through the real engine, in an installation of their own: a scratch
// installation directory that links the built libraries and holds the fixture database in
// data/mtm/. The outputs are held against the fixture's records as the test decodes them.
#include "block_harness.h"
#include "message_capture.h"
#include "run_vireo.h"
#include "weather_reader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

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

vireo_test::RunResult run(const std::string& home, const std::string& model, const std::string& months = "",
                          std::string dir = "") {
    if (dir.empty()) dir = vireo_test::scratchDirectory("mtm-run");
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
    // The two Springfields are listed after the error: the titles and a line for each.
    EXPECT_NE(r.out.find("List of data base\nName              Country Latitude Longitude\n"
                         "SPRINGFIELD            36 -33.00 209.20\nSpringfield           840  39.75  89.75\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(codesOf(r, 5), (std::vector<int>{202129, 205321}));  // at sea; far from every site, yet loaded
    const auto atSea = std::find_if(r.trace.begin(), r.trace.end(), [](const auto& t) { return t.code() == 202129; });
    ASSERT_NE(atSea, r.trace.end());
    EXPECT_EQ((*atSea)["s1"], "MTMLALO");  // the block named, as in every site's check
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

// The site is loaded at initialisation: a search changed during the run is not taken,
// which is said at each change, and the block goes on with the site it loaded.
TEST(MtmBlock, ASearchChangedDuringTheRunIsNotTaken) {
    setenv("VIREO_HOME", installation("mtm-home-change", fixture()).c_str(), 1);
    vireo_test::BlockInstance mtm(vireo_test::library("VireoEM").block("em0018"),
                                  {.inputs = 1, .strings = {"Golden"}});
    int status = -1;
    vireo_test::messagesOf([&] { status = mtm.init(); });
    unsetenv("VIREO_HOME");
    ASSERT_EQ(status, 0);
    const std::vector<float> july = mtm.step({7.0f});
    mtm.changeParameter(0, 10.0f);
    const auto m = vireo_test::messagesOf([&] { mtm.step({7.0f}); });
    ASSERT_EQ(m.codes, std::vector<int>{209005});
    EXPECT_NE(m.records[0]["s0"].find("loaded"), std::string::npos);
    EXPECT_EQ(mtm.IP[0], 209005);
    EXPECT_EQ(mtm.OUT, july);
}

namespace {

// Filling the installation's empty database: every kind of line the file may hold, and
// the faults that pass a site block over.
const char* const kCommands =
    "% Filling an empty weather database\n"
    "COUNTRY = 276\n"  // before the first SITE line: belongs to the first site
    "SITE = Hamburg\n"
    "CONTINENT = 1\n"
    "LATITUDE = 53.55\n"
    "LONGITUDE = -10.0\n"
    "HEIGHT = 11\n"
    "command = modify\n"
    "RADIATION = 20 45 90 130 170 180 175 150 100 60 25 15   % monthly sums\n"
    "TEMPERATURE = 0.5 1 4 8 12.5 16 17.5 17 14 9.5 5 2\n"
    "\n"
    "MAXTEMPERATURE = 3 4 8 13 18 21 22.5 22 18.5 13 7.5 4.5\n"
    "HUMIDITY = 85 80 75\n"
    "SITE: Hannover\n"  // no command: the site alone, its values warned about and not stored
    "CONTINENT: 1\n"
    "COUNTRY: 276\n"
    "LATITUDE: 52.37\n"
    "LONGITUDE: -9.73\n"
    "RADIATION: 1 2 3 4 5 6 7 8 9 10 11 12\n"
    "SITE = Bremen\n"
    "COMMAND = NEW\n"
    "RAINFALL = 5 4 5 4 6 7 8 7 6 6 6 6\n"
    "WINDDIRECTION = 3 3 3\n"  // no keyword: Bremen is passed over
    "SITE = Kiel\n"
    "COMMAND = modify\n"
    "RAIN = 6 4 1,200 4 6 7 8 7 6 6 6 6\n"  // no number: Kiel is passed over
    "SITE = Hamburg\n"
    "COMMAND = list\n"
    "SITE = H*\n"
    "COMMAND = LIST\n"
    "SITE = Nowhere\n"
    "COMMAND = list\n"
    "SITE = Hannover\n"
    "COMMAND = delete\n"  // of no parameter
    "RETURN\n"
    "SITE = Luebeck\n"
    "COMMAND = modify\n";

// The files the command file makes of the empty database, as worked out by hand from the
// records' layout: sites by name, index and data records in the order of their writing,
// data as the fields store them (annual field: ten times the mean of the fields).
const char* const kLoc = "   VERSION 1.3 VIREO MONTHLY WEATHER  00003\r\n"
                         "Hamburg             12763500014355101100002\r\n"
                         "Hannover            12763502714237100000003\r\n";
const char* const kInd = "0000100003000040471100000000000000000000\r\n"
                         "0000200002000000000300000000040000000005\r\n"
                         "0000300000000000000000000000000000000000\r\n";

std::string withCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

}  // namespace

// One run fills the empty database from the whole file; MTM then delivers what was written.
TEST(MtmupInAModel, OneRunAppliesTheWholeFileAndMtmReadsItBack) {
    const std::string home = installation("mtmup-home", emptyDatabase());
    const std::string commands = vireo_test::scratchDirectory("mtmup-commands") + "/commands.txt";
    vireo_test::writeFile(commands, kCommands);
    const auto r = run(home, "b 1 CALENDAR\np 1 2023 1 1 0 3 1\nb 2 MTMUP\np 2 '" + commands + "'\n");
    ASSERT_EQ(r.exitStatus, 1) << r.out;  // the faulty blocks are counted errors
    EXPECT_EQ(codesOf(r, 2), (std::vector<int>{205822, 205823, 302056, 302058, 302035, 302053, 305821}));
    std::vector<std::string> lines;
    for (const auto& t : r.trace)
        if (t.code() == 205822 || t.code() == 205823 || t.code() == 302056 || t.code() == 302058 || t.code() == 305821)
            lines.push_back(t["r0"]);
    EXPECT_EQ(lines, (std::vector<std::string>{"13", "14", "23", "26", "33"}));
    // Every line is echoed; LIST of Hamburg writes what the database holds; H* lists both.
    EXPECT_NE(r.out.find("RAIN = 6 4 1,200 4 6 7 8 7 6 6 6 6\n"), std::string::npos);
    // (F5.0 rounds a half to the even neighbour.)
    EXPECT_NE(r.out.find("Site: Hamburg             , Continent:   1, Country: 276\n"
                         "Latitude:   53.6, Longitude:  350.0, LIST\n"
                         "Radiation:   20.  45.  90. 130. 170. 180. 175. 150. 100.  60.  25.  15.\n"
                         "T (av.):      0.   1.   4.   8.  12.  16.  18.  17.  14.  10.   5.   2.\n"
                         "T (max):      3.   4.   8.  13.  18.  21.  22.  22.  18.  13.   8.   4.\n"
                         "Humidity:    85.  80.  75.   0.   0.   0.   0.   0.   0.   0.   0.   0.\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Hamburg               276  53.55 350.00\nHannover              276  52.37 350.27\n"),
              std::string::npos);
    EXPECT_EQ(r.out.find("Luebeck"), std::string::npos);  // after RETURN: neither read nor echoed

    const Files files = snapshot(home + "/data/mtm/");
    EXPECT_EQ(files.loc, kLoc);
    EXPECT_EQ(files.ind, kInd);
    const auto dat = records(files.dat, 47);
    ASSERT_EQ(dat.size(), 6u);
    EXPECT_EQ(dat[1], "00001000050000604711 VIREO MONTHLY WEATHER DATA");
    EXPECT_EQ(dat[2].substr(0, 46), "00002" "1" "0967" "020045090130170180175150100060025015");
    EXPECT_EQ(dat[3].substr(0, 46), "00003" "2" "5892" "505510540580625660675670640595550520");
    EXPECT_EQ(dat[4].substr(0, 46), "00004" "4" "6292" "530540580630680710725720685630575545");
    EXPECT_EQ(dat[5].substr(0, 46), "00005" "7" "2000" "850800750000000000000000000000000000");

    const auto back = run(home, "b 1 CONST\np 1 1\nb 2 MTM 1.1\np 2 'hamburg'\nb 3 CSVOUT 2.1 2.2 2.3 2.4 2.5 2.6 "
                                "2.7 2.8 2.9\np 3 'out.csv'\nb 4 CALENDAR\np 4 2023 1 1 0 1 1\n");
    ASSERT_EQ(back.exitStatus, 0) << back.out;
    const auto rows = csvRows(back.out);
    ASSERT_EQ(rows.size(), 1u);
    const std::vector<double> january{20, 0, 0.5, 0, 3, 0, 107.0 / 12, 22.5, 0.85};
    ASSERT_EQ(rows[0].size(), january.size());
    for (std::size_t k = 0; k < january.size(); ++k) EXPECT_NEAR(rows[0][k], january[k], 1e-4) << k;
}

// Runs in one process: each reads its file from the first line, and a file with CR LF
// line ends fills the database as its LF twin does.
TEST(MtmupBlock, EachRunReadsItsFileFromTheStartWhateverItsLineEnds) {
    const std::string dir = vireo_test::scratchDirectory("mtmup-block");
    vireo_test::writeFile(dir + "/lf.txt", kCommands);
    vireo_test::writeFile(dir + "/crlf.txt", withCrLf(kCommands));
    const auto runOnce = [&](const std::string& file, const std::string& name) {
        const std::string home = installation(name, emptyDatabase());
        setenv("VIREO_HOME", home.c_str(), 1);
        vireo_test::BlockInstance up(vireo_test::library("VireoEM").block("em0026"), {.strings = {dir + "/" + file}});
        const auto m = vireo_test::messagesOf([&] {
            EXPECT_EQ(up.init(), 0);
            up.step();
            up.last();
        });
        unsetenv("VIREO_HOME");
        EXPECT_EQ(m.codes, (std::vector<int>{205822, 205823, 302056, 302058, 302035, 302053, 305821})) << file;
        return snapshot(home + "/data/mtm/");
    };
    const Files first = runOnce("lf.txt", "mtmup-home-1");
    EXPECT_EQ(first.loc, kLoc);
    EXPECT_EQ(runOnce("crlf.txt", "mtmup-home-2"), first);
    EXPECT_EQ(runOnce("lf.txt", "mtmup-home-3"), first);

    // Without a database the first command of each block says so, and the rest of the
    // block is not tried.
    setenv("VIREO_HOME", installation("mtmup-home-none", "").c_str(), 1);
    vireo_test::BlockInstance lost(vireo_test::library("VireoEM").block("em0026"), {.strings = {dir + "/lf.txt"}});
    const auto none = vireo_test::messagesOf([&] {
        lost.init();
        lost.step();
    });
    unsetenv("VIREO_HOME");
    EXPECT_EQ(none.codes, (std::vector<int>{205822, 302018, 205823, 302018, 302056, 302058, 302018, 302018, 302018, 305821}));

    // A command file that is not there is an error at initialisation, naming it.
    vireo_test::BlockInstance missing(vireo_test::library("VireoEM").block("em0026"), {.strings = {dir + "/none.txt"}});
    const auto m = vireo_test::messagesOf([&] { EXPECT_EQ(missing.init(), 302055); });
    ASSERT_EQ(m.codes, (std::vector<int>{302055}));
}

// A data file cut short is one fault whoever meets it: MTM reading a site and MTMUP
// changing it both say that the file ends before the site's record.
TEST(MtmupBlock, ACutDataFileIsTheSameFaultToReadersAndWriters) {
    const std::string home = installation("mtm-home-cut", fixture());
    fs::resize_file(home + "/data/mtm/vireoWeather.dat", 49);  // the header alone
    const std::string commands = vireo_test::scratchDirectory("mtmup-cut") + "/commands.txt";
    vireo_test::writeFile(commands, "SITE = Golden\nCOMMAND = MODIFY\nRADIATION = 1 2 3 4 5 6 7 8 9 10 11 12\n");
    setenv("VIREO_HOME", home.c_str(), 1);
    vireo_test::BlockInstance mtm(vireo_test::library("VireoEM").block("em0018"), {.inputs = 1, .strings = {"Golden"}});
    vireo_test::BlockInstance up(vireo_test::library("VireoEM").block("em0026"), {.strings = {commands}});
    const auto read = vireo_test::messagesOf([&] { mtm.init(); });
    const auto written = vireo_test::messagesOf([&] {
        up.init();
        up.step();
    });
    unsetenv("VIREO_HOME");
    EXPECT_EQ(read.codes, (std::vector<int>{302001, 305043}));
    ASSERT_EQ(written.codes, (std::vector<int>{302001}));
    for (const char* fill : {"i8", "s0", "s2"}) EXPECT_EQ(written.records[0][fill], read.records[0][fill]) << fill;
}

// Two models update one database at the same time, 120 new sites each: the runs take turns,
// both end without an error, and every site of both is there with its own values.
TEST(MtmupInAModel, TwoRunsAtOnceKeepEverySiteOfBoth) {
    constexpr int kSites = 120;
    const std::string home = installation("mtmup-home-two", emptyDatabase());
    const std::string dir = vireo_test::scratchDirectory("mtmup-two");
    std::map<std::string, std::string> expected;  // name -> the twelve stored monthly fields
    for (const char series : {'A', 'B'}) {
        std::string commands;
        for (int i = 0; i < kSites; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "%c%03d", series, i);
            std::string values, fields;
            for (int m = 0; m < 12; ++m) {
                const int v = (i * 7 + m * 13 + (series - 'A') * 500) % 1000;
                char field[16];
                std::snprintf(field, sizeof field, "%03d", v);
                values += " " + std::to_string(v);
                fields += field;
            }
            commands += std::string("SITE = ") + name + "\nLATITUDE = 10\nLONGITUDE = 20\nCOMMAND = MODIFY\nRADIATION =" +
                        values + "\n";
            expected[name] = fields;
        }
        vireo_test::writeFile(dir + "/" + series + ".txt", commands);
    }
    std::vector<pid_t> runs;
    for (const char series : {'A', 'B'}) {
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            const auto r = run(home, "b 1 CALENDAR\np 1 2023 1 1 0 1 1\nb 2 MTMUP\np 2 '" + dir + "/" + series + ".txt'\n");
            // The run that waits for the other's hold says so (a note), and nothing else.
            auto codes = codesOf(r, 2);
            std::erase(codes, 102073);
            _exit(r.exitStatus == 0 && codes.empty() ? 0 : 1);
        }
        runs.push_back(pid);
    }
    for (const pid_t pid : runs) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    const std::string db = home + "/data/mtm/";
    EXPECT_EQ(faultsOf(db), std::vector<std::string>{});
    const Files files = snapshot(db);
    const auto loc = records(files.loc, 43), ind = records(files.ind, 40), dat = records(files.dat, 47);
    ASSERT_EQ(field(loc[1], 39, 5), 2 * kSites + 1);
    for (int r = 2; r <= 2 * kSites + 1; ++r) {
        const SiteRow site = siteRow(loc[static_cast<std::size_t>(r)]);
        const std::string name = site.name.substr(0, 4);
        const int data = numbers(ind[static_cast<std::size_t>(site.index)])[1];
        EXPECT_EQ(dat[static_cast<std::size_t>(data)].substr(10, 36), expected[name]) << name;
        expected.erase(name);
    }
    EXPECT_TRUE(expected.empty());
}

// No block may write a file that another block of its run reads, of any kind: CSVOUT
// naming one is an error at initialisation that names both blocks (whichever of the two
// is initialised second reports it), the run does not start, and the file is left as it
// was. The model's own files and the libraries the run has loaded are the engine's.
TEST(FilesOfTheRun, NoBlockWritesAFileAnotherBlockReads) {
    struct Case {
        const char* what;
        std::string model;  // block 3 is CSVOUT, naming the file
        std::string file;   // relative to the model's directory, or below the installation ("h/...")
        int reader;         // the block that reads it; 0: the engine
        const char* readerName;
        int code;           // the engine's files: the code CSVOUT gets
        bool relativeHome;  // the installation named relative to the model's directory
    };
    const std::string clock = "b 1 CALENDAR\np 1 2023 1 1 0 2 1\n";
    const std::string writer = "b 3 CSVOUT 1.6\np 3 '";
    const Case cases[] = {
        {"update command file", clock + "b 2 MTMUP\np 2 'cmd.txt'\n", "cmd.txt", 2, "MTMUP", 0, false},
        {"site file", clock + "b 2 MTM 1.2\np 2 'Golden'\n", "h/data/mtm/vireoWeather.loc", 2, "MTM", 0, false},
        {"index file", clock + "b 2 MTMLALO 1.2\np 2 39.7 105.2\n", "h/data/mtm/vireoWeather.ind", 2, "MTMLALO", 0,
         false},
        {"data file", clock + "b 2 MTMUP\np 2 'cmd.txt'\n", "h/data/mtm/vireoWeather.dat", 2, "MTMUP", 0, false},
        {"soil temperatures", clock + "b 2 TSOIL 1.8 1.4\np 2 0 200 1 1500 800 1.5 0 10 18 0 'soil.txt' '*'\n",
         "soil.txt", 2, "TSOIL", 0, false},
        {"CSV input", clock + "b 2 CSVIN\np 2 0 'in.csv'\n", "in.csv", 2, "CSVIN", 0, false},
        {"include file", clock + "i 'parts.inc'\n", "parts.inc", 0, "", 305939, false},
        {"block library", clock, "h/libVireoEM.so", 0, "", 305941, false},
        {"block library, VIREO_HOME relative", clock + "b 2 E0 1.5\np 2 0\n", "h/libVireoEM.so", 0, "", 305941, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string home = installation("files-home", fixture());
        // A copy, not a link to the build's library: a test that fails must not destroy that.
        fs::remove(home + "/libVireoEM.so");
        fs::copy_file(vireo_test::buildDir() + "/lib/libVireoEM.so", home + "/libVireoEM.so");
        const std::string dir = vireo_test::scratchDirectory("files-run");
        const std::string file = c.file.rfind("h/", 0) == 0 ? home + c.file.substr(1) : dir + "/" + c.file;
        const std::string statement = writer + file + "'\n";
        vireo_test::writeFile(dir + "/cmd.txt", "SITE = Newtown\nLATITUDE = 10\nLONGITUDE = 20\nRADIATION = 1 2 3 4 5 6 7 8 9 "
                                                "10 11 12\n");
        vireo_test::writeFile(dir + "/soil.txt", "1 5.5\n");
        vireo_test::writeFile(dir + "/in.csv", "a\n1\n2\n");
        vireo_test::writeFile(dir + "/parts.inc", statement);
        const std::string before = vireo_test::readFile(file);
        const Files database = snapshot(home + "/data/mtm/");
        const auto r = run(c.relativeHome ? fs::relative(home, dir).string() : home,
                           c.model + (c.file == "parts.inc" ? "" : statement), "", dir);
        EXPECT_EQ(r.exitStatus, 1) << r.out;
        const auto codes = r.codes();
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 4051), 0);  // the run did not start
        EXPECT_EQ(vireo_test::readFile(file), before);
        EXPECT_EQ(snapshot(home + "/data/mtm/"), database);
        const auto said = std::find_if(r.trace.begin(), r.trace.end(), [](const auto& t) {
            return t.code() >= 305936 && t.code() <= 305941 && t.code() != 305940;
        });
        if (said == r.trace.end()) {
            ADD_FAILURE() << "nothing refused";
            continue;
        }
        const auto& m = *said;
        EXPECT_EQ(std::count_if(r.trace.begin(), r.trace.end(), [&](const auto& t) { return t.code() == m.code(); }), 1);
        if (c.reader == 0) {
            EXPECT_EQ(m.code(), c.code);
            EXPECT_EQ(m["i3"], "3");
        } else if (m.code() == 305937) {  // CSVOUT second
            EXPECT_EQ(m["i3"], "3");
            EXPECT_EQ(m["i10"], std::to_string(c.reader));
            EXPECT_EQ(m["s2"], c.readerName);
        } else {
            EXPECT_EQ(m.code(), 305938);  // the reader second
            EXPECT_EQ(m["i3"], std::to_string(c.reader));
            EXPECT_EQ(m["i10"], "3");
            EXPECT_EQ(m["s2"], "CSVOUT");
        }
    }
}

// A run behind another's hold of the weather database says once that it waits and for
// which file, and a stop (Ctrl-C, SIGTERM, the editor's stop) ends the wait at once
// instead of when it runs out (after 60 s; the harness gives up after 20).
TEST(MtmInAModel, AWaitForTheDatabaseIsAnnouncedAndEndsAtAStop) {
    const std::string home = installation("mtm-home-held", fixture());
    const std::string site = home + "/data/mtm/vireoWeather.loc";
    // The other run: this process holds the database for an update.
    const int held = ::open(site.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const std::string clock = "b 1 CALENDAR\np 1 2023 1 1 0 2 1\n";
    struct Case {
        std::string model;
        std::string program;  // empty: the real host
        int signal;
        int exitStatus;
    };
    const Case cases[] = {
        {clock + "b 2 MTM 1.2\np 2 'Golden'\n", "", SIGINT, 128 + SIGINT},
        {clock + "b 2 MTMUP\np 2 'cmd.txt'\n", "", SIGTERM, 128 + SIGTERM},
        {clock + "b 2 MTM 1.2\np 2 'Golden'\n", FLAG_HOST, SIGINT, 1},  // the editor's stop: run flag 0
        {clock + "b 2 MTMUP\np 2 'cmd.txt'\n", FLAG_HOST, SIGINT, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model + c.program);
        const std::string dir = vireo_test::scratchDirectory("mtm-held");
        fs::create_directories(dir + "/no-user-blocks");
        vireo_test::writeFile(dir + "/model.vireo", c.model);
        vireo_test::writeFile(dir + "/cmd.txt", "SITE = Newtown\nRADIATION = 1 2 3 4 5 6 7 8 9 10 11 12\n");
        const std::string trace = dir + "/trace.txt";
        vireo_test::RunOptions o;
        o.workingDirectory = dir;
        o.program = c.program;
        o.timeoutSeconds = 20;
        o.env = {{"VIREO_HOME", home}, {"VIREO_USER_BLOCKS", dir + "/no-user-blocks"}, {"VIREO_MSG_TRACE", trace}};
        std::thread stopper;
        o.started = [&](int pid) {
            stopper = std::thread([pid, &trace, &c] {
                // Stops the run once it has said that it waits.
                const auto waits = [&trace] {
                    const std::string t = vireo_test::readFile(trace);
                    return t.rfind("102073\t", 0) == 0 || t.find("\n102073\t") != std::string::npos;
                };
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(15);
                while (!waits() && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                kill(pid, c.signal);
            });
        };
        const auto r = vireo_test::runVireo({"model.vireo"}, o);
        stopper.join();
        EXPECT_EQ(r.exitStatus, c.exitStatus) << r.out << r.err;
        const auto records = vireo_test::readTrace(trace);
        const auto codes = vireo_test::codesOf(records);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 102073), 1);
        for (const int code : {102073, 302073}) {
            const auto said = std::find_if(records.begin(), records.end(), [code](const auto& t) { return t.code() == code; });
            ASSERT_NE(said, records.end()) << code;
            EXPECT_EQ((*said)["s0"], site);
            EXPECT_EQ((*said)["i3"], "2");
        }
        EXPECT_EQ(std::count(codes.begin(), codes.end(), 4051), c.model.find("MTMUP") != std::string::npos ? 1 : 0);
    }
    ::close(held);
}
