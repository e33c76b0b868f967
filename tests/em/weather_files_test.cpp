// The weather database's three files through their owners: every record of the fixture
// as an independent reader decodes it, values stored digit for digit, refused values that
// leave every file as it was, insertion and deletion, the free lists, and failures.
#include "codes.h"
#include "database.h"
#include "weather_reader.h"
#include "../support/file_size_limit.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

using namespace weather_test;
namespace db = vireo::em::weather;
namespace code = vireo::em::weather::code;

namespace {

class WeatherFiles : public ::testing::Test {
protected:
    // The owners keep their files open for the process: every test starts and ends closed.
    void SetUp() override { db::mtmclo(""); }
    void TearDown() override { db::mtmclo(""); }
};

int insert(const std::string& dir, db::Site site, int& record) {
    int count = 0;
    return db::mtlocr(db::mode::write, record, count, site, dir);
}
int insert(const std::string& dir, const db::Site& site) {
    int record = 0;
    return insert(dir, site, record);
}
int removeSite(const std::string& dir, int record) {
    int count = 0;
    db::Site unused;
    return db::mtlocr(db::mode::remove, record, count, unused, dir);
}
int writeData(const std::string& dir, int code, int& record, std::array<float, 12> months) {
    float annual = 0.0f;
    return db::mtmdat(db::mode::write, code, record, annual, months, dir);
}
int releaseData(const std::string& dir, int record) {
    float annual = 0.0f;
    std::array<float, 12> months{};
    return db::mtmdat(db::mode::remove, 1, record, annual, months, dir);
}
int writeIndex(const std::string& dir, int mode, int& record, db::Pointers p) { return db::mtmptr(mode, record, p, dir); }

db::Site site(const std::string& name, float latitude, float longitude, int height = 100, int continent = 1,
              int country = 276) {
    db::Site s;
    s.name = name;
    s.latitude = latitude;
    s.longitude = longitude;
    s.height = height;
    s.continent = continent;
    s.country = country;
    return s;
}

const std::string kEmptyIndexHeader = "0000100001000020471100000000000000000000\r\n";

}  // namespace

TEST_F(WeatherFiles, EveryRecordOfTheFixtureReadsAsTheIndependentReaderDecodesIt) {
    const std::string dir = copyDatabase(fixture(), "weather-read");
    const Files files = snapshot(dir);
    const auto loc = records(files.loc, 43), ind = records(files.ind, 40), dat = records(files.dat, 47);
    const int count = field(loc[1], 39, 5);
    int counted = 0, unusedRecord = 0;
    db::Site unusedSite;
    ASSERT_EQ(db::mtlocr(db::mode::count, unusedRecord, counted, unusedSite, dir), 0);
    EXPECT_EQ(counted, count);
    int dataRecords = 0;
    for (int r = 2; r <= count; ++r) {
        const SiteRow expected = siteRow(loc[static_cast<std::size_t>(r)]);
        db::Site s;
        int record = r, unused = 0;
        ASSERT_EQ(db::mtlocr(db::mode::read, record, unused, s, dir), 0) << r;
        EXPECT_EQ(s.name, expected.name);
        EXPECT_EQ(s.continent, expected.continent);
        EXPECT_EQ(s.country, expected.country);
        EXPECT_NEAR(s.latitude, expected.latitude, 1e-4);
        EXPECT_NEAR(s.longitude, expected.longitude, 1e-4);
        EXPECT_EQ(s.height, expected.height);
        EXPECT_EQ(s.indexRecord, expected.index);

        db::Pointers p{};
        int index = s.indexRecord;
        ASSERT_EQ(db::mtmptr(db::mode::read, index, p, dir), 0) << s.name;
        const auto row = numbers(ind[static_cast<std::size_t>(index)]);
        for (std::size_t slot = 0; slot < 7; ++slot) {
            EXPECT_EQ(p[slot], row[slot + 1]);
            if (p[slot] == 0) continue;
            ++dataRecords;
            const DataRow d = dataRow(dat[static_cast<std::size_t>(p[slot])]);
            EXPECT_EQ(d.code, db::kCodeOfSlot[slot]);
            float annual = 0.0f;
            std::array<float, 12> months{};
            int record = p[slot];
            ASSERT_EQ(db::mtmdat(db::mode::read, d.code, record, annual, months, dir), 0) << s.name << slot;
            for (std::size_t m = 0; m < 12; ++m) EXPECT_NEAR(months[m], monthValue(d.code, d.months[m]), 1e-4);
            EXPECT_NEAR(annual, annualValue(d.code, d.annual), 1e-4);
        }
    }
    EXPECT_EQ(dataRecords + 2, static_cast<int>(dat.size()) - 1);  // the header and one free record
    EXPECT_EQ(snapshot(dir), files);
}

