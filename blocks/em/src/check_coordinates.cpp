// Whether a site lies on land, by the one-degree land mask.
#include "site.h"

#include "Numbers.h"
#include "messages.h"
#include "routines.h"
#include "world_map.h"

#include <cmath>
#include <cstdio>

namespace vireo::em {

bool onLand(float latitude, float longitudeEast) {
    if (!(std::fabs(latitude) <= 90.0f) || !std::isfinite(longitudeEast)) return false;
    const int row = 90 - block::nearestInt(latitude);
    // A longitude whose shifted value rounds to 360 meets the NUL of column 360: sea.
    const int column = block::nearestInt(floorMod(longitudeEast + 179.0f, 360.0f));
    if (column < 0 || column > 360) return false;
    return world_map[row][column] == '*';
}

std::string siteText(float latitude, float longitudeEast) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4g\xC2\xB0 %s, %.4g\xC2\xB0 %s", std::fabs(latitude),
                  latitude >= 0.0f ? "N" : "S", std::fabs(longitudeEast), longitudeEast >= 0.0f ? "E" : "W");
    return text;
}

}  // namespace vireo::em

extern "C" bool is_on_land(const float* latitude, const float* longitude) {
    return vireo::em::onLand(*latitude, *longitude);
}

extern "C" int check_coordinates(const float* latitude, const float* longitude, const int* blockNumber) {
    if (vireo::em::onLand(*latitude, *longitude)) return 1;
    // A message record of its own: the caller has no status to leave the warning in.
    int ip[vireo::protocol::ipSlot::kProtocolSlots] = {};
    ip[vireo::protocol::ipSlot::kBlockNumber] = *blockNumber;
    vireo::block::send(ip, "", vireo::em::code::atSea.number,
                       {.text = vireo::em::siteText(*latitude, *longitude)});
    return 0;
}
