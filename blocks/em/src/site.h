// Site checks of the blocks that take a latitude, longitude and time zone.
#ifndef VIREO_EM_SITE_H
#define VIREO_EM_SITE_H

#include "Messages.h"
#include "solar.h"

#include <string>

namespace vireo::em {

// Whether the one-degree land mask holds land at a site (longitude east positive).
bool onLand(float latitude, float longitudeEast);
// "40°N, 105.2°W": a site as messages show it (longitude east positive).
std::string siteText(float latitude, float longitudeEast);

// The checks of a site, in the first sign convention: latitude, longitude and time zone
// in range (errors); then, when the block's status is still clear, a site at sea and a
// time zone far from the longitude (warnings, shown and not counted). True when no error
// was reported.
bool checkSite(block::Reporter reporter, const Site& site);

// The site of a block whose parameter table names it (latitude, longitude, timeZone).
template <class View>
Site siteOf(const View& b) {
    using P = typename View::Params;
    return {b.template par<P::latitude>(), b.template par<P::longitude>(), b.template par<P::timeZone>()};
}

// The same checks of such a block's own site, among its checks: made at initialisation
// and again after the editor changes a parameter during the run.
template <class View>
bool siteHolds(View& b) {
    return checkSite(b.reporter(), siteOf(b));
}

}  // namespace vireo::em

#endif