// The installation's empty database: headers only, and the first site goes into record 2
// (the header is never compared with, nor moved); further sites take their places by name.
TEST_F(WeatherFiles, InsertionFillsTheEmptyDatabaseByteForByte) {
    const std::string dir = copyDatabase(emptyDatabase(), "weather-insert");
    int record = 0;
    ASSERT_EQ(insert(dir, site("Middle", -90.0f, -10.0f, -1000), record), 0);
    EXPECT_EQ(record, 2);
    EXPECT_EQ(snapshot(dir).loc, "   VERSION 1.3 VIREO MONTHLY WEATHER  00002\r\n"
                                 "Middle              12763500000000000000002\r\n");
    EXPECT_EQ(snapshot(dir).ind, "0000100002000030471100000000000000000000\r\n"
                                 "0000200000000000000000000000000000000000\r\n");
    // First, last, and before an equal name (compared upper-cased).
    ASSERT_EQ(insert(dir, site("alpha", 90.0f, 359.996f, 8999, 9, 999), record), 0);
    EXPECT_EQ(record, 2);
    ASSERT_EQ(insert(dir, site("zulu", 0.0f, 360.0f), record), 0);
    EXPECT_EQ(record, 4);
    ASSERT_EQ(insert(dir, site("ALPHA", 0.01f, 7.4f), record), 0);
    EXPECT_EQ(record, 2);
    EXPECT_EQ(snapshot(dir).loc, "   VERSION 1.3 VIREO MONTHLY WEATHER  00005\r\n"
                                 "ALPHA               12760074009001110000005\r\n"
                                 "alpha               99990000018000999900003\r\n"
                                 "Middle              12763500000000000000002\r\n"
                                 "zulu                12760000009000110000004\r\n");
    EXPECT_EQ(records(snapshot(dir).ind, 40)[1], "0000100005000060471100000000000000000000");
    EXPECT_EQ(snapshot(dir).dat, vireo_test::readFile(emptyDatabase() + "vireoWeather.dat"));

    // A name that sorts before the header's text still goes after the header.
    const std::string other = copyDatabase(emptyDatabase(), "weather-insert-blanks");
    db::mtmclo("");
    ASSERT_EQ(insert(other, site("   Aside", 0.0f, 0.0f), record), 0);
    EXPECT_EQ(record, 2);
    EXPECT_EQ(records(snapshot(other).loc, 43)[1], "   VERSION 1.3 VIREO MONTHLY WEATHER  00002");
}

