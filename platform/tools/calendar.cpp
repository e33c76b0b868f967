// Gregorian calendar by Julian day numbers (Fliegel and Van Flandern, 1968).
#include "vireo_tools.h"

#include <cmath>

namespace {

long dayNumber(long y, long m, long d) {
    const long a = (m - 14) / 12;  // -1 for January and February, else 0
    return (1461 * (y + 4800 + a)) / 4 + (367 * (m - 2 - 12 * a)) / 12 -
           (3 * ((y + 4900 + a) / 100)) / 4 + d - 32075;
}

void dateOf(long jdn, int* y, int* m, int* d) {
    long l = jdn + 68569;
    const long n = (4 * l) / 146097;
    l = l - (146097 * n + 3) / 4;
    const long i = (4000 * (l + 1)) / 1461001;
    l = l - (1461 * i) / 4 + 31;
    const long j = (80 * l) / 2447;
    *d = static_cast<int>(l - (2447 * j) / 80);
    l = j / 11;
    *m = static_cast<int>(j + 2 - 12 * l);
    *y = static_cast<int>(100 * (n - 49) + i + l);
}

}  // namespace

extern "C" {

void julian(const int* year, const int* month, const int* day, int* result) {
    *result = static_cast<int>(dayNumber(*year, *month, *day));
}

void jd2dat(const double* t, int* year, int* month, float* day) {
    // Day numbers of any use here lie far inside the int range; anything else (and NaN)
    // is folded onto day 0 rather than overflowing the integer arithmetic.
    const double v = *t;
    const double whole = std::isfinite(v) && std::fabs(v) < 1.0e9 ? std::floor(v) : 0.0;
    int d = 1;
    dateOf(static_cast<long>(whole) + 1, year, month, &d);
    *day = static_cast<float>(d + (std::isfinite(v) && std::fabs(v) < 1.0e9 ? v - whole : 0.0));
}

int idoy(const int* year, const int* month, const int* day) {
    return static_cast<int>(dayNumber(*year, *month, *day) - dayNumber(*year, 1, 1) + 1);
}

int ihoy(const int* year, const int* month, const int* day, const int* hour) {
    return 24 * (idoy(year, month, day) - 1) + *hour + 1;
}

}  // extern "C"
