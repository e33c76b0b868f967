// Degrees to radians in single precision, with the library's own value of 2 pi.
#include "steam.h"

extern "C" VIREO_STEAM_ROUTINE float d2r_(const float* x) { return *x * 6.2831855f / 360.0f; }
