//#Block MTM, MTMLALO
//#Description
// Monthly climate of one site of the monthly weather database: MTM chooses the site by
// name, country, continent or a latitude/longitude window; MTMLALO takes the site with
// radiation and temperature data nearest to a point. The site's data are loaded at
// initialisation; every step puts out the values of the month on the input.
//#Layout
//#Inputs 1
//#Outputs 9
//#Parameters 0--6
//#Strings 0--1
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Month, 1 to 12; rounded to the nearest month after the range test (-)
//#Outputs
//#OUT[0] Monthly mean of the radiation, in the unit the database holds (W/m$^2$)
//#OUT[1] Monthly mean wind speed, in the unit the database holds (m/s)
//#OUT[2] Monthly mean air temperature ($^\circ$C)
//#OUT[3] Monthly mean of the daily minimum temperature ($^\circ$C)
//#OUT[4] Monthly mean of the daily maximum temperature ($^\circ$C)
//#OUT[5] Rain of the month times 10, in the unit the database holds (mm)
//#OUT[6] Annual mean temperature: the mean of the twelve monthly means ($^\circ$C)
//#OUT[7] Highest monthly maximum temperature less the lowest monthly minimum (K)
//#OUT[8] Relative humidity of the month, as a fraction (-)
//#Parameters MTM
//#BP[0] Latitude, of the search window: north positive, -90 to 90 (degrees)
//#BP[1] Longitude, of the search window: west of Greenwich positive, -360 to 360; taken
// into 0 to 360 (degrees)
//#BP[2] Latitude tolerance of the window, 0 to 180 (degrees)
//#BP[3] Longitude tolerance of the window, 0 to 360; the window does not wrap round 0
// (degrees)
//#BP[4] Country code, 0 to 999; 0 any (-)
//#BP[5] Continent code, 0 to 9; 0 any (-)
//#Parameters MTMLALO
//#BP[0] Latitude, of the point: north positive, -90 to 90 (degrees)
//#BP[1] Longitude, of the point: west of Greenwich positive, -360 to 360 (degrees)
//#BP[2] Latitude tolerance of the window: not used (degrees)
//#BP[3] Longitude tolerance of the window: not used (degrees)
//#BP[4] Country code: not used (-)
//#BP[5] Continent code: not used (-)
//#Strings MTM
//#SP[0] Site name, up to 20 characters, compared without regard to case; a trailing *
// makes it a prefix; blank to search by country, continent or window (-)
//#Strings MTMLALO
//#SP[0] Not used (-)
//#Remarks
// The database is the three files vireoWeather.loc, vireoWeather.ind and vireoWeather.dat
// in data/mtm/ below the installation directory; the installation carries it empty, and
// MTMUP fills it. MTM searches by the name when one is given, else by the country when
// it is not 0, else by the continent when it is not 0, else in the window (the sites
// whose latitude and longitude lie within the tolerances of the window's). Exactly one
// site must match: none or several are errors at initialisation, and several are listed
// with their countries and positions. MTMLALO takes the nearest of the sites that have
// radiation and the three temperatures, with a warning when it lies more than 1000 km
// from the point. Data a site lacks are put out as 0. A month outside 1 to 12 leaves the
// outputs as they are, with a warning at the first such step and their number at the
// end of the run. The parameters take effect at initialisation only, when the site is
// loaded: a change during the run is warned about and not taken.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "routines.h"
#include "site.h"
#include "vireo_tools.h"
#include "weather/codes.h"
#include "weather_blocks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vireo::em {
namespace {

namespace db = weather;

struct State {
    int& monthsOutside;  // IP[10]: steps with a month outside 1 to 12
    int& continent;      // IP[11]: of the search
    int& country;        // IP[12]
    int& stepped;        // IP[13]: 1 after the first step
    int& reported;       // IP[14]: of the steps outside, those reported at a last call
    std::span<float, db::kMonthArray> months;  // RP[0..94]: the site's month array
    explicit State(mtm_block::View& b)
        : monthsOutside(b.ip<10>()), continent(b.ip<11>()), country(b.ip<12>()), stepped(b.ip<13>()),
          reported(b.ip<14>()), months(b.rp<0, db::kMonthArray>()) {}
};

using P = mtm_block::P;

// The longitude as MTM2 leaves it; the window's rules, for MTM alone.
constexpr Rule kLongitude{.parameter = P::longitude, .low = -360.0f, .high = 360.0f, .code = code::badLongitude};
constexpr Rule kWindowRules[] = {
    {.parameter = P::deltaLatitude, .low = 0.0f, .high = 180.0f, .code = code::mtmBadTolerance},
    {.parameter = P::deltaLongitude, .low = 0.0f, .high = 360.0f, .code = code::mtmBadTolerance},
    {.parameter = P::country, .low = 0.0f, .high = 999.0f, .whole = true, .code = code::mtmBadSiteCode},
    {.parameter = P::continent, .low = 0.0f, .high = 9.0f, .whole = true, .code = code::mtmBadSiteCode},
};

constexpr float kFarAway = 1000.0f;  // km

// Where each parameter's January stands in the month array.
constexpr std::size_t kRadiation = db::kMonthsOfSlot[0], kWind = db::kMonthsOfSlot[1], kMean = db::kMonthsOfSlot[2],
                      kMinimum = db::kMonthsOfSlot[3], kMaximum = db::kMonthsOfSlot[4], kRain = db::kMonthsOfSlot[5],
                      kHumidity = db::kMonthsOfSlot[6];

// How loading a site went: the status of the database routines, whether the fault has been
// shown already, the search in words, and the search itself.
struct Outcome {
    int status = 0;
    bool faultShown = false;
    std::string search;
    db::Search query;
};

bool byPoint(const BlockView& b) { return std::abs(b.opMode()) == 2; }

// The site name: the string without its trailing blanks, at most 20 characters.
std::string siteName(const BlockView& b) {
    std::string_view name = db::stripped(b.text(0));
    return std::string(name.substr(0, std::min<std::size_t>(name.size(), db::kNameLength)));
}

// What a failed search or fetch means for the model: the database's own fault first
// (unless shown), then the block's error.
void reportFailure(mtm_block::View& b, const Outcome& o, const std::string& directory) {
    if (o.status == db::kNotFound) {
        b.report(code::mtmNoSite, {.text = o.search});
    } else if (o.status == db::code::ambiguous.number) {
        b.report(code::mtmAmbiguous, {.text = o.search, .detail = db::lastFault().reason});
        listSites(o.query, directory);
    } else if (o.status == db::code::cannotOpen.number) {
        b.report(code::mtmNoDatabase, {.text = directory, .detail = db::lastFault().reason});
    } else {
        if (!o.faultShown) b.report(db::codeOf(o.status), db::valuesOf(db::lastFault()));
        b.report(code::mtmDatabaseFault, {.text = directory});
    }
}

std::string searchText(const db::Search& q) {
    if (!q.name.empty()) return "named " + q.name;
    char text[160];
    if (q.country != 0) std::snprintf(text, sizeof text, "of country %d", q.country);
    else if (q.continent != 0) std::snprintf(text, sizeof text, "of continent %d", q.continent);
    else
        std::snprintf(text, sizeof text, "within %g +- %g degrees of latitude and %g +- %g degrees of longitude",
                      q.latitude, q.deltaLatitude, q.longitude, q.deltaLongitude);
    return text;
}

Outcome loadByName(mtm_block::View& b, State& s, const std::string& directory) {
    db::Search q;
    q.name = siteName(b);
    if (!q.name.empty() && (b.par<P::latitude>() != 0.0f || b.par<P::longitude>() != 0.0f))
        b.report(code::mtmNameAndWindow, {.text = q.name});
    s.country = b.whole<P::country>();
    s.continent = b.whole<P::continent>();
    q.country = s.country;
    q.continent = s.continent;
    q.latitude = b.par<P::latitude>();
    q.longitude = b.par<P::longitude>();
    q.deltaLatitude = b.par<P::deltaLatitude>();
    q.deltaLongitude = b.par<P::deltaLongitude>();
    const int status = db::mtmget(q, s.months, directory);
    // The window's longitude as the search took it, in 0 to 360.
    b.arrays().BP[P::longitude] = q.longitude;
    return {status, false, searchText(q), q};
}

Outcome loadNearest(mtm_block::View& b, State& s, const std::string& directory) {
    const float latitude = b.par<P::latitude>(), longitude = b.par<P::longitude>();
    // The land mask's warning, shown in the block's name as every site check shows it.
    if (const float east = -longitude; !onLand(latitude, east))
        b.show(code::atSea, {.text = siteText(latitude, east)});
    char text[96];
    std::snprintf(text, sizeof text, "with radiation and temperatures near %g, %g", latitude, longitude);
    db::Neighbours nearest;
    if (db::neighbor(longitude, latitude, nearest, true, directory, b.reporter()) != 0)
        return {db::lastFault().code, true, text, {}};
    // The site found, by its record: a search by its name could find another of that name.
    const db::Neighbour& site = nearest[0];
    if (site.record == 0) return {db::kNotFound, false, text, {}};
    if (static_cast<float>(site.distance) > kFarAway)
        b.report(code::mtmFarFromSites, {.value = site.distance, .text = db::stripped(site.site.name)});
    return {db::loadSite(site.site, s.months, directory), false, text, {}};
}

}  // namespace

