// What libVireoST exports beside its block functions and `info`: the friction-factor
// residual of the duct blocks and the data it reads, for the utility library's root
// finder and for outside callers. Neither name has the form of a block function (two
// letters and four digits, or the prefix "ub"), so the engine's loader passes them by.
#ifndef VIREO_ST_ROUTINES_H
#define VIREO_ST_ROUTINES_H

extern "C" {

// The flow that fofl solves for, in this order: hydraulic diameter (m), wall roughness
// (m), Reynolds number. One copy per process: DPTUBE and DPCH write it before every
// friction-factor search, and nothing is kept in it from one call to the next. Its
// visibility is protected so that the library's own accesses stay with its own copy,
// whatever another library or the host exports under the same name.
struct FrictionFlow {
    float hydraulicDiameter;
    float roughness;
    float reynolds;
};
extern __attribute__((visibility("protected"))) FrictionFlow cst0007;

// Residual of the Colebrook-White equation at friction factor *lambda for the flow in
// cst0007, -2 log10(2.51 / (Re sqrt(lambda)) + k / (3.71 dh)) - 1 / sqrt(lambda): its root
// is the friction factor. Infinite values come out as the largest float of their sign (a
// friction factor of 0 gives the most negative); NaN only where the equation has no value
// (a friction factor below 0 or NaN, the logarithm of a negative number or of 0/0), which
// the root finder takes for a bracket it cannot use.
__attribute__((visibility("default"))) float fofl(const float* lambda);

}  // extern "C"

#endif
