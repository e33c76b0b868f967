// The block list (-b) and the component list (-v) of the real host over the test block
// directories, and what the loader does with directories it cannot use.
#include "run_vireo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using vireo_test::runVireo;

namespace {

vireo_test::RunOptions blockDirs(const std::string& first, const std::string& second) {
    vireo_test::RunOptions o;
    o.env = {{"VIREO_HOME", first}, {"VIREO_USER_BLOCKS", second}};
    o.timeoutSeconds = 30;
    return o;
}

std::string emptyDirectory() { return vireo_test::scratchDirectory("no-blocks"); }

// The block list ends by pointing to the block reference beside the engine.
std::string referenceLine() {
    return "\nEvery block's inputs, outputs and parameters: " + vireo_test::buildDir() + "/doc/vireo-block-reference.pdf\n";
}

const char* const kInstalledBlocks =
    "\nInstalled Vireo blocks [4]\n\n"
    "\tTBMAIN TBALIAS\n"
    "\tTBCONST\n"
    "\tTBIMPORT\n"
    "\tTBNOINFO\n";

}  // namespace

TEST(BlockList, ListsEveryIdentifiedBlockInDirectoryOrder) {
    const auto r = runVireo({"-b"}, blockDirs(TB_DIR, emptyDirectory()));
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, kInstalledBlocks + referenceLine());
    EXPECT_EQ(r.codes(), std::vector<int>{});

    // The user's directory follows; a name it repeats is listed with its block.
    const auto u = runVireo({"-B"}, blockDirs(TB_DIR, TB_USER_DIR));
    EXPECT_EQ(u.out,
              "\nInstalled Vireo blocks [5]\n\n"
              "\tTBMAIN TBALIAS\n\tTBCONST\n\tTBIMPORT\n\tTBNOINFO\n\tUBDEMO TBALIAS\n" +
                  referenceLine());
}

TEST(BlockList, WinsOverComponentListAndNeitherCompilesTheModel) {
    const std::string dir = vireo_test::scratchDirectory("lists");
    vireo_test::writeFile(dir + "/m.vireo", "this is no model\n");
    auto o = blockDirs(TB_DIR, emptyDirectory());
    o.workingDirectory = dir;
    const auto both = runVireo({"-v", "m.vireo", "-b"}, o);
    EXPECT_EQ(both.exitStatus, 0);
    EXPECT_EQ(both.out, kInstalledBlocks + referenceLine());
    EXPECT_EQ(both.codes(), std::vector<int>{});

    const auto v = runVireo({"m.vireo", "-v"}, o);
    EXPECT_EQ(v.exitStatus, 0);
    const std::string pad(16, ' ');
    EXPECT_EQ(v.out,
              "\nThis is VIREO 8.3.0-beta 64 bit \n\nInstalled Vireo components\n\n"
              "\ttest_20240101_alias" + pad + "libTbAlias\n"
              "\ttest_20240101_const" + pad + "libTbConst\n"
              "\ttest_20240101_empty" + pad + "libTbEmpty\n"
              "\ttest_20240101_noblock" + pad.substr(2) + "libTbNoBlock\n\n");
    EXPECT_EQ(v.codes(), std::vector<int>{});
}

TEST(ComponentList, ShowsTheEngineWhenItLiesInTheBlockDirectory) {
    vireo_test::RunOptions o;
    o.env = {{"VIREO_HOME", ""}};  // the installation's own directory
    const auto r = runVireo({"-v"}, o);
    EXPECT_NE(r.out.find("\n\tdevelopment_20211115_3c714cf       libVireoEngine\n"), std::string::npos) << r.out;
}

