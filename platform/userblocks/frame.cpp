#include "frame.h"

#include "vireo_tools.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ub {

void answerIdentity(const Arrays& a, const Identity& id) {
    const int group = id.group;
    ::id(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP ? a.SP[0] : nullptr, id.names, &id.nameCount,
         &id.minInputs, &id.maxInputs, &id.outputCount, &id.ipSize, &id.rpSize, &id.dpSize,
         &id.minParameters, &id.maxParameters, &id.minStrings, &id.maxStrings, &group, kRow, kRow);
}

void report(const Arrays& a, int code, int value) {
    a.IP[status] = code;
    a.IP[messageValue] = value;
    msg(a.IP, a.RP, a.SP ? a.SP[0] : nullptr, kRow);
}

void reportReal(const Arrays& a, int code, float value) {
    if (a.RP != nullptr) a.RP[0] = value;
    report(a, code, 0);
}

std::string text(const Arrays& a, int row) {
    if (a.SP == nullptr) return {};
    const char* r = a.SP[row];
    std::size_t begin = 0;
    std::size_t end = kRow;
    while (end > 0 && (r[end - 1] == ' ' || r[end - 1] == '\0')) --end;
    while (begin < end && r[begin] == ' ') ++begin;
    return std::string(r + begin, end - begin);
}

static_assert(sizeof(double) == sizeof(std::uintptr_t), "a file pointer is kept in one DP slot");

std::FILE* fileAt(const Arrays& a, int slot) {
    std::uintptr_t bits = 0;
    std::memcpy(&bits, &a.DP[slot], sizeof bits);
    return reinterpret_cast<std::FILE*>(bits);
}

void keepFile(const Arrays& a, int slot, std::FILE* file) {
    const auto bits = reinterpret_cast<std::uintptr_t>(file);
    std::memcpy(&a.DP[slot], &bits, sizeof bits);
}

long long rounded(float value, long long low, long long high, long long fallback) {
    if (!std::isfinite(value)) return fallback;
    const double r = std::round(static_cast<double>(value));
    if (r < static_cast<double>(low) || r > static_cast<double>(high)) return fallback;
    return static_cast<long long>(r);
}

}  // namespace ub
