// °C to °F.
#include "steam.h"

extern "C" VIREO_STEAM_ROUTINE double tc2tf_(const double* t) { return *t * 9.0 / 5.0 + 32.0; }