TEST_F(WeatherFiles, MonthlyValuesAreStoredInTheirFieldsWithTheAnnualMean) {
    const std::string dir = copyDatabase(emptyDatabase(), "weather-data");
    int record = 0;
    ASSERT_EQ(writeData(dir, 2, record, {-12.3f, 0.0f, 49.9f, -50.0f, 0.04f, 0.06f, 1, 2, 3, 4, 5, 6}), 0);
    EXPECT_EQ(record, 2);
    // 3 of radiation: ten times the mean is 2.5, stored as 3 (halves away from zero).
    ASSERT_EQ(writeData(dir, 1, record = 0, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(record, 3);
    ASSERT_EQ(writeData(dir, 5, record = 0, {5.5f, 99.9f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.06f}), 0);
    // Temperatures: the sum of the fields 6087 makes the annual field 5072.5, stored as 5073.
    EXPECT_EQ(snapshot(dir).dat, "00001000040000504711 VIREO MONTHLY WEATHER DATA\r\n"
                                 "00002250733775009990005005015105205305405505600\r\n"
                                 "00003100030030000000000000000000000000000000000\r\n"
                                 "00004508790559990000000000000000000000000000010\r\n");
    float annual = 0.0f;
    std::array<float, 12> months{};
    ASSERT_EQ(db::mtmdat(db::mode::read, 2, record = 2, annual, months, dir), 0);
    EXPECT_NEAR(months[0], -12.3f, 1e-5);
    EXPECT_NEAR(months[3], -50.0f, 1e-5);
    EXPECT_NEAR(annual, 5073 / 100.0 - 50.0, 1e-4);
    // Overwriting keeps the record; a record not in use is not written over.
    ASSERT_EQ(writeData(dir, 1, record = 3, {999, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(records(snapshot(dir).dat, 47)[3], "00003108339990000000000000000000000000000000000");
    const Files before = snapshot(dir);
    // Nor is one of another parameter: that parameter's values would be lost.
    EXPECT_EQ(writeData(dir, 2, record = 3, {}), code::dataCode.number);
    // Beyond the end of the file it is the fault every reader of the record meets.
    EXPECT_EQ(writeData(dir, 1, record = 5, {}), code::dataRead.number);
    EXPECT_EQ(db::lastFault().reason, "the file ends before it");
    EXPECT_EQ(writeData(dir, 1, record = 1, {}), code::recordNotInUse.number);
    EXPECT_EQ(snapshot(dir), before);
}

// A value its field cannot hold would be written as asterisks and make the record
// unreadable; a bad site record would break every binary search. Each is refused, and all
// three files stay as they were.
TEST_F(WeatherFiles, RefusedValuesLeaveAllThreeFilesUnchanged) {
    const std::string dir = copyDatabase(fixture(), "weather-refused");
    const Files before = snapshot(dir);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const struct {
        db::Site site;
        int code;
    } sites[] = {
        {site("Pole", 90.01f, 0.0f), code::siteLatitude.number},
        {site("Pole", nan, 0.0f), code::siteLatitude.number},
        {site("Nowhere", 0.0f, nan), code::siteLongitude.number},
        {site("Nowhere", 0.0f, inf), code::siteLongitude.number},
        {site("Deep", 0.0f, 0.0f, -1001), code::siteHeight.number},
        {site("High", 0.0f, 0.0f, 9000), code::siteHeight.number},
        {site("Atlantis", 0.0f, 0.0f, 0, 10), code::siteContinent.number},
        {site("Atlantis", 0.0f, 0.0f, 0, -1), code::siteContinent.number},
        {site("Atlantis", 0.0f, 0.0f, 0, 1, 1000), code::siteCountry.number},
        {site("Tab\there", 0.0f, 0.0f), code::siteName.number},
        {site("", 0.0f, 0.0f), code::siteName.number},
        {site("Twenty-one characters", 0.0f, 0.0f), code::siteName.number},
    };
    for (const auto& s : sites) EXPECT_EQ(insert(dir, s.site), s.code) << s.site.name;
    const struct {
        int code;
        std::array<float, 12> months;
        int expected;
    } data[] = {
        {1, {1000}, code::dataValue.number},      {1, {-0.6f}, code::dataValue.number},
        {2, {50.0f}, code::dataValue.number},     {3, {-50.1f}, code::dataValue.number},
        {5, {-0.1f}, code::dataValue.number},     {7, {99.96f}, code::dataValue.number},
        {6, {0, nan}, code::dataValue.number},    {8, {}, code::dataBadCode.number},
        {0, {}, code::dataBadCode.number},
    };
    for (const auto& d : data) {
        int record = 0;
        EXPECT_EQ(writeData(dir, d.code, record, d.months), d.expected) << d.code << " " << d.months[0];
    }
    int record = 0;
    EXPECT_EQ(writeIndex(dir, db::mode::write, record, {100000}), code::recordNotInUse.number);
    EXPECT_EQ(writeIndex(dir, db::mode::write, record = 0, {0, -1}), code::recordNotInUse.number);
    EXPECT_EQ(writeIndex(dir, db::mode::write, record = 7, {2}), code::recordNotInUse.number);  // a free record
    // Releases: a free record again (two sites would share it), the header, beyond the last.
    EXPECT_EQ(writeIndex(dir, db::mode::remove, record = 7, {}), code::releaseNotInUse.number);
    EXPECT_EQ(writeIndex(dir, db::mode::remove, record = 1, {}), code::indexFreeOutside.number);
    EXPECT_EQ(writeIndex(dir, db::mode::remove, record = 16, {}), code::indexFreeOutside.number);
    EXPECT_EQ(releaseData(dir, 20), code::releaseNotInUse.number);
    EXPECT_EQ(releaseData(dir, 1), code::recordNotInUse.number);
    EXPECT_EQ(releaseData(dir, 87), code::recordNotInUse.number);
    EXPECT_EQ(removeSite(dir, 1), code::recordNotInUse.number);
    EXPECT_EQ(removeSite(dir, 15), code::recordNotInUse.number);
    EXPECT_EQ(snapshot(dir), before);
}

TEST_F(WeatherFiles, DeletionMovesTheLaterSitesUpAndKeepsTheLength) {
    const std::string dir = copyDatabase(fixture(), "weather-delete");
    const auto before = records(snapshot(dir).loc, 43);
    ASSERT_EQ(removeSite(dir, 3), 0);  // BERLIN
    auto after = records(snapshot(dir).loc, 43);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[1].substr(38), "00013");
    EXPECT_EQ(after[1].substr(0, 38), before[1].substr(0, 38));
    EXPECT_EQ(after[2], before[2]);
    for (std::size_t r = 3; r + 1 < before.size(); ++r) EXPECT_EQ(after[r], before[r + 1]) << r;
    EXPECT_EQ(after.back(), "ZZZZZZZZZZZZZZZZZZZZ00000000000000000000000");
    // The last site: the filler takes its place, and then the one after it.
    ASSERT_EQ(removeSite(dir, 13), 0);
    after = records(snapshot(dir).loc, 43);
    EXPECT_EQ(after[13], after[14]);
    EXPECT_EQ(after[1].substr(38), "00012");
    db::Site s;
    int record = 12, unused = 0;
    ASSERT_EQ(db::mtlocr(db::mode::read, record, unused, s, dir), 0);  // the file was opened again
    EXPECT_EQ(s.name.substr(0, 6), "Tavira");
}

// Allocation takes the head of the free list and follows its link; with the list empty it
// appends, raising both the last record and the head; a release puts the record back first
// (free record before header), so the next allocation returns it.
TEST_F(WeatherFiles, FreeListsHandRecordsOutAndTakeThemBack) {
    const std::string dir = copyDatabase(fixture(), "weather-free");
    int record = 0;
    ASSERT_EQ(writeData(dir, 1, record, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 0);
    EXPECT_EQ(record, 20);
    EXPECT_EQ(numbers(records(snapshot(dir).dat, 47)[1], 4), (std::array<int, 8>{1, 86, 87, 4711}));
    ASSERT_EQ(writeData(dir, 1, record = 0, {}), 0);
    EXPECT_EQ(record, 87);
    const std::string grown = records(snapshot(dir).dat, 47)[1];
    EXPECT_EQ(grown, "00001000870008804711 FIXTURE OF THE TESTS      ");
    ASSERT_EQ(releaseData(dir, 87), 0);
    EXPECT_EQ(records(snapshot(dir).dat, 47)[1], "00001000870008704711000000000000000000000000000");
    EXPECT_EQ(records(snapshot(dir).dat, 47)[87], "00088" + std::string(42, '0'));
    ASSERT_EQ(writeData(dir, 1, record = 0, {}), 0);
    EXPECT_EQ(record, 87);

    ASSERT_EQ(writeIndex(dir, db::mode::write, record = 0, {20, 87}), 0);
    EXPECT_EQ(record, 7);
    EXPECT_EQ(records(snapshot(dir).ind, 40)[7], "0000700020000870000000000000000000000000");
    ASSERT_EQ(writeIndex(dir, db::mode::write, record = 0, {}), 0);
    EXPECT_EQ(record, 16);
    EXPECT_EQ(records(snapshot(dir).ind, 40)[1], "0000100016000170471100000000000000000000");
    ASSERT_EQ(writeIndex(dir, db::mode::remove, record = 16, {}), 0);  // all pointers 0: released
    EXPECT_EQ(records(snapshot(dir).ind, 40)[16], "00017" + std::string(35, '0'));
    ASSERT_EQ(writeIndex(dir, db::mode::remove, record = 7, {0, 0, 0, 5}), 0);  // rewritten
    EXPECT_EQ(records(snapshot(dir).ind, 40)[7], "0000700000000000000000005000000000000000");
    int again = 0;
    ASSERT_EQ(db::nextIndexRecord(dir, again), 0);
    EXPECT_EQ(again, 16);
}

TEST_F(WeatherFiles, DamagedFreeListsAreRefusedBeforeAnythingIsWritten) {
    const std::string dir = copyDatabase(fixture(), "weather-damaged");
    // The index head names a record in use; the data list's free record links outside the file.
    std::string ind = vireo_test::readFile(dir + "vireoWeather.ind");
    ind.replace(10, 5, "00003");
    vireo_test::writeFile(dir + "vireoWeather.ind", ind);
    std::string dat = vireo_test::readFile(dir + "vireoWeather.dat");
    dat.replace(19 * 49, 5, "00099");
    vireo_test::writeFile(dir + "vireoWeather.dat", dat);
    const Files before = snapshot(dir);
    int record = 0;
    EXPECT_EQ(writeIndex(dir, db::mode::write, record, {}), code::freeListDamaged.number);
    EXPECT_EQ(writeData(dir, 1, record = 0, {}), code::freeListDamaged.number);
    EXPECT_EQ(insert(dir, site("Nowhere", 0.0f, 0.0f)), code::freeListDamaged.number);
    EXPECT_EQ(snapshot(dir), before);
    EXPECT_EQ(db::lastFault().record, 3);
}

using vireo_test::FileSizeLimit;

// The new site file is written whole beside the old one before it replaces it: a write
// that fails part-way leaves every file as it was and no temporary file behind.
TEST_F(WeatherFiles, AWriteFailureMidwayLeavesTheOldFiles) {
    const std::string dir = copyDatabase(fixture(), "weather-full");
    const Files before = snapshot(dir);
    ASSERT_EQ(before.loc.size(), 630u);  // the insertion writes 675 bytes, the deletion 630
    {
        const FileSizeLimit limit(650);
        EXPECT_EQ(insert(dir, site("Aachen", 50.78f, 353.92f)), code::siteInsert.number);
        EXPECT_EQ(db::lastFault().reason, std::strerror(EFBIG));
    }
    {
        const FileSizeLimit limit(600);
        EXPECT_EQ(removeSite(dir, 2), code::siteDelete.number);
    }
    EXPECT_EQ(snapshot(dir), before);
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) entries += e.is_regular_file();
    EXPECT_EQ(entries, 3);
    // Without the limit the same insertion succeeds, with the index record it reserved.
    int record = 0;
    ASSERT_EQ(insert(dir, site("Aachen", 50.78f, 353.92f), record), 0);
    EXPECT_EQ(record, 2);
    EXPECT_EQ(siteRow(records(snapshot(dir).loc, 43)[2]).index, 7);

    // A data record appended on a full disk is cut off again: no part of it stays at the
    // end of the file, and the header still counts the records there are.
    ASSERT_EQ(writeData(dir, 1, record = 0, {}), 0);  // the last free record; the next is appended
    const Files full = snapshot(dir);
    {
        const FileSizeLimit limit(full.dat.size() + 20);
        EXPECT_EQ(writeData(dir, 1, record = 0, {}), code::dataNewWrite.number);
    }
    EXPECT_EQ(snapshot(dir), full);
}

namespace {

// The access mode of the process's open descriptor of a file: O_RDONLY or O_RDWR.
int openMode(const std::string& path) {
    const std::string real = std::filesystem::canonical(path);
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(e.path(), ec) != real) continue;
        std::ifstream info("/proc/self/fdinfo/" + e.path().filename().string());
        for (std::string key; info >> key;) {
            if (key == "flags:") {
                std::string octal;
                info >> octal;
                return static_cast<int>(std::stol(octal, nullptr, 8)) & O_ACCMODE;
            }
        }
    }
    return -1;
}

}  // namespace

// A file counts as open only after a successful open and check; a failed open is tried
// again at the next call. Searches open the files for reading alone.
TEST_F(WeatherFiles, OpeningChecksHeadersAndFailuresAreTriedAgain) {
    const std::string dir = vireo_test::scratchDirectory("weather-open") + "/";
    db::Search q;
    q.name = "BERN";
    std::array<float, db::kMonthArray> months{};
    EXPECT_EQ(db::mtmget(q, months, dir), code::cannotOpen.number);
    EXPECT_EQ(db::lastFault().file, dir + "vireoWeather.loc");
    for (const char* f : {"vireoWeather.loc", "vireoWeather.ind", "vireoWeather.dat"})
        std::filesystem::copy_file(fixture() + f, dir + f);
    ASSERT_EQ(db::mtmget(q, months, dir), 0);
    EXPECT_EQ(openMode(dir + "vireoWeather.loc"), O_RDONLY);
    EXPECT_EQ(openMode(dir + "vireoWeather.dat"), O_RDONLY);
    EXPECT_EQ(insert(dir, site("Aachen", 50.78f, 353.92f)), 0);
    EXPECT_EQ(openMode(dir + "vireoWeather.loc"), O_RDWR);
    db::mtmclo(dir);

    const auto damage = [&](const char* file, std::size_t at, const std::string& text) {
        db::mtmclo(dir);
        std::string bytes = vireo_test::readFile(fixture() + file);
        bytes.replace(at, text.size(), text);
        vireo_test::writeFile(dir + file, bytes);
    };
    damage("vireoWeather.loc", 0, "   version 1.3");  // any case
    EXPECT_EQ(db::mtmget(q, months, dir), 0);
    damage("vireoWeather.loc", 0, "   VERSION 1.4");
    EXPECT_EQ(db::mtmget(q, months, dir), code::siteNotDatabase.number);
    damage("vireoWeather.loc", 43, "\n");
    EXPECT_EQ(db::mtmget(q, months, dir), code::siteRead.number);
    damage("vireoWeather.loc", 0, "   VERSION 1.3");
    damage("vireoWeather.ind", 15, "04712");
    EXPECT_EQ(db::mtmget(q, months, dir), code::indexNotDatabase.number);
    damage("vireoWeather.ind", 15, "04711");
    damage("vireoWeather.dat", 15, "00000");
    EXPECT_EQ(db::mtmget(q, months, dir), code::dataNotDatabase.number);
    damage("vireoWeather.dat", 15, "04711");
    EXPECT_EQ(db::mtmget(q, months, dir), 0);
}

// A data record that does not hold what its index promises is refused; of several faults
// the last in the order own number, annual value, code is named.
TEST_F(WeatherFiles, InconsistentDataRecordsAreRefused) {
    const std::string dir = copyDatabase(fixture(), "weather-consistency");
    float annual = 0.0f;
    std::array<float, 12> months{};
    int record = 2;
    EXPECT_EQ(db::mtmdat(db::mode::read, 2, record, annual, months, dir), code::dataCode.number);
    std::string dat = vireo_test::readFile(dir + "vireoWeather.dat");
    dat.replace(49 + 6, 4, "9999");  // the annual field of record 2
    vireo_test::writeFile(dir + "vireoWeather.dat", dat);
    EXPECT_EQ(db::mtmdat(db::mode::read, 1, record = 2, annual, months, dir), code::dataAnnual.number);
    EXPECT_EQ(db::mtmdat(db::mode::read, 2, record = 2, annual, months, dir), code::dataCode.number);
    dat.replace(3 * 49, 5, "00099");  // the own number of record 4, a mean temperature
    vireo_test::writeFile(dir + "vireoWeather.dat", dat);
    EXPECT_EQ(db::mtmdat(db::mode::read, 2, record = 4, annual, months, dir), code::dataOwnNumber.number);
    EXPECT_EQ(db::mtmdat(db::mode::read, 1, record = 20, annual, months, dir), code::dataCode.number);  // free
    db::Pointers p{};
    EXPECT_EQ(db::mtmptr(db::mode::read, record = 7, p, dir), code::indexOwnNumber.number);
}
