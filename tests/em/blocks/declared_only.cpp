// A block library of one block that is declared and not built: it answers the
// identification call and refuses initialisation, as every library's unbuilt rows do.
#include "BlockFrame.h"

namespace {

constexpr vireo::block::BlockIdentity kDeclared{
    .routine = "tb0901",
    .names = "DECLARED",
    .nameCount = 1,
    .minInputs = 0,
    .maxInputs = 0,
    .outputCount = 0,
    .ipSize = 10,
    .rpSize = 0,
    .dpSize = 0,
    .minParameters = 0,
    .maxParameters = 0,
    .minStrings = 1,
    .maxStrings = 1,
    .group = vireo::block::Group::constantSource,
};
static_assert(vireo::block::wellFormed(kDeclared));

}  // namespace

VIREO_BLOCK(tb0901, kDeclared, ::vireo::block::IdentifyOnly)
