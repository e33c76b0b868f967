// The identity table of libVireoPP: the one place that holds every block's name and
// twelve identification integers, and the routine type that computes it. Each row
// becomes a constant table::ppNNNN (the block's typed view is checked against it) and,
// in table.cpp, an exported block function.
//
// Columns: routine, names, nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize,
// dpSize, minParameters, maxParameters, minStrings, maxStrings, group, routine type.
// A block whose computation has not been written yet names IdentifyOnly.
#ifndef VIREO_PP_TABLE_H
#define VIREO_PP_TABLE_H

#include "BlockIdentity.h"

#define VIREO_PP_BLOCKS(X)                                                              \
    X(pp0001, "TRACK", 1, 2, 2, 3, 10, 0, 0, 8, 8, 0, 0, standard, track_block)         \
    X(pp0002, "TROUGH", 1, 6, 6, 2, 10, 0, 0, 6, 6, 0, 0, standard, trough_block)       \
    X(pp0003, "RECEIV", 1, 5, 5, 3, 11, 4, 0, 9, 9, 0, 0, standard, receiv_block)       \
    X(pp0004, "SHADE", 1, 5, 5, 1, 10, 0, 0, 3, 3, 0, 0, standard, shade_block)         \
    X(pp0005, "PIPE", 1, 3, 3, 2, 10, 0, 0, 4, 4, 0, 0, standard, pipe_block)           \
    X(pp0006, "FLDIV", 1, 3, 3, 4, 10, 0, 0, 0, 0, 0, 0, standard, fldiv_block)         \
    X(pp0007, "TPIECE", 1, 4, 4, 2, 10, 0, 0, 0, 0, 0, 0, standard, tpiece_block)       \
    X(pp0008, "TCSTOR", 1, 6, 6, 6, 11, 400, 0, 8, 8, 0, 0, standard, tcstor_block)     \
    X(pp0009, "PFSTOR", 1, 6, 6, 6, 14, 401, 0, 6, 8, 0, 0, standard, pfstor_block)     \
    X(pp0010, "CNTRL", 1, 3, 3, 1, 13, 0, 0, 5, 6, 0, 0, loop, cntrl_block)             \
    X(pp0011, "TF2TC", 1, 1, 1, 1, 10, 0, 0, 0, 0, 0, 0, standard, tf2tc_block)         \
    X(pp0012, "TC2TF", 1, 1, 1, 1, 10, 0, 0, 0, 0, 0, 0, standard, tc2tf_block)         \
    X(pp0013, "STEAM", 1, 2, 2, 4, 10, 0, 0, 0, 0, 0, 0, standard, steam_block)         \
    X(pp0014, "EVAPH", 1, 1, 1, 1, 10, 0, 0, 0, 0, 0, 0, standard, evaph_block)         \
    X(pp0015, "HXCH", 1, 6, 6, 6, 11, 0, 0, 14, 14, 0, 0, standard, hxch_block)         \
    X(pp0016, "STURB", 1, 3, 3, 5, 10, 0, 0, 4, 4, 0, 0, standard, sturb_block)         \
    X(pp0017, "PCNTRL", 1, 3, 3, 1, 10, 0, 0, 5, 5, 0, 0, loop, pcntrl_block)           \
    X(pp0018, "PCSSTU", 1, 4, 4, 2, 10, 4, 0, 5, 5, 0, 0, standard, pcsstu_block)

namespace vireo::pp::table {

#define VIREO_PP_IDENTITY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, \
                          maxStr, group, Routine)                                                    \
    inline constexpr block::BlockIdentity routine{#routine, names, nc, minIn, maxIn, out, ip, rp,     \
                                                  dp, minPar, maxPar, minStr, maxStr, block::Group::group}; \
    static_assert(block::wellFormed(routine), "malformed identity of " #routine);
VIREO_PP_BLOCKS(VIREO_PP_IDENTITY)
#undef VIREO_PP_IDENTITY

}  // namespace vireo::pp::table

#endif
