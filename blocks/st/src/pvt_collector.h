/* The physics of the uncovered PV-thermal collector PVTCOOL, exported by libVireoST beside
 * its blocks for any other library or program that loads it. Plain C, every argument by
 * reference, double precision unless noted; counts and model switches come as doubles
 * holding whole numbers, as the block keeps them. No routine keeps anything from one
 * call to the next. Temperatures in degC, irradiances in W/m2, angles in degrees.
 *
 * A collector of nj nodes (nj at least 1) cut along the flow: the absorber temperatures
 * ta, surface (PV or cover) temperatures tg and condensation fluxes qk hold nodes 1..nj
 * at [0] to [nj - 1]; the fluid temperatures tf1, tf2 (start and end of a sub-step) and
 * their iteration start tfitstart hold nodes 0..nj, node 0 being the inlet. The first
 * nj - 1 nodes are the segments that the means go over (with nj = 1 the single node). */
#ifndef VIREO_ST_PVT_COLLECTOR_H
#define VIREO_ST_PVT_COLLECTOR_H

#include "st_export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Net irradiance on the collector: long-wave exchange with sky (th) and ground (tgr,
 * emissivity epsgr) against the surface at the ambient tu, times epsalpha, plus the
 * global irradiance eg with its beam part eb weighted by the modifiers kbn (beam) and kd
 * (diffuse). At eg <= 0 the long-wave balance alone. */
VIREO_ST_EXPORT void nettobestrahlung(const double* eg, const double* eb, double* enx, const double* epsalpha,
                                      const double* kbn, const double* kd, const double* sigma, const double* th,
                                      const double* tu, const double* beta, const double* pi, const double* tgr,
                                      const double* epsgr);
/* Effective radiant temperature of the surroundings (sky and ambient by the view factor
 * of the tilt beta) and the linearised radiative coefficient of the surface (emissivity
 * epspv) at its mean temperature. */
VIREO_ST_EXPORT void waermeuebergangstr(const double* nj, const double* epspv, const double* pi, const double* sigma,
                                        const double* beta, const double* tg, const double* th, const double* tu,
                                        double* teff, double* ustr);
/* Convective coefficient of the surface ts at its mean temperature, natural and forced
 * (wind vu) combined by their cubes; a surface far colder than the air has no natural
 * part, and a negative wind no forced one. */
VIREO_ST_EXPORT void waermeuebergangkon(const double* nj, const double* ts, const double* tu, const double* vu,
                                        double* ukon);
/* Heat that moisture condensing from the air (dew point tdu, vapour pressure pstdu and
 * pressure pu in hPa, evaporation enthalpy dhvw in kJ/kg) gives each node of the surface
 * ts, by the analogy of heat and mass transfer; 0 at or above the dew point, at or below
 * 0 degC and at a pressure of 0 or below. */
VIREO_ST_EXPORT void kondensation(const double* ts, const double* tdu, const double* pstdu, const double* pu,
                                  const double* dhvw, const double* ukon, const double* nj, double* qk);
/* Saturation vapour pressure of water in hPa, 0 < t <= 200 degC; 0 elsewhere. */
VIREO_ST_EXPORT double psfeuchteluft(const double* t);
/* Dew point in degC at the vapour pressure p in hPa; a pressure of 0 or below gives the
 * formula's limit at 0, -237.431 degC. */
VIREO_ST_EXPORT double tdfeuchteluft(const double* p);
/* Evaporation enthalpy of water in kJ/kg at t in degC. */
VIREO_ST_EXPORT double dhvwasser(const double* t);
/* The PV layer's electric power ppv (W) over the area aa at the mean absorber temperature
 * of ta, by its efficiency at standard test conditions etastc with a logarithmic
 * irradiance term and the temperature coefficient ct (per K); with ppvmode 1 (the
 * electricity taken off) the irradiances left for heat, egred and ebred, are reduced by
 * it, otherwise they are eg and eb. */
VIREO_ST_EXPORT void pvteilmodell1(const double* ppvmode, const double* ta, const double* aa, const double* nj,
                                   const double* eg, const double* eb, const double* kbnpv, const double* kdpv,
                                   const double* ct, const double* etastc, double* ppv, double* egred,
                                   double* ebred);
/* The same by the one-diode characteristic from the short-circuit current ik, the
 * open-circuit voltage ul and the maximum power point impp, umpp (none of them 0). */
VIREO_ST_EXPORT void pvteilmodell2(const double* ppvmode, const double* ta, const double* aa, const double* nj,
                                   const double* eg, const double* eb, const double* kbnpv, const double* kdpv,
                                   const double* ct, const double* ik, const double* impp, const double* ul,
                                   const double* umpp, const double* etastc, double* ppv, double* egred,
                                   double* ebred);
/* Coefficient between absorber and fluid that makes the segment model meet the
 * collector's efficiency curve (eta0, bu, b1, b2) at a wind of 1.5 m/s; errcode 1 when
 * it is not above 0 or misses the curve's value at any wind of 1 to 8 m/s by more than a
 * fifth, else 0. */
VIREO_ST_EXPORT void uintcalc(const double* alphath, const double* b1, const double* b2, const double* bu,
                              const double* eta0, const double* kmode, const double* taupv, int* errcode,
                              double* uint);
/* Incidence-angle modifier of the beam: 1 at every angle (the caller gives 0 for an
 * incidence angle outside 0 to 90 degrees). */
VIREO_ST_EXPORT void einfallwinkelkorrektur(const double* theta, const double* thetaz, const double* beta,
                                            const double* gammaa, const double* gammas, const double* pi,
                                            const int* model, const double* info, double* kbn);
/* One explicit sub-step dtint of the segments: fluid (tf2 from tf1), absorber (ta) and,
 * for kmode above 2, surface (tg), each relaxed by relax from its iteration start. An
 * internal coefficient uint of 0 or below couples absorber and fluid fully. */
VIREO_ST_EXPORT void thermteilmodell(const double* kmode, const double* aa, const double* nj, const double* enx,
                                     const double* eta0, const double* b1, const double* b2, const double* bu,
                                     const double* vu, double* tg, double* ta, const double* tf1, double* tf2,
                                     const double* tu, const double* teff, const double* dtint,
                                     const double* ceff, const double* cf, const double* uint,
                                     const double* ugf, const double* ustr, const double* ukon,
                                     const double* qk, const double* mpkt, const double* tgitstart,
                                     const double* taitstart, const double* tfitstart, const double* relax);
/* Clears a set flag when some |a[i] - b[i]|, i < n, exceeds 0.001; n below 1 leaves it. */
VIREO_ST_EXPORT void konvcheck(int* flag, const double* a, const double* b, const double* n);
/* x + 1, in single precision: a probe that the library answers. */
VIREO_ST_EXPORT float testfunction(const float* x);

#ifdef __cplusplus
}
#endif

#endif
