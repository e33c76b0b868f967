// The loader's parts, in the test process: the block-name rule, the identity record, the
// two symbol-table readers on built and on hand-made files, and the registry over the
// test block libraries.
#include "IDRecord.h"
#include "library_images.h"
#include "Loader.h"
#include "vireoBlocks.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;
using vireo_test::Buffer;
using vireo_test::elfFile;
using vireo_test::machFile;
using vireo_test::put;

Names mach(const Buffer& b) { return Loader::machNames(b.data(), b.size()); }
Names elf(const Buffer& b) { return Loader::elfNames(b.data(), b.size()); }

bool isLoaded(const std::string& path) {
    void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (h != nullptr) dlclose(h);
    return h != nullptr;
}

class TestBlockDirectories : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VIREO_HOME", TB_DIR, 1);
        setenv("VIREO_USER_BLOCKS", TB_USER_DIR, 1);
    }
};

}  // namespace

TEST(BlockName, WholeNameOrUbPrefix) {
    for (const char* yes : {"em0001", "PP0010", "ubMyBlock", "ub"}) EXPECT_TRUE(Loader::isBlockName(yes)) << yes;
    for (const char* no : {"em00010", "e00001", "Ub0001x", "em001", "info", "x em0001", ""})
        EXPECT_FALSE(Loader::isBlockName(no)) << no;
}

TEST(IDRecord, SlotsNamesAndNamePositions) {
    const int ip[10] = {2, 1, 12, 0, 1, 2, -4, 5, 6, 7};
    const IDRecord r(4, 2, ip, "mix  Mixer", nullptr);
    EXPECT_EQ(r.name(), "MIX  MIXER");
    EXPECT_EQ((std::vector<int>{r.nameCount, r.minInputs, r.maxInputs, r.outputCount, r.ipSize, r.minParameters,
                                r.minStrings, r.maxStrings, r.group, r.rpSize, r.dpSize, r.maxParameters}),
              (std::vector<int>{2, 1, 4, 2, 12, 0, 1, 2, -4, 5, 6, 7}));
    // A doubled blank moves the second start onto a blank: the second name is not found.
    EXPECT_EQ(r.getOpMode("MIX"), 1);
    EXPECT_EQ(r.getOpMode("MIXER"), 0);

    const int three[10] = {3, 0, 10, 0, 0, 0, 3, 0, 0, 0};
    const IDRecord s(0, 0, three, "SKYO SKYIO SKYC", nullptr);
    EXPECT_EQ(s.getOpMode("SKYO"), 1);
    EXPECT_EQ(s.getOpMode("SKYIO"), 2);
    EXPECT_EQ(s.getOpMode("SKYC"), 3);
    for (const char* no : {"SKY", "SKYIOX", "KYO", "", "skyo"}) EXPECT_EQ(s.getOpMode(no), 0) << no;

    const int none[10] = {0, 0, 10, 0, 0, 0, 3, 0, 0, 0};
    EXPECT_EQ(IDRecord(0, 0, none, "HIDDEN", nullptr).getOpMode("HIDDEN"), 0);  // declares no names
}

TEST(MachReader, StringTableAsLaidOut) {
    EXPECT_EQ(mach(machFile()), (Names{"tb0001", "info", "ubDemo"}));  // the unterminated tail is no name
    // The magic number is not examined by the reader itself, only by the choice of reader.
    Buffer plain = machFile();
    put(plain, 0, 0, 4);
    EXPECT_EQ(mach(plain), (Names{"tb0001", "info", "ubDemo"}));
    EXPECT_EQ(Loader::libraryNames(plain.data(), plain.size()), Names{});
    const Buffer withMagic = machFile();
    EXPECT_EQ(Loader::libraryNames(withMagic.data(), withMagic.size()), (Names{"tb0001", "info", "ubDemo"}));
}

