#include "solar.h"

#include "angles.h"
#include "routines.h"
#include "vireo_tools.h"

#include <cmath>

namespace vireo::em {

float dayOfCommonYear(int year, int month, int day) {
    float d = static_cast<float>(idoy(&year, &month, &day));
    const int december = 12, last = 31;
    if (idoy(&year, &december, &last) == 366 && d > 59.5f) d -= 1.0f;
    return d;
}

float horizontalExtraterrestrial(int fit, int year, int month, int day, float angle, float elevation) {
    if (std::fabs(angle) < 90.0f && elevation > 0.0f && elevation < 180.0f)
        return 1367.0f * eccentricity(fit, dayOfCommonYear(year, month, day)) * std::cos((90.0f - elevation) * kRad);
    return 0.0f;
}

}  // namespace vireo::em

extern "C" void goh(const int* mode, const int* year, const int* month, const int* day,
                    const float* latitude, const float* elevation, float* result) {
    *result = vireo::em::horizontalExtraterrestrial(*mode, *year, *month, *day, *latitude, *elevation);
}
