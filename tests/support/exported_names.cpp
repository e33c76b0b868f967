#include "exported_names.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace vireo_test {

std::vector<std::string> exportedNames(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::vector<std::string> names;
    if (bytes.size() < sizeof(Elf64_Ehdr)) return names;
    Elf64_Ehdr eh;
    std::memcpy(&eh, bytes.data(), sizeof eh);
    auto section = [&](size_t i) {
        Elf64_Shdr sh;
        std::memcpy(&sh, bytes.data() + eh.e_shoff + i * eh.e_shentsize, sizeof sh);
        return sh;
    };
    for (size_t i = 0; i < eh.e_shnum; ++i) {
        const Elf64_Shdr sym = section(i);
        if (sym.sh_type != SHT_DYNSYM) continue;
        const Elf64_Shdr str = section(sym.sh_link);
        for (size_t k = 1; k < sym.sh_size / sizeof(Elf64_Sym); ++k) {
            Elf64_Sym s;
            std::memcpy(&s, bytes.data() + sym.sh_offset + k * sizeof s, sizeof s);
            const int bind = ELF64_ST_BIND(s.st_info);
            if (s.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
            if (ELF64_ST_VISIBILITY(s.st_other) != STV_DEFAULT) continue;
            names.emplace_back(bytes.data() + str.sh_offset + s.st_name);
        }
    }
    return names;
}

}  // namespace vireo_test
