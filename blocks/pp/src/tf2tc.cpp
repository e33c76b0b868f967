// °F to °C.
#include "steam.h"

extern "C" VIREO_STEAM_ROUTINE double tf2tc_(const double* t) { return (*t - 32.0) * 5.0 / 9.0; }
