// blockdoc run as a user runs it: stored block sources against their golden pages, and
// the refusals and failures that must never pass for success.
#include "blockdoc_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using blockdoc_test::Files;
using blockdoc_test::Output;
using blockdoc_test::runBlockdoc;

namespace {

const std::string kBanner = " This is blockdoc Version 6.1 (June 2021)\n";

vireo_test::RunResult runIn(const std::string& dir, const std::vector<std::string>& args) {
    vireo_test::RunOptions options;
    options.program = vireo_test::buildDir() + "/bin/blockdoc";
    options.workingDirectory = dir;
    options.timeoutSeconds = 30;
    return vireo_test::runVireo(args, options);
}

std::vector<std::string> keys(const Files& files) {
    std::vector<std::string> k;
    for (const auto& [name, text] : files) k.push_back(name);
    return k;
}

void expectMatchesCase(const Output& o, const std::string& caseName) {
    const std::string dir = blockdoc_test::casesDir() + "/" + caseName + "/expected";
    // BLOCKDOC_UPDATE_GOLDEN=1 stores what the program wrote; read the diff before committing.
    if (std::getenv("BLOCKDOC_UPDATE_GOLDEN") != nullptr) {
        fs::remove_all(dir);
        vireo_test::writeFile(dir + "/stdout.txt", o.run.out);
        for (const auto& [name, text] : o.pages) vireo_test::writeFile(dir + "/" + name, text);
    }
    Files expected = blockdoc_test::filesBelow(dir);
    const std::string stdoutText = expected["stdout.txt"];
    expected.erase("stdout.txt");
    EXPECT_EQ(o.run.out, stdoutText);
    ASSERT_EQ(keys(o.pages), keys(expected));
    for (const auto& [name, text] : expected) EXPECT_EQ(o.pages.at(name), text) << name;
}

}  // namespace

class Golden : public testing::TestWithParam<blockdoc_test::GoldenCase> {};

TEST_P(Golden, PagesAndMessagesMatchByteForByte) {
    const auto& c = GetParam();
    const Output o = blockdoc_test::runCase(c.name, c.args);
    EXPECT_EQ(o.run.exitStatus, c.exitStatus);
    EXPECT_EQ(o.run.err, "");  // also catches sanitizer reports of the program
    expectMatchesCase(o, c.name);
}

INSTANTIATE_TEST_SUITE_P(Blockdoc, Golden, testing::ValuesIn(blockdoc_test::goldenCases()),
                         [](const auto& info) { return info.param.name; });

TEST(Blockdoc, CarriageReturnsEndingTheLinesAreDropped) {
    std::string file;
    std::string crlf;
    for (const char c : blockdoc_test::caseSource("sections_f", &file)) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const Output o = runBlockdoc(file, crlf, {}, {{"hxc.des", "x"}});
    EXPECT_EQ(o.run.exitStatus, 0);
    expectMatchesCase(o, "sections_f");
}

TEST(Blockdoc, HeadingWordOfEveryBlockKeyword) {
    const std::pair<std::string, std::string> keywords[] = {
        {"#Block", "Block"}, {"#_Subroutine", "_Subroutine"}, {"#DEPRECATED", "DEPRECATED"},
        {"#Program", "Program"}, {"#Main", "Main"}, {"#Name", "Name"}};
    for (const auto& [keyword, heading] : keywords) {
        const Output o = runBlockdoc("st0001.f", "C " + keyword + " HXC\n");
        ASSERT_EQ(keys(o.pages), std::vector<std::string>{"hxc.tex"}) << keyword;
        EXPECT_EQ(o.pages.at("hxc.tex").substr(0, o.pages.at("hxc.tex").find('\n')),
                  "\\msection{" + heading + " HXC}\\label{HXC}\\hypertarget{HXC}{}");
    }
    // Keywords are whole words and case-sensitive.
    EXPECT_TRUE(runBlockdoc("st0001.f", "C #block HXC\nC #Blocks HXC\n").pages.empty());
}

