#include "solar.h"

#include "routines.h"

#include <cmath>

float vireo::em::floorMod(float a, float b) { return a - std::floor(a / b) * b; }

extern "C" float float_mod(const float* a, const float* b) { return vireo::em::floorMod(*a, *b); }
