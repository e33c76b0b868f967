// The identity table of libVireoST: the one place that holds every block's names, its
// twelve identification integers, the SP row length it hands to id and msg, and the
// routine type that computes it. Each row becomes a constant table::stNNNN (the block's
// typed view is checked against it) and, in table.cpp, an exported block function.
//
// Columns: routine, names, nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize,
// dpSize, minParameters, maxParameters, minStrings, maxStrings, group, SP row length,
// routine type. A block whose computation has not been written yet names IdentifyOnly.
#ifndef VIREO_ST_TABLE_H
#define VIREO_ST_TABLE_H

#include "BlockIdentity.h"

#define VIREO_ST_BLOCKS(X)                                                                                     \
    X(st0001, "SCAIRC", 1, 5, 6, 13, 11, 1, 0, 18, 18, 0, 0, standard, kRow, scairc_block)                        \
    X(st0002, "PVT", 1, 6, 6, 14, 11, 0, 0, 13, 13, 0, 0, standard, kRow, pvt_block)                              \
    X(st0003, "TANKST", 1, 6, 6, 201, 12, 201, 0, 8, 8, 0, 0, delay, kRow, tankst_block)                          \
    X(st0004, "DWHEEL", 1, 5, 5, 5, 10, 0, 0, 2, 2, 0, 0, standard, kRow, dwheel_block)                           \
    X(st0005, "HXC", 1, 3, 3, 3, 10, 0, 0, 2, 2, 0, 0, standard, kRow, hxc_block)                                 \
    X(st0006, "EVCOOL", 1, 4, 4, 4, 10, 0, 0, 4, 4, 0, 0, standard, kRow, evcool_block)                           \
    X(st0007, "DPTUBE DPCH", 2, 2, 3, 4, 11, 0, 0, 3, 5, 0, 0, standard, kRow, dptube_block)                      \
    X(st0008, "SCETA", 1, 4, 4, 5, 15, 0, 0, 7, 8, 0, 1, standard, kRow, sceta_block)                             \
    X(st0009, "SATP SATT", 2, 1, 1, 1, 12, 0, 0, 0, 1, 0, 0, standard, kRow, satp_block)                          \
    X(st0010, "H2OHL H2OHV H2OHE", 3, 1, 1, 1, 10, 0, 0, 0, 0, 0, 0, standard, kRow, h2oh_block)                  \
    X(st0011, "MIXQHC", 1, 4, 4, 5, 10, 0, 0, 3, 3, 0, 0, standard, kRow, mixqhc_block)                           \
    X(st0012, "AIR", 1, 2, 2, 6, 10, 0, 0, 0, 0, 0, 0, standard, kRow, air_block)                                 \
    X(st0013, "HUMA2R HUMR2A HUMH2T HUMH HUMH2X", 5, 2, 2, 1, 11, 0, 0, 0, 0, 0, 0, standard, kRow, hum_block)    \
    X(st0014, "SORB", 1, 2, 3, 12, 14, 1, 0, 1, 3, 0, 0, standard, kRow, sorb_block)                              \
    X(st0015, "HXS", 1, 4, 4, 4, 11, 0, 0, 4, 4, 0, 0, standard, kRow, hxs_block)                                 \
    X(st0016, "DHYD DSTAR", 2, 0, 0, 1, 10, 0, 0, 2, 2, 0, 0, constantSource, kRow, dhyd_block)                   \
    X(st0017, "HXXI", 1, 6, 6, 7, 12, 0, 0, 17, 17, 0, 0, standard, kRow, hxxi_block)                             \
    X(st0018, "DPDIF VDIF", 2, 2, 2, 6, 10, 0, 0, 3, 3, 0, 0, standard, kRow, dpdif_block)                        \
    X(st0019, "DPZETA DPIN DPOUT VZETA VIN VOUT", 6, 2, 2, 2, 10, 1, 0, 1, 2, 0, 0, standard, kRow, dpzeta_block) \
    X(st0020, "DPRED VRED", 2, 2, 2, 5, 11, 1, 0, 3, 4, 0, 0, standard, kRow, dpred_block)                        \
    X(st0021, "DPBOWR VBOWR", 2, 2, 2, 3, 10, 1, 0, 3, 3, 0, 0, standard, kRow, dpbowr_block)                     \
    X(st0022, "DECCTL", 1, 5, 5, 8, 18, 2, 0, 10, 10, 0, 0, loop, kRow, decctl_block)                             \
    X(st0023, "DPBRAR DPJUNR", 2, 3, 3, 7, 10, 1, 0, 4, 4, 0, 0, standard, kRow, dpbrar_block)                    \
    X(st0024, "DPPARA", 1, 2, 10, 1, 10, 0, 0, 0, 0, 0, 0, standard, kRow, dppara_block)                          \
    X(st0025, "LBWH LBWT LBWP LBWX", 4, 2, 2, 1, 11, 0, 0, 2, 2, 0, 0, standard, kRow, lbw_block)                 \
    X(st0026, "ACM", 1, 6, 6, 10, 11, 15, 0, 15, 15, 0, 0, standard, kRow, acm_block)                             \
    X(st0027, "SCDYN", 1, 7, 7, 4, 13, 3000, 0, 11, 11, 0, 0, standard, kRow, scdyn_block)                        \
    X(st0028, "TANKFM", 1, 6, 6, 2, 12, 2, 0, 6, 6, 0, 0, standard, kRow, tankfm_block)                           \
    X(st0029, "SCAIRCD", 1, 6, 7, 4, 14, 4000, 0, 23, 23, 0, 0, standard, kRow, scaircd_block)                    \
    X(st0030, "COOLTW", 1, 5, 5, 5, 12, 0, 0, 10, 10, 0, 0, standard, kRow, cooltw_block)                         \
    X(st0031, "HXEARTH", 1, 5, 5, 2, 13, 0, 0, 18, 18, 0, 0, standard, kRow, hxearth_block)                        \
    X(st0032, "TUBLOD", 1, 4, 4, 4, 15, 4000, 0, 11, 11, 0, 0, standard, 80, tublod_block)                        \
    X(st0033, "GR", 1, 3, 3, 1, 10, 0, 0, 0, 0, 0, 0, standard, kRow, gr_block)                                   \
    X(st0034, "MIXER", 1, 4, 4, 2, 12, 0, 0, 0, 0, 0, 0, standard, 80, mixer_block)                               \
    X(st0035, "ESCOOL", 1, 4, 4, 4, 10, 0, 0, 3, 3, 0, 0, standard, kRow, escool_block)                           \
    X(st0036, "CTRHYS", 1, 2, 2, 1, 13, 10, 0, 3, 3, 0, 0, standard, kRow, ctrhys_block)                          \
    X(st0037, "AIRHEAT", 1, 5, 5, 4, 12, 0, 0, 10, 10, 0, 0, standard, kRow, airheat_block)                       \
    X(st0038, "DECCTY", 1, 7, 7, 8, 20, 2, 0, 10, 10, 0, 0, loop, kRow, deccty_block)                             \
    X(st0039, "CTRL4DY", 1, 12, 12, 11, 18, 1, 0, 11, 11, 0, 0, standard, kRow, ctrl4dy_block)                    \
    X(st0040, "CTRLDA", 1, 8, 8, 12, 14, 12, 0, 14, 14, 0, 0, standard, kRow, ctrlda_block)                       \
    X(st0041, "THREEV", 1, 5, 5, 4, 13, 5, 0, 1, 1, 0, 0, standard, kRow, threev_block)                           \
    X(st0042, "TUBLO", 1, 3, 3, 2, 10, 0, 0, 4, 4, 0, 0, standard, kRow, tublo_block)                             \
    X(st0043, "R134A", 1, 0, 10, 10, 10, 0, 0, 0, 0, 0, 0, standard, kRow, r134a_block)                           \
    X(st0044, "PVTCOOL", 1, 0, 16, 12, 11, 40, 303, 29, 30, 0, 0, standard, kRow, pvtcool_block)

namespace vireo::st::table {

using block::kRow;

#define VIREO_ST_IDENTITY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, maxStr, \
                          group, row, Routine)                                                                \
    inline constexpr block::BlockIdentity routine{#routine, names,  nc,     minIn,  maxIn, out,                  \
                                                  ip,       rp,     dp,     minPar, maxPar, minStr,              \
                                                  maxStr,   block::Group::group, row};                           \
    static_assert(block::wellFormed(routine), "malformed identity of " #routine);
VIREO_ST_BLOCKS(VIREO_ST_IDENTITY)
#undef VIREO_ST_IDENTITY

}  // namespace vireo::st::table

#endif
