// Finding sites in the fixture database: by name (exact, prefix, upper-cased), by
// country, continent and window, going on from the last site found; the month array of
// the site found; the nearest sites and their distances.
#include "codes.h"
#include "database.h"
#include "message_capture.h"
#include "weather_reader.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace weather_test;
namespace db = vireo::em::weather;
namespace code = vireo::em::weather::code;

namespace {

class WeatherSearch : public ::testing::Test {
protected:
    void SetUp() override {
        db::mtmclo("");
        dir = copyDatabase(fixture(), "weather-search");
    }
    void TearDown() override { db::mtmclo(""); }

    // The names a search finds, one call after the other, until it finds no more.
    std::vector<std::string> found(int mode, const db::Search& q) {
        std::vector<std::string> names;
        int record = 0, status = 0;
        for (int guard = 0; guard < 20 && (status = db::mtloc(mode, q, record, site, dir)) == 0; ++guard)
            names.emplace_back(db::stripped(site.name));
        EXPECT_EQ(status, db::kNotFound);
        return names;
    }
    int get(db::Search q) { return db::mtmget(q, months, dir); }
    std::string gotName() const { return name(months[db::kLatitudeAt], months[db::kLongitudeAt]); }
    // The fixture's site at a position.
    std::string name(float latitude, float longitude) const {
        const auto loc = records(vireo_test::readFile(dir + "vireoWeather.loc"), 43);
        for (std::size_t r = 2; r < loc.size(); ++r) {
            const SiteRow s = siteRow(loc[r]);
            if (std::fabs(s.latitude - latitude) < 1e-3 && std::fabs(s.longitude - longitude) < 1e-3)
                return std::string(db::stripped(s.name));
        }
        return "?";
    }

    std::string dir;
    db::Site site;
    std::array<float, db::kMonthArray> months{};
};

db::Search named(const std::string& name, int country = 0, int continent = 0) {
    db::Search q;
    q.name = name;
    q.country = country;
    q.continent = continent;
    return q;
}
db::Search window(float latitude, float longitude, float dLatitude, float dLongitude) {
    db::Search q;
    q.latitude = latitude;
    q.longitude = longitude;
    q.deltaLatitude = dLatitude;
    q.deltaLongitude = dLongitude;
    return q;
}

}  // namespace

TEST_F(WeatherSearch, NamesCompareUpperCasedWholeOrAsPrefix) {
    for (const char* name : {"Mulhouse", "MULHOUSE", "mulhouse", "mul*", "MULHOUSE*"}) {
        ASSERT_EQ(get(named(name)), 0) << name;
        EXPECT_EQ(gotName(), "Mulhouse") << name;
    }
    EXPECT_EQ(get(named("Mulhous")), db::kNotFound);  // not a prefix without '*'
    ASSERT_EQ(get(named("bern")), 0);
    EXPECT_EQ(gotName(), "BERN");
    EXPECT_EQ(get(named("ber*")), code::ambiguous.number);
    ASSERT_EQ(get(named("saint-martin-de-crau")), 0);  // all 20 characters
    EXPECT_EQ(get(named("SAINT-MARTIN-DE-CRA")), db::kNotFound);
    EXPECT_EQ(get(named("Nowhere")), db::kNotFound);
    // Continued searches step through the matches in name order, then start again.
    EXPECT_EQ(found(db::search::byName, named("ber*")), (std::vector<std::string>{"BERGEN", "BERLIN", "BERN"}));
    EXPECT_EQ(found(db::search::byName, named("*")).size(), 13u);
    EXPECT_EQ(found(db::search::byName, named("Ber*")).front(), "BERGEN");
    // A binary search alone, again at every call, then on to the first that passes the filter.
    int record = 0;
    ASSERT_EQ(db::mtloc(db::search::byNameOnce, named("springfield", 840), record, site, dir), 0);
    EXPECT_EQ(record, 12);
}

// One name in two countries: ambiguous until the country or the continent tells them apart.
TEST_F(WeatherSearch, FiltersSeparateSitesOfOneName) {
    EXPECT_EQ(found(db::search::byName, named("SPRINGFIELD")), (std::vector<std::string>{"SPRINGFIELD", "Springfield"}));
    EXPECT_EQ(get(named("springfield")), code::ambiguous.number);
    ASSERT_EQ(get(named("springfield", 840)), 0);
    EXPECT_FLOAT_EQ(months[db::kLatitudeAt], 39.75f);
    ASSERT_EQ(get(named("Springfield", 0, 5)), 0);
    EXPECT_FLOAT_EQ(months[db::kLatitudeAt], -33.0f);
    EXPECT_EQ(get(named("springfield", 250)), db::kNotFound);
    db::Search france;
    france.country = 250;
    EXPECT_EQ(found(db::search::byCountry, france),
              (std::vector<std::string>{"Edge Town", "Mulhouse", "SAINT-MARTIN-DE-CRAU"}));
    EXPECT_EQ(found(db::search::byCountry, france).size(), 3u);  // from the start again
    db::Search america;
    america.continent = 4;
    EXPECT_EQ(found(db::search::byContinent, america), (std::vector<std::string>{"Golden", "Springfield"}));
    EXPECT_EQ(get(america), code::ambiguous.number);
}

