// Every row of the identity table becomes one exported block function.
#include "table.h"

#include "blocks.h"

namespace vireo::em {
namespace {

using block::BlockIdentity;
using block::Group;

#define VIREO_EM_IDENTITY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, \
                          maxStr, group, Routine)                                                    \
    constexpr BlockIdentity k_##routine{#routine, names, nc, minIn, maxIn, out, ip, rp,             \
                                        dp, minPar, maxPar, minStr, maxStr, Group::group};           \
    static_assert(block::wellFormed(k_##routine), "malformed identity of " #routine);
VIREO_EM_BLOCKS(VIREO_EM_IDENTITY)
#undef VIREO_EM_IDENTITY

}  // namespace
}  // namespace vireo::em

#define VIREO_EM_ENTRY(routine, names, nc, minIn, maxIn, out, ip, rp, dp, minPar, maxPar, minStr, \
                       maxStr, group, Routine)                                                    \
    VIREO_BLOCK(routine, ::vireo::em::k_##routine, ::vireo::em::Routine)
VIREO_EM_BLOCKS(VIREO_EM_ENTRY)
#undef VIREO_EM_ENTRY
