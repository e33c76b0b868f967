/* Aqueous lithium bromide (LiBr/H2O) as libVireoST exports it beside its blocks, for its
 * own blocks and for any other library or program that loads it. Plain C, every argument
 * by reference and only read, single-precision results.
 *
 * Units: x the mass fraction of lithium bromide in the solution (kg/kg, 0 to 0.75),
 * t in degC, p in Pa, specific enthalpy in kJ/kg. Model 1 is McNeely's correlation, the
 * only one for temperature, pressure and concentration; the enthalpy has models 2 and 3
 * beside it.
 *
 * Messages: a model number that is not implemented is a line on standard output (one
 * leading blank), at every call; the first failed root search of lbwp and of lbwx in the
 * life of the loaded library is a line "No root in LBWP" or "No root in LBWX" through the
 * utility library's ftext, later ones are silent. */
#ifndef VIREO_ST_LITHIUM_BROMIDE_H
#define VIREO_ST_LITHIUM_BROMIDE_H

#include "st_export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Specific enthalpy of the solution. A model outside 1..3 warns and is taken as 1. */
VIREO_ST_EXPORT float lbwh(const float* x, const float* t, const int* model);
/* Equilibrium temperature of the solution over which water vapour has pressure p: 0 for
 * models 2 and 3, which have no such form; every other model is taken as 1, silently. */
VIREO_ST_EXPORT float lbwt(const float* x, const float* p, const int* model);
/* Water vapour pressure over the solution, by a root search of lbwt between 10 Pa and
 * 1e8 Pa (to 10 Pa above 50 degC, to 0.001 Pa at and below). A model other than 1 warns
 * and is taken as 1. No root: the search's status (-1 no sign change, -2 out of steps)
 * as the value, which no pressure in the searched range can be. */
VIREO_ST_EXPORT float lbwp(const float* x, const float* t, const int* model);
/* Concentration of the solution at vapour pressure p and temperature t, by a root search
 * of lbwt between 0 and 0.75 to 0.0001. Model and failure as for lbwp: a value below 0
 * is the search's status. */
VIREO_ST_EXPORT float lbwx(const float* p, const float* t, const int* model);
/* The residuals of the two searches: lbwt(x, p, 1) - t with x and t of the last call of
 * lbwp, and with p and t of the last call of lbwx (all 0 before any). */
VIREO_ST_EXPORT float flbwp(const float* p);
VIREO_ST_EXPORT float flbwx(const float* x);

#ifdef __cplusplus
}
#endif

#endif
