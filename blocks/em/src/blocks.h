// The block routines of libVireoEM: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays.
#ifndef VIREO_EM_BLOCKS_H
#define VIREO_EM_BLOCKS_H

#include "BlockFrame.h"
#include "eastward.h"
#include "messages.h"
#include "table.h"
#include "tilted.h"

namespace vireo::em {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

struct planck_block {  // PLANCK
    using View = block::View<table::em0001>;
    static void init(View& b);
    static void step(View& b);
};
struct e0_block {  // E0 GON
    using View = block::View<table::em0002>;
    static void init(View& b);
    static void step(View& b);
};
struct et_block {  // ET
    using View = block::View<table::em0003>;
    static void init(View& b);
    static void step(View& b);
};
struct gtloss_block {  // GTLOSS
    using View = block::View<table::em0004>;
    static void init(View& b);
    static void step(View& b);
};
struct sunae_block {  // SUNAE
    struct P {
        enum : int { series, latitude, longitude, timeZone };
        // The site is checked by checkSite, after the eastward form has rewritten it.
        static constexpr block::Param table[] = {
            {"Series", "-", block::mode(3), code::badMode},
            {"Latitude", "degrees"},
            {"Longitude", "degrees"},
            {"Time zone", "h"},
        };
    };
    using View = block::View<table::em0006, P>;
    static void init(View& b);
    static void step(View& b);
};
struct inang_block {  // INANGE INANGH
    using View = block::View<table::em0007>;
    static void init(View& b);
    static void step(View& b);
};
struct gh2gt_block {  // GH2GT
    struct P {
        enum : int { model, latitude, longitude, timeZone };
        // The site is checked as SUNAE's.
        static constexpr block::Param table[] = {
            {"Sky-diffuse model", "-", block::mode(kSkyModels), code::badModel},
            {"Latitude", "degrees"},
            {"Longitude", "degrees"},
            {"Time zone", "h"},
        };
    };
    using View = block::View<table::em0008, P>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct g2gdh_block {  // G2GDH
    using View = block::View<table::em0009>;
    static void init(View& b);
    static void step(View& b);
};
struct g2gdd_block {  // G2GDD
    using View = block::View<table::em0010>;
    static void init(View& b);
    static void step(View& b);
};
struct g2gdm_block {  // G2GDM
    using View = block::View<table::em0011>;
    static void init(View& b);
    static void step(View& b);
};
struct goh_block {  // GOH
    using View = block::View<table::em0012>;
    static void init(View& b);
    static void step(View& b);
};
struct gmean_block {  // GMEAN
    using View = block::View<table::em0013>;
    static void init(View& b);
    static void step(View& b);
};
struct gbn2gbt_block {  // GBN2GBT
    using View = block::View<table::em0019>;
    static void step(View& b);
};
struct sunaea_block {  // SUNAEA
    struct P {
        enum : int { series, latitude, longitude, timeZone, interval, subSteps };
        // The site is checked as SUNAE's, by checkSite: after the eastward forms rewrite it.
        static constexpr block::Param table[] = {
            {"Series", "-"},
            {"Latitude", "degrees"},
            {"Longitude", "degrees"},
            {"Time zone", "h"},
            {"Length of the averaging interval", "min"},
            // Computed in every step: a mistyped count must not stall the run.
            {"Number of sub-steps over the interval", "-", block::whole(0, 100000), code::badSubSteps},
        };
    };
    using View = block::View<table::em0020, P>;
    static void init(View& b);
    static void step(View& b);
};
struct disgr_block {  // DISGR
    using View = block::View<table::em0023>;
    static void init(View& b);
    static void step(View& b);
};
struct betamax_block {  // BETAMAX SHADF
    using View = block::View<table::em0031>;
    static void init(View& b);
    static void step(View& b);
};
struct betaopt_block {  // BETAOPT
    using View = block::View<table::em0032>;
    static void init(View& b);
    static void step(View& b);
};
struct betgam_block {  // BETGAM
    using View = block::View<table::em0037>;
    static void init(View& b);
    static void step(View& b);
};
struct phiopt_block {  // PHIOPT
    using View = block::View<table::em0038>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct dincli_block {  // DINCLI
    using View = block::View<table::em0039>;
    static void step(View& b);
};
struct phi2psi_block {  // PHI2PSI PSI2PHI
    using View = block::View<table::em0041>;
    static void init(View& b);
    static void step(View& b);
};

struct tsky_block {  // TSKY
    using View = block::View<table::em0021>;
    static void init(View& b);
    static void step(View& b);
};
struct atm1976_block {  // ATM1976
    using View = block::View<table::em0024>;
    static void step(View& b);
};
struct am_block {  // AM
    using View = block::View<table::em0025>;
    static void init(View& b);
    static void step(View& b);
};
struct skyo_block {  // SKYO SKYIO SKYIM SKYIC SKYC
    using View = block::View<table::em0027>;
    static void init(View& b);
    static void step(View& b);
};
struct skyall_block {  // SKYALL
    using View = block::View<table::em0029>;
    static void init(View& b);
    static void step(View& b);
};
struct kn_block {  // KN
    using View = block::View<table::em0030>;
    static void init(View& b);
    static void step(View& b);
};
struct sedes3_block {  // SEDES3
    using View = block::View<table::em0033>;
    static void init(View& b);
    static void step(View& b);
};
struct tdew_block {  // TDEW
    using View = block::View<table::em0034>;
    static void step(View& b);
};
struct cowv_block {  // COWV
    using View = block::View<table::em0035>;
    static void init(View& b);
    static void step(View& b);
};
struct tauw_block {  // TAUW
    using View = block::View<table::em0036>;
    static void init(View& b);
    static void step(View& b);
};

struct genv_block {  // GENV
    using View = block::View<table::em0005>;
    static void init(View& b);
    static void step(View& b);
};
struct tsoil_block {  // TSOIL
    using View = block::View<table::em0028>;
    static void init(View& b);
    static void step(View& b);
};
struct tmean_block {  // TMEAN
    using View = block::View<table::em0014>;
    static void init(View& b);
    static void step(View& b);
};
struct geng_block {  // GENG
    using View = block::View<table::em0015>;
    static void init(View& b);
    static void step(View& b);
};
struct gengd_block {  // GENGD
    using View = block::View<table::em0016>;
    static void init(View& b);
    static void step(View& b);
};
struct gengh_block {  // GENGH
    using View = block::View<table::em0017>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct gengt_block {  // GENGT
    using View = block::View<table::em0022>;
    static void init(View& b);
    static void step(View& b);
};
struct moonae2_block {  // MOONAE2
    using View = block::View<table::em0040>;
    static void init(View& b);
    static void step(View& b);
};
// The blocks of the second sign convention: longitude and time zone counted positive
// east, rewritten once at initialisation into the first convention of the block they
// hand every call to.
using sunae2_block = eastward<sunae_block, 2, 3>;      // SUNAE2
using gh2gt2_block = eastward<gh2gt_block, 2, 3>;      // GH2GT2
using goh2_block = eastward<goh_block, 1, 2>;          // GOH2
using sunaea2_block = eastward<sunaea_block, 2, 3>;    // SUNAEA2
using geng2_block = eastward<geng_block, 1, 2>;        // GENG2
using gengd2_block = eastward<gengd_block, 2, 3>;      // GENGD2
using gengh2_block = eastward<gengh_block, 1, 2>;      // GENGH2
using gengt2_block = eastward<gengt_block, 1, 2>;      // GENGT2

struct mtm_block {  // MTM MTMLALO
    using View = block::View<table::em0018>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
using mtm2_block = eastward<mtm_block, 1>;             // MTM2 MTMLALO2

struct mtmup_block {  // MTMUP
    using View = block::View<table::em0026>;
    static void init(View& b);
    static void step(View& b);
};

}  // namespace vireo::em

#endif
