// The memo levels and their test. Every property routine records its last call at its
// level; the records double as the call trail of the fatal report.
#include "steam_frame.h"

extern "C" {

// Names start blank and arguments zero, so the first call of every routine misses.
MemoNames stmlvn_ = {{
    {' ', ' ', ' ', ' ', ' ', ' '}, {' ', ' ', ' ', ' ', ' ', ' '}, {' ', ' ', ' ', ' ', ' ', ' '},
    {' ', ' ', ' ', ' ', ' ', ' '}, {' ', ' ', ' ', ' ', ' ', ' '}, {' ', ' ', ' ', ' ', ' ', ' '},
    {' ', ' ', ' ', ' ', ' ', ' '},
}};
MemoLevels stmlvl_ = {};

}  // extern "C"

namespace vireo::steam {

RoutineName routineName(const char* name, std::size_t length) {
    RoutineName result("      ");
    if (name != nullptr) {
        for (std::size_t i = 0; i < 6 && i < length; ++i) result.text[i] = name[i];
    }
    return result;
}

bool memoTest(int level, const RoutineName& name, double x, double y, bool bothCount) {
    double* arguments = levelArguments(level);
    char* stored = levelName(level);
    if (x == arguments[0] && (!bothCount || y == arguments[1]) && sameName(stored, name)) return true;
    arguments[0] = x;
    if (bothCount) arguments[1] = y;
    storeName(stored, name);
    return false;
}

}  // namespace vireo::steam

extern "C" VIREO_STEAM_ROUTINE int spreg_(const double* x, const double* y, const int* n,
                                          const int* level, const char* name, std::size_t nameLength) {
    // A level outside the seven would write outside the blocks: it records nothing.
    if (*level < 1 || *level > 7) return 0;
    const bool bothCount = *n > 1;
    const double second = bothCount ? *y : 0.0;  // not even read when it does not count
    return vireo::steam::memoTest(*level, vireo::steam::routineName(name, nameLength), *x, second, bothCount)
               ? 1
               : 0;
}
