// What the loader's test block libraries share: the block signature, the identification
// answer through the utility library's id, and an info line like a shipped library's.
#ifndef VIREO_TEST_BLOCK_H
#define VIREO_TEST_BLOCK_H

#include "vireo_tools.h"

#include <cstring>
#include <string>

#define TB_EXPORT extern "C" __attribute__((visibility("default")))
#define TB_BLOCK(name) \
    TB_EXPORT int name(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char(*SP)[1024])

namespace tb {

constexpr int kIdentify = -1;

// The twelve integers in the order a block declares them.
struct Identity {
    const char* names;
    int nameCount, minInputs, maxInputs, outputCount, ipSize, rpSize, dpSize;
    int minParameters, maxParameters, minStrings, maxStrings, group;
};

inline void identify(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char (*SP)[1024],
                     const Identity& d) {
    char row[1024];
    std::memset(row, ' ', sizeof row);
    std::memcpy(row, d.names, std::strlen(d.names));
    id(IN, OUT, IP, RP, DP, BP, SP == nullptr ? nullptr : SP[0], row, &d.nameCount, &d.minInputs, &d.maxInputs,
       &d.outputCount, &d.ipSize, &d.rpSize, &d.dpSize, &d.minParameters, &d.maxParameters, &d.minStrings,
       &d.maxStrings, &d.group, 1024, 1024);
}

inline char* infoLine(const std::string& tag, const std::string& library) {
    std::string line = "\t" + tag;
    if (tag.size() < 35) line.append(35 - tag.size(), ' ');
    line += library;
    if (library.size() < 10) line.append(10 - library.size(), ' ');
    char* text = new char[line.size() + 1];
    std::memcpy(text, line.c_str(), line.size() + 1);
    return text;
}

}  // namespace tb

#endif
