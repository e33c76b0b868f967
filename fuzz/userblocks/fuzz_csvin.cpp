// CSVIN over arbitrary file contents: initialisation, steps until the block asks to stop
// (or 64 steps), and the last call, under every end-of-file rule. The file lives in
// memory and is opened by the block through its /proc name.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

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
    float out[20] = {}, rp[1] = {}, bp[1] = {static_cast<float>(data[0] % 4)};
    double dp[3] = {};
    int ip[16] = {0, 1, 1, 1, 0};
    char sp[1][1024];
    std::memset(sp, ' ', sizeof sp);
    std::memcpy(sp[0], name.data(), name.size());
    ubcsvin(nullptr, out, ip, rp, dp, bp, sp);
    for (int i = 0; i < 64; ++i) {
        ip[0] = 0, ip[1] = 0, ip[5] = 2;
        ubcsvin(nullptr, out, ip, rp, dp, bp, sp);
        if (ip[1] > 1) break;
    }
    ip[0] = 0, ip[1] = 2;
    ubcsvin(nullptr, out, ip, rp, dp, bp, sp);
    return 0;
}
