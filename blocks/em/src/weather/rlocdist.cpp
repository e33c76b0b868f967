// Great-circle distance on a sphere of 6370 km, with the library's own value of pi.
#include "database.h"

#include <algorithm>
#include <cmath>

namespace vireo::em::weather {

float rlocdist(float latitude1, float longitude1, float latitude2, float longitude2) {
    constexpr float kPi = 3.1415f;
    const float a = kPi * (0.5f - latitude2 / 180.0f);
    const float b = kPi * (0.5f - latitude1 / 180.0f);
    // The shorter way round: 359 and 1 degrees lie 2 degrees apart.
    float difference = std::fabs(std::fmod(longitude1 - longitude2, 360.0f));
    if (difference > 180.0f) difference = 360.0f - difference;
    const float gamma = difference * kPi / 180.0f;
    const float s = std::cos(a) * std::cos(b) + std::sin(a) * std::sin(b) * std::cos(gamma);
    // Rounding takes the cosine of two equal points a little above 1.
    if (std::isnan(s)) return 10000.0f;
    return 6370.0f * std::acos(std::clamp(s, -1.0f, 1.0f));
}

}  // namespace vireo::em::weather
