// An editor bridge for the run tests that writes only part of the poll buffers, as a
// careless editor might: the first poll names the constant "RATEX" (value 2.5), the
// second writes the four characters "RATE" without a terminator (value 7), and every
// later poll writes nothing at all. updateInOut logs "block nin in out" to the file that
// VIREO_BRIDGE_LOG names, with "null" for a null array and the outputs otherwise.
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int polls = 0;

void logLine(const char* text) {
    const char* path = std::getenv("VIREO_BRIDGE_LOG");
    if (path == nullptr) return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fputs(text, f);
        std::fclose(f);
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void getBpFromPlumo(int pair[2], float* value, char text[80]) {
    ++polls;
    if (polls > 2) return;
    pair[0] = 99;
    pair[1] = 1;
    *value = polls == 1 ? 2.5f : 7.0f;
    if (polls == 1) std::memcpy(text, "RATEX", 6);
    else std::memcpy(text, "RATE", 4);
}

extern "C" __attribute__((visibility("default"))) void updateInOut(int block, int nIn, float* in, int nOut,
                                                                   float* out) {
    char line[256];
    int n = std::snprintf(line, sizeof line, "%d %d %s", block, nIn, in == nullptr ? "null" : "in");
    if (out == nullptr) {
        n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), " null");
    } else {
        for (int k = 0; k < nOut && k < 8; ++k)
            n += std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), " %g", static_cast<double>(out[k]));
    }
    std::snprintf(line + n, sizeof line - static_cast<std::size_t>(n), "\n");
    logLine(line);
}