TEST(Blockdoc, SourceWithoutLowerCaseExtensionIsRefused) {
    const std::string dir = vireo_test::scratchDirectory("blockdoc");
    for (const std::string path : {"st0007.F", "st0007.c", "st0007.f.bak", "f"}) {
        const auto r = runIn(dir, {path});
        EXPECT_EQ(r.exitStatus, 1) << path;
        EXPECT_EQ(r.out, kBanner + " Invalid file extension (should be either lowercase .f  or .cpp)\n " + path + "\n");
    }
    // A path that would have to be cut is refused rather than read as another file.
    const auto longPath = runIn(dir, {std::string(1100, 'a') + ".f"});
    EXPECT_EQ(longPath.exitStatus, 1);
    EXPECT_EQ(longPath.out, kBanner + " Error: source path longer than 1023 characters\n");
    EXPECT_TRUE(blockdoc_test::filesBelow(dir).empty());
}

TEST(Blockdoc, WithoutSourcePrintsUsageWithFailureStatus) {
    const std::string dir = vireo_test::scratchDirectory("blockdoc");
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"  "}}) {
        const auto r = runIn(dir, args);
        EXPECT_EQ(r.exitStatus, 1) << args.size();
        EXPECT_EQ(r.out.rfind(kBanner + " Usage: blockdoc SOURCE [PREFIX]\n", 0), 0u) << r.out;
    }
    EXPECT_TRUE(blockdoc_test::filesBelow(dir).empty());
}

TEST(Blockdoc, FunctionIsTheFileStemWhateverItsLength) {
    // A user block's function is named by its whole file, a block library's routine too.
    const std::pair<std::string, std::string> cases[] = {
        {"ubcalendar.cpp", "ubcalendar"}, {"xyst0007.f", "xyst0007"}, {"em0006.cpp", "em0006"}, {"lbw.f", "lbw"}};
    for (const auto& [file, routine] : cases) {
        const std::string marker = file.ends_with(".f") ? "C " : "//";
        const Output o = runBlockdoc(file, marker + "#Block B\n" + marker + "#Layout\n" + marker + "#Details\n");
        EXPECT_EQ(o.run.exitStatus, 0) << file;
        EXPECT_NE(o.pages.at("b.tex").find("\n\\item[{\\bf \\mblue{Function}}]    " + routine + "\n"), std::string::npos)
            << file;
    }
}

TEST(Blockdoc, SourceThatCannotBeReadIsNamedWithFailureStatus) {
    const std::string dir = vireo_test::scratchDirectory("blockdoc");
    const auto missing = runIn(dir, {"  sub/none.cpp "});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(missing.out, kBanner + " Error: cannot open source file sub/none.cpp (No such file or directory)\n");

    fs::create_directories(dir + "/folder.f");
    const auto folder = runIn(dir, {"folder.f"});
    EXPECT_EQ(folder.exitStatus, 1);
    EXPECT_EQ(folder.out, kBanner + " Error: cannot read source file folder.f (Is a directory)\n");
}

TEST(Blockdoc, SectionNamingNoDeclaredBlockStopsWithTheOffendingLine) {
    struct Case {
        std::string file, text, message, where;
    };
    const Case cases[] = {
        {"e.f", "C #Block A\nC #Description B\nC   text\n", "Error: description subtopic not found",
         "../src/e.f:2: #Description B"},
        {"e.cpp", "//#Block A\n//#Details\n//#Inputs A\n//#IN[0] x\n//#Outputs a\n",
         "Error: description subtopic not found", "../src/e.cpp:5: #Outputs a"},
        {"e.f", "C #Block A\nC #Remarks   B   \n", "Error: remark subtopic not found", "../src/e.f:2: #Remarks   B"},
    };
    for (const auto& c : cases) {
        const Output o = runBlockdoc(c.file, c.text);
        EXPECT_EQ(o.run.exitStatus, 1) << c.where;
        EXPECT_EQ(o.run.out, kBanner + " Writing output to a.tex\n " + c.message + "\n " + c.where + "\n");
        ASSERT_EQ(keys(o.pages), std::vector<std::string>{"a.tex"});  // what was written stays
        EXPECT_EQ(o.pages.at("a.tex").rfind("\\msection{Block A}", 0), 0u);
    }
}

