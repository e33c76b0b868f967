// Maintaining the fixture database one command at a time, each outcome held against the
// files as the test's own reader decodes them; a failure between the writes of a deletion;
// the listing of the sites of a country, byte for byte.
#include "codes.h"
#include "database.h"
#include "message_capture.h"
#include "weather_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace weather_test;
namespace db = vireo::em::weather;
namespace code = vireo::em::weather::code;
namespace cmd = vireo::em::weather::command;

namespace {

class WeatherMaintenance : public ::testing::Test {
protected:
    void SetUp() override {
        db::mtmclo("");
        dir = copyDatabase(fixture(), "weather-maintenance");
    }
    void TearDown() override { db::mtmclo(""); }

    int mod(const std::string& name, int command, int code, std::array<float, 12> months = {}, int country = 276,
            int continent = 1) {
        db::Search q;
        q.name = name;
        q.continent = continent;
        q.country = country;
        q.latitude = 53.55f;
        q.longitude = -10.0f;  // raised into 0 to 360
        const int status = db::mtmmod(q, 10, command, code, months, dir);
        db::mtmclo(dir);
        return status;
    }

    // The site's row of the site file, its pointers by slot, and the data records they name.
    struct Held {
        bool found = false;
        SiteRow row{};
        std::array<int, 8> pointers{};
    };
    Held held(const std::string& name) const {
        const Files f = snapshot(dir);
        const auto loc = sites(f.loc);
        const auto ind = records(f.ind, 40);
        for (std::size_t r = 2; r < loc.size(); ++r) {
            const SiteRow s = siteRow(loc[r]);
            if (db::stripped(s.name) != name) continue;
            return {true, s, numbers(ind[static_cast<std::size_t>(s.index)])};
        }
        return {};
    }
    DataRow data(int record) const { return dataRow(records(snapshot(dir).dat, 47)[static_cast<std::size_t>(record)]); }
    // The site file's records up to the header's count: the filler records a deletion
    // leaves behind it are no sites.
    static std::vector<std::string> sites(const std::string& loc) {
        auto r = records(loc, 43);
        r.resize(std::min(r.size(), static_cast<std::size_t>(field(r[1], 39, 5)) + 1));
        return r;
    }
    int siteCount() const { return static_cast<int>(sites(snapshot(dir).loc).size()) - 2; }

    // Every site's index record is in use, and every pointer of it names a data record in
    // use holding that slot's code: nothing points at a released record.
    void expectNoDanglingPointer() const {
        const Files f = snapshot(dir);
        const auto loc = sites(f.loc), ind = records(f.ind, 40), dat = records(f.dat, 47);
        for (std::size_t r = 2; r < loc.size(); ++r) {
            const SiteRow s = siteRow(loc[r]);
            const auto p = numbers(ind[static_cast<std::size_t>(s.index)]);
            EXPECT_EQ(p[0], s.index) << s.name;
            for (std::size_t slot = 1; slot <= 7; ++slot) {
                if (p[slot] == 0) continue;
                const DataRow d = dataRow(dat[static_cast<std::size_t>(p[slot])]);
                EXPECT_EQ(d.own, p[slot]) << s.name << " slot " << slot;
                EXPECT_EQ(d.code, db::kCodeOfSlot[slot - 1]) << s.name << " slot " << slot;
            }
        }
    }

    std::string dir;
};

constexpr std::array<float, 12> kRadiation{20, 45, 90, 130, 170, 180, 175, 150, 100, 60, 25, 15};
constexpr std::array<float, 12> kMean{0.5f, 1, 4, 8, 12.5f, 16, 17.5f, 17, 14, 9.5f, 5, 2};

}  // namespace

