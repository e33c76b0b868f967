// Finding sites in the site file: by name (exact or a prefix), by country, by continent
// or in a latitude/longitude window, and going on from the last site found.
#include "files.h"

#include <algorithm>

namespace vireo::em::weather {

namespace {

// What the last search found, one for the process: a search continues it when mode,
// continent, country and name (or window) agree, so that repeated calls step through
// every site that matches.
struct SearchState {
    int mode = 0;
    int continent = 0;
    int country = 0;
    std::string name = std::string(kNameLength, ' ');  // upper-cased; blank when none to continue
    std::array<long, 4> window{};                      // longitude, its tolerance, latitude + 90, its tolerance; x 100
};

SearchState& state() {
    static SearchState s;
    return s;
}

struct Key {
    std::string text;  // upper-cased, blank-padded to 20
    std::size_t significant = kNameLength;
};

// A trailing '*' makes the characters before it a prefix.
Key keyOf(std::string_view name) {
    name = stripped(name.substr(0, std::min(name.size(), static_cast<std::size_t>(kNameLength))));
    if (!name.empty() && name.back() == '*') return {nameKey(name.substr(0, name.size() - 1)), name.size() - 1};
    return {nameKey(name), kNameLength};
}

bool matches(const Site& site, const Key& key) {
    return nameKey(site.name).compare(0, key.significant, key.text, 0, key.significant) == 0;
}

// The window in whole hundredths of a degree, as the site file stores positions; false
// when it holds no number.
bool windowOf(const Search& q, std::array<long, 4>& w) {
    return roundToLong(foldLongitude(q.longitude) * 100.0, w[0]) &&
           roundToLong(static_cast<double>(q.deltaLongitude) * 100.0, w[1]) &&
           roundToLong(static_cast<double>(q.latitude) * 100.0 + 9000.0, w[2]) &&
           roundToLong(static_cast<double>(q.deltaLatitude) * 100.0, w[3]);
}

bool inWindow(const Site& s, const std::array<long, 4>& w) {
    long longitude = 0, latitude = 0;
    if (!roundToLong(static_cast<double>(s.longitude) * 100.0, longitude) ||
        !roundToLong(static_cast<double>(s.latitude) * 100.0 + 9000.0, latitude))
        return false;
    return std::labs(longitude - w[0]) <= w[1] && std::labs(latitude - w[2]) <= w[3];
}

class Searcher {
public:
    Searcher(const Search& q, std::string_view directory) : q_(q), directory_(directory) {}

    int count() {
        Site unused;
        int record = 0;
        return mtlocr(mode::count, record, last_, unused, directory_);
    }
    int lastSite() const { return last_; }
    int read(int record, Site& site) {
        int unused = 0;
        return mtlocr(mode::read, record, unused, site, directory_);
    }
    bool passes(const Site& s) const {
        return (q_.continent == 0 || q_.continent == s.continent) && (q_.country == 0 || q_.country == s.country);
    }

    // Binary search for a record whose name matches the key: its number, or kNotFound.
    int bisect(const Key& key, int& record, Site& site) {
        int lo = 1, hi = last_, previous = -1;
        record = 0;
        // The range halves at every step; the bound only guards against a count that lies.
        for (int step = 0; step < 64; ++step) {
            const int mid = std::max((lo + hi) / 2, 2);
            if (const int c = read(mid, site); c != 0) return c;
            if (matches(site, key)) {
                record = mid;
                return 0;
            }
            record = mid;
            if (mid == previous || lo >= hi) return kNotFound;
            std::string cut = nameKey(site.name).substr(0, key.significant);
            cut.resize(kNameLength, ' ');
            if (cut < key.text) lo = mid + 1;
            else hi = mid - 1;
            previous = mid;
        }
        return kNotFound;
    }

    // From `record` on (its site in `site`), the first that passes the continent and
    // country filter while the name still matches.
    int filter(const Key& key, int& record, Site& site) {
        while (!passes(site)) {
            if (++record > last_) return kNotFound;
            if (const int c = read(record, site); c != 0) return c;
            if (!matches(site, key)) return kNotFound;
        }
        return 0;
    }

    // Back to the lowest record whose name still matches.
    int walkBack(const Key& key, int& record, Site& site) {
        Site before;
        while (record > 2) {
            if (const int c = read(record - 1, before); c != 0) return c;
            if (!matches(before, key)) break;
            --record;
            site = before;
        }
        return 0;
    }

private:
    const Search& q_;
    std::string_view directory_;
    int last_ = 0;
};

int byName(int mode, const Search& q, int& record, Site& found, Searcher& s, SearchState& st) {
    const Key key = keyOf(q.name);
    const std::string name = nameKey(stripped(q.name));
    Site site;
    int status = 0;
    if (mode == search::byName && st.mode == search::byName && st.name == name) {
        // The next record, when there is one and it still matches.
        if (record >= s.lastSite()) {
            status = kNotFound;
        } else {
            record = std::max(record, 1) + 1;
            if ((status = s.read(record, site)) == 0 && !matches(site, key)) status = kNotFound;
        }
    } else {
        status = s.bisect(key, record, site);
        if (status == 0 && mode == search::byName) status = s.walkBack(key, record, site);
    }
    if (status == 0) status = s.filter(key, record, site);
    st.name = status == 0 && mode == search::byName ? name : std::string(kNameLength, ' ');
    if (status == 0) found = site;
    return status;
}

int scan(int mode, const Search& q, int& record, Site& found, Searcher& s, SearchState& st) {
    std::array<long, 4> window{};
    if (mode == search::byWindow && !windowOf(q, window)) return kNotFound;
    const bool same = st.mode == mode && (mode != search::byWindow || st.window == window);
    Site site;
    for (int r = std::clamp(same ? record : 1, 1, std::max(s.lastSite(), 1)) + 1; r <= s.lastSite(); ++r) {
        if (const int c = s.read(r, site); c != 0) return c;
        const bool hit = mode == search::byCountry     ? site.country == q.country
                         : mode == search::byContinent ? site.continent == q.continent
                                                       : inWindow(site, window);
        if (hit) {
            record = r;
            st.window = window;
            found = site;
            return 0;
        }
    }
    // The next call with the same query starts again from the first site.
    record = 0;
    if (mode == search::byCountry) st.country = 0;
    if (mode == search::byContinent) st.continent = 0;
    st.window = {};
    return kNotFound;
}

}  // namespace

int mtloc(int mode, const Search& q, int& record, Site& found, std::string_view directory) {
    SearchState& st = state();
    if (mode == search::close) {
        int count = 0;
        Site unused;
        mtlocr(mode::close, record, count, unused, directory);
        st = {};
        return 0;
    }
    if (q.continent != st.continent || q.country != st.country || mode != st.mode) {
        st.mode = 0;
        record = 0;
        st.name = std::string(kNameLength, ' ');
        st.window = {};
    }
    if (mode < search::byNameOnce || mode > search::close) return fail(code::badSearchMode.number, {}, mode);

    Searcher s(q, directory);
    if (const int c = s.count(); c != 0) return c;
    st.continent = q.continent;
    st.country = q.country;
    int status = kNotFound;
    // An empty database has no record 2 to read: nothing is found.
    if (s.lastSite() >= 2) {
        status = mode <= search::byName ? byName(mode, q, record, found, s, st) : scan(mode, q, record, found, s, st);
    } else if (mode > search::byName) {
        record = 0;
    }
    if (status == kNotFound && mode <= search::byName) st.name = std::string(kNameLength, ' ');
    st.mode = mode;
    return status;
}

}  // namespace vireo::em::weather
