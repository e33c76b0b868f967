#include "library_table.h"

#include <elf.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace vireo_test {

std::vector<std::string> identityMismatches(const BlockLibrary& library, std::span<const PublishedRow> rows) {
    std::vector<std::string> faults;
    for (const PublishedRow& row : rows) {
        void* f = library.symbol(row.routine);
        if (f == nullptr) {
            faults.push_back(std::string(row.routine) + ": not in the library");
            continue;
        }
        const Identity id = identify(reinterpret_cast<BlockFunction>(f));
        std::istringstream s(row.integers);
        std::array<int, 12> expected{};
        for (int& v : expected) s >> v;
        std::ostringstream answered;
        for (int v : id.ints) answered << (answered.tellp() > 0 ? " " : "") << v;
        if (!id.answered || id.nameList != row.names || id.ints != expected)
            faults.push_back(std::string(row.routine) + ": answers \"" + id.nameList + "\" " + answered.str() +
                             (id.answered ? "" : " (no answer)"));
    }
    return faults;
}

std::set<std::string> blockFormNames(const std::vector<std::string>& names) {
    const std::regex blockName("[a-zA-Z]{2}[0-9]{4}");
    std::set<std::string> blocks;
    for (const std::string& name : names)
        if (std::regex_match(name, blockName) || name.rfind("ub", 0) == 0) blocks.insert(name);
    return blocks;
}

std::set<std::string> routinesOf(std::span<const PublishedRow> rows) {
    std::set<std::string> routines;
    for (const PublishedRow& row : rows) routines.insert(row.routine);
    return routines;
}

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
            const int visibility = ELF64_ST_VISIBILITY(s.st_other);
            if (visibility != STV_DEFAULT && visibility != STV_PROTECTED) continue;
            names.emplace_back(bytes.data() + str.sh_offset + s.st_name);
        }
    }
    return names;
}

}  // namespace vireo_test
