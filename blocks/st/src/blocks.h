// The block routines of libVireoST: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays.
#ifndef VIREO_ST_BLOCKS_H
#define VIREO_ST_BLOCKS_H

#include "BlockFrame.h"
#include "messages.h"
#include "table.h"

#include <cfloat>

namespace vireo::st {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

// The check of a parameter that may be any finite number.
constexpr Rule finiteParameter(int parameter) {
    return {.parameter = parameter, .low = -FLT_MAX, .high = FLT_MAX, .code = code::notANumber};
}

struct tankst_block {  // TANKST
    using View = block::View<table::st0003>;
    static void init(View& b);
    static void step(View& b);
};
struct sceta_block {  // SCETA
    using View = block::View<table::st0008>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct satp_block {  // SATP SATT
    using View = block::View<table::st0009>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct h2oh_block {  // H2OHL H2OHV H2OHE
    using View = block::View<table::st0010>;
    static void init(View& b);
    static void step(View& b);
};
struct air_block {  // AIR
    using View = block::View<table::st0012>;
    static void step(View& b);
};
struct hum_block {  // HUMA2R HUMR2A HUMH2T HUMH HUMH2X
    using View = block::View<table::st0013>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct lbw_block {  // LBWH LBWT LBWP LBWX
    using View = block::View<table::st0025>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct acm_block {  // ACM
    using View = block::View<table::st0026>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct scdyn_block {  // SCDYN
    using View = block::View<table::st0027>;
    static void init(View& b);
    static void step(View& b);
};
struct tankfm_block {  // TANKFM
    using View = block::View<table::st0028>;
    static void init(View& b);
    static void step(View& b);
};
struct mixqhc_block {  // MIXQHC
    using View = block::View<table::st0011>;
    static void init(View& b);
    static void step(View& b);
};
struct tublod_block {  // TUBLOD
    using View = block::View<table::st0032>;
    static void init(View& b);
    static void step(View& b);
};
struct mixer_block {  // MIXER
    using View = block::View<table::st0034>;
    static void step(View& b);
};
struct ctrhys_block {  // CTRHYS
    using View = block::View<table::st0036>;
    static void init(View& b);
    static void step(View& b);
};
struct ctrl4dy_block {  // CTRL4DY
    using View = block::View<table::st0039>;
    static void init(View& b);
    static void step(View& b);
};
struct ctrlda_block {  // CTRLDA
    using View = block::View<table::st0040>;
    static void init(View& b);
    static void step(View& b);
};
struct threev_block {  // THREEV
    using View = block::View<table::st0041>;
    static void init(View& b);
    static void step(View& b);
};
struct tublo_block {  // TUBLO
    using View = block::View<table::st0042>;
    static void init(View& b);
    static void step(View& b);
};
struct r134a_block {  // R134A
    using View = block::View<table::st0043>;
    static void step(View& b);
};

}  // namespace vireo::st

#endif