// The window includes its edges and does not wrap; a negative longitude is the same
// longitude in 0 to 360.
TEST_F(WeatherSearch, WindowsFindTheSitesInsideAndOnTheirEdges) {
    EXPECT_EQ(found(db::search::byWindow, window(48.0f, 350.8f, 0.5f, 0.5f)),
              (std::vector<std::string>{"Edge Town", "Mulhouse"}));
    EXPECT_EQ(get(window(48.0f, 350.8f, 0.5f, 0.5f)), code::ambiguous.number);
    for (const float longitude : {350.8f, -9.2f, 710.8f}) {
        db::Search q = window(48.0f, longitude, 0.3f, 0.3f);
        ASSERT_EQ(db::mtmget(q, months, dir), 0) << longitude;
        EXPECT_EQ(gotName(), "Mulhouse");
        EXPECT_FLOAT_EQ(q.longitude, 350.8f);
    }
    ASSERT_EQ(get(window(47.75f, 350.8f, 0.0f, 0.0f)), 0);
    EXPECT_EQ(get(window(47.76f, 350.8f, 0.0f, 0.0f)), db::kNotFound);
    EXPECT_EQ(get(window(-5.0f, 0.0f, 0.0f, 5.0f)), db::kNotFound);
    EXPECT_EQ(get(window(90.5f, 0.0f, 1.0f, 1.0f)), code::searchLatitude.number);
    EXPECT_EQ(get(window(0.0f, NAN, 1.0f, 1.0f)), code::searchLongitude.number);
    EXPECT_EQ(get(window(0.0f, 0.0f, 1.0f, -1.0f)), code::searchDeltaLongitude.number);
    EXPECT_EQ(get(window(0.0f, 0.0f, 181.0f, 361.0f)), code::searchDeltaLatitude.number);  // the last named
}

// The month array of a site: every parameter where the index points, zeros where it
// points at nothing, position and a time zone of whole hours west with 24 taken as 0.
TEST_F(WeatherSearch, TheMonthArrayHoldsTheSitesData) {
    const auto dat = records(vireo_test::readFile(dir + "vireoWeather.dat"), 47);
    const auto ind = records(vireo_test::readFile(dir + "vireoWeather.ind"), 40);
    ASSERT_EQ(get(named("tromso")), 0);
    const auto pointers = numbers(ind[15]);
    for (std::size_t slot = 0; slot < 7; ++slot) {
        const int offset = db::kMonthsOfSlot[slot];
        if (pointers[slot + 1] == 0) {
            for (int m = 0; m < 12; ++m) EXPECT_EQ(months[static_cast<std::size_t>(offset + m)], 0.0f) << slot;
            EXPECT_EQ(months[db::kAnnualAt + slot], 0.0f);
            continue;
        }
        const DataRow d = dataRow(dat[static_cast<std::size_t>(pointers[slot + 1])]);
        for (std::size_t m = 0; m < 12; ++m)
            EXPECT_NEAR(months[static_cast<std::size_t>(offset) + m], monthValue(d.code, d.months[m]), 1e-4) << slot;
        EXPECT_NEAR(months[db::kAnnualAt + slot], annualValue(d.code, d.annual), 1e-4) << slot;
    }
    EXPECT_EQ(pointers[4], 0);  // Tromso has no minimum temperature
    EXPECT_NEAR(months[24], -4.1f, 1e-5);
    EXPECT_EQ(months[db::kHeightAt], 10.0f);
    const struct {
        const char* name;
        float zone;
    } zones[] = {{"BERN", 0.0f}, {"Guarda", 0.0f}, {"Tavira", 1.0f}, {"Golden", 7.0f}, {"Tromso", 23.0f}};
    for (const auto& z : zones) {
        ASSERT_EQ(get(named(z.name)), 0);
        EXPECT_EQ(months[db::kTimeZoneAt], z.zone) << z.name;
    }
}

// An empty database has only its headers: every search finds nothing, and never reads a
// record 2 that is not there.
TEST_F(WeatherSearch, AnEmptyDatabaseFindsNothing) {
    const std::string empty = copyDatabase(emptyDatabase(), "weather-empty");
    db::Search q = named("BERN");
    EXPECT_EQ(db::mtmget(q, months, empty), db::kNotFound);
    for (int mode = db::search::byNameOnce; mode <= db::search::byWindow; ++mode) {
        int record = 0;
        EXPECT_EQ(db::mtloc(mode, named("*", 1, 1), record, site, empty), db::kNotFound) << mode;
    }
    int record = 0;
    EXPECT_EQ(db::mtloc(7, q, record, site, empty), code::badSearchMode.number);
}

