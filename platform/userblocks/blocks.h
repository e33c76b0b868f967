// What the user blocks share beyond the block frame: open files kept in a DP slot
// between calls.
#ifndef VIREO_UB_BLOCKS_H
#define VIREO_UB_BLOCKS_H

#include "BlockFrame.h"
#include "messages.h"
#include "table.h"

#include <cstdio>
#include <string>

namespace ub {

using vireo::block::BlockView;
using vireo::block::Rule;
using vireo::block::View;

// A string parameter without the blanks around it.
inline std::string text(const BlockView& b, int row) { return std::string(b.trimmedText(row)); }

// An open file kept in DP[slot]: the slot holds the pointer's bits, not a number; 0
// (the engine's zero fill) is no file.
std::FILE* fileAt(BlockView& b, int slot);
void keepFile(BlockView& b, int slot, std::FILE* file);

}  // namespace ub

#endif