bool mtm_block::checksHold(View& b) {
    const bool longitude = b.check(kLongitude, b.par<P::longitude>());
    return (byPoint(b) || b.check(kWindowRules)) && longitude;
}

void mtm_block::init(View& b) {
    State s(b);
    s.monthsOutside = s.continent = s.country = s.stepped = s.reported = 0;
    std::fill(s.months.begin(), s.months.end(), 0.0f);
    if (refused(b)) return;
    const std::string directory = databaseDirectory();
    if (!claimDatabase(b, directory)) return;
    Outcome outcome;
    {
        // The site and its data are read as one update left them, not halfway through another.
        const block::Reporter waiter = b.reporter();
        const db::Hold hold(directory, db::Hold::reading, &waiter);
        if (hold.status() != 0) outcome.status = hold.status();
        else outcome = byPoint(b) ? loadNearest(b, s, directory) : loadByName(b, s, directory);
        // The files close whatever the outcome: the next block's search starts afresh.
        db::mtmclo(directory);
    }
    if (outcome.status != 0) {
        reportFailure(b, outcome, directory);
        return;
    }
    float annual = 0.0f, lowest = 999.0f, highest = -999.0f;
    for (std::size_t m = 0; m < db::kMonths; ++m) {
        annual += s.months[kMean + m];
        lowest = std::min(lowest, s.months[kMinimum + m]);
        highest = std::max(highest, s.months[kMaximum + m]);
    }
    b.out(6) = annual / 12.0f;
    b.out(7) = highest - lowest;
}

void mtm_block::step(View& b) {
    State s(b);
    s.stepped = 1;
    const float month = b.in(0);
    if (!(month >= 1.0f && month <= 12.0f)) {
        b.countWarning(s.monthsOutside, code::mtmMonthOutside, {.reals = {month}});
        return;
    }
    // The range test comes first: 11.5 is December, 12.5 no month.
    const auto m = static_cast<std::size_t>(block::nearestInt(month)) - 1;
    b.out(0) = s.months[kRadiation + m];
    b.out(1) = s.months[kWind + m];
    b.out(2) = s.months[kMean + m];
    b.out(3) = s.months[kMinimum + m];
    b.out(4) = s.months[kMaximum + m];
    b.out(5) = 10.0f * s.months[kRain + m];
    b.out(8) = s.months[kHumidity + m] / 100.0f;
}

void mtm_block::last(View& b) {
    State s(b);
    b.reportCountSince(s.monthsOutside, s.reported, code::mtmMonthsOutside);
}

}  // namespace vireo::em