namespace {

// Great-circle distance by the haversine formula, in double precision, on the sphere of
// 6370 km the library uses.
double haversine(double lat1, double lon1, double lat2, double lon2) {
    const double r = M_PI / 180.0;
    const double a = std::pow(std::sin((lat2 - lat1) * r / 2), 2) +
                     std::cos(lat1 * r) * std::cos(lat2 * r) * std::pow(std::sin((lon2 - lon1) * r / 2), 2);
    return 2 * 6370.0 * std::asin(std::sqrt(a));
}

}  // namespace

TEST(WeatherDistance, AgreesWithTheHaversineWithinAKilometre) {
    const double pairs[][4] = {{52.52, 346.6, 48.5, 351.3}, {39.75, 105.25, 39.75, 89.75}, {-33, 209.2, 69.65, 341.04},
                               {0, 1, 0, 359},          {10, 20, -10, 200},             {89, 0, 89, 180},
                               {47.75, 350.8, 47.75, 350.8}};
    for (const auto& p : pairs) {
        const float d = vireo::em::weather::rlocdist(static_cast<float>(p[0]), static_cast<float>(p[1]),
                                                     static_cast<float>(p[2]), static_cast<float>(p[3]));
        EXPECT_NEAR(d, haversine(p[0], p[1], p[2], p[3]), 1.0) << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
    }
    EXPECT_EQ(vireo::em::weather::rlocdist(47.75f, 350.8f, 47.75f, 350.8f), 0.0f);
    EXPECT_EQ(vireo::em::weather::rlocdist(NAN, 0.0f, 0.0f, 0.0f), 10000.0f);
}

// The three nearest sites, nearest first; of two at one distance the one read later comes
// first; with data required, a site without minimum temperature is passed over.
TEST_F(WeatherSearch, NeighboursAreTheNearestWithTiesToTheLaterRecord) {
    int ip[10] = {};
    const vireo::block::Reporter reporter(ip, "MTMLALO");
    db::Neighbours n;
    ASSERT_EQ(db::neighbor(97.5f, 39.75f, n, true, dir, reporter), 0);
    EXPECT_EQ(db::stripped(n[0].site.name), "Springfield");
    EXPECT_EQ(n[0].record, 12);
    EXPECT_EQ(db::stripped(n[1].site.name), "Golden");
    EXPECT_EQ(n[0].distance, n[1].distance);
    EXPECT_NEAR(n[0].distance, haversine(39.75, 97.5, 39.75, 105.25), 1.0);
    EXPECT_EQ(db::stripped(n[2].site.name), "BERGEN");  // Australia lies beyond 10000 km
    EXPECT_NEAR(n[2].distance, haversine(39.75, 97.5, 60.39, 354.68), 1.0);

    ASSERT_EQ(db::neighbor(341.04f, 69.65f, n, false, dir, reporter), 0);
    EXPECT_EQ(db::stripped(n[0].site.name), "Tromso");
    EXPECT_EQ(n[0].distance, 0);
    ASSERT_EQ(db::neighbor(341.04f, 69.65f, n, true, dir, reporter), 0);
    EXPECT_EQ(db::stripped(n[0].site.name), "BERGEN");

    // Fewer sites than slots: the rest stay empty.
    const std::string empty = copyDatabase(emptyDatabase(), "weather-neighbours-empty");
    db::mtmclo("");
    ASSERT_EQ(db::neighbor(0.0f, 0.0f, n, true, empty, reporter), 0);
    EXPECT_EQ(n[0].record, 0);
    EXPECT_EQ(n[2].distance, 10000);
    EXPECT_EQ(n[1].site.name, std::string(20, ' '));

    // Failures are shown for the block, not counted in its status.
    db::mtmclo("");
    const auto m = vireo_test::messagesOf([&] { EXPECT_EQ(db::neighbor(0.0f, 0.0f, n, true, dir + "missing/", reporter), 1); });
    EXPECT_EQ(m.codes, (std::vector<int>{code::cannotOpen.number}));
    EXPECT_EQ(m.records.at(0)["s1"], "MTMLALO");
    EXPECT_EQ(ip[0], 0);
    db::mtmclo("");
    std::string ind = vireo_test::readFile(dir + "vireoWeather.ind");
    ind.replace(42 * 4, 5, "00099");  // index record 5 no longer carries its own number
    vireo_test::writeFile(dir + "vireoWeather.ind", ind);
    const auto broken = vireo_test::messagesOf([&] { EXPECT_EQ(db::neighbor(0.0f, 0.0f, n, true, dir, reporter), 2); });
    EXPECT_EQ(broken.codes, (std::vector<int>{code::indexOwnNumber.number}));
    EXPECT_EQ(broken.records.at(0)["i8"], "5");
}
