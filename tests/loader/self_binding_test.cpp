// Block libraries are opened with global symbols, so a name that one library (or the
// host) exports could take over another library's calls to its own routine of that name.
// Every block library binds its calls to itself, and no two export the same name.
#include "IDRecord.h"
#include "Loader.h"
#include "block_harness.h"
#include "library_table.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// The host's own routine of the name the test library calls: were the library's call
// open to interposition, it would land here.
extern "C" __attribute__((visibility("default"))) float tbhelper(float) { return -999.0f; }
// The host's own data of the name libVireoST's duct blocks write before each friction
// search: were the library's accesses open to interposition, they would land here.
extern "C" {
__attribute__((visibility("default"))) float cst0007[3] = {-1.0f, -1.0f, -1.0f};
}

namespace {

std::vector<unsigned char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> exportedFunctions(const fs::path& path) {
    const auto file = bytesOf(path);
    return Loader::elfNames(file.data(), file.size());
}

bool holdsBlocks(const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(), [](const std::string& n) { return Loader::isBlockName(n); });
}

// The block libraries of the installation directory, and the test library built the same way.
std::vector<fs::path> blockLibraries() {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(fs::path(VIREO_BUILD_DIR) / "lib"))
        if (entry.path().extension() == ".so" && holdsBlocks(exportedFunctions(entry.path())))
            found.push_back(entry.path());
    found.emplace_back(TB_SELF_DIR "/libTbSelf.so");
    return found;
}

// The functions a library defines and exports that its own relocations still refer to
// by name: calls through the PLT and addresses through the GOT, either of which the
// dynamic linker may bind to another library's definition.
std::set<std::string> interposableSelfReferences(const std::vector<unsigned char>& file) {
    std::set<std::string> names;
    if (file.size() < sizeof(Elf64_Ehdr) || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0) return names;
    const auto* eh = reinterpret_cast<const Elf64_Ehdr*>(file.data());
    if (eh->e_ident[EI_CLASS] != ELFCLASS64 || eh->e_shoff + eh->e_shnum * sizeof(Elf64_Shdr) > file.size())
        return names;
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(file.data() + eh->e_shoff);
    for (int s = 0; s < eh->e_shnum; ++s) {
        const Elf64_Shdr& rela = sections[s];
        if (rela.sh_type != SHT_RELA || rela.sh_link >= eh->e_shnum) continue;
        const Elf64_Shdr& symtab = sections[rela.sh_link];
        if (symtab.sh_type != SHT_DYNSYM || symtab.sh_link >= eh->e_shnum) continue;
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(file.data() + symtab.sh_offset);
        const std::size_t symbolCount = symtab.sh_size / sizeof(Elf64_Sym);
        const char* strings = reinterpret_cast<const char*>(file.data() + sections[symtab.sh_link].sh_offset);
        const auto* entries = reinterpret_cast<const Elf64_Rela*>(file.data() + rela.sh_offset);
        for (std::size_t r = 0; r < rela.sh_size / sizeof(Elf64_Rela); ++r) {
            const std::size_t index = ELF64_R_SYM(entries[r].r_info);
            if (index == 0 || index >= symbolCount) continue;
            const Elf64_Sym& sym = symbols[index];
            const int type = ELF64_ST_TYPE(sym.st_info);
            if (sym.st_shndx != SHN_UNDEF && (type == STT_FUNC || type == STT_GNU_IFUNC) &&
                ELF64_ST_VISIBILITY(sym.st_other) == STV_DEFAULT)
                names.insert(strings + sym.st_name);
        }
    }
    return names;
}

}  // namespace

TEST(BlockLibraries, BindTheirCallsToThemselves) {
    const auto libraries = blockLibraries();
    ASSERT_GE(libraries.size(), 4u);  // libVireoEM, libVireoPP, libVireoUB, the test library
    for (const auto& path : libraries) {
        const auto names = interposableSelfReferences(bytesOf(path));
        EXPECT_TRUE(names.empty()) << path << " reaches its own " << *names.begin()
                                   << " by name, so another library's " << *names.begin() << " could take over";
    }
}

TEST(BlockLibraries, ExportNoNameTwice) {
    // Every library exports its component line under the one name the engine asks for.
    const std::set<std::string> shared = {"info"};
    std::map<std::string, std::string> owner;
    for (const auto& entry : fs::directory_iterator(fs::path(VIREO_BUILD_DIR) / "lib")) {
        if (entry.path().extension() != ".so") continue;
        // Functions and data alike: a library's exported data block is reached by name too.
        const auto names = vireo_test::exportedNames(entry.path().string());
        // Beside the block libraries the engine, the utility library and the bridge share
        // the scope: their C names count too. (Their copies of the standard library's
        // templates are alike by definition; block libraries export none.)
        const bool blocks = holdsBlocks(exportedFunctions(entry.path()));
        for (const std::string& name : names) {
            if (shared.count(name) || (!blocks && name.starts_with("_Z"))) continue;
            const auto [it, fresh] = owner.emplace(name, entry.path().filename().string());
            EXPECT_TRUE(fresh) << name << " is exported by " << it->second << " and by " << entry.path().filename();
        }
    }
    EXPECT_TRUE(owner.count("sunae"));  // the reader saw the libraries' routines
    EXPECT_TRUE(owner.count("tsatp_"));
    for (const char* routine : {"lbwh", "lbwt", "lbwp", "lbwx", "flbwp", "flbwx", "nettobestrahlung",
                                "waermeuebergangstr", "waermeuebergangkon", "kondensation", "psfeuchteluft",
                                "tdfeuchteluft", "dhvwasser", "pvteilmodell1", "pvteilmodell2", "uintcalc",
                                "einfallwinkelkorrektur", "thermteilmodell", "konvcheck", "testfunction"})
        EXPECT_EQ(owner[routine], "libVireoST.so") << routine;
    EXPECT_TRUE(owner.count("fofl"));
    EXPECT_TRUE(owner.count("cst0007"));  // a data block
    EXPECT_TRUE(owner.count("msg"));
}

// Through the engine's loader, into a process that defines the name the library calls.
TEST(BlockLibraries, AHostsNameDoesNotTakeOverALibrarysOwnCall) {
    setenv("VIREO_HOME", TB_SELF_DIR, 1);
    setenv("VIREO_USER_BLOCKS", TB_SELF_DIR "/none", 1);
    const Loader loader(false);
    const auto blocks = loader.blocks();
    ASSERT_EQ(blocks.size(), 1u);
    vireo_test::BlockInstance b(blocks[0]->blockFunction, vireo_test::Placement{.inputs = 1});
    b.init();
    EXPECT_EQ(b.step({21.0f}), std::vector<float>{42.0f});
}

// The same for data: DPTUBE writes its library's own friction data, which an outside
// caller reaches through the library.
TEST(BlockLibraries, AHostsDataDoesNotTakeOverALibrarysOwn) {
    const auto& st = vireo_test::library("VireoST");
    vireo_test::BlockInstance tube(st.block("st0007"), {.inputs = 2, .parameters = {0.2f, 10.0f, 0.1f}});
    EXPECT_EQ(tube.init(), 0);
    tube.step({500.0f, 20.0f});
    const auto* own = static_cast<const float*>(st.symbol("cst0007"));
    ASSERT_NE(own, nullptr);
    EXPECT_NE(static_cast<const void*>(own), static_cast<const void*>(cst0007));
    EXPECT_EQ(own[0], 0.2f);
    EXPECT_EQ(own[1], 0.1f / 1000.0f);
    EXPECT_EQ(cst0007[0], -1.0f);
    EXPECT_EQ(cst0007[2], -1.0f);
}