TEST(MachReader, DamagedFilesGiveNoNamesAndEnd) {
    const Buffer good = machFile();
    for (std::size_t n = 0; n < good.size(); ++n) {
        const Buffer cut(good.begin(), good.begin() + n);
        EXPECT_EQ(mach(cut), Names{}) << "cut at " << n;
    }
    Buffer b = machFile();
    put(b, 36, 0, 4);  // a command of size 0 would be read for ever
    EXPECT_EQ(mach(b), Names{});
    b = machFile();
    put(b, 16, 0xffffffff, 4);  // more commands than the file holds
    EXPECT_EQ(mach(b), Names{});
    b = machFile();
    put(b, 120, 0xfffffff0, 4);  // string table beyond the end
    EXPECT_EQ(mach(b), Names{});
    b = machFile();
    put(b, 124, 0xffffffff, 4);
    EXPECT_EQ(mach(b), Names{});
    // Many symbol-table commands naming the same table: read once would be fine, read
    // for each command the work grows with the square of the file.
    b = machFile(std::string(4000, 'x') + '\0');
    const std::size_t tableAt = 128, commands = 600;
    Buffer many(b.begin(), b.begin() + 32);
    put(many, 16, commands, 4);
    for (std::size_t k = 0; k < commands; ++k) {
        put(many, 32 + 24 * k, 2, 4);
        put(many, 36 + 24 * k, 24, 4);
        put(many, 48 + 24 * k, 32 + 24 * commands, 4);
        put(many, 52 + 24 * k, b.size() - tableAt, 4);
    }
    many.insert(many.end(), b.begin() + tableAt, b.end());
    EXPECT_EQ(mach(many), Names{});
}

TEST(ElfReader, DefinedExportedFunctionsInEveryClassAndByteOrder) {
    for (bool wide : {false, true})
        for (bool big : {false, true}) {
            const Buffer b = elfFile(wide, big);
            EXPECT_EQ(elf(b), (Names{"tb0001", "weakfn"})) << wide << big;
            EXPECT_EQ(Loader::libraryNames(b.data(), b.size()), (Names{"tb0001", "weakfn"}));
        }
}

TEST(ElfReader, DamagedFilesGiveNoNames) {
    const Buffer good = elfFile(true, false);
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(elf(Buffer(good.begin(), good.begin() + n)), Names{}) << "cut at " << n;
    Buffer b = good;
    put(b, 40, ~0ull, 8);  // section table offset past the end
    EXPECT_EQ(elf(b), Names{});
    b = good;
    put(b, b.size() - 64 * 2 + 40, 9, 4);  // string table index out of range
    EXPECT_EQ(elf(b), Names{});
    b = good;
    put(b, 64 + 24, 1000, 4);  // a name offset outside the string table
    EXPECT_EQ(elf(b), Names{});
    b = good;
    b[4] = 3;  // an unknown class
    EXPECT_EQ(elf(b), Names{});
}

TEST(ElfReader, BuiltLibrariesExportOnlyTheirOwnFunctions) {
    Names engine = Loader::load_linux(ENGINE_LIBRARY);
    std::sort(engine.begin(), engine.end());
    EXPECT_EQ(engine, (Names{"info", "vireoEngine", "vireoEngineErrors"}));

    const Names import = Loader::load_linux(TB_DIR "/libTbImport.so");
    EXPECT_NE(std::find(import.begin(), import.end(), "tb0005"), import.end());
    EXPECT_EQ(std::find(import.begin(), import.end(), "tb0001"), import.end());  // imported
    const Names constant = Loader::load_linux(TB_DIR "/libTbConst.so");
    EXPECT_NE(std::find(constant.begin(), constant.end(), "tb0002"), constant.end());
    EXPECT_EQ(std::find(constant.begin(), constant.end(), "tb0008"), constant.end());  // data

    // Within a library the blocks are found in name order, whatever the table's hash order.
    std::size_t size = 0;
    char* bytes = Loader::load_bytes(TB_DIR "/libTbImport.so", &size);
    ASSERT_NE(bytes, nullptr);
    const Names listed = Loader::libraryNames(reinterpret_cast<const unsigned char*>(bytes), size);
    delete[] bytes;
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_EQ(listed.size(), import.size());

    EXPECT_EQ(Loader::load_linux(TB_DIR "/notes.txt"), Names{});
    EXPECT_EQ(Loader::load_bytes(TB_DIR "/missing.so"), nullptr);
}

