#include "blocks.h"

#include <cstdint>
#include <cstring>

namespace ub {

static_assert(sizeof(double) == sizeof(std::uintptr_t), "a file pointer is kept in one DP slot");

std::FILE* fileAt(BlockView& b, int slot) {
    std::uintptr_t bits = 0;
    std::memcpy(&bits, &b.dp(slot), sizeof bits);
    return reinterpret_cast<std::FILE*>(bits);
}

void keepFile(BlockView& b, int slot, std::FILE* file) {
    const auto bits = reinterpret_cast<std::uintptr_t>(file);
    std::memcpy(&b.dp(slot), &bits, sizeof bits);
}

}  // namespace ub