TEST(Blockdoc, BlockNamesThatCannotMakeFilesAreRefusedBeforeAnyPage) {
    struct Case {
        std::string text, message, where;
    };
    std::string fiftyOne = "C #Block";
    for (int k = 1; k <= 50; ++k) fiftyOne += " N" + std::to_string(k) + (k % 10 == 0 ? "\nC " : "");
    fiftyOne += "N51 N52\n";
    const Case cases[] = {
        {fiftyOne, "Error: more than 50 block names", "../src/n.f:6: N51 N52"},
        {"C #Block OK A/B\n", "Error: block name A/B cannot be part of a file name", "../src/n.f:1: #Block OK A/B"},
        {"C #Block OK\nC A\\B\n", "Error: block name A\\B cannot be part of a file name", "../src/n.f:2: A\\B"},
        {"C #Block A\tB\n", "Error: block name A\tB cannot be part of a file name", "../src/n.f:1: #Block A\tB"},
        {"C #Block HXC,\nC   hxc\n", "Error: block names HXC and hxc share the page hxc.tex", "../src/n.f:2: hxc"},
        {"C #Block HXC HXC\n", "Error: block names HXC and HXC share the page hxc.tex", "../src/n.f:1: #Block HXC HXC"},
    };
    for (const auto& c : cases) {
        const Output o = runBlockdoc("n.f", c.text);
        EXPECT_EQ(o.run.exitStatus, 1) << c.message;
        EXPECT_EQ(o.run.out, kBanner + " " + c.message + "\n " + c.where + "\n");
        EXPECT_TRUE(o.pages.empty()) << c.message;
    }

    std::string fifty = "C #Block";
    for (int k = 1; k <= 50; ++k) fifty += " N" + std::to_string(k);
    const Output full = runBlockdoc("n.f", fifty + "\n");
    EXPECT_EQ(full.run.exitStatus, 0);
    EXPECT_EQ(full.pages.size(), 50u);
    EXPECT_TRUE(full.pages.count("n50.tex"));
}

TEST(Blockdoc, EmptyBlockNameIsSkippedWithAWarning) {
    const Output o = runBlockdoc("n.f", "C #Block HXC , HXCN\nC #Description\nC   Both.\n");
    EXPECT_EQ(o.run.exitStatus, 0);
    EXPECT_EQ(o.run.out, kBanner + " Warning: empty block name skipped\n ../src/n.f:1: #Block HXC , HXCN\n"
                                   " Writing output to hxc.tex\n Writing output to hxcn.tex\n");
    EXPECT_EQ(keys(o.pages), (std::vector<std::string>{"hxc.tex", "hxcn.tex"}));
    EXPECT_NE(o.pages.at("hxcn.tex").find("\nBoth.\n"), std::string::npos);
}

TEST(Blockdoc, PrefixIsPutInFrontOfEveryPage) {
    const std::string text = "C #Block HXC\n";
    const Output missing = runBlockdoc("p.f", text, {"missing/"});
    EXPECT_EQ(missing.run.exitStatus, 1);
    EXPECT_EQ(missing.run.out, kBanner + " Writing output to missing/hxc.tex\n"
                                         " Error: cannot create missing/hxc.tex (No such file or directory)\n");

    const std::string root = vireo_test::scratchDirectory("blockdoc");
    vireo_test::writeFile(root + "/p.f", text);
    fs::create_directories(root + "/ref");
    const auto r = runIn(root, {" p.f ", " ref/ "});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, kBanner + " Writing output to ref/hxc.tex\n");
    EXPECT_EQ(keys(blockdoc_test::filesBelow(root)), (std::vector<std::string>{"p.f", "ref/hxc.tex"}));
}

