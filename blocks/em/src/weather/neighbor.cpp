// The three sites of the database nearest to a point.
#include "files.h"

#include <cmath>

namespace vireo::em::weather {

namespace {

// Radiation and the three temperatures: what a month array needs to stand for a climate.
bool hasClimate(const Pointers& p) { return p[0] > 0 && p[2] > 0 && p[3] > 0 && p[4] > 0; }

// The failure's own message, shown for the calling block without touching its status.
int shown(const block::Reporter& reporter, int status, int result) {
    reporter.show(codeOf(std::abs(status)), valuesOf(lastFault()));
    return result;
}

}  // namespace

int neighbor(float longitude, float latitude, Neighbours& nearest, bool requireData, std::string_view directory,
             const block::Reporter& reporter) {
    nearest = {};
    int count = 0, record = 0;
    Site site;
    const Hold hold(directory, Hold::reading);
    if (hold.status() != 0) return shown(reporter, hold.status(), 1);
    if (const int c = mtlocr(mode::count, record, count, site, directory); c != 0) return shown(reporter, c, 1);
    for (record = 2; record <= count; ++record) {
        int unused = 0;
        if (const int c = mtlocr(mode::read, record, unused, site, directory); c != 0) return shown(reporter, c, 2);
        if (requireData) {
            int index = site.indexRecord;
            Pointers p{};
            if (const int c = mtmptr(mode::read, index, p, directory); c != 0) return shown(reporter, c, 2);
            if (!hasClimate(p)) continue;
        }
        const float d = std::round(rlocdist(site.latitude, site.longitude, latitude, longitude));
        if (!(d <= 10000.0f)) continue;
        const int distance = static_cast<int>(d);
        // Ties go to the site read later: it takes the first slot not nearer than itself.
        for (std::size_t k = 0; k < nearest.size(); ++k) {
            if (nearest[k].distance < distance) continue;
            for (std::size_t j = nearest.size() - 1; j > k; --j) nearest[j] = nearest[j - 1];
            nearest[k] = {site, record, distance};
            break;
        }
    }
    return 0;
}

}  // namespace vireo::em::weather
