// Text utilities on blank-padded rows.
#include "vireo_tools.h"

#include <cstring>

namespace {

bool inSet(char c, const char* set, size_t setLength) {
    return set != nullptr && std::memchr(set, c, setLength) != nullptr;
}

// Copies n characters into a blank-padded row; true when all of them fit.
bool copyPadded(const char* from, size_t n, char* out, size_t outLength) {
    const size_t k = n < outLength ? n : outLength;
    if (k > 0) std::memmove(out, from, k);
    if (outLength > k) std::memset(out + k, ' ', outLength - k);
    return k == n;
}

}  // namespace

extern "C" {

void strip(const char* in, const char* set, const int* mode, char* out, int* length, int* status,
           size_t inLength, size_t setLength, size_t outLength) {
    if (status != nullptr) *status = 0;
    size_t begin = 0;
    size_t end = in != nullptr ? inLength : 0;
    const int m = mode != nullptr ? *mode : 0;
    if (m == 1 || m == 2)
        while (begin < end && inSet(in[begin], set, setLength)) ++begin;
    if (m != 1)
        while (end > begin && inSet(in[end - 1], set, setLength)) --end;
    const bool fits = out == nullptr || copyPadded(in + begin, end - begin, out, outLength);
    if (length != nullptr) *length = static_cast<int>(fits ? end - begin : outLength);
    if (!fits && status != nullptr) *status = 1;
}

void lc2uc(const char* in, char* out, int* status, size_t inLength, size_t outLength) {
    if (status != nullptr) *status = 0;
    if (out == nullptr) return;
    const bool fits = copyPadded(in, in != nullptr ? inLength : 0, out, outLength);
    for (size_t i = 0; i < outLength; ++i)
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    if (!fits && status != nullptr) *status = 1;
}

}  // extern "C"
