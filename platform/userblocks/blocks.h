// What the user blocks share beyond the block frame: messages with a value, and open
// files kept in a DP slot between calls.
#ifndef VIREO_UB_BLOCKS_H
#define VIREO_UB_BLOCKS_H

#include "BlockFrame.h"
#include "table.h"

#include <cstdio>
#include <string>

namespace ub {

using vireo::block::BlockView;

// Shows message `code` with `value` as its messageValue, leaving the code in status.
inline void report(BlockView& b, int code, int value) {
    b.setMessageValue(value);
    b.report(code);
}
// The same for messages that show a real value: it travels in RP[0], so every block
// that uses this declares an rpSize of at least 1.
inline void reportReal(BlockView& b, int code, float value) {
    b.rp(0) = value;
    b.report(code);
}

// A string parameter without the blanks around it.
inline std::string text(const BlockView& b, int row) { return std::string(b.trimmedText(row)); }

// An open file kept in DP[slot]: the slot holds the pointer's bits, not a number; 0
// (the engine's zero fill) is no file.
std::FILE* fileAt(BlockView& b, int slot);
void keepFile(BlockView& b, int slot, std::FILE* file);

}  // namespace ub

#endif
