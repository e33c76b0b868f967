// info: the library's line in the engine's component list.
#include "BlockFrame.h"
#include "ComponentInfo.h"

extern "C" VIREO_BLOCK_EXPORT char* info() { return vireo::block::componentInfo("userblocks_8.3.0", "libVireoUB"); }
