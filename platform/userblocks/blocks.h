// What the user blocks share beyond the block frame: open files kept in a DP slot
// between calls.
#ifndef VIREO_UB_BLOCKS_H
#define VIREO_UB_BLOCKS_H

#include "BlockFrame.h"
#include "Files.h"
#include "messages.h"
#include "params.h"
#include "table.h"

#include <cstdio>
#include <string>

namespace ub {

using vireo::block::BlockView;
using vireo::block::claimFile;
using vireo::block::FileUse;
using vireo::block::releaseFiles;
using vireo::block::refused;
using vireo::block::Rule;
using vireo::block::View;

// A string parameter without the blanks around it.
inline std::string text(const BlockView& b, int row) { return std::string(b.trimmedText(row)); }

// An object the block owns between calls, kept in DP[slot]: the slot holds the pointer's
// bits, not a number; 0 (the engine's zero fill) is none.
void* pointerAt(BlockView& b, int slot);
void keepPointer(BlockView& b, int slot, void* p);
// An open file kept the same way.
inline std::FILE* fileAt(BlockView& b, int slot) { return static_cast<std::FILE*>(pointerAt(b, slot)); }
inline void keepFile(BlockView& b, int slot, std::FILE* file) { keepPointer(b, slot, file); }

}  // namespace ub

#endif
