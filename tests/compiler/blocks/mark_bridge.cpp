// An editor bridge for tests: it has only markPlumoBlock, and logs each mark as
// "mark <block number>" to the file that VIREO_BRIDGE_LOG names.
#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((visibility("default"))) void markPlumoBlock(int blockNumber) {
    const char* path = std::getenv("VIREO_BRIDGE_LOG");
    if (path == nullptr) return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "mark %d\n", blockNumber);
        std::fclose(f);
    }
}