TEST(Blockdoc, PageThatLosesLinesIsReportedAsFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string root = vireo_test::scratchDirectory("blockdoc");
    vireo_test::writeFile(root + "/p.f", "C #Block HXC\nC #Description\nC   Text.\n");
    fs::create_symlink("/dev/full", root + "/hxc.tex");
    const auto r = runIn(root, {"p.f"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, kBanner + " Writing output to hxc.tex\n Error: cannot write hxc.tex (No space left on device)\n");
}

TEST(Blockdoc, HeaderTextThatLatexCannotTakeSafelyIsRefusedNamingFileAndLine) {
    // A header goes into the reference as LaTeX: a command that reads or writes files, a
    // name that breaks labels, a line that would be cut, unbalanced braces or formulas.
    struct Case {
        std::string text, message, where;
    };
    const std::string longLine(1024, 'a');
    const Case cases[] = {
        {"C #Block A\nC #Description\nC   \\input{/etc/passwd}\n",
         "Error: the LaTeX command \\input is not one a header may use in text", "../src/h.f:3: \\input{/etc/passwd}"},
        {"C #Block A\nC #Description\nC   $x^^5cinput{/etc/passwd}$\n", "Error: ^^ in a formula",
         "../src/h.f:3: $x^^5cinput{/etc/passwd}$"},
        {"C #Block A\nC #Description\nC   $\\write18{rm}$\n",
         "Error: the LaTeX command \\write is not one a header may use in a formula", "../src/h.f:3: $\\write18{rm}$"},
        {"C #Block A\nC #Description\nC   a } b\n", "Error: a } that closes no {", "../src/h.f:3: a } b"},
        {"C #Block A\nC #Description\nC   $x\nC #Layout\n", "Error: a formula ($) that its section does not close",
         "../src/h.f:3: $x"},
        {"C #Block A\nC #Details\nC #Inputs\nC #IN(1) {open\n", "Error: a { that its line does not close",
         "../src/h.f:4: {open"},
        {"C #Block A{B}\n", "Error: block name A{B} may hold only letters, digits and _ + - .",
         "../src/h.f:1: #Block A{B}"},
        {"C #Block A%B\n", "Error: block name A%B may hold only letters, digits and _ + - .", "../src/h.f:1: #Block A%B"},
        {"C #Block A$\n", "Error: block name A$ may hold only letters, digits and _ + - .", "../src/h.f:1: #Block A$"},
        {"C #Block A\nC #Description\nC " + longLine + "\n", "Error: header line longer than 1023 characters",
         "../src/h.f:3: " + longLine.substr(0, 60)},
    };
    for (const auto& c : cases) {
        const Output o = runBlockdoc("h.f", c.text);
        EXPECT_EQ(o.run.exitStatus, 1) << c.message;
        const std::string said = o.run.out;
        EXPECT_NE(said.find(" " + c.message + "\n " + c.where + "\n"), std::string::npos) << said;
        for (const auto& [name, page] : o.pages) EXPECT_EQ(page.find("\\input{/etc"), std::string::npos) << name;
    }
    // A line of exactly 1023 characters is kept whole; a long line before the header is
    // no part of it.
    const Output full = runBlockdoc("l.f", "C " + longLine + "\nC #Block L\nC #Description\nC " +
                                               std::string(1023, 'b') + "\n");
    EXPECT_EQ(full.run.exitStatus, 0) << full.run.out;
    EXPECT_NE(full.pages.at("l.tex").find("\n" + std::string(1023, 'b') + "\n"), std::string::npos);
}

TEST(Blockdoc, DetailLineWithoutBracketPairIsCopiedAndForeignKeyEndsGroup) {
    const Output o = runBlockdoc("d.f",
                                 "C #Block D\nC #Details\nC #Inputs\nC    #IN(1 no closing parenthesis\n"
                                 "C #INPUT ends the group and the details\nC #Outputs\nC #OUT(1) never written\n");
    EXPECT_EQ(o.pages.at("d.tex"),
              "\\msection{Block D}\\label{D}\\hypertarget{D}{}\n\\mindex{D}\n%\\pdfdest name {vireoBlock.D} fit\n"
              "\\mmarginlabel{Inputs}\n%\n\\begin{detaillist}\n\\#IN(1 no closing parenthesis\n\\end{detaillist}\n\n"
              "\\bigskip\n\n\\hrule\n");
}
