// psia to Pa, with the library's factor 6894 (not 6894.757), so that it inverts pa2psi_.
#include "steam.h"

extern "C" VIREO_STEAM_ROUTINE double psi2pa_(const double* p) { return *p * 6894.0; }
