// Whether a site lies on land, by the one-degree land mask.
#include "routines.h"

#include "Numbers.h"
#include "vireo_tools.h"
#include "world_map.h"

#include <cmath>
#include <cstdio>
#include <cstring>

using vireo::em::world_map;

extern "C" bool is_on_land(const float* latitude, const float* longitude) {
    if (!(std::fabs(*latitude) <= 90.0f) || !std::isfinite(*longitude)) return false;
    const int row = 90 - vireo::block::nearestInt(*latitude);
    const float shifted = *longitude + 179.0f, turn = 360.0f;
    // A longitude whose shifted value rounds to 360 meets the NUL of column 360: sea.
    const int column = vireo::block::nearestInt(float_mod(&shifted, &turn));
    if (column < 0 || column > 360) return false;
    return world_map[row][column] == '*';
}

extern "C" int check_coordinates(const float* latitude, const float* longitude, const int* blockNumber) {
    if (is_on_land(latitude, longitude)) return 1;
    // A message record of its own: the calling block's status is left alone, so the
    // warning is shown and not counted.
    int ints[12] = {};
    float reals[12] = {};
    char text[1024] = {};
    std::snprintf(text, sizeof text, "%.4g\xC2\xB0 %s, %.4g\xC2\xB0 %s", std::fabs(*latitude),
                  *latitude >= 0.0f ? "N" : "S", std::fabs(*longitude), *longitude >= 0.0f ? "E" : "W");
    ints[0] = 202129;
    ints[3] = *blockNumber;
    msg(ints, reals, text, sizeof text);
    return 0;
}
