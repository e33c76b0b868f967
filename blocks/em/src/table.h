// The identity table of libVireoEM: the one place that holds every block's names and
// twelve identification integers, and the routine type that computes it. Each row
// becomes a constant table::emNNNN (the block's typed view is checked against it) and,
// in table.cpp, an exported block function.
//
// Columns: routine, names, nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize,
// dpSize, minParameters, maxParameters, minStrings, maxStrings, group, routine type.
// A block whose computation has not been written yet names IdentifyOnly.
#ifndef VIREO_EM_TABLE_H
#define VIREO_EM_TABLE_H

#include "BlockIdentity.h"

#define VIREO_EM_BLOCKS(X)                                                                   \
    X(em0001, "PLANCK", 1, 2, 2, 3, 11, 2, 0, 0, 1, 0, 0, standard, planck_block)             \
    X(em0002, "E0 GON", 2, 1, 1, 1, 11, 0, 0, 1, 1, 0, 0, standard, e0_block)                 \
    X(em0003, "ET", 1, 1, 1, 1, 11, 0, 0, 1, 1, 0, 0, standard, et_block)                     \
    X(em0004, "GTLOSS", 1, 10, 17, 5, 15, 0, 0, 2, 8, 0, 0, standard, gtloss_block)           \
    X(em0005, "GENV", 1, 1, 1, 3, 10, 8762, 0, 148, 148, 0, 0, standard, genv_block)             \
    X(em0006, "SUNAE", 1, 4, 7, 4, 14, 11, 0, 4, 4, 0, 0, standard, sunae_block)              \
    X(em0007, "INANGE INANGH", 2, 5, 5, 2, 11, 0, 0, 0, 0, 0, 0, standard, inang_block)       \
    X(em0008, "GH2GT", 1, 9, 12, 4, 16, 11, 0, 4, 4, 0, 0, standard, gh2gt_block)            \
    X(em0009, "G2GDH", 1, 2, 5, 1, 11, 2, 0, 1, 1, 0, 0, standard, g2gdh_block)              \
    X(em0010, "G2GDD", 1, 2, 3, 1, 11, 2, 0, 1, 1, 0, 0, standard, g2gdd_block)              \
    X(em0011, "G2GDM", 1, 2, 3, 1, 11, 2, 0, 1, 1, 0, 0, standard, g2gdm_block)              \
    X(em0012, "GOH", 1, 4, 7, 1, 10, 0, 0, 3, 3, 0, 0, standard, goh_block)                  \
    X(em0013, "GMEAN", 1, 3, 5, 3, 11, 12, 0, 2, 2, 0, 0, standard, gmean_block)             \
    X(em0014, "TMEAN", 1, 3, 5, 1, 10, 0, 0, 0, 0, 0, 0, standard, tmean_block)               \
    X(em0015, "GENG", 1, 5, 6, 1, 28, 8881, 0, 8, 8, 0, 0, standard, geng_block)              \
    X(em0016, "GENGD", 1, 4, 4, 1, 30, 463, 0, 9, 9, 0, 0, standard, gengd_block)             \
    X(em0017, "GENGH", 1, 5, 6, 1, 383, 8881, 0, 4, 4, 0, 0, standard, gengh_block)           \
    X(em0018, "MTM MTMLALO", 2, 1, 1, 9, 15, 95, 0, 0, 6, 0, 1, standard, mtm_block)          \
    X(em0019, "GBN2GBT", 1, 5, 5, 1, 10, 0, 0, 0, 0, 0, 0, standard, gbn2gbt_block)          \
    X(em0020, "SUNAEA", 1, 7, 7, 4, 10, 0, 0, 6, 6, 0, 0, standard, sunaea_block)             \
    X(em0021, "TSKY", 1, 1, 1, 1, 11, 1, 0, 1, 1, 0, 0, standard, tsky_block)                 \
    X(em0022, "GENGT", 1, 10, 12, 3, 35, 26563, 0, 8, 10, 0, 0, standard, gengt_block)        \
    X(em0023, "DISGR", 1, 1, 2, 1, 10, 3, 0, 1, 2, 0, 0, standard, disgr_block)               \
    X(em0024, "ATM1976", 1, 1, 1, 3, 10, 0, 0, 0, 0, 0, 0, standard, atm1976_block)           \
    X(em0025, "AM", 1, 1, 1, 1, 11, 1, 0, 1, 1, 0, 0, standard, am_block)                     \
    X(em0026, "MTMUP", 1, 0, 0, 0, 10, 0, 0, 0, 0, 1, 1, constantSource, mtmup_block)         \
    X(em0027, "SKYO SKYIO SKYIM SKYIC SKYC", 5, 5, 5, 2, 10, 1, 0, 0, 0, 0, 0, standard,      \
      skyo_block)                                                                            \
    X(em0028, "TSOIL", 1, 2, 2, 1, 16, 8, 0, 7, 10, 0, 2, standard, tsoil_block)              \
    X(em0029, "SKYALL", 1, 5, 5, 2, 10, 1, 0, 0, 0, 0, 0, standard, skyall_block)             \
    X(em0030, "KN", 1, 3, 3, 1, 10, 1, 0, 0, 0, 0, 0, standard, kn_block)                     \
    X(em0031, "BETAMAX SHADF", 2, 2, 3, 1, 10, 1, 0, 2, 3, 0, 0, standard, betamax_block)     \
    X(em0032, "BETAOPT", 1, 2, 2, 1, 10, 1, 0, 0, 0, 0, 0, standard, betaopt_block)           \
    X(em0033, "SEDES3", 1, 6, 6, 1, 11, 116, 0, 5, 5, 0, 0, standard, sedes3_block)           \
    X(em0034, "TDEW", 1, 2, 2, 1, 10, 0, 0, 0, 0, 0, 0, standard, tdew_block)                 \
    X(em0035, "COWV", 1, 1, 1, 1, 11, 0, 0, 0, 1, 0, 0, standard, cowv_block)                 \
    X(em0036, "TAUW", 1, 3, 3, 1, 11, 0, 0, 1, 1, 0, 0, standard, tauw_block)                 \
    X(em0037, "BETGAM", 1, 1, 1, 2, 10, 0, 0, 1, 3, 0, 0, standard, betgam_block)             \
    X(em0038, "PHIOPT", 1, 2, 2, 3, 12, 2, 0, 3, 5, 0, 0, standard, phiopt_block)             \
    X(em0039, "DINCLI", 1, 1, 1, 6, 10, 0, 0, 0, 0, 0, 0, standard, dincli_block)             \
    X(em0040, "MOONAE2", 1, 4, 6, 5, 10, 0, 0, 3, 3, 0, 0, standard, moonae2_block)           \
    X(em0041, "PHI2PSI PSI2PHI", 2, 1, 1, 1, 11, 3, 0, 0, 1, 0, 0, standard, phi2psi_block)   \
    X(em0106, "SUNAE2", 1, 4, 7, 4, 14, 11, 0, 4, 4, 0, 0, standard, sunae2_block)           \
    X(em0108, "GH2GT2", 1, 9, 12, 4, 16, 11, 0, 4, 4, 0, 0, standard, gh2gt2_block)          \
    X(em0112, "GOH2", 1, 4, 7, 1, 10, 0, 0, 3, 3, 0, 0, standard, goh2_block)                \
    X(em0115, "GENG2", 1, 5, 6, 1, 28, 8881, 0, 8, 8, 0, 0, standard, geng2_block)            \
    X(em0116, "GENGD2", 1, 4, 4, 1, 30, 463, 0, 9, 9, 0, 0, standard, gengd2_block)           \
    X(em0117, "GENGH2", 1, 5, 6, 1, 383, 8881, 0, 4, 4, 0, 0, standard, gengh2_block)         \
    X(em0118, "MTM2 MTMLALO2", 2, 1, 1, 9, 15, 95, 0, 0, 6, 0, 1, standard, mtm2_block)       \
    X(em0120, "SUNAEA2", 1, 7, 7, 4, 10, 0, 0, 6, 6, 0, 0, standard, sunaea2_block)          \
    X(em0122, "GENGT2", 1, 10, 12, 3, 35, 26563, 0, 8, 10, 0, 0, standard, gengt2_block)

namespace vireo::em::table {

#define VIREO_EM_IDENTITY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, \
                          maxStr, group, Routine)                                                    \
    inline constexpr block::BlockIdentity routine{#routine, names, nc, minIn, maxIn, out, ip, rp,     \
                                                  dp, minPar, maxPar, minStr, maxStr, block::Group::group}; \
    static_assert(block::wellFormed(routine), "malformed identity of " #routine);
VIREO_EM_BLOCKS(VIREO_EM_IDENTITY)
#undef VIREO_EM_IDENTITY

}  // namespace vireo::em::table

#endif
