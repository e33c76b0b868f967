// The block routines of libVireoEM: physics only, over a view of the block arrays. The
// identity table (table.h) names each of them; the frame does identification and
// dispatch. Statics of a routine's source file are shared by all instances of the block.
#ifndef VIREO_EM_BLOCKS_H
#define VIREO_EM_BLOCKS_H

#include "BlockFrame.h"

namespace vireo::em {

using block::BlockView;
using block::IdentifyOnly;

struct e0_block {  // E0 GON
    static void init(BlockView& b);
    static void step(BlockView& b);
};
struct et_block {  // ET
    static void init(BlockView& b);
    static void step(BlockView& b);
};
struct sunae_block {  // SUNAE
    static void init(BlockView& b);
    static void step(BlockView& b);
};
struct inang_block {  // INANGE INANGH
    static void init(BlockView& b);
    static void step(BlockView& b);
};
struct sunaea_block {  // SUNAEA
    static void init(BlockView& b);
    static void step(BlockView& b);
};
struct betgam_block {  // BETGAM
    static void init(BlockView& b);
    static void step(BlockView& b);
};
struct dincli_block {  // DINCLI
    static void step(BlockView& b);
};
struct phi2psi_block {  // PHI2PSI PSI2PHI
    static void init(BlockView& b);
    static void step(BlockView& b);
};

}  // namespace vireo::em

#endif
