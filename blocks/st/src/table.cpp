// Every row of the identity table becomes one exported block function.
#include "table.h"

#include "blocks.h"

#define VIREO_ST_ENTRY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, maxStr, \
                       group, row, Routine)                                                                \
    VIREO_BLOCK(routine, ::vireo::st::table::routine, ::vireo::st::Routine)
VIREO_ST_BLOCKS(VIREO_ST_ENTRY)
#undef VIREO_ST_ENTRY
