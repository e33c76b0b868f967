// Every row of the identity table becomes one exported block function.
#include "table.h"

#include "blocks.h"

#define VIREO_EM_ENTRY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, \
                       maxStr, group, Routine)                                                    \
    VIREO_BLOCK(routine, ::vireo::em::table::routine, ::vireo::em::Routine)
VIREO_EM_BLOCKS(VIREO_EM_ENTRY)
#undef VIREO_EM_ENTRY
