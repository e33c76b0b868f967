// Hand-made library files for the symbol-table readers: small enough to reason about
// byte by byte, and the seeds from which the fuzz target starts.
#ifndef VIREO_TEST_LIBRARY_IMAGES_H
#define VIREO_TEST_LIBRARY_IMAGES_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vireo_test {

using Buffer = std::vector<unsigned char>;

inline void put(Buffer& b, std::size_t at, std::uint64_t v, int bytes, bool big = false) {
    if (b.size() < at + bytes) b.resize(at + bytes);
    for (int k = 0; k < bytes; ++k) b[at + (big ? bytes - 1 - k : k)] = static_cast<unsigned char>(v >> (8 * k));
}

// A 64-bit Mach-O file: a segment command, then the symbol-table command whose string
// table ends the file.
inline const std::string kStrings(" \0_tb0001\0_info\0\0\0_ubDemo\0_tail", 31);
inline Buffer machFile(const std::string& strings = kStrings) {
    Buffer b;
    put(b, 0, 0xfeedfacf, 4);
    put(b, 16, 2, 4);        // commands
    put(b, 32, 0x19, 4);     // segment
    put(b, 36, 72, 4);
    put(b, 104, 2, 4);       // symbol table
    put(b, 108, 24, 4);
    put(b, 120, 128, 4);     // string table offset
    put(b, 124, strings.size(), 4);
    b.insert(b.end(), strings.begin(), strings.end());
    return b;
}

// An ELF file holding only a dynamic symbol table and its strings, in either class and
// byte order.
inline Buffer elfFile(bool wide, bool big) {
    const std::string strings("\0tb0001\0imported\0data\0local\0hidden\0weakfn\0", 42);
    struct Sym { std::uint32_t name; unsigned info; unsigned other; std::uint16_t section; };
    const Sym syms[] = {{0, 0, 0, 0},         {1, 0x12, 0, 7},  {8, 0x12, 0, 0}, {17, 0x11, 0, 8},
                        {22, 0x02, 0, 7},     {28, 0x12, 2, 7}, {35, 0x22, 0, 7}};
    const std::size_t symSize = wide ? 24 : 16, shSize = wide ? 64 : 40, header = wide ? 64 : 52;
    const std::size_t symAt = header, strAt = symAt + 7 * symSize, shAt = strAt + strings.size();
    Buffer b(shAt + 3 * shSize, 0);
    b[0] = 0x7f, b[1] = 'E', b[2] = 'L', b[3] = 'F', b[4] = wide ? 2 : 1, b[5] = big ? 2 : 1;
    put(b, wide ? 40 : 32, shAt, wide ? 8 : 4, big);
    put(b, wide ? 58 : 46, shSize, 2, big);
    put(b, wide ? 60 : 48, 3, 2, big);
    for (int k = 0; k < 7; ++k) {
        const std::size_t at = symAt + k * symSize;
        put(b, at, syms[k].name, 4, big);
        put(b, at + (wide ? 4 : 12), syms[k].info, 1);
        put(b, at + (wide ? 5 : 13), syms[k].other, 1);
        put(b, at + (wide ? 6 : 14), syms[k].section, 2, big);
    }
    std::copy(strings.begin(), strings.end(), b.begin() + strAt);
    auto section = [&](int k, int type, std::size_t offset, std::size_t size, int link, std::size_t entry) {
        const std::size_t at = shAt + k * shSize;
        const int word = wide ? 8 : 4;
        put(b, at + 4, type, 4, big);
        put(b, at + (wide ? 24 : 16), offset, word, big);
        put(b, at + (wide ? 32 : 20), size, word, big);
        put(b, at + (wide ? 40 : 24), link, 4, big);
        put(b, at + (wide ? 56 : 36), entry, word, big);
    };
    section(1, 11, symAt, 7 * symSize, 2, symSize);
    section(2, 3, strAt, strings.size(), 0, 0);
    return b;
}

}  // namespace vireo_test

#endif
