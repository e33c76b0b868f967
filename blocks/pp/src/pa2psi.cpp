// Pa to psia, with the library's factor 6894 (not 6894.757): the blocks' pressures reach
// the property routines through it.
#include "steam.h"

extern "C" VIREO_STEAM_ROUTINE double pa2psi_(const double* p) { return *p / 6894.0; }