TEST(OwnSymbol, NamesFoundInLinkedLibrariesAreNotTheLibrarys) {
    void* h = dlopen(TB_DIR "/libTbImport.so", RTLD_LAZY | RTLD_GLOBAL);
    ASSERT_NE(h, nullptr) << dlerror();
    EXPECT_NE(Loader::ownSymbol(h, "tb0005"), nullptr);
    EXPECT_NE(dlsym(h, "tb0001"), nullptr);  // the lookup reaches the linked library...
    EXPECT_EQ(Loader::ownSymbol(h, "tb0001"), nullptr);  // ...whose name it is not
    EXPECT_NE(dlsym(h, "info"), nullptr);
    EXPECT_EQ(Loader::ownSymbol(h, "info"), nullptr);
    EXPECT_EQ(Loader::ownSymbol(h, "nothing"), nullptr);
    dlclose(h);
}

TEST_F(TestBlockDirectories, BlockModeIdentifiesAndKeepsWhatItNeeds) {
    {
        Loader loader(false);
        const auto blocks = loader.blocks();
        ASSERT_EQ(blocks.size(), 5u);  // their order and names: the block list's tests
        const IDRecord& a = *blocks[0];
        EXPECT_EQ((std::vector<int>{a.nameCount, a.minInputs, a.maxInputs, a.outputCount, a.ipSize, a.rpSize,
                                    a.dpSize, a.minParameters, a.maxParameters, a.minStrings, a.maxStrings, a.group}),
                  (std::vector<int>{2, 1, 3, 2, 12, 1, 2, 0, 2, 0, 1, 3}));  // IN[0] = 3.9 gives 3
        EXPECT_EQ(blocks[1]->group, 1);
        EXPECT_EQ(loader.components().size(), 0u);

        // Libraries with names of block form stay open, even when none answered.
        EXPECT_TRUE(isLoaded(TB_DIR "/libTbNoBlock.so"));
        EXPECT_FALSE(isLoaded(TB_DIR "/libTbEmpty.so"));
        EXPECT_FALSE(isLoaded(TB_DIR "/sub/libTbDeep.so"));

        // The functions stay callable for the run.
        float in[3] = {2.5f, 0, 0}, out[2] = {0, 0};
        int ip[12] = {0, 0, 1, 1, 1, 2};
        a.blockFunction(in, out, ip, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(out[0], 2.5f);
    }
    EXPECT_FALSE(isLoaded(TB_DIR "/libTbNoBlock.so"));
}

TEST_F(TestBlockDirectories, ComponentModeCollectsInfoLinesOnly) {
    ComponentSet texts;
    {
        Loader loader(true);
        EXPECT_TRUE(loader.blocks().empty());
        texts = loader.components();
    }
    EXPECT_EQ(texts.size(), 5u);  // the first directory's four (see the component list's tests) and the user's
    EXPECT_EQ(std::string(*texts.rbegin()), "\ttest_20240101_user" + std::string(17, ' ') + "libTbUser ");
    EXPECT_TRUE(isLoaded(TB_DIR "/libTbEmpty.so"));  // the texts' libraries stay loaded
    EXPECT_FALSE(isLoaded(TB_DIR "/libTbNoInfo.so"));
    Components owner(texts);  // releases them
}

TEST_F(TestBlockDirectories, RegistryFindsABlockByAnyOfItsNames) {
    const VireoBlocks registry;
    EXPECT_EQ(registry.numOfBlocks(), 5);
    const auto main = registry.getID("TBMAIN");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(registry.getID("TBALIAS"), main);  // the first discovered of the two that declare it
    EXPECT_EQ(main->getOpMode("TBALIAS"), 2);
    const auto user = registry.getID("UBDEMO");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->name(), "UBDEMO TBALIAS");
    EXPECT_NE(registry.getID("TBCONST"), nullptr);
    for (const char* no : {"TBMAI", "TB0001", "TBDEEP", "NOSUCH", ""}) EXPECT_EQ(registry.getID(no), nullptr) << no;
}