TEST_F(WeatherMaintenance, EveryCellOfTheCommandTable) {
    const int count = siteCount();
    // MODIFY of a new site: inserted by name, between GUARDA and MULHOUSE, with its records.
    ASSERT_EQ(mod("Hamburg", cmd::modify, 1, kRadiation), 0);
    const Held h = held("Hamburg");
    ASSERT_TRUE(h.found);
    EXPECT_EQ(siteCount(), count + 1);
    EXPECT_EQ(records(snapshot(dir).loc, 43)[8].substr(0, 20), "Hamburg             ");
    EXPECT_EQ(h.row.country, 276);
    EXPECT_NEAR(h.row.latitude, 53.55, 1e-9);
    EXPECT_NEAR(h.row.longitude, 350.0, 1e-9);
    EXPECT_EQ(h.row.height, 10);
    const int radiation = h.pointers[1];
    ASSERT_NE(radiation, 0);
    for (std::size_t slot = 2; slot <= 7; ++slot) EXPECT_EQ(h.pointers[slot], 0);
    for (std::size_t m = 0; m < 12; ++m) EXPECT_EQ(monthValue(1, data(radiation).months[m]), kRadiation[m]);

    // NEW of a parameter held: refused, nothing written; of one missing: added.
    Files before = snapshot(dir);
    EXPECT_EQ(mod("Hamburg", cmd::add, 1, kMean), code::newPresent.number);
    EXPECT_EQ(snapshot(dir), before);
    ASSERT_EQ(mod("Hamburg", cmd::add, 2, kMean), 0);
    const int mean = held("Hamburg").pointers[3];
    ASSERT_NE(mean, 0);
    for (std::size_t m = 0; m < 12; ++m) EXPECT_NEAR(monthValue(2, data(mean).months[m]), kMean[m], 1e-9);

    // MODIFY of a parameter held overwrites its record in place.
    std::array<float, 12> warmer = kMean;
    warmer[6] = 21.5f;
    ASSERT_EQ(mod("Hamburg", cmd::modify, 2, warmer), 0);
    EXPECT_EQ(held("Hamburg").pointers[3], mean);
    EXPECT_NEAR(monthValue(2, data(mean).months[6]), 21.5, 1e-9);

    // CHECK and the DELETEs that find nothing write nothing.
    before = snapshot(dir);
    EXPECT_EQ(mod("Hamburg", cmd::check, 2), code::checkPresent.number);
    EXPECT_EQ(mod("Hamburg", cmd::check, 7), code::checkNoParameter.number);
    EXPECT_EQ(mod("Nowhere", cmd::check, 1), code::checkNoSite.number);
    EXPECT_EQ(mod("Hamburg", cmd::remove, 7), code::deleteNoParameter.number);
    EXPECT_EQ(mod("Nowhere", cmd::remove, 1), code::deleteNoSite.number);
    // Two sites answer to this name (names compare upper-cased).
    EXPECT_EQ(mod("Springfield", cmd::modify, 1, kRadiation, 0, 0), code::ambiguous.number);
    EXPECT_EQ(snapshot(dir), before);

    // DELETE of one of two: the site stays, its slot is cleared, the record is free.
    ASSERT_EQ(mod("Hamburg", cmd::remove, 1), 0);
    EXPECT_EQ(held("Hamburg").pointers[1], 0);
    EXPECT_EQ(held("Hamburg").pointers[3], mean);
    EXPECT_NE(data(radiation).own, radiation);
    // DELETE of the last: the site goes and the site file's sites are as they were.
    ASSERT_EQ(mod("Hamburg", cmd::remove, 2), 0);
    EXPECT_FALSE(held("Hamburg").found);
    EXPECT_EQ(siteCount(), count);
    const std::string original = snapshot(fixture()).loc;
    EXPECT_EQ(snapshot(dir).loc.substr(0, original.size()), original);
    EXPECT_NE(data(mean).own, mean);
    expectNoDanglingPointer();

    // No command: the site is added without data, and only once.
    ASSERT_EQ(mod("Kiel", cmd::none, 0), 0);
    ASSERT_EQ(mod("Kiel", cmd::none, 0), 0);
    EXPECT_EQ(siteCount(), count + 1);
    EXPECT_EQ(held("Kiel").pointers, (std::array<int, 8>{held("Kiel").row.index}));
}

// The data file fails when the record is to be released: the pointers are gone already,
// so the record is lost to the free list but no site can reach a record another receives.
TEST_F(WeatherMaintenance, AFailedDeletionLeavesNoPointerToAReleasedRecord) {
    ASSERT_EQ(mod("Hamburg", cmd::modify, 1, kRadiation), 0);
    ASSERT_EQ(mod("Hamburg", cmd::modify, 2, kMean), 0);
    ASSERT_EQ(mod("Kiel", cmd::modify, 7, kMean), 0);
    const std::string path = dir + "vireoWeather.dat";
    const std::string good = vireo_test::readFile(path);
    std::string broken = good;
    broken.replace(0, 5, "xxxxx");

    for (const auto& [name, code] : {std::pair<std::string, int>{"Hamburg", 1}, {"Kiel", 7}}) {
        const int count = siteCount();
        vireo_test::writeFile(path, broken);
        EXPECT_NE(mod(name, cmd::remove, code), 0) << name;
        const std::string now = vireo_test::readFile(path);
        vireo_test::writeFile(path, good.substr(0, 5) + now.substr(5));
        expectNoDanglingPointer();
        if (name == "Hamburg") {
            EXPECT_EQ(held(name).pointers[1], 0);  // the one of two: the index record was rewritten
            EXPECT_NE(held(name).pointers[3], 0);
        } else {
            EXPECT_EQ(siteCount(), count - 1);  // the last: the site was removed
        }
    }
}

// By country: the two title lines, then the country's sites in the order of the site file.
TEST_F(WeatherMaintenance, AListingByCountryWritesOneLinePerSite) {
    db::Search q;
    q.country = 250;
    int flow = 0;
    int status = 0;
    const auto listed = vireo_test::messagesOf([&] { status = db::mtmlst(q, dir, flow); });
    EXPECT_EQ(status, db::kNotFound);
    EXPECT_EQ(listed.out, "List of data base\n"
                          "Name              Country Latitude Longitude\n"
                          "Edge Town             250  48.50 351.30\n"
                          "Mulhouse              250  47.75 350.80\n"
                          "SAINT-MARTIN-DE-CRAU  250  43.64 355.19\n");
    EXPECT_EQ(vireo_test::callsOf(listed.records, "os0ltxt").size(), 5u);

    // The host's stop ends it after the titles.
    flow = 2;
    const auto stopped = vireo_test::messagesOf([&] { status = db::mtmlst(q, dir, flow); });
    EXPECT_EQ(stopped.out, "List of data base\nName              Country Latitude Longitude\n");
    db::mtmclo(dir);
}
