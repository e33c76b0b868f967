// The month array of one site: the site a search selects, refused when it selects more
// than one, or a site already found.
#include "files.h"

#include <algorithm>
#include <cmath>

namespace vireo::em::weather {

namespace {

// Hours west of Greenwich, 0 to 23: a site just short of 360 degrees lies in zone 0.
float timeZoneOf(float longitude) {
    long zone = 0;
    if (!roundToLong(longitude / 15.0f, zone) || zone == 24) zone = 0;
    return static_cast<float>(zone);
}

}  // namespace

int searchMode(const Search& q) {
    if (!stripped(q.name).empty()) return search::byName;
    if (q.country != 0) return search::byCountry;
    if (q.continent != 0) return search::byContinent;
    return search::byWindow;
}

// A window that no site could lie in is a fault of the query; the last fault found names it.
int checkQuery(Search& q) {
    int refused = 0;
    if (std::isfinite(q.longitude)) q.longitude = static_cast<float>(foldLongitude(q.longitude));
    else refused = code::searchLongitude.number;
    if (!(std::fabs(q.latitude) <= 90.0f)) refused = code::searchLatitude.number;
    if (!(q.deltaLongitude >= 0.0f && q.deltaLongitude <= 360.0f)) refused = code::searchDeltaLongitude.number;
    if (!(q.deltaLatitude >= 0.0f && q.deltaLatitude <= 180.0f)) refused = code::searchDeltaLatitude.number;
    return refused == 0 ? 0 : fail(refused);
}

int selectOne(int mode, const Search& q, int& record, Site& site, std::string_view directory) {
    if (const int c = mtloc(mode, q, record, site, directory); c != 0) return c;
    // The same search once more goes on after the site found: any further site makes the
    // request ambiguous.
    int next = record;
    Site other;
    const int again = mtloc(mode, q, next, other, directory);
    if (again == 0)
        return fail(code::ambiguous.number, std::string(stripped(directory)) + kSiteFile, next,
                    std::string(stripped(site.name)) + " and " + std::string(stripped(other.name)));
    return again == kNotFound ? 0 : again;
}

int loadSite(const Site& site, std::span<float, kMonthArray> months, std::string_view directory, Pointers* held) {
    months[kLatitudeAt] = site.latitude;
    months[kLongitudeAt] = site.longitude;
    months[kTimeZoneAt] = timeZoneOf(site.longitude);
    months[kHeightAt] = static_cast<float>(site.height);
    int index = site.indexRecord;
    Pointers pointers{};
    if (const int c = mtmptr(mode::read, index, pointers, directory); c != 0) return c;
    if (held != nullptr) *held = pointers;
    for (std::size_t slot = 0; slot < pointers.size(); ++slot) {
        int record = pointers[slot];
        if (record <= 0) continue;
        float annual = 0.0f;
        const std::span<float, kMonths> values(months.data() + kMonthsOfSlot[slot], kMonths);
        if (const int c = mtmdat(mode::read, kCodeOfSlot[slot], record, annual, values, directory); c != 0) return c;
        months[kAnnualAt + slot] = annual;
    }
    return 0;
}

int mtmget(Search& q, std::span<float, kMonthArray> months, std::string_view directory, Found* found) {
    std::fill(months.begin(), months.end(), 0.0f);
    if (const int c = checkQuery(q); c != 0) return c;
    const Hold hold(directory, Hold::reading);
    if (hold.status() != 0) return hold.status();
    int record = 0;
    Site site;
    if (const int c = selectOne(searchMode(q), q, record, site, directory); c != 0) return c;
    if (found == nullptr) return loadSite(site, months, directory);
    found->site = site;
    return loadSite(site, months, directory, &found->pointers);
}

}  // namespace vireo::em::weather
