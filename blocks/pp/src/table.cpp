// Every row of the identity table becomes one exported block function.
#include "table.h"

#include "blocks.h"

#define VIREO_PP_ENTRY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, \
                       maxStr, group, Routine)                                                    \
    VIREO_BLOCK(routine, ::vireo::pp::table::routine, ::vireo::pp::Routine)
VIREO_PP_BLOCKS(VIREO_PP_ENTRY)
#undef VIREO_PP_ENTRY
