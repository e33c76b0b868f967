#include "blocks.h"

#include <cstdint>
#include <cstring>

namespace ub {

static_assert(sizeof(double) == sizeof(std::uintptr_t), "a pointer is kept in one DP slot");

void* pointerAt(BlockView& b, int slot) {
    std::uintptr_t bits = 0;
    std::memcpy(&bits, &b.dp(slot), sizeof bits);
    return reinterpret_cast<void*>(bits);
}

void keepPointer(BlockView& b, int slot, void* p) {
    const auto bits = reinterpret_cast<std::uintptr_t>(p);
    std::memcpy(&b.dp(slot), &bits, sizeof bits);
}

}  // namespace ub