TEST(BlockDirectories, MissingFirstDirectoryIsAWarningAndNoBlocks) {
    const std::string missing = emptyDirectory() + "/not-there";
    const auto r = runVireo({"-b"}, blockDirs(missing, TB_USER_DIR));
    EXPECT_EQ(r.exitStatus, 0);
    ASSERT_EQ(r.codes(), std::vector<int>{204921});
    EXPECT_EQ(r.trace.back()["s0"], missing + "/");
    EXPECT_NE(r.out.find("\nInstalled Vireo blocks [0]\n\n"), std::string::npos);
    EXPECT_EQ(r.out.find("UBDEMO"), std::string::npos);

    const auto v = runVireo({"-v"}, blockDirs(missing, TB_USER_DIR));
    EXPECT_EQ(v.codes(), std::vector<int>{204921});
    EXPECT_EQ(v.out.find("libTbUser"), std::string::npos);

    // A run still gets as far as the model.
    const std::string dir = vireo_test::scratchDirectory("no-home");
    vireo_test::writeFile(dir + "/m.vireo", "");
    auto o = blockDirs(missing, TB_USER_DIR);
    o.workingDirectory = dir;
    const auto run = runVireo({"m.vireo"}, o);
    const auto codes = run.codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), 204921);
    EXPECT_NE(std::find(codes.begin(), codes.end(), 4001), codes.end());
}

TEST(BlockDirectories, UnusableIdentitiesAreRefusedByName) {
    const auto r = runVireo({"-b"}, blockDirs(TB_BAD_DIR, emptyDirectory()));
    EXPECT_EQ(r.exitStatus, 0);
    ASSERT_EQ(r.codes(), (std::vector<int>{204922, 204922, 204922, 204922, 204922, 204922}));
    std::vector<std::string> functions, reasons;
    for (const auto& t : r.trace) {
        if (t.isCall()) continue;
        functions.push_back(t["s0"]);
        reasons.push_back(t["s1"].substr(0, t["s1"].find(' ')));
        EXPECT_NE(t["s1"].find(TB_BAD_DIR "/libTbBad.so"), std::string::npos) << t.line;
    }
    std::sort(functions.begin(), functions.end());
    std::sort(reasons.begin(), reasons.end());
    EXPECT_EQ(functions, (std::vector<std::string>{"tb0101", "tb0102", "tb0103", "tb0104", "tb0105", "tb0107"}));
    EXPECT_EQ(reasons,
              (std::vector<std::string>{"ipSize", "maxInputs", "maxStrings", "minInputs", "outputCount", "rpSize"}));
    EXPECT_NE(r.out.find("\nInstalled Vireo blocks [1]\n\n\tTBGOOD\n"), std::string::npos) << r.out;
}

TEST(BlockDirectories, OnlyRegularFilesAreOpened) {
    // A pipe would block the opening for ever; a link to a library is followed.
    const std::string dir = vireo_test::scratchDirectory("fifo");
    ASSERT_EQ(mkfifo((dir + "/libAPipe.so").c_str(), 0600), 0);
    ASSERT_EQ(symlink(TB_DIR "/libTbAlias.so", (dir + "/libLinked.so").c_str()), 0);
    const auto r = runVireo({"-b"}, blockDirs(dir, emptyDirectory()));
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, "\nInstalled Vireo blocks [1]\n\n\tTBMAIN TBALIAS\n" + referenceLine());
}

TEST(BlockDirectories, ALibraryThatEndsTheProcessWhileIdentifiedIsNamed) {
    // Every command identifies the blocks, so every command ends with the library's
    // signal; before it ends, one line on standard error names the library and the block
    // function.
    const std::string dir = vireo_test::scratchDirectory("crash");
    vireo_test::writeFile(dir + "/m.vireo", "b 1 tbfirst\n");
    auto o = blockDirs(TB_CRASH_DIR, emptyDirectory());
    o.workingDirectory = dir;
    for (const auto& args : {std::vector<std::string>{"-b"}, {"-v"}, {"m.vireo", "-s"}}) {
        const auto r = runVireo(args, o);
        if (args[0] == "-v") {  // the component list asks for info only: nothing is identified
            EXPECT_EQ(r.exitStatus, 0);
            EXPECT_EQ(r.err, "");
            continue;
        }
#if defined(__SANITIZE_ADDRESS__)
        EXPECT_NE(r.exitStatus, 0) << args[0];  // the sanitizer takes the signal over
#else
        EXPECT_EQ(r.exitStatus, 128 + SIGSEGV) << args[0];
#endif
        const std::string line = r.err.substr(0, r.err.find('\n') + 1);
        EXPECT_EQ(line, "vireo: the block library " TB_CRASH_DIR "/libTbCrash.so ended the process while its block "
                        "function tb0202 was identified\n")
            << args[0];
    }
}
