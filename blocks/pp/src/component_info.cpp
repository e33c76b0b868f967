// The library's component line, shown by the engine's component list.
#include "BlockFrame.h"
#include "ComponentInfo.h"

extern "C" VIREO_BLOCK_EXPORT char* info() {
    return vireo::block::componentInfo("development_20211115_bcc4376", "libVireoPP");
}
