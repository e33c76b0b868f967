// A block's identity: its name list and the twelve integers it declares in its
// identification call. A block library keeps one table of these; everything the engine
// learns about a block comes from that table.
#ifndef VIREO_BLOCK_IDENTITY_H
#define VIREO_BLOCK_IDENTITY_H

#include "BlockProtocol.h"

#include <cstddef>

namespace vireo::block {

using protocol::kRow;

// The twelfth identification integer.
enum class Group : int {
    unsorted = protocol::group::kUnsorted,
    constantSource = protocol::group::kConstantSource,
    timer = protocol::group::kTimer,
    timerNoProgress = protocol::group::kTimerNoProgress,
    standard = protocol::group::kStandard,
    loop = protocol::group::kLoop,
    loopTop = protocol::group::kLoopTop,
    delay = protocol::group::kDelay,
    iteration = protocol::group::kIteration,
};

struct BlockIdentity {
    const char* routine;  // exported function name, e.g. "em0006"
    const char* names;    // upper-case names separated by one blank, main name first
    int nameCount;
    int minInputs;
    int maxInputs;
    int outputCount;
    int ipSize;  // counts the ten protocol slots
    int rpSize;
    int dpSize;
    int minParameters;
    int maxParameters;
    int minStrings;
    int maxStrings;
    Group group;
    // The SP row length the block hands to id and msg. A few blocks declare a shorter row
    // than the engine's; id answers alike for every length, and msg reads the message's
    // text and the block's name in rows of this length, so a longer text is cut.
    std::size_t spRow = kRow;
};

// Checks a table row can be held to at compile time: a name list the engine can split
// (one blank between names, as many names as declared), room for the protocol slots and
// limits that are not upside down.
constexpr bool wellFormed(const BlockIdentity& b) {
    int words = 0;
    bool inWord = false;
    std::size_t length = 0;
    for (const char* p = b.names; *p != '\0'; ++p, ++length) {
        const bool blank = *p == ' ';
        if (blank && (!inWord || p[1] == ' ' || p[1] == '\0')) return false;
        if (!blank && !inWord) ++words;
        if (!blank && *p >= 'a' && *p <= 'z') return false;
        inWord = !blank;
    }
    return length > 0 && length < kRow && words == b.nameCount && b.ipSize >= protocol::ipSlot::kProtocolSlots &&
           b.minInputs >= 0 && b.minInputs <= b.maxInputs && b.outputCount >= 0 && b.rpSize >= 0 &&
           b.dpSize >= 0 && b.minParameters >= 0 && b.minParameters <= b.maxParameters &&
           b.minStrings >= 0 && b.minStrings <= b.maxStrings && b.spRow > 0 && b.spRow <= kRow;
}

// Two rows whose arrays have the same sizes: a block of one can run on the other's view.
constexpr bool sameShape(const BlockIdentity& a, const BlockIdentity& b) {
    return a.minInputs == b.minInputs && a.maxInputs == b.maxInputs && a.outputCount == b.outputCount &&
           a.ipSize == b.ipSize && a.rpSize == b.rpSize && a.dpSize == b.dpSize &&
           a.minParameters == b.minParameters && a.maxParameters == b.maxParameters &&
           a.minStrings == b.minStrings && a.maxStrings == b.maxStrings;
}

}  // namespace vireo::block

#endif
