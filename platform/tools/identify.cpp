// id: the block side of the identification call.
#include "vireo_tools.h"

#include <cstring>

extern "C" void id(float* IN, float* OUT, int* IP, float* /*RP*/, double* /*DP*/, float* /*BP*/,
                   char* SP, const char* names, const int* nameCount, const int* minInputs,
                   const int* maxInputs, const int* outputCount, const int* ipSize,
                   const int* rpSize, const int* dpSize, const int* minParameters,
                   const int* maxParameters, const int* minStrings, const int* maxStrings,
                   const int* group, size_t /*spLength*/, size_t /*namesLength*/) {
    // The engine hands one float each for IN and OUT, ten ints for IP and one
    // 1024-character row for SP during identification; nothing else may be touched.
    if (IN == nullptr || OUT == nullptr || IP == nullptr) return;
    IP[0] = *nameCount;
    IP[1] = *minInputs;
    IN[0] = static_cast<float>(*maxInputs);
    OUT[0] = static_cast<float>(*outputCount);
    IP[2] = *ipSize;
    IP[3] = *minParameters;
    IP[4] = *minStrings;
    IP[5] = *maxStrings;
    IP[6] = *group;
    IP[7] = *rpSize;
    IP[8] = *dpSize;
    IP[9] = *maxParameters;
    if (SP == nullptr) return;
    // Name lists come blank- or NUL-padded and callers disagree on their length, so the
    // list ends at its first NUL or after one row, whichever comes first.
    constexpr size_t kRow = 1024;
    size_t n = 0;
    if (names != nullptr)
        while (n < kRow && names[n] != '\0') ++n;
    std::memcpy(SP, names, n);
    std::memset(SP + n, ' ', kRow - n);
}
