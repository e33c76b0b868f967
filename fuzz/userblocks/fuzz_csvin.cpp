// CSVIN over arbitrary file contents: initialisation, steps until the block asks to stop
// (or 64 steps), and the last call, under every end-of-file rule, with and without a
// column list. The file lives in
// memory and is opened by the block through its /proc name. The arrays come from the
// block's identity, so that the sanitizers see an access past any of them.
#include "block_harness.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int ubcsvin(float*, float*, int*, float*, double*, float*, char (*)[1024]);

namespace {

int memoryFile = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::freopen("/dev/null", "w", stdout);  // the block's messages
    memoryFile = memfd_create("csvin", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || memoryFile < 0 || ftruncate(memoryFile, 0) != 0) return 0;
    if (pwrite(memoryFile, data + 1, size - 1, 0) != static_cast<ssize_t>(size - 1)) return 0;
    const std::string name = "/proc/self/fd/" + std::to_string(memoryFile);
    // The first byte: the end-of-file rule (two bits) and the column list (the next two).
    static const char* const lists[] = {"", "2 1", "3", "1,x"};
    const char* list = lists[(data[0] / 4) % 4];
    std::vector<std::string> strings{name};
    if (*list != '\0') strings.emplace_back(list);
    vireo_test::BlockInstance csvin(ubcsvin, {.parameters = {static_cast<float>(data[0] % 4)}, .strings = strings});
    csvin.init();
    for (int i = 0; i < 64; ++i) {
        csvin.step();
        if (csvin.IP[1] > 1) break;
    }
    csvin.last();
    return 0;
}
