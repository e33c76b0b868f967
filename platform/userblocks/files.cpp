#include "blocks.h"

#include "vireo_tools.h"

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

bool claimFile(BlockView& b, const std::string& name, int fd, bool writes, bool afresh) {
    const std::string self(b.name());
    char other[vireo::block::kRow] = {};
    int otherNumber = 0;
    int otherWrites = 0;
    if (vireo_tools_claim_file(name.c_str(), fd, self.c_str(), b.blockNumber(), writes ? (afresh ? 2 : 1) : 0, other,
                               sizeof other, &otherNumber, &otherWrites) == 0)
        return true;
    vireo::block::Values said{.text = name, .ints = {otherNumber}, .detail = other};
    if (otherNumber == 0) b.report(code::writesTheModel, said);
    else if (!writes) b.report(code::readsWhatIsWritten, said);
    else b.report(otherWrites != 0 ? code::writtenTwice : code::writesWhatIsRead, said);
    return false;
}

void releaseFiles(BlockView& b) { vireo_tools_release_files(std::string(b.name()).c_str(), b.blockNumber()); }

}  // namespace ub
