// The range check of one value.
#include "steam_frame.h"

extern "C" VIREO_STEAM_ROUTINE void splim_(const double* x, const int* code, const char* name,
                                           const double* upper, const double* lower,
                                           std::size_t nameLength) {
    // Written so that a NaN fails too: it is no value inside any range.
    if (*x <= *upper && *x >= *lower) return;
    vireo::steam::fail(vireo::steam::routineName(name, nameLength), *code, *x, 0.0);
}
