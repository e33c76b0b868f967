#include "routines.h"

#include <cmath>

extern "C" float float_mod(const float* a, const float* b) {
    return *a - std::floor(*a / *b) * *b;
}
