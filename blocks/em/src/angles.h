// The single-precision angle constants that every routine of the library uses, so that
// results agree to the last bit between routines.
#ifndef VIREO_EM_ANGLES_H
#define VIREO_EM_ANGLES_H

namespace vireo::em {

inline constexpr float kRad = 0.017453292f;  // degrees to radians
inline constexpr float kPi = 3.1415927f;
inline constexpr float kTwoPi = 6.2831855f;

}  // namespace vireo::em

#endif
